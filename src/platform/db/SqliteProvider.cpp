#include "platform/db/SqliteProvider.h"
#include "platform/db/WalCopier.h"
#include "platform/db/WriteTrace.h"

#include <sqlite3.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <time.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "platform/db/Activation.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlTranslator.h"
#include "platform/db/SqliteFunctions.h"
#include "platform/ShownText.h"

namespace tolvenk::db {

namespace {

DbError readOnlyRefusal(const std::string& path) {
    return DbError::told(
        platform::numberedText(993, "The database '%1' is read-only: this change cannot be saved.", {path}), 3027);
}

constexpr std::size_t kCacheLimit = 128;

bool inWalMode(sqlite3* db);
void setPragma(sqlite3* db, const char* name, long long v);

// How often a waiting connection tries a lock again: the engine's own waits
// grow to 100 ms, and a writer that took the lock again at once between its
// transactions kept a waiting terminal out for as long as it wrote. The lock
// mostly comes free within a few milliseconds (another's short turn): a
// wait that long is tried more often, a longer one once a millisecond.
constexpr long kRetryMicros = 1000, kFirstRetryMicros = 200;
constexpr std::chrono::milliseconds kFirstRetries{50};
// The longest a writer lets those already waiting go first.
constexpr std::chrono::milliseconds kLongestTurn{1000};

// The undo records of a statement inside a transaction (and of a savepoint)
// stay in memory, whatever their size. The engine's 64 KiB sent each
// settlement card's delete (a megabyte or two) to a file made and dropped
// several times a second, and beside a terminal every flush on the disk
// stalled now and then for 0.2-0.3 s. No size in between will do: past it
// the engine writes the records out in pieces of that size, and it writes
// no more than 128 KiB at a time, so a larger piece fails as "disk full".
// A batch's sets are cut by time, which bounds what one savepoint holds.
// Set before the engine starts; where it has already started (another user
// in the process), it stays as it was.
constexpr int kUndoAlwaysInMemory = -1;
[[maybe_unused]] const bool undoInMemory =
    sqlite3_config(SQLITE_CONFIG_STMTJRNL_SPILL, kUndoAlwaysInMemory) == SQLITE_OK;

// Resets a cached statement however the call leaves it.
struct StmtReset {
    sqlite3_stmt* st;
    ~StmtReset() {
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
    }
};

Value columnValue(sqlite3_stmt* st, int i) {
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_NULL: return {};
    case SQLITE_INTEGER: return Value(static_cast<std::int64_t>(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT: return Value(sqlite3_column_double(st, i));
    default: {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
        // Kept byte for byte, even where another program stored another
        // encoding (GBK names): the text may be a key written back or compared.
        // What is shown or exported is made valid on its way there.
        return Value(std::string(t ? t : "", static_cast<std::size_t>(sqlite3_column_bytes(st, i))));
    }
    }
}

std::string quoteName(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        out += c;
        if (c == '"') out += '"';
    }
    return out + "\"";
}

// An empty file is refused before the engine sees it: opening would take it
// for a new database and write one. Anything else is judged by the engine's
// own open and first read, never by a descriptor of ours: closing one would
// drop every lock the engine holds on the file for this process.
void requireNotEmpty(const std::string& path, const struct stat& sb) {
    if (sb.st_size == 0)
        throw DbError::told(
            platform::numberedText(996, "The file '%1' is empty: it is not a database. It was left as it is.", {path}),
            3343);
}

[[noreturn]] void refuseNotDatabase(const std::string& path) {
    throw DbError::told(
        platform::numberedText(
            997, "The file '%1' is not a database, or not one this module can read. It was left as it is.", {path}),
        3343);
}

// Committed changes of a WAL file that are not yet copied into the file itself.
bool walHoldsChanges(const std::string& path) {
    struct stat wal{};
    return ::stat((path + "-wal").c_str(), &wal) == 0 && wal.st_size > 0;
}

bool onReadOnlyMedium(const std::string& path) {
    struct statvfs vfs{};
    return ::statvfs(path.c_str(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY);
}

// Writable as the installation meant it: the file and its folder (where the
// journal goes) may be written by this user, and neither is marked read-only,
// which even an administrator's account respects.
bool writable(const std::string& path, const struct stat& sb) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    const std::string dir = folder.empty() ? "." : folder;
    struct stat db{};
    if (::stat(dir.c_str(), &db) != 0) return false;
    return (sb.st_mode & 0222) && (db.st_mode & 0222) && ::access(path.c_str(), W_OK) == 0 &&
           ::access(dir.c_str(), W_OK) == 0;
}

std::string uriPath(const std::string& path) {
    std::string out;
    for (unsigned char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// A first read: a file that is no database (or cannot be read) fails here.
int probe(sqlite3* db, std::string& error) {
    char* err = nullptr;
    const int rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &err);
    error = err ? err : (rc == SQLITE_OK ? "" : sqlite3_errmsg(db));
    sqlite3_free(err);
    return rc == SQLITE_OK ? rc : sqlite3_extended_errcode(db);
}

}  // namespace

SqliteProvider::SqliteProvider(const std::string& path, int timeoutSeconds) : path_(path) {
    struct stat sb{};
    if (path.empty() || ::stat(path.c_str(), &sb) != 0 || !S_ISREG(sb.st_mode))
        throw DbError("Could not find file '" + path + "'.", 3024);
    requireNotEmpty(path, sb);
    device_ = sb.st_dev;
    inode_ = sb.st_ino;
    readOnly_ = !writable(path, sb);
    // The journal mode is the installation's choice: nothing here changes the file.
    openHandle(readOnly_ ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, path);
    // A rollback-journal file is unreadable while another process commits.
    setCommandTimeout(timeoutSeconds);
    std::string error;
    int rc = probe(db_, error);
    if (rc != SQLITE_OK && readOnly_ && ((rc & 0xff) == SQLITE_CANTOPEN || (rc & 0xff) == SQLITE_READONLY)) {
        // A WAL file whose shared-memory file cannot be made here. Read as it
        // stands it would hide what its -wal holds, so that is done only where
        // nothing can be hidden: no committed change waiting, on a medium that
        // nobody can write.
        sqlite3_close(db_);
        db_ = nullptr;
        if (walHoldsChanges(path))
            throw DbError::told(platform::numberedText(
                                    998,
                                    "The database '%1' cannot be read here: it holds committed changes in '%2' that "
                                    "are not yet in the file, and this folder cannot be written. Copy both files to a "
                                    "folder that can be written, or open the database once where it can be written.",
                                    {path, path + "-wal"}),
                                3049);
        if (!onReadOnlyMedium(path))
            throw DbError::told(
                platform::numberedText(999,
                                       "The database '%1' cannot be read here: it keeps its changes in a separate file "
                                       "that cannot be made in this folder. Open it from a folder that can be written.",
                                       {path}),
                3049);
        openHandle(SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, "file:" + uriPath(path) + "?immutable=1");
        setCommandTimeout(timeoutSeconds);
        rc = probe(db_, error);
    }
    if (rc != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
        if ((rc & 0xff) == SQLITE_NOTADB) refuseNotDatabase(path);
        throw DbError("Cannot open database '" + path + "': " + error, 3049);
    }
    sqlite3_extended_result_codes(db_, 1);
    registerSqliteFunctions(db_);
    activationSeen_ = activationCount();
    if (readOnly_) return;
    turns_ = std::make_unique<WriteTurns>(db_, device_, inode_);
    // A transaction whose changes outgrow the page cache would otherwise
    // write them into a rollback-journal file before its commit, taking the
    // file's exclusive lock for the rest of it: every other connection, this
    // process's own readers too, would wait until the commit. The write
    // transactions here are short. (A WAL file takes such pages in its log.)
    if (!inWalMode(db_)) runScript("PRAGMA cache_spill=OFF");
}

// Marks the connection waiting to write while the engine waits for a lock
// during the call, and unmarks it when the call ends.
class SqliteProvider::Writing {
public:
    explicit Writing(SqliteProvider& p) : p_(p) { p_.writing_ = true; }
    ~Writing() {
        p_.writing_ = false;
        if (p_.turns_) p_.turns_->unmarkWaiting();
    }
    Writing(const Writing&) = delete;
    Writing& operator=(const Writing&) = delete;

private:
    SqliteProvider& p_;
};

int SqliteProvider::onBusy(void* self, int tries) {
    auto& p = *static_cast<SqliteProvider*>(self);
    const auto now = std::chrono::steady_clock::now();
    if (tries == 0) p.busySince_ = now;
    if (now - p.busySince_ >= p.lockTimeout_) return 0;
    if (p.writing_ && p.turns_) p.turns_->markWaiting();
    timespec ts{0, (now - p.busySince_ < kFirstRetries ? kFirstRetryMicros : kRetryMicros) * 1000};
    ::nanosleep(&ts, nullptr);
    return 1;
}

void SqliteProvider::openHandle(int flags, const std::string& name) {
    if (sqlite3_open_v2(name.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        std::string msg = db_ ? sqlite3_errmsg(db_) : "cannot open";
        sqlite3_close(db_);
        db_ = nullptr;
        throw DbError("Cannot open database '" + path_ + "': " + msg, 3049);
    }
}

SqliteProvider::~SqliteProvider() {
    copier_.reset();
    for (auto& [name, fd] : locks_) ::close(fd);
    for (auto& [text, st] : cache_) sqlite3_finalize(st);
    if (db_) sqlite3_close_v2(db_);
}

void SqliteProvider::createFile(const std::string& path) {
    struct stat sb{};
    if (::stat(path.c_str(), &sb) == 0) throw DbError("Database '" + path + "' already exists.");
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    std::string msg = db ? sqlite3_errmsg(db) : "cannot create";
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw DbError("Cannot create database '" + path + "': " + msg);
}

void SqliteProvider::fail(const std::string& context) {
    std::string msg = sqlite3_errmsg(db_);
    const std::string noTable = "no such table: ";
    const std::string table = msg.rfind(noTable, 0) == 0 ? msg.substr(noTable.size()) : std::string();
    if (!context.empty()) msg += " [" + context + "]";
    if (!table.empty()) throw DbError::missingTable(msg, table);
    throw DbError(msg);
}

sqlite3_stmt* SqliteProvider::prepare(const std::string& sql) {
    if (auto it = cache_.find(sql); it != cache_.end()) return it->second;
    const std::string translated = translateForSqlite(sql);
    sqlite3_stmt* st = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, translated.c_str(), static_cast<int>(translated.size()), &st, &tail) != SQLITE_OK)
        fail(sql);
    if (!st) throw DbError("Empty statement [" + sql + "]");
    // The engine compiles only the first statement; anything after it would be dropped unseen.
    for (const char* c = tail; c && *c; ++c)
        if (!std::isspace(static_cast<unsigned char>(*c)) && *c != ';') {
            sqlite3_finalize(st);
            throw DbError("Characters found after end of SQL statement. [" + sql + "]", 3142);
        }
    if (cache_.size() >= kCacheLimit) {
        for (auto& [text, old] : cache_) sqlite3_finalize(old);
        cache_.clear();
    }
    cache_.emplace(sql, st);
    return st;
}

void SqliteProvider::bind(sqlite3_stmt* st, const std::vector<Value>& params) {
    if (static_cast<int>(params.size()) != sqlite3_bind_parameter_count(st))
        throw DbError("Wrong number of parameters");
    for (std::size_t i = 0; i < params.size(); ++i) {
        const int k = static_cast<int>(i) + 1;
        const Value& v = params[i];
        int rc;
        if (v.isNull()) rc = sqlite3_bind_null(st, k);
        else if (v.isInteger()) rc = sqlite3_bind_int64(st, k, v.asInteger());
        else if (v.isReal()) rc = sqlite3_bind_double(st, k, v.asReal());
        else rc = sqlite3_bind_text(st, k, v.asText().data(), static_cast<int>(v.asText().size()), SQLITE_TRANSIENT);
        if (rc != SQLITE_OK) fail("bind");
    }
}

void SqliteProvider::requireSameFile() {
    struct stat sb{};
    if (::stat(path_.c_str(), &sb) != 0)
        lost_ = platform::numberedText(
            995,
            "The database file '%1' is no longer there: it was deleted or moved while it was open. Nothing "
            "was written; open the window again.",
            {path_});
    else if (sb.st_dev != device_ || sb.st_ino != inode_)
        lost_ = platform::numberedText(
            994,
            "The database file '%1' was replaced while it was open. Nothing was written to it; open the "
            "window again to work with the new file.",
            {path_});
    if (!lost_.empty()) throw DbError::told(lost_, 3043);
}

void SqliteProvider::requireWritable(sqlite3_stmt* st) {
    if (sqlite3_stmt_readonly(st)) return;
    if (readOnly_)
        throw readOnlyRefusal(path_);
    requireSameFile();
}

void SqliteProvider::checkAfterActivation() {
    if (!lost_.empty()) throw DbError::told(lost_, 3043);
    const unsigned now = activationCount();
    if (now == activationSeen_) return;
    activationSeen_ = now;
    requireSameFile();
}

QueryResult SqliteProvider::query(const std::string& sql, const std::vector<Value>& params) {
    checkAfterActivation();
    sqlite3_stmt* st = prepare(sql);
    StmtReset guard{st};
    bind(st, params);
    QueryResult out;
    const int n = sqlite3_column_count(st);
    out.columns.reserve(n);
    for (int i = 0; i < n; ++i) out.columns.emplace_back(sqlite3_column_name(st, i));
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        std::vector<Value> row;
        row.reserve(n);
        for (int i = 0; i < n; ++i) row.push_back(columnValue(st, i));
        out.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) fail(sql);
    return out;
}

