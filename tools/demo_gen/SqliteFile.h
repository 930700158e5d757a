#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/db/Value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace tolvenk::demo {

// A new database file that only this tool writes, on the engine's own calls:
// the module's connection checks the file and looks up its statement for
// every row, which at millions of rows costs more than the rows themselves.
// Failures throw db::DbError with the engine's message.
// Copies a database file whole, its uncheckpointed log included, into a new
// file in WAL mode, through the engine: a copy made by reading the file
// itself would miss the log and, in a process holding the file open, drop
// that process's locks on it when the copy's descriptor closes.
void copyDatabase(const std::string& source, const std::string& target);

class SqliteFile {
public:
    // Creates the file, which must not exist yet. One thread at a time.
    explicit SqliteFile(const std::string& path);
    ~SqliteFile();
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    // One or more statements without parameters.
    void exec(const std::string& sql);
    // Waits until the file's written pages are on the disk.
    void flush();

    class Statement {
    public:
        Statement(SqliteFile& file, const std::string& sql);
        ~Statement();
        Statement(const Statement&) = delete;
        Statement& operator=(const Statement&) = delete;

        // Parameters count from 1. Text is not copied: it must stay as it is until run() or step() returns.
        void bind(int i, std::int64_t v);
        void bind(int i, std::string_view text);
        void bindNull(int i);
        void bind(int i, const db::Value& v);  // copies text
        // Runs a statement that returns no rows, then makes it ready for the next values.
        void run();
        // Steps through the rows of a query; false at its end, ready to run again.
        bool step();
        std::string text(int column) const;

    private:
        SqliteFile& file_;
        sqlite3_stmt* st_ = nullptr;
        std::string sql_;
    };

private:
    [[noreturn]] void fail(const std::string& context) const;

    sqlite3* db_ = nullptr;
};

}  // namespace tolvenk::demo
