#include "data/XFService.h"

#include <cmath>
#include <cstdio>

#include "data/CardSysMode.h"
#include "data/DetailPeople.h"
#include "data/Globals.h"
#include "data/HzRepDefaults.h"
#include "data/IcSettlementRun.h"
#include "data/RecordXf.h"
#include "data/SettlementDate.h"
#include "data/SqlPieces.h"
#include "data/TableColumns.h"
#include "data/XfTypeCode.h"
#include "platform/DateText.h"
#include "platform/FenMath.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"

namespace tolvenk {

namespace {

using sql::num;
using sql::likeEnd;
using sql::lit;
using sql::q;

// Column names that arrive as arguments are names, never SQL.
const std::string& columnName(const std::string& name) {
    if (name.empty() || name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_") !=
                            std::string::npos)
        throw db::DbError("Invalid column name [" + name + "]");
    return name;
}

// The file engine, given a list of kinds, reads each kind's rows along the
// kind index and sorts them all before the first shows, however common the
// kinds (consumption is most of a quarter). Kept off that index ("+") it reads
// the period in time order along IX_Record_XF_Date_Type, which holds the kind
// beside the date, so the first rows show at once; but a rare kind then costs
// a walk of the period's whole index. The server weighs the kinds by its
// statistics and needs no hint.
enum class Detail_Read { AsWritten, InTimeOrder };

// Kinds with fewer rows than this in the period are read along the kind index
// and sorted, and so are the listed people's along the person-and-date
// index: a sort this size takes a few hundredths of a second. More are read
// in time order: sorted, a small department's 400,000 rows of ten million
// kept the window waiting two seconds for its first.
constexpr int kFewRows = 10000;

// The chosen kinds as a condition.
std::string kindsCondition(const std::vector<std::string>& Types, std::int16_t TypeCount,
                           Detail_Read read = Detail_Read::AsWritten) {
    if (static_cast<std::size_t>(TypeCount) > Types.size()) throw db::DbError("Subscript out of range", 9);
    std::string sql = read == Detail_Read::InTimeOrder ? "+Record_XF.XF_Type in (" : "Record_XF.XF_Type in (";
    for (int i = 0; i < TypeCount; ++i) sql += num(Types[static_cast<std::size_t>(i)]) + (i + 1 < TypeCount ? "," : ")");
    return sql;
}

// The terminal, place, owner and kind parts shared by the detail queries.
std::string detailFilters(const std::vector<std::string>& Types, std::int16_t TypeCount, std::int32_t MachID,
                          std::int32_t DianID, std::int32_t Unit, Detail_Read read = Detail_Read::AsWritten) {
    std::string sql;
    if (MachID != 0) sql += " and Record_XF.Mach_ID=" + num(MachID);
    if (DianID != 0) sql += " and Record_XF.XF_Dian_ID=" + num(DianID);
    if (Unit != 0) sql += " and Record_XF.XF_Unit=" + num(Unit);
    if (TypeCount > 0) {
        sql += " and " + kindsCondition(Types, TypeCount, read);
    } else {
        sql += " and Record_XF.XF_Type <> 250";
    }
    return sql;
}

// The period part: bounds always inclusive; unticked uncertain records keep
// valid rows only. A piece of the period (db::ReadPieces) stands in for it.
std::string detailPeriod(const std::string& DateFrom, const std::string& DateTo, const std::string& piece = "") {
    std::string sql = piece.empty() ? " Record_XF.Date_Time>='" + q(DateFrom) + "' and Record_XF.Date_Time<='" +
                                          q(DateTo) + "'"
                                    : " " + piece;
    if (Uncertain_Flag == 1) sql += " and Record_XF.Err_Code = 0 ";
    return sql;
}

// The detail of a department's subtree, with its name, code and number filters.
std::string detailOfDepartment(const std::string& DeptNo, const std::vector<std::string>& Types,
                               const std::string& DateFrom, const std::string& DateTo, std::int16_t TypeCount,
                               std::int32_t MachID, std::int32_t DianID, std::int32_t Unit, const std::string& Name,
                               const std::string& Code, const std::string& PNum, const std::string& piece = "") {
    std::string sql =
        "select Record_XF.*,ren_per_info.Dept_No,ren_per_info.p_name,ren_per_info.p_code,ren_dept_info.Dept_Name,"
        "ren_dept_info.dept_no from Record_XF,ren_per_info,ren_dept_info where";
    sql += detailPeriod(DateFrom, DateTo, piece);
    sql += " and ren_per_info.dept_no=ren_dept_info.dept_no and record_xf.PInfo_id=ren_per_info.PInfo_id and "
           "  Record_XF.Pinfo_id in (Select Pinfo_id from Ren_Per_Info,Ren_Dept_Info where Ren_Per_Info.Dept_No like '" +
           lit(DeptNo) + "%" + likeEnd +
           " and ren_per_info.dept_no=ren_dept_info.dept_no and ren_dept_info.del_yn=0) and ren_dept_info.del_yn=0";
    sql += detailFilters(Types, TypeCount, MachID, DianID, Unit);
    if (!Name.empty()) sql += " and Ren_per_Info.P_Name like '%" + lit(Name) + "%" + likeEnd;
    if (!Code.empty()) sql += " and Ren_per_info.P_Code = '" + q(Code) + "'";
    if (!PNum.empty()) sql += " and Ren_per_info.P_Num like '%" + lit(PNum) + "%" + likeEnd;
    return sql + " order by Record_XF.Date_Time,record_XF.XF_Type,Record_XF.ID";
}

// The people of a department's detail: Get_XF_Info7_1's conditions on the
// person and the department, its names, one row per person and live
// department of the person's number.
std::string detailPeopleOfDepartment(const std::string& DeptNo, const std::string& Name, const std::string& Code,
                                     const std::string& PNum) {
    std::string sql =
        "select Ren_Per_Info.Pinfo_id,Ren_Per_Info.Dept_No,Ren_Per_Info.P_Name,Ren_Per_Info.P_Code,"
        "Ren_Dept_Info.Dept_Name,Ren_Dept_Info.Dept_No from Ren_Per_Info,Ren_Dept_Info where "
        "Ren_Per_Info.Dept_No=Ren_Dept_Info.Dept_No and Ren_Dept_Info.Del_YN=0 and Ren_Per_Info.Dept_No like '" +
        lit(DeptNo) + "%" + likeEnd;
    if (!Name.empty()) sql += " and Ren_Per_Info.P_Name like '%" + lit(Name) + "%" + likeEnd;
    if (!Code.empty()) sql += " and Ren_Per_Info.P_Code = '" + q(Code) + "'";
    if (!PNum.empty()) sql += " and Ren_Per_Info.P_Num like '%" + lit(PNum) + "%" + likeEnd;
    return sql + " order by Ren_Per_Info.Pinfo_id,Ren_Dept_Info.Dept_ID";
}

// The listed people: their condition, or one no row meets when nobody is listed.
std::string peopleCondition(const std::string& Ids, bool alongTheDate) {
    if (Ids.empty()) return "1=0";
    // "+": no index on the person, so that the engine reads along the date.
    return std::string(alongTheDate ? "+" : "") + "Record_XF.Pinfo_id in (" + Ids + ")";
}

// The transactions of the listed people alone. With the people named apart
// the statement is one table in time order; a join makes the server start
// from the people (it cannot tell how many a LIKE on a case-blind column
// keeps) and sort every row before the first.
std::string detailOfPeople(const std::string& People, const std::vector<std::string>& Types,
                           const std::string& DateFrom, const std::string& DateTo, std::int16_t TypeCount,
                           std::int32_t MachID, std::int32_t DianID, std::int32_t Unit, Detail_Read read,
                           const std::string& piece = "") {
    std::string sql = "select Record_XF.* from Record_XF where";
    sql += detailPeriod(DateFrom, DateTo, piece);
    sql += detailFilters(Types, TypeCount, MachID, DianID, Unit, read);
    sql += " and " + People;
    return sql + " order by Record_XF.Date_Time,record_XF.XF_Type,Record_XF.ID";
}

// Whether the people hold fewer than kFewRows rows in the period,
// counted along the person-and-date index no further than that.
std::string detailPeopleAreFew(const std::string& Ids, const std::string& DateFrom, const std::string& DateTo) {
    return "select count(*) from (select 1 from Record_XF where" + detailPeriod(DateFrom, DateTo) + " and " +
           peopleCondition(Ids, false) + " limit " + std::to_string(kFewRows) + ") as n";
}

// Whether the period holds at least kFewRows rows of the chosen kinds,
// counted along the kind index no further than that.
std::string detailKindsAreCommon(const std::vector<std::string>& Types, const std::string& DateFrom,
                                 const std::string& DateTo, std::int16_t TypeCount) {
    return "select count(*) from (select 1 from Record_XF where" + detailPeriod(DateFrom, DateTo) +
           detailFilters(Types, TypeCount, 0, 0, 0) + " limit " + std::to_string(kFewRows) + ")";
}

// The detail of one person, or of everyone without one.
std::string detailOfPerson(const std::vector<std::string>& Types, const std::string& DateFrom,
                           const std::string& DateTo, std::int16_t TypeCount, std::int32_t MachID,
                           std::int32_t DianID, std::int32_t Unit, const std::string& PInfoID,
                           Detail_Read read = Detail_Read::AsWritten, const std::string& piece = "") {
    std::string sql = "select Record_XF.* from Record_XF where";
    sql += detailPeriod(DateFrom, DateTo, piece);
    sql += detailFilters(Types, TypeCount, MachID, DianID, Unit, read);
    if (!PInfoID.empty()) sql += " and Record_XF.Pinfo_id=" + num(PInfoID);
    return sql + " order by Record_XF.Date_Time,record_XF.XF_Type,Record_XF.ID";
}

// The main connection waits without limit while a long detail query runs.
class MainTimeoutLifted {
public:
    MainTimeoutLifted() {
        if (Conn_Main) Conn_Main->setCommandTimeout(0);
    }
    ~MainTimeoutLifted() {
        if (Conn_Main) Conn_Main->setCommandTimeout(60);
    }
};

const char* const kRecordXfColumnList =
    "Mach_ID,Pinfo_id,Card_No_Lng,Shou_Kuan,C_LeiBie,XF_DIan_ID,XF_Type,XF_Meal,YuE_Old,YuE_Change,YuE_New,"
    "C_QuHao,Card_LiuShui,"
    "Mach_LiuShui,Date_Time,Card_No,YuCi_Change,Operator_id,XF_Unit,Ci_QuHao,Ci_LiuShui,YuCi_New,Err_Code,Rec_Time,"
    "DC_Date";

}  // namespace

DataList XFService::Get_Can_Time() { return base_.Get_DataList("select * from XF_Can_Time"); }

int XFService::Add_Can_Time(const std::vector<std::string>& Values) {
    return base_.Add_DataByIndex("XF_Can_Time", 0, Values, "") ? 0 : -1;
}

bool XFService::Update_Can_Time(const std::vector<std::string>& v) {
    if (v.size() < 12) throw db::DbError("Subscript out of range", 9);
    return base_.Exec_Sql("Update XF_Can_Time set Zao_1='" + q(v[0]) + "',Zao_2='" + q(v[1]) + "',Zhong_1='" + q(v[2]) +
                          "',Zhong_2='" + q(v[3]) + "',Wan_1='" + q(v[4]) + "',Wan_2='" + q(v[5]) + "',Ye_1='" +
                          q(v[6]) + "',Ye_2='" + q(v[7]) + "',Xiao_1='" + q(v[8]) + "',Xiao_2='" + q(v[9]) +
                          "',Max_Money='" + q(v[10]) + "',Max_Ci='" + q(v[11]) + "'");
}

DataList XFService::Get_Emp_Check(const std::string& Name, const std::string& Code, const std::string& CardNo) {
    // With a card number: the people holding a Card_Log row of that card, each once.
    std::string sql = CardNo.empty() ? "select Ren_Per_info.*,Ren_Dept_info.Dept_Name "
                                     : "select distinct Ren_Per_info.*,Ren_Dept_info.Dept_Name ";
    sql += " from Ren_per_info,Ren_Dept_info ";
    if (!CardNo.empty()) sql += " ,Card_Log ";
    sql += " where Ren_Dept_info.Dept_ID=Ren_Per_info.Dept_ID ";
    if (!CardNo.empty())
        sql += " and Ren_Per_info.PInfo_id=Card_Log.PInfo_id  and Card_Log.Card_No='" + q(CardNo) + "' ";
    if (!Name.empty()) sql += " and Ren_Per_Info.P_Name= '" + q(Name) + "'";
    if (!Code.empty()) sql += " and Ren_Per_Info.P_Code='" + q(Code) + "'";
    return base_.Get_DataList(sql + " order by Ren_Per_Info.Del_YN DESC,Ren_Per_Info.PInfo_id");
}

DataList XFService::Get_Emp_Check2(const std::string& DeptNo, const std::string& Code, const std::string& Name) {
    std::string sql = "select * from Ren_Per_Info where Dept_No like '" + lit(DeptNo) + "%" + likeEnd + " and Del_YN=0";
    if (!Name.empty()) sql += " and P_Name like '%" + lit(Name) + "%" + likeEnd;
    if (!Code.empty()) sql += " and P_Code like '%" + lit(Code) + "%" + likeEnd;
    return base_.Get_DataList(sql + " order by Pinfo_ID");
}

DataList XFService::Get_XF_Info4(const std::string& PInfoID, const std::string& Prefix, const std::string&,
                                 const std::string&) {
    return base_.Get_DataList("select * from Record_XF where PInfo_id=" + num(PInfoID) + " and Date_Time like '" +
                              q(Prefix) + "%' order by ID ");
}

DataList XFService::is_All_bt(std::int32_t PInfoID, const std::string& YearMonth) {
    const auto month = static_cast<std::int64_t>(vbVal(YearMonth.size() > 5 ? YearMonth.substr(5, 2) : ""));
    const auto year = static_cast<std::int64_t>(vbVal(YearMonth.substr(0, 4)));
    return base_.Get_DataList("select * from BuTie_OK where PInfo_id=" + num(PInfoID) + " and B_Month=" + num(month) +
                              " and B_Year = " + num(year) + " order by ID ");
}

DataList XFService::Get_XF_Info7_1(const std::string& DeptNo, const std::vector<std::string>& Types,
                                   const std::string& DateFrom, const std::string& DateTo, std::int16_t TypeCount,
                                   std::int32_t MachID, std::int32_t DianID, std::int32_t Unit,
                                   const std::string& Name, const std::string& Code, const std::string& PNum) {
    const std::string sql =
        detailOfDepartment(DeptNo, Types, DateFrom, DateTo, TypeCount, MachID, DianID, Unit, Name, Code, PNum);
    MainTimeoutLifted lifted;
    return base_.Get_DataList(sql);
}

DataList XFService::Get_XF_Info7_2(const std::string&, const std::vector<std::string>& Types,
                                   const std::string& DateFrom, const std::string& DateTo, std::int16_t TypeCount,
                                   std::int32_t MachID, std::int32_t DianID, std::int32_t Unit,
                                   const std::string& PInfoID) {
    const std::string sql = detailOfPerson(Types, DateFrom, DateTo, TypeCount, MachID, DianID, Unit, PInfoID);
    MainTimeoutLifted lifted;
    return base_.Get_DataList(sql);
}

DataList XFService::Get_XF_Info2(const std::string& PInfoID, const std::string& CardNo, const std::string& AllFlag) {
    std::string sql = "select Record_XF.* from Record_XF where ";
    // With no person the conditions must still join up: start from a true one.
    sql += PInfoID.empty() ? " 1=1 " : "  Record_XF.PInfo_id=" + num(PInfoID) + " ";
    if (!CardNo.empty()) sql += " and Record_XF.Card_No='" + q(CardNo) + "' ";
    if (AllFlag.empty()) sql += " and Record_XF.Err_Code = 0";
    return base_.Get_DataList(sql +
                              " order by Record_XF.Date_Time,Record_XF.XF_Type,Record_XF.Card_LiuShui,Record_XF.Ci_LiuShui,"
                              "Record_XF.ID");
}

DataList XFService::Get_XF_Info2_ID(const std::string& PInfoID, const std::string& CardNo, const std::string& AllFlag) {
    std::string sql = "select distinct Record_XF.*,Card_Info.Card_Number from Record_XF,Card_Info Where"
                      " Card_Info.Card_No=Record_XF.Card_No and Card_Info.Pinfo_id=Record_XF.PInfo_id "
                      " and Record_XF.Card_LiuShui<=0";
    if (!PInfoID.empty()) sql += " and Record_XF.PInfo_id=" + num(PInfoID) + " ";
    if (!CardNo.empty()) sql += " and Record_XF.Card_No='" + q(CardNo) + "' ";
    if (AllFlag.empty()) sql += " and Record_XF.Err_Code<>1";
    return base_.Get_DataList(sql + " and YuCi_Change=0 order by Record_XF.Date_Time,Record_XF.ID");
}

DataList XFService::Get_XF_Info3_ID(const std::string& PInfoID, const std::string& CardNo, const std::string& AllFlag) {
    std::string sql = "select distinct Record_XF.*,Card_Info.Card_Number,Mach_Info.Mach_Name  from Record_XF,"
                      "Card_Info,Mach_Info Where "
                      " Card_Info.Card_No=Record_XF.Card_No and Mach_Info.Mach_ID=Record_XF.Mach_ID and "
                      "Record_XF.PInfo_id=Card_Info.PInfo_id"
                      " and Record_XF.Ci_LiuShui<=0";
    if (!PInfoID.empty()) sql += " and Record_XF.PInfo_id=" + num(PInfoID) + " ";
    // The original text runs this piece straight on; a blank keeps it a statement.
    if (!CardNo.empty()) sql += " and Record_XF.Card_No='" + q(CardNo) + "' ";
    if (AllFlag.empty()) sql += " and Record_XF.Err_Code<>1";
    return base_.Get_DataList(sql + " and YuCi_Change>0 order by Record_XF.Date_Time,Record_XF.ID");
}

std::shared_ptr<db::Recordset> XFService::Get_XF_Info5(const std::string& DateFrom, const std::string& DateTo) {
    std::string sql = "select * from Record_XF where XF_Type in (" + XF_Kind_Group::sqlList(XF_Kind_Group::PersonalStatistics) + ") ";
    if (!DateFrom.empty()) sql += " and Date_Time >= '" + q(DateFrom) + "'";
    if (!DateTo.empty()) sql += " and Date_Time <= '" + q(DateTo) + "'";
    return base_.Get_DataList_ADO(sql);
}

DataList XFService::Get_XF_Machs() {
    return base_.Get_DataList("select * from Mach_Info where Del_YN=0 and Mach_Type>300 and Mach_Type<400");
}
DataList XFService::Get_XF_Dians() { return base_.Get_DataList("select * from XF_Dian_Info where Del_YN=0"); }
DataList XFService::Get_Sys_User() { return base_.Get_DataList("select * from Sys_User_Info where Del_YN=0"); }
DataList XFService::Get_ShouKuan() { return base_.Get_DataList("select * from XF_ShouKuan"); }
DataList XFService::Get_All_Dept1() {
    return base_.Get_DataList("select * from Ren_Dept_Info where Dept_Level<=1 and Del_YN=0");
}

DataList XFService::Get_Unit(const std::string& UnitID) {
    std::string sql = "select * from XF_Unit_Info where Del_YN=0";
    if (!UnitID.empty()) sql += " and XF_Unit_ID='" + q(UnitID) + "'";
    return base_.Get_DataList(sql);
}

std::string XFService::Get_Card_BianHao(const std::string& CardNo) {
    const DataList d = base_.Get_DataList("select C_BianHao from Card_Info where Card_No='" + q(CardNo) + "'");
    return d.rowUBound() >= 1 ? d(1, 0) : std::string();
}

DataList XFService::Get_Card_No2(const std::string& PInfoID, const std::string& CardNo) {
    std::string sql = "select distinct (Card_No),Card_Number,Date_Time from Card_Log where Pinfo_id=" + num(PInfoID);
    if (!CardNo.empty()) sql += " and Card_No='" + q(CardNo) + "'";
    return base_.Get_DataList(sql + " and Op_Type=0 order by Date_Time,Card_No,Card_Number");
}

namespace {

std::string chaKaNoSql(std::int32_t PInfoID) {
    return "select  * from card_log where op_Type=0 and Pinfo_id=" + num(PInfoID) + " order by Date_Time ";
}

std::string chaJinESql(std::int32_t PInfoID, const std::string& CardNo, const std::string& LiuShui) {
    return "select sum(YuE_Change) as YuE_C from Record_XF where Card_Liushui<>0 and Card_liushui<=" + num(LiuShui) +
           " and Pinfo_id=" + num(PInfoID) + " and Card_No='" + q(CardNo) + "'";
}

std::string chaYeE1Sql(const std::string& PInfoID, const std::string& CardNo, const std::string& DateTime) {
    return "select top 1 * from Record_XF where Card_Liushui<>0 and Date_Time<'" + q(DateTime) + "'" +
           " and Pinfo_ID=" + num(PInfoID) + " and Card_No='" + q(CardNo) + "' order by Card_Liushui Desc ";
}

}  // namespace

std::shared_ptr<db::Recordset> XFService::Cha_KaNo(std::int32_t PInfoID) {
    return base_.Get_DataList_ADO(chaKaNoSql(PInfoID));
}

std::shared_ptr<db::Recordset> XFService::Cha_KaNo(db::Connection& On, std::int32_t PInfoID) {
    return On.openRecordset(chaKaNoSql(PInfoID));
}

bool XFService::Update_ID_C_J(const std::string& CardID, std::int64_t Amount, std::int64_t Count,
                              const std::string& Time) {
    // A negative number in brackets, so "- -5" never becomes a comment.
    auto operand = [](std::int64_t v) { return v < 0 ? "(" + num(v) + ")" : num(v); };
    return base_.Exec_Sql("update Card_Info set C_YuCi_ID=C_YuCi_ID-" + operand(Count) + ",C_YuE_ID=C_YuE_ID-" +
                          operand(Amount) + ",ID_YuE_Now='" + q(Time) + "' where ID=" + num(CardID));
}

bool XFService::Update_Card_Yu(std::int32_t PInfoID, const std::string& CardNo, const std::string& Field,
                               std::int32_t Value) {
    return base_.Exec_Sql("Update Card_info set " + columnName(Field) + "=" + num(Value) + " where PInfo_id=" +
                          num(PInfoID) + " and Card_No='" + q(CardNo) + "'");
}

std::shared_ptr<db::Recordset> XFService::Cha_YeE(std::int32_t PInfoID, const std::string& DateTime) {
    return base_.Get_DataList_ADO("select top 1 * from Record_XF where Card_Liushui<>0 and Date_Time<='" + q(DateTime) +
                                  "'" + " and Err_Code=0 and Pinfo_id=" + num(PInfoID) + " order by Date_Time Desc ");
}

std::shared_ptr<db::Recordset> XFService::Cha_YeE_ID_2(std::int32_t PInfoID, const std::string& DateTime) {
    return base_.Get_DataList_ADO(
        "select sum(YuE_Change)as YuE_New,max(Date_Time)as Date_Time,sum(YuCi_New) AS YuCi_New from Record_XF "
        "where Date_Time<='" +
        q(DateTime) + "'" + " and Err_Code=0 and Pinfo_id=" + num(PInfoID) + " order by Date_Time Desc ");
}

std::shared_ptr<db::Recordset> XFService::Cha_YeE_ID_Rows(std::int32_t PInfoID, const std::string& DateTime) {
    return base_.Get_DataList_ADO("select YuE_Change,Date_Time from Record_XF where Date_Time<='" + q(DateTime) + "'" +
                                  " and Err_Code=0 and Pinfo_id=" + num(PInfoID));
}

std::shared_ptr<db::Recordset> XFService::Cha_JinE(std::int32_t PInfoID, const std::string& CardNo,
                                                   const std::string& LiuShui) {
    return base_.Get_DataList_ADO(chaJinESql(PInfoID, CardNo, LiuShui));
}

std::shared_ptr<db::Recordset> XFService::Cha_JinE(db::Connection& On, std::int32_t PInfoID, const std::string& CardNo,
                                                   const std::string& LiuShui) {
    return On.openRecordset(chaJinESql(PInfoID, CardNo, LiuShui));
}

std::shared_ptr<db::Recordset> XFService::Cha_YeE1(const std::string& PInfoID, const std::string& CardNo,
                                                   const std::string& DateTime) {
    return base_.Get_DataList_ADO(chaYeE1Sql(PInfoID, CardNo, DateTime));
}

std::shared_ptr<db::Recordset> XFService::Cha_YeE1(db::Connection& On, const std::string& PInfoID,
                                                   const std::string& CardNo, const std::string& DateTime) {
    return On.openRecordset(chaYeE1Sql(PInfoID, CardNo, DateTime));
}

bool XFService::Add_XF_QL(const std::vector<std::string>& Values) {
    return base_.Add_DataByIndex("Record_XF", 1, Values, kRecordXfColumnList);
}

bool XFService::add_YuE_ZF(std::int32_t PInfoID, std::int32_t XFType, std::int32_t Amount,
                           const std::string& DateTime, const std::string& CardNo, std::int32_t CLeiBie,
                           std::int32_t OperatorID) {
    return base_.Exec_Sql(add_YuE_ZF_Sql(PInfoID, XFType, Amount, DateTime, CardNo, CLeiBie, OperatorID));
}

namespace {

const char* const kYuE_ZF_Columns =
    "insert into Record_XF(Mach_ID,Pinfo_id,Card_No_Lng,C_LeiBie,XF_Dian_ID,"
    "XF_Type,XF_Meal,YuE_Old,YuE_Change,YuE_New,C_QuHao,Card_LiuShui,"
    "Mach_LiuShui,Date_Time,Card_No,YuCi_Change,Operator_id,XF_Unit,"
    "Ci_QuHao,Ci_LiuShui,YuCi_New,Err_Code,Rec_Time,DC_Date,Shui_Change,IS_ShuiKong)";

}  // namespace

std::string XFService::add_YuE_ZF_Sql(std::int32_t PInfoID, std::int32_t XFType, std::int64_t Amount,
                                      const std::string& DateTime, const std::string& CardNo, std::int32_t CLeiBie,
                                      std::int32_t OperatorID) {
    // The void takes the whole balance: before = -Amount, change = Amount, after = 0.
    const std::int64_t before = fenNeg(Amount);
    return std::string(kYuE_ZF_Columns) + "values (0," + num(PInfoID) + ",0," + num(CLeiBie) + ",0," + num(XFType) +
           ",0," + num(before) + "," + num(Amount) + ",0,0,0,-3,'" + q(DateTime) + "','" + q(CardNo) + "',0," +
           num(OperatorID) + ",0,0,0,0,0,'','',0,0)";
}

// Only what differs from row to row is listed: a server plans every value
// of a list, and a list of whole rows cost it more than the writes.
std::string XFService::add_YuE_ZF_Rows_Sql(std::int32_t XFType, const std::string& DateTime, std::int32_t OperatorID,
                                           const std::vector<YuE_ZF_Row>& rows) {
    std::string values;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const YuE_ZF_Row& r = rows[i];
        values += (i ? ",(" : "(") + num(static_cast<std::int64_t>(i)) + "," + num(r.PInfoID) + "," + num(r.CLeiBie) +
                  "," + num(fenNeg(r.Amount)) + "," + num(r.Amount) + ",'" + q(r.CardNo) + "')";
    }
    return std::string(kYuE_ZF_Columns) + "select 0,column2,0,column3,0," + num(XFType) +
           ",0,column4,column5,0,0,0,-3,'" + q(DateTime) + "',column6,0," + num(OperatorID) +
           ",0,0,0,0,0,'','',0,0 from (values " + values + ") as v order by column1";
}

