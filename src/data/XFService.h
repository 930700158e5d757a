#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/BaseService.h"
#include "data/DataList.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"

namespace tolvenk {

// Queries and writers of the consumption windows: transactions, pick lists,
// people and cards, balances at a time, the card system, the settlement date
// and the summary-report names and formats. Text values go into the SQL
// through the quoting helper; numbers that arrive as text are checked.
class XFService {
public:
    void Set_strCN(const std::string& strCN) { base_.Set_LinkStr(strCN); }

    // The meal-period row XF_Can_Time.
    DataList Get_Can_Time();
    int Add_Can_Time(const std::vector<std::string>& Values);  // 0 added, -1 not
    bool Update_Can_Time(const std::vector<std::string>& Values);

    // People.
    DataList Get_Emp_Check(const std::string& Name, const std::string& Code, const std::string& CardNo);
    DataList Get_Emp_Check2(const std::string& DeptNo, const std::string& Code, const std::string& Name);

    // Transactions.
    DataList Get_XF_Info4(const std::string& PInfoID, const std::string& Prefix, const std::string& = {},
                          const std::string& = {});
    DataList is_All_bt(std::int32_t PInfoID, const std::string& YearMonth);
    DataList Get_XF_Info7_1(const std::string& DeptNo, const std::vector<std::string>& Types,
                            const std::string& DateFrom, const std::string& DateTo, std::int16_t TypeCount,
                            std::int32_t MachID, std::int32_t DianID, std::int32_t Unit, const std::string& Name,
                            const std::string& Code, const std::string& PNum);
    DataList Get_XF_Info7_2(const std::string& DeptNo, const std::vector<std::string>& Types,
                            const std::string& DateFrom, const std::string& DateTo, std::int16_t TypeCount,
                            std::int32_t MachID, std::int32_t DianID, std::int32_t Unit, const std::string& PInfoID);
    DataList Get_XF_Info2(const std::string& PInfoID, const std::string& CardNo, const std::string& AllFlag);
    DataList Get_XF_Info2_ID(const std::string& PInfoID, const std::string& CardNo, const std::string& AllFlag);
    DataList Get_XF_Info3_ID(const std::string& PInfoID, const std::string& CardNo, const std::string& AllFlag);
    std::shared_ptr<db::Recordset> Get_XF_Info5(const std::string& DateFrom, const std::string& DateTo);

    // Pick lists.
    DataList Get_XF_Machs();
    DataList Get_XF_Dians();
    DataList Get_Sys_User();
    DataList Get_ShouKuan();
    DataList Get_Unit(const std::string& UnitID);
    DataList Get_All_Dept1();

    // Cards.
    std::string Get_Card_BianHao(const std::string& CardNo);
    DataList Get_Card_No2(const std::string& PInfoID, const std::string& CardNo);
    std::shared_ptr<db::Recordset> Cha_KaNo(std::int32_t PInfoID);
    // The same on `On`, a session the caller keeps for a run of short reads.
    static std::shared_ptr<db::Recordset> Cha_KaNo(db::Connection& On, std::int32_t PInfoID);
    bool Update_ID_C_J(const std::string& CardID, std::int64_t Amount, std::int64_t Count, const std::string& Time);
    bool Update_Card_Yu(std::int32_t PInfoID, const std::string& CardNo, const std::string& Field, std::int32_t Value);

    // Balances at a time.
    std::shared_ptr<db::Recordset> Cha_YeE(std::int32_t PInfoID, const std::string& DateTime);
    std::shared_ptr<db::Recordset> Cha_YeE_ID_2(std::int32_t PInfoID, const std::string& DateTime);
    // The rows Cha_YeE_ID_2 sums, for a sum the engine cannot hold in 64 bits.
    std::shared_ptr<db::Recordset> Cha_YeE_ID_Rows(std::int32_t PInfoID, const std::string& DateTime);
    std::shared_ptr<db::Recordset> Cha_JinE(std::int32_t PInfoID, const std::string& CardNo, const std::string& LiuShui);
    std::shared_ptr<db::Recordset> Cha_YeE1(const std::string& PInfoID, const std::string& CardNo,
                                            const std::string& DateTime);
    // Cha_JinE and Cha_YeE1 on `On`, as Cha_KaNo.
    static std::shared_ptr<db::Recordset> Cha_JinE(db::Connection& On, std::int32_t PInfoID, const std::string& CardNo,
                                                   const std::string& LiuShui);
    static std::shared_ptr<db::Recordset> Cha_YeE1(db::Connection& On, const std::string& PInfoID,
                                                   const std::string& CardNo, const std::string& DateTime);
    // A session of its own for a run of short reads, kept by the caller:
    // each read of this service otherwise opens one (a server's log-in, a
    // file's schema read).
    std::shared_ptr<db::Connection> Open_Session() { return base_.Open_Session(); }

    // Writers of Record_XF.
    bool Add_XF_QL(const std::vector<std::string>& Values);
    bool add_YuE_ZF(std::int32_t PInfoID, std::int32_t XFType, std::int32_t Amount, const std::string& DateTime,
                    const std::string& CardNo, std::int32_t CLeiBie, std::int32_t OperatorID);
    // The statement add_YuE_ZF runs, for writers that need it inside a transaction of their own.
    static std::string add_YuE_ZF_Sql(std::int32_t PInfoID, std::int32_t XFType, std::int64_t Amount,
                                      const std::string& DateTime, const std::string& CardNo, std::int32_t CLeiBie,
                                      std::int32_t OperatorID);
    // The voids of many cards in one statement, in their order: each the row
    // add_YuE_ZF_Sql writes for it.
    struct YuE_ZF_Row {
        std::int32_t PInfoID = 0;
        std::int64_t Amount = 0;
        std::string CardNo;
        std::int32_t CLeiBie = 0;
    };
    static std::string add_YuE_ZF_Rows_Sql(std::int32_t XFType, const std::string& DateTime, std::int32_t OperatorID,
                                           const std::vector<YuE_ZF_Row>& rows);

