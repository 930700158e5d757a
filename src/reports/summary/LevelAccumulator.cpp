#include "reports/summary/LevelAccumulator.h"

#include <cmath>
#include <limits>

#include "data/Globals.h"
#include "lang/LangGlobals.h"
#include "platform/Error.h"
#include "platform/VbNumber.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "reports/summary/HzRepFormat.h"

namespace tolvenk {

namespace {

constexpr int DimDept = 6, DimDate = 8;

[[noreturn]] void overflow() { throw VbError(6, "Overflow"); }

std::int32_t toLong(std::int64_t v) {
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max()) overflow();
    return static_cast<std::int32_t>(v);
}

bool containsNoCase(const std::string& text, const std::string& lowerNeedle) {
    std::string lower = text;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower.find(lowerNeedle) != std::string::npos;
}

// A department condition less its leading " Record_XF", so that "Card_Log"
// in front of it names the same person on the card log.
std::string cut(const std::string& x) { return x.size() > 10 ? x.substr(10) : std::string(); }

}  // namespace

std::int32_t& Slots::operator[](int k) {
    if (k < 0 || k > 8) throw VbError(9, "Subscript out of range");
    return v_[static_cast<std::size_t>(k)];
}

std::int32_t Slots::operator[](int k) const {
    if (k < 0 || k > 8) throw VbError(9, "Subscript out of range");
    return v_[static_cast<std::size_t>(k)];
}

std::int32_t Long_Add(std::int32_t a, std::int32_t b) { return toLong(std::int64_t{a} + b); }
std::int32_t Long_Sub(std::int32_t a, std::int32_t b) { return toLong(std::int64_t{a} - b); }

std::int32_t CLng(const db::Value& v) {
    if (v.isNull()) throw VbError(94, "Invalid use of Null");
    if (v.isInteger()) return toLong(v.asInteger());
    double d = 0;
    if (v.isReal()) {
        d = v.asReal();
    } else {
        const auto parsed = parseNumber(v.asText());
        if (!parsed) throw VbError(13, "Type mismatch");
        d = *parsed;
    }
    return vbCLng(d);
}

std::string Kind_In(XF_Kind_Group::Kinds kinds, bool blank) {
    return std::string(blank ? "XF_Type in (" : "XF_Type in(") + XF_Kind_Group::sqlList(kinds) + ")";
}

std::string Kind_Is(int code) { return "XF_Type=" + std::to_string(code); }

bool HzHasData::Level_Empty() const {
    for (int k = 1; k <= 5; ++k)
        if (Has_Meal[static_cast<std::size_t>(k)]) return false;
    return !(Has_PC_Recharge || Has_PC_Withdraw || Has_Term_Recharge || Has_Subsidy || Has_Transfer_Recharge ||
             Has_Issue_Fee || Has_Change_Fee || Has_Term_Withdraw || Has_Void || Has_Clear || Has_Return_Fee ||
             Has_Consume || Has_Water);
}

void Show_Trap(const std::exception& e, const char* where) {
    platform::services().msgBox(e.what(), platform::vbCritical, Lang[112] + ":" + where);
}

db::Recordset& LevelAccumulator::open(const std::string& sql) {
    if (!Conn_Main) throw VbError(91, "Object variable or With block variable not set");
    Rs = Conn_Main->openRecordset(sql);
    return *Rs;
}

int LevelAccumulator::Rep_Dim1() const { return HZ_Rep_Format{"", St.Rep_P2, "", "", ""}.dim1(); }
int LevelAccumulator::Rep_Dim2() const { return HZ_Rep_Format{"", St.Rep_P2, "", "", ""}.dim2(); }
char LevelAccumulator::Rep_T() const { return HZ_Rep_Format{"", St.Rep_P2, "", "", ""}.type(); }

bool LevelAccumulator::Query_YuE_Sum(const std::string& sql) {
    Level_Sum = 0;
    Level_Cnt = 0;
    db::Recordset& rs = open(sql);
    if (rs.recordCount() < 1 || CLng(rs.field("YuE_B")) == 0) return false;
    Level_Sum = CLng(rs.field("YuE_C"));
    Level_Cnt = CLng(rs.field("YuE_B"));
    return true;
}