std::int32_t XFService::Get_is_IC() {
    const DataList d = base_.Get_DataList("select P2 from sys_para where Para_Name='Sys_Config'");
    if (d.rowUBound() < 1) return 0;
    return Card_Sys_Mode::read(d(1, 0));
}

std::string XFService::settlementP1() {
    const DataList d = base_.Get_DataList("select P1,P2 from Sys_Para where Para_Name = 'JieSuan_Date' ");
    return d.rowUBound() >= 1 ? d(1, 0) : std::string();
}

std::string XFService::JieSuan_Date() { return settlementDate(settlementP1()); }
std::string XFService::JieSuan_Month() { return settlementMonth(settlementP1()); }

// An unfinished run and one still going look alike in the row: the run's
// lock tells them apart.
XFService::Settlement_Pending XFService::JieSuan_Pending() {
    const DataList d = base_.Get_DataList("select P2,P3 from Sys_Para where Para_Name = 'JieSuan_Date' ");
    if (d.rowUBound() < 1 || d(1, 0) != "0") return {};
    const auto day = readDate(d(1, 1));
    if (!day) return {};
    return {formatDate(*day), base_.Lock_Held(IC_Settlement::kRunLock)};
}

std::string XFService::JieSuan_Unfinished() {
    const Settlement_Pending p = JieSuan_Pending();
    return p.running ? std::string() : p.target;
}