    // Parameters and report names.
    // Card_Sys_Mode: 0 without a 'Sys_Config' row; a P2 that is no number
    // is refused (Card_Sys_Mode::read).
    std::int32_t Get_is_IC();
    std::string JieSuan_Date();
    // The cut-off ("yyyy-MM-dd") a settlement run was going to when it did
    // not finish (stopped, failed or killed); "" when the last run finished
    // or a run is going on now.
    std::string JieSuan_Unfinished();
    // The cut-off of a run that has not recorded it ("" when the last run
    // did), and whether a run, in any office, holds the settlement now: then
    // it is going on, not unfinished.
    struct Settlement_Pending {
        std::string target;
        bool running = false;
    };
    Settlement_Pending JieSuan_Pending();
    std::string JieSuan_Month();
    std::string HZ_Rep_Name(std::int16_t Index);
    std::int16_t HZ_Rep_Name2(DataList& Rows);
    std::string Get_HZ_Rep_Format(int Index);

    // The month-end clearing's listing, one grouped statement each for the
    // employees of PInfoIDs. Per employee with rows: Fen and Ci, the sums of
    // YuE_Change and YuCi_Change of his transactions whose Date_Time starts
    // with Prefix, of the kinds SpendKinds, without a card or times serial;
    // read in pieces of the month (an employee in a row per piece, to be
    // added up) where a long read keeps terminals out.
    DataList QL_Spent(const std::vector<std::int64_t>& PInfoIDs, const std::string& Prefix,
                      const std::vector<int>& SpendKinds);
    // Per employee with batch rows of the year and month: Fen and Ci of the
    // subsidy rows (B_Times above 0) in state CreditedState, Markers counting
    // the clearing markers (B_Times 0 or below, or none) and Cleared_Fen,
    // Cleared_Ci summed from them.
    DataList QL_Batches(const std::vector<std::int64_t>& PInfoIDs, std::int64_t Year, std::int64_t Month,
                        std::int64_t CreditedState);

    // The ID balances of the employees of PInfoIDs up to DateTime, in one
    // grouped statement: per employee with rows Pinfo_id, YuE_New (the sum of
    // his valid money changes) and Date_Time (the latest).
    // With Everyone, the rows of every employee instead, read in time order
    // rather than employee by employee along the index: for a choice that
    // holds most of the company.
    std::shared_ptr<db::Recordset> Cha_YeE_ID_All(const std::vector<std::int64_t>& PInfoIDs,
                                                  const std::string& DateTime, bool Everyone = false);
    // The same rows' spread: per employee N (money changes counted), Lo and Hi
    // (the least and the greatest).
    std::shared_ptr<db::Recordset> Cha_YeE_ID_Spread(const std::vector<std::int64_t>& PInfoIDs,
                                                     const std::string& DateTime);

    // The IC balances of the employees of PInfoIDs up to DateTime, in one
    // statement: each one's last valid card record (of several at his last
    // Date_Time the highest ID), with Pinfo_id, ID, Date_Time, YuE_New and
    // YuCi_New, in the order of ID.
    std::shared_ptr<db::Recordset> Cha_YeE_All(const std::vector<std::int64_t>& PInfoIDs,
                                               const std::string& DateTime);
    // The employees of the company, those who left too.
    std::int64_t Count_Employees();

    // The kinds and period of Get_XF_Info5, only the fields the employee
    // statistics sum, read as they are asked for: PInfo_id, Date_Time,
    // XF_Type, YuE_Change, YuCi_Change, XF_Meal.
    std::unique_ptr<db::RowCursor> Get_XF_Info5_Rows(const std::string& DateFrom, const std::string& DateTo);
    // The rows of Get_XF_Info7_1 or Get_XF_Info7_2 (the same arguments; a
    // person of "" on the first path's shape when `PerPerson`) as they are
    // asked for, on a session of their own.
    std::unique_ptr<db::RowCursor> Get_XF_Info7_Rows(bool PerPerson, const std::string& DeptNo,
                                                     const std::vector<std::string>& Types,
                                                     const std::string& DateFrom, const std::string& DateTo,
                                                     std::int16_t TypeCount, std::int32_t MachID, std::int32_t DianID,
                                                     std::int32_t Unit, const std::string& Name,
                                                     const std::string& Code, const std::string& PNum,
                                                     const std::string& PInfoID);
    // The records of Get_XF_Info5_Rows summed by the engine, a row per
    // PInfo_id, period key (the first `KeyLength` characters of Date_Time as
    // P; none when 0), XF_Type and XF_Meal: N records, MS the sum of
    // YuE_Change, TS the sum of YuCi_Change; read on `On`, a session the
    // caller keeps for a run of reads. Of the employees PInfoIDs alone, along
    // the person-and-date index; of everyone when there are none, in pieces
    // of the period on every engine (an employee and period then has a row
    // per piece, to be added up): a grouped statement hands over no group
    // before it has read its whole range.
    static std::unique_ptr<db::RowCursor> Get_XF_Info5_Sums(db::Connection& On, const std::string& DateFrom,
                                                            const std::string& DateTo, std::size_t KeyLength,
                                                            const std::vector<std::int64_t>& PInfoIDs);

private:
    std::string settlementP1();
    BaseService base_;
};

}  // namespace tolvenk
