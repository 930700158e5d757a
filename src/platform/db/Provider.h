#pragma once
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/RowCursor.h"
#include "platform/db/Value.h"

namespace tolvenk::db {

struct QueryResult {
    std::vector<std::string> columns;
    std::vector<std::vector<Value>> rows;
    // Engine row identity of each row, when the query was opened for update.
    std::vector<Value> rowKeys;
};

// The INSERT of one row of a record set, its names written by `name`
// (each engine quotes its own way), the values as parameters.
inline std::string insertRowStatement(const std::string& table, const std::vector<std::string>& columns,
                                      const std::function<std::string(const std::string&)>& name) {
    std::string sql = "INSERT INTO " + name(table);
    if (columns.empty()) return sql + " DEFAULT VALUES";
    std::string names, marks;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        names += (i ? "," : "") + name(columns[i]);
        marks += i ? ",?" : "?";
    }
    return sql + " (" + names + ") VALUES (" + marks + ")";
}

// One open session with one engine. Statements arrive in the module's own
// dialect; each provider translates what its engine lacks.
class Provider {
public:
    virtual ~Provider() = default;

    virtual QueryResult query(const std::string& sql, const std::vector<Value>& params) = 0;
    // Rows of "select * from <table> <tail>" with the engine's row identity, or
    // false when the table has none (a view, a join).
    virtual bool queryForUpdate(const std::string& table, const std::string& head, const std::string& tail,
                                QueryResult& out) = 0;
    // Runs one statement; returns the number of rows it changed.
    virtual long long execute(const std::string& sql, const std::vector<Value>& params) = 0;
    // Runs several statements separated by ';' with no translation.
    virtual void executeScript(const std::string& sql) = 0;
    // Runs statements one after the other, as execute() each; a failing one
    // may leave those before it written, for the caller's savepoint to undo.
    virtual void executeEach(const std::vector<std::string>& statements) {
        for (const std::string& sql : statements) execute(sql, {});
    }

    virtual void insertRow(const std::string& table, const std::vector<std::string>& columns,
                           const std::vector<Value>& values) = 0;
    // The engine may move the row; rowKey then names it where it now is.
    virtual long long updateRow(const std::string& table, Value& rowKey,
                                const std::vector<std::string>& columns, const std::vector<Value>& values) = 0;

    virtual void begin() = 0;
    // A transaction that holds the database's write lock from its start, so
    // that what it reads before writing cannot change under it.
    virtual void beginWrite() = 0;
    // A transaction that only reads and sees one committed state of the
    // database from its start to its end, begun only where the engine keeps
    // that state without holding writers out; false, and nothing begun, where
    // it would hold them out. Ended by rollback().
    virtual bool beginSnapshot() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual bool inTransaction() const = 0;
    // Whether the session is known to have ended (a server that went down
    // or ended it while it was idle); asked only outside a transaction. A
    // file never loses its session this way.
    virtual bool lost() { return false; }
    // SAVEPOINT, RELEASE or ROLLBACK TO inside a transaction, run as it is:
    // never inside the provider's own per-statement savepoint.
    virtual void savepointControl(const std::string& sql) = 0;

    // Inside a write transaction: holds the rows of `table` meeting `where`
    // until it ends, against writers that lock rows rather than the whole
    // database. Nothing to do where a write transaction holds it all.
    virtual void lockRows(const std::string& table, const std::string& where) {
        (void)table;
        (void)where;
    }
    // A single-table read inside a write transaction that holds its rows as
    // lockRows would, in the same statement: the statement to run.
    virtual std::string lockingRead(const std::string& sql) const { return sql; }

    // The rows of a statement read as asked for (RowCursor), its column
    // names into `columns`. Nothing else runs on this session until it goes.
    // `waiting`, where given, is told while the engine works on the first
    // rows, where it lets it (see waitsWhileWorking); false stops there.
    virtual std::unique_ptr<CursorSource> openCursor(const std::string& sql, std::vector<std::string>& columns,
                                                     const std::function<bool()>& waiting = {}) = 0;
    // Whether a cursor's fetch lets the waiting function in while the engine
    // works on it (a server, waited on through its socket): a long piece of
    // a read then holds no window.
    virtual bool waitsWhileWorking() const { return false; }

    virtual void setCommandTimeout(int seconds) = 0;

    // A lock named `name` that one session at a time holds, whichever
    // process or machine it runs in, until releaseLock or until the session
    // ends (its process dying included). False when another session holds it.
    virtual bool tryHoldLock(const std::string& name) = 0;
    virtual void releaseLock(const std::string& name) = 0;
    // Whether a session other than this one holds the lock now.
    virtual bool lockHeldElsewhere(const std::string& name) = 0;

    // A long series of write transactions begins (on) or has ended (off): the
    // engine may put off its housekeeping between them until the end.
    virtual void setBulkWrites(bool on) { (void)on; }
    // Whether another session waits for a lock this one may hold while
    // writing, where the engine lets that be known cheaply: a writer in the
    // middle of a long series of writes then gives way at its next commit.
    virtual bool othersWaitToWrite() { return false; }
    // Whether another session committed writes since this one last asked
    // (the first asking only starts counting), where the engine tells so
    // cheaply; asked between transactions. False where it does not.
    virtual bool othersWrote() { return false; }
    // While on, this session's writes share the lock with writers that
    // commit often (terminals): the engine keeps its housekeeping after each
    // commit short, where it has any.
    virtual void setSharedWrites(bool on) { (void)on; }
    // Whether a statement that reads keeps every writer out until it ends (a
    // file with a rollback journal), so that a long read is best split.
    virtual bool readsKeepWritersOut() { return false; }
    // After a commit of this session's series shared with other writers
    // (see setBulkWrites): its pages copied back into the file without the
    // write lock, where the engine keeps a log.
    virtual void copyBack() {}
    // At a series' end: the whole log copied back, `alive` told meanwhile.
    virtual void copyBackAll(const std::function<void()>& alive) { (void)alive; }
    // Before a piece of a long read where reads keep writers out: whether
    // other sessions have been committing in the last seconds, and if so,
    // waits a little while one is in the middle of its write transaction,
    // whose commit would otherwise wait for the whole piece, at most
    // `most`. False where the engine does not tell.
    virtual bool giveWayToWriters(std::chrono::steady_clock::duration most) {
        (void)most;
        return false;
    }
};

}  // namespace tolvenk::db