std::string XFService::HZ_Rep_Name(std::int16_t Index) {
    return Index >= 1 && Index <= 9 ? Lang[static_cast<std::size_t>(621 + Index)] : std::string();
}

std::int16_t XFService::HZ_Rep_Name2(DataList& Rows) {
    Rows = base_.Get_DataList(
        "select SubParaName,P1 from Sys_Para where Para_Name = 'HZ_Rep_Format' and SubParaName > '100' ");
    return static_cast<std::int16_t>(Rows.rowUBound());
}

std::string XFService::Get_HZ_Rep_Format(int Index) {
    std::string result = HZ_Default_Format(Index);
    char key[16];
    std::snprintf(key, sizeof key, "%03d", Index);
    const DataList d = base_.Get_DataList(
        std::string("select SubParaName,P2,P3,P4,P5 from Sys_Para where Para_Name = 'HZ_Rep_Format' and SubParaName = '") +
        key + "' ");
    if (d.rowUBound() >= 1) result = d(1, 1) + ";" + d(1, 2) + ";" + d(1, 3) + ";" + d(1, 4);
    return result;
}

namespace {

// The least text above every text that starts with `prefix` (bytewise, as
// both engines compare these columns): [prefix, prefixEnd) holds exactly the
// texts a LIKE 'prefix%' finds, as bounds an index serves. Empty when there
// is none.
std::string prefixEnd(std::string prefix) {
    while (!prefix.empty() && static_cast<unsigned char>(prefix.back()) == 0xFF) prefix.pop_back();
    if (!prefix.empty()) prefix.back() = static_cast<char>(static_cast<unsigned char>(prefix.back()) + 1);
    return prefix;
}

// The grouping key: for every employee "+Pinfo_id", which no index serves,
// so that the engine reads the rows in time order and groups them, instead
// of visiting the whole table employee by employee along the index.
std::string personOf(bool everyone) { return everyone ? "+Pinfo_id" : "Pinfo_id"; }

std::string peopleIn(const std::vector<std::int64_t>& people, bool everyone) {
    return everyone ? std::string() : "Pinfo_id in (" + sql::numList(people) + ") and ";
}

}  // namespace

