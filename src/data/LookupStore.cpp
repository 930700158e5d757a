#include "data/LookupStore.h"

#include "data/BaseService.h"
#include "data/SqlPieces.h"
#include "platform/db/Connection.h"

namespace tolvenk::Lookup_Store {

namespace {
DataList list(const std::string& connectionString, const std::string& sql) {
    BaseService svc;
    svc.Set_LinkStr(connectionString);
    return svc.Get_DataList(sql);
}
}  // namespace

DataList Live_Depts(const std::string& connectionString) {
    return list(connectionString,
                "select Dept_No,Dept_Name from Ren_Dept_Info where Del_YN=0 order by Dept_No,Dept_ID");
}

DataList Dept_Employees(const std::string& connectionString, const std::string& deptNo) {
    return list(connectionString, "select Pinfo_ID,P_Name,P_Code,P_Num from Ren_Per_Info where Del_YN=0 and Dept_No like '" +
                                      sql::lit(deptNo) + "%" + sql::likeEnd + " order by P_Code,Pinfo_ID");
}

std::shared_ptr<db::Recordset> First_Terminal_Date(db::Connection& conn) {
    return conn.openRecordset(
        "select top 1 New_Date from Mach_info where Mach_Type in(301,300,303) and Del_YN=0 order by New_Date");
}

std::shared_ptr<db::Recordset> All_Employees(db::Connection& conn) {
    return conn.openRecordset("select * from Ren_Per_Info order by Pinfo_id");
}

std::string Employee_Names_Sql() {
    return "select Ren_Per_Info.PInfo_Id,Ren_Per_Info.P_Name,Ren_Per_Info.P_Code,Ren_Per_Info.P_Num,"
           "Ren_Dept_Info.Dept_Name from Ren_Per_Info,Ren_Dept_Info where Ren_Per_Info.Dept_No=Ren_Dept_Info.Dept_No "
           "order by Ren_Per_Info.PInfo_Id";
}

std::shared_ptr<db::Recordset> Operator_Id(db::Connection& conn, const std::string& userName) {
    return conn.openRecordset("select User_ID  from Sys_User_Info where Del_YN=0 and User_Name='" +
                              sql::q(userName) + "'");
}

}  // namespace tolvenk::Lookup_Store
