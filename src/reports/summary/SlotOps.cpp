#include "reports/summary/SlotOps.h"

#include <cstdio>
#include <cstdlib>

#include "data/Globals.h"
#include "lang/LangGlobals.h"
#include "platform/Error.h"
#include "platform/forms/Grid.h"
#include "reports/summary/HzRepFormat.h"

namespace tolvenk {

namespace {
constexpr int OthersLang = 554;
}  // namespace

std::vector<SlotOps::Item_Col> SlotOps::Item_Cols() {
    const HzReportState& s = St;
    using S = Shown;
    std::vector<Item_Col> v = {
        {s.PC_Recharge_Col, &PC_Recharge_Acc, &PC_Recharge_Cnt_Acc, S::Income_Money, 0},
        {s.PC_Recharge_Cnt_Col, &PC_Recharge_Cnt_Acc, &PC_Recharge_Cnt_Acc, S::Count, 0},
        {s.PC_Recharge_Times_Col, &PC_Recharge_Times_Acc, &PC_Recharge_Times_Cnt_Acc, S::Times, 0},
        {s.PC_Recharge_Times_Cnt_Col, &PC_Recharge_Times_Cnt_Acc, &PC_Recharge_Times_Cnt_Acc, S::Count, 0},
        {s.Term_Recharge_Col, &Term_Recharge_Acc, &Term_Recharge_Cnt_Acc, S::Income_Money, 0},
        {s.Term_Recharge_Cnt_Col, &Term_Recharge_Cnt_Acc, &Term_Recharge_Cnt_Acc, S::Count, 0},
        {s.Term_Recharge_Times_Col, &Term_Recharge_Times_Acc, &Term_Recharge_Times_Cnt_Acc, S::Times, 0},
        {s.Term_Recharge_Times_Cnt_Col, &Term_Recharge_Times_Cnt_Acc, &Term_Recharge_Times_Cnt_Acc, S::Count, 0},
        {s.Subsidy_Col, &Subsidy_Acc, &Subsidy_Cnt_Acc, S::Income_Money, 0},
        {s.Subsidy_Cnt_Col, &Subsidy_Cnt_Acc, &Subsidy_Cnt_Acc, S::Count, 0},
        {s.Transfer_Recharge_Col, &Transfer_Recharge_Acc, &Transfer_Recharge_Cnt_Acc, S::Income_Money, 0},
        {s.Transfer_Recharge_Cnt_Col, &Transfer_Recharge_Cnt_Acc, &Transfer_Recharge_Cnt_Acc, S::Count, 0},
        {s.Subsidy_Times_Col, &Subsidy_Times_Acc, &Subsidy_Times_Cnt_Acc, S::Times, 0},
        {s.Subsidy_Times_Cnt_Col, &Subsidy_Times_Cnt_Acc, &Subsidy_Times_Cnt_Acc, S::Count, 0},
        {s.Issue_Fee_Col, &Issue_Fee_Acc, &Issue_Fee_Cnt_Acc, S::Income_Money, 0},
        {s.Issue_Fee_Cnt_Col, &Issue_Fee_Cnt_Acc, &Issue_Fee_Cnt_Acc, S::Count, 0},
        {s.Change_Fee_Col, &Change_Fee_Acc, &Change_Fee_Cnt_Acc, S::Income_Money, 0},
        {s.Change_Fee_Cnt_Col, &Change_Fee_Cnt_Acc, &Change_Fee_Cnt_Acc, S::Count, 0},
        {s.Income_Sub_Col, &Income_Sub_Acc, &Income_Sub_Acc, S::Income_Money, 0},
        {s.Income_Sub_Times_Col, &Income_Sub_Times_Acc, &Income_Sub_Times_Acc, S::Times, 0},
        {s.PC_Withdraw_Col, &PC_Withdraw_Acc, &PC_Withdraw_Cnt_Acc, S::Expense_Money, 0},
        {s.PC_Withdraw_Cnt_Col, &PC_Withdraw_Cnt_Acc, &PC_Withdraw_Cnt_Acc, S::Count, 0},
        {s.Term_Withdraw_Col, &Term_Withdraw_Acc, &Term_Withdraw_Cnt_Acc, S::Expense_Money, 0},
        {s.Term_Withdraw_Cnt_Col, &Term_Withdraw_Cnt_Acc, &Term_Withdraw_Cnt_Acc, S::Count, 0},
        {s.Void_Col, &Void_Acc, &Void_Cnt_Acc, S::Expense_Money, 0},
        {s.Void_Cnt_Col, &Void_Cnt_Acc, &Void_Cnt_Acc, S::Count, 0},
        {s.Void_Times_Col, &Void_Times_Acc, &Void_Times_Cnt_Acc, S::Times, 0},
        {s.Void_Times_Cnt_Col, &Void_Times_Cnt_Acc, &Void_Times_Cnt_Acc, S::Count, 0},
        {s.Clear_Col, &Clear_Acc, &Clear_Cnt_Acc, S::Expense_Money, 0},
        {s.Clear_Cnt_Col, &Clear_Cnt_Acc, &Clear_Cnt_Acc, S::Count, 0},
        {s.Clear_Times_Col, &Clear_Times_Acc, &Clear_Times_Cnt_Acc, S::Times, 0},
        {s.Clear_Times_Cnt_Col, &Clear_Times_Cnt_Acc, &Clear_Times_Cnt_Acc, S::Count, 0},
        {s.Return_Fee_Col, &Return_Fee_Acc, &Return_Fee_Cnt_Acc, S::Expense_Money, 0},
        {s.Return_Fee_Cnt_Col, &Return_Fee_Cnt_Acc, &Return_Fee_Cnt_Acc, S::Count, 0},
    };
    for (int k = 1; k <= 6; ++k) {
        const auto m = static_cast<std::size_t>(k);
        v.push_back({s.Meal_Col[m], &Meal_Acc[m], &Meal_Cnt_Acc[m], S::Expense_Money, k});
        v.push_back({s.Meal_Cnt_Col[m], &Meal_Cnt_Acc[m], &Meal_Cnt_Acc[m], S::Count, k});
        v.push_back({s.Meal_Times_Col[m], &Meal_Times_Acc[m], &Meal_Times_Acc[m], S::Times, k});
    }
    const std::vector<Item_Col> tail = {
        {s.Consume_Col, &Consume_Acc, &Consume_Cnt_Acc, S::Expense_Money, 0},
        {s.Consume_Cnt_Col, &Consume_Cnt_Acc, &Consume_Cnt_Acc, S::Count, 0},
        {s.Consume_Times_Col, &Consume_Times_Acc, &Consume_Times_Acc, S::Times, 0},
        {s.Water_Col, &Water_Acc, &Water_Cnt_Acc, S::Expense_Money, 0},
        {s.Water_Cnt_Col, &Water_Cnt_Acc, &Water_Cnt_Acc, S::Count, 0},
        {s.Expense_Sub_Col, &Expense_Sub_Acc, &Expense_Sub_Acc, S::Expense_Money, 0},
        {s.Expense_Sub_Times_Col, &Expense_Sub_Times_Acc, &Expense_Sub_Times_Acc, S::Times, 0},
    };
    v.insert(v.end(), tail.begin(), tail.end());
    return v;
}

void SlotOps::Clear_Slot(std::int16_t k) {
    for (const Item_Col& c : Item_Cols())
        if (c.meal != 6) (*c.value)[k] = 0;
}

void SlotOps::Roll_Up_Slot() {
    for (const Item_Col& c : Item_Cols())
        if (c.meal != 6) (*c.value)[4] = Long_Add((*c.value)[4], (*c.value)[3]);
}

void SlotOps::Diff_Slots(std::int16_t a, std::int16_t b, std::int16_t Caption_Col, std::int16_t c) {
    bool Differs = false;
    for (const Item_Col& col : Item_Cols()) {
        if (col.meal == 6) continue;
        Slots& V = *col.value;
        Slots& C = *col.test;
        if (C[a] == C[b]) continue;
        Differs = true;
        V[c] = Long_Sub(V[a], V[b]);
        if (&C != &V) C[c] = Long_Sub(C[a], C[b]);
    }
    if (!Differs) return;
    Make_Row_Text(c, 0, 0);
    const int last = Grid1.Rows() - 1;
    if (St.Date_Col > 0) {
        const std::string& cond = St.Group_Conds1(Idx1).Cond;
        const char T = Rep_T();
        // The day or month text inside "left(Date_Time,10)='...'" or "left(Date_Time,7)='...'".
        if (T == ReportDaily || T == ReportRange)
            Grid1.Cell(last, St.Date_Col).setText(cond.size() > 20 ? cond.substr(20, 10) : "");
        else if (T == ReportMonthly)
            Grid1.Cell(last, St.Date_Col).setText(cond.size() > 19 ? cond.substr(19, 7) : "");
    }
    Grid1.Cell(last, Caption_Col).setText(Lang[OthersLang]);
}

std::string SlotOps::Money_Text(std::int64_t fen) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%lld.%02lld", fen < 0 ? "-" : "", static_cast<long long>(std::llabs(fen) / 100),
                  static_cast<long long>(std::llabs(fen) % 100));
    return Money_Sign + buf;
}