bool LevelAccumulator::Query_YuCi_Sum(const std::string& sql, bool flag) {
    Level_Times = 0;
    Level_Times_Cnt = 0;
    db::Recordset& rs = open(sql);
    if (rs.recordCount() < 1 || CLng(rs.field("YuCi_B")) == 0) return flag;
    Level_Times = CLng(rs.field("YuCi_C"));
    Level_Times_Cnt = CLng(rs.field("YuCi_B"));
    return true;
}

namespace {

// Adds a fee column over every row, counting the rows in 16 bits as the
// level walk always has (error 6 beyond 32767 rows).
std::int32_t walkFees(db::Recordset& rs, const char* column, std::int32_t* second, const char* secondColumn) {
    if (rs.recordCount() > std::numeric_limits<std::int16_t>::max()) overflow();
    const auto rows = static_cast<std::int16_t>(rs.recordCount());
    std::int32_t total = 0;
    rs.moveFirst();
    for (int i = 1; i <= rows; ++i) {
        total = Long_Add(total, CLng(rs.field(column)));
        if (second) *second = Long_Add(*second, CLng(rs.field(secondColumn)));
        rs.moveNext();
    }
    return total;
}

}  // namespace

bool LevelAccumulator::Query_Issue_Fees(const std::string& sql) {
    Level_Sum = Level_Sum2 = Level_Cnt = 0;
    db::Recordset& rs = open(sql);
    if (rs.recordCount() < 1) return false;
    Level_Sum = walkFees(rs, "FaKa_GBF", &Level_Sum2, "Huan_GBF");
    Level_Cnt = toLong(rs.recordCount());
    return true;
}

bool LevelAccumulator::Query_Change_Fees(const std::string& sql) {
    Level_Sum = Level_Cnt = 0;
    db::Recordset& rs = open(sql);
    if (rs.recordCount() < 1) return false;
    Level_Sum = walkFees(rs, "Huan_GBF", nullptr, nullptr);
    Level_Cnt = toLong(rs.recordCount());
    return true;
}

bool LevelAccumulator::Query_Return_Fees(const std::string& sql) {
    Level_Sum = Level_Cnt = 0;
    db::Recordset& rs = open(sql);
    if (rs.recordCount() < 1) return false;
    Level_Sum = walkFees(rs, "Tui_GBF", nullptr, nullptr);
    Level_Cnt = toLong(rs.recordCount());
    return true;
}

