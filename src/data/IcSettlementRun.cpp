#include "data/IcSettlementRun.h"

#include "data/IcSettlement.h"
#include "data/SettlementStore.h"
#include "data/WriteBatch.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Recordset.h"
#include "platform/ErrorText.h"

namespace tolvenk::IC_Settlement {

namespace {

constexpr const char* kNoBackupStart = "2000-01-01 00:00:00";

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

// Write transactions of a batch of cards each, many in a row: the engine may
// put off its housekeeping until the run ends.
class Bulk_Writes {
public:
    explicit Bulk_Writes(db::Connection& con) : con_(con) { con_.setBulkWrites(true); }
    ~Bulk_Writes() {
        try {
            if (con_.isOpen()) con_.setBulkWrites(false);
        } catch (...) {
        }
    }
    Bulk_Writes(const Bulk_Writes&) = delete;
    Bulk_Writes& operator=(const Bulk_Writes&) = delete;

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
              const std::string& backup, Write_Batch::Kept kept = {}) {
    inCard(person, card, [&] {
        batch.wholeItem([&](db::Connection& con) { Settle_Card(con, person, card, cutoff, backup); },
                        std::move(kept));
    });
}

// The pass over the card list; false when the progress stopped it. The
// progress is told where no batch holds the lock. `gone` counts the listed
// cards gone through whose writes are committed.
bool settleListed(db::Recordset& cards, db::Connection& con, const std::string& cutoff, const std::string& backup,
                  const Run_Progress& progress, std::int64_t& gone) {
    const Bulk_Writes bulk(con);
    Write_Batch batch(con);
    Run_Step step;
    step.total = cards.recordCount();
    std::int64_t blockEnd = -1;
    Block block;
    const int colCard = cards.fieldIndex("Card_No"), colPerson = cards.fieldIndex("Pinfo_ID");
    // A batch that could not commit leaves its cards to the pass after this one.
    bool stopped = false;
    std::int64_t pendingFrom = -1;  // the first card of writes not yet committed
    batch.committing([&] {
        for (; !cards.eof(); cards.moveNext(), ++step.done) {
            step.card = cards.field(colCard).toString();
            step.person = static_cast<std::int32_t>(cards.field(colPerson).toInt64());
            const bool between = batch.pause(static_cast<bool>(progress));
            gone = pendingFrom >= 0 ? pendingFrom : step.done;
            if (between && progress && !progress(step)) {
                stopped = true;
                return;
            }
            // Blocks of a hundred employees spare a write to the cards with nothing to settle.
            inCard(step.person, step.card, [&] {
                if (step.person > blockEnd) {
                    blockEnd = std::int64_t{step.person} + 100;
                    block = Block(con, cutoff, step.person);
                }
            });
            if (block.has(step.card, step.person)) {
                if (!batch.open() && pendingFrom < 0) pendingFrom = step.done;
                settleIn(batch, step.person, step.card, cutoff, backup, [&pendingFrom] { pendingFrom = -1; });
            }
        }
        if (batch.commit() && pendingFrom < 0) gone = step.done;
    });
    if (stopped) return false;
    step.card.clear();
    step.person = 0;
    if (progress) progress(step);
    return true;
}

// The cut-off is recorded only when no card holds rows before it that a run
// would still collapse: cards the pass did not reach, rows a terminal
// uploaded after a card's turn. Those are settled once more; any still left
// keep the cut-off where it was.
void run(db::Connection& own, db::Connection& con, const std::string& cutoff, const std::string& backupStart,
         const Run_Progress& progress, Run_Result& result) {
    auto cards = Settlement_Store::Card_List(own);
    if (cards->eof()) return;
    result.total = cards->recordCount();
    Settlement_Store::Mark_Running(own, cutoff);
    if (!backupStart.empty()) Settlement_Store::Prune_Backups(own, backupStart);
    const std::string backup = backupStart.empty() ? kNoBackupStart : backupStart;

    if (!settleListed(*cards, con, cutoff, backup, progress, result.done)) {
        result.state = Run_Result::Stopped;
        return;
    }
    {
        Write_Batch batch(con);
        // A batch that could not commit leaves its cards to the check below.
        batch.committing([&] {
            for (const auto& [person, card] : Unsettled_Cards(con, cutoff)) {
                settleIn(batch, person, card, cutoff, backup);
                batch.pause(false);
            }
        });
    }
    result.left = Unsettled_Cards(con, cutoff);
    if (!result.left.empty()) {
        result.state = Run_Result::Left;
        return;
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