bool SqliteProvider::queryForUpdate(const std::string& table, const std::string& head, const std::string& tail,
                                    QueryResult& out) {
    const std::string sql = head + " rowid AS tolvenk_rowkey, * from " + table + tail;
    try {
        out = query(sql, {});
    } catch (const DbError&) {
        return false;  // no row identity here (a view, a join): the caller reads it plainly
    }
    out.columns.erase(out.columns.begin());
    out.rowKeys.reserve(out.rows.size());
    for (auto& row : out.rows) {
        out.rowKeys.push_back(row.front());
        row.erase(row.begin());
    }
    return true;
}

long long SqliteProvider::execute(const std::string& sql, const std::vector<Value>& params) {
    checkAfterActivation();
    sqlite3_stmt* st = prepare(sql);
    requireWritable(st);
    StmtReset guard{st};
    bind(st, params);
    const bool writes = !sqlite3_stmt_readonly(st);
    if (writes && turns_ && !inTransaction()) turns_->letWaitingGoFirst(kLongestTurn);
    std::optional<Writing> writing;
    if (writes) writing.emplace(*this);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) fail(sql);
    return sqlite3_stmt_readonly(st) ? 0 : sqlite3_changes64(db_);
}

void SqliteProvider::executeScript(const std::string& sql) {
    if (readOnly_)
        throw readOnlyRefusal(path_);
    requireSameFile();
    runScript(sql);
}

