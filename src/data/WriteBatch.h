#pragma once
// Writes of many employees or cards in transactions of a few hundred, each
// one's writes in a savepoint of its own: one that fails is undone alone and
// the others of the batch still commit, while terminals wait for the write
// lock no longer than one batch holds it.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/TillsSeen.h"

namespace tolvenk {

namespace db {
class Connection;
class Transaction;
}  // namespace db

class Write_Batch {
public:
    // A batch is committed once it holds `items` employees or cards or has
    // held the lock for `time`, whichever comes first.
    // On a file, a run takes the lock as one beside terminals does until it
    // has seen nobody else write for `alone`: a terminal's write that comes
    // before it could have been seen waiting waits no longer than a short
    // turn either. With none, it is sized as alone until another writer is
    // seen and as beside one from then on, as on a server.
    // On a server, a run whose sets lock the cards terminals book on commits
    // once it has held them for `cards`: the server tells who waits only
    // between two sets, and a terminal whose card came early in a long batch
    // would wait for all of it.
    // On a file, the lock is left free after every stretch the batches held
    // it for `stretch`, commits and all: a till of another maker sleeps up
    // to 100 ms between its tries for the lock and knows nothing of the
    // marks this module's own writers leave, so it gets in only while the
    // lock lies free. The gap lasts until no other session has committed
    // for `quiet` (longer than a till's longest sleep: every till kept out
    // has come in by then, one after another), but no longer than
    // `longestGap`; with nobody about it is `quiet` long. Beside tills that
    // book all the time it is never that quiet: there it ends after two
    // quiet times once every till seen in it has booked twice (Tills_Seen).
    // Where they book every few hundredths of a second, a series' first
    // seconds go in holds of one short batch, a gap after each ending as
    // soon as every till seen lately came, every few tenths of a second
    // one of the quiet time at least. With no quiet, the lock is taken
    // again at once.
    struct Limits {
        std::int64_t items = 200;
        std::chrono::milliseconds time{150};
        std::chrono::milliseconds alone{100};
        std::chrono::milliseconds cards{20};
        std::chrono::milliseconds stretch{600};
        // A series' first stretch is longer in WAL mode: one shorter than it
        // (most of a window's) leaves no gap at all.
        std::chrono::milliseconds firstStretch{800};
        // The stretch on a file with a rollback journal, at most.
        std::chrono::milliseconds flushedStretch{400};
        // The stretch, first one too, beside tills that book all the time
        // (Tills_Seen::busy), for a series' first seconds: alone they wait
        // only for one another's bookings.
        std::chrono::milliseconds busyStretch{60};
        std::chrono::milliseconds quiet{110};
        std::chrono::milliseconds longestGap{800};
    };
    using Writes = std::function<void(db::Connection&)>;
    using Kept = std::function<void()>;
    // `why` as a clerk reads it: a plain sentence, the engine's words below.
    using Lost = std::function<void(const std::string& why)>;

    // The limits of a batch made without any; tests make them small.
    static Limits& standard();

    explicit Write_Batch(db::Connection& con);
    Write_Batch(db::Connection& con, Limits limits);
    // A batch still open is rolled back, its items told nothing: commit()
    // before leaving wherever they should be kept.
    ~Write_Batch();
    Write_Batch(const Write_Batch&) = delete;
    Write_Batch& operator=(const Write_Batch&) = delete;

