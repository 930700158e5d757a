#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "reports/summary/HzItems.h"

namespace tolvenk {

// What one condition selects, for figures read once and summed in memory:
// the records whose period or grouping key (dim 0 the period, else the
// dimension's code) is `text` (or the number `number`), from or up to a
// period, or a department with its sub-departments. dim -1 selects all.
struct Group_Match {
    enum Op { Equal, From, To, Under };
    int dim = -1;
    Op op = Equal;
    std::string text;
    bool numeric = false;
    double number = 0;
};

// One entry of a group-condition array: a value of a grouping dimension, or a
// day or month of the period.
struct Group_Cond {
    std::string Caption;  // field 0: shown in the grid
    std::string Cond;     // field 1: condition on Record_XF
    std::string Cond2;    // field 2: periods, card types and operators repeat field 1
    std::string Bound;    // field 3: periods: bound of the whole period; operators (entry 1): all listed
    std::vector<Group_Match> Match;  // what Cond selects: all of these
    Group_Match Bound_Match;         // what Bound selects (periods only)
    // Field 0..3 by number; error 9 for any other.
    std::string& field(int f);
    const std::string& field(int f) const;
};

// A group-condition array with entries 1..N. "Not dimensioned" (a value list
// without records) differs from a single empty entry (no dimension at all).
class Group_Conds {
public:
    static Group_Conds Empty() { return {}; }
    static Group_Conds Single_Empty();

    bool Dimensioned() const { return !entries_.empty(); }
    // N; 0 when not dimensioned.
    int UBound() const { return entries_.empty() ? 0 : static_cast<int>(entries_.size()) - 1; }
    // Entry i, 1..N; error 9 for entry 0 and beyond N.
    Group_Cond& operator()(int i);
    const Group_Cond& operator()(int i) const;
    Group_Cond& Add();

private:
    std::vector<Group_Cond> entries_;  // [0] is the never-filled entry 0
};

// The grid column of each shown value of each summary item; 0 = not shown.
struct HzItemCols {
    std::array<std::array<std::int32_t, hz::Measure_Count>, hz::Item_Count> Item_Col{};
    std::int32_t& Col(hz::Item i, hz::Measure m) {
        return Item_Col[static_cast<std::size_t>(i)][static_cast<std::size_t>(m)];
    }
    std::int32_t Col(hz::Item i, hz::Measure m) const {
        return Item_Col[static_cast<std::size_t>(i)][static_cast<std::size_t>(m)];
    }
};

// What the summary-report window, its header, its conditions and its run
// share about the selected report.
struct HzReportState : HzItemCols {
    std::string Rep_Name;  // P1 of the selected report
    std::string Rep_Type;  // first character of Rep_P2
    std::string Rep_P2;    // type digit, first and second dimension (two digits each)
    std::string Rep_P3;    // subtotal, count and times flags
    std::int16_t Valid_Only = 0;  // 1: only records with Err_Code=0
    bool Head_Loaded = false;
    bool Sub_Head_Row = false;  // the header uses its sub-caption row 4

    // Header layout; 0 = no such column.
    std::int16_t Next_Col = 0;
    std::int32_t Date_Col = 0;
    std::int16_t Dim1_Col = 0;
    std::int16_t Dim2_Col = 0;
    std::int16_t Block_Start_Col = 0;
    std::vector<std::string> Block_Captions;

    // "161,163,...,": the XF_Type codes of the shown items, repeats kept;
    // the same codes as numbers.
    std::string Covered_Types;
    std::vector<int> Covered_Kinds;

    Group_Conds Group_Conds1, Group_Conds2, Group_Conds3;
    std::string Top_Dept_Name;  // the Dept_Level 0 department, read when the first dimension is the department
};

// Every item column back to "not shown".
void Clear_Item_Cols(HzReportState& st);

}  // namespace tolvenk
