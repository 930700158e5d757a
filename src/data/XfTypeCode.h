#pragma once
#include <initializer_list>
#include <string>

namespace tolvenk {

// Transaction kinds of Record_XF.XF_Type.
namespace XF_Type_Code {
constexpr int Consume = 1;
constexpr int ConsumeCancel = 2;
constexpr int TimesConsume = 3;
constexpr int Recharge = 5;
constexpr int RechargeCancel = 6;
constexpr int TimesRecharge = 7;
constexpr int TimesRechargeCancel = 8;
constexpr int Withdraw = 9;
constexpr int WithdrawCancel = 10;
constexpr int Subsidy = 11;
constexpr int TimesSubsidy = 13;
constexpr int MealOrder = 15;
constexpr int MealOrderCancel = 16;
constexpr int WaterTransfer = 17;
constexpr int MealReturn = 48;
constexpr int IssueCard = 129;
constexpr int ReturnCard = 130;
constexpr int ReportLoss = 131;
constexpr int ForceReturn = 132;
constexpr int PcRecharge = 161;
constexpr int PcWithdraw = 162;
constexpr int PcTimesRecharge = 163;
constexpr int PcSubsidy = 165;
constexpr int SubsidyClear = 166;
constexpr int PcTimesSubsidy = 167;
constexpr int TimesSubsidyClear = 168;
constexpr int BalanceIn = 169;
constexpr int BalanceOut = 170;
constexpr int TimesIn = 171;
constexpr int TimesOut = 172;
constexpr int TransferRecharge = 173;
constexpr int TransferRechargeId = 174;
constexpr int VoidBalance = 175;
constexpr int VoidTimes = 177;
constexpr int Refund = 179;
constexpr int PcWaterTransfer = 181;
constexpr int ProfitLoss = 201;
constexpr int ProfitLossRecharge = 202;
constexpr int Settlement = 250;

// Lang number of a kind's display text; -1 for a kind without one.
int langNumber(int code);
// The display text in the loaded language; "" for an unknown kind.
std::string name(int code);
}  // namespace XF_Type_Code

// The kind groups that queries select and reports sum.
namespace XF_Kind_Group {
using Kinds = std::initializer_list<int>;
// Kinds of the per-employee statistics query.
constexpr Kinds PersonalStatistics = {1, 2, 179, 3, 5, 6, 161, 7, 8, 163, 9, 10, 162, 181, 17, 201, 202};
// Summary-report groups; money groups sum YuE_Change, times groups YuCi_Change.
constexpr Kinds ConsumeMoney = {1, 2, 201, 179};
constexpr Kinds ConsumeTimes = {3};
constexpr Kinds MealMoney = {1, 2};  // with XF_Meal = the meal
constexpr Kinds TerminalRecharge = {5, 6};
constexpr Kinds TerminalTimesRecharge = {7, 8};
constexpr Kinds TerminalWithdraw = {9, 10};
constexpr Kinds PcMoney = {161, 202, 169, 170, 174, 129};
constexpr Kinds PcWithdraw = {162};
constexpr Kinds VoidBalance = {175};
constexpr Kinds VoidTimes = {177};
constexpr Kinds SubsidyMoney = {11};
constexpr Kinds TransferRecharge = {173, 174};
constexpr Kinds SubsidyTimes = {13};
constexpr Kinds ClearMoney = {166};
constexpr Kinds ClearTimes = {168};
constexpr Kinds WaterTransfer = {17, 181};
// Meal orders and cancellations (selected by DC_Date) and returns (by Date_Time).
constexpr Kinds MealOrders = {15, 16};
constexpr Kinds MealReturns = {48};

// "1,2,201,179": a group as the list of an SQL "in (...)".
std::string sqlList(Kinds kinds);
}  // namespace XF_Kind_Group

// Meal segments of Record_XF.XF_Meal, in the order every per-meal column set uses.
namespace XF_Meal_Code {
constexpr int Breakfast = 1;
constexpr int Lunch = 2;
constexpr int Supper = 3;
constexpr int NightMeal = 4;
constexpr int LateSnack = 5;
constexpr int Count = 5;
// Column prefix of meal 1..5: Zao, Zhong, Wan, Ye, Xiao.
const char* prefix(int meal);
// Display text of meal 1..5; "" for any other value.
std::string name(int meal);
// Lang number of the summary report's "other periods" slot.
constexpr int OtherSlotLang = 553;
}  // namespace XF_Meal_Code

}  // namespace tolvenk
