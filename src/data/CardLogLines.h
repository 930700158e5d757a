#pragma once
// The lines of the card-management log: its rows sorted to the chosen
// employees, in their order and each one's in time order, with the amounts
// each operation shows. Only the window turns them into text.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "data/DataList.h"
#include "platform/MoneyText.h"

namespace tolvenk {

namespace db {
class Recordset;
}

namespace Card_Log_Lines {

// An amount in fen, exactly (inexact for a stored value that is no whole
// number); `null` when the one amount it shows is NULL (the sign alone).
struct Amount {
    Exact_Sum fen;
    bool null = false;
};

struct Line {
    int emp = 0;  // the employee's row in the list given
    std::int64_t kind = 0;  // C_LeiBie; 0 when NULL
    std::string cardNo, cardNumber, date;
    std::int64_t op = -1;   // Op_Type; -1 when NULL
    std::int64_t operatorId = 0;
    // What the operation shows; nothing where its cell stays empty.
    std::optional<std::string> newCard, times;
    std::optional<Amount> money, fee, total;
};

// Each line with how many are done of how many rows the log holds; false stops.
using Line_Sink = std::function<bool(const Line& line, std::int64_t done, std::int64_t total)>;

// The log rows of `log` for the employees of `emps` (Get_Emp_Check_All rows);
// false when the sink stopped them. Rows of no employee in the list are left.
bool Lines(db::Recordset& log, const DataList& emps, const Line_Sink& sink);

}  // namespace Card_Log_Lines

}  // namespace tolvenk
