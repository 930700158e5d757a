// The rows the generator writes for the windows beyond the transactions, and
// the period it takes when none is named.
#include <gtest/gtest.h>

#include <ctime>
#include <map>
#include <string>

#include "demo_gen/DemoGenerator.h"
#include "platform/db/Connection.h"
#include "support/TestDb.h"

namespace tolvenk {
namespace {

using test::number;
using test::text;

class DemoWindowData : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        demo::Options o;
        o.businessPath = dir_->file("TAM08.mdb");
        o.transactions = 6000;
        o.seed = 4;
        o.firstDay = "2026-01-01";
        o.lastDay = "2026-12-04";
        o.everyWindow = true;
        demo::generate(o);
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override { con_ = test::connect(db::Connection::fileConnectionString(dir_->file("TAM08.mdb"))); }
    int64_t count(const std::string& sql) { return number(*con_, sql); }

    static test::TempDir* dir_;
    std::shared_ptr<db::Connection> con_;
};
test::TempDir* DemoWindowData::dir_ = nullptr;

// Rows of the ID cards: no card serials, each purse a chain from its issue
// to the balance Card_Info holds, across the cards its holder had.
TEST_F(DemoWindowData, IdPursesChainToTheirBalance) {
    ASSERT_GE(count("select count(*) from Card_Info where Card_Model = 1"), 8);
    // The chain starts at the balance (zeroed on the log where the office voided it).
    std::map<int64_t, int64_t> balance;  // per holder
    for (auto rs = con_->openRecordset("select l.Pinfo_id, l.Card_YuE from Card_Log l join Card_Info c on "
                                       "c.Pinfo_id = l.Pinfo_id and c.Card_Model = 1 where l.Op_Type = 0 "
                                       "and l.Date_Time = (select min(Date_Time) from Card_Log f where "
                                       "f.Pinfo_id = l.Pinfo_id) and not exists (select 1 from Record_XF v where "
                                       "v.Pinfo_id = l.Pinfo_id and v.XF_Type = 175)");
         !rs->eof(); rs->moveNext())
        balance[rs->field(0).toInt64()] = rs->field(1).toInt64();
    for (auto rs = con_->openRecordset("select Pinfo_id, -YuE_Change - (select coalesce(sum(YuE_Change), 0) from "
                                       "Record_XF r where r.Pinfo_id = v.Pinfo_id and r.ID < v.ID) from Record_XF v "
                                       "where XF_Type = 175");
         !rs->eof(); rs->moveNext())
        balance[rs->field(0).toInt64()] = rs->field(1).toInt64();
    std::string fault;
    int rows = 0;
    for (auto rs = con_->openRecordset("select r.Pinfo_id, r.ID, r.YuE_Old, r.YuE_Change, r.YuE_New, r.Card_LiuShui, "
                                       "r.Ci_LiuShui from Record_XF r join Card_Info c on c.Pinfo_id = r.Pinfo_id "
                                       "and c.Card_Model = 1 order by r.Pinfo_id, r.Date_Time, r.ID");
         !rs->eof(); rs->moveNext(), ++rows) {
        const int64_t who = rs->field(0).toInt64();
        if (rs->field(5).toInt64() != 0 || rs->field(6).toInt64() != 0) fault = "a serial on an ID row";
        if (rs->field(2).toInt64() != balance[who]) fault = "row " + rs->field(1).toString() + " breaks the chain";
        if (rs->field(4).toInt64() != rs->field(2).toInt64() + rs->field(3).toInt64() || rs->field(4).toInt64() < 0)
            fault = "row " + rs->field(1).toString() + " adds up wrong";
        balance[who] = rs->field(4).toInt64();
    }
    EXPECT_EQ(fault, "");
    EXPECT_GT(rows, 1000);
    for (auto rs = con_->openRecordset("select Pinfo_id, C_YuE_ID from Card_Info where Card_Model = 1"); !rs->eof();
         rs->moveNext())
        EXPECT_EQ(rs->field(1).toInt64(), balance[rs->field(0).toInt64()]) << "holder " << rs->field(0).toString();
    // Every card operation shows up, with its fee where it has one.
    EXPECT_EQ(text(*con_, "select group_concat(Op_Type) from (select distinct Op_Type from Card_Log order by 1)"),
              "0,1,2,3,4,5,6,7");
    EXPECT_GT(count("select count(*) from Card_Log where Op_Type = 6 and Tui_GBF > 0 and ZY_JinE > 0"), 0);
    EXPECT_GT(count("select count(*) from Card_Log where Op_Type = 5 and Huan_Number is not null and ZY_JinE > 0"), 0);
    // The office's voiding of a lost card's balance is logged with its count and total.
    EXPECT_EQ(text(*con_, "select Op_Object from Sys_Log where Op_Code = 301"),
              "1," + text(*con_, "select YuE_Change from Record_XF where XF_Type = 175"));
}

// Orders are paid ahead for a meal day; a cancellation or a taking follows an
// order of the same holder, meal and day.
TEST_F(DemoWindowData, MealOrdersComeBeforeTheirCancellationsAndTakings) {
    EXPECT_GT(count("select count(*) from Record_XF where XF_Type = 15"), 500);
    EXPECT_GT(count("select count(*) from Record_XF where XF_Type = 16"), 10);
    EXPECT_GT(count("select count(*) from Record_XF where XF_Type = 48"), 300);
    EXPECT_EQ(count("select count(*) from Record_XF t where t.XF_Type in (16, 48) and not exists (select 1 from "
                    "Record_XF o where o.XF_Type = 15 and o.Pinfo_id = t.Pinfo_id and o.XF_Meal = t.XF_Meal and "
                    "o.DC_Date = t.DC_Date and o.Date_Time < t.Date_Time and o.YuE_Change = -t.YuE_Change)"),
              0);
    EXPECT_EQ(count("select count(*) from Record_XF where XF_Type in (15, 16, 48) and "
                    "(DC_Date is null or length(DC_Date) <> 10)"),
              0);
    // Lunch pre-deducts what the ordering periods say.
    EXPECT_EQ(count("select count(*) from Record_XF where XF_Type = 15 and XF_Meal = 2 and YuE_Change <> "
                    "-(select DC_Zhong_YuKou from DC_ShiDuan)"),
              0);
    EXPECT_EQ(count("select count(*) from DC_ShiDuan"), 1);
    EXPECT_EQ(count("select count(*) from DC_ZhengChangRi"), 1);
    EXPECT_EQ(count("select count(*) from XF_Can_Time"), 1);
    EXPECT_EQ(count("select count(*) from DC_TeShuRi"), 3);
}

// Batches of every state; what the terminals paid out is what the batches
// say was taken, at the terminal each employee is assigned.
TEST_F(DemoWindowData, SubsidyBatchesAgreeWithTheTransactions) {
    EXPECT_EQ(text(*con_, "select group_concat(B_SF) from (select distinct B_SF from BuTie_OK where B_Times > 0 "
                          "order by 1)"),
              "-1,0,1,2,3,4");
    EXPECT_GT(count("select count(*) from BuTie_OK where B_Times = -1 and B_Unit = -1 and B_Month = 1"), 0);
    EXPECT_EQ(count("select count(*) from Record_XF r where XF_Type = 11 and Mach_ID > 0 and not exists (select 1 "
                    "from BuTie_OK b where b.Pinfo_ID = r.Pinfo_id and b.B_SF = 2 and b.B_Unit = 1 and "
                    "b.B_Get_DT = r.Date_Time and b.B_JinE_SJ = r.YuE_Change and b.B_Get_Mach = r.Mach_ID)"),
              0);
    EXPECT_EQ(count("select count(*) from Record_XF r where XF_Type = 11 and Mach_ID = 0 and not exists (select 1 "
                    "from BuTie_OK b where b.Pinfo_ID = r.Pinfo_id and b.B_SF = 2 and b.B_Unit = 0 and "
                    "b.ZhunBei_DT = r.Date_Time and b.B_JinE = r.YuE_Change)"),
              0);
    EXPECT_EQ(count("select count(*) from BuTie_OK b where B_SF in (0, 1, 2, 3, 4) and B_Unit = 1 and not exists "
                    "(select 1 from BuTie_DuiYing d where d.Pinfo_ID = b.Pinfo_ID and d.Mach_ID = b.Mach_ID) and "
                    "exists (select 1 from BuTie_DuiYing d where d.Pinfo_ID = b.Pinfo_ID)"),
              0);
    EXPECT_EQ(count("select count(*) from BuTie_OK where B_SF = 4 and FaFang_DT is null"), 0);
}

// Before the settlement date only each card's first row and its settlement
// row are left; the rows between are in the backup, and the settlement row
// carries their sum.
TEST_F(DemoWindowData, ThePastIsSettled) {
    const std::string cutoff = text(*con_, "select P1 from Sys_Para where Para_Name = 'JieSuan_Date'");
    EXPECT_EQ(cutoff, "2026-03-01 00:00:00");
    EXPECT_GT(count("select count(*) from Record_BF_XF"), 500);
    EXPECT_EQ(count("select count(*) from Record_BF_XF where Date_Time >= '" + cutoff + "'"), 0);
    EXPECT_EQ(count("select count(*) from Record_XF where Date_Time < '" + cutoff +
                    "' and Card_LiuShui > 2 and XF_Type <> 250 and Err_Code = 0"),
              0);
    EXPECT_EQ(count("select count(*) from Record_XF s where XF_Type = 250 and Card_LiuShui > 0 and YuE_Change <> "
                    "(select sum(b.YuE_Change) from Record_BF_XF b where b.Card_No = s.Card_No and b.Card_LiuShui > 1)"),
              0);
    EXPECT_EQ(count("select count(*) from Record_XF s where XF_Type = 250 and Card_LiuShui > 0 and YuE_New <> "
                    "(select f.YuE_New from Record_XF f where f.Card_No = s.Card_No and f.Card_LiuShui = 1) + "
                    "s.YuE_Change"),
              0);
    EXPECT_GT(count("select count(*) from BuTie_BF_OK"), 0);
}

// Without a last day the transactions end today, at the moment of the run,
// and start on the first of the month eleven months before; the terminals
// were read today before that moment.
TEST(DemoGeneratorPeriod, EndsTodayUnlessTold) {
    test::TempDir dir;
    demo::Options o;
    o.businessPath = dir.file("today.mdb");
    o.transactions = 300;
    const auto clock = [](std::tm& t, char (&text)[32]) {
        const std::time_t now = std::time(nullptr);
        localtime_r(&now, &t);
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &t);
    };
    std::tm t{}, after{};
    char before[32], done[32];
    clock(t, before);
    demo::generate(o);
    clock(after, done);
    const auto con = test::connect(db::Connection::fileConnectionString(o.businessPath));
    const int months = (t.tm_year + 1900) * 12 + t.tm_mon - 11;
    char first[32];
    std::snprintf(first, sizeof first, "%04d-%02d-01 00:00:00", months / 12, months % 12 + 1);
    EXPECT_EQ(text(*con, "select P1 from Sys_Para where Para_Name = 'JieSuan_Date'"), first);
    const std::string today = std::string(before).substr(0, 10), end = "'" + std::string(done) + "'";
    EXPECT_EQ(text(*con, "select substr(min(New_Date), 1, 10) from Mach_Info"), today);
    EXPECT_EQ(number(*con, "select count(*) from Mach_Info where New_Date > " + end), 0);
    EXPECT_EQ(number(*con, "select count(*) from Record_XF where Date_Time > " + end), 0);
    EXPECT_EQ(number(*con, "select count(*) from BuTie_OK"), 0);  // transactions only, unless asked
}

}  // namespace
}  // namespace tolvenk