DataList XFService::QL_Spent(const std::vector<std::int64_t>& PInfoIDs, const std::string& Prefix,
                             const std::vector<int>& SpendKinds) {
    if (PInfoIDs.empty() || SpendKinds.empty()) return {};
    std::vector<std::int64_t> kinds(SpendKinds.begin(), SpendKinds.end());
    const std::string end = prefixEnd(Prefix);
    const std::string head = "select Pinfo_id,sum(YuE_Change) as Fen,sum(YuCi_Change) as Ci from Record_XF where Pinfo_id in (" +
                             sql::numList(PInfoIDs) + ") and ";
    const std::string tail = " and XF_Type in (" + sql::numList(kinds) +
                             ") and coalesce(Card_LiuShui,0)<=0 and coalesce(Ci_LiuShui,0)<=0 group by Pinfo_id";
    // In pieces of the month where a long read keeps terminals out: an
    // employee then has a row per piece.
    return base_.Get_DataList(
        [&](const std::string& piece) {
            if (!piece.empty()) return head + piece + tail;
            return head + "Date_Time>='" + q(Prefix) + "'" + (end.empty() ? "" : " and Date_Time<'" + q(end) + "'") +
                   tail;
        },
        end.empty() ? db::Pieces_Along{} : db::Pieces_Along{"Record_XF", "Date_Time", Prefix, end, false});
}

