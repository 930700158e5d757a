#include "reports/summary/HzItems.h"

#include "data/XfTypeCode.h"
#include "reports/summary/HzSlots.h"

namespace tolvenk::hz {

namespace {

using namespace XF_Type_Code;
namespace G = XF_Kind_Group;

// The same condition in both passes.
std::array<std::string, 2> both(const std::string& cond) { return {cond, cond}; }

ItemDef money(Item i, Side side, char part, int flag, int block, int moneyLang, std::vector<int> covered,
              const std::string& cond) {
    return {i, side, Source::Record_XF, 0, i, part, flag, block, moneyLang, 0, true, false, std::move(covered), {},
            both(cond), {}, 0, "", ""};
}

// Money and times, each with a count column.
ItemDef moneyAndTimes(Item i, Side side, char part, int flag, int block, int moneyLang, int timesLang,
                      std::vector<int> covered, std::vector<int> timesCovered, std::array<std::string, 2> moneyCond,
                      std::array<std::string, 2> timesCond) {
    return {i,         side,     Source::Record_XF,       0,  i,  part, flag, block, moneyLang, timesLang, true, true,
            std::move(covered), std::move(timesCovered), std::move(moneyCond), std::move(timesCond), 0, "", ""};
}

ItemDef fee(Item i, Side side, int block, int moneyLang, std::vector<int> covered, int op, const char* column,
            const char* levelSelect) {
    return {i, side, Source::Card_Log, 0, i, '4', 5, block, moneyLang, 0, true, false, std::move(covered), {}, {}, {},
            op, levelSelect, column};
}

ItemDef subtotal(Item i, Side side, int flag, int block) {
    return {i, side, Source::Subtotal, 0, i, '3', flag, block, 526, 527, false, false, {}, {}, {}, {}, 0, "", ""};
}

// Meal k's consumption: money of the meal kinds and the times consumed in it.
ItemDef meal(int k) {
    const std::string in = "XF_Meal=" + std::to_string(k);
    return {static_cast<Item>(Meal_1 + k - 1),
            Side::Expense,
            Source::Record_XF,
            k,
            static_cast<Item>(Meal_1 + k - 1),
            '5',
            k,
            532 + k,
            531,
            532,
            true,
            false,
            {XF_Type_Code::Consume, ConsumeCancel},
            {TimesConsume},
            both(Kind_In(G::MealMoney) + " and " + in),
            {Kind_Is(TimesConsume) + " and " + in, (k == 1 ? " " : "") + in + " and " + Kind_Is(TimesConsume)},
            0,
            "",
            ""};
}

std::array<ItemDef, Item_Count> build() {
    const std::string pcTimes = Kind_In({PcTimesRecharge, TimesIn, TimesOut}, true);
    std::array<ItemDef, Item_Count> t{
        moneyAndTimes(PC_Recharge, Side::Income, '4', 1, 505, 518, 520, {PcRecharge}, {PcTimesRecharge},
                      both(Kind_In(G::PcMoney)), both(pcTimes)),
        moneyAndTimes(Term_Recharge, Side::Income, '4', 2, 507, 518, 520, {Recharge, RechargeCancel},
                      {TimesRecharge, TimesRechargeCancel},
                      {Kind_In(G::TerminalRecharge), Kind_In(G::TerminalRecharge, true)},
                      {Kind_In(G::TerminalTimesRecharge), Kind_In(G::TerminalTimesRecharge, true)}),
        moneyAndTimes(Subsidy, Side::Income, '4', 4, 492, 521, 523, {XF_Type_Code::Subsidy}, {TimesSubsidy},
                      both(Kind_Is(XF_Type_Code::Subsidy)), both(Kind_Is(TimesSubsidy))),
        money(Transfer_Recharge, Side::Income, '4', 4, 0, 522, {TransferRecharge, TransferRechargeId},
              Kind_In(G::TransferRecharge)),
        fee(Issue_Fee, Side::Income, 493, 524, {IssueCard}, 0, "FaKa_GBF", "Card_Log.FaKa_GBF,Card_Log.Huan_GBF "),
        fee(Change_Fee, Side::Income, 0, 525, {ReportLoss}, 3, "Huan_GBF", "Card_Log.Huan_GBF "),
        subtotal(Income_Sub, Side::Income, 1, 484),
        money(PC_Withdraw, Side::Expense, '4', 1, 529, 528, {PcWithdraw}, Kind_Is(PcWithdraw)),
        money(Term_Withdraw, Side::Expense, '4', 2, 530, 528, {Withdraw, WithdrawCancel}, Kind_In(G::TerminalWithdraw)),
        moneyAndTimes(Void, Side::Expense, '4', 3, 550, 543, 544, {VoidBalance}, {VoidTimes},
                      both(Kind_Is(VoidBalance)), both(Kind_Is(VoidTimes))),
        moneyAndTimes(Clear, Side::Expense, '4', 4, 545, 546, 547, {SubsidyClear}, {TimesSubsidyClear},
                      both(Kind_Is(SubsidyClear)), both(Kind_Is(TimesSubsidyClear))),
        fee(Return_Fee, Side::Expense, 548, 549, {ReturnCard, ForceReturn}, 4, "Tui_GBF", "Card_Log.Tui_GBF "),
        meal(1),
        meal(2),
        meal(3),
        meal(4),
        meal(5),
        {Meal_Other, Side::Expense, Source::Remainder, 0, Meal_Other, '5', 6, XF_Meal_Code::OtherSlotLang, 531, 532,
         true, false, {XF_Type_Code::Consume, ConsumeCancel}, {TimesConsume}, {}, {}, 0, "", ""},
        {Consume, Side::Expense, Source::Record_XF, 0, Consume, '4', 6, 551, 531, 532, true, false,
         {XF_Type_Code::Consume, ConsumeCancel}, {TimesConsume}, both(Kind_In(G::ConsumeMoney)),
         both(Kind_Is(TimesConsume)), 0, "", ""},
        money(Water, Side::Expense, '4', 7, 538, 539, {WaterTransfer, PcWaterTransfer}, Kind_In(G::WaterTransfer)),
        {Meal_Order, Side::Expense, Source::None, 0, Meal_Order, '4', 8, 496, 540, 0, true, false, {}, {}, {}, {}, 0,
         "", ""},
        subtotal(Expense_Sub, Side::Expense, 2, 541),
    };
    // The transfer recharge is part of the subsidy block and computed with it.
    t[Transfer_Recharge].gate = Subsidy;
    const auto kinds = [&](Item i, G::Kinds money, G::Kinds times) {
        t[i].moneyKinds.assign(money.begin(), money.end());
        t[i].timesKinds.assign(times.begin(), times.end());
    };
    kinds(PC_Recharge, G::PcMoney, {PcTimesRecharge, TimesIn, TimesOut});
    kinds(Term_Recharge, G::TerminalRecharge, G::TerminalTimesRecharge);
    kinds(Subsidy, G::SubsidyMoney, G::SubsidyTimes);
    kinds(Transfer_Recharge, G::TransferRecharge, {});
    kinds(PC_Withdraw, G::PcWithdraw, {});
    kinds(Term_Withdraw, G::TerminalWithdraw, {});
    kinds(Void, G::VoidBalance, G::VoidTimes);
    kinds(Clear, G::ClearMoney, G::ClearTimes);
    for (int k = 0; k < XF_Meal_Code::Count; ++k) kinds(static_cast<Item>(Meal_1 + k), G::MealMoney, {TimesConsume});
    kinds(Consume, G::ConsumeMoney, G::ConsumeTimes);
    kinds(Water, G::WaterTransfer, {});
    return t;
}

}  // namespace

const std::array<ItemDef, Item_Count>& items() {
    static const std::array<ItemDef, Item_Count> table = build();
    return table;
}

const std::vector<Item>& blockOrder(Pass pass) {
    // Both passes add up the income right after the card fees and the
    // expenses last. The group totals ask in header order, the other meal
    // slot after consumption; the rows have always asked for water before the
    // return fees and for consumption before its meals.
    static const std::vector<Item> level = {PC_Recharge, Term_Recharge, Subsidy,     Issue_Fee,  Change_Fee,
                                            Income_Sub,  PC_Withdraw,   Term_Withdraw, Void,     Clear,
                                            Return_Fee,  Meal_1,        Meal_2,      Meal_3,     Meal_4,
                                            Meal_5,      Consume,       Meal_Other,  Water,      Expense_Sub};
    static const std::vector<Item> row = {PC_Recharge, Term_Recharge, Subsidy,     Issue_Fee, Change_Fee,
                                          Income_Sub,  PC_Withdraw,   Term_Withdraw, Void,    Clear,
                                          Water,       Return_Fee,    Consume,     Meal_1,    Meal_2,
                                          Meal_3,      Meal_4,        Meal_5,      Meal_Other, Expense_Sub};
    return pass == LevelPass ? level : row;
}

Measure testOf(const ItemDef& d, Measure m) {
    if (m == Money && d.counted) return Money_Cnt;
    if (m == Times && d.timesCounted) return Times_Cnt;
    return m;
}

}  // namespace tolvenk::hz
