#pragma once
// The IC settlement of one card: per kind of serial, the rows before the
// cut-off collapse into one settlement row (kind 250), the older rows going to
// the backup table. Terminals keep writing while a run goes on, some of them
// uploading rows dated before the cut-off late, so what a card holds is read
// again under the write lock that its collapse is written under.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "data/SettlementStore.h"
#include "platform/db/Value.h"

namespace tolvenk {

namespace db {
class Connection;
class Recordset;
}  // namespace db

namespace IC_Settlement {

// What the walk of one card and kind found: its rows from serial
// `collapse.serial` down to serial 2 are `count` counted rows.
struct Walk_Result {
    Settlement_Store::Collapse collapse;
    int count = 0;
    // The row at `collapse.serial` had a date: below it every row counted.
    // Without one, uncertain rows below it were passed over.
    bool dated = false;
};
// Walks the card's rows as the walk statement gives them, highest serial
// first: uncertain rows above the last valid one are passed over, a row dated
// on or after the cut-off starts the count again below it, serial 1 ends it.
Walk_Result Walk_Card(db::Recordset& rows, Settlement_Store::Serial kind, const std::string& cutoff);
// A row of a card's walk: its ID and serial of the kind walked, and its
// change, balance, Date_Time, XF_Type and Err_Code as stored.
struct Walk_Row {
    std::int64_t id = 0;
    std::int64_t serial = 0;
    db::Value change, balance, date, type, err;
};
// The same walk over rows in the walk statement's order.
Walk_Result Walk_Card(const std::vector<Walk_Row>& rows, const std::string& cutoff);

// The writes of collapses: the IDs ("1,2,3") copied to the backup and kept,
// copied and deleted, deleted, and the rows settled at each collapse's
// serial (money, times).
struct Collapse_Writes {
    std::string copy, moved, gone;
    std::vector<Settlement_Store::Settled_Row> settled[2];
};
// Adds the writes of one card's collapse of `kind` (0 money, 1 times) as the
// walk `r` of its rows `rows` found it.
void collapseWrites(const std::vector<Walk_Row>& rows, const Walk_Result& r, int kind, const std::string& cutoff,
                    const std::string& backupStart, Collapse_Writes& out);
// Writes them in the transaction the caller holds, `between` told after
// each piece of its statements.
void Write_Collapses(db::Connection& con, const Collapse_Writes& w, const std::function<void()>& between = {});

// Settles both kinds of one card in one write transaction on `con`: for each,
// the highest serial before the cut-off as the card holds it now, the walk
// down from it and the collapse; a failure leaves the card whole.
void Settle_Card(db::Connection& con, std::int32_t person, const std::string& card, const std::string& cutoff,
                 const std::string& backupStart);

// A card of the card list: Pinfo_ID and Card_No.
struct Listed_Card {
    std::int32_t person = 0;
    std::string card;
};
// A card as the database compares card numbers: ASCII case ignored.
using Card_Key = std::pair<std::int64_t, std::string>;
Card_Key keyOf(std::int64_t person, const std::string& card);
// What the rows dated on or after the cut-off (or not at all) held as a run
// began, read in one pass: each card's lowest serial above 1 of each kind
// among them, and the highest row then. A card's walk takes such rows only
// below its top serial, so only the cards whose lowest is at most their top
// need those rows read, besides any row written since.
struct Late_Serials {
    // Read after every writer that holds a card (terminals) has ended: no
    // row written later gets an ID at or below `since`.
    // `alive` is told now and then through the read.
    static Late_Serials read(db::Connection& con, const std::string& cutoff, const std::function<void()>& alive = {});
    bool known = false;  // else every card's later rows are read
    std::int64_t since = 0;
    // By employee and card number in lower case: money, times; 0 for none.
    std::map<std::pair<std::int64_t, std::string>, std::pair<std::int64_t, std::int64_t>> lowest;
};
// The rows of a set of cards their walks go through, read before the set's
// writes take the lock (half a set's time went on reading, and terminals
// waited for it): the writes then read only the rows written since.
struct Set_Rows;
std::shared_ptr<Set_Rows> Read_Set(db::Connection& con, const std::vector<Listed_Card>& cards,
                                   const std::string& cutoff, const Late_Serials& late);
// The highest transaction ID as the set was read.
std::int64_t Read_Top(const Set_Rows& read);
// Settles several cards in one write transaction on `con` (a savepoint of a
// batch), with a statement for each kind of read and write, as Settle_Card
// settles each of them: their rows read once (under the lock, or by
// Read_Set before it, given as `read`, which is used up), each card and kind
// walked, the rows to copy, delete and settle written together. A failure
// passes; the caller undoes all of them. With `mostRows`, a card and kind
// whose walk counts more rows collapses only its lowest ones, about that
// many, and the card goes to `more`: the rest wait for a later turn (a heavy
// card's rows lie on hundreds of pages, and a terminal waits for them all).
void Settle_Cards(db::Connection& con, const std::vector<Listed_Card>& cards, const std::string& cutoff,
                  const std::string& backupStart, const Late_Serials& late = {}, Set_Rows* read = nullptr,
                  std::int64_t mostRows = 0, std::vector<Listed_Card>* more = nullptr);
// Those of `cards` whose walk would still find more than one row to
// collapse, as Settle_Cards would settle them; read without the lock.
std::vector<Listed_Card> Unsettled_Of(db::Connection& con, const std::vector<Listed_Card>& cards,
                                      const std::string& cutoff, const Late_Serials& late = {});

// Of the cards a pass went through after `late` was read, those whose rows
// before the cut-off a run would still collapse (rows a terminal uploaded
// after the card's turn, and any of `missed`, cards whose writes were not
// committed): Pinfo_ID and Card_No of each, read without the lock.
// `goOn` is asked between reads, with the next card read; nothing once it
// said stop.
std::optional<std::vector<std::pair<std::int32_t, std::string>>> Unsettled_Cards(
    db::Connection& con, const std::string& cutoff, const Late_Serials& late, const std::vector<Listed_Card>& missed,
    const std::function<bool(const Listed_Card& next)>& goOn = {});

}  // namespace IC_Settlement

}  // namespace tolvenk
