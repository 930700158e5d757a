#pragma once
// A whole IC settlement run: the card list walked in order, each card settled
// on its own, the cards a terminal left behind settled once more, and the
// cut-off recorded only when no card still holds rows before it.
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tolvenk {

namespace db {
class Connection;
}

namespace IC_Settlement {

// Where a run is: `done` of `total` listed cards settled, `card`/`person` the
// next one (empty once the pass is over).
struct Run_Step {
    std::int64_t done = 0;
    std::int64_t total = 0;
    std::int32_t person = 0;
    std::string card;
};
// Told before each card (false stops the run there) and once after the last,
// when its answer is not asked.
using Run_Progress = std::function<bool(const Run_Step&)>;

struct Run_Result {
    enum State {
        Busy,      // another run, in this office or another, holds the settlement: nothing was touched
        No_Cards,  // the card list is empty: nothing was touched
        Stopped,   // the progress said stop: the cut-off stays
        Left,      // cards still hold rows before the cut-off: the cut-off stays
        Settled,   // every card settled, the cut-off recorded
        Lost       // the connection was lost: the cut-off stays, the run is left unfinished
    } state = No_Cards;
    // Pinfo_ID and Card_No of the cards left (state Left).
    std::vector<std::pair<std::int32_t, std::string>> left;
    // State Lost: the first `done` of `total` listed cards were gone through
    // (their batches committed), and the engine's reason.
    std::int64_t done = 0, total = 0;
    std::string lost;
    // Sets of cards that failed together and were settled again one card at
    // a time: each costs the run a turn per card.
    std::int64_t fellBack = 0;
};

// A failure inside one card's turn: that card, and why as a clerk reads it
// (a plain sentence, the engine's words below).
class Card_Failure : public std::runtime_error {
public:
    Card_Failure(const std::string& what, std::int32_t person, std::string card)
        : std::runtime_error(what), person(person), card(std::move(card)) {}
    std::int32_t person;
    std::string card;
};

// Once another writer works beside the run, a card's turn collapses at most
// about this many rows of each kind, the card coming back for the rest: a
// heavy card's rows lie on hundreds of pages, and a terminal waits for all of
// them to be written. On the server only the card's own terminal waits for
// its turn, while every turn more costs round trips and lets the terminals in
// again: there only a card far heavier than a quarter's use is cut. Tests
// make them small.
struct Short_Turns {
    std::int64_t file = 64, server = 2048;
    std::int64_t of(const db::Connection& con) const;
    static Short_Turns& standard();
};

// The lock a run holds on `con` from its start to its end, so that one
// settlement runs at a time; a process that dies lets it go.
inline constexpr const char* kRunLock = "settlement";

// Settles to `cutoff` ("yyyy-MM-dd hh:mm:ss"). `own` holds the card list and
// the settlement row; `con` takes each card's write transaction. With a
// `backupStart`, backup rows before it are dropped first and rows before it
// are not copied; empty keeps every backup. Errors pass to the caller, as
// Card_Failure when they happened in a card's turn; a lost connection ends
// the run in state Lost.
Run_Result Run(db::Connection& own, db::Connection& con, const std::string& cutoff, const std::string& backupStart,
               const Run_Progress& progress);

}  // namespace IC_Settlement

}  // namespace tolvenk
