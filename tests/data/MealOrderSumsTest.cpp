// A day's meal-order figures below the window, against plain SQL over rows
// of every kind that could be mistaken for an order, a cancellation or a return.
#include <cstdint>
#include <limits>
#include <string>

#include "data/DCService.h"
#include "data/MealOrderSums.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

class MealOrderSums : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        using test::XfRow;
        const auto row = [](int kind, int type, int meal, long long money, const char* at) {
            return XfRow().kind(kind).type(type).meal(meal).money(money).date(at).err(0);
        };
        for (const XfRow& r : {
                 row(1, 15, 2, -800, "2026-11-30 09:00:00").dcDate("2026-12-01"),
                 row(2, 15, 2, -700, "2026-11-30 09:10:00").dcDate("2026-12-01").err(1),
                 row(1, 16, 2, 800, "2026-11-30 10:00:00").dcDate("2026-12-01"),
                 row(1, 15, 3, -900, "2026-11-30 10:00:00").dcDate("2026-12-01"),   // another meal
                 row(1, 15, 2, -600, "2026-12-01 09:00:00").dcDate("2026-12-02"),   // another day
                 row(1, 1, 2, -1200, "2026-12-01 12:10:00").dcDate("2026-12-01"),   // a sale is no order
                 row(2, 48, 2, 700, "2026-12-01 12:00:00"),
                 row(1, 48, 2, 300, "2026-12-01 12:30:00"),
                 row(1, 48, 2, 500, "2026-12-02 12:30:00")})                        // returned the next day
            r.insert(*con);
        dc.Set_strCN(cs);
    }
    // count and sum of YuE_Change by plain SQL.
    std::pair<std::int64_t, std::int64_t> sql(const std::string& where) {
        const auto r = test::row(*con, "select count(*),coalesce(sum(YuE_Change),0) from Record_XF where " + where);
        return {std::stoll(r.at(0)), std::stoll(r.at(1))};
    }
    DCService dc;
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(MealOrderSums);

TEST_P(MealOrderSums, ADaysMealHoldsWhatPlainSqlCountsForEachCardKind) {
    for (int kind : {0, 1, 2}) {
        const std::string k = kind ? " and C_LeiBie=" + std::to_string(kind) : "";
        const std::string ordered = "DC_Date like '2026-12-01%' and XF_Meal=2" + k;
        const auto [orders, orderSum] = sql(ordered + " and XF_Type=15");
        const auto [cancels, cancelSum] = sql(ordered + " and XF_Type=16");
        const auto [taken, returned] = sql("Date_Time like '2026-12-01%' and XF_Meal=2 and XF_Type=48" + k);
        const Meal_Order_Sums s = Meal_Order_Day(dc, "2026-12-01", kind, 2);
        EXPECT_EQ(s.orders, orders) << kind;
        EXPECT_EQ(s.preDeducted.whole(), std::to_string(-orderSum)) << kind;
        EXPECT_EQ(s.cancellations, cancels) << kind;
        EXPECT_EQ(s.cancelled.whole(), std::to_string(cancelSum)) << kind;
        EXPECT_EQ(s.taken, taken) << kind;
        EXPECT_EQ(s.returned.whole(), std::to_string(returned)) << kind;
    }
    // By hand, all kinds: 1500 held less 800 cancelled, 1000 returned.
    const Meal_Order_Sums all = Meal_Order_Day(dc, "2026-12-01", 0, 2);
    EXPECT_EQ(all.held().whole(), "700");
    EXPECT_EQ(all.surplus().whole(), "-300");
}

TEST_P(MealOrderSums, TotalsAddUpExactlyPastSixtyFourBits) {
    Meal_Order_Sums total;
    total += Meal_Order_Day(dc, "2026-12-01", 0, 2);
    total += Meal_Order_Day(dc, "2026-12-02", 0, 2);
    EXPECT_EQ(total.orders, 3);
    EXPECT_EQ(total.preDeducted.whole(), "2100");
    EXPECT_EQ(total.taken, 3);
    EXPECT_EQ(total.returned.whole(), "1500");

    Meal_Order_Sums big;
    big.preDeducted.add(std::numeric_limits<std::int64_t>::max());
    big += total;
    EXPECT_EQ(big.preDeducted.whole(), "9223372036854777907");
    Meal_Order_Sums low;
    low.preDeducted.add(std::numeric_limits<std::int64_t>::min());
    low.cancelled.add(1);
    EXPECT_EQ(low.held().whole(), "-9223372036854775809");
}

// Meal 5, the last of a day's meals, counts like the others, on its own day
// of a range; a meal numbered 0 or 6 is no meal's. By hand, every card kind:
// on the 1st two orders of 4.50 and 5.50, one of them cancelled, 2.00
// returned; on the 2nd one order of 3.00.
TEST_P(MealOrderSums, TheFifthMealCountsOnEachDayOfARange) {
    using test::XfRow;
    const auto row = [](int kind, int type, int meal, long long money, const char* at) {
        return XfRow().kind(kind).type(type).meal(meal).money(money).date(at).err(0);
    };
    for (const XfRow& r : {row(1, 15, 5, -450, "2026-11-30 16:00:00").dcDate("2026-12-01"),
                           row(2, 15, 5, -550, "2026-11-30 16:05:00").dcDate("2026-12-01"),
                           row(1, 16, 5, 450, "2026-11-30 18:00:00").dcDate("2026-12-01"),
                           row(1, 48, 5, 200, "2026-12-01 23:30:00"),
                           row(1, 15, 5, -300, "2026-12-01 16:00:00").dcDate("2026-12-02"),
                           row(1, 15, 6, -990, "2026-11-30 16:00:00").dcDate("2026-12-01"),
                           row(1, 15, 0, -880, "2026-11-30 16:00:00").dcDate("2026-12-01"),
                           row(1, 48, 6, 770, "2026-12-01 23:40:00")})
        r.insert(*con);
    const auto days = Meal_Order_Days(dc, "2026-12-01", "2026-12-02", 0);
    ASSERT_EQ(days.size(), 2u);
    const Meal_Order_Sums& first = days[0][4];
    EXPECT_EQ(first.orders, 2);
    EXPECT_EQ(first.preDeducted.whole(), "1000");
    EXPECT_EQ(first.cancellations, 1);
    EXPECT_EQ(first.cancelled.whole(), "450");
    EXPECT_EQ(first.taken, 1);
    EXPECT_EQ(first.returned.whole(), "200");
    EXPECT_EQ(first.surplus().whole(), "350");
    EXPECT_EQ(days[1][4].orders, 1);
    EXPECT_EQ(days[1][4].preDeducted.whole(), "300");
    // The day's meals together: meal 2's 1500 and meal 3's 900 beside meal 5's 1000.
    Meal_Order_Sums day;
    for (const Meal_Order_Sums& m : days[0]) day += m;
    EXPECT_EQ(day.orders, 5);
    EXPECT_EQ(day.preDeducted.whole(), "3400");
    EXPECT_EQ(day.returned.whole(), "1200");
    // One meal asked alone, card kind 2 only.
    const Meal_Order_Sums alone = Meal_Order_Day(dc, "2026-12-01", 2, 5);
    EXPECT_EQ(alone.orders, 1);
    EXPECT_EQ(alone.preDeducted.whole(), "550");
    EXPECT_EQ(alone.returned.whole(), "0");
}