void SqliteProvider::runScript(const std::string& sql) {
    char* err = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : "script failed";
        sqlite3_free(err);
        throw DbError(msg);
    }
}

void SqliteProvider::insertRow(const std::string& table, const std::vector<std::string>& columns,
                               const std::vector<Value>& values) {
    execute(insertRowStatement(table, columns, quoteName), values);
}

long long SqliteProvider::updateRow(const std::string& table, Value& rowKey,
                                    const std::vector<std::string>& columns, const std::vector<Value>& values) {
    if (columns.empty()) return 0;
    std::string sql = "UPDATE " + quoteName(table) + " SET ";
    for (std::size_t i = 0; i < columns.size(); ++i) sql += (i ? "," : "") + quoteName(columns[i]) + "=?";
    sql += " WHERE rowid=?";
    std::vector<Value> params = values;
    params.push_back(rowKey);
    return execute(sql, params);
}

void SqliteProvider::begin() {
    requireSameFile();
    runScript("BEGIN");
}
void SqliteProvider::beginWrite() {
    if (readOnly_)
        throw readOnlyRefusal(path_);
    requireSameFile();
    if (turns_) {
        if (bulk_) othersWaitToWrite();  // a series notes the writer waiting
        turns_->letWaitingGoFirst(kLongestTurn);
    }
    if (bulk_ && bulk_->shared) {
        // Each commit flushed with the lock held: the other writer's own
        // flush would otherwise write the series' pages, and it waited for
        // them. (The engine takes the setting only between transactions.)
        if (!bulk_->flushing) setPragma(db_, "synchronous", bulk_->synchronous);
        bulk_->flushing = true;
        startLogOver();
    }
    const Writing writing(*this);
    runScript("BEGIN IMMEDIATE");
    tellWrite(Write_Event::Locked);
}
void SqliteProvider::commit() {
    tellWrite(Write_Event::Committing);
    {
        const Writing writing(*this);
        runScript("COMMIT");
    }
    tellWrite(Write_Event::Committed);
}

