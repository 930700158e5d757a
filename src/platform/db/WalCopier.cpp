#include "platform/db/WalCopier.h"

#include <sqlite3.h>

namespace tolvenk::db {

Wal_Copier::Wal_Copier(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
        return;
    }
    // A connection knows the file's log only once it has read the file.
    if (sqlite3_exec(db_, "select count(*) from sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
        return;
    }
    try {
        thread_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        sqlite3_close(db_);
        db_ = nullptr;
    }
}

Wal_Copier::~Wal_Copier() {
    if (!db_) return;
    {
        std::unique_lock l(m_);
        quit_ = true;
    }
    cv_.notify_all();
    thread_.join();
    sqlite3_close(db_);
}

void Wal_Copier::ask() {
    {
        std::unique_lock l(m_);
        asked_ = true;
    }
    cv_.notify_all();
}

void Wal_Copier::wait() {
    std::unique_lock l(m_);
    cv_.wait(l, [this] { return !asked_ && !busy_; });
}

bool Wal_Copier::waitFor(std::chrono::milliseconds d) {
    std::unique_lock l(m_);
    return cv_.wait_for(l, d, [this] { return !asked_ && !busy_; });
}

void Wal_Copier::run() {
    std::unique_lock l(m_);
    for (;;) {
        cv_.wait(l, [this] { return asked_ || quit_; });
        if (quit_) return;
        asked_ = false;
        busy_ = true;
        l.unlock();
        // Passive: it never waits for the series nor for a till.
        sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
        l.lock();
        busy_ = false;
        cv_.notify_all();
    }
}

}  // namespace tolvenk::db
