#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "data/BaseService.h"
#include "data/DataList.h"

namespace tolvenk {

// Which amount Update_info stores: a row is edited for money or for times.
enum class BtAmount { Money, Times };

// Data service of the subsidy windows: batch rows (BuTie_OK), the subsidy
// terminal of each employee (BuTie_DuiYing) and the lookups they need.
class BTService {
public:
    void Set_strCN(const std::string& strCN) { base_.Set_LinkStr(strCN); }

    DataList Is_Ci();

    // Terminals, positions, operators.
    DataList Get_Mach_J();
    DataList Get_Mach_Ci();
    DataList Get_ZhiWei();
    DataList Cha_Time();
    DataList Get_CZ_Name(const std::string& CZ_Ren_ID);
    DataList All_CZ_Name();

    // Employees and departments.
    DataList Get_Emp_ByDept(const std::string& str_dept);
    DataList Get_Emp_Check_All(const std::string& Dept_No, const std::string& pName, const std::string& pCode,
                               const std::string& pID);
    DataList Get_Emp_Check_All_ID(const std::string& Dept_No, const std::string& pName, const std::string& pCode,
                                  const std::string& pID);
    DataList Get_Emp_Check(const std::string& Dept_No, const std::string& pName, const std::string& pCode,
                           const std::string& pID);
    DataList Get_All_Emp();
    DataList Get_Dept_No(const std::string& Dept_No, const std::string& last_dept_no);
    DataList IS_ID(const std::string& P_id);

    // Transactions.
    DataList Cha_Ka(std::int32_t Pinfo_id, const std::string& Card_No, const std::string& Card_Liushui_Max);
    // The same rows on `On`, a session the caller keeps for a run of reads, as stored.
    static std::shared_ptr<db::Recordset> Cha_Ka(db::Connection& On, std::int32_t Pinfo_id, const std::string& Card_No,
                                                 const std::string& Card_Liushui_Max);
    // The IC balance correction row; the arguments follow the column order,
    // and those the row does not take are accepted and ignored.
    struct CorrectionRow {
        std::int32_t PinfoID = 0;
        std::int16_t c_leibie = 0;
        std::int16_t XF_Type = 0;
        std::int32_t YuE_Change = 0;
        std::int32_t YuE_New = 0;
        std::int16_t C_QuHao = 0;
        std::int32_t Card_Liushui = 0;
        std::string Date_Time;
        std::string CardNo;
        std::int16_t Operator_id = 0;
        std::int32_t Ci_QuHao = 0;
        std::int16_t Err_Code = 0;
        std::string Rec_Time;
        std::string DC_Date;
    };
    bool insert_RecordXF(const CorrectionRow& row);
    // Writes the correction under the write lock, unless `nth` rows like it
    // (the card's correction rows at its serial and second, bridging to its
    // balance) are there already: a break met again, or mended meanwhile by
    // another office; false then. `nth`: which of the breaks this pass met
    // that such a row bridges. Its Rec_Time is the database's time as it is
    // written. Errors pass.
    bool Mend_Break(const CorrectionRow& row, std::int64_t nth);
    bool Add_XF_BT_ID(const std::vector<std::string>& para);

    // An employee's subsidy terminals, in the order they were assigned.
    DataList Get_BT_DY(const std::string& infoID);
    // Subsidy terminals of the employees in gSelPInfoIDs(0..count); a site
    // ticks more employees than 16 bits count, so the last index is 64-bit.
    DataList select_DY(std::int64_t count);
    bool Delete_DY(std::int64_t count, std::int16_t B_type);
    bool Insert_DY(std::int16_t Mach_Id, std::int16_t B_type, std::int64_t count);
    // Delete (kind B_type, 0 = both) and insert (terminal, kind) pairs for the
    // selected employees in one transaction, so no one is left half assigned.
    // On a database error, Failed tells the statement: 0 the delete.
    bool Replace_DY(std::int64_t count, std::int16_t B_type,
                    const std::vector<std::pair<std::int32_t, std::int16_t>>& terminals,
                    std::size_t* Failed = nullptr);

