#include "platform/db/DbError.h"
#include "support/XfFixture.h"

using namespace tolvenk;

namespace {
class XfWriters : public test::XfFixture {
protected:
    // Every column of the last Record_XF row, NULL shown as "<null>".
    V last() { return test::row(*con, "select * from Record_XF where ID=(select max(ID) from Record_XF)"); }
    std::int64_t count() { return test::number(*con, "select count(*) from Record_XF"); }
    // The 26 values of a clearing row: index 0 unused, 1..25 the columns Mach_ID..DC_Date.
    static V clearing() {
        return {"", "36", "2", "1002", "", "1", "10", "166", "0", "5000", "-5000", "0", "1", "3", "0",
                "2026-11-30 23:00:00", "C2", "0", "1", "1", "2", "0", "0", "0", "2026-11", ""};
    }
};
}  // namespace

TOLVENK_ON_BOTH_ENGINES(XfWriters);

TEST_P(XfWriters, ClearingRowGoesToColumnsOneToTwentyFiveOnBothPaths) {
    for (const char* kind : {"SQL", "Access"}) {
        DB_Type = kind;
        con->execute("delete from Record_XF");
        ASSERT_TRUE(svc.Add_XF_QL(clearing())) << kind;
        const V r = last();
        ASSERT_EQ(r.size(), 28u) << kind;
        EXPECT_EQ(r[1], "36");
        EXPECT_EQ(r[3], "1002");
        EXPECT_EQ(r[4], "");
        EXPECT_EQ(r[7], "166");
        EXPECT_EQ(r[10], "-5000");
        EXPECT_EQ(r[15], "2026-11-30 23:00:00");
        EXPECT_EQ(r[16], "C2");
        EXPECT_EQ(r[24], "2026-11");
        EXPECT_EQ(r[25], "");
        EXPECT_EQ(r[26], "<null>");
        EXPECT_EQ(r[27], "<null>");
        EXPECT_EQ(count(), 1);
    }
}

TEST_P(XfWriters, BalanceVoidRecordsBeforeChangeAndAfter) {
    ASSERT_TRUE(svc.add_YuE_ZF(3, 175, -800, "2026-12-06 10:00:00", "O'C3", 2, 7));
    const V r = last();
    EXPECT_EQ(r[1], "0");
    EXPECT_EQ(r[2], "3");
    EXPECT_EQ(r[5], "2");
    EXPECT_EQ(r[7], "175");
    EXPECT_EQ(r[9], "800");    // the balance before
    EXPECT_EQ(r[10], "-800");  // the change
    EXPECT_EQ(r[11], "0");     // nothing left
    EXPECT_EQ(r[13], "0");
    EXPECT_EQ(r[14], "-3");
    EXPECT_EQ(r[16], "O'C3");
    EXPECT_EQ(r[18], "7");
    EXPECT_EQ(r[23], "0");
    EXPECT_EQ(r[24], "");
    EXPECT_EQ(r[4], "<null>");  // the cashier is left to the database
    EXPECT_EQ(count(), 9);
}

// The void of the largest balance is written as it is; a change of -2^63
// has no balance before it that a record holds, and nothing is written.
TEST_P(XfWriters, TheVoidOfTheLargestBalanceIsExactAndOneBeyondIsRefused) {
    ASSERT_TRUE(con->execute(XFService::add_YuE_ZF_Sql(3, 175, -INT64_MAX, "2026-12-06 10:00:00", "C3", 2, 7)) > 0);
    const V r = last();
    EXPECT_EQ(r[9], "9223372036854775807");
    EXPECT_EQ(r[10], "-9223372036854775807");
    const auto before = count();
    EXPECT_THROW(XFService::add_YuE_ZF_Sql(3, 175, INT64_MIN, "2026-12-06 10:00:00", "C3", 2, 7), db::DbError);
    EXPECT_EQ(count(), before);
}

TEST_P(XfWriters, MealPeriodRow) {
    V times{"06:00:00", "09:00:00", "11:00:00", "13:30:00", "17:00:00", "19:00:00",
            "21:00:00", "23:00:00", "00:00:00", "02:00:00", "60000", "5"};
    EXPECT_EQ(svc.Add_Can_Time(times), 0);
    times[3] = "14:00:00";
    times[11] = "6";
    EXPECT_TRUE(svc.Update_Can_Time(times));
    const DataList d = svc.Get_Can_Time();
    ASSERT_EQ(d.rowUBound(), 1);
    EXPECT_EQ(d(1, 0), "06:00:00");
    EXPECT_EQ(d(1, 3), "14:00:00");
    EXPECT_EQ(d(1, 10), "60000");
    EXPECT_EQ(d(1, 11), "6");
    times[0] = "x'y";  // a quote in a value is stored, not executed
    EXPECT_TRUE(svc.Update_Can_Time(times));
    EXPECT_EQ(svc.Get_Can_Time()(1, 0), "x'y");
}