void SlotOps::Make_Row_Text(std::int16_t k, std::int16_t Show_Zero, std::int16_t Force) {
    if (k < 0 || k > 8) throw VbError(9, "Subscript out of range");
    const std::string& others = Lang[OthersLang];
    std::string& cap1 = Level1_Cap[static_cast<std::size_t>(k)];
    std::string& cap2 = Level2_Cap[static_cast<std::size_t>(k)];
    if (!cap1.empty() && cap2.empty()) cap2 = others;
    // Entry 0 of a condition array exists and is never filled.
    if (Idx2 <= St.Group_Conds2.UBound()) cap1 = Idx2 >= 1 ? St.Group_Conds2(Idx2).Caption : std::string();
    if (cap1.empty()) cap1 = others;

    std::string text;
    if (St.Date_Col > 0) text += Period_Cap[static_cast<std::size_t>(k)] + "\t";
    if (St.Dim1_Col > 0) text += cap1 + "\t";
    if (St.Dim2_Col > 0) text += cap2 + "\t";
    if (St.Date_Col == 0 && St.Dim1_Col == 0 && St.Dim2_Col == 0) text += "\t\t";

    bool NonZero = false;
    for (const Item_Col& c : Item_Cols()) {
        if (c.col <= 0) continue;
        const bool tested = (*c.test)[k] != 0;
        NonZero = NonZero || tested;
        if (!tested && Show_Zero != -1) {
            text += "\t";
            continue;
        }
        const std::int32_t v = (*c.value)[k];
        switch (c.shown) {
            case Shown::Income_Money:
                text += Money_Text(v);
                break;
            case Shown::Expense_Money:
                text += Money_Text(-std::int64_t{v});
                break;
            default:
                text += std::to_string(v);
        }
        text += "\t";
    }
    if (NonZero || Force == -1) Grid1.Add_Row(text, true);
}

}  // namespace tolvenk
