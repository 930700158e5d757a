#pragma once
// The columns each meal table keeps for one meal, so that rows read with
// `select *` are read by name.
#include <array>
#include <string>

#include "data/TableColumns.h"

namespace tolvenk::meals {

namespace C = col;

struct Meal_Columns {
    const char* periodStart;  // XF_Can_Time: the canteen's serving period
    const char* periodEnd;
    const char* orderStart;   // DC_ShiDuan: the ordering window and the amount pre-deducted
    const char* orderEnd;
    const char* preCharge;
    const char* special;      // DC_TeShuRi: the special day's flag
    const char* weekSuffix;   // DC_ZhengChangRi: <weekday>_<suffix>
};

// Meal 1..5: breakfast, lunch, supper, night meal, late-night snack.
inline const Meal_Columns& columns(int meal) {
    static constexpr std::array<Meal_Columns, 5> kMeals{{
        {C::XF_Can_Time::Zao_1, C::XF_Can_Time::Zao_2, C::DC_ShiDuan::DC_Zao_1, C::DC_ShiDuan::DC_Zao_2,
         C::DC_ShiDuan::DC_Zao_YuKou, C::DC_TeShuRi::TS_Zao, "Zao"},
        {C::XF_Can_Time::Zhong_1, C::XF_Can_Time::Zhong_2, C::DC_ShiDuan::DC_Zhong_1, C::DC_ShiDuan::DC_Zhong_2,
         C::DC_ShiDuan::DC_Zhong_YuKou, C::DC_TeShuRi::TS_Zhong, "Zhong"},
        {C::XF_Can_Time::Wan_1, C::XF_Can_Time::Wan_2, C::DC_ShiDuan::DC_Wan_1, C::DC_ShiDuan::DC_Wan_2,
         C::DC_ShiDuan::DC_Wan_YuKou, C::DC_TeShuRi::TS_Wan, "Wan"},
        {C::XF_Can_Time::Ye_1, C::XF_Can_Time::Ye_2, C::DC_ShiDuan::DC_Ye_1, C::DC_ShiDuan::DC_Ye_2,
         C::DC_ShiDuan::DC_Ye_YuKou, C::DC_TeShuRi::TS_Ye, "Ye"},
        {C::XF_Can_Time::Xiao_1, C::XF_Can_Time::Xiao_2, C::DC_ShiDuan::DC_Xiao_1, C::DC_ShiDuan::DC_Xiao_2,
         C::DC_ShiDuan::DC_Xiao_YuKou, C::DC_TeShuRi::TS_Xiao, "Xiao"},
    }};
    return kMeals[static_cast<std::size_t>(meal - 1)];
}

// DC_ZhengChangRi's flag of weekday 1..7 (Monday first) and meal 1..5.
inline std::string weekColumn(int weekday, int meal) {
    static const char* const kDays[] = {"Mon", "Tues", "Wed", "Thurs", "Fri", "Sat", "Sun"};
    return std::string(kDays[weekday - 1]) + "_" + columns(meal).weekSuffix;
}

}  // namespace tolvenk::meals
