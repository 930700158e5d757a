#include "data/HzReportSql.h"

#include "data/SqlPieces.h"

namespace tolvenk::HZ_Report_Sql {

using sql::q;

std::string Fee_Select(const std::string& columns) { return "select " + columns; }

std::string Row_Exists(const std::string& where) {
    return "select top 1 YuE_Change from Record_XF,Ren_Per_info where " + where;
}

std::string Places(bool one, const std::string& name) {
    if (one) return "select * from XF_Dian_Info where XF_Dian_Name='" + q(name) + "' and Del_YN=0";
    return "select * from XF_Dian_Info where Del_YN=0";
}

std::string Terminals(bool one, const std::string& name) {
    if (one) return "select * from Mach_Info where Mach_Name='" + q(name) + "' and Del_YN=0";
    return "select * from Mach_Info where Del_YN=0";
}

std::string Cashiers(bool one, const std::string& name) {
    if (one) return "select * from XF_ShouKuan where SK_Name='" + q(name) + "'";
    return "select * from XF_ShouKuan ";
}

std::string Units(bool one, const std::string& name) {
    if (one) return "select * from XF_Unit_Info where XF_Unit_Name='" + q(name) + "' and Del_YN=0";
    return "select * from XF_Unit_Info where Del_YN=0";
}

std::string Operators(bool one, const std::string& name) {
    if (one) return "select * from Sys_User_Info where User_Name='" + q(name) + "' and Del_YN=0 ";
    return "select * from Sys_User_Info where Del_YN=0";
}

std::string Card_Types() { return "select * from Card_Type where Del_YN=0"; }

std::string Card_Type_Named(const std::string& name) {
    return "select * from Card_Type where C_Name='" + q(name) + "' and Del_YN=0";
}

std::string Card_Type_Numbered(std::int64_t leiBie) {
    return "select * from Card_Type where C_LeiBie=" + sql::num(leiBie) + " and Del_YN=0";
}

std::string Depts() { return "select Dept_No,Dept_Name from Ren_Dept_Info where Dept_Level=1 and Del_YN=0"; }

std::string Dept_Named(const std::string& name, bool top) {
    return "select Dept_No,Dept_Name from Ren_Dept_Info where Dept_Name='" + q(name) + "' and Dept_Level=" +
           (top ? "0" : "1") + " and Del_YN=0";
}

std::string Top_Dept() { return "select Dept_Name from Ren_Dept_Info where Dept_Level=0 and Del_YN=0"; }

}  // namespace tolvenk::HZ_Report_Sql
