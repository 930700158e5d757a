#include "data/WriteBatch.h"

#include <exception>
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
}

Write_Batch::~Write_Batch() {
    try {
        outer_.reset();
        if (sharing_) con_.setSharedWrites(false);
    } catch (...) {
    }
}

void Write_Batch::othersWrite() { seeOthers(true); }

// A server says who waits on which rows, and its sets stay short once one
// did; a file's writers are seen by their commits between the batches.
void Write_Batch::seeOthers(bool seen) {
    const auto now = std::chrono::steady_clock::now();
    if (seen) othersSeen_ = now;
    if (seen) tillsSeen_ = now;
    if (!onFile_ || limits_.alone.count() == 0) {
        contended_ = contended_ || seen;
        return;
    }
    contended_ = seen || now - othersSeen_ < limits_.alone;
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
            seeOthers(con_.othersWrote());
            leaveGap();
            if (sharing_ != contended_) con_.setSharedWrites(sharing_ = contended_);
        }
        outer_ = std::make_unique<db::Transaction>(con_);
        begun_ = std::chrono::steady_clock::now();
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

// Someone waiting for the lock (a terminal) gets it at the next item's end.
// On a file, beside another writer, a batch also ends at its short time
// limit when nobody waits just then: the file has one write lock, and one
// that came in a moment later would wait for everything the batch wrote and
// for its commit to reach the disk. A server's terminal waits only for the
// rows of its own card, and the server says when it does, though only
// between two sets: a run holding cards also ends its batch past `cards`.
bool Write_Batch::pause(bool telling) {
    if (!outer_) return true;
    const auto held = std::chrono::steady_clock::now() - begun_;
    // With gaps, a file's batch beside others holds the lock to the end of
    // its stretch, its sets short all the same: one flush to the disk for
    // the stretch, not one for each short set, and a writer seen waiting
    // still ends it at the next set.
    const bool gaps = onFile_ && limits_.gap.count() > 0;
    const auto most = !onFile_ ? std::chrono::steady_clock::duration(heldTime())
                      : gaps   ? std::chrono::steady_clock::duration(limits_.time)
                               : std::chrono::steady_clock::duration(timeLimit());
    const bool full = held_ >= limits_.items || held >= most || (gaps && heldSinceGap_ + held >= stretch());
    const bool waiting = con_.othersWaitToWrite();
    if (waiting) seeOthers(true);
    if (full || waiting || (telling && platform::services().yieldDue())) commit();
    // Where the stretches are short (their commits copy back), the gap comes
    // before the window's events are let through: left at the next batch's
    // start, it would make the window due again, and the batch would end at
    // its first set, the rest of the stretch taking the lock again at once,
    // before a sleeping till's next try. On a rollback journal it stays
    // there: a run's reads before its next batch (a settlement's set) keep
    // the tills' commits out, and right after the stretch they come while
    // the tills it kept out still sleep (at the gap's end, measured, tills
    // waited over a second several times a minute).
    if (!outer_ && gaps && con_.commitsCopyBack()) leaveGap();
    return !outer_;
}

bool Write_Batch::commit() {
    if (!outer_) return true;
    try {
        outer_->commit();
    } catch (const std::exception& e) {
        lose(platform::errorText(e));
        if (db::connectionLost(e)) throw;  // the run cannot go on: it says so, not each item after it
        return false;
    }
    ended();
    outer_.reset();
    std::vector<Pending> done;
    done.swap(pending_);
    for (const Pending& p : done)
        if (p.kept) p.kept();
    return true;
}

void Write_Batch::committing(const std::function<void()>& items) {
    try {
        items();
    } catch (...) {
        commit();
        throw;
    }
    commit();
}

bool Write_Batch::tillsAbout() const {
    constexpr auto kOthersGone = std::chrono::seconds(2);
    return tillsSeen_ && std::chrono::steady_clock::now() - *tillsSeen_ < kOthersGone;
}

// A series' first stretch is short too: a till asleep in its busy handler
// when it began is seen only by its commit in the first gap.
std::chrono::steady_clock::duration Write_Batch::stretch() const {
    if (!tillsAbout() && gapLeft_) return limits_.stretch;
    return con_.commitsCopyBack() ? limits_.copyingBack : limits_.besideOthers;
}

void Write_Batch::ended() {
    const auto now = std::chrono::steady_clock::now();
    heldSinceGap_ += now - begun_;
    lastEnd_ = now;
}

// A writer that came in during the gap has committed when the next batch
// begins, and is seen then.
void Write_Batch::leaveGap() {
    if (limits_.gap.count() <= 0 || heldSinceGap_.count() == 0 || heldSinceGap_ < stretch()) return;
    // Beside tills, two of their tries fall in it: one that woke while
    // another till wrote gets in at its next.
    db::tellWrite(db::Write_Event::Gap_Begun);
    std::this_thread::sleep_until(lastEnd_ + (tillsAbout() ? 2 * limits_.gap : limits_.gap));
    db::tellWrite(db::Write_Event::Gap_Ended);
    heldSinceGap_ = {};
    gapLeft_ = true;
    seeOthers(con_.othersWrote());
}

void Write_Batch::lose(const std::string& why) {
    if (outer_) ended();
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
