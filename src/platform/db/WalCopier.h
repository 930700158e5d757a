#pragma once
// Copies a WAL file's log back into the file on a thread of its own, with a
// connection of its own: a long series' copy-back then holds neither the
// write lock nor the window that runs the series.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

struct sqlite3;

namespace tolvenk::db {

class Wal_Copier {
public:
    // Opens its own connection to the file at `path`; none when that fails
    // (the series then copies back itself: see working()).
    explicit Wal_Copier(const std::string& path);
    // Waits for a copy-back under way.
    ~Wal_Copier();
    Wal_Copier(const Wal_Copier&) = delete;
    Wal_Copier& operator=(const Wal_Copier&) = delete;

    bool working() const { return db_ != nullptr; }
    // A passive copy-back soon, of whatever is committed by then; one asked
    // for while another runs comes after it, once.
    void ask();
    // Until no copy-back is asked for or under way.
    void wait();
    // The same for at most `d`: whether none is.
    bool waitFor(std::chrono::milliseconds d);

private:
    void run();
    sqlite3* db_ = nullptr;
    std::mutex m_;
    std::condition_variable cv_;
    bool asked_ = false, busy_ = false, quit_ = false;
    std::thread thread_;
};

}  // namespace tolvenk::db
