#pragma once
// Month-end clearing of the ID-card subsidy: what an employee's month holds
// and the clearing of one employee, which writes all of its rows or none.
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "data/DataList.h"

namespace tolvenk {

namespace db {
class Connection;
}

// An employee's month as the clearing counts it, in fen and times.
struct QL_Figures {
    std::int64_t subsidyFen = 0;    // batch rows credited to the ID card
    std::int64_t subsidyTimes = 0;
    std::int64_t spentFen = 0;      // consumption rows without a card serial, as stored (spending is negative)
    std::int64_t spentTimes = 0;
    std::int64_t clearedFen = 0;    // earlier clearings, as their markers hold them (negative)
    std::int64_t clearedTimes = 0;
    bool cleared = false;           // the month has a clearing marker

    // What a clearing takes back: the subsidy less what was spent and what
    // was cleared before, never below 0.
    std::int64_t moneyToClear() const;
    std::int64_t timesToClear() const;
};

// The figures from an employee's transactions of the month (all columns of
// Record_XF, as XFService.Get_XF_Info4 gives them) and batch rows of the
// month (all columns of BuTie_OK, as XFService.is_All_bt gives them).
QL_Figures QL_Count(const DataList& transactions, const DataList& batchRows);
// One batch row of the month (B_Times, B_SF, B_JinE, B_Ci as stored) counted
// into `f` as QL_Count counts it.
void QL_Count_Batch_Row(QL_Figures& f, const std::string& times, const std::string& state, const std::string& jine,
                        const std::string& ci);

namespace Clearing_Store {

struct Request {
    std::int32_t pinfoId = 0;
    std::int32_t year = 0;
    std::int32_t month = 0;
    std::int32_t operatorId = 0;
    std::string markerTime;  // the computer's clock, for the marker row
};

enum class Outcome { Cleared, Already_Cleared, No_Card };

// Clears one employee's month on a connection of its own: the money and
// times rows (kinds 166 and 168), the marker and the card's balances, in one
// transaction under the write lock. The amounts are counted from the
// database inside it, so a month cleared meanwhile is found cleared and
// never cleared twice. A database error rolls everything back and passes to
// the caller.
Outcome Clear_Employee(const std::string& connectionString, const Request& request);
// The same on `con`; inside a transaction of it, a savepoint of that one.
Outcome Clear_Employee(db::Connection& con, const Request& request);
// The month's spending of every employee in the rows held as a run begins,
// read in one pass, and the highest row then: a set of employees adds only
// the rows written since, under its lock, instead of walking its employees'
// month again.
struct Month_Spent {
    // Read once every writer that holds a card (terminals, the module's own
    // writes) has ended: no row written later gets an ID at or below `since`.
    static Month_Spent read(db::Connection& con, std::int32_t year, std::int32_t month);
    bool known = false;  // else each set reads its employees' whole month
    std::int64_t since = 0;
    std::map<std::int64_t, std::pair<std::int64_t, std::int64_t>> spent;  // by employee: fen, times
};
// Several employees of one month at once on `con`, inside a transaction of
// it, with a statement for each kind of read and write: each one's outcome,
// in their order, as Clear_Employee would give it one after the other. A
// database error passes; the caller undoes all of them.
std::vector<Outcome> Clear_Employees(db::Connection& con, const std::vector<Request>& requests,
                                     const Month_Spent& before = {});

}  // namespace Clearing_Store

}  // namespace tolvenk
