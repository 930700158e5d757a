#include "data/HzReportSql.h"

#include "data/SqlPieces.h"

namespace tolvenk::HZ_Report_Sql {

using sql::q;

std::string Fee_Select(const std::string& columns) { return "select " + columns; }

std::string Row_Exists(const std::string& where) {
    return "select top 1 YuE_Change from Record_XF,Ren_Per_info where " + where;
}

namespace {

std::string keys(const std::string& key1, const std::string& key2, bool grouping) {
    std::string out;
    for (const std::string* k : {&key1, &key2}) {
        if (!k->empty()) out += "," + *k;
        else if (!grouping) out += ",null";
        if (!grouping) out += k == &key1 ? " as K1" : " as K2";
    }
    return out;
}

std::string period(int width, const std::string& from, const std::string& to) {
    const std::string p = "left(Date_Time," + std::to_string(width) + ")";
    return p + ">='" + sql::q(from) + "' and " + p + "<='" + sql::q(to) + "'";
}

}  // namespace

std::string Grouped_Records(int width, const std::string& key1, const std::string& key2, bool people,
                            const std::string& from, const std::string& to, const std::string& kinds, bool meals,
                            bool errors, const std::string& piece) {
    const std::string p = "left(Date_Time," + std::to_string(width) + ")";
    return "select " + p + " as P" + keys(key1, key2, false) + ",Record_XF.XF_Type as T," +
           (meals ? "Record_XF.XF_Meal" : "null") + " as M," + (errors ? "Record_XF.Err_Code" : "0") +
           " as E,count(*) as N,"
           "sum(Record_XF.YuE_Change) as MS,count(Record_XF.YuE_Change) as MC,"
           "sum(Record_XF.YuCi_Change) as TS,count(Record_XF.YuCi_Change) as TC from Record_XF" +
           (people ? " left join Ren_Per_Info on Record_XF.Pinfo_id=Ren_Per_Info.Pinfo_id" : "") + " where " +
           (piece.empty() ? period(width, from, to) : piece) +
           (kinds.empty() ? "" : " and Record_XF.XF_Type in(" + kinds + ")") + " group by " + p +
           keys(key1, key2, true) + ",Record_XF.XF_Type" + (meals ? ",Record_XF.XF_Meal" : "") +
           (errors ? ",Record_XF.Err_Code" : "");
}

// For periods written in full (w plain characters), left(t,w) from `from`
// to `to` holds exactly for the texts t from `from` on and before `to` with
// its last character raised by one, under byte order. Other periods are read
// whole (no range: nothing to split).
db::Pieces_Along Record_Pieces(int width, const std::string& from, const std::string& to) {
    const auto plain = [width](const std::string& p) {
        if (p.size() != static_cast<std::size_t>(width)) return false;
        for (unsigned char c : p)
            if (c < 0x20 || c >= 0x7E) return false;
        return true;
    };
    if (!plain(from) || !plain(to)) return {};
    std::string until = to;
    until.back() = static_cast<char>(until.back() + 1);
    return {"Record_XF", "Record_XF.Date_Time", from, until, false};
}

std::string Grouped_Fees(int width, const std::string& key1, const std::string& key2, bool people,
                         const std::string& from, const std::string& to) {
    const std::string p = "left(Date_Time," + std::to_string(width) + ")";
    return "select " + p + " as P" + keys(key1, key2, false) +
           ",Card_Log.Op_Type as O,count(*) as N,"
           "sum(Card_Log.FaKa_GBF) as S0,count(Card_Log.FaKa_GBF) as C0,"
           "sum(Card_Log.Huan_GBF) as S1,count(Card_Log.Huan_GBF) as C1,"
           "sum(Card_Log.Tui_GBF) as S2,count(Card_Log.Tui_GBF) as C2 "
           "from Card_Log inner join Card_Type on Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie" +
           (people ? " left join Ren_Per_Info on Card_Log.Pinfo_id=Ren_Per_Info.Pinfo_id" : "") +
           " where Card_Log.Op_Type in(0,3,4) and " + period(width, from, to) + " group by " + p +
           keys(key1, key2, true) + ",Card_Log.Op_Type";
}

std::string Any_Person() { return "select top 1 Pinfo_ID from Ren_Per_Info"; }

std::string Places(bool one, const std::string& name) {
    if (one) return "select * from XF_Dian_Info where XF_Dian_Name='" + q(name) + "' and Del_YN=0 order by XF_Dian_ID";
    return "select * from XF_Dian_Info where Del_YN=0 order by XF_Dian_ID";
}

std::string Terminals(bool one, const std::string& name) {
    if (one) return "select * from Mach_Info where Mach_Name='" + q(name) + "' and Del_YN=0 order by Mach_ID";
    return "select * from Mach_Info where Del_YN=0 order by Mach_ID";
}

std::string Cashiers(bool one, const std::string& name) {
    if (one) return "select * from XF_ShouKuan where SK_Name='" + q(name) + "' order by ID";
    return "select * from XF_ShouKuan order by ID";
}

std::string Units(bool one, const std::string& name) {
    if (one) return "select * from XF_Unit_Info where XF_Unit_Name='" + q(name) + "' and Del_YN=0 order by XF_Unit_ID";
    return "select * from XF_Unit_Info where Del_YN=0 order by XF_Unit_ID";
}

std::string Operators(bool one, const std::string& name) {
    if (one) return "select * from Sys_User_Info where User_Name='" + q(name) + "' and Del_YN=0 order by User_ID";
    return "select * from Sys_User_Info where Del_YN=0 order by User_ID";
}

std::string Card_Types() { return "select * from Card_Type where Del_YN=0 order by ID"; }

std::string Card_Type_Named(const std::string& name) {
    return "select * from Card_Type where C_Name='" + q(name) + "' and Del_YN=0 order by ID";
}

std::string Card_Type_Numbered(std::int64_t leiBie) {
    return "select * from Card_Type where C_LeiBie=" + sql::num(leiBie) + " and Del_YN=0 order by ID";
}

std::string Depts() {
    return "select Dept_No,Dept_Name from Ren_Dept_Info where Dept_Level=1 and Del_YN=0 order by Dept_ID";
}

std::string Dept_Named(const std::string& name, bool top) {
    // Any department the report's list offers (levels 0 and 1), not only
    // the level-1 ones: a site may have several top departments.
    return "select Dept_No,Dept_Name from Ren_Dept_Info where Dept_Name='" + q(name) + "' and Dept_Level" +
           (top ? "=0" : "<=1") + " and Del_YN=0 order by Dept_ID";
}

std::string Top_Dept() {
    return "select Dept_Name from Ren_Dept_Info where Dept_Level=0 and Del_YN=0 order by Dept_ID";
}

}  // namespace tolvenk::HZ_Report_Sql
