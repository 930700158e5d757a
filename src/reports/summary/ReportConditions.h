#pragma once
#include <cstdint>
#include <string>

#include "platform/Error.h"
#include "reports/summary/HzReportState.h"

namespace tolvenk {

namespace db {
class Connection;
}

// What the window's controls hold when the conditions are built.
struct Cond_Inputs {
    std::string Date_From;  // DTPicker1, "yyyy-MM-dd" (a time part after it is ignored)
    std::string Date_To;    // DTPicker2
    // Combo1: the first dimension's value; index 0 is "全部" (all values).
    int Combo_Index = 0;
    std::string Combo_Text;
    std::int32_t Combo_ItemData = 0;  // for card types their C_LeiBie
};

// A period that ends before it starts; refused before any condition is built.
class Period_Reversed_Error : public VbError {
public:
    Period_Reversed_Error(const std::string& from, const std::string& to);
};

// Fills st.Group_Conds1..3 from st.Rep_P2: the days or months of the period
// and the values of both dimensions, read on conn (the main connection).
// Throws Period_Reversed_Error when Date_To lies before Date_From (for a
// monthly report, in an earlier month), and
// VbError 13 for a date that cannot be read.
void Make_Group_Conds(HzReportState& st, const Cond_Inputs& in, db::Connection& conn);

// The entries of one dimension code: 0 and 8 the periods, 1..7 the values of
// a master table; any other code an array without entries.
Group_Conds Make_Dim_Conds(int code, HzReportState& st, const Cond_Inputs& in, db::Connection& conn);

// The value-list queries: one value when the dimension is the report's first
// and Combo1 holds a value, else all values.
std::string Place_List_Sql(const HzReportState& st, const Cond_Inputs& in);
std::string Mach_List_Sql(const HzReportState& st, const Cond_Inputs& in);
std::string Cashier_List_Sql(const HzReportState& st, const Cond_Inputs& in);
std::string Unit_List_Sql(const HzReportState& st, const Cond_Inputs& in);
std::string Card_Type_List_Sql(const HzReportState& st, const Cond_Inputs& in);
// Also reads Top_Dept_Name when the department is the first dimension.
std::string Dept_List_Sql(HzReportState& st, const Cond_Inputs& in, db::Connection& conn);
std::string Operator_List_Sql(const HzReportState& st, const Cond_Inputs& in);

}  // namespace tolvenk
