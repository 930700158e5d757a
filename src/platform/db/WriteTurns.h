#pragma once
#include <chrono>

struct sqlite3;

namespace tolvenk::db {

// Turns at a database file's write lock, kept between processes. The engine
// lets a waiting writer retry only now and then, so a writer that commits and
// at once begins again would keep the lock for as long as it has work, and a
// terminal beside it would wait the whole time. Here a connection that waits
// for the lock to write marks the file while it waits, and a writer about to
// take the lock first lets those marked go, as people queue at a counter.
//
// The mark is a lock on a byte of the file that the engine never locks, taken
// on the engine's own descriptor of the file as a lock of that descriptor (an
// open-file-description lock): the engine's unlocking of the whole file and a
// descriptor closed elsewhere in the process leave it, and it goes with the
// process if that dies. Where the descriptor cannot be found (another file
// system layer), no turns are kept and waiting is as before.
class WriteTurns {
public:
    // For the main file of `db`, which must be the file at (device, inode).
    WriteTurns(sqlite3* db, unsigned long long device, unsigned long long inode);
    ~WriteTurns();
    WriteTurns(const WriteTurns&) = delete;
    WriteTurns& operator=(const WriteTurns&) = delete;

    bool kept() const { return fd_ >= 0; }
    // Marks this connection waiting to write; again while marked, nothing.
    void markWaiting();
    void unmarkWaiting();
    // Whether another connection (of any process) is marked waiting.
    bool othersWaiting() const;
    // Before taking the lock: waits while others are marked waiting, at most
    // `most` (a writer queued behind a lock held for long, or a mark that
    // outlives its wait, holds nobody up for more).
    void letWaitingGoFirst(std::chrono::milliseconds most) const;

private:
    int fd_ = -1;
    bool marked_ = false;
};

}  // namespace tolvenk::db