DataList XFService::QL_Batches(const std::vector<std::int64_t>& PInfoIDs, std::int64_t Year, std::int64_t Month,
                               std::int64_t CreditedState) {
    if (PInfoIDs.empty()) return {};
    const std::string subsidy = "coalesce(B_Times,0)>0 and B_SF=" + num(CreditedState), marker = "coalesce(B_Times,0)<=0";
    return base_.Get_DataList("select Pinfo_ID,sum(case when " + subsidy + " then B_JinE else 0 end) as Fen,sum(case when " +
                              subsidy + " then B_Ci else 0 end) as Ci,sum(case when " + marker +
                              " then 1 else 0 end) as Markers,sum(case when " + marker +
                              " then B_JinE else 0 end) as Cleared_Fen,sum(case when " + marker +
                              " then B_Ci else 0 end) as Cleared_Ci from BuTie_OK where Pinfo_ID in (" +
                              sql::numList(PInfoIDs) + ") and B_Month=" + num(Month) + " and B_Year=" + num(Year) +
                              " group by Pinfo_ID");
}

std::shared_ptr<db::Recordset> XFService::Cha_YeE_ID_All(const std::vector<std::int64_t>& PInfoIDs,
                                                         const std::string& DateTime, bool Everyone) {
    return base_.Get_DataList_ADO("select " + personOf(Everyone) +
                                  " as Pinfo_id,sum(YuE_Change) as YuE_New,max(Date_Time) as Date_Time from Record_XF "
                                  "where " +
                                  peopleIn(PInfoIDs, Everyone) + "Date_Time<='" + q(DateTime) +
                                  "' and Err_Code=0 group by " + personOf(Everyone));
}

