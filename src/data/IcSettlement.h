#pragma once
// The IC settlement of one card: per kind of serial, the rows before the
// cut-off collapse into one settlement row (kind 250), the older rows going to
// the backup table. Terminals keep writing while a run goes on, some of them
// uploading rows dated before the cut-off late, so what a card holds is read
// again under the write lock that its collapse is written under.
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "data/SettlementStore.h"

namespace tolvenk {

namespace db {
class Connection;
class Recordset;
}  // namespace db

namespace IC_Settlement {

// The cards of a block of employees (first..first+100) that held rows of
// either kind before the cut-off when the block was read. Read without the
// lock: it only spares a write transaction to the cards with nothing to settle.
class Block {
public:
    Block() = default;
    Block(db::Connection& con, const std::string& cutoff, std::int32_t first);
    bool has(const std::string& card, std::int32_t person) const;

private:
    // Card numbers compare as the database compares them: ASCII case ignored.
    using Card_Key = std::pair<std::string, std::int64_t>;
    static Card_Key key(const std::string& card, std::int64_t person);
    void read(db::Recordset& rows);
    std::set<Card_Key> cards_;
};

// What the walk of one card and kind found: its rows from serial
// `collapse.serial` down to serial 2 are `count` counted rows.
struct Walk_Result {
    Settlement_Store::Collapse collapse;
    int count = 0;
};
// Walks the card's rows as the walk statement gives them, highest serial
// first: uncertain rows above the last valid one are passed over, a row dated
// on or after the cut-off starts the count again below it, serial 1 ends it.
Walk_Result Walk_Card(db::Recordset& rows, Settlement_Store::Serial kind, const std::string& cutoff);

// Settles both kinds of one card in one write transaction on `con`: for each,
// the highest serial before the cut-off as the card holds it now, the walk
// down from it and the collapse; a failure leaves the card whole.
void Settle_Card(db::Connection& con, std::int32_t person, const std::string& card, const std::string& cutoff,
                 const std::string& backupStart);

// The cards whose rows before the cut-off a run would still collapse (a card
// that no pass reached, rows a terminal uploaded after the card's turn):
// Pinfo_ID and Card_No of each, read without the lock.
std::vector<std::pair<std::int32_t, std::string>> Unsettled_Cards(db::Connection& con, const std::string& cutoff);

}  // namespace IC_Settlement

}  // namespace tolvenk
