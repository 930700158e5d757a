#pragma once
#include <chrono>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "platform/db/Provider.h"

struct pg_conn;
struct pg_result;

namespace tolvenk::db {

class ConnectionString;

// Where a server connection text points, as libpq is told.
struct ServerTarget {
    std::string host;  // empty: the local socket
    std::string port;  // empty: the default
    std::string database;
    std::string user;
    std::string password;
    bool integrated = false;
    std::string dataSource;  // as written, for messages
};

// Reads the server text. Throws DbError (3049) for what no server can answer,
// such as a named instance.
ServerTarget serverTarget(const ConnectionString& cs);

// The server provider: one libpq session. Results are read in full and no
// cursor stays open between calls, as with the file provider. Each statement
// in a transaction is its own savepoint, so a failed one leaves the
// transaction usable, as the classic server does.
class PgProvider : public Provider {
public:
    // Connects; a server that is down, a refused login or a missing database
    // throws DbError with the server's reason, within the connect timeout.
    PgProvider(const ServerTarget& target, int commandTimeoutSeconds);
    ~PgProvider() override;
    PgProvider(const PgProvider&) = delete;
    PgProvider& operator=(const PgProvider&) = delete;

    QueryResult query(const std::string& sql, const std::vector<Value>& params) override;
    bool queryForUpdate(const std::string& table, const std::string& head, const std::string& tail,
                        QueryResult& out) override;
    long long execute(const std::string& sql, const std::vector<Value>& params) override;
    void executeScript(const std::string& sql) override;
    void executeEach(const std::vector<std::string>& statements) override;
    void insertRow(const std::string& table, const std::vector<std::string>& columns,
                   const std::vector<Value>& values) override;
    long long updateRow(const std::string& table, Value& rowKey, const std::vector<std::string>& columns,
                        const std::vector<Value>& values) override;
    void begin() override;
    void beginWrite() override;
    void lockRows(const std::string& table, const std::string& where) override;
    std::string lockingRead(const std::string& sql) const override { return sql + " for update"; }
    bool beginSnapshot() override;
    void commit() override;
    void rollback() override;
    void savepointControl(const std::string& sql) override;
    bool inTransaction() const override;
    bool lost() override;
    std::unique_ptr<CursorSource> openCursor(const std::string& sql, std::vector<std::string>& columns,
                                             const std::function<bool()>& waiting = {}) override;
    bool waitsWhileWorking() const override { return true; }
    void setCommandTimeout(int seconds) override;
    bool othersWaitToWrite() override;
    bool tryHoldLock(const std::string& name) override;
    void releaseLock(const std::string& name) override;
    bool lockHeldElsewhere(const std::string& name) override;

private:
    struct Statement {
        std::string text;  // translated
        int parameters = 0;
        std::string name;  // prepared name, once the text was seen twice
        bool seen = false;
    };
    class Result;
    class Cursor;

    Statement& statement(const std::string& sql);
    Result run(const std::string& sql, const std::vector<Value>& params);
    Result runOnce(Statement& st, const std::vector<Value>& params);
    Result simple(const std::string& sql);
    // The same, `waiting` told while the server works on it; a false from it
    // cancels the statement, and `stopped` is set.
    Result waitedFor(const std::string& sql, const std::function<bool()>& waiting, bool& stopped);
    void runInSavepoint(const std::function<void()>& work);
    [[noreturn]] void fail(pg_result* res, const std::string& context);
    void applyTimeout();
    std::string lockKey(const std::string& name) const;

    pg_conn* conn_ = nullptr;
    std::string key_;  // its parameters: an idle session is kept under them when it ends
    std::map<std::string, Statement> cache_;
    int nextName_ = 0;
    int timeout_ = -1;
    int timeoutSent_ = -1;
    std::set<std::string> heldLocks_;
    std::string lastState_;  // SQLSTATE of the last failure
    std::chrono::steady_clock::time_point askedWaiting_{};
    std::string waiters_;  // sessions last seen waiting for this one's locks, by process ID
    void letWaitersIn(const std::string& pids);
};

}  // namespace tolvenk::db