    // Batch preparation and editing.
    bool Insert_info(const std::string& pID, const std::string& ZhunBei_DT, std::int32_t ZhunBei_Ren_ID,
                     std::int32_t B_JinE, std::int16_t B_Ci, std::int16_t B_Year, std::int16_t B_Month,
                     std::int16_t B_Times, std::int16_t B_type, std::int16_t B_Sf, std::int16_t B_Unit);
    bool Update_info(const std::string& BT_id, const std::string& ZB_DT, std::int32_t ZB_Ren_ID,
                     std::int32_t B_JinE, std::int32_t B_Ci, BtAmount form);
    DataList select_BuTie_OK(const std::string& pID, std::int32_t year, std::int32_t month, const std::string& Ci,
                             const std::string& J_Is_Ling, const std::string& C_Is_Ling);
    DataList Get_BT_bydate(const std::string& year, const std::string& month, const std::string& Ci,
                           const std::string& all);
    bool Delete_BT_OK(std::int32_t year, std::int32_t month, const std::string& BT_Ci);

    // A whole new batch: one prepared row (money and times 0) per employee,
    // written in one transaction that first makes sure the batch still does
    // not exist. False, writing nothing, when it does; a database error
    // rolls everything back and passes to the caller. With `refuseCleared`
    // (an ID batch) it is also refused, `*cleared` set, when the month's
    // clearing has been done meanwhile.
    bool Create_Batch(const std::vector<std::string>& pIDs, const std::string& ZhunBei_DT,
                      std::int32_t ZhunBei_Ren_ID, std::int16_t B_Year, std::int16_t B_Month, std::int16_t B_Times,
                      std::int16_t B_type, std::int16_t B_Unit, bool refuseCleared = false, bool* cleared = nullptr);
    // Pinfo_ID, ID, B_JinE, B_Ci, Card_Number of every prepared row of a
    // batch, by ID; the flags as select_BuTie_OK takes them.
    DataList select_BuTie_OK_Batch(std::int32_t year, std::int32_t month, const std::string& Ci,
                                   const std::string& J_Is_Ling, const std::string& C_Is_Ling);
    // Update_info for several rows (ID, money or times) in one transaction
    // under the write lock. A row that is no longer prepared (granted, handed
    // out or deleted by another office since it was listed) keeps what it
    // holds; Stored, when given, tells for each row whether it was written.
    struct BtValue {
        std::string BT_id;
        std::int32_t value;
    };
    bool Update_info_Rows(const std::vector<BtValue>& rows, const std::string& ZB_DT, std::int32_t ZB_Ren_ID,
                          BtAmount form, std::vector<bool>* Stored = nullptr);

    // Granting and stopping.
    std::int16_t Update_FF(const std::string& ZB_DT, std::int32_t ZB_Ren_ID, std::int32_t year, std::int32_t month,
                           const std::string& Ci, const std::string& B_type);
    DataList Get_BT_bydate_ID(const std::string& year, const std::string& month, const std::string& Ci);
    bool Update_FF_ID(const std::string& P_id, const std::string& ZB_DT, std::int32_t ZB_Ren_ID, std::int32_t year,
                      std::int32_t month, const std::string& Ci, const std::string& B_Sf);
    bool Update_ID_BT_J(const std::string& Card_ID, const std::string& YuE_New);
    bool Update_ID_BT_Ci(const std::string& Card_ID, const std::string& YuCi_New);
    bool Stop_FF_BT(std::int32_t ZB_Ren_ID, const std::string& FaFang_DT, std::int32_t year, std::int32_t month,
                    const std::string& Ci);

    // The ID grant of one batch row, all in one transaction: the row, still in
    // state From_SF, becomes credited (2); the card's balance of the batch's
    // kind grows by the amount the row holds then (an editor may have changed
    // it since the batch was listed), in the statement itself; the Record_XF
    // row carries that amount and the balances read back inside the
    // transaction. Nothing is written unless all of it is; a database error
    // rolls back and passes.
    struct ID_Credit {
        std::string BT_ID;          // BuTie_OK.ID
        std::int16_t From_SF = 0;   // -1 grant, 0 re-grant
        std::int16_t B_Unit = 0;    // 0 money, 3 times
        std::int16_t XF_Type = 0;   // 11 subsidy, 174 transfer recharge
        // The card as IS_ID lists it.
        std::string Card_ID, Pinfo_id, Card_No, Card_No_Lng, C_LeiBie;
        std::string ZB_DT;          // the batch row's time and Date_Time
        std::int32_t ZB_Ren_ID = 0; // the operator, also Record_XF.Operator_id
    };
    enum class ID_Credit_Result { Credited, Not_In_State, No_Card };
    ID_Credit_Result Credit_ID_BT(const ID_Credit& c);
    // The row, still in state From_SF, waits for a usable card (state 0) with
    // the time and operator; false when it had left that state.
    bool Park_ID_BT(const std::string& BT_ID, std::int16_t From_SF, const std::string& ZB_DT,
                    std::int32_t ZB_Ren_ID);

