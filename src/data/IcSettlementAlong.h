#pragma once
// The IC settlement of many cards on a file database, along the time of
// their rows. A card's rows lie all over the file, and a set of cards'
// writes touch a third of its pages at every commit; the rows of a few days
// lie together. So the rows of a group of cards are read once, and their
// collapses written slice by slice of the days: each slice settles every
// card of the group as a settlement to the slice's last day would, the last
// slice to the cut-off. A settlement to a later day goes on from one to an
// earlier day as it would from the rows themselves, so whatever slice a run
// ends after, each card stands settled to a day and the next run ends it.
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "data/IcSettlement.h"

namespace tolvenk {

namespace db {
class Connection;
}

namespace IC_Settlement {

struct Along_Result {
    // The cards settled to the cut-off by the slices: nothing is left of
    // them for a set of cards to settle. The others (a card written to in a
    // way its walk sees, a row holding both serials, a date longer than a
    // date) are left to the sets, settled to some day or not at all.
    std::set<Card_Key> settled;
    bool stopped = false;
};

// Settles `cards` along the time of their rows on `con`, a file. The share
// of the group's rows written so far is told between the slices, where no
// batch holds the lock, and now and then through its reads and writes so
// that the window takes its events; false stops at the next slice (a slice
// is never cut short). Rows written beside the run are
// looked for under the lock before each slice's writes. A lost connection
// passes; any other failure leaves the group's cards to the sets.
Along_Result Settle_Along(db::Connection& con, const std::vector<Listed_Card>& cards, const std::string& cutoff,
                          const std::string& backupStart, const Late_Serials& late,
                          const std::function<bool(double done)>& progress);

// How a run goes along the time: from how many rows before the cut-off
// (fewer are settled card by card as quickly), how many it holds at once
// (some 70 bytes each), and how many rows its first slice takes (the next
// are sized by the time the last one took). Tests make them small.
struct Along_Limits {
    std::int64_t fromRows = 50'000;
    std::int64_t groupRows = 2'500'000;
    std::int64_t firstSlice = 2'000;
    static Along_Limits& standard();
};

// The cards of the card list in groups whose rows a run holds at once;
// none where the rows are few.
std::vector<std::vector<Listed_Card>> Along_Groups(db::Connection& con, std::vector<Listed_Card> cards,
                                                   const std::string& cutoff, const std::function<void()>& alive = {});

}  // namespace IC_Settlement

}  // namespace tolvenk
