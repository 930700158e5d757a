#pragma once
#include <string>

#include "platform/db/Connection.h"

namespace tolvenk::db {

// A transaction that ends however its scope is left: commit() keeps what it
// wrote, anything else (an early return, an exception) rolls it back. Begun
// inside another transaction of the same connection it is a savepoint of
// that one, so a part can be undone while the whole goes on.
class Transaction {
public:
    enum class Lock { Deferred, Write };
    explicit Transaction(Connection& con, Lock lock = Lock::Write);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    // Ends it now, undoing its writes; the scope's end then does nothing.
    void rollback();
    bool active() const { return active_; }

private:
    Connection& con_;
    std::string savepoint_;  // empty for the outermost transaction
    bool active_ = true;
};

// Closes a connection however the scope is left; declared before a
// Transaction on it, the transaction ends first.
class CloseOnExit {
public:
    explicit CloseOnExit(Connection& con) : con_(con) {}
    ~CloseOnExit() { con_.close(); }
    CloseOnExit(const CloseOnExit&) = delete;
    CloseOnExit& operator=(const CloseOnExit&) = delete;

private:
    Connection& con_;
};

}  // namespace tolvenk::db
