// On the server the report's grouped statement is planned from how many days
// and months the period holds, not from how many distinct timestamps: taking
// each period to be as distinct as Date_Time made the planner expect a group
// per row and sort the whole period on disk instead of hashing a few groups.
#include <gtest/gtest.h>

#include <regex>

#include "data/HzReportSql.h"
#include "support/TestDb.h"

using namespace tolvenk;

namespace {

// The planner's expected row count of the statement's top node.
double expectedGroups(db::Connection& con, const std::string& sql) {
    const std::string top = con.openRecordset("explain " + sql)->field(0).toString();
    std::smatch m;
    if (!std::regex_search(top, m, std::regex(R"(rows=(\d+))"))) ADD_FAILURE() << top;
    return m.empty() ? -1 : std::stod(m[1].str());
}

}  // namespace

TEST(ServerGroupingPlan, PeriodsCountAsTheDaysAndMonthsTheyHold) {
    if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
    test::BusinessDb db(test::Engine::Server);
    auto con = test::connect(db.connectionString());
    // 6,000 records, every one at its own second, on three days of October,
    // of two kinds: six groups by day and kind, two by month and kind.
    con->execute(
        "insert into Record_XF(Pinfo_id,XF_Type,XF_Meal,Err_Code,YuE_Change,Date_Time) "
        "select 1, 1 + i % 2, 0, 0, -100, to_char(timestamp '2026-10-01' + (i % 3) * interval '1 day' + "
        "(i / 3) * interval '1 second', 'YYYY-MM-DD HH24:MI:SS') from generate_series(0, 5999) as g(i)");
    con->execute("analyze Record_XF");
    const std::string byDay = HZ_Report_Sql::Grouped_Records(10, "", "", false, "2026-10-01", "2026-10-03", "", true, false);
    const std::string byMonth = HZ_Report_Sql::Grouped_Records(7, "", "", false, "2026-10", "2026-10", "1,2", true, false);
    EXPECT_LE(expectedGroups(*con, byDay), 60);
    EXPECT_LE(expectedGroups(*con, byMonth), 20);

    // Without the period statistics the same statements expect a group for
    // nearly every record: what the statistics are there to prevent.
    con->execute("drop statistics ST_Record_XF_Day");
    con->execute("drop statistics ST_Record_XF_Month");
    con->execute("analyze Record_XF");
    EXPECT_GE(expectedGroups(*con, byDay), 1000);
    EXPECT_GE(expectedGroups(*con, byMonth), 1000);
}

TEST(ServerGroupingPlan, KindsThatGoTogetherCountAsTheirCombinations) {
    if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
    test::BusinessDb db(test::Engine::Server);
    auto con = test::connect(db.connectionString());
    // Card kind, kind, meal and validity move together: five combinations of
    // them, not 5 x 5 x 5 x 5, on one day.
    con->execute(
        "insert into Record_XF(Pinfo_id,C_LeiBie,XF_Type,XF_Meal,Err_Code,YuE_Change,Date_Time) "
        "select 1, i % 5, 1 + i % 5, i % 5, i % 5, -100, to_char(timestamp '2026-10-01' + i * interval '1 second', "
        "'YYYY-MM-DD HH24:MI:SS') from generate_series(0, 5999) as g(i)");
    con->execute("analyze Record_XF");
    const std::string byKind =
        HZ_Report_Sql::Grouped_Records(10, "Record_XF.C_LeiBie", "", false, "2026-10-01", "2026-10-01", "", true, true);
    EXPECT_LE(expectedGroups(*con, byKind), 50);

    con->execute("drop statistics ST_Record_XF_Kinds");
    con->execute("analyze Record_XF");
    EXPECT_GE(expectedGroups(*con, byKind), 500);
}
