#pragma once
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/ReadPieces.h"
#include "platform/db/Recordset.h"
#include "platform/db/RowCursor.h"
#include "platform/db/Value.h"

namespace tolvenk::db {

class Provider;

// Sees the text of every statement a connection runs or opens, as the module
// wrote it; for tests that pin down what a computation asks the database.
void setStatementObserver(std::function<void(const std::string&)> observer);

// A connection opened by one of the module's connection texts. Record sets it
// opens are read in full (client-side) and keep the session alive themselves.
class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Picks the provider from the text; throws DbError on any failure.
    void open(const std::string& connectionString);
    void close();
    bool isOpen() const { return provider_ != nullptr; }
    // Opens a new session with the same text in place of one the server
    // ended (restarted, or ended it) while it was idle; true when it did.
    // Never while a transaction begun here has not ended: what it wrote is
    // gone with the session, and the rest of it must fail, not run apart.
    // DbError when no new session can be had (the old one stays).
    bool reopenIfLost();
    const std::string& connectionString() const { return text_; }
    // Whether the text names a database server (else a database file).
    bool onServer() const;

    void setCommandTimeout(int seconds);
    int commandTimeout() const { return timeout_; }

    // Runs a statement; returns the number of rows it changed.
    long long execute(const std::string& sql, const std::vector<Value>& params = {});
    // Opens a record set. "select [top N] * from T ..." on one table can be updated.
    std::shared_ptr<Recordset> openRecordset(const std::string& sql);
    // The rows of a statement read as they are asked for: a long result in
    // bounded memory. The cursor holds this session until it goes; open it
    // on a connection nothing else uses meanwhile.
    std::unique_ptr<RowCursor> openCursor(const std::string& sql);
    // The same for a statement read in pieces (ReadPieces) where a long read
    // would keep writers out: `statement` gives it with a piece's condition in
    // place of its own on the range ("" for the whole); the rows come piece
    // after piece.
    std::unique_ptr<RowCursor> openCursor(std::function<std::string(const std::string& piece)> statement,
                                          const Pieces_Along& along);
    // The pieces of a long read on this connection; see ReadPieces.
    ReadPieces readPieces(const Pieces_Along& along) const;
    // Several statements at once, untranslated (schema scripts of tools and tests).
    void executeScript(const std::string& sql);
    // Statements without parameters, each as execute() would run it, in as
    // few round trips as the engine allows: for writes that go together
    // inside a savepoint of the caller's, which undoes them if one fails.
    void executeEach(const std::vector<std::string>& statements);

    void beginTrans();
    // A transaction holding the write lock from its start (read, decide, write).
    void beginWriteTrans();
    // Inside a write transaction: holds those rows against writers that lock
    // rows (terminals on a server) until it ends; see Provider::lockRows.
    void lockRows(const std::string& table, const std::string& where);
    // The rows of a single-table read (no join, no grouping) held the same
    // way from the read on, in one statement: on a server a round trip less.
    std::shared_ptr<Recordset> openLockedRecordset(const std::string& sql);
    // Begins a transaction that only reads and sees one committed state of the
    // database until rollbackTrans(), where the engine keeps that state
    // without holding writers out: on the server a REPEATABLE READ READ ONLY
    // transaction, on a file in WAL mode a read transaction. A file with a
    // rollback journal would keep every writer waiting until it ended, so
    // nothing is begun there and this returns false: each statement then
    // sees the state at its own start.
    bool beginSnapshot();
    void commitTrans();
    void rollbackTrans();
    bool inTransaction() const;
    // The engine ended the transaction begun here itself (a lost session, a
    // full disk): none is open any more, and nothing is left to roll back.
    void forgetTransaction();
    // Savepoints inside a transaction; Transaction is their one user.
    void savepoint(const std::string& name);
    void releaseSavepoint(const std::string& name);
    void rollbackToSavepoint(const std::string& name);
    // A long series of write transactions begins or has ended; see Provider.
    void setBulkWrites(bool on);
    // Another session waits to write where this one may hold the lock; see Provider.
    bool othersWaitToWrite();
    // Others committed since this session last asked; see Provider.
    bool othersWrote();
    // A read keeps every writer out while it runs (a rollback journal); see Provider.
    bool readsKeepWritersOut();
    // Before a read that keeps writers out: whether others are committing,
    // after a short wait for one in the middle of its write; see Provider.
    bool giveWayToWriters(std::chrono::steady_clock::duration most);
    // This session's writes share the lock with frequent writers; see Provider.
    void setSharedWrites(bool on);
    // A series' commit copied back without the lock; see Provider.
    void copyBack();
    // At a series' end, its whole log; see Provider.
    void copyBackAll(const std::function<void()>& alive);
    // A named lock one session holds at a time, across processes; see Provider.
    bool tryHoldLock(const std::string& name);
    void releaseLock(const std::string& name);
    bool lockHeldElsewhere(const std::string& name);

    // Creates an empty file database at `path` (tools and tests only).
    static void createFileDatabase(const std::string& path);
    // The connection text of the file-database provider for a path.
    static std::string fileConnectionString(const std::string& path);

private:
    Provider& live() const;

    std::shared_ptr<Provider> makeProvider(const std::string& connectionString) const;

    std::shared_ptr<Provider> provider_;
    std::string text_;
    int timeout_ = 30;
    // A transaction was begun here and its end not yet seen here.
    bool begun_ = false;
};

// A run of reads that must agree with each other (a report's statements) on
// a session of its own, seeing one committed state of the database for as
// long as the object lives where the engine allows (beginSnapshot). A
// session of its own because the connection it is made like may be shared:
// another window may write on it while the run lets events through, and that
// write must neither land in a read-only transaction nor wait for it.
class ReadSnapshot {
public:
    // Opens the session (DbError when it cannot) with `like`'s text and timeout.
    explicit ReadSnapshot(const Connection& like);
    ~ReadSnapshot();
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

    Connection& connection() { return con_; }
    // False on a rollback-journal file: its statements each see their own state.
    bool oneState() const { return held_; }

private:
    Connection con_;
    bool held_ = false;
};

}  // namespace tolvenk::db
