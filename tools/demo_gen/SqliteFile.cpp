#include "demo_gen/SqliteFile.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include "platform/db/DbError.h"

namespace tolvenk::demo {

SqliteFile::SqliteFile(const std::string& path) {
    struct stat sb{};
    if (::stat(path.c_str(), &sb) == 0) throw db::DbError("Database '" + path + "' already exists.");
    // No mutex: the file has one connection, used by one thread at a time.
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        const std::string msg = db_ ? sqlite3_errmsg(db_) : "cannot create";
        sqlite3_close(db_);
        db_ = nullptr;
        throw db::DbError("Cannot create database '" + path + "': " + msg);
    }
}

SqliteFile::~SqliteFile() { sqlite3_close_v2(db_); }

namespace {

// A file whose pages are still on their way to the disk when a measured run
// begins shares the disk with them for the run's first minute: the system
// writes them out every few seconds, and every flush on the disk, a
// terminal's too, then waited a tenth of a second or more. Flushed through
// the engine's own open file: a descriptor of our own, once closed, would
// drop the engine's locks on it.
void flushMain(sqlite3* db) {
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) == SQLITE_OK && file && file->pMethods)
        file->pMethods->xSync(file, SQLITE_SYNC_NORMAL);
}

}  // namespace

void copyDatabase(const std::string& source, const std::string& target) {
    sqlite3* db = nullptr;
    std::string failure;
    if (sqlite3_open_v2(source.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        failure = db ? sqlite3_errmsg(db) : "cannot open";
    } else {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, "VACUUM INTO ?1", -1, &st, nullptr) != SQLITE_OK ||
            sqlite3_bind_text(st, 1, target.c_str(), -1, SQLITE_TRANSIENT) != SQLITE_OK ||
            sqlite3_step(st) != SQLITE_DONE)
            failure = sqlite3_errmsg(db);
        sqlite3_finalize(st);
    }
    sqlite3_close_v2(db);
    if (!failure.empty()) throw db::DbError("Cannot copy database '" + source + "': " + failure);
    sqlite3* copy = nullptr;
    char* err = nullptr;
    if (sqlite3_open_v2(target.c_str(), &copy, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        sqlite3_exec(copy, "PRAGMA journal_mode=WAL", nullptr, nullptr, &err) != SQLITE_OK)
        failure = err ? err : (copy ? sqlite3_errmsg(copy) : "cannot open");
    else
        flushMain(copy);
    sqlite3_free(err);
    sqlite3_close_v2(copy);
    if (!failure.empty()) throw db::DbError("Cannot open the copy '" + target + "': " + failure);
}

void SqliteFile::flush() { flushMain(db_); }

void SqliteFile::fail(const std::string& context) const {
    throw db::DbError(std::string(sqlite3_errmsg(db_)) + " [" + context + "]");
}

void SqliteFile::exec(const std::string& sql) {
    char* err = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string msg = err ? err : sqlite3_errmsg(db_);
        sqlite3_free(err);
        throw db::DbError(msg + " [" + sql.substr(0, 200) + "]");
    }
}

SqliteFile::Statement::Statement(SqliteFile& file, const std::string& sql) : file_(file), sql_(sql) {
    if (sqlite3_prepare_v3(file_.db_, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &st_,
                           nullptr) != SQLITE_OK)
        file_.fail(sql);
}

SqliteFile::Statement::~Statement() { sqlite3_finalize(st_); }

void SqliteFile::Statement::bind(int i, std::int64_t v) {
    if (sqlite3_bind_int64(st_, i, v) != SQLITE_OK) file_.fail(sql_);
}

void SqliteFile::Statement::bind(int i, std::string_view text) {
    if (sqlite3_bind_text(st_, i, text.data(), static_cast<int>(text.size()), SQLITE_STATIC) != SQLITE_OK)
        file_.fail(sql_);
}

void SqliteFile::Statement::bindNull(int i) {
    if (sqlite3_bind_null(st_, i) != SQLITE_OK) file_.fail(sql_);
}

void SqliteFile::Statement::bind(int i, const db::Value& v) {
    int rc;
    if (v.isNull()) rc = sqlite3_bind_null(st_, i);
    else if (v.isInteger()) rc = sqlite3_bind_int64(st_, i, v.asInteger());
    else if (v.isReal()) rc = sqlite3_bind_double(st_, i, v.asReal());
    else rc = sqlite3_bind_text(st_, i, v.asText().data(), static_cast<int>(v.asText().size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) file_.fail(sql_);
}

void SqliteFile::Statement::run() {
    while (step()) {
    }
}

bool SqliteFile::Statement::step() {
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) file_.fail(sql_);
    sqlite3_reset(st_);
    return false;
}

std::string SqliteFile::Statement::text(int column) const {
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st_, column));
    return t ? std::string(t, static_cast<std::size_t>(sqlite3_column_bytes(st_, column))) : std::string();
}

}  // namespace tolvenk::demo
