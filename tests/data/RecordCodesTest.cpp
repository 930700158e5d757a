#include <gtest/gtest.h>

#include "data/RecordXf.h"
#include "data/TableColumns.h"
#include "data/SettlementDate.h"
#include "data/XfTypeCode.h"
#include "lang/Language.h"

using namespace tolvenk;

TEST(XfTypeCode, NamesComeFromTheLoadedLanguage) {
    Load_Lan(0);
    EXPECT_EQ(XF_Type_Code::name(1), "消费");
    EXPECT_EQ(XF_Type_Code::name(17), "转款机转款");
    EXPECT_EQ(XF_Type_Code::name(202), "电脑充值");  // shown as a computer recharge
    EXPECT_EQ(XF_Type_Code::name(250), "结算");
    EXPECT_EQ(XF_Type_Code::name(4), "");
    EXPECT_EQ(XF_Type_Code::name(12), "");
    EXPECT_EQ(XF_Type_Code::name(173), XF_Type_Code::name(174));
    Load_Lan(1);
    EXPECT_EQ(XF_Type_Code::name(175), "Void Balance");
    EXPECT_EQ(XF_Type_Code::name(177), "Void Remaining Times");
    EXPECT_EQ(XF_Type_Code::name(201), "Consumption Gain/Loss");
}

TEST(XfMealCode, FiveSegmentsAndNothingElse) {
    Load_Lan(1);
    EXPECT_EQ(XF_Meal_Code::name(1), "Breakfast");
    EXPECT_EQ(XF_Meal_Code::name(5), "Midnight Snack");
    EXPECT_EQ(XF_Meal_Code::name(0), "");
    EXPECT_EQ(XF_Meal_Code::name(6), "");
    EXPECT_STREQ(XF_Meal_Code::prefix(2), "Zhong");
    EXPECT_STREQ(XF_Meal_Code::prefix(5), "Xiao");
}

TEST(XfKindGroup, ListsForSql) {
    EXPECT_EQ(XF_Kind_Group::sqlList(XF_Kind_Group::ConsumeMoney), "1,2,201,179");
    EXPECT_EQ(XF_Kind_Group::sqlList(XF_Kind_Group::PersonalStatistics), "1,2,179,3,5,6,161,7,8,163,9,10,162,181,17,201,202");
    EXPECT_EQ(std::string(col::Record_XF::DC_Date), "DC_Date");
    EXPECT_EQ(col::Record_XF::Count, 28);
}

TEST(SettlementDate, ReadsDatesAndFallsBack) {
    for (const auto& [stored, date] : std::initializer_list<std::pair<const char*, const char*>>{
             {"2026-03-05 00:00:00", "2026-03-05"}, {"2026/3/5", "2026-03-05"}, {"", "2008-01-01"},
             {"abcdef", "2008-01-01"}, {"2026-02-30", "2008-01-01"}, {"2026-03-05x", "2008-01-01"}})
        EXPECT_EQ(settlementDate(stored), date) << stored;
}

TEST(SettlementDate, MonthAfterTheSettlementDate) {
    for (const auto& [stored, month] : std::initializer_list<std::pair<const char*, const char*>>{
             {"2026-01-01 00:00:00", "2026-01-01"}, {"2026-01-02", "2026-02-01"}, {"2026-01-15", "2026-02-01"},
             {"2026-01-20", "2026-02-01"}, {"2026-01-31", "2026-02-01"}, {"2026-12-25", "2027-01-01"},
             {"2024-02-29", "2024-03-01"}, {"2026-02-20", "2026-03-01"}, {"2026-01-30", "2026-02-01"},
             {"no date", "2008-01-01"}})
        EXPECT_EQ(settlementMonth(stored), month) << stored;
}
