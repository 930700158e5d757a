#include "reports/summary/RowValues.h"

#include "data/XfTypeCode.h"
#include "lang/LangGlobals.h"
#include "platform/db/Recordset.h"
#include "reports/summary/HzRepFormat.h"

namespace tolvenk {

namespace {

constexpr int DimDept = 6, DimDate = 8;
constexpr int OthersLang = 554;

std::string rtrimBlanks(const std::string& s) {
    const auto e = s.find_last_not_of(' ');
    return e == std::string::npos ? std::string() : s.substr(0, e + 1);
}

std::string trimBlanks(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    return b == std::string::npos ? std::string() : rtrimBlanks(s.substr(b));
}

// Mid(s, start, n) with start counted from 1.
std::string mid(const std::string& s, std::size_t start, std::size_t n) {
    return s.size() >= start ? s.substr(start - 1, n) : std::string();
}

std::string cut(const std::string& x) { return x.size() > 10 ? x.substr(10) : std::string(); }

std::string opIs(int op) { return "Card_Log.Op_Type=" + std::to_string(op); }

}  // namespace

std::string RowValues::Row_Where(const std::string& D, const std::string& cond0, const std::string& cond1,
                                 const std::string& cond2) const {
    std::string WHERE = " where " + D + " and " + cond0;
    if (!cond1.empty()) WHERE += " and " + cond1;
    WHERE += " and " + cond2;
    for (int pass = 0; pass < 2; ++pass) {
        const std::string t = rtrimBlanks(WHERE);
        if (t.size() >= 3 && t.compare(t.size() - 3, 3, "and") == 0) WHERE = t.substr(0, t.size() - 3);
    }
    if (St.Valid_Only == 1) WHERE += " and Err_Code=0";
    return WHERE;
}

std::int32_t RowValues::Sum_YuE(std::string cond0, std::string cond1, std::string cond2, const std::string& D,
                                const std::string& cap0, std::string cap1, std::string cap2, std::int32_t column) {
    (void)cap0;
    (void)column;
    try {
        std::int32_t total = 0, count = 0;
        const int a = Rep_Dim1(), b = Rep_Dim2();
        const std::string FROM = a == DimDept || b == DimDept ? "from Record_XF ,Ren_Per_Info " : " from Record_XF ";
        db::Recordset& rs = open("select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi " + FROM +
                                 Row_Where(D, cond0, cond1, cond2));
        if (rs.recordCount() > 0 && !trimBlanks(rs.field("YuE_C").toString() + " ").empty()) {
            total = CLng(rs.field("YuE_C"));
            count = CLng(rs.field("Count_Bi"));
            if (cap1.empty()) cap1 = Lang[OthersLang];
            if (cap2.empty()) cap2 = Lang[OthersLang];
        }
        setRow(cap1, cap2, count, total);
        return total;
    } catch (const std::exception& e) {
        Show_Trap(e, "ERR_XF_Cha_HZ_3");
        // A failed query counts as no record: the previous query's figures must not reach this row.
        setRow(cap1, cap2, 0, 0);
        return 0;
    }
}

std::int32_t RowValues::Sum_YuCi(std::string cond0, std::string cond1, std::string cond2, const std::string& D,
                                 const std::string& cap0, std::int32_t column) {
    (void)cap0;
    (void)column;
    std::int32_t total = 0, count = 0;
    const int a = Rep_Dim1(), b = Rep_Dim2();
    const std::string FROM = a == DimDept || b == DimDept ? " from Record_XF ,Ren_Per_Info " : " from Record_XF ";
    db::Recordset& rs = open("select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi" + FROM +
                             Row_Where(D, cond0, cond1, cond2));
    if (rs.recordCount() > 0 && !trimBlanks(rs.field("YuCi_C").toString() + " ").empty()) {
        total = CLng(rs.field("YuCi_C"));
        count = CLng(rs.field("Count_Ci_Bi"));
    }
    Row_Times = total;
    Row_Times_Cnt = count;
    return total;
}

std::int32_t RowValues::Sum_GBF(std::string cond0, std::string cond1, std::string cond2, const std::string& D,
                                const std::string& cap0, std::string cap1, std::string cap2, std::int32_t column,
                                const std::string& F) {
    (void)cap0;
    (void)column;
    try {
        std::int32_t total = 0, count = 0;
        const int a = Rep_Dim1(), b = Rep_Dim2();
        // The group conditions are written for Record_XF; on the card log
        // its columns are named, and a department joins by Card_Log.Pinfo_id.
        if (b == DimDate) cond0 = a == DimDept ? " Card_Log" + cut(cond0) : " Card_Log." + cond0;
        const std::string SELECT = "select " + F;
        const std::string FROM =
            a == DimDept || b == DimDept ? " from Card_Type,Card_Log ,Ren_Per_Info " : " from Card_Type,Card_Log ";
        std::string WHERE =
            " where " + D + " and Card_Type.C_LeiBie=Card_Log.C_LeiBie and Card_Type.Del_YN=0 and " + cond0;
        if (!cond1.empty()) {
            if (b != DimDate) cond1 = a == DimDept ? "Card_Log" + cut(cond1) : "Card_Log." + cond1;
            WHERE += " and " + cond1;
        }
        if (!cond2.empty()) {
            cond2 = b == DimDept ? "Card_Log" + cut(cond2) : "Card_Log." + cond2;
            WHERE += " and " + cond2;
        }
        db::Recordset& rs = open(SELECT + FROM + WHERE);
        if (rs.recordCount() >= 1) {
            count = CLng(db::Value(static_cast<std::int64_t>(rs.recordCount())));
            for (rs.moveFirst(); !rs.eof(); rs.moveNext()) total = Long_Add(total, CLng(rs.field(F)));
            if (cap1.empty()) cap1 = Lang[OthersLang];
            if (cap2.empty()) cap2 = Lang[OthersLang];
        }
        setRow(cap1, cap2, count, total);
        return total;
    } catch (const std::exception& e) {
        Show_Trap(e, "ERR_XF_Cha_HZ_4");
        setRow(cap1, cap2, 0, 0);
        return 0;
    }
}

void RowValues::Calc_Row() {
    using namespace XF_Type_Code;
    namespace G = XF_Kind_Group;
    Row_Sum = Row_Cnt = Row_Times = Row_Times_Cnt = 0;

    const Group_Cond& e0 = St.Group_Conds1(Idx1);
    const Group_Cond& e1 = St.Group_Conds2(Idx2);
    const Group_Cond& e2 = St.Group_Conds3(Idx3);
    const std::string cond0 = e0.Cond, cond1 = e1.Cond, cond2 = e2.Cond;
    const std::string cap0 = e0.Caption, cap1 = e1.Caption, cap2 = e2.Caption;
    const int b = Rep_Dim2();
    const char T = Rep_T();

    if (b == DimDate)
        Period_Cap[6] = cap0;
    else if (T == ReportDaily)
        Period_Cap[6] = mid(trimBlanks(cond0), 21, 10);
    else if (T == ReportMonthly)
        Period_Cap[6] = mid(trimBlanks(cond0), 20, 7);

    const auto put = [](Slots& acc, std::int32_t v) {
        acc[5] = Long_Add(acc[5], v);
        acc[6] = v;
    };
    const auto yue = [&](const std::string& D, Slots& value, Slots& count, std::int32_t col) {
        Sum_YuE(cond0, cond1, cond2, D, cap0, cap1, cap2, col);
        put(value, Row_Sum);
        put(count, Row_Cnt);
    };
    const auto yuci = [&](const std::string& D, Slots& value, Slots* count, std::int32_t col) {
        Sum_YuCi(cond0, cond1, cond2, D, cap0, col);
        put(value, Row_Times);
        if (count) put(*count, Row_Times_Cnt);
    };
    const auto gbf = [&](const std::string& D, const std::string& F, Slots& value, Slots& count, std::int32_t col) {
        Sum_GBF(cond0, cond1, cond2, D, cap0, cap1, cap2, col, F);
        put(value, Row_Sum);
        put(count, Row_Cnt);
    };

    if (St.PC_Recharge_Col >= 1 && Has_PC_Recharge) {
        yue(Kind_In(G::PcMoney), PC_Recharge_Acc, PC_Recharge_Cnt_Acc, St.PC_Recharge_Col);
        yuci(Kind_In({PcTimesRecharge, TimesIn, TimesOut}, true), PC_Recharge_Times_Acc, &PC_Recharge_Times_Cnt_Acc,
             St.PC_Recharge_Col);
    }
    if (St.Term_Recharge_Col >= 1 && Has_Term_Recharge) {
        yue(Kind_In(G::TerminalRecharge, true), Term_Recharge_Acc, Term_Recharge_Cnt_Acc, St.Term_Recharge_Col);
        yuci(Kind_In(G::TerminalTimesRecharge, true), Term_Recharge_Times_Acc, &Term_Recharge_Times_Cnt_Acc,
             St.Term_Recharge_Col);
    }
    if (St.Subsidy_Col >= 1 && Has_Subsidy) {
        yue(Kind_Is(Subsidy), Subsidy_Acc, Subsidy_Cnt_Acc, St.Subsidy_Col);
        yue(Kind_In(G::TransferRecharge), Transfer_Recharge_Acc, Transfer_Recharge_Cnt_Acc, St.Subsidy_Col);
        yuci(Kind_Is(TimesSubsidy), Subsidy_Times_Acc, &Subsidy_Times_Cnt_Acc, St.Subsidy_Col);
    }
    if (St.Issue_Fee_Col >= 1 && Has_Issue_Fee)
        gbf(opIs(Card_Log_Op::Issue), "FaKa_GBF", Issue_Fee_Acc, Issue_Fee_Cnt_Acc, St.Issue_Fee_Col);
    // Money and count both of the change rows: the issue rows' Huan_GBF is no change fee.
    if (St.Change_Fee_Col >= 1 && Has_Change_Fee)
        gbf(opIs(Card_Log_Op::Change), "Huan_GBF", Change_Fee_Acc, Change_Fee_Cnt_Acc, St.Change_Fee_Col);
    if (St.Income_Sub_Col >= 1) {
        std::int32_t m = PC_Recharge_Acc[6];
        for (const Slots* s :
             {&Term_Recharge_Acc, &Subsidy_Acc, &Issue_Fee_Acc, &Transfer_Recharge_Acc, &Change_Fee_Acc})
            m = Long_Add(m, (*s)[6]);
        put(Income_Sub_Acc, m);
        put(Income_Sub_Times_Acc,
            Long_Add(Long_Add(Term_Recharge_Times_Acc[6], PC_Recharge_Times_Acc[6]), Subsidy_Times_Acc[6]));
    }
    if (St.PC_Withdraw_Col >= 1 && Has_PC_Withdraw)
        yue(Kind_Is(PcWithdraw), PC_Withdraw_Acc, PC_Withdraw_Cnt_Acc, St.PC_Withdraw_Col);
    if (St.Term_Withdraw_Col >= 1 && Has_Term_Withdraw)
        yue(Kind_In(G::TerminalWithdraw), Term_Withdraw_Acc, Term_Withdraw_Cnt_Acc, St.Term_Withdraw_Col);
    if (St.Void_Col >= 1 && Has_Void) {
        yue(Kind_Is(VoidBalance), Void_Acc, Void_Cnt_Acc, St.Void_Col);
        yuci(Kind_Is(VoidTimes), Void_Times_Acc, &Void_Times_Cnt_Acc, St.Void_Col);
    }
    if (St.Clear_Col >= 1 && Has_Clear) {
        yue(Kind_Is(SubsidyClear), Clear_Acc, Clear_Cnt_Acc, St.Clear_Col);
        yuci(Kind_Is(TimesSubsidyClear), Clear_Times_Acc, &Clear_Times_Cnt_Acc, St.Clear_Col);
    }
    if (St.Water_Col >= 1 && Has_Water) yue(Kind_In(G::WaterTransfer), Water_Acc, Water_Cnt_Acc, St.Water_Col);
    if (St.Return_Fee_Col >= 1 && Has_Return_Fee)
        gbf(opIs(Card_Log_Op::Return), "Tui_GBF", Return_Fee_Acc, Return_Fee_Cnt_Acc, St.Return_Fee_Col);
    if (St.Consume_Col >= 1 && Has_Consume) {
        yue(Kind_In(G::ConsumeMoney), Consume_Acc, Consume_Cnt_Acc, St.Consume_Col);
        yuci(Kind_Is(TimesConsume), Consume_Times_Acc, nullptr, St.Consume_Col);
    }
    for (int k = 1; k <= XF_Meal_Code::Count; ++k) {
        const auto m = static_cast<std::size_t>(k);
        if (St.Meal_Col[m] < 1 || !Has_Meal[m]) continue;
        const std::string meal = "XF_Meal=" + std::to_string(k);
        yue(Kind_In(G::MealMoney) + " and " + meal, Meal_Acc[m], Meal_Cnt_Acc[m], St.Meal_Col[m]);
        yuci((k == 1 ? " " : "") + meal + " and " + Kind_Is(TimesConsume), Meal_Times_Acc[m], nullptr, St.Meal_Col[m]);
    }
    if (St.Meal_Col[6] >= 1) {
        std::int32_t money6 = Consume_Acc[6], count6 = Consume_Cnt_Acc[6], times6 = Consume_Times_Acc[6];
        for (std::size_t m = 1; m <= 5; ++m) {
            money6 = Long_Sub(money6, Meal_Acc[m][6]);
            count6 = Long_Sub(count6, Meal_Cnt_Acc[m][6]);
            times6 = Long_Sub(times6, Meal_Times_Acc[m][6]);
        }
        Meal_Acc[6][6] = money6;
        Meal_Cnt_Acc[6][6] = count6;
        Meal_Times_Acc[6][6] = times6;
    }
    if (St.Expense_Sub_Col >= 1) {
        std::int32_t m = PC_Withdraw_Acc[6];
        for (const Slots* s : {&Term_Withdraw_Acc, &Void_Acc, &Clear_Acc, &Return_Fee_Acc, &Consume_Acc, &Water_Acc})
            m = Long_Add(m, (*s)[6]);
        put(Expense_Sub_Acc, m);
        put(Expense_Sub_Times_Acc, Long_Add(Long_Add(Void_Times_Acc[6], Clear_Times_Acc[6]), Consume_Times_Acc[6]));
    }

    if (Row_Cap1.empty()) Row_Cap1 = Lang[OthersLang];
    Level1_Cap[6] = Row_Cap1;
    if (Row_Cap2.empty()) Row_Cap2 = Lang[OthersLang];
    Level2_Cap[6] = Row_Cap2;
    Make_Row_Text(6, 0, 0);
    Clear_Slot(6);
}

}  // namespace tolvenk
