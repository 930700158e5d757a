#pragma once
// The month-end clearing's two runs over a department's employees: the
// listing of what each one's month holds, and the clearing of those ticked.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/DataList.h"
#include "data/SubsidyClearingStore.h"

namespace tolvenk {

class XFService;

struct QL_Line {
    std::string pinfo, name;
    QL_Figures figures;
};

// Each employee's line as it is counted, with the employees done and their
// count; false stops the listing.
using QL_Sink = std::function<bool(const QL_Line& line, std::int64_t done, std::int64_t total)>;

// The month ("YYYY-MM") of each employee of the list (all columns of
// Ren_Per_Info), in its order.
void QL_List(XFService& xf, const DataList& employees, const std::string& yearMonth, const QL_Sink& each);

namespace Clearing_Store {

// A line of the listing as the clearing takes it.
struct Listed {
    std::int32_t pinfoId = 0;
    bool ticked = false;
    bool clearedWhenListed = false;
};

// Cleared now, without a usable card, failed on a database error (left as
// they were), cleared before (when listed or meanwhile); whether the progress
// stopped the run. A run whose connection was lost stops there: the
// employees of its open batch went back with it, and `lost` holds the
// engine's reason.
struct Counts {
    int ticked = 0;
    int cleared = 0;
    int noCard = 0;
    int failed = 0;
    int before = 0;
    bool stopped = false;
    bool connectionLost = false;
    std::string lost;
};

// Lines done and their count after each line; false stops the run.
using Progress = std::function<bool(std::int64_t done, std::int64_t total)>;

// Clears the ticked lines' employees with Clear_Employee, a few hundred to a
// transaction, each marker stamped with the computer's clock; a failure
// leaves that employee as he was and the others go on, but a lost connection
// ends the run. The progress is told
// where no lock is held: after each line, or each batch when yields are rarer.
Counts Clear_Listed(const std::string& connectionString, std::int32_t year, std::int32_t month,
                    std::int32_t operatorId, const std::vector<Listed>& lines, const Progress& progress);

}  // namespace Clearing_Store

}  // namespace tolvenk
