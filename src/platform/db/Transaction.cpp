#include "platform/db/Transaction.h"

namespace tolvenk::db {

namespace {
unsigned savepoints = 0;  // names each savepoint apart from those it nests in
}

Transaction::Transaction(Connection& con, Lock lock) : con_(con) {
    if (con_.inTransaction()) {
        savepoint_ = "tolvenk_sp" + std::to_string(++savepoints);
        con_.savepoint(savepoint_);
    } else if (lock == Lock::Write) {
        con_.beginWriteTrans();
    } else {
        con_.beginTrans();
    }
}

Transaction::~Transaction() {
    if (!active_) return;
    // The engine may have ended the transaction itself (a full disk, a lost
    // server); the error that brought us here is the one the caller sees.
    try {
        rollback();
    } catch (...) {
    }
}

// A commit that fails leaves the transaction active, so the scope's end
// rolls back what the engine kept open and no lock outlives the failure.
void Transaction::commit() {
    if (!active_) return;
    if (savepoint_.empty())
        con_.commitTrans();
    else
        con_.releaseSavepoint(savepoint_);
    active_ = false;
}

void Transaction::rollback() {
    if (!active_) return;
    active_ = false;
    if (savepoint_.empty()) {
        if (con_.inTransaction()) con_.rollbackTrans();
        else con_.forgetTransaction();
        return;
    }
    if (!con_.inTransaction()) return;
    con_.rollbackToSavepoint(savepoint_);
    con_.releaseSavepoint(savepoint_);
}

}  // namespace tolvenk::db