void SqliteProvider::copyBackAll(const std::function<void()>& alive) {
    if (!bulk_ || !bulk_->wal) return;
    if (!copier_) copier_ = std::make_unique<Wal_Copier>(path_);
    if (!copier_->working()) return;  // the series' end copies back itself
    copier_->ask();
    while (!copier_->waitFor(std::chrono::milliseconds(10)))
        if (alive) alive();
}

void SqliteProvider::copyBack() {
    if (!bulk_ || !bulk_->wal) return;
    if (bulk_->shared) copyBackShared();
    else if (bulk_->frames >= kBulkCopyBackPages) copyBackPassive();
    else return;
    tellWrite(Write_Event::Copied_Back);
}
void SqliteProvider::rollback() { runScript("ROLLBACK"); }
void SqliteProvider::savepointControl(const std::string& sql) { runScript(sql); }
bool SqliteProvider::inTransaction() const { return sqlite3_get_autocommit(db_) == 0; }

namespace {

long long pragmaNumber(sqlite3* db, const char* name) {
    sqlite3_stmt* st = nullptr;
    long long v = 0;
    if (sqlite3_prepare_v2(db, (std::string("PRAGMA ") + name).c_str(), -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        v = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return v;
}

void setPragma(sqlite3* db, const char* name, long long v) {
    sqlite3_exec(db, ("PRAGMA " + std::string(name) + "=" + std::to_string(v)).c_str(), nullptr, nullptr, nullptr);
}

bool inWalMode(sqlite3* db) {
    sqlite3_stmt* st = nullptr;
    bool wal = false;
    if (sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW) {
        const auto* mode = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        wal = mode && std::string(mode) == "wal";
    }
    sqlite3_finalize(st);
    return wal;
}

}  // namespace

// A series of transactions that each touch a thousand scattered pages (the
// settlement) is bound by what every commit writes. For its length: the
// pages stay in a larger cache; the WAL is copied back by the series after
// a commit (copyBack), with the lock free, once it holds some thousand pages,
// never inside a commit (the window would wait for it); and in WAL mode
// commits are not flushed one by one: a crash may then undo the last of
// them, each whole, never leaving the file inconsistent, and the first
// commit under the usual setting (or the end of the series) flushes them
// all. Once another writer (a terminal) is seen waiting, or committing (one
// of another make marks no wait), though, the series flushes each commit
// and copies its pages back after it: the other writer's flushes and its
// commits past their own 1000 pages would write them, and that writer would
// wait for the series' work.
void SqliteProvider::setBulkWrites(bool on) {
    constexpr long long kBulkCacheKiB = 131072, kNormal = 1;
    if (readOnly_ || on == bulk_.has_value()) return;
    if (on) {
        setSharedWrites(false);  // the series keeps its own copy-back, and puts the usual one back
        bulk_ = Saved_Settings{pragmaNumber(db_, "synchronous"), pragmaNumber(db_, "cache_size"),
                               pragmaNumber(db_, "wal_autocheckpoint"), inWalMode(db_)};
        // No copy-back inside a commit: the series' own (copyBack) counts the
        // log's pages as each commit leaves them.
        sqlite3_wal_hook(
            db_,
            [](void* self, sqlite3*, const char*, int frames) {
                auto* p = static_cast<SqliteProvider*>(self);
                if (p->bulk_) p->bulk_->frames = frames;
                return SQLITE_OK;
            },
            this);
        setPragma(db_, "cache_size", -kBulkCacheKiB);
        if (bulk_->synchronous > kNormal && bulk_->wal) setPragma(db_, "synchronous", kNormal);
        return;
    }
    copier_.reset();  // its copy-back under way ends first
    setPragma(db_, "synchronous", bulk_->synchronous);
    setPragma(db_, "cache_size", bulk_->cacheSize);
    sqlite3_wal_autocheckpoint(db_, static_cast<int>(bulk_->walPages));
    bulk_.reset();
    sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
}

bool SqliteProvider::othersWaitToWrite() {
    const bool waiting = turns_ && turns_->othersWaiting();
    if (waiting) shareWrites();
    return waiting;
}

void SqliteProvider::shareWrites() {
    if (!bulk_) return;
    bulk_->shared = true;  // copied back by copyBackShared after each commit
}

// The log starts over only when a writer begins with every page of it
// copied back; with another writer committing between the series' commits
// that never happened by itself, and the log grew by gigabytes, each commit
// writing further into a file nobody reads.
void SqliteProvider::copyBackShared() {
    constexpr std::chrono::milliseconds kRestartWait{20};
    // Passive, on the copier's thread where there is one: the others write
    // on meanwhile, as in the gap they come in.
    copyBackPassive();
    // Where the series' own start (startLogOver) keeps missing it, it waits
    // for the others to start the log over. One that could not wait it out
    // is tried again once the log has grown as much again, not at every
    // commit while such a reader lasts. A copy-back that waits for the
    // others waits no longer than a terminal's write takes: the engine keeps
    // writers out while it waits, and a reader in a long snapshot (another
    // office's report) would keep them out as long.
    if (bulk_->frames < bulk_->restartAt) return;
    if (copier_) copier_->wait();
    const auto timeout = lockTimeout_;
    lockTimeout_ = kRestartWait;
    const int rc = sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_RESTART, nullptr, nullptr);
    lockTimeout_ = timeout;
    bulk_->restartAt = rc == SQLITE_OK ? kWaitToStartOverPages : bulk_->frames + kWaitToStartOverPages;
}

void SqliteProvider::copyBackPassive() {
    if (!copier_) copier_ = std::make_unique<Wal_Copier>(path_);
    if (copier_->working()) copier_->ask();
    else sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
}

// Past some hundred pages the series copies back what the others wrote
// since its last commit just before it begins: beginning with the whole log
// copied back, its first write starts the log over, keeping nobody out.
void SqliteProvider::startLogOver() {
    if (bulk_->frames < kStartOverPages) return;
    if (copier_) copier_->wait();
    sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
}

bool SqliteProvider::readsKeepWritersOut() { return !inWalMode(db_); }


// The file's data version moves with every other session's commit; the
// first asking only notes where it stands.
bool SqliteProvider::othersCommittedSince(std::optional<long long>& seen) {
    const long long version = pragmaNumber(db_, "data_version");
    const bool moved = seen && *seen != version;
    seen = version;
    return moved;
}

// A till's commit waits for every reader's statement to end, and meanwhile
// holds the write lock the other tills want; it sleeps in its busy handler
// and so finds the reader gone only some milliseconds later. A piece begun
// while no write is open delays only a writer that comes during it. The
// engine tells whether any session holds the write lock (its reserved lock,
// which a till takes at its transaction's start).
bool SqliteProvider::giveWayToWriters(std::chrono::steady_clock::duration most) {
    constexpr auto kWritersGone = std::chrono::seconds(2);
    constexpr std::chrono::steady_clock::duration kLongestWait = std::chrono::milliseconds(25);  // a till's write is a few
    most = std::min(most, kLongestWait);
    if (!db_) return false;
    const auto now = std::chrono::steady_clock::now();
    if (othersCommittedSince(readVersion_)) writersSeen_ = now;
    if (!writersSeen_ || now - *writersSeen_ >= kWritersGone) return false;
    sqlite3_file* file = nullptr;
    if (inTransaction() || sqlite3_file_control(db_, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
        !file->pMethods)
        return true;
    for (int held = 0; file->pMethods->xCheckReservedLock(file, &held) == SQLITE_OK && held &&
                       std::chrono::steady_clock::now() - now < most;) {
        timespec ts{0, kFirstRetryMicros * 1000};
        ::nanosleep(&ts, nullptr);
    }
    return true;
}

bool SqliteProvider::othersWrote() {
    if (!db_) return false;
    const bool changed = othersCommittedSince(dataVersion_);
    // A writer of another make marks no wait, but commits: its next commit
    // would flush and copy back the series' pages, all other writers
    // waiting for it meanwhile.
    if (changed) shareWrites();
    return changed;
}

// A series of bulk writes keeps its own copy-back (setBulkWrites).
void SqliteProvider::setSharedWrites(bool on) {
    if (readOnly_ || bulk_ || on == sharedFrom_.has_value() || !inWalMode(db_)) return;
    if (on) {
        sharedFrom_ = pragmaNumber(db_, "wal_autocheckpoint");
        sqlite3_wal_autocheckpoint(db_, kSharedCopyBackPages);
        return;
    }
    sqlite3_wal_autocheckpoint(db_, static_cast<int>(*sharedFrom_));
    sharedFrom_.reset();
}

// In WAL mode a read transaction reads the state of its first read from the
// file and the log while writers append to the log. With a rollback journal
// it would hold the file's shared lock to its end, and every writer's commit
// (a terminal's) would wait for it: there each statement stays on its own.
bool SqliteProvider::beginSnapshot() {
    if (!inWalMode(db_)) return false;
    begin();
    try {
        runScript("SELECT count(*) FROM sqlite_master");  // takes the state now, not at the first real read
    } catch (...) {
        runScript("ROLLBACK");
        throw;
    }
    return true;
}

// A file has no lock of its own for a named lock: a file beside the
// database carries it, as an open-file-description lock that goes with the
// descriptor (and so with the process), whoever else opens the same file.
// The database file itself is never opened here: closing a descriptor of it
// would drop the engine's own locks.
namespace {

std::string lockFile(const std::string& database, const std::string& name) { return database + "-" + name + ".lock"; }

struct flock wholeFile(short type) {
    struct flock l{};
    l.l_type = type;
    l.l_whence = SEEK_SET;
    return l;
}

DbError notPlainLockFile(const std::string& file) {
    return DbError::told(
        platform::numberedText(1093,
                               "The file '%1' beside the database is a link or not a plain file, so it cannot serve "
                               "as this step's lock and the step did not start. Ask your administrator to remove it.",
                               {file}),
        3051);
}

DbError lockFileClosed(const std::string& file) {
    return DbError::told(
        platform::numberedText(1094,
                               "The lock file '%1' beside the database cannot be opened for writing, so the step did "
                               "not start. Ask your administrator to remove it or to let you write it.",
                               {file}),
        3051);
}

// A plain file of one name only: a link, or another name of some file (the
// database's own above all), would lend the lock to whatever it points to.
bool plainFile(const struct stat& sb) { return S_ISREG(sb.st_mode) && sb.st_nlink == 1; }

}  // namespace

// Never through a link, and never anything but a plain file: a link at the
// lock's name would otherwise open up its target's mode to every writer.
// Only a file made here gets the database's mode; one found is left as it is.
int SqliteProvider::openLockFile(const std::string& file) {
    // A session that may not write makes nothing: its file could keep the writers out.
    if (readOnly_) throw readOnlyRefusal(path_);
    constexpr int kFlags = O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    struct stat found{};
    if (::lstat(file.c_str(), &found) != 0) {
        if (errno != ENOENT) throw lockFileClosed(file);
        const int fd = ::open(file.c_str(), kFlags | O_CREAT | O_EXCL, 0666);
        if (fd >= 0) {
            // Whoever may write the database may take the lock: the file gets the
            // database's own permissions, as the engine's journals do.
            struct stat database{};
            if (::stat(path_.c_str(), &database) == 0) (void)::fchmod(fd, database.st_mode & 0666);
            return fd;
        }
        if (errno != EEXIST) throw lockFileClosed(file);
        if (::lstat(file.c_str(), &found) != 0) throw lockFileClosed(file);  // made by another just now
    }
    if (!plainFile(found) || (found.st_dev == device_ && found.st_ino == inode_)) throw notPlainLockFile(file);
    const int fd = ::open(file.c_str(), kFlags);
    if (fd < 0) {
        if (errno == ELOOP) throw notPlainLockFile(file);
        throw lockFileClosed(file);
    }
    // Another file put in its place since it was looked at is let go at once, unchanged.
    struct stat opened{};
    if (::fstat(fd, &opened) != 0 || !plainFile(opened) || opened.st_dev != found.st_dev ||
        opened.st_ino != found.st_ino) {
        ::close(fd);
        throw notPlainLockFile(file);
    }
    return fd;
}

bool SqliteProvider::tryHoldLock(const std::string& name) {
    if (locks_.count(name)) return true;
    const std::string file = lockFile(path_, name);
    const int fd = openLockFile(file);
    struct flock l = wholeFile(F_WRLCK);
    if (::fcntl(fd, F_OFD_SETLK, &l) != 0) {
        const int why = errno;
        ::close(fd);
        if (why == EAGAIN || why == EACCES) return false;
        throw DbError("Cannot lock the file '" + file + "': " + std::strerror(why), 3051);
    }
    locks_[name] = fd;
    return true;
}

void SqliteProvider::releaseLock(const std::string& name) {
    const auto it = locks_.find(name);
    if (it == locks_.end()) return;
    ::close(it->second);
    locks_.erase(it);
}

bool SqliteProvider::lockHeldElsewhere(const std::string& name) {
    if (locks_.count(name)) return false;
    // Looked at as tryHoldLock would take it: what it would refuse, nobody holds.
    const std::string file = lockFile(path_, name);
    struct stat found{}, opened{};
    if (::lstat(file.c_str(), &found) != 0 || !plainFile(found) || (found.st_dev == device_ && found.st_ino == inode_))
        return false;  // never made (or none to take): nobody holds it
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct flock l = wholeFile(F_WRLCK);
    const bool held = ::fstat(fd, &opened) == 0 && opened.st_dev == found.st_dev && opened.st_ino == found.st_ino &&
                      ::fcntl(fd, F_OFD_GETLK, &l) == 0 && l.l_type != F_UNLCK;
    ::close(fd);
    return held;
}

void SqliteProvider::setCommandTimeout(int seconds) {
    // 0 means "no limit" for a command timeout; a lock wait still ends some day.
    lockTimeout_ = std::chrono::milliseconds(seconds > 0 ? seconds * 1000LL : 3600 * 1000LL);
    sqlite3_busy_handler(db_, &SqliteProvider::onBusy, this);
}

namespace {

// A statement of its own, not the cache's: it stays open between batches.
// `after` runs once it is finalized (drops what it read from).
class SqliteCursor : public CursorSource {
public:
    SqliteCursor(sqlite3_stmt* st, std::function<void()> failed, std::function<void()> after = {})
        : st_(st), failed_(std::move(failed)), after_(std::move(after)) {}
    ~SqliteCursor() override {
        sqlite3_finalize(st_);
        if (after_) after_();
    }
    void fetch(std::vector<std::vector<Value>>& rows, std::size_t most) override {
        if (done_) return;
        const int n = sqlite3_column_count(st_);
        for (auto since = Clock::now(); rows.size() < most;) {
            if (pause(rows.size(), since)) return;
            const int rc = sqlite3_step(st_);
            if (rc == SQLITE_DONE) {
                done_ = true;
                return;
            }
            if (rc != SQLITE_ROW) failed_();
            std::vector<Value> row;
            row.reserve(static_cast<std::size_t>(n));
            for (int i = 0; i < n; ++i) row.push_back(columnValue(st_, i));
            rows.push_back(std::move(row));
        }
    }

private:
    sqlite3_stmt* st_;
    std::function<void()> failed_, after_;
    bool done_ = false;
};

}  // namespace

// In WAL mode an open statement keeps no writer out: it is stepped as the
// rows are asked for. With a rollback journal it would keep every terminal
// waiting until the last row was read, window yields and all: there the
// answer is copied at once, in one statement and one state, into a table of
// this session's temporary database (a file of its own, not in memory), and
// read from there with the installation's file free again.
std::unique_ptr<CursorSource> SqliteProvider::openCursor(const std::string& sql, std::vector<std::string>& columns,
                                                         const std::function<bool()>&) {
    checkAfterActivation();
    const std::string translated = translateForSqlite(sql);
    const auto prepared = [&](const std::string& text) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, text.c_str(), static_cast<int>(text.size()), &st, nullptr) != SQLITE_OK) fail(sql);
        if (!st) throw DbError("Empty statement [" + sql + "]");
        return st;
    };
    sqlite3_stmt* st = prepared(translated);
    columns.clear();
    for (int i = 0; i < sqlite3_column_count(st); ++i) columns.emplace_back(sqlite3_column_name(st, i));
    if (!inWalMode(db_)) {
        static int copies = 0;
        const std::string table = "temp.tolvenk_rows_" + std::to_string(++copies);
        if (sqlite3_exec(db_, ("CREATE TABLE " + table + " AS " + translated).c_str(), nullptr, nullptr, nullptr) ==
            SQLITE_OK) {
            sqlite3_finalize(st);
            st = prepared("SELECT * FROM " + table + " ORDER BY rowid");
            sqlite3* db = db_;
            return std::make_unique<SqliteCursor>(st, [this, sql] { fail(sql); }, [db, table] {
                sqlite3_exec(db, ("DROP TABLE IF EXISTS " + table).c_str(), nullptr, nullptr, nullptr);
            });
        }
        // No temporary table here (a read-only session that may not make
        // one): the rows are stepped as they come, as in WAL mode.
        sqlite3_exec(db_, ("DROP TABLE IF EXISTS " + table).c_str(), nullptr, nullptr, nullptr);
    }
    return std::make_unique<SqliteCursor>(st, [this, sql] { fail(sql); });
}

}  // namespace tolvenk::db