std::shared_ptr<db::Recordset> XFService::Cha_YeE_ID_Spread(const std::vector<std::int64_t>& PInfoIDs,
                                                            const std::string& DateTime) {
    return base_.Get_DataList_ADO("select Pinfo_id,count(YuE_Change) as N,min(YuE_Change) as Lo,max(YuE_Change) as Hi "
                                  "from Record_XF where Pinfo_id in (" +
                                  sql::numList(PInfoIDs) + ") and Date_Time<='" + q(DateTime) +
                                  "' and Err_Code=0 group by Pinfo_id");
}

std::shared_ptr<db::Recordset> XFService::Cha_YeE_All(const std::vector<std::int64_t>& PInfoIDs,
                                                      const std::string& DateTime) {
    // Each person's last record is found backwards along his person-and-date
    // index, as his own statement found it: a probe per person, not a pass
    // over the period. Of several at his last time, the highest ID.
    return base_.Get_DataList_ADO(
        "select p.Pinfo_id,r.ID,r.Date_Time,r.YuE_New,r.YuCi_New from Ren_Per_Info p inner join Record_XF r on "
        "r.ID=(select top 1 x.ID from Record_XF x where x.Pinfo_id=p.Pinfo_id and x.Date_Time<='" +
        q(DateTime) + "' and x.Card_Liushui<>0 and x.Err_Code=0 order by x.Date_Time desc,x.ID desc)" +
        " where p.Pinfo_id in (" + sql::numList(PInfoIDs) + ") order by r.ID");
}

