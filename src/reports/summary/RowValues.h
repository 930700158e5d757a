#pragma once
#include <cstdint>
#include <string>

#include "reports/summary/SlotOps.h"

namespace tolvenk {

// The values of one report row: the current entries of Group_Conds1..3 as
// the run's loops left them, one query per shown item value.
class RowValues : public SlotOps {
public:
    using SlotOps::SlotOps;

    std::int32_t Row_Sum = 0, Row_Cnt = 0, Row_Times = 0, Row_Times_Cnt = 0;
    std::string Row_Cap1, Row_Cap2;

    // Computes every shown item of the row into slots 5 (added) and 6, adds
    // the row to the grid from slot 6 and clears slot 6. The item columns are
    // read from the header state.
    void Calc_Row();

    // Money total of type condition D within the three group conditions; a
    // trapped error shows its box and counts as no record.
    std::int32_t Sum_YuE(std::string cond0, std::string cond1, std::string cond2, const std::string& D,
                         const std::string& cap0, std::string cap1, std::string cap2, std::int32_t column);
    // Times total; errors pass to the caller.
    std::int32_t Sum_YuCi(std::string cond0, std::string cond1, std::string cond2, const std::string& D,
                          const std::string& cap0, std::int32_t column);
    // Total of the Card_Log fee column F over the log rows of operation
    // condition D; a trapped error shows its box and counts as no row.
    std::int32_t Sum_GBF(std::string cond0, std::string cond1, std::string cond2, const std::string& D,
                         const std::string& cap0, std::string cap1, std::string cap2, std::int32_t column,
                         const std::string& F);

private:
    // The captions and money figures a row query leaves for the row writer.
    void setRow(const std::string& cap1, const std::string& cap2, std::int32_t count, std::int32_t total) {
        Row_Cap1 = cap1;
        Row_Cap2 = cap2;
        Row_Cnt = count;
        Row_Sum = total;
    }
    // " where D and cond0 and cond1 and cond2" without the joiners that
    // empty trailing conditions leave, and the validity clause.
    std::string Row_Where(const std::string& D, const std::string& cond0, const std::string& cond1,
                          const std::string& cond2) const;
};

}  // namespace tolvenk
