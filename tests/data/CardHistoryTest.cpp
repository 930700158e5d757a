// The lines of the card history from lists built here, figures by hand.
#include <gtest/gtest.h>

#include "data/CardHistory.h"
#include "data/TableColumns.h"

using namespace tolvenk;

namespace {

namespace X = col::Record_XF;

// Two records: a recharge, then a meal dated before it, uncertain, at
// terminal 11 of place 1 and owner 1.
DataList records() {
    const std::vector<std::string> names{X::ID, X::Mach_ID, X::Shou_Kuan, X::XF_Dian_ID, X::XF_Type, X::XF_Meal,
                                         X::YuE_Change, X::YuE_New, X::Card_LiuShui, X::Date_Time, X::YuCi_Change,
                                         X::XF_Unit, X::Ci_LiuShui, X::YuCi_New, X::Err_Code};
    DataList d(2, names);
    auto set = [&](int r, const char* c, const std::string& v) { d(r, d.col(c)) = v; };
    for (const auto& [c, v] : std::vector<std::pair<const char*, std::string>>{
             {X::ID, "1"}, {X::XF_Type, "5"}, {X::YuE_Change, "1000"}, {X::YuE_New, "1000"}, {X::Card_LiuShui, "1"},
             {X::Date_Time, "2026-05-02 08:00:00"}, {X::YuCi_Change, "0"}, {X::Ci_LiuShui, "0"}, {X::YuCi_New, "5"},
             {X::Err_Code, "0"}, {X::XF_Meal, "0"}})
        set(1, c, v);
    for (const auto& [c, v] : std::vector<std::pair<const char*, std::string>>{
             {X::ID, "2"}, {X::Mach_ID, "11"}, {X::Shou_Kuan, "op"}, {X::XF_Dian_ID, "1"}, {X::XF_Type, "1"},
             {X::XF_Meal, "2"}, {X::YuE_Change, "-300"}, {X::YuE_New, "700"}, {X::Card_LiuShui, "2"},
             {X::Date_Time, "2026-05-01 12:00:00"}, {X::YuCi_Change, "-1"}, {X::XF_Unit, "1"}, {X::Ci_LiuShui, "3"},
             {X::YuCi_New, "4"}, {X::Err_Code, "1"}})
        set(2, c, v);
    return d;
}

Card_History::Names names() {
    Card_History::Names n{DataList(1, {col::XF_Dian_Info::XF_Dian_ID, col::XF_Dian_Info::XF_Dian_Name}),
                          DataList(1, {col::XF_Unit_Info::XF_Unit_ID, col::XF_Unit_Info::XF_Unit_Name}),
                          DataList(2, {col::Mach_Info::Mach_ID, col::Mach_Info::Mach_Name})};
    n.dian(1, 0) = "1", n.dian(1, 1) = "一食堂";
    n.unit(1, 0) = "1", n.unit(1, 1) = "膳食科";
    n.mach(1, 0) = "11", n.mach(1, 1) = "一号机";
    n.mach(2, 0) = "12", n.mach(2, 1) = "充值机";
    return n;
}

std::vector<Card_History::Line> lines(bool ic, Card_History::Running& running, int stopAt = 0) {
    std::vector<Card_History::Line> out;
    Card_History::Lines(records(), ic, names(), running, [&](const Card_History::Line& l, int done, int total) {
        EXPECT_EQ(total, 2);
        out.push_back(l);
        return done != stopAt;
    });
    return out;
}

}  // namespace

TEST(CardHistory, IcLinesTakeTheStoredBalancesAndLeaveKindsWithoutASerial) {
    Card_History::Running running;
    running.money.add(100);
    running.times.add(2);
    const auto l = lines(true, running);
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[0].after.whole(), "1000");
    EXPECT_TRUE(l[0].money);
    EXPECT_FALSE(l[0].times);  // count serial 0
    EXPECT_FALSE(l[0].earlier);
    EXPECT_FALSE(l[0].uncertain);
    EXPECT_EQ(l[0].mach, "");
    EXPECT_EQ(l[1].change.whole(), "-300");
    EXPECT_EQ(l[1].after.whole(), "700");
    EXPECT_EQ(l[1].ciAfter.whole(), "4");
    EXPECT_TRUE(l[1].times);
    EXPECT_TRUE(l[1].earlier);
    EXPECT_TRUE(l[1].uncertain);
    EXPECT_EQ(l[1].type, 1);
    EXPECT_EQ(l[1].meal, 2);
    EXPECT_EQ((std::vector<std::string>{l[1].dian, l[1].unit, l[1].mach, l[1].cashier}),
              (std::vector<std::string>{"一食堂", "膳食科", "一号机", "op"}));
    // The running balances are an ID matter.
    EXPECT_EQ(running.money.whole(), "100");
    EXPECT_EQ(running.times.whole(), "2");
}

TEST(CardHistory, IdLinesRunTheEmployeesBalancesOnByEachChange) {
    Card_History::Running running;
    running.money.add(100);
    running.times.add(2);
    const auto l = lines(false, running);
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[0].after.whole(), "1100");  // 100 + 1000
    EXPECT_EQ(l[1].after.whole(), "800");   // 1100 - 300
    EXPECT_EQ(l[0].ciAfter.whole(), "2");
    EXPECT_EQ(l[1].ciAfter.whole(), "1");
    EXPECT_TRUE(l[0].times);
    EXPECT_EQ(running.money.whole(), "800");
    EXPECT_EQ(running.times.whole(), "1");

    // Stopped after the first line: the balances ran on by that line only.
    Card_History::Running stopped;
    EXPECT_EQ(lines(false, stopped, 1).size(), 1u);
    EXPECT_EQ(stopped.money.whole(), "1000");
}

TEST(CardHistory, ACardIssuedAgainIsListedOnceByItsFirstNumber) {
    DataList cards(4, {col::Card_Log::Card_No, col::Card_Log::Card_Number});
    const char* rows[4][2] = {{"C1", "N1"}, {"C1b", "N1b"}, {"c1", "N1x"}, {"C2", "N2"}};
    for (int r = 0; r < 4; ++r) cards(r + 1, 0) = rows[r][0], cards(r + 1, 1) = rows[r][1];
    std::vector<std::string> listed;
    for (const auto& c : Card_History::Listed_Cards(cards)) listed.push_back(c.no + "/" + c.number);
    EXPECT_EQ(listed, (std::vector<std::string>{"C1/N1", "C1b/N1b", "C2/N2"}));
    EXPECT_TRUE(Card_History::Listed_Cards(DataList()).empty());
}
