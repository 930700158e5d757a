#include "reports/summary/ReportConditions.h"

#include <chrono>
#include <cstdio>

#include "data/HzDimCode.h"
#include "data/HzReportSql.h"
#include "data/SqlPieces.h"
#include "lang/LangGlobals.h"
#include "platform/DateText.h"
#include "platform/VbText.h"
#include "platform/db/Connection.h"
#include "platform/db/SqlText.h"
#include "data/HzRepFormat.h"

namespace tolvenk {

namespace {

using sql::q;

using std::chrono::year_month;
using std::chrono::year_month_day;

constexpr int CommonCardLang = 552;
constexpr int CommonCardLeiBie = 1;

int dim1(const HzReportState& st) { return HZ_Rep_Format{"", st.Rep_P2, "", "", ""}.dim1(); }
int dim2(const HzReportState& st) { return HZ_Rep_Format{"", st.Rep_P2, "", "", ""}.dim2(); }

// The chosen value of Combo1 applies only to the report's first dimension.
bool oneValue(const HzReportState& st, const Cond_Inputs& in, int code) {
    return dim1(st) == code && in.Combo_Index != 0;
}


year_month_day parseDate(const std::string& text) {
    // The pickers give "yyyy-MM-dd"; a time after it is ignored.
    const auto d = readDate(text);
    if (!d) throw VbError(13, "Type mismatch: not a date [" + text + "]");
    return *d;
}

struct Period {
    year_month_day from, to;
};

// A monthly report's period is whole months: the 20th to the 5th of one
// month is that month, so only the year and month are compared.
Period readPeriod(const HzReportState& st, const Cond_Inputs& in) {
    Period p{parseDate(in.Date_From), parseDate(in.Date_To)};
    const bool months = HZ_Rep_Format{"", st.Rep_P2, "", "", ""}.type() == ReportMonthly;
    const bool reversed = months ? year_month{p.to.year(), p.to.month()} < year_month{p.from.year(), p.from.month()}
                                 : p.to < p.from;
    if (reversed) throw Period_Reversed_Error(in.Date_From, in.Date_To);
    return p;
}

std::string monthText(int monthIndex) {  // months since year 0
    return formatMonth(monthIndex / 12, static_cast<unsigned>(monthIndex % 12 + 1));
}

// One entry per day or month; field 3 bounds the whole period ("date_Time"
// as the bounds have always been written).
Group_Conds periodConds(const HzReportState& st, const Cond_Inputs& in) {
    const char t = HZ_Rep_Format{"", st.Rep_P2, "", "", ""}.type();
    if (t != ReportDaily && t != ReportRange && t != ReportMonthly) return Group_Conds::Empty();
    const Period p = readPeriod(st, in);
    const bool days = t != ReportMonthly;
    const int width = days ? 10 : 7;
    const int first = static_cast<int>(p.from.year()) * 12 + static_cast<int>(static_cast<unsigned>(p.from.month())) - 1;
    const int n = days ? static_cast<int>((std::chrono::sys_days{p.to} - std::chrono::sys_days{p.from}).count()) + 1
                       : static_cast<int>(p.to.year()) * 12 + static_cast<int>(static_cast<unsigned>(p.to.month())) - 1 -
                             first + 1;
    const std::string col = "left(Date_Time," + std::to_string(width) + ")";
    const std::string boundCol = "left(date_Time," + std::to_string(width) + ")";
    Group_Conds g;
    for (int i = 1; i <= n; ++i) {
        const std::string v = days ? formatDate(addDays(p.from, i - 1))
                                   : monthText(first + i - 1);
        Group_Cond& e = g.Add();
        e.Caption = v;
        e.Cond = col + "='" + v + "'";
        e.Cond2 = e.Cond;
        e.Match = {{0, Group_Match::Equal, v}};
        if (n == 1) e.Bound = boundCol + "='" + v + "'", e.Bound_Match = e.Match.front();
        else if (i == 1) e.Bound = boundCol + ">='" + v + "'", e.Bound_Match = {0, Group_Match::From, v};
        else if (i == n) e.Bound = boundCol + "<='" + v + "'", e.Bound_Match = {0, Group_Match::To, v};
    }
    return g;
}

std::string text(const db::Recordset& rs, const char* name) { return rs.field(name).toString(); }

// Identifiers are written from their number, never pasted as text.
std::string number(const db::Recordset& rs, const char* name) {
    const db::Value& v = rs.field(name);
    if (v.isInteger()) return sqlNumber(v.asInteger());
    if (v.isReal()) return sqlNumber(v.asReal());
    return sqlNumberText(v.toString());
}

Group_Match numberMatch(int dim, const std::string& number) {
    return {dim, Group_Match::Equal, number, true, *parseNumber(number)};
}

std::string listSql(int code, HzReportState& st, const Cond_Inputs& in, db::Connection& conn) {
    switch (code) {
    case HZ_Dim::Place: return Place_List_Sql(st, in);
    case HZ_Dim::Mach: return Mach_List_Sql(st, in);
    case HZ_Dim::Cashier: return Cashier_List_Sql(st, in);
    case HZ_Dim::Unit: return Unit_List_Sql(st, in);
    case HZ_Dim::CardType: return Card_Type_List_Sql(st, in);
    case HZ_Dim::Dept: return Dept_List_Sql(st, in, conn);
    default: return Operator_List_Sql(st, in);
    }
}

Group_Conds valueConds(int code, HzReportState& st, const Cond_Inputs& in, db::Connection& conn) {
    auto rs = conn.openRecordset(listSql(code, st, in, conn));
    if (rs->recordCount() < 1) return code == HZ_Dim::Cashier ? Group_Conds::Single_Empty() : Group_Conds::Empty();
    Group_Conds g;
    std::string users;
    for (rs->moveFirst(); !rs->eof(); rs->moveNext()) {
        Group_Cond& e = g.Add();
        switch (code) {
        case HZ_Dim::Place:
            e.Caption = text(*rs, "XF_Dian_Name");
            e.Cond = "XF_Dian_ID=" + number(*rs, "XF_Dian_ID");
            e.Match = {numberMatch(code, number(*rs, "XF_Dian_ID"))};
            break;
        case HZ_Dim::Mach:
            e.Caption = text(*rs, "Mach_Name");
            e.Cond = "Mach_ID=" + number(*rs, "Mach_ID") + " ";
            e.Match = {numberMatch(code, number(*rs, "Mach_ID"))};
            break;
        case HZ_Dim::Cashier:
            e.Caption = text(*rs, "SK_Name");
            e.Cond = " Shou_Kuan='" + q(text(*rs, "SK_ID")) + "'";
            e.Match = {{code, Group_Match::Equal, text(*rs, "SK_ID")}};
            break;
        case HZ_Dim::Unit:
            e.Caption = text(*rs, "XF_Unit_Name");
            e.Cond = " XF_Unit= " + number(*rs, "XF_Unit_ID");
            e.Match = {numberMatch(code, number(*rs, "XF_Unit_ID"))};
            break;
        case HZ_Dim::CardType: {
            const std::string name = text(*rs, "C_Name");
            e.Caption = vbTrim(name).empty() ? Lang[CommonCardLang] : name;
            e.Cond = "C_LeiBie=" + number(*rs, "C_LeiBie");
            e.Cond2 = e.Cond;
            e.Match = {numberMatch(code, number(*rs, "C_LeiBie"))};
            break;
        }
        case HZ_Dim::Dept: {
            // The top department counts its own people only; any other covers its sub-departments.
            const std::string name = text(*rs, "Dept_Name");
            const std::string no = text(*rs, "Dept_No");
            e.Caption = name;
            e.Cond = name != st.Top_Dept_Name
                         ? " Record_XF.Pinfo_id=Ren_Per_Info.Pinfo_id and Ren_Per_Info.Dept_No like '" +
                               sqlLikeEscape(no) + "%'" + kLikeEscape + " "
                         : " Record_XF.Pinfo_id=Ren_Per_Info.Pinfo_id and Ren_Per_Info.Dept_No = '" + q(no) + "'";
            e.Match = {{code, name != st.Top_Dept_Name ? Group_Match::Under : Group_Match::Equal, no}};
            break;
        }
        default: {
            const std::string id = number(*rs, "User_ID");
            e.Caption = text(*rs, "User_Name");
            e.Cond = "Operator_id=" + id;
            e.Cond2 = e.Cond;
            e.Match = {numberMatch(code, id)};
            users += id + ",";
        }
        }
    }
    if (code == HZ_Dim::Operator) g(1).Bound = "Operator_id in(" + users.substr(0, users.size() - 1) + ")";
    return g;
}

}  // namespace

Period_Reversed_Error::Period_Reversed_Error(const std::string& from, const std::string& to)
    : VbError(5, "The period ends (" + to + ") before it starts (" + from + ")") {}

std::string Place_List_Sql(const HzReportState& st, const Cond_Inputs& in) {
    return HZ_Report_Sql::Places(oneValue(st, in, HZ_Dim::Place), in.Combo_Text);
}

std::string Mach_List_Sql(const HzReportState& st, const Cond_Inputs& in) {
    return HZ_Report_Sql::Terminals(oneValue(st, in, HZ_Dim::Mach), in.Combo_Text);
}

std::string Cashier_List_Sql(const HzReportState& st, const Cond_Inputs& in) {
    return HZ_Report_Sql::Cashiers(oneValue(st, in, HZ_Dim::Cashier), in.Combo_Text);
}

std::string Unit_List_Sql(const HzReportState& st, const Cond_Inputs& in) {
    return HZ_Report_Sql::Units(oneValue(st, in, HZ_Dim::Unit), in.Combo_Text);
}

std::string Card_Type_List_Sql(const HzReportState& st, const Cond_Inputs& in) {
    if (!oneValue(st, in, HZ_Dim::CardType)) return HZ_Report_Sql::Card_Types();
    // The unnamed kind is listed under the common-card caption: find it by
    // its kind number (the list's item data), which is what the rows carry.
    if (in.Combo_Text == Lang[CommonCardLang])
        return HZ_Report_Sql::Card_Type_Numbered(in.Combo_ItemData > 0 ? in.Combo_ItemData : CommonCardLeiBie);
    return HZ_Report_Sql::Card_Type_Named(in.Combo_Text);
}

std::string Dept_List_Sql(HzReportState& st, const Cond_Inputs& in, db::Connection& conn) {
    if (dim1(st) != HZ_Dim::Dept) return HZ_Report_Sql::Depts();
    auto top = conn.openRecordset(HZ_Report_Sql::Top_Dept());
    if (top->recordCount() > 0) {
        top->moveFirst();
        st.Top_Dept_Name = text(*top, "Dept_Name");
    }
    if (in.Combo_Index == 0) return HZ_Report_Sql::Depts();
    if (in.Combo_Text != st.Top_Dept_Name) return HZ_Report_Sql::Dept_Named(in.Combo_Text, false);
    return HZ_Report_Sql::Dept_Named(st.Top_Dept_Name, true);
}

std::string Operator_List_Sql(const HzReportState& st, const Cond_Inputs& in) {
    return HZ_Report_Sql::Operators(oneValue(st, in, HZ_Dim::Operator), in.Combo_Text);
}

Group_Conds Make_Dim_Conds(int code, HzReportState& st, const Cond_Inputs& in, db::Connection& conn) {
    if (code == 0 || code == HZ_Dim::Date) return periodConds(st, in);
    if (code >= HZ_Dim::Place && code <= HZ_Dim::Operator) return valueConds(code, st, in, conn);
    return Group_Conds::Empty();
}

void Make_Group_Conds(HzReportState& st, const Cond_Inputs& in, db::Connection& conn) {
    readPeriod(st, in);  // a reversed period is refused before any list is read
    const int a = dim1(st), b = dim2(st);
    Group_Conds g1, g2, g3;
    if (b != HZ_Dim::Date) {
        g1 = Make_Dim_Conds(0, st, in, conn);
        g2 = a == 0 ? Group_Conds::Single_Empty() : Make_Dim_Conds(a, st, in, conn);
        g3 = b == HZ_Dim::None || b == 0 ? Group_Conds::Single_Empty() : Make_Dim_Conds(b, st, in, conn);
    } else {
        g1 = Make_Dim_Conds(a, st, in, conn);
        g2 = Make_Dim_Conds(HZ_Dim::Date, st, in, conn);
        g3 = Group_Conds::Single_Empty();
    }
    st.Group_Conds1 = std::move(g1);
    st.Group_Conds2 = std::move(g2);
    st.Group_Conds3 = std::move(g3);
}

}  // namespace tolvenk
