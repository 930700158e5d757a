#include "data/WriteBatch.h"

#include <exception>
#include <future>
#include <thread>

#include "platform/ErrorText.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Transaction.h"
#include "platform/db/WriteTrace.h"
#include "platform/services/Services.h"

namespace tolvenk {

Write_Batch::Limits& Write_Batch::standard() {
    static Limits limits;
    return limits;
}

Write_Batch::Write_Batch(db::Connection& con) : Write_Batch(con, standard()) {}

Write_Batch::Write_Batch(db::Connection& con, Limits limits)
    : con_(con), onFile_(!con.onServer()), limits_(limits), contended_(onFile_ && limits.alone.count() > 0),
      othersSeen_(std::chrono::steady_clock::now()) {
    if (onFile_) con_.othersWrote();  // counts from here
    if (leavesGaps()) tills_.mark(con_);
    flushesEach_ = onFile_ && con_.readsKeepWritersOut();
}

Write_Batch::~Write_Batch() {
    try {
        outer_.reset();
        if (sharing_) con_.setSharedWrites(false);
    } catch (...) {
    }
}

void Write_Batch::othersWrite() {
    if (onFile_) othersAbout_ = true;
    else seeOthers(true);
}

// A server says who waits on which rows, and its sets stay short once one
// did; a file's own writers (this module's) mark their waits and are seen
// between the sets, and sets stay short for them once one did. A till of
// another make marks nothing: it comes in in the gaps.
void Write_Batch::seeOthers(bool seen) {
    const auto now = std::chrono::steady_clock::now();
    if (seen) othersSeen_ = now;
    if (!onFile_ || limits_.alone.count() == 0) contended_ = contended_ || seen;
    else contended_ = seen || now - othersSeen_ < limits_.alone;
    if (onFile_ && sharing_ != contended_) con_.setSharedWrites(sharing_ = contended_);
}

std::chrono::steady_clock::duration Write_Batch::setTime() const {
    const std::chrono::steady_clock::duration limit = timeLimit();
    return shortHolds() ? std::min(limit, writesLeft()) : limit;
}

std::chrono::steady_clock::duration Write_Batch::writesLeft() const {
    using Duration = std::chrono::steady_clock::duration;
    if (!leavesGaps()) return timeLimit();
    // A batch begun after the stretch is over begins a new one, after a gap.
    const bool anew = !outer_ && stretchOver();
    const Duration stretch = stretchLength(!gapLeft_ && !anew);
    const Duration since = anew ? Duration{} : heldSinceGap_;
    const Duration held = outer_ ? std::chrono::steady_clock::now() - begun_ : Duration{};
    return std::max(Duration{}, stretch - since - held - lastCommit_);
}

void Write_Batch::item(const Writes& writes, Kept kept, Lost lost) {
    run(writes, true, std::move(kept), std::move(lost));
}

void Write_Batch::wholeItem(const Writes& writes, Kept kept, Lost lost) {
    run(writes, false, std::move(kept), std::move(lost));
}

void Write_Batch::items(std::int64_t count, const Writes& writes, Kept kept, Lost lost) {
    run(writes, true, std::move(kept), std::move(lost), count);
}

void Write_Batch::run(const Writes& writes, bool savepoint, Kept kept, Lost lost, std::int64_t count) {
    if (!outer_) {
        if (onFile_) {
            if (leavesGaps() && !firstHeld_) lookFirst();  // before the series' first lock
            leaveGap();
            seeOthers(false);  // alone long enough, or not
        }
        outer_ = std::make_unique<db::Transaction>(con_);
        begun_ = std::chrono::steady_clock::now();
        if (!firstHeld_) firstHeld_ = begun_;
        if (leavesGaps()) tills_.learn(con_, begun_);
        held_ = 0;
    }
    try {
        if (savepoint) {
            db::Transaction own(con_);  // a savepoint of the batch
            writes(con_);
            own.commit();
        } else {
            writes(con_);
        }
    } catch (const std::exception& e) {
        // Some errors end the whole transaction on the file engine (a full
        // disk, a trigger's rollback): what the batch held is gone with it.
        if (!con_.inTransaction()) lose(platform::errorText(e));
        throw;
    }
    pending_.push_back({std::move(kept), std::move(lost)});
    held_ += count;
}

void Write_Batch::note(const Kept& told) {
    if (!outer_) {
        if (told) told();
        return;
    }
    pending_.push_back({told, [told](const std::string&) {
                            if (told) told();
                        }});
    ++held_;
}

// Someone waiting for the lock (this module's writer) gets it at the next
// item's end. On a file with gaps the batch holds the lock to the end of its
// stretch, one commit to the disk for the stretch, its sets short all the
// same where a writer was seen waiting. A server's terminal waits only for
// the rows of its own card, and the server says when it does, though only
// between two sets: a run holding cards also ends its batch past `cards`.
bool Write_Batch::pause(bool telling) {
    if (!outer_) return true;
    const auto held = std::chrono::steady_clock::now() - begun_;
    const bool gaps = leavesGaps();
    const auto most = !onFile_ ? std::chrono::steady_clock::duration(heldTime())
                      : gaps   ? held + writesLeft()
                               : std::chrono::steady_clock::duration(timeLimit());
    const bool full = held_ >= limits_.items || held >= most;
    const bool waiting = con_.othersWaitToWrite();
    seeOthers(waiting);  // alone long enough by now, or not
    const bool tellingDue = telling && (platform::services().yieldDue() || untilTelling() <= kTellEvery / 4);
    if (full || waiting || tellingDue) commit();
    return !outer_;
}

std::chrono::steady_clock::duration Write_Batch::untilTelling() const {
    if (!told_) return std::chrono::steady_clock::duration::max();
    return kTellEvery - (std::chrono::steady_clock::now() - *told_);
}

bool Write_Batch::commit() {
    if (!outer_) return true;
    const auto committing = std::chrono::steady_clock::now();
    try {
        commitOuter();
    } catch (const std::exception& e) {
        lose(platform::errorText(e));
        if (db::connectionLost(e)) throw;  // the run cannot go on: it says so, not each item after it
        return false;
    }
    ended(committing);
    outer_.reset();
    // The commit's pages go back to the file with the lock free.
    con_.copyBack();
    std::vector<Pending> done;
    done.swap(pending_);
    for (const Pending& p : done)
        if (p.kept) p.kept();
    return true;
}

bool Write_Batch::commitGivingWay() {
    // Not counted as contention: the server's other sets stay long.
    if (outer_ && !onFile_) con_.othersWaitToWrite();
    return commit();
}

void Write_Batch::commitOuter() {
    if (leavesGaps()) tills_.mark(con_);
    if (!waiting_ || !onFile_) {
        outer_->commit();
        return;
    }
    auto done = std::async(std::launch::async, [this] { outer_->commit(); });
    while (done.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) waiting_();
    done.get();
}

void Write_Batch::letEventsIn() { platform::yieldEvery(std::chrono::milliseconds(25)); }

void Write_Batch::committing(const std::function<void()>& items) {
    try {
        items();
    } catch (...) {
        commit();
        throw;
    }
    commit();
}

void Write_Batch::ended(std::chrono::steady_clock::time_point committing) {
    const auto now = std::chrono::steady_clock::now();
    heldSinceGap_ += now - begun_;
    lastCommit_ = now - committing;
    lastEnd_ = now;
}

// Once the stretch is over the lock stays free until nobody else has
// committed for a while: each till kept out tries again within its longest
// sleep, comes in and commits, and the next one after it. The time since
// the last batch ended counts as gap already.
// A stretch with less than a quarter left is over: a batch begun in it
// would be cut short by the stretch's end, its commit for little. The first
// one is over only at its end: a series no longer than it leaves no gap. On
// a rollback journal stretches are shorter and the first is as long as the
// others: there every commit is flushed, on a busy disk for a quarter of a
// second, and a till kept out of a longer one would wait past its second.
bool Write_Batch::stretchOver() const {
    // Beside busy tills a stretch is one batch: a till kept out past a
    // tenth of a second sleeps in steps the others' bookings fill.
    if (shortHolds()) return heldSinceGap_.count() > 0;
    if (!gapLeft_) return heldSinceGap_ + lastCommit_ >= stretchLength(true);
    const auto length = stretchLength(false);
    return heldSinceGap_ + lastCommit_ + length / 4 >= length;
}

std::chrono::steady_clock::duration Write_Batch::stretchLength(bool first) const {
    using Duration = std::chrono::steady_clock::duration;
    const Duration length = flushesEach_ ? std::min(limits_.stretch, limits_.flushedStretch) : limits_.stretch;
    // Beside busy tills, writes as long as the commit where the stretch
    // allows: a series whose commit takes longer (many pages, a slow disk)
    // would otherwise spend its share of the lock on commits. The tills' own
    // commits are slower there too.
    if (shortHolds())
        return std::min(length, std::max(Duration(limits_.busyStretch), 2 * lastCommit_));
    return first && !flushesEach_ ? std::max(length, Duration(limits_.firstStretch)) : length;
}

// Beside tills that book all the time, for the first seconds of the
// series: a window's short series is over by then, a few seconds longer
// than alone at most. Past them the series goes on in stretches: holds of
// one short batch would make a long run (the settlement) several times
// slower, each batch with a commit and a gap of its own.
bool Write_Batch::shortHolds() const {
    constexpr auto kShortHoldsFor = std::chrono::seconds(2);
    const auto now = std::chrono::steady_clock::now();
    return firstHeld_ && now - *firstHeld_ < kShortHoldsFor && tills_.busy(now);
}

// Tills that book all the time show in a few hundredths of a second, and
// the first stretch is then as short as the others: a long one (with
// nobody about, a short series' only one) would keep them waiting many
// times their usual wait. Alone, the look costs a hundredth of a second.
void Write_Batch::lookFirst() {
    constexpr auto kSomebody = std::chrono::milliseconds(10), kLook = std::chrono::milliseconds(30);
    const auto from = std::chrono::steady_clock::now();
    bool seen = false;
    for (auto now = from; now - from < (seen ? kLook : kSomebody); now = std::chrono::steady_clock::now()) {
        seen = con_.othersWrote() || seen;
        if (waiting_) waiting_();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (seen) tills_.learn(con_, std::chrono::steady_clock::now());
}

void Write_Batch::leaveGap() {
    if (limits_.quiet.count() <= 0 || heldSinceGap_.count() == 0 || !stretchOver()) return;
    db::tellWrite(db::Write_Event::Gap_Begun);
    constexpr auto kLook = std::chrono::milliseconds(2);
    auto quietSince = lastEnd_;
    // After a short hold beside busy tills, each kept out by it sleeps in
    // steps of some hundredths of a second: the gap ends as soon as each
    // seen lately came once. After a long one, one may sleep a tenth of a
    // second and miss a gap that short; so may a till not seen lately that
    // missed a short gap or two: every few tenths of a second a gap lasts
    // the quiet time at least.
    constexpr auto kShortHold = std::chrono::milliseconds(100), kFullGapEvery = std::chrono::milliseconds(300);
    const auto begun = std::chrono::steady_clock::now();
    const bool busyHold = shortHolds() && heldSinceGap_ <= kShortHold;
    const bool brief = busyHold && begun - fullGap_ < kFullGapEvery;
    tills_.gapBegun(begun, busyHold);
    bool unread = false;  // others committed since the tills were last looked at
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if (con_.othersWrote()) {
            quietSince = now;
            unread = true;
        }
        // Beside tills that book all the time the file is never quiet: the
        // gap ends once each came, and any other had two tries. Looked at
        // only then, and once a commit: a look holds a reader's lock that a
        // till's commit on a rollback journal waits for.
        const bool mayEnd = brief || now - lastEnd_ >= (busyHold ? 1 : 2) * limits_.quiet;
        if (mayEnd && unread) {
            tills_.learn(con_, now);
            unread = false;
        }
        const bool cameAll = mayEnd && tills_.allCame(busyHold);
        if (now - quietSince >= limits_.quiet || now - lastEnd_ >= limits_.longestGap || cameAll) break;
        if (waiting_) waiting_();
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            kLook, quietSince + limits_.quiet - now));
    }
    db::tellWrite(db::Write_Event::Gap_Ended);
    if (!brief) fullGap_ = std::chrono::steady_clock::now();
    heldSinceGap_ = {};
    gapLeft_ = true;
}

void Write_Batch::lose(const std::string& why) {
    if (outer_) ended(std::chrono::steady_clock::now());
    outer_.reset();  // rolls back what the engine still holds
    std::vector<Pending> gone;
    gone.swap(pending_);
    for (const Pending& p : gone)
        if (p.lost) p.lost(why);
}

Bulk_Writes::Bulk_Writes(db::Connection& con) : con_(con) { con_.setBulkWrites(true); }

Bulk_Writes::~Bulk_Writes() {
    try {
        if (con_.isOpen()) con_.setBulkWrites(false);
    } catch (...) {
    }
}

std::optional<std::string> Until_Connection_Lost(const std::function<void()>& body) {
    try {
        body();
    } catch (const db::DbError& e) {
        if (!e.connectionLost()) throw;
        return std::string(e.what());
    }
    return std::nullopt;
}

}  // namespace tolvenk
