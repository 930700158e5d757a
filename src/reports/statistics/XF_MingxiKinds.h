#pragma once
// The kind groups of the transaction-detail window: which box stands for
// which transaction kinds, in the order the query lists them, and the order
// the boxes stand in their frame.
#include <array>
#include <vector>

#include "data/XfTypeCode.h"

namespace tolvenk::mingxi {

struct KindBox {
    int box;                 // index in chkType
    int text;                // Lang number of its caption
    std::vector<int> codes;  // XF_Type codes it adds to the kind list
};

struct KindGroup {
    int option;                  // index in optType; its frame is option - 1
    std::vector<KindBox> boxes;  // query order; the first takes the focus
    std::vector<int> shown;      // chkType indexes, left to right
};

inline const std::array<KindGroup, 4>& kindGroups() {
    namespace T = XF_Type_Code;
    static const std::array<KindGroup, 4> groups = {{
        {1,
         {{0, 200, {T::Consume, T::ProfitLoss}},
          {1, 202, {T::TimesConsume}},
          {2, 211, {T::MealOrder}},
          {3, 212, {T::MealOrderCancel}},
          {4, 213, {T::MealReturn}},
          {22, 201, {T::ConsumeCancel}},
          {23, 228, {T::Refund}}},
         {0, 1, 22, 23, 2, 3, 4}},
        {2,
         {{5, 215, {T::PcWithdraw}},
          {6, 214, {T::PcRecharge, T::ProfitLossRecharge}},
          {7, 411, {T::TimesRecharge}},
          {8, 410, {T::Withdraw}},
          {9, 409, {T::Recharge}},
          {10, 216, {T::PcTimesRecharge}}},
         {6, 5, 10, 9, 8, 7}},
        {3,
         {{12, 209, {T::Subsidy}},
          {13, 412, {T::TimesSubsidy}},
          {14, 60, {T::SubsidyClear}},
          {15, 220, {T::TimesSubsidyClear}},
          {16, 225, {T::TransferRecharge, T::TransferRechargeId}}},
         {12, 13, 14, 15, 16}},
        {4,
         {{11, 226, {T::VoidBalance}},
          {17, 224, {T::TimesOut}},
          {18, 223, {T::TimesIn}},
          {19, 222, {T::BalanceOut}},
          {20, 221, {T::BalanceIn}},
          {21, 413, {T::VoidTimes}}},
         {20, 19, 11, 18, 17, 21}},
    }};
    return groups;
}

// The boxes of kinds counted in times; hidden when the installation has no times purse.
inline constexpr std::array<int, 8> kTimesBoxes = {1, 7, 10, 13, 15, 17, 18, 21};

// Boxes unticked as the window is built.
inline constexpr std::array<int, 4> kUntickedBoxes = {1, 2, 3, 4};

constexpr int kBoxCount = 24;
constexpr int kOptionCount = 5;
constexpr int kFrameCount = 4;

}  // namespace tolvenk::mingxi
