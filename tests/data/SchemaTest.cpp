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
    struct Table {
        const char* name;
        std::size_t count;  // 0: not fixed here
        std::vector<std::pair<std::size_t, const char*>> at;
    };
    const Table tables[] = {
        {"Record_XF", 28, {{7, "XF_Type"}, {15, "Date_Time"}, {23, "Err_Code"}, {25, "DC_Date"}}},
        {"Ren_Per_Info", 27, {{3, "P_Name"}, {4, "P_Code"}}},
        {"BuTie_DuiYing", 4, {}},
        {"Card_Type", 23, {}},
        {"Card_Info", 0, {{4, "Card_No_Lng"}, {14, "C_LeiBie"}}},
        {"Mach_Info", 45, {{44, "New_Date"}}},
        {"XF_Can_Time", 12, {{0, "Zao_1"}}},
        {"DC_ShiDuan", 17, {}},
        {"DC_ZhengChangRi", 36, {{35, "Sun_Xiao"}}},
        {"DC_TeShuRi", 0, {{1, "TS_Date"}}},
        {"BuTie_OK", 28, {{10, "B_JinE"}, {13, "B_Ci"}, {18, "B_Times"}, {21, "B_Type"}, {26, "B_SF"}, {27, "B_Unit"}}},
        {"Sys_Para", 0, {{7, "P2"}, {10, "P5"}}},
    };
    for (const Table& t : tables) {
        SCOPED_TRACE(t.name);
        const auto cols = columns(*con, t.name);
        if (t.count) {
            EXPECT_EQ(cols.size(), t.count);
        }
        for (const auto& [i, name] : t.at) EXPECT_EQ(i < cols.size() ? cols[i] : "<none>", name) << i;
    }
    EXPECT_EQ(columns(*con, "Record_BF_XF"), columns(*con, "Record_XF"));
}

TEST(BusinessSchema, StrictTablesRefuseBadValues) {
    test::TempDir dir;
    auto con = test::connect(test::createBusinessDb(dir.file("b.mdb")));
    EXPECT_ANY_THROW(con->execute("insert into Record_XF(YuE_Change) values('abc')"));
    con->execute("insert into Record_XF(YuE_Change,Date_Time) values('-6950','2026-01-01 08:00:00')");
    EXPECT_EQ(con->openRecordset("select typeof(YuE_Change), Err_Code from Record_XF")->field(0).toString(), "integer");
}