std::int64_t XFService::Count_Employees() {
    const DataList n = base_.Get_DataList("select count(*) as N from Ren_Per_Info");
    return n.rowUBound() >= 1 ? fenOf(n(1, 0)) : 0;
}

std::unique_ptr<db::RowCursor> XFService::Get_XF_Info5_Rows(const std::string& DateFrom, const std::string& DateTo) {
    std::string sql = "select PInfo_id,Date_Time,XF_Type,YuE_Change,YuCi_Change,XF_Meal from Record_XF where XF_Type in (" +
                      XF_Kind_Group::sqlList(XF_Kind_Group::PersonalStatistics) + ") ";
    if (!DateFrom.empty()) sql += " and Date_Time >= '" + q(DateFrom) + "'";
    if (!DateTo.empty()) sql += " and Date_Time <= '" + q(DateTo) + "'";
    return base_.Open_Cursor(sql);
}

// The rows of Get_XF_Info7_1 and Get_XF_Info7_2 in their order; the first
// path's names are joined to its transactions here.
std::unique_ptr<db::RowCursor> XFService::Get_XF_Info7_Rows(bool PerPerson, const std::string& DeptNo,
                                                            const std::vector<std::string>& Types,
                                                            const std::string& DateFrom, const std::string& DateTo,
                                                            std::int16_t TypeCount, std::int32_t MachID,
                                                            std::int32_t DianID, std::int32_t Unit,
                                                            const std::string& Name, const std::string& Code,
                                                            const std::string& PNum, const std::string& PInfoID) {
    const std::string link = base_.Get_LinkStr().empty() ? strCN : base_.Get_LinkStr();
    const bool file = db::ConnectionString(link).kind() == db::ConnectionString::Kind::FileDatabase;
    Detail_Read read = Detail_Read::AsWritten;
    bool rareKinds = false, few = false;
    std::shared_ptr<const Detail_People> people;
    std::string ids;
    // How many rows the read will find, and whose, on one session.
    base_.Read_On_One_Session([&](db::Connection& con) {
        const auto countOf = [&con](const std::string& sql) {
            const auto n = con.openCursor(sql);
            return n->next() ? n->field(0).toDouble() : 0.0;
        };
        if (TypeCount > 0 && file) {
            if (countOf(detailKindsAreCommon(Types, DateFrom, DateTo, TypeCount)) >= kFewRows)
                read = Detail_Read::InTimeOrder;
            else
                rareKinds = true;
        }
        if (PerPerson) return;
        {
            const auto rows = con.openCursor(detailPeopleOfDepartment(DeptNo, Name, Code, PNum));
            people = std::make_shared<const Detail_People>(*rows);
        }
        ids = people->idList();
        if (ids.empty() || rareKinds) {
            few = ids.empty();
            return;
        }
        // The first hundred people alone often hold that many: the list of
        // a whole company, thousands long, then needs no planning twice.
        constexpr std::size_t kFirstPeople = 100;
        few = countOf(detailPeopleAreFew(people->idList(kFirstPeople), DateFrom, DateTo)) < kFewRows &&
              (people->size() <= kFirstPeople || countOf(detailPeopleAreFew(ids, DateFrom, DateTo)) < kFewRows);
    });
    // In pieces of the period where a long read keeps terminals out; the
    // statement orders by time first, so the pieces follow one another. A
    // read of one person's rows, or of few people's, is counted in pieces
    // among their rows alone.
    db::Pieces_Along period{"Record_XF", "Record_XF.Date_Time", DateFrom, DateTo, true};
    if (rareKinds) period.within = kindsCondition(Types, TypeCount);
    if (PerPerson) {
        if (!PInfoID.empty()) period.within = "Record_XF.Pinfo_id=" + num(PInfoID);
        return base_.Open_Cursor(
            [=](const std::string& piece) {
                return detailOfPerson(Types, DateFrom, DateTo, TypeCount, MachID, DianID, Unit, PInfoID, read, piece);
            },
            period);
    }
    if (few) period.within = peopleCondition(ids, false);
    auto records = base_.Open_Cursor(
        [=, who = peopleCondition(ids, !few)](const std::string& piece) {
            return detailOfPeople(who, Types, DateFrom, DateTo, TypeCount, MachID, DianID, Unit, read, piece);
        },
        period);
    return Detail_People::joined(std::move(records), col::Record_XF::Pinfo_id, std::move(people));
}

