#include <gtest/gtest.h>

#include "support/TestDb.h"

using namespace tolvenk;

namespace {

std::vector<std::string> columns(db::Connection& con, const std::string& table) {
    return test::column(con, "select name from pragma_table_info('" + table + "') order by cid");
}

}  // namespace

// Rows are read and written by position, so these counts and places are fixed.
TEST(BusinessSchema, ColumnCountsAndPositionsThatReadersRelyOn) {
    test::TempDir dir;
    auto con = test::connect(test::createBusinessDb(dir.file("b.mdb")));
    const auto xf = columns(*con, "Record_XF");
    ASSERT_EQ(xf.size(), 28u);
    EXPECT_EQ(xf[7], "XF_Type");
    EXPECT_EQ(xf[15], "Date_Time");
    EXPECT_EQ(xf[23], "Err_Code");
    EXPECT_EQ(xf[25], "DC_Date");
    EXPECT_EQ(columns(*con, "Record_BF_XF"), xf);
    EXPECT_EQ(columns(*con, "Ren_Per_Info").size(), 27u);
    EXPECT_EQ(columns(*con, "Ren_Per_Info")[3], "P_Name");
    EXPECT_EQ(columns(*con, "Ren_Per_Info")[4], "P_Code");
    EXPECT_EQ(columns(*con, "BuTie_DuiYing").size(), 4u);
    EXPECT_EQ(columns(*con, "Card_Type").size(), 23u);
    EXPECT_EQ(columns(*con, "Card_Info")[4], "Card_No_Lng");
    EXPECT_EQ(columns(*con, "Card_Info")[14], "C_LeiBie");
    EXPECT_EQ(columns(*con, "Mach_Info").size(), 45u);
    EXPECT_EQ(columns(*con, "Mach_Info")[44], "New_Date");
    EXPECT_EQ(columns(*con, "XF_Can_Time").size(), 12u);
    EXPECT_EQ(columns(*con, "XF_Can_Time")[0], "Zao_1");
    EXPECT_EQ(columns(*con, "DC_ShiDuan").size(), 17u);
    EXPECT_EQ(columns(*con, "DC_ZhengChangRi").size(), 36u);
    EXPECT_EQ(columns(*con, "DC_ZhengChangRi")[35], "Sun_Xiao");
    EXPECT_EQ(columns(*con, "DC_TeShuRi")[1], "TS_Date");
    const auto bt = columns(*con, "BuTie_OK");
    ASSERT_EQ(bt.size(), 28u);
    EXPECT_EQ(bt[10], "B_JinE");
    EXPECT_EQ(bt[13], "B_Ci");
    EXPECT_EQ(bt[18], "B_Times");
    EXPECT_EQ(bt[21], "B_Type");
    EXPECT_EQ(bt[26], "B_SF");
    EXPECT_EQ(bt[27], "B_Unit");
    EXPECT_EQ(columns(*con, "Sys_Para")[7], "P2");
    EXPECT_EQ(columns(*con, "Sys_Para")[10], "P5");
}

TEST(BusinessSchema, StrictTablesRefuseBadValues) {
    test::TempDir dir;
    auto con = test::connect(test::createBusinessDb(dir.file("b.mdb")));
    EXPECT_ANY_THROW(con->execute("insert into Record_XF(YuE_Change) values('abc')"));
    con->execute("insert into Record_XF(YuE_Change,Date_Time) values('-6950','2026-01-01 08:00:00')");
    EXPECT_EQ(con->openRecordset("select typeof(YuE_Change), Err_Code from Record_XF")->field(0).toString(), "integer");
}
