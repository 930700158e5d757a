#pragma once
// The lookups of the shared window parts and the entry: departments,
// employees, terminals and operators.
#include <memory>
#include <string>

#include "data/DataList.h"

namespace tolvenk {

namespace db {
class Connection;
class Recordset;
}  // namespace db

namespace Lookup_Store {

// Through a connection of their own (the picker's): Dept_No, Dept_Name of the
// live departments; Pinfo_ID, P_Name, P_Code, P_Num of the live employees
// of a department and its sub-departments, by code.
DataList Live_Depts(const std::string& connectionString);
DataList Dept_Employees(const std::string& connectionString, const std::string& deptNo);

// On the main connection.
// New_Date of the first live computer-side terminal.
std::shared_ptr<db::Recordset> First_Terminal_Date(db::Connection& conn);
// Every employee, live or not, by Pinfo_id.
std::shared_ptr<db::Recordset> All_Employees(db::Connection& conn);
// PInfo_Id, P_Name, P_Code, P_Num, Dept_Name of every employee by PInfo_Id, so
// a name two people share finds the same one on either engine (opened with Open_Rs).
std::string Employee_Names_Sql();
// User_ID of a live operator.
std::shared_ptr<db::Recordset> Operator_Id(db::Connection& conn, const std::string& userName);

}  // namespace Lookup_Store

}  // namespace tolvenk