    // Runs one employee's or card's writes in a savepoint of the open batch,
    // begun with the write lock by the first of them. `kept` is told once
    // they are committed. An error undoes only them and passes; where the
    // engine ended the whole transaction with it, the batch's earlier items
    // were undone too and each is told `lost` first.
    void item(const Writes& writes, Kept kept = {}, Lost lost = {});
    // The same for writes that keep themselves whole (one statement, or a
    // transaction guard of their own, which is a savepoint here): a
    // savepoint around them would only cost a round trip more each way.
    void wholeItem(const Writes& writes, Kept kept = {}, Lost lost = {});
    // Set-based writes that stand for `count` employees or cards at once, in
    // a savepoint: they take that many places of the batch.
    void items(std::int64_t count, const Writes& writes, Kept kept = {}, Lost lost = {});
    // The places left in the open batch (all of them when none is open), and
    // how long a batch may hold the lock.
    std::int64_t room() const { return limits_.items - (outer_ ? held_ : 0); }
    // Beside another writer, sets are sized to hold the lock no longer than
    // a terminal's own write would keep it waiting. A server's card sets stay
    // at their time: shorter ones would cost more in round trips than they
    // spare the one terminal whose card is in them.
    std::chrono::milliseconds timeLimit() const {
        if (serverCards_) return heldTime();
        return contended_ ? std::min(limits_.time, onFile_ ? kSharedFile : kSharedServer) : limits_.time;
    }
    // How long the writes of the open batch, or of the next one, may hold
    // the lock before its commit: on a file with gaps what is left of the
    // stretch (a new one where a gap comes first), its commit counted as
    // the last one took.
    std::chrono::steady_clock::duration writesLeft() const;
    // How long a set of the open batch, or of the next one, may take: a
    // batch's time, beside busy tills no more than its short hold has left.
    std::chrono::steady_clock::duration setTime() const;
    // Told now and then while the batch leaves a gap or commits, so that a
    // window takes its events meanwhile; on a file the commit then runs on
    // a thread of its own (a large file's commit of a stretch takes a tenth
    // of a second), and nothing told may use the connection.
    void whileWaiting(std::function<void()> alive) { waiting_ = std::move(alive); }
    // What a run with nothing new to tell meanwhile waits with: the window
    // takes its events every few hundredths of a second.
    static void letEventsIn();
    // The run's sets lock cards terminals book on (see Limits::cards).
    void holdsCards() { serverCards_ = !onFile_; }
    // Another writer is at work beside the run (its rows were seen come in):
    // on a server sized as when one waited, before it has to; a file's
    // writers come in in the gaps, its sets stay as they were.
    void othersWrite();
    // Someone waited, or wrote beside the run: a run may cut long work short.
    bool contended() const { return contended_ || othersAbout_; }
    // Tells `told` in its place among the items' outcomes: when the open
    // batch ends, committed or not, or at once when none is open (an item
    // that failed on its own is told so in the order of the others).
    void note(const Kept& told);
    // Between two items: commits when the batch is full or old (on a file
    // with gaps at the end of its stretch, its commit counted as the last one
    // took; on a server, for a run holding cards, past `cards`), when
    // another session waits for the lock it holds, or, when the run is about
    // to tell its progress, when the window is due to let events through (a
    // window never does so while the batch holds the lock) or the run's next
    // telling is. True when no batch is open afterwards, so the progress may
    // be told.
    bool pause(bool telling);
    // A run that tells its progress between its batches may say when it
    // did: from then on its next telling is due `kTellEvery` after it, and
    // already with less than a quarter of that left (a set in it would be a
    // few items at a set's whole cost). What is left of that time, for its
    // sets; without a telling said, no end.
    void told() { told_ = std::chrono::steady_clock::now(); }
    std::chrono::steady_clock::duration untilTelling() const;
    static constexpr std::chrono::milliseconds kTellEvery{70};
    // Commits the open batch, if any, and tells its items kept; a failed
    // commit undoes them all, tells each lost and returns false, or passes
    // the error on when the connection itself was lost.
    bool commit();
    // The same for a batch a till may wait behind: on the server a session
    // seen waiting for its rows gets them before the run goes on, else the
    // run's next transaction could take the same card's row first.
    bool commitGivingWay();
    // Runs `items` and then commits the batch they leave open, also when they
    // throw (what they throw passes on): the items done stay written, as each
    // one's own commit would have left them.
    void committing(const std::function<void()>& items);
    bool open() const { return outer_ != nullptr; }

private:
    struct Pending {
        Kept kept;
        Lost lost;
    };
    std::chrono::milliseconds heldTime() const {
        return serverCards_ ? std::min(limits_.time, limits_.cards) : limits_.time;
    }
    bool leavesGaps() const { return onFile_ && limits_.quiet.count() > 0; }
    void commitOuter();
    std::chrono::steady_clock::duration stretchLength(bool first) const;
    void lose(const std::string& why);
    void ended(std::chrono::steady_clock::time_point committing);  // the open batch let the lock go
    void seeOthers(bool seen);
    // On a file: the gap left first where the stretch is over.
    bool stretchOver() const;
    void leaveGap();
    void lookFirst();
    bool shortHolds() const;
    void run(const Writes& writes, bool savepoint, Kept kept, Lost lost, std::int64_t count = 1);

    db::Connection& con_;
    static constexpr std::chrono::milliseconds kSharedFile{1}, kSharedServer{8};
    bool onFile_;
    Limits limits_;
    bool contended_;
    bool sharing_ = false;  // the connection told its writes are shared
    bool serverCards_ = false;  // holds cards, on a server: only there it matters
    bool othersAbout_ = false;  // on a file, another writer's rows were seen
    bool flushesEach_ = false;  // a file with a rollback journal: every commit flushed
    std::function<void()> waiting_;
    std::chrono::steady_clock::time_point othersSeen_;
    std::unique_ptr<db::Transaction> outer_;
    std::chrono::steady_clock::time_point begun_;
    std::vector<Pending> pending_;
    std::int64_t held_ = 0;  // the places the open batch's items take
    std::chrono::steady_clock::duration heldSinceGap_{};  // the lock held since the last gap
    std::chrono::steady_clock::duration lastCommit_{};    // what the last commit took
    bool gapLeft_ = false;                                 // the first stretch is over
    std::optional<std::chrono::steady_clock::time_point> told_;  // the run's last telling said
    std::chrono::steady_clock::time_point lastEnd_;       // the last batch's end
    Tills_Seen tills_;                                     // on a file with gaps
    std::optional<std::chrono::steady_clock::time_point> firstHeld_;  // the series' first lock
    std::chrono::steady_clock::time_point fullGap_{};                  // the last gap not cut short
};

// Write transactions of a batch each, many in a row, for as long as it
// lives: the engine may put off its housekeeping until the run ends.
class Bulk_Writes {
public:
    explicit Bulk_Writes(db::Connection& con);
    ~Bulk_Writes();
    Bulk_Writes(const Bulk_Writes&) = delete;
    Bulk_Writes& operator=(const Bulk_Writes&) = delete;

private:
    db::Connection& con_;
};

// Runs `body` (a run's batches); a lost connection ends it there: the
// committed batches stand, the open one went back with the session. Its
// reason then; nothing when the body ended otherwise. Other errors pass.
std::optional<std::string> Until_Connection_Lost(const std::function<void()>& body);

}  // namespace tolvenk
