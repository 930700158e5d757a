#include "data/BTService.h"

#include <map>

#include "data/Globals.h"
#include "data/OpenDb.h"
#include "data/SqlPieces.h"
#include "data/SubsidyBatch.h"
#include "platform/Error.h"
#include "platform/FenMath.h"
#include "platform/db/DbError.h"
#include "platform/db/Transaction.h"

namespace tolvenk {

using sql::num;
using sql::likeEnd;
using sql::lit;
using sql::q;

namespace {
const char* const kEmpColumns =
    "select Ren_Per_Info.PInfo_id,Ren_Per_Info.P_Name,Ren_Per_Info.P_Code,Ren_Dept_Info.Dept_Name,"
    "Ren_Dept_Info.Dept_Code,Ren_Per_Info.P_Position_ID From Ren_Per_Info, Ren_Dept_Info ";
}  // namespace

DataList BTService::Is_Ci() { return base_.Get_DataList("select * from Sys_Para where Para_Name='Sys_Config'"); }

// Live terminals only: the alternatives are bracketed so Del_YN=0 binds to both.
DataList BTService::Get_Mach_J() {
    return base_.Get_DataList(
        "select * from Mach_Info where (Mach_XF_Type=27  or (Mach_XF_Type=25 and Card_BuTie=1 )) and Del_YN=0");
}

DataList BTService::Get_Mach_Ci() {
    return base_.Get_DataList(
        "select * from Mach_Info where (Mach_XF_Type=28  or (Mach_XF_Type=26 and Card_BuTie=1 )) and Del_YN=0");
}

DataList BTService::Get_ZhiWei() { return base_.Get_DataList("select * from Ren_Positions_Info order by ID"); }

DataList BTService::Cha_Time() {
    return base_.Get_DataList("select top 1 * from Mach_Info where Del_YN=0 order by New_Date");
}

DataList BTService::Get_CZ_Name(const std::string& CZ_Ren_ID) {
    return base_.Get_DataList("select User_Name from Sys_User_Info where User_ID=" + num(CZ_Ren_ID));
}

DataList BTService::All_CZ_Name() {
    return base_.Get_DataList("select * from Sys_User_Info where Del_YN=0 order by User_ID");
}

DataList BTService::Get_Emp_ByDept(const std::string& str_dept) {
    return base_.Get_DataList(std::string("select Ren_Per_Info.PInfo_id,Ren_Per_Info.P_Name,Ren_Per_Info.P_Code,"
                                          "Ren_Dept_Info.Dept_Name,") +
                              "Ren_Dept_Info.Dept_Code,Ren_Per_Info.P_Position_ID From Ren_Per_Info,Ren_Dept_Info " +
                              "Where Ren_Per_Info.Dept_ID = Ren_Dept_Info.Dept_ID And Ren_Per_Info.Del_YN = 0 and " +
                              " Ren_Per_Info.Dept_No like '" + lit(str_dept) + "%" + likeEnd + " order by Ren_Dept_Info.Dept_No");
}

DataList BTService::empCheck(const std::string& where, const std::string& Dept_No, const std::string& nameFilter,
                             const std::string& codeFilter, const std::string& pID, const std::string& tail) {
    std::string sql = kEmpColumns + where + " and Ren_Dept_Info.Dept_No like '" + lit(Dept_No) + "%" + likeEnd;
    sql += nameFilter + codeFilter;
    if (!pID.empty()) sql += "and Ren_Per_Info.PInfo_id =" + num(pID);
    // Employees whose department name and code are alike keep one order on either engine.
    return base_.Get_DataList(sql + tail +
                              "  order by  Ren_Dept_Info.Dept_Name,Ren_Per_Info.P_Code,Ren_Per_Info.PInfo_id");
}

DataList BTService::Get_Emp_Check_All(const std::string& Dept_No, const std::string& pName,
                                      const std::string& pCode, const std::string& pID) {
    return empCheck("Where Ren_Per_Info.Dept_No = Ren_Dept_Info.Dept_No   ", Dept_No,
                    pName.empty() ? "" : "and Ren_Per_Info.P_Name like '%" + lit(pName) + "%" + likeEnd,
                    pCode.empty() ? "" : "and Ren_Per_Info.P_Code like '%" + lit(pCode) + "%" + likeEnd, pID, "");
}

DataList BTService::Get_Emp_Check_All_ID(const std::string& Dept_No, const std::string& pName,
                                         const std::string& pCode, const std::string& pID) {
    return empCheck("Where Ren_Per_Info.Dept_No = Ren_Dept_Info.Dept_No   ", Dept_No,
                    pName.empty() ? "" : "and Ren_Per_Info.P_Name = '" + q(pName) + "'",
                    pCode.empty() ? "" : "and Ren_Per_Info.P_Code = '" + q(pCode) + "'", pID, "");
}

DataList BTService::Get_Emp_Check(const std::string& Dept_No, const std::string& pName, const std::string& pCode,
                                  const std::string& pID) {
    return empCheck("Where Ren_Per_Info.Dept_No = Ren_Dept_Info.Dept_No ", Dept_No,
                    pName.empty() ? "" : "and Ren_Per_Info.P_Name like '%" + lit(pName) + "%" + likeEnd,
                    pCode.empty() ? "" : "and Ren_Per_Info.P_Code like '%" + lit(pCode) + "%" + likeEnd, pID,
                    "  and Ren_Dept_Info.del_yn=0");
}

DataList BTService::Get_All_Emp() { return base_.Get_DataList("select * from Ren_Per_Info where Del_YN=0 order by Pinfo_ID"); }

DataList BTService::Get_Dept_No(const std::string& Dept_No, const std::string& last_dept_no) {
    std::string sql = "select * from Ren_Dept_Info where Del_YN=0";
    if (!Dept_No.empty()) sql += " and Dept_No like '" + lit(Dept_No) + "%" + likeEnd;
    if (!last_dept_no.empty()) sql += " and Last_DeptNo='" + q(last_dept_no) + "'";
    return base_.Get_DataList(sql + " order by Dept_No,Dept_ID");
}

DataList BTService::IS_ID(const std::string& P_id) { return base_.Get_DataList(IS_ID_Sql(P_id)); }

namespace {

std::string chaKaSql(std::int32_t Pinfo_id, const std::string& Card_No, const std::string& Card_Liushui_Max) {
    return "select * from Record_XF where Pinfo_id=" + num(Pinfo_id) + " and Card_No='" + q(Card_No) +
           "' and Card_liushui<=" + num(Card_Liushui_Max) + " and Card_LiuShui<>0 order by Card_Liushui,Date_Time,ID";
}

}  // namespace

DataList BTService::Cha_Ka(std::int32_t Pinfo_id, const std::string& Card_No, const std::string& Card_Liushui_Max) {
    return base_.Get_DataList(chaKaSql(Pinfo_id, Card_No, Card_Liushui_Max));
}

std::shared_ptr<db::Recordset> BTService::Cha_Ka(db::Connection& On, std::int32_t Pinfo_id, const std::string& Card_No,
                                                 const std::string& Card_Liushui_Max) {
    return On.openRecordset(chaKaSql(Pinfo_id, Card_No, Card_Liushui_Max));
}

namespace {

std::string correctionInsert(const BTService::CorrectionRow& r) {
    return "insert into Record_XF(Mach_ID,Pinfo_ID,Card_No_Lng,C_LeiBie,XF_Dian_ID,XF_Type,XF_Meal,YuE_Old,YuE_Change,"
           "YuE_New,C_QuHao,Card_Liushui,Mach_liushui,Date_Time,Card_No,YuCi_Change,Operator_id,XF_Unit,Ci_QuHao,"
           "Ci_Liushui,YuCi_new,Err_Code,Rec_Time,DC_Date,Shui_Change,Is_ShuiKong) values(0," +
           num(r.PinfoID) + ",0," + num(r.c_leibie) + ",0," + num(r.XF_Type) + ",0,0," + num(r.YuE_Change) + "," +
           num(r.YuE_New) + "," + num(r.C_QuHao) + "," + num(r.Card_Liushui) + ",-3,'" + q(r.Date_Time) + "','" +
           q(r.CardNo) + "',0," + num(r.Operator_id) + ",0," + num(r.Ci_QuHao) + ",0,0," + num(r.Err_Code) + ",'" +
           q(r.Rec_Time) + "','" + q(r.DC_Date) + "',0,0)";
}

}  // namespace

bool BTService::insert_RecordXF(const CorrectionRow& r) { return base_.Exec_Sql(correctionInsert(r)); }

bool BTService::Mend_Break(const CorrectionRow& r, std::int64_t nth) {
    bool written = false;
    base_.Run_Write_Trans([&](db::Connection& con) {
        const auto alike = con.openRecordset(
            "select count(*) from Record_XF where Pinfo_id=" + num(r.PinfoID) + " and Card_No='" + q(r.CardNo) +
            "' and Card_LiuShui=" + num(r.Card_Liushui) + " and Err_Code=" + num(r.Err_Code) + " and Date_Time='" +
            q(r.Date_Time) + "' and YuE_New=" + num(r.YuE_New));
        if (alike->field(0).toInt64() >= nth) return;
        CorrectionRow row = r;
        row.Rec_Time = Server_Time(con);
        con.execute(correctionInsert(row));
        written = true;
    });
    return written;
}

bool BTService::Add_XF_BT_ID(const std::vector<std::string>& para) {
    return base_.Add_DataByIndex(
        "Record_XF", 1, para,
        "Mach_ID,Pinfo_id,Card_No_Lng,Shou_Kuan,C_LeiBie,XF_DIan_ID,XF_Type,XF_Meal,YuE_Old,YuE_Change,YuE_New,"
        "C_QuHao,Card_LiuShui,"
        "Mach_LiuShui,Date_Time,Card_No,YuCi_Change,Operator_id,XF_Unit,Ci_QuHao,Ci_LiuShui,YuCi_New,Err_Code");
}

DataList BTService::Get_BT_DY(const std::string& infoID) {
    return base_.Get_DataList(
        "select XF_Dian_Info.XF_Dian_Name,Mach_Info.Mach_Name,BuTie_DuiYing.B_Type "
        "from BuTie_DuiYing,XF_Dian_Info,Mach_Info where BuTie_DuiYing.Mach_ID=Mach_Info.Mach_ID "
        "and Mach_Info.XF_Dian_ID=XF_Dian_Info.XF_Dian_ID "
        "and BuTie_DuiYing.Pinfo_ID =" +
        num(infoID) + " order by BuTie_DuiYing.ID");
}

std::string BTService::selectedIds(std::int64_t count) const {
    if (count < 0 || static_cast<std::uint64_t>(count) >= gSelPInfoIDs.size())
        throw VbError(9, "Subscript out of range");
    std::string ids;
    for (std::size_t i = 0; i <= static_cast<std::size_t>(count); ++i) ids += (i ? "," : "") + num(gSelPInfoIDs[i]);
    return ids;
}

DataList BTService::select_DY(std::int64_t count) {
    return base_.Get_DataList("select * from BuTie_DuiYing where Pinfo_ID in (" + selectedIds(count) + ")");
}

std::string BTService::deleteDyStatement(std::int64_t count, std::int16_t B_type) const {
    std::string sql = "delete from BuTie_DuiYing where Pinfo_ID in (" + selectedIds(count) + ") ";
    if (B_type != 0) sql += "and B_Type=" + num(B_type);
    return sql;
}

void BTService::addInsertsDy(std::vector<std::string>& out, std::int64_t count, std::int32_t Mach_Id,
                             std::int16_t B_type) const {
    // A row per employee, a few hundred to a statement: tens of thousands
    // of employees are not as many round trips to a server.
    constexpr std::size_t kRowsPerStatement = 500;
    const std::string row = "," + num(Mach_Id) + "," + num(B_type) + ")";
    const auto last = static_cast<std::size_t>(count);
    for (std::size_t first = 0; first <= last; first += kRowsPerStatement) {
        std::string sql = "insert into BuTie_DuiYing(Pinfo_ID,Mach_ID,B_Type) values";
        for (std::size_t i = first; i <= last && i < first + kRowsPerStatement; ++i)
            sql += (i == first ? "(" : ",(") + num(gSelPInfoIDs[i]) + row;
        out.push_back(std::move(sql));
    }
}

bool BTService::Delete_DY(std::int64_t count, std::int16_t B_type) {
    if (select_DY(count).rowUBound() < 1) return true;
    return base_.Exec_Sql(deleteDyStatement(count, B_type));
}

bool BTService::Insert_DY(std::int16_t Mach_Id, std::int16_t B_type, std::int64_t count) {
    selectedIds(count);  // the same range check as the other two
    std::vector<std::string> inserts;
    addInsertsDy(inserts, count, Mach_Id, B_type);
    // All employees get their terminal or none does.
    return base_.Exec_Sql_Trans(inserts);
}

bool BTService::Replace_DY(std::int64_t count, std::int16_t B_type,
                           const std::vector<std::pair<std::int32_t, std::int16_t>>& terminals,
                           std::size_t* Failed) {
    std::vector<std::string> statements{deleteDyStatement(count, B_type)};
    for (const auto& [mach, kind] : terminals) addInsertsDy(statements, count, mach, kind);
    return base_.Exec_Sql_Trans(statements, Failed);
}

std::string BTService::insertInfoStatement(const std::string& pID, const std::string& ZhunBei_DT,
                                           std::int32_t ZhunBei_Ren_ID, std::int32_t B_JinE, std::int16_t B_Ci,
                                           std::int16_t B_Year, std::int16_t B_Month, std::int16_t B_Times,
                                           std::int16_t B_type, std::int16_t B_Sf, std::int16_t B_Unit) {
    return "insert into BuTie_OK(Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,B_Type,B_SF,"
           "B_Unit)values(" +
           num(pID) + ",'" + q(ZhunBei_DT) + "'," + num(ZhunBei_Ren_ID) + "," + num(B_JinE) + "," + num(B_Ci) + "," +
           num(B_Year) + "," + num(B_Month) + "," + num(B_Times) + "," + num(B_type) + "," + num(B_Sf) + "," +
           num(B_Unit) + ")";
}

bool BTService::Insert_info(const std::string& pID, const std::string& ZhunBei_DT, std::int32_t ZhunBei_Ren_ID,
                            std::int32_t B_JinE, std::int16_t B_Ci, std::int16_t B_Year, std::int16_t B_Month,
                            std::int16_t B_Times, std::int16_t B_type, std::int16_t B_Sf, std::int16_t B_Unit) {
    return base_.Exec_Sql(insertInfoStatement(pID, ZhunBei_DT, ZhunBei_Ren_ID, B_JinE, B_Ci, B_Year, B_Month,
                                              B_Times, B_type, B_Sf, B_Unit));
}

bool BTService::Create_Batch(const std::vector<std::string>& pIDs, const std::string& ZhunBei_DT,
                             std::int32_t ZhunBei_Ren_ID, std::int16_t B_Year, std::int16_t B_Month,
                             std::int16_t B_Times, std::int16_t B_type, std::int16_t B_Unit, bool refuseCleared,
                             bool* cleared) {
    if (cleared) *cleared = false;
    std::vector<std::string> inserts;
    inserts.reserve(pIDs.size());
    for (const std::string& p : pIDs)
        inserts.push_back(insertInfoStatement(p, ZhunBei_DT, ZhunBei_Ren_ID, 0, 0, B_Year, B_Month, B_Times, B_type,
                                              B_SF_Code::Prepared, B_Unit));
    base_.Open_DB_Con();
    db::Connection& con = *base_.DB_Con;
    // The test and the inserts under one write lock: two operators creating
    // the same batch at once get one batch, not two.
    const db::CloseOnExit closing(con);
    db::Transaction t(con);
    const bool exists = !con.openRecordset("select ID from BuTie_OK where B_Year=" + num(B_Year) +
                                           " and B_Month=" + num(B_Month) + " and B_Times=" + num(B_Times))
                             ->eof();
    const bool monthCleared =
        !exists && refuseCleared && !Batch_Store::Clear_Marker(con, std::to_string(B_Year), B_Month)->eof();
    if (exists || monthCleared) {
        if (cleared) *cleared = monthCleared;
        return false;
    }
    for (const std::string& sql : inserts) con.execute(sql);
    t.commit();
    return true;
}

std::string BTService::updateInfoStatement(const std::string& BT_id, const std::string& ZB_DT,
                                           std::int32_t ZB_Ren_ID, std::int32_t B_JinE, std::int32_t B_Ci,
                                           BtAmount form) {
    const std::string amount = form == BtAmount::Times ? ",B_Ci=" + num(B_Ci) : ",B_JinE=" + num(B_JinE);
    // Only a prepared row takes an amount: a granted one keeps what was paid.
    return "update BuTie_OK set ZhunBei_DT='" + q(ZB_DT) + "',ZhunBei_Ren_ID=" + num(ZB_Ren_ID) + amount +
           " where ID=" + num(BT_id) + " and B_SF=" + num(B_SF_Code::Prepared);
}

bool BTService::Update_info(const std::string& BT_id, const std::string& ZB_DT, std::int32_t ZB_Ren_ID,
                            std::int32_t B_JinE, std::int32_t B_Ci, BtAmount form) {
    return base_.Exec_Sql(updateInfoStatement(BT_id, ZB_DT, ZB_Ren_ID, B_JinE, B_Ci, form));
}

bool BTService::Update_info_Rows(const std::vector<BtValue>& rows, const std::string& ZB_DT, std::int32_t ZB_Ren_ID,
                                 BtAmount form, std::vector<bool>* Stored) {
    std::vector<std::string> updates;
    updates.reserve(rows.size());
    for (const BtValue& r : rows)
        updates.push_back(updateInfoStatement(r.BT_id, ZB_DT, ZB_Ren_ID, r.value, r.value, form));
    std::vector<bool> written(updates.size(), false);
    if (!updates.empty())
        base_.Run_Write_Trans([&](db::Connection& con) {
            for (std::size_t i = 0; i < updates.size(); ++i) written[i] = con.execute(updates[i]) > 0;
        });
    if (Stored) *Stored = std::move(written);
    return true;
}

DataList BTService::select_BuTie_OK(const std::string& pID, std::int32_t year, std::int32_t month,
                                    const std::string& Ci, const std::string& J_Is_Ling,
                                    const std::string& C_Is_Ling) {
    std::string sql = "select ID,B_JinE,B_Ci,Card_Number from BuTie_OK where Pinfo_ID=" + num(pID) + " and " +
                      "B_Year=" + num(year) + " and B_Month=" + num(month) + " and B_Times=" + num(Ci) +
                      " and B_SF=-1";
    if (!J_Is_Ling.empty()) sql += " and B_JinE=0";
    if (!C_Is_Ling.empty()) sql += " and B_Ci=0";
    return base_.Get_DataList(sql);
}

DataList BTService::select_BuTie_OK_Batch(std::int32_t year, std::int32_t month, const std::string& Ci,
                                          const std::string& J_Is_Ling, const std::string& C_Is_Ling) {
    std::string sql = "select Pinfo_ID,ID,B_JinE,B_Ci,Card_Number from BuTie_OK where B_Year=" + num(year) +
                      " and B_Month=" + num(month) + " and B_Times=" + num(Ci) + " and B_SF=-1";
    if (!J_Is_Ling.empty()) sql += " and B_JinE=0";
    if (!C_Is_Ling.empty()) sql += " and B_Ci=0";
    return base_.Get_DataList(sql + " order by ID");
}

DataList BTService::Get_BT_bydate(const std::string& year, const std::string& month, const std::string& Ci,
                                  const std::string& all) {
    std::string sql = "select ID,B_Unit,Pinfo_ID,B_Type from BuTie_OK where B_Year=" + num(year) +
                      " and B_Month=" + num(month) + " and B_Times=" + num(Ci);
    if (all.empty()) sql += " and B_SF=-1";
    return base_.Get_DataList(sql);
}

bool BTService::Delete_BT_OK(std::int32_t year, std::int32_t month, const std::string& BT_Ci) {
    return base_.Exec_Sql("delete from BuTie_OK where B_Year=" + num(year) + " and B_Month=" + num(month) +
                          " and B_Times=" + num(BT_Ci) + " and B_SF=-1");
}

std::int16_t BTService::Update_FF(const std::string& ZB_DT, std::int32_t ZB_Ren_ID, std::int32_t year,
                                  std::int32_t month, const std::string& Ci, const std::string& B_type) {
    const DataList terminals = base_.Get_DataList(
        "select BuTie_DuiYing.*,Mach_Info.Mach_No from BuTie_DuiYing,Mach_Info where "
        "BuTie_DuiYing.B_Type=" +
        num(B_type) + " and BuTie_DuiYing.Pinfo_id in (" + "select Pinfo_id from BuTie_OK where BuTie_OK.B_Year= " +
        num(year) + " and " + "BuTie_OK.B_Month= " + num(month) + " and BuTie_OK.B_Times=" + num(Ci) +
        " and BuTie_OK.B_SF=-1 ) and BuTie_DuiYing.Mach_id=Mach_Info.mach_id order by BuTie_DuiYing.ID");
    if (terminals.rowUBound() < 1) return 1;
    // An employee with several terminals of the kind gets the last one
    // listed: the one assigned last, on every engine.
    std::vector<std::string> employees;
    std::map<std::string, int> lastRow;
    for (int r = 1; r <= terminals.rowUBound(); ++r) {
        if (lastRow.find(terminals(r, 1)) == lastRow.end()) employees.push_back(terminals(r, 1));
        lastRow[terminals(r, 1)] = r;
    }
    // Only a row still prepared is handed over: one another office handed
    // out, a terminal took or an operator stopped since the list was read
    // keeps its state, so no subsidy goes to a terminal twice.
    for (const std::string& pinfo : employees) {
        const int r = lastRow[pinfo];
        const bool ok = base_.Exec_Sql("update BuTie_OK set ZhunBei_DT='" + q(ZB_DT) + "',ZhunBei_Ren_ID=" +
                                       num(ZB_Ren_ID) + ",B_SF=0, " + " Mach_ID=" + num(terminals(r, 2)) +
                                       ",Mach_No='" + q(terminals(r, 4)) + "' where B_Year=" + num(year) +
                                       " and B_Month=" + num(month) + " and B_Times=" + num(Ci) +
                                       " and Pinfo_ID=" + num(pinfo) + " and B_SF=" + num(B_SF_Code::Prepared));
        if (!ok) return 0;
    }
    return 2;
}

DataList BTService::Get_BT_bydate_ID(const std::string& year, const std::string& month, const std::string& Ci) {
    return base_.Get_DataList("select * from BuTie_OK where B_Year=" + num(year) + " and B_Month=" + num(month) +
                              " and B_Times=" + num(Ci) + " and B_SF=0");
}

bool BTService::Update_FF_ID(const std::string& P_id, const std::string& ZB_DT, std::int32_t ZB_Ren_ID,
                             std::int32_t year, std::int32_t month, const std::string& Ci, const std::string& B_Sf) {
    return base_.Exec_Sql("update BuTie_OK set ZhunBei_DT='" + q(ZB_DT) + "',ZhunBei_Ren_ID=" + num(ZB_Ren_ID) +
                          ",B_SF=" + num(B_Sf) + " where B_Year=" + num(year) + " and B_Month=" + num(month) +
                          " and B_Times=" + num(Ci) + " and Pinfo_ID=" + num(P_id));
}

bool BTService::Update_ID_BT_J(const std::string& Card_ID, const std::string& YuE_New) {
    return base_.Exec_Sql("update Card_Info set C_YuE_ID=" + num(YuE_New) + "  where ID=" + num(Card_ID));
}

bool BTService::Update_ID_BT_Ci(const std::string& Card_ID, const std::string& YuCi_New) {
    return base_.Exec_Sql("update Card_Info set C_YuCi_ID=" + num(YuCi_New) + " where ID=" + num(Card_ID));
}

bool BTService::Stop_FF_BT(std::int32_t ZB_Ren_ID, const std::string& FaFang_DT, std::int32_t year,
                           std::int32_t month, const std::string& Ci) {
    return base_.Exec_Sql("update BuTie_OK set ZhunBei_Ren_ID=" + num(ZB_Ren_ID) + ",FaFang_DT='" + q(FaFang_DT) +
                          "'," + "B_SF=4 where B_Year=" + num(year) + " and B_Month=" + num(month) +
                          " and B_Times=" + num(Ci) + " and (" + "B_SF=0 or B_SF=3 or B_SF=1" + ")");
}

namespace {

// A number from a listed text; NULL for an empty one.
std::string numOrNull(const std::string& text) { return text.empty() ? "NULL" : num(text); }

// A balance read back; an empty one cannot be credited.
std::int64_t balanceOf(const db::Value& v) {
    if (v.isNull()) throw db::DbError("Card_Info balance is NULL");
    return v.toInt64();
}

}  // namespace

BTService::ID_Credit_Result BTService::Credit_ID_BT(const ID_Credit& c) {
    base_.Open_DB_Con();
    db::Connection& con = *base_.DB_Con;
    const db::CloseOnExit closing(con);
    return Credit_ID_BT(con, c);
}

bool BTService::Park_ID_BT(const std::string& BT_ID, std::int16_t From_SF, const std::string& ZB_DT,
                           std::int32_t ZB_Ren_ID) {
    base_.Open_DB_Con();
    const db::CloseOnExit closing(*base_.DB_Con);
    return Park_ID_BT(*base_.DB_Con, BT_ID, From_SF, ZB_DT, ZB_Ren_ID);
}

DataList BTService::select_BT_OK_2(const std::string& pID, std::int32_t year, std::int32_t month,
                                   const std::string& Ci, std::int32_t Unit) {
    std::string sql = "select * from BuTie_OK where Pinfo_ID=" + num(pID) + " and B_Times>0 ";
    if (year != 0) sql += " and B_Year=" + num(year);
    if (month != 0) sql += " and B_Month=" + num(month);
    if (Unit != 0) sql += " and B_Unit=" + num(Unit);
    if (!Ci.empty()) sql += " and B_Times=" + num(Ci);
    return base_.Get_DataList(sql);
}

DataList BTService::select_BT_OK_3(std::int32_t year, std::int32_t Ren_ID, std::int32_t month,
                                   const std::string& Ci) {
    std::string sql = "select * from BuTie_OK where B_Times>0 and B_Year=" + num(year);
    if (Ren_ID != 0) sql += " and ZhunBei_Ren_ID=" + num(Ren_ID);
    if (month != 0) sql += " and B_Month=" + num(month);
    if (!Ci.empty()) sql += " and B_Times=" + num(Ci);
    return base_.Get_DataList(sql);
}

// In order: the first is the one a window starts with, on either engine.
DataList BTService::Get_Year() { return base_.Get_DataList("select distinct B_Year from BuTie_OK order by B_Year"); }

DataList BTService::Get_HZ(std::int32_t year, std::int32_t month, const std::string& Ci) {
    std::string sql = "select * from BuTie_OK where B_Year=" + num(year) + " and B_Month=" + num(month) +
                      " and (B_JinE>0 or B_Ci>0)" + "and B_SF<>-1 ";
    if (!Ci.empty()) sql += " and B_Times=" + num(Ci);
    return base_.Get_DataList(sql + " order by ZhunBei_Ren_ID");
}

BTService::ID_Credit_Result BTService::Credit_ID_BT(db::Connection& con, const ID_Credit& c) {
    const bool times = c.B_Unit == B_Unit_Code::ID_Times;
    const char* balance = times ? "C_YuCi_ID" : "C_YuE_ID";
    // Under the write lock the balance read back is the one this credit made;
    // inside a batch this is a savepoint of it.
    db::Transaction t(con);
    // The state condition makes a second grant of the row write nothing.
    if (con.execute("update BuTie_OK set ZhunBei_DT='" + q(c.ZB_DT) + "',ZhunBei_Ren_ID=" + num(c.ZB_Ren_ID) +
                    ",B_SF=" + num(B_SF_Code::Credited) + " where ID=" + num(c.BT_ID) +
                    " and B_SF=" + num(c.From_SF)) == 0)
        return ID_Credit_Result::Not_In_State;
    const auto amounts = con.openRecordset("select B_JinE,B_Ci from BuTie_OK where ID=" + num(c.BT_ID));
    const std::int64_t jine = amounts->field(0).toInt64(), ci = amounts->field(1).toInt64();
    const std::int64_t added = times ? ci : jine;
    if (con.execute(std::string("update Card_Info set ") + balance + "=" + balance + "+" + num(added) +
                    " where ID=" + num(c.Card_ID) + " and Card_Model=1 and C_GuaShi=0") == 0)
        return ID_Credit_Result::No_Card;
    const auto now = con.openRecordset("select C_YuE_ID,C_YuCi_ID from Card_Info where ID=" + num(c.Card_ID));
    const std::int64_t yuENew = balanceOf(now->field(0)), yuCiNew = balanceOf(now->field(1));
    const std::int64_t yuEOld = times ? yuENew : fenSub(yuENew, added);
    const std::int64_t yuCiOld = times ? fenSub(yuCiNew, added) : yuCiNew;
    con.execute(
        "insert into Record_XF(Mach_ID,Pinfo_id,Card_No_Lng,Shou_Kuan,C_LeiBie,XF_DIan_ID,XF_Type,XF_Meal,YuE_Old,"
        "YuE_Change,YuE_New,C_QuHao,Card_LiuShui,Mach_LiuShui,Date_Time,Card_No,YuCi_Change,Operator_id,XF_Unit,"
        "Ci_QuHao,Ci_LiuShui,YuCi_New,Err_Code) values(0," +
        num(c.Pinfo_id) + "," + numOrNull(c.Card_No_Lng) + ",''," + numOrNull(c.C_LeiBie) + ",0," +
        num(c.XF_Type) + ",0," + num(yuEOld) + "," + Signed_Change(jine) + "," + num(fenAdd(yuEOld, jine)) +
        ",0,0,0,'" + q(c.ZB_DT) + "','" + q(c.Card_No) + "'," + Signed_Change(ci) +
        // The operator and owner are fixed at 1: readers group these rows by them.
        ",1,1,0,0," + num(fenAdd(yuCiOld, ci)) + ",0)");
    t.commit();
    return ID_Credit_Result::Credited;
}

bool BTService::Park_ID_BT(db::Connection& con, const std::string& BT_ID, std::int16_t From_SF,
                           const std::string& ZB_DT, std::int32_t ZB_Ren_ID) {
    return con.execute("update BuTie_OK set ZhunBei_DT='" + q(ZB_DT) + "',ZhunBei_Ren_ID=" + num(ZB_Ren_ID) +
                       ",B_SF=" + num(B_SF_Code::Handed_Out) + " where ID=" + num(BT_ID) +
                       " and B_SF=" + num(From_SF)) > 0;
}

std::string BTService::IS_ID_Sql(const std::string& P_id) {
    return "select * from Card_Info where PInfo_id=" + num(P_id) + " and Card_Model=1 and C_GuaShi=0";
}

std::string BTService::IS_ID_Sql(const std::vector<std::string>& P_ids) {
    return "select * from Card_Info where PInfo_id in (" + sql::numList(P_ids) +
           ") and Card_Model=1 and C_GuaShi=0 order by ID";
}

std::vector<BTService::ID_Grant_Result> BTService::Grant_ID_BT(db::Connection& con,
                                                                const std::vector<ID_Grant_Row>& rows,
                                                                std::int16_t From_SF, std::int16_t B_Unit,
                                                                std::int16_t XF_Type, const std::string& ZB_DT,
                                                                std::int32_t ZB_Ren_ID) {
    std::vector<ID_Grant_Result> out;
    if (rows.empty()) return out;
    const bool times = B_Unit == B_Unit_Code::ID_Times;
    std::vector<std::string> batchIds, cardIds;
    for (const ID_Grant_Row& r : rows) {
        batchIds.push_back(r.BT_ID);
        if (!r.Card_ID.empty()) cardIds.push_back(r.Card_ID);
    }
    // The cards first, as a terminal on a server takes them, in one order
    // against another office; then what each row and card holds now.
    if (!cardIds.empty()) con.lockRows("Card_Info", "ID in (" + sql::numList(cardIds) + ") order by ID");
    struct Amount {
        std::int64_t jine, ci;
    };
    std::map<std::string, Amount> inState;
    for (auto rs = con.openRecordset("select ID,B_JinE,B_Ci from BuTie_OK where ID in (" + sql::numList(batchIds) +
                                     ") and B_SF=" + num(From_SF));
         !rs->eof(); rs->moveNext())
        inState[num(rs->field(0).toString())] = {rs->field(1).toInt64(), rs->field(2).toInt64()};
    struct Balance {
        db::Value money, times;
        bool credited = false;
    };
    std::map<std::string, Balance> usable;
    if (!cardIds.empty())
        for (auto rs = con.openRecordset("select ID,C_YuE_ID,C_YuCi_ID from Card_Info where ID in (" +
                                         sql::numList(cardIds) + ") and Card_Model=1 and C_GuaShi=0");
             !rs->eof(); rs->moveNext())
            usable[num(rs->field(0).toString())] = {rs->field(1), rs->field(2)};
    std::vector<std::string> credited, parked;
    std::string records, moneyCase, timesCase;
    std::map<std::string, std::int64_t> added;
    for (const ID_Grant_Row& r : rows) {
        const auto amount = inState.find(num(r.BT_ID));
        const auto card = r.Card_ID.empty() ? usable.end() : usable.find(num(r.Card_ID));
        if (amount == inState.end()) {
            out.push_back(ID_Grant_Result::Not_In_State);
        } else if (r.Card_ID.empty()) {
            parked.push_back(r.BT_ID);
            out.push_back(ID_Grant_Result::Parked);
        } else if (card == usable.end()) {
            out.push_back(ID_Grant_Result::No_Card);
        } else {
            // The balances before this row: the card's, less nothing, or what
            // the rows of the card before it added.
            const std::int64_t jine = amount->second.jine, ci = amount->second.ci;
            const std::int64_t yuEOld = balanceOf(card->second.money), yuCiOld = balanceOf(card->second.times);
            records += std::string(records.empty() ? "" : ",") + "(0," + num(r.Pinfo_id) + "," +
                       numOrNull(r.Card_No_Lng) + ",''," + numOrNull(r.C_LeiBie) + ",0," + num(XF_Type) + ",0," +
                       num(yuEOld) + "," + Signed_Change(jine) + "," + num(fenAdd(yuEOld, jine)) + ",0,0,0,'" +
                       q(ZB_DT) + "','" + q(r.Card_No) + "'," + Signed_Change(ci) + ",1,1,0,0," +
                       num(fenAdd(yuCiOld, ci)) + ",0)";
            const std::int64_t add = times ? ci : jine;
            if (times) card->second.times = db::Value(fenAdd(yuCiOld, add));
            else card->second.money = db::Value(fenAdd(yuEOld, add));
            added[num(r.Card_ID)] = fenAdd(added[num(r.Card_ID)], add);
            credited.push_back(r.BT_ID);
            out.push_back(ID_Grant_Result::Credited);
        }
    }
    const std::string stamp = "update BuTie_OK set ZhunBei_DT='" + q(ZB_DT) + "',ZhunBei_Ren_ID=" + num(ZB_Ren_ID) + ",B_SF=";
    if (!parked.empty())
        con.execute(stamp + num(B_SF_Code::Handed_Out) + " where ID in (" + sql::numList(parked) +
                    ") and B_SF=" + num(From_SF));
    if (credited.empty()) return out;
    con.execute(stamp + num(B_SF_Code::Credited) + " where ID in (" + sql::numList(credited) +
                ") and B_SF=" + num(From_SF));
    const char* balance = times ? "C_YuCi_ID" : "C_YuE_ID";
    std::string cases, cards;
    for (const auto& [id, sum] : added) {
        cases += " when " + id + " then " + num(sum);
        cards += (cards.empty() ? "" : ",") + id;
    }
    con.execute(std::string("update Card_Info set ") + balance + "=" + balance + "+(case ID" + cases +
                " end) where ID in (" + cards + ")");
    con.execute(
        "insert into Record_XF(Mach_ID,Pinfo_id,Card_No_Lng,Shou_Kuan,C_LeiBie,XF_DIan_ID,XF_Type,XF_Meal,YuE_Old,"
        "YuE_Change,YuE_New,C_QuHao,Card_LiuShui,Mach_LiuShui,Date_Time,Card_No,YuCi_Change,Operator_id,XF_Unit,"
        "Ci_QuHao,Ci_LiuShui,YuCi_New,Err_Code) values" + records);
    return out;
}

}  // namespace tolvenk