std::unique_ptr<db::RowCursor> XFService::Get_XF_Info5_Sums(db::Connection& On, const std::string& DateFrom,
                                                            const std::string& DateTo, std::size_t KeyLength,
                                                            const std::vector<std::int64_t>& PInfoIDs) {
    const std::string key = KeyLength > 0 ? "left(Date_Time," + std::to_string(KeyLength) + ")" : std::string();
    const auto statement = [=](const std::string& piece) {
        std::string sql = "select PInfo_id," + (key.empty() ? std::string() : key + " as P,") +
                          "XF_Type,XF_Meal,count(*) as N,sum(YuE_Change) as MS,sum(YuCi_Change) as TS from Record_XF "
                          "where XF_Type in (" +
                          XF_Kind_Group::sqlList(XF_Kind_Group::PersonalStatistics) + ") ";
        if (!PInfoIDs.empty()) sql += " and Pinfo_id in (" + sql::numList(PInfoIDs) + ")";
        if (!piece.empty()) sql += " and " + piece;
        if (piece.empty() && !DateFrom.empty()) sql += " and Date_Time >= '" + q(DateFrom) + "'";
        if (piece.empty() && !DateTo.empty()) sql += " and Date_Time <= '" + q(DateTo) + "'";
        return sql + " group by PInfo_id," + (key.empty() ? std::string() : key + ",") + "XF_Type,XF_Meal";
    };
    if (!PInfoIDs.empty() || DateFrom.empty() || DateTo.empty()) return On.openCursor(statement(""));
    return On.openCursor(statement, db::Pieces_Along{"Record_XF", "Date_Time", DateFrom, DateTo, true, {}, true});
}

}  // namespace tolvenk
