#pragma once
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/ShownText.h"
#include "platform/db/Provider.h"
#include "platform/db/WalCopier.h"
#include "platform/db/WriteTurns.h"

struct sqlite3;
struct sqlite3_stmt;

namespace tolvenk::db {

// The file-database provider: a SQLite file of the installation, opened as it
// is (journal mode kept, read-only when it may not be written). Results are
// read in full, so no statement stays open between calls and no lock is held.
// Before a write, and before the first read after a window was activated, it
// checks that the file at its path is still the one it opened. A lock another
// process holds is waited for by trying again every millisecond; a writer
// takes its turn after those already waiting to write (WriteTurns).
class SqliteProvider : public Provider {
public:
    // Opens an existing file; a missing file is an error, never created here.
    // The first read already waits up to `timeoutSeconds` for another
    // process's lock, as every later statement does.
    explicit SqliteProvider(const std::string& path, int timeoutSeconds = 60);
    ~SqliteProvider() override;
    SqliteProvider(const SqliteProvider&) = delete;
    SqliteProvider& operator=(const SqliteProvider&) = delete;

    // Creates a new, empty database file (for tools and tests).
    static void createFile(const std::string& path);

    QueryResult query(const std::string& sql, const std::vector<Value>& params) override;
    bool queryForUpdate(const std::string& table, const std::string& head, const std::string& tail,
                        QueryResult& out) override;
    long long execute(const std::string& sql, const std::vector<Value>& params) override;
    void executeScript(const std::string& sql) override;
    void insertRow(const std::string& table, const std::vector<std::string>& columns,
                   const std::vector<Value>& values) override;
    long long updateRow(const std::string& table, Value& rowKey, const std::vector<std::string>& columns,
                        const std::vector<Value>& values) override;
    void begin() override;
    void beginWrite() override;
    bool beginSnapshot() override;
    void commit() override;
    void rollback() override;
    void savepointControl(const std::string& sql) override;
    bool inTransaction() const override;
    std::unique_ptr<CursorSource> openCursor(const std::string& sql, std::vector<std::string>& columns,
                                             const std::function<bool()>& waiting = {}) override;
    void setCommandTimeout(int seconds) override;
    bool tryHoldLock(const std::string& name) override;
    void releaseLock(const std::string& name) override;
    bool lockHeldElsewhere(const std::string& name) override;
    void setBulkWrites(bool on) override;
    bool othersWaitToWrite() override;
    bool othersWrote() override;
    void setSharedWrites(bool on) override;
    bool readsKeepWritersOut() override;
    void copyBack() override;
    void copyBackAll(const std::function<void()>& alive) override;
    bool giveWayToWriters(std::chrono::steady_clock::duration most) override;

    bool readOnly() const { return readOnly_; }

private:
    void openHandle(int flags, const std::string& name);
    // A descriptor of the named lock's file, made if missing.
    int openLockFile(const std::string& file);
    void requireSameFile();
    void requireWritable(sqlite3_stmt* st);
    void checkAfterActivation();
    void runScript(const std::string& sql);
    sqlite3_stmt* prepare(const std::string& sql);
    void bind(sqlite3_stmt* st, const std::vector<Value>& params);
    [[noreturn]] void fail(const std::string& context);
    static int onBusy(void* self, int tries);
    void copyBackShared();
    void copyBackPassive();
    void shareWrites();
    bool othersCommittedSince(std::optional<long long>& seen);
    void startLogOver();
    // For the length of a call that may wait to write: its wait is marked.
    class Writing;

    sqlite3* db_ = nullptr;
    std::string path_;
    unsigned long long device_ = 0;
    unsigned long long inode_ = 0;
    bool readOnly_ = false;
    platform::NumberedText lost_;  // why the file may no longer be used, once that is known
    unsigned activationSeen_ = 0;
    // Statements by their text as the module wrote it; translated once.
    std::map<std::string, sqlite3_stmt*> cache_;
    // Pages of log past which a series beside another writer has the log
    // start over: under the thousand past which every commit of the other
    // writer (the engine's default) copies the log back itself, with two
    // flushes more each time.
    static constexpr int kStartOverPages = 768;
    // Pages past which it waits for the others to start the log over, and as
    // many again before it tries once more (each wait keeps writers out).
    static constexpr int kWaitToStartOverPages = 32768;
    // Pages of log past which a session sharing the lock with terminals
    // copies it back after its commit: each copy-back's writes then reach
    // the disk soon, and a terminal's flush meanwhile waits less for them.
    static constexpr int kSharedCopyBackPages = 300;
    // A series alone copies its log back once it holds this many pages
    // (16 MB): some hundredths of a second each, between its batches.
    static constexpr int kBulkCopyBackPages = 4096;
    // The settings a series of bulk writes changed, to be put back after it.
    struct Saved_Settings {
        long long synchronous, cacheSize, walPages;
        bool wal = false;     // the file's journal at the series' start
        bool shared = false;  // another writer was seen waiting during the series
        bool flushing = false;  // its own setting put back for the rest of the series
        int frames = 0;       // pages in the log after the series' last commit
        int restartAt = kWaitToStartOverPages;  // past which it waits for the others to start it over
    };
    std::optional<Saved_Settings> bulk_;
    std::optional<long long> dataVersion_;  // at the last othersWrote
    std::optional<long long> readVersion_;  // at the last giveWayToWriters
    std::optional<std::chrono::steady_clock::time_point> writersSeen_;  // their last commit seen there
    std::optional<long long> sharedFrom_;   // the log's copy-back point before setSharedWrites
    std::unique_ptr<WriteTurns> turns_;
    std::unique_ptr<Wal_Copier> copier_;  // a series' copy-back, on a thread of its own
    bool writing_ = false;
    std::chrono::milliseconds lockTimeout_{60000};
    std::chrono::steady_clock::time_point busySince_;
    // Descriptors of the lock files this session holds, by lock name.
    std::map<std::string, int> locks_;
};

}  // namespace tolvenk::db