    // Queries and statistics.
    DataList select_BT_OK_2(const std::string& pID, std::int32_t year, std::int32_t month, const std::string& Ci,
                            std::int32_t Unit);
    DataList select_BT_OK_3(std::int32_t year, std::int32_t Ren_ID, std::int32_t month, const std::string& Ci);
    DataList Get_Year();
    DataList Get_HZ(std::int32_t year, std::int32_t month, const std::string& Ci);

    // The database the service reads, for a run that writes on a connection of its own.
    std::string Get_strCN() const { return base_.Get_LinkStr(); }
    // Credit_ID_BT and Park_ID_BT on `con`: inside a transaction of it (a
    // batch of employees) the credit is a savepoint of that one.
    static ID_Credit_Result Credit_ID_BT(db::Connection& con, const ID_Credit& c);
    static bool Park_ID_BT(db::Connection& con, const std::string& BT_ID, std::int16_t From_SF,
                           const std::string& ZB_DT, std::int32_t ZB_Ren_ID);
    // The statement IS_ID runs.
    static std::string IS_ID_Sql(const std::string& P_id);
    // The usable ID cards of several employees, as IS_ID lists them, by ID.
    static std::string IS_ID_Sql(const std::vector<std::string>& P_ids);

    // The grant of several rows of one batch on `con`, inside a transaction of
    // it, with a statement for each kind of read and write: each row, still
    // in state From_SF, is credited to its card as Credit_ID_BT credits it
    // (rows of one card one after the other), or waits for a card when it
    // has none, as Park_ID_BT. The card of each row as IS_ID listed it, its
    // Card_ID empty for none. Each row's outcome in their order; a database
    // error passes, the caller undoes all of them.
    enum class ID_Grant_Result { Credited, Parked, Not_In_State, No_Card };
    struct ID_Grant_Row {
        std::string BT_ID;
        std::string Card_ID, Pinfo_id, Card_No, Card_No_Lng, C_LeiBie;
    };
    static std::vector<ID_Grant_Result> Grant_ID_BT(db::Connection& con, const std::vector<ID_Grant_Row>& rows,
                                                    std::int16_t From_SF, std::int16_t B_Unit, std::int16_t XF_Type,
                                                    const std::string& ZB_DT, std::int32_t ZB_Ren_ID);

private:
    static std::string insertInfoStatement(const std::string& pID, const std::string& ZhunBei_DT,
                                           std::int32_t ZhunBei_Ren_ID, std::int32_t B_JinE, std::int16_t B_Ci,
                                           std::int16_t B_Year, std::int16_t B_Month, std::int16_t B_Times,
                                           std::int16_t B_type, std::int16_t B_Sf, std::int16_t B_Unit);
    static std::string updateInfoStatement(const std::string& BT_id, const std::string& ZB_DT,
                                           std::int32_t ZB_Ren_ID, std::int32_t B_JinE, std::int32_t B_Ci,
                                           BtAmount form);
    std::string selectedIds(std::int64_t count) const;
    std::string deleteDyStatement(std::int64_t count, std::int16_t B_type) const;
    // The inserts of gSelPInfoIDs(0..count)'s rows of a terminal and kind.
    void addInsertsDy(std::vector<std::string>& out, std::int64_t count, std::int32_t Mach_Id,
                      std::int16_t B_type) const;
    DataList empCheck(const std::string& where, const std::string& Dept_No, const std::string& nameFilter,
                      const std::string& codeFilter, const std::string& pID, const std::string& tail);
    BaseService base_;
};

}  // namespace tolvenk
