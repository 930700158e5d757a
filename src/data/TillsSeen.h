#pragma once
// A file's tills of any make come in only while a run leaves the lock free,
// each after a busy sleep of its own, and beside tills that book all the
// time the file is never quiet long enough to tell that all of them came.
// Their rows say which till booked them: a gap may end once every till that
// booked in it has booked again (none of them still waits) and every till
// that booked twice in the last second came.
#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <set>

namespace tolvenk {

namespace db {
class Connection;
}

class Tills_Seen {
public:
    using Clock = std::chrono::steady_clock;
    // Where the run begins, and under its own lock before each commit: rows
    // so far are the run's, older or learnt.
    void mark(db::Connection& con);
    // Another session committed, or the run takes the lock again: whose
    // rows came since.
    void learn(db::Connection& con, Clock::time_point now);
    // A gap begins: the tills that book all the time are waited for (with
    // `busy`, every till seen in the last few tenths of a second too).
    void gapBegun(Clock::time_point now, bool busy = false);
    // Every till waited for came, and each that booked in the gap did so
    // twice (or `once`); false while none booked.
    bool allCame(bool once) const;
    // The tills book all the time (one of them ten times a second or more,
    // or all fifty): each waits alone no longer than a few of the others'
    // bookings, and a long hold of the lock would keep it waiting many
    // times that. Never once a look failed: the gaps then end as before.
    bool busy(Clock::time_point now) const { return on_ && now < busyUntil_; }

private:
    bool on_ = true;
    std::int64_t seenTo_ = 0;
    Clock::time_point lastLook_{};  // the last look or mark: a look's rows came since
    Clock::time_point busyUntil_{};
    struct Look {
        Clock::time_point at, since;
        int rows;
    };
    // Drops what is no longer lately; true when their rows came at
    // `perSecond` or more.
    bool paced(std::deque<Look>& looks, Clock::time_point now, int perSecond) const;
    std::map<std::int64_t, std::deque<Look>> booked_;  // by till, the looks that found its rows lately
    std::deque<Look> paced_;                           // the same for all tills
    std::set<std::int64_t> awaited_;
    std::map<std::int64_t, int> inGap_;  // by till, the looks that found its rows since the gap began
};

}  // namespace tolvenk
