#include "support/XfFixture.h"
#include "data/DCService.h"

using namespace tolvenk;

namespace {
class DcTest : public test::XfFixture {
protected:
    void SetUp() override {
        XfFixture::SetUp();
        if (IsSkipped()) return;
        dc.Set_strCN(cs);
    }
    DCService dc;
};
}  // namespace

TOLVENK_ON_BOTH_ENGINES(DcTest);

TEST_P(DcTest, OrderingPeriodsRowAddThenUpdate) {
    V v{"0", "1", "06:00:00", "08:00:00", "300", "10:00:00", "11:00:00", "800", "16:00:00", "17:00:00", "800",
        "20:00:00", "20:00:00", "0", "22:00:00", "22:00:00", "0"};
    for (const char* kind : {"SQL", "Access"}) {
        DB_Type = kind;
        con->execute("delete from DC_ShiDuan");
        ASSERT_TRUE(dc.Add_DC_ShiD(v));
        const DataList d = dc.Get_DC_ShiD();
        ASSERT_EQ(d.rowUBound(), 1);
        ASSERT_EQ(d.colUBound(), 16);
        for (int i = 1; i <= 16; ++i) EXPECT_EQ(d(1, i), v[static_cast<std::size_t>(i)]) << kind << " column " << i;
    }
    V changed = v;
    changed[0] = dc.Get_DC_ShiD()(1, 0);
    changed[1] = "0";
    changed[4] = "350";
    EXPECT_TRUE(dc.Update_DC(changed));
    EXPECT_EQ(dc.Get_DC_ShiD()(1, 1), "0");
    EXPECT_EQ(dc.Get_DC_ShiD()(1, 4), "350");
}

TEST_P(DcTest, NormalDaysRowAddThenUpdate) {
    V v{"0"};
    for (int i = 1; i <= 35; ++i) v.push_back(i % 3 == 0 ? "1" : "0");
    ASSERT_TRUE(dc.Add_ZC_DC(v));
    DataList d = dc.DC_ZhengChangRi();
    ASSERT_EQ(d.colUBound(), 35);
    EXPECT_EQ(d(1, 3), "1");
    EXPECT_EQ(d(1, 35), "0");
    v[0] = d(1, 0);
    v[35] = "1";
    EXPECT_TRUE(dc.Update_ZC_DC(v));
    EXPECT_EQ(dc.DC_ZhengChangRi()(1, 35), "1");
}

TEST_P(DcTest, SpecialDaysCarryTheirKeyFirst) {
    EXPECT_TRUE(dc.Add_TS_DC("2026-12-25", 1, 1, 0, 0, 0));
    EXPECT_TRUE(dc.Add_TS_DC("2026-10-01", 0, 1, 1, 0, 0));
    EXPECT_TRUE(dc.Add_TS_DC("2026-12-25", 0, 0, 0, 0, 1));
    const DataList all = dc.Select_TS_DC("");
    EXPECT_EQ(ids(all, 1), (V{"2026-10-01", "2026-12-25", "2026-12-25"}));
    EXPECT_EQ(all(1, 0), "2");  // the key
    EXPECT_EQ(all(1, 3), "1");  // TS_Wan
    EXPECT_TRUE(dc.Delete_TS_DC("2026-12-25"));  // every row of the day
    EXPECT_EQ(ids(dc.Select_TS_DC(""), 1), (V{"2026-10-01"}));
    EXPECT_EQ(dc.Select_TS_DC("2026-12-25").rowUBound(), 0);
    EXPECT_EQ(dc.Select_TS_DC("x' or '1'='1").rowUBound(), 0);
}

TEST_P(DcTest, MealOrderRowsOfADay) {
    con->execute("delete from Record_XF");
    using test::XfRow;
    const auto order = [](int id, int type, const char* at) { return XfRow().id(id).type(type).date(at); };
    for (const XfRow& r : {order(1, 15, "2026-12-01 09:00:00").meal(2).kind(1).money(-800).dcDate("2026-12-02"),
                           order(2, 16, "2026-12-01 10:00:00").meal(2).kind(1).money(800).dcDate("2026-12-02"),
                           order(3, 15, "2026-12-01 09:30:00").meal(2).kind(2).money(-800).dcDate("2026-12-02"),
                           order(4, 15, "2026-12-01 09:00:00").meal(3).kind(1).money(-800).dcDate("2026-12-02"),
                           order(5, 48, "2026-12-02 11:30:00").meal(2).kind(1).money(800),
                           order(6, 48, "2026-12-02 11:40:00").meal(2).kind(2).money(800),
                           order(7, 1, "2026-12-02 11:45:00").meal(2).kind(1).money(-800)})
        r.insert(*con);
    EXPECT_EQ(ids(dc.Select_DC("2026-12-02", 0, 2)), (V{"1", "2", "3"}));
    EXPECT_EQ(ids(dc.Select_DC("2026-12-02", 2, 2)), (V{"3"}));
    EXPECT_EQ(ids(dc.Select_DC("2026-12-02", 0, 3)), (V{"4"}));
    EXPECT_EQ(ids(dc.Select_DC_XF("2026-12-02", 0, 2)), (V{"5", "6"}));
    EXPECT_EQ(ids(dc.Select_DC_XF("2026-12-02", 1, 2)), (V{"5"}));
    EXPECT_EQ(dc.Get_CD_Time().rowUBound(), 0);
}
