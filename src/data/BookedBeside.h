#pragma once
// On the server a terminal waits only for the rows of its own card, and only
// while a run's set holds them. A run learns the cards booked beside it from
// the rows written since it began, and writes the items of those cards in
// sets of their own between two commits: their terminals wait for that
// alone, and the other sets stay as long as alone (sets shortened for every
// card once anyone wrote cost a run most of its time again beside a lunch's
// tills). On a file a terminal waits for the whole file: nothing is learnt
// and the sets go as they are.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tolvenk {

namespace db {
class Connection;
}
class Write_Batch;

class Booked_Beside {
public:
    // Rows above `since` were written beside the run.
    Booked_Beside(const db::Connection& con, std::int64_t since);
    // From the highest row now.
    explicit Booked_Beside(db::Connection& con);
    // The rows written since the last look, by the key's range: before each set.
    void learn(db::Connection& con);
    bool card(std::int64_t person, const std::string& cardNo) const;
    bool person(std::int64_t person) const { return people_.count(person) > 0; }

private:
    bool on_;
    std::int64_t since_;   // rows up to it were there before the run
    std::int64_t seenTo_;
    std::set<std::pair<std::int64_t, std::string>> cards_;  // numbers in lower case: a till's case may differ
    std::set<std::int64_t> people_;
};

// Writes the items [from, to) in their order as `write` writes a run of
// them, each one `booked` names in a run of its own between two commits of
// the batch.
void Write_Apart(Write_Batch& batch, std::size_t from, std::size_t to, const std::function<bool(std::size_t)>& booked,
                 const std::function<void(std::size_t, std::size_t)>& write);

// The same for a set of items.
template <class Item, class Booked, class Write>
void Write_Apart(Write_Batch& batch, const std::vector<Item>& set, Booked booked, Write write) {
    Write_Apart(
        batch, 0, set.size(), [&](std::size_t i) { return booked(set[i]); },
        [&](std::size_t a, std::size_t b) {
            write(std::vector<Item>(set.begin() + static_cast<std::ptrdiff_t>(a),
                                    set.begin() + static_cast<std::ptrdiff_t>(b)));
        });
}

}  // namespace tolvenk
