#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/db/Connection.h"

namespace tolvenk::test {

// A fresh folder per test, removed afterwards.
class TempDir {
public:
    TempDir();
    // Under `base` rather than the system's temporary folder.
    explicit TempDir(const std::filesystem::path& base);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// A folder in memory (/dev/shm) where it has room for `bytes`, else the
// system's temporary folder: for tests whose subject is the timing of writes,
// not the flushes of a disk the rest of the suite keeps busy.
std::filesystem::path memoryFolder(std::uintmax_t bytes);

// Creates a business database from the project's schema at `path` and returns
// its connection text.
std::string createBusinessDb(const std::string& path);

// Creates a configuration database at folder/file with one DB_info row
// pointing at an Access-kind business file (name without ".mdb"), or with no
// row when `provider` is empty.
void createConfigDb(const std::string& folder, const std::string& file, const std::string& provider,
                    const std::string& dataSource, const std::string& fileName);

// The two engines behind the module's connection texts.
enum class Engine { File, Server };
const char* engineName(Engine engine);

// The test database server that scripts/test.sh starts, read from TOLVENK_PG
// ("host=... port=... user=... password=..."); nothing when it is not set.
struct TestServer {
    std::string host, port, user, password;
    // The module's server text (login form) for a database on it.
    std::string connectionString(const std::string& database) const;
    // The same with integrated security: the operating-system user, no password.
    std::string integratedConnectionString(const std::string& database) const;
};
std::optional<TestServer> testServer();
// Why a test that needs the server is skipped: nothing when TOLVENK_PG names
// one. In CI (CI set) a missing server is no reason to skip: this throws.
std::optional<std::string> whyNoServer();

// A fresh, empty business database of either engine, made from the project's
// schema (on the server from its twin), and removed when the object goes: a
// file in a folder of its own, or a database of a unique name on the test
// server. Throws when the server should be there but does not answer. With
// `schema` false it is left without tables (for the demo generator to fill).
class BusinessDb {
public:
    explicit BusinessDb(Engine engine, bool schema = true);
    ~BusinessDb();
    BusinessDb(const BusinessDb&) = delete;
    BusinessDb& operator=(const BusinessDb&) = delete;

    Engine engine() const { return engine_; }
    const std::string& connectionString() const { return text_; }
    // The server's name of the database (empty for a file).
    const std::string& databaseName() const { return name_; }

private:
    Engine engine_;
    std::unique_ptr<TempDir> dir_;
    std::string name_;
    std::string text_;
};

// A configuration database at folder/file whose one DB_info row points at
// `business`, as an installation writes it: an "Access" row naming the file,
// or a "SQL" row naming the server, the catalog and the login.
void createConfigDbFor(const std::string& folder, const std::string& file, Engine engine,
                       const std::string& businessConnectionString);

// Makes the engine refuse `event` ("insert" or "update") on `table` for the
// rows that meet `when` (a condition on new.<column>; empty for every row),
// as a locked or failing database would: a trigger in each engine's dialect,
// failing with `message`.
void refuseWrites(db::Connection& con, Engine engine, const std::string& name, const std::string& event,
                  const std::string& table, const std::string& when, const std::string& message = "refused");
// Takes that refusal away again.
void allowWrites(db::Connection& con, Engine engine, const std::string& name, const std::string& table);
// Makes such a write undo the whole transaction it is made in, as a full
// disk or a failed check does: on the file engine at once (a rollback, the
// write's error passing), on the server at the commit (a deferred check, the
// commit failing).
void loseTransactions(db::Connection& con, Engine engine, const std::string& name, const std::string& event,
                      const std::string& table, const std::string& when, const std::string& message = "lost");

// An open connection to the database behind a connection text.
std::shared_ptr<db::Connection> connect(const std::string& connectionString);

// A stored summary report format: a Sys_Para row "HZ_Rep_Format" under its number.
void addReportFormat(db::Connection& con, const std::string& key, const std::string& name, const std::string& p2,
                     const std::string& p3, const std::string& p4, const std::string& p5);

using Texts = std::vector<std::string>;

// Every column of each row of `sql` as text, NULL shown as "<null>".
std::vector<Texts> rows(db::Connection& con, const std::string& sql);
// The first row of `sql` as rows() gives it; empty when there is none.
Texts row(db::Connection& con, const std::string& sql);
// The first column of `sql` as text, one entry per row, NULL as "<null>".
Texts column(db::Connection& con, const std::string& sql);
// The first column of the first row as a number (count(*) and the like), -1
// when there is no row; as text, "<no row>" when there is none.
std::int64_t number(db::Connection& con, const std::string& sql);
std::string text(db::Connection& con, const std::string& sql);

// The text of a PDF file as pdftotext reads it.
std::string pdfText(const std::string& path);

}  // namespace tolvenk::test
