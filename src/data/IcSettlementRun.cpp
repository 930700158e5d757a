#include "data/IcSettlementRun.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <set>

#include "data/BookedBeside.h"
#include "data/IcSettlement.h"
#include "data/IcSettlementAlong.h"
#include "data/SettlementStore.h"
#include "data/SetSize.h"
#include "data/ThrottledTelling.h"
#include "data/WriteBatch.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Recordset.h"
#include "platform/ErrorText.h"

namespace tolvenk::IC_Settlement {

Short_Turns& Short_Turns::standard() {
    static Short_Turns turns;
    return turns;
}

std::int64_t Short_Turns::of(const db::Connection& con) const { return con.onServer() ? server : file; }

namespace {

constexpr const char* kNoBackupStart = "2000-01-01 00:00:00";
// A card's rows lie all over the table, and so do the pages its writes
// touch: the first set is one card, until a set was timed.
constexpr std::int64_t kFirstSet = 1;

// The run's lock, let go however the run ends; a connection lost meanwhile
// took it with its session.
class Held_Lock {
public:
    explicit Held_Lock(db::Connection& con) : con_(con) {}
    ~Held_Lock() {
        try {
            if (con_.isOpen()) con_.releaseLock(kRunLock);
        } catch (...) {
        }
    }
    Held_Lock(const Held_Lock&) = delete;
    Held_Lock& operator=(const Held_Lock&) = delete;

private:
    db::Connection& con_;
};

// Runs one card's turn, naming the card in whatever it throws (told as a
// clerk reads it); a lost connection is no fault of the card and passes as it is.
template <class F>
void inCard(std::int32_t person, const std::string& card, F&& turn) {
    try {
        turn();
    } catch (const std::exception& e) {
        if (db::connectionLost(e)) throw;
        throw Card_Failure(platform::errorText(e), person, card);
    }
}

// Settles a card in a savepoint of the batch, naming the card in whatever it
// throws; `kept` is told once the batch is committed.
void settleIn(Write_Batch& batch, std::int32_t person, const std::string& card, const std::string& cutoff,
              const std::string& backup, std::vector<Listed_Card>& missed, Write_Batch::Kept kept = {}) {
    inCard(person, card, [&] {
        batch.wholeItem([&](db::Connection& con) { Settle_Card(con, person, card, cutoff, backup); },
                        std::move(kept), [&missed, person, card](const std::string&) {
                            missed.push_back({person, card});
                        });
    });
}

// A card whose turn collapsed only its lowest rows, and its place in the list.
struct Carried {
    Listed_Card card;
    std::int64_t at = 0;
};

bool sameCard(const Listed_Card& a, const Listed_Card& b) { return a.person == b.person && a.card == b.card; }

// A set begins with the cards that have rows left, as many as it takes.
void takeCarried(std::vector<Carried>& carry, std::vector<Carried>& set, std::int64_t most) {
    const auto n = std::min<std::size_t>(carry.size(), static_cast<std::size_t>(std::max<std::int64_t>(0, most)));
    set.insert(set.end(), carry.begin(), carry.begin() + static_cast<std::ptrdiff_t>(n));
    carry.erase(carry.begin(), carry.begin() + static_cast<std::ptrdiff_t>(n));
}

// Settles a set of cards with one statement per kind of read and write in a
// savepoint of the batch; when the set fails, each card on its own, so that
// the one at fault is named and the cards before it kept. `kept` is told once
// the batch is committed; cards whose writes the batch lost go to `missed`.
// `top`: the highest transaction ID the sets before were read at; rows come
// in beside the run only from others (it deletes and updates), and on the
// server a terminal waits only when its own card is in the set. Cards with
// rows left after a short turn go to `carry`, for a turn of their own again;
// `booked`: a card booked beside the run, whose turn is short.
void settleSet(db::Connection& con, Write_Batch& batch, const std::vector<Carried>& set, const std::string& cutoff,
               const std::string& backup, const Late_Serials& late, std::vector<Listed_Card>& missed,
               std::int64_t& top, std::vector<Carried>& carry, std::int64_t& fellBack, bool booked,
               const Write_Batch::Kept& kept) {
    std::vector<Listed_Card> cards;
    for (const Carried& c : set) cards.push_back(c.card);
    try {
        // Read while no batch holds the lock.
        const auto read = batch.open() ? nullptr : Read_Set(con, cards, cutoff, late);
        if (read) {
            if (!con.onServer() && top > 0 && Read_Top(*read) > top) batch.othersWrite();
            top = std::max(top, Read_Top(*read));
            // No transaction is open: the window may take its events (and
            // another window its statements) between the read and the writes.
            Write_Batch::letEventsIn();
        }
        std::vector<Listed_Card> more;
        batch.items(
            static_cast<std::int64_t>(cards.size()),
            [&](db::Connection& c) {
                more.clear();
                const std::int64_t most = batch.contended() || booked ? Short_Turns::standard().of(c) : 0;
                Settle_Cards(c, cards, cutoff, backup, late, read.get(), most, &more);
            },
            kept,
            // A card whose writes were lost is left to the check after the pass.
            [&missed, &carry, cards](const std::string&) {
                missed.insert(missed.end(), cards.begin(), cards.end());
                std::erase_if(carry, [&cards](const Carried& c) {
                    return std::any_of(cards.begin(), cards.end(),
                                       [&c](const Listed_Card& l) { return sameCard(l, c.card); });
                });
            });
        for (const Listed_Card& m : more)
            for (const Carried& c : set)
                if (sameCard(c.card, m)) carry.push_back(c);
    } catch (const std::exception& e) {
        if (db::connectionLost(e)) throw;
        ++fellBack;
        for (const Listed_Card& c : cards) settleIn(batch, c.person, c.card, cutoff, backup, missed, kept);
    }
}

// A set as settleSet settles it, the cards booked beside the run each in a
// set of its own; `writing` is told each part before it is written (a part
// may open a batch after the one before it was committed).
void settleSplit(db::Connection& con, Write_Batch& batch, const std::vector<Carried>& set, const std::string& cutoff,
                 const std::string& backup, const Late_Serials& late, std::vector<Listed_Card>& missed,
                 std::int64_t& top, std::vector<Carried>& carry, std::int64_t& fellBack, Booked_Beside& beside,
                 const Write_Batch::Kept& kept = {},
                 const std::function<void(const std::vector<Carried>&)>& writing = {}) {
    beside.learn(con);
    const auto booked = [&beside](const Carried& c) { return beside.card(c.card.person, c.card.card); };
    Write_Apart(batch, set, booked, [&](const std::vector<Carried>& part) {
        if (writing) writing(part);
        settleSet(con, batch, part, cutoff, backup, late, missed, top, carry, fellBack, booked(part.front()), kept);
    });
}

// Tells the progress between two batches, the next telling due from here;
// false when it stopped the run.
bool tellBetween(Write_Batch& batch, const Run_Progress& progress, const Run_Step& step) {
    if (!progress(step)) return false;
    batch.told();
    return true;
}

// The pass over the card list; false when the progress stopped it. The
// progress is told where no batch holds the lock. `gone` counts the listed
// cards gone through whose writes are committed.
bool settleListed(db::Recordset& cards, db::Connection& con, const std::string& cutoff, const std::string& backup,
                  const Late_Serials& late, std::vector<Listed_Card>& missed, const Run_Progress& progress,
                  std::int64_t& gone, std::int64_t& fellBack, const std::set<Card_Key>& settled) {
    const Bulk_Writes bulk(con);
    std::vector<Carried> carry;  // before the batch: its lost writes take cards off
    Write_Batch batch(con);
    Set_Size size(batch, kFirstSet);
    batch.whileWaiting(Write_Batch::letEventsIn);
    // Rows written since the run began reading are someone else's: the first
    // set may be a heavy card already.
    std::int64_t top = late.since;
    Booked_Beside beside(con, late.since);
    const bool telling = static_cast<bool>(progress);
    Run_Step step;
    step.total = cards.recordCount();
    const int colCard = cards.fieldIndex("Card_No"), colPerson = cards.fieldIndex("Pinfo_ID");
    // A batch that could not commit leaves its cards to the pass after this one.
    bool stopped = false;
    std::int64_t pendingFrom = -1;  // the first card of writes not yet committed
    batch.committing([&] {
        while (!cards.eof() || !carry.empty()) {
            if (carry.empty()) {
                step.card = cards.field(colCard).toString();
                step.person = static_cast<std::int32_t>(cards.field(colPerson).toInt64());
            } else {
                step.card = carry.front().card.card;
                step.person = carry.front().card.person;
            }
            const bool between = batch.pause(telling);
            // A card with rows left is not gone through yet.
            gone = pendingFrom >= 0 ? pendingFrom : step.done;
            for (const Carried& c : carry) gone = std::min(gone, c.at);
            if (between && progress && !tellBetween(batch, progress, step)) {
                stopped = true;
                return;
            }
            // The cards with rows left first, then the next ones up to the set's size.
            std::vector<Carried> set;
            const std::int64_t most = size.next(telling);
            takeCarried(carry, set, most);
            for (; !cards.eof() && static_cast<std::int64_t>(set.size()) < most; cards.moveNext(), ++step.done) {
                const Listed_Card c{static_cast<std::int32_t>(cards.field(colPerson).toInt64()),
                                    cards.field(colCard).toString()};
                if (!settled.count(keyOf(c.person, c.card))) set.push_back({c, step.done});
            }
            if (set.empty()) continue;  // settled along the time of their rows
            // A card back for its rest may join a batch a later card opened.
            const auto writing = [&pendingFrom](const std::vector<Carried>& part) {
                for (const Carried& c : part) pendingFrom = pendingFrom < 0 ? c.at : std::min(pendingFrom, c.at);
            };
            size.write(set.size(), [&] {
                settleSplit(
                    con, batch, set, cutoff, backup, late, missed, top, carry, fellBack, beside,
                    [&pendingFrom] { pendingFrom = -1; }, writing);
            });
        }
        if (batch.commit() && pendingFrom < 0) gone = step.done;
    });
    if (stopped) return false;
    step.card.clear();
    step.person = 0;
    if (progress) progress(step);
    return true;
}

// Settles the cards a pass left, those cut short in turns until they are
// done; cards of a batch that could not commit go to `missed`. The progress
// is told each card as the first pass tells it, where no batch holds the
// lock; false when it stopped the pass.
bool settleLeft(db::Connection& con, const std::vector<std::pair<std::int32_t, std::string>>& left,
                const std::string& cutoff, const std::string& backup, const Late_Serials& late,
                std::vector<Listed_Card>& missed, std::int64_t& fellBack, const Run_Progress& progress,
                Run_Step step) {
    std::vector<Carried> carry;
    Write_Batch batch(con);
    Set_Size size(batch, kFirstSet);
    batch.whileWaiting(Write_Batch::letEventsIn);
    std::int64_t top = late.since;
    Booked_Beside beside(con, late.since);
    const bool telling = static_cast<bool>(progress);
    bool stopped = false;
    batch.committing([&] {
        for (std::size_t i = 0; i < left.size() || !carry.empty();) {
            const Listed_Card next = carry.empty() ? Listed_Card{left[i].first, left[i].second} : carry.front().card;
            step.person = next.person;
            step.card = next.card;
            if (batch.pause(telling) && progress && !tellBetween(batch, progress, step)) {
                stopped = true;
                return;
            }
            std::vector<Carried> set;
            const std::int64_t most = size.next(telling);
            takeCarried(carry, set, most);
            for (; i < left.size() && static_cast<std::int64_t>(set.size()) < most; ++i)
                set.push_back({{left[i].first, left[i].second}});
            size.write(set.size(),
                       [&] { settleSplit(con, batch, set, cutoff, backup, late, missed, top, carry, fellBack, beside); });
        }
    });
    return !stopped;
}

// The progress told now and then through the long reads and writes before
// the pass over the card list, so that the window takes
// its events: the first word readies the window, those after it show how
// far the run is. A stop asked for meanwhile is kept for the next point a
// run may stop at. Nothing is told before the run has worked for a
// fortieth of a second, its card lists' read counted: a small run tells
// each card only.
class Keep_Alive {
public:
    // `since`: when the run began its work.
    Keep_Alive(const Run_Progress& progress, Run_Step step, std::chrono::steady_clock::time_point since)
        : step_(std::move(step)),
          telling_(
              [this, &progress] {
                  const bool goOn = !progress || progress(step_);
                  if (step_.done == 0) step_.done = std::min<std::int64_t>(1, step_.total);
                  return goOn;
              },
              std::chrono::milliseconds(25), since) {}
    Keep_Alive(const Keep_Alive&) = delete;
    Keep_Alive& operator=(const Keep_Alive&) = delete;
    Run_Step& step() { return step_; }
    bool tell() { return telling_.now(); }
    void alive() { telling_.alive(); }
    bool stopped() const { return telling_.stopped(); }

private:
    Run_Step step_;
    Throttled_Telling telling_;
};

// On a file the listed cards are settled along the time of their rows
// first, group by group; the pass over the list then settles those the
// slices left. The progress tells the share of the rows written as a share
// of the cards; false when it stopped the run.
bool settleAlong(db::Connection& con, const std::vector<std::vector<Listed_Card>>& groups, const std::string& cutoff,
                 const std::string& backup, const Late_Serials& late, Keep_Alive& told, std::set<Card_Key>& settled) {
    const Bulk_Writes bulk(con);
    std::int64_t before = 0;
    for (const std::vector<Listed_Card>& group : groups) {
        Run_Step& step = told.step();
        step.person = group.front().person;
        step.card = group.front().card;
        const auto tell = [&](double done) {
            step.done = std::max<std::int64_t>(
                step.done, before + static_cast<std::int64_t>(done * static_cast<double>(group.size())));
            return told.tell();
        };
        const Along_Result a = Settle_Along(con, group, cutoff, backup, late, tell);
        if (a.stopped) return false;
        settled.insert(a.settled.begin(), a.settled.end());
        before += static_cast<std::int64_t>(group.size());
    }
    con.copyBackAll([&told] { told.alive(); });
    return true;
}

// The cut-off is recorded only when no card holds rows before it that a run
// would still collapse: cards the pass did not reach, rows a terminal
// uploaded after a card's turn. Those are settled once more; any still left
// keep the cut-off where it was.
void run(db::Connection& own, db::Connection& con, const std::string& cutoff, const std::string& backupStart,
         const Run_Progress& progress, Run_Result& result) {
    const auto begun = std::chrono::steady_clock::now();
    auto cards = Settlement_Store::Card_List(own);
    if (cards->eof()) return;
    result.total = cards->recordCount();
    Settlement_Store::Mark_Running(own, cutoff);
    if (!backupStart.empty()) Settlement_Store::Prune_Backups(own, backupStart);
    const std::string backup = backupStart.empty() ? kNoBackupStart : backupStart;

    // On a file with many rows the cards go along the time of their rows.
    // The window is told now and then from here on.
    std::vector<Listed_Card> listed;
    for (auto rs = Settlement_Store::Card_List(own); !rs->eof(); rs->moveNext())
        listed.push_back({static_cast<std::int32_t>(rs->field("Pinfo_ID").toInt64()), rs->field("Card_No").toString()});
    Run_Step first;
    first.total = result.total;
    first.person = listed.front().person;
    first.card = listed.front().card;
    Keep_Alive told(progress, first, begun);
    // The card lists may have taken their while already.
    told.alive();
    const std::function<void()> alive = [&told] { told.alive(); };
    std::vector<std::vector<Listed_Card>> groups;
    if (!con.onServer()) groups = Along_Groups(con, std::move(listed), cutoff, alive);
    const Late_Serials late = Late_Serials::read(con, cutoff, alive);
    std::set<Card_Key> settled;
    if (told.stopped() || !settleAlong(con, groups, cutoff, backup, late, told, settled)) {
        result.state = Run_Result::Stopped;
        return;
    }
    // Cards of a batch that could not commit: the check below takes them too.
    std::vector<Listed_Card> missed;
    const bool listedAll =
        settleListed(*cards, con, cutoff, backup, late, missed, progress, result.done, result.fellBack, settled);
    if (!listedAll) {
        result.state = Run_Result::Stopped;
        return;
    }
    // A batch that could not commit leaves its cards to the next pass, as
    // long as each pass leaves fewer cards than the one before: a batch lost
    // once (a slow machine's writes meeting a passing fault) is no reason to
    // keep the cut-off, one that fails every time is.
    // These passes tell their progress as the first one: the bar stays full,
    // the card shown, and the window may stop them.
    Run_Step step;
    step.done = step.total = result.total;
    const auto goOn = [&](const Listed_Card& next) {
        step.person = next.person;
        step.card = next.card;
        return !progress || progress(step);
    };
    std::size_t before = SIZE_MAX;
    for (;;) {
        auto left = Unsettled_Cards(con, cutoff, late, missed, goOn);
        if (!left) {
            result.state = Run_Result::Stopped;
            return;
        }
        if (left->empty()) break;
        if (left->size() >= before) {
            result.left = std::move(*left);
            result.state = Run_Result::Left;
            return;
        }
        before = left->size();
        if (!settleLeft(con, *left, cutoff, backup, late, missed, result.fellBack, progress, step)) {
            result.state = Run_Result::Stopped;
            return;
        }
    }
    Settlement_Store::Record_Cutoff(own, cutoff);
    result.state = Run_Result::Settled;
}

}  // namespace

Run_Result Run(db::Connection& own, db::Connection& con, const std::string& cutoff, const std::string& backupStart,
               const Run_Progress& progress) {
    Run_Result result;
    // Held by the session that writes the cards: a session that ends takes
    // the lock with it, and then the run can write nothing more either.
    if (!con.tryHoldLock(kRunLock)) {
        result.state = Run_Result::Busy;
        return result;
    }
    const Held_Lock held(con);
    // Cards of batches not committed wait for the next run, and so does the cut-off.
    if (const auto lost = Until_Connection_Lost([&] { run(own, con, cutoff, backupStart, progress, result); })) {
        result.state = Run_Result::Lost;
        result.left.clear();
        result.lost = *lost;
    }
    return result;
}

}  // namespace tolvenk::IC_Settlement
