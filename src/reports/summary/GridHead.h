#pragma once
#include <cstdint>
#include <string>

#include "reports/summary/HzReportState.h"

namespace tolvenk {

struct HZ_Rep_Format;
namespace forms {
class Grid;
}
namespace grid {
class GridModel;
}

// Header rows of the summary report: 0 title, 1 condition line, 2 filled by
// the run, 3 captions, 4 sub-captions (height 0 unless Sub_Head_Row).
constexpr int HzHeadRows = 5;

// Caption of a grouping dimension code: 1 charging place ... 6 department,
// 7 operator, 8 date; "" for any other code.
std::string Dim_Caption(int code);

// Label columns and Next_Col back to their state before a header is built.
void Reset_Head_Cols(HzReportState& st);

// Lays the grid's columns and header rows out from a format's P2..P5 and
// records the label and item columns, Sub_Head_Row and Covered_Types in st.
// Every column after column 0 is laid out anew. Returns the caption for the
// window's condition label: the first dimension's caption and "：".
std::string Make_Grid_Head(grid::GridModel& grid, HzReportState& st, const std::string& P2, const std::string& P3,
                           const std::string& P4, const std::string& P5);
// The same on a window's grid, drawn once when the header is complete.
std::string Make_Grid_Head(forms::Grid& grid, HzReportState& st, const std::string& P2, const std::string& P3,
                           const std::string& P4, const std::string& P5);

// A report chosen afresh: its name and P2..P3 into st, its item columns
// cleared and its header laid out. What a run needs besides its period.
std::string Lay_Out_Report(grid::GridModel& grid, HzReportState& st, const HZ_Rep_Format& format);

// Appends the block st.Block_Captions describes at st.Block_Start_Col.
void Add_Head_Block(grid::GridModel& grid, HzReportState& st);

// " and XF_Type in(161,163)" from "161,163,"; "" from "".
std::string Covered_Types_Clause(const std::string& coveredTypes);

}  // namespace tolvenk