void LevelAccumulator::Calc_Level_Row(std::string Cond0, std::string Cond1, std::string Cond2, std::string Cond3,
                                      std::int16_t Slot) {
    (void)Cond0;
    using namespace XF_Type_Code;
    namespace G = XF_Kind_Group;
    try {
        Level_Sum = Level_Cnt = Level_Times = Level_Times_Cnt = 0;
        const std::string H1 = "select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B ";
        const std::string H2 = "select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B ";
        const int a = Rep_Dim1(), b = Rep_Dim2();

        // A value chosen in Combo1 narrows every level as it narrows the rows.
        if (b != DimDate && (In.Combo_Text.empty() || In.Combo_ItemData != 0)) Cond2 = St.Group_Conds2(1).Cond;

        const std::string person = "ren_per_info.pinfo_id";
        const std::string FROM =
            containsNoCase(Cond2, person) || containsNoCase(Cond3, person) || containsNoCase(Cond1, person)
                ? " from Record_XF ,Ren_Per_Info "
                : " from Record_XF ";
        std::string W = " where " + Cond1;
        if (!Cond2.empty()) W += " and " + Cond2;
        if (!Cond3.empty()) W += " and " + Cond3;
        const std::string valid = St.Valid_Only == 1 ? " and Err_Code=0" : "";

        const auto money = [&](const std::string& X) { return Query_YuE_Sum(H1 + FROM + W + " and " + X + valid); };
        const auto times = [&](const std::string& X, bool flag) {
            return Query_YuCi_Sum(H2 + FROM + W + " and " + X + valid, flag);
        };
        const auto putMoney = [&](Slots& value, Slots& count) {
            value[Slot] = Level_Sum;
            count[Slot] = Level_Cnt;
        };
        const auto putTimes = [&](Slots& value, Slots* count) {
            value[Slot] = Level_Times;
            if (count) (*count)[Slot] = Level_Times_Cnt;
        };
        const auto feeSql = [&](const std::string& head, int op) {
            std::string FROM2 = "from Card_Log,Card_Type ";
            std::string W2 =
                " where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=" +
                std::to_string(op) + " and " + Cond1;
            if (a == DimDept && !Cond2.empty()) {
                FROM2 += ",Ren_Per_Info ";
                W2 += b != DimDate ? " and Card_Log" + cut(Cond2) : " and " + Cond2;
            } else if (!Cond2.empty()) {
                W2 += " and " + Cond2;
            }
            if (!Cond3.empty()) W2 += " and " + Cond3;
            return head + FROM2 + W2;
        };

        if (St.PC_Recharge_Col > 0) {
            Has_PC_Recharge = money(Kind_In(G::PcMoney));
            putMoney(PC_Recharge_Acc, PC_Recharge_Cnt_Acc);
            Has_PC_Recharge = times(Kind_In({PcTimesRecharge, TimesIn, TimesOut}, true), Has_PC_Recharge);
            putTimes(PC_Recharge_Times_Acc, &PC_Recharge_Times_Cnt_Acc);
        }
        if (St.Term_Recharge_Col > 0) {
            Has_Term_Recharge = money(Kind_In(G::TerminalRecharge));
            putMoney(Term_Recharge_Acc, Term_Recharge_Cnt_Acc);
            Has_Term_Recharge = times(Kind_In(G::TerminalTimesRecharge), Has_Term_Recharge);
            putTimes(Term_Recharge_Times_Acc, &Term_Recharge_Times_Cnt_Acc);
        }
        if (St.Subsidy_Col > 0) {
            Has_Subsidy = money(Kind_Is(Subsidy));
            putMoney(Subsidy_Acc, Subsidy_Cnt_Acc);
            Has_Transfer_Recharge = money(Kind_In(G::TransferRecharge));
            putMoney(Transfer_Recharge_Acc, Transfer_Recharge_Cnt_Acc);
            Has_Subsidy = times(Kind_Is(TimesSubsidy), Has_Subsidy);
            putTimes(Subsidy_Times_Acc, &Subsidy_Times_Cnt_Acc);
        }
        if (St.Issue_Fee_Col > 0) {
            // The card log names its columns itself; the fee blocks share these rewrites.
            if (Slot > 1 && b == DimDate) Cond1 = a == DimDept ? "Card_Log" + cut(Cond1) : "Card_Log." + Cond1;
            if (a != DimDept && !Cond2.empty() && b != DimDate) Cond2 = "Card_Log." + Cond2;
            if (!Cond3.empty()) Cond3 = "Card_Log." + Cond3;
            Has_Issue_Fee = Query_Issue_Fees(feeSql("select Card_Log.FaKa_GBF,Card_Log.Huan_GBF ", Card_Log_Op::Issue));
            Issue_Fee_Acc[Slot] = Level_Sum;
            Issue_Fee_Cnt_Acc[Slot] = Level_Cnt;
        }
        if (St.Change_Fee_Col > 0) {
            // Money and count both of the change rows: the issue rows' Huan_GBF is no change fee.
            Has_Change_Fee = Query_Change_Fees(feeSql("select Card_Log.Huan_GBF ", Card_Log_Op::Change));
            Change_Fee_Acc[Slot] = Level_Sum;
            Change_Fee_Cnt_Acc[Slot] = Level_Cnt;
        }
        if (St.Income_Sub_Col > 0) {
            std::int32_t m = PC_Recharge_Acc[Slot];
            for (const Slots* s :
                 {&Term_Recharge_Acc, &Subsidy_Acc, &Transfer_Recharge_Acc, &Issue_Fee_Acc, &Change_Fee_Acc})
                m = Long_Add(m, (*s)[Slot]);
            Income_Sub_Acc[Slot] = m;
            Income_Sub_Times_Acc[Slot] =
                Long_Add(Long_Add(Term_Recharge_Times_Acc[Slot], PC_Recharge_Times_Acc[Slot]), Subsidy_Times_Acc[Slot]);
        }
        if (St.PC_Withdraw_Col > 0) {
            Has_PC_Withdraw = money(Kind_Is(PcWithdraw));
            putMoney(PC_Withdraw_Acc, PC_Withdraw_Cnt_Acc);
        }
        if (St.Term_Withdraw_Col > 0) {
            Has_Term_Withdraw = money(Kind_In(G::TerminalWithdraw));
            putMoney(Term_Withdraw_Acc, Term_Withdraw_Cnt_Acc);
        }
        if (St.Void_Col > 0) {
            Has_Void = money(Kind_Is(VoidBalance));
            putMoney(Void_Acc, Void_Cnt_Acc);
            Has_Void = times(Kind_Is(VoidTimes), Has_Void);
            putTimes(Void_Times_Acc, &Void_Times_Cnt_Acc);
        }
        if (St.Clear_Col > 0) {
            Has_Clear = money(Kind_Is(SubsidyClear));
            putMoney(Clear_Acc, Clear_Cnt_Acc);
            Has_Clear = times(Kind_Is(TimesSubsidyClear), Has_Clear);
            putTimes(Clear_Times_Acc, &Clear_Times_Cnt_Acc);
        }
        if (St.Return_Fee_Col > 0) {
            Has_Return_Fee = Query_Return_Fees(feeSql("select Card_Log.Tui_GBF ", Card_Log_Op::Return));
            Return_Fee_Acc[Slot] = Level_Sum;
            Return_Fee_Cnt_Acc[Slot] = Level_Cnt;
        }
        for (int k = 1; k <= XF_Meal_Code::Count; ++k) {
            const auto m = static_cast<std::size_t>(k);
            if (St.Meal_Col[m] <= 0) continue;
            const std::string M = "XF_Meal=" + std::to_string(k);
            Has_Meal[m] = money(Kind_In(G::MealMoney) + " and " + M);
            putMoney(Meal_Acc[m], Meal_Cnt_Acc[m]);
            Has_Meal[m] = times(Kind_Is(TimesConsume) + " and " + M, Has_Meal[m]);
            putTimes(Meal_Times_Acc[m], nullptr);
        }
        if (St.Consume_Col > 0) {
            Has_Consume = money(Kind_In(G::ConsumeMoney));
            putMoney(Consume_Acc, Consume_Cnt_Acc);
            Has_Consume = times(Kind_Is(TimesConsume), Has_Consume);
            putTimes(Consume_Times_Acc, nullptr);
        }
        if (St.Meal_Col[6] > 0) {
            std::int32_t money6 = Consume_Acc[Slot], count6 = Consume_Cnt_Acc[Slot], times6 = Consume_Times_Acc[Slot];
            for (std::size_t m = 1; m <= 5; ++m) {
                money6 = Long_Sub(money6, Meal_Acc[m][Slot]);
                count6 = Long_Sub(count6, Meal_Cnt_Acc[m][Slot]);
                times6 = Long_Sub(times6, Meal_Times_Acc[m][Slot]);
            }
            Meal_Acc[6][Slot] = money6;
            Meal_Cnt_Acc[6][Slot] = count6;
            Meal_Times_Acc[6][Slot] = times6;
        }
        if (St.Water_Col > 0) {
            Has_Water = money(Kind_In(G::WaterTransfer));
            putMoney(Water_Acc, Water_Cnt_Acc);
        }
        if (St.Expense_Sub_Col > 0) {
            std::int32_t m = Term_Withdraw_Acc[Slot];
            for (const Slots* s : {&PC_Withdraw_Acc, &Void_Acc, &Clear_Acc, &Return_Fee_Acc, &Consume_Acc, &Water_Acc})
                m = Long_Add(m, (*s)[Slot]);
            Expense_Sub_Acc[Slot] = m;
            Expense_Sub_Times_Acc[Slot] =
                Long_Add(Long_Add(Clear_Times_Acc[Slot], Void_Times_Acc[Slot]), Consume_Times_Acc[Slot]);
        }
    } catch (const std::exception& e) {
        Show_Trap(e, "ERR_XF_Cha_HZ_2");
    }
}

}  // namespace tolvenk
