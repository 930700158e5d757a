#include "data/BTService.h"
#include "data/SubsidyBatch.h"
#include "support/Fixtures.h"

using namespace tolvenk;

TEST(SubsidyBatch, AmountsTimesAndSignedChanges) {
    EXPECT_EQ(BT_Yuan_To_Fen(12.34), 1230);
    EXPECT_EQ(BT_Yuan_To_Fen(12.345), 1230);  // 1234.5 to the even 1234, then whole 10 fen
    EXPECT_EQ(BT_Yuan_To_Fen(0.05), 0);
    EXPECT_EQ(BT_Yuan_To_Fen(5000), 500000);
    EXPECT_EQ(BT_Yuan_To_Fen(0.999), 100);

    using P = BT_Value_Problem;
    EXPECT_EQ(BT_Check_Value("  ", false), P::Empty);
    EXPECT_EQ(BT_Check_Value("12元", false), P::Not_Number);
    EXPECT_EQ(BT_Check_Value("-0.01", false), P::Negative);
    EXPECT_EQ(BT_Check_Value("5000.01", false), P::Too_Big);
    EXPECT_EQ(BT_Check_Value("5000", false), std::nullopt);
    EXPECT_EQ(BT_Check_Value("3000", true), std::nullopt);
    EXPECT_EQ(BT_Check_Value("3001", true), P::Too_Big);

    EXPECT_EQ(Signed_Change(500), "+500");
    EXPECT_EQ(Signed_Change(-500), "-500");
    EXPECT_EQ(Signed_Change(0), "+0");
    EXPECT_EQ(Signed_Change(INT64_MIN), "-9223372036854775808");
}

class BatchRows : public test::DbTest {};
TOLVENK_ON_BOTH_ENGINES(BatchRows);

// The whole batch or nothing, and never twice.
TEST_P(BatchRows, CreateBatchWritesAllRowsOrNone) {
    BTService bt;
    bt.Set_strCN(cs);
    ASSERT_TRUE(bt.Create_Batch({"4", "9"}, "2026-12-06 10:00:00", 7, 2026, 12, 1, 1, 0));
    EXPECT_EQ(test::rows(*con, "select Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,B_Type,"
                               "B_SF,B_Unit from BuTie_OK order by ID"),
              (std::vector<test::Texts>{{"4", "2026-12-06 10:00:00", "7", "0", "0", "2026", "12", "1", "1", "-1", "0"},
                                        {"9", "2026-12-06 10:00:00", "7", "0", "0", "2026", "12", "1", "1", "-1", "0"}}));
    EXPECT_FALSE(bt.Create_Batch({"5"}, "2026-12-06 10:00:00", 7, 2026, 12, 1, 0, 1));
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_OK"), 2);

    test::refuseWrites(*con, engine(), "fail", "insert", "BuTie_OK", "new.Pinfo_ID=6", "full");
    EXPECT_THROW(bt.Create_Batch({"5", "6", "7"}, "t", 7, 2026, 12, 2, 0, 1), db::DbError);
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_OK"), 2);

    EXPECT_TRUE(bt.Update_info_Rows({{"1", 300}, {"2", 400}}, "t", 7, BtAmount::Money));
    test::refuseWrites(*con, engine(), "f2", "update", "BuTie_OK", "new.ID=2", "x");
    EXPECT_THROW(bt.Update_info_Rows({{"1", 500}, {"2", 600}}, "t", 7, BtAmount::Money), db::DbError);
    EXPECT_EQ(test::column(*con, "select B_JinE from BuTie_OK order by ID"), (test::Texts{"300", "400"}));
}

// The month's clearing, done by another office after the window's own check,
// is seen under the batch's write lock: an ID batch is refused, saying why.
TEST_P(BatchRows, AnIdBatchOfAMonthClearedMeanwhileIsRefused) {
    BTService bt;
    bt.Set_strCN(cs);
    con->execute("insert into BuTie_OK(Pinfo_ID,B_Year,B_Month,B_Times,B_SF,B_Unit) values(1,2026,11,-1,2,-1)");
    bool cleared = false;
    EXPECT_FALSE(bt.Create_Batch({"4", "9"}, "t", 7, 2026, 11, 1, 0, 1, true, &cleared));
    EXPECT_TRUE(cleared);
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_OK"), 1);
    EXPECT_TRUE(bt.Create_Batch({"4"}, "t", 7, 2026, 11, 1, 0, 0, false, &cleared));  // an IC batch
    EXPECT_FALSE(cleared);
}
