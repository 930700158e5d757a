#pragma once
// The IC and ID balance queries: each chosen employee's balance at the end of
// a day, handed on row by row as it is read, with their sum.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "data/BTService.h"
#include "data/XFService.h"
#include "platform/MoneyText.h"

namespace tolvenk::Balance_Query {

// The employees chosen in the department picker.
struct Who {
    std::string deptNo, name, code;
};

struct Row {
    std::string name, code, dept;
    bool found = false;    // a record up to the day (ID: always, the sum row)
    std::string date;      // its Date_Time (IC), the latest counted one (ID)
    bool counted = false;  // a balance to show: found (IC), a row counted (ID)
    Exact_Sum balance;     // fen, exactly; inexact for a stored value that is no whole fen
    std::string times;     // count balance (IC)
};

// Each employee's row as it is read, with how many are done of how many;
// false stops the query.
using Row_Sink = std::function<bool(const Row& row, std::int64_t done, std::int64_t total)>;

struct Result {
    bool stopped = false;
    Exact_Sum total;            // fen, the balances counted
    int failedCorrections = 0;  // correction rows that could not be written
    std::string firstError;     // the first one's reason
    // The connection was lost with `listed` of `employees` handed on (and
    // their cards mended); the engine's reason in `lost`.
    bool connectionLost = false;
    std::int64_t listed = 0, employees = 0;
    std::string lost;
};

// The date up to which the IC correction looks: the New_Date of the first
// terminal; empty without one.
std::string Correction_Cutoff(BTService& BT);

// IC: the balance after each employee's last valid card record up to the end
// of `day` ("yyyy-MM-dd"). With a correction cut-off, each card he was issued
// has the breaks of its money chain mended first.
Result IC_Balances(XFService& XF, BTService& BT, const Who& who, const std::string& day,
                   const std::optional<std::string>& correctionCutoff, const Row_Sink& sink);

// ID: the sum of each employee's valid money changes up to the end of `day`.
Result ID_Balances(XFService& XF, BTService& BT, const Who& who, const std::string& day, const Row_Sink& sink);

}  // namespace tolvenk::Balance_Query
