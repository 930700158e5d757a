#pragma once
#include <array>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>

#include "data/XfTypeCode.h"
#include "reports/summary/HzReportState.h"
#include "reports/summary/ReportConditions.h"

namespace tolvenk {

namespace db {
class Recordset;
class Value;
}  // namespace db

// Nine 32-bit slots of one item value, numbered as the run uses them:
// 1 report, 2 outer group, 3 middle group, 4 running sum of 3, 5 listed rows,
// 6 current row, 7 = 3 - 5 and 8 = 2 - 4 (the "other" rows); 0 is unused.
class Slots {
public:
    // Error 9 outside 0..8.
    std::int32_t& operator[](int k);
    std::int32_t operator[](int k) const;

private:
    std::array<std::int32_t, 9> v_{};
};

// 32-bit arithmetic of the accumulators: error 6 when the result leaves the range.
std::int32_t Long_Add(std::int32_t a, std::int32_t b);
std::int32_t Long_Sub(std::int32_t a, std::int32_t b);
// A database value as a 32-bit whole number (halves to even); error 94 for
// NULL, 6 out of range, 13 for text that is no number.
std::int32_t CLng(const db::Value& v);

// Type conditions written from the kind codes: "XF_Type in(1,2)", or with
// the blank some queries write, "XF_Type in (1,2)"; "XF_Type=11".
std::string Kind_In(XF_Kind_Group::Kinds kinds, bool blank = false);
std::string Kind_Is(int code);

// Card_Log operations that carry fees.
namespace Card_Log_Op {
constexpr int Issue = 0;
constexpr int Change = 3;
constexpr int Return = 4;
}  // namespace Card_Log_Op

// The item accumulators, one per shown value, named after the item columns.
struct HzItemAccs {
    Slots PC_Recharge_Acc, PC_Recharge_Cnt_Acc, PC_Recharge_Times_Acc, PC_Recharge_Times_Cnt_Acc;
    Slots Term_Recharge_Acc, Term_Recharge_Cnt_Acc, Term_Recharge_Times_Acc, Term_Recharge_Times_Cnt_Acc;
    Slots Subsidy_Acc, Subsidy_Cnt_Acc, Transfer_Recharge_Acc, Transfer_Recharge_Cnt_Acc, Subsidy_Times_Acc,
        Subsidy_Times_Cnt_Acc;
    Slots Issue_Fee_Acc, Issue_Fee_Cnt_Acc, Change_Fee_Acc, Change_Fee_Cnt_Acc;
    Slots Income_Sub_Acc, Income_Sub_Times_Acc;
    Slots PC_Withdraw_Acc, PC_Withdraw_Cnt_Acc, Term_Withdraw_Acc, Term_Withdraw_Cnt_Acc;
    Slots Void_Acc, Void_Cnt_Acc, Void_Times_Acc, Void_Times_Cnt_Acc;
    Slots Clear_Acc, Clear_Cnt_Acc, Clear_Times_Acc, Clear_Times_Cnt_Acc;
    Slots Return_Fee_Acc, Return_Fee_Cnt_Acc;
    // Meal slots 1..5 and 6 for the other meal periods; index 0 unused.
    std::array<Slots, 7> Meal_Acc, Meal_Cnt_Acc, Meal_Times_Acc;
    Slots Consume_Acc, Consume_Cnt_Acc, Consume_Times_Acc;
    Slots Water_Acc, Water_Cnt_Acc;
    Slots Expense_Sub_Acc, Expense_Sub_Times_Acc;
};

// Whether the last level computation found records, per item group.
struct HzHasData {
    bool Has_PC_Recharge = false, Has_PC_Withdraw = false, Has_Term_Recharge = false, Has_Subsidy = false,
         Has_Transfer_Recharge = false, Has_Issue_Fee = false, Has_Change_Fee = false, Has_Term_Withdraw = false,
         Has_Void = false, Has_Clear = false, Has_Return_Fee = false, Has_Consume = false, Has_Water = false;
    std::array<bool, 6> Has_Meal{};  // 1..5
    // All eighteen flags false.
    bool Level_Empty() const;
};

// Group totals of the summary run: one aggregate query per shown item value
// fills one slot of its accumulator. Lives as long as the window.
class LevelAccumulator : public HzItemAccs, public HzHasData {
public:
    explicit LevelAccumulator(HzReportState& st) : St(st) {}
    virtual ~LevelAccumulator() = default;
    LevelAccumulator(const LevelAccumulator&) = delete;
    LevelAccumulator& operator=(const LevelAccumulator&) = delete;

    HzReportState& St;
    // Combo1 and the period as the run found them.
    Cond_Inputs In;

    std::int32_t Level_Sum = 0, Level_Sum2 = 0, Level_Cnt = 0, Level_Times = 0, Level_Times_Cnt = 0;
    // Row captions per slot: period (or the outer value when the date is the
    // second dimension), middle and inner caption.
    std::array<std::string, 9> Period_Cap, Level1_Cap, Level2_Cap;

    // Fills slot `Slot` of every shown item from Cond1 (never empty), Cond2
    // and Cond3; Cond0 is not read. Traps every error in a box.
    void Calc_Level_Row(std::string Cond0, std::string Cond1, std::string Cond2, std::string Cond3, std::int16_t Slot);

    bool Query_YuE_Sum(const std::string& sql);
    bool Query_YuCi_Sum(const std::string& sql, bool flag);
    bool Query_Issue_Fees(const std::string& sql);
    bool Query_Change_Fees(const std::string& sql);
    bool Query_Return_Fees(const std::string& sql);

protected:
    // A new record set on Conn_Main in the member the run's queries share.
    db::Recordset& open(const std::string& sql);
    int Rep_Dim1() const;
    int Rep_Dim2() const;
    char Rep_T() const;

    std::shared_ptr<db::Recordset> Rs;
};

// The box of a trapped error: its description, critical icon, "出错:<where>".
void Show_Trap(const std::exception& e, const char* where);

}  // namespace tolvenk
