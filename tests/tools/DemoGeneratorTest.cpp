#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "demo_gen/DemoGenerator.h"
#include "platform/db/Connection.h"
#include "platform/db/SqlText.h"
#include "support/TestDb.h"

namespace tolvenk {
namespace {

using demo::Options;
using std::int64_t;

constexpr long kCount = 5000;
// Card numbers handed out in place of a lost card.
const std::string kReplacements = "(select Huan_Number from Card_Log where Op_Type = 3)";

std::shared_ptr<db::Connection> openFile(const std::string& path) {
    return test::connect(db::Connection::fileConnectionString(path));
}

using test::number;
using test::text;

// Every value of every row, NULL told apart from empty text, in the order of
// the first column (named: on the server an updatable 'select *' reads a row
// key before the table's columns).
std::uint64_t digest(db::Connection& con, const std::string& table) {
    const std::string key = con.openRecordset("select * from " + table + " where 1=0")->fieldName(0);
    std::uint64_t h = 1469598103934665603ull;
    auto mix = [&h](const std::string& s) {
        for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
        h = (h ^ 0xff) * 1099511628211ull;
    };
    for (auto rs = con.openRecordset("select * from " + table + " order by " + key); !rs->eof(); rs->moveNext())
        for (int i = 0; i < rs->fieldCount(); ++i) mix(rs->field(i).isNull() ? "<null>" : rs->field(i).toString());
    return h;
}

// Rows of a card while it was reported lost, after it was replaced or after it was returned.
int64_t rowsOnSilentCards(db::Connection& con) {
    return number(con, "select count(*) from Record_XF r join Card_Log l on l.Card_No = r.Card_No "
                       "and l.Op_Type in (1, 3, 4) where r.Date_Time >= l.Date_Time and not exists "
                       "(select 1 from Card_Log f where f.Card_No = l.Card_No and f.Op_Type = 2 "
                       "and f.Date_Time > l.Date_Time and f.Date_Time <= r.Date_Time)");
}

int64_t repeatedSubsidies(db::Connection& con) {
    return number(con, "select count(*) from (select Pinfo_id, substr(Date_Time, 1, 7) from Record_XF "
                       "where XF_Type = 11 group by 1, 2 having count(*) > 1)");
}

Options smallRun(const test::TempDir& dir, const std::string& name, unsigned seed) {
    Options o;
    o.firstDay = "2026-09-01";
    o.lastDay = "2026-11-30";
    o.businessPath = dir.file(name + ".mdb");
    o.transactions = kCount;
    o.seed = seed;
    return o;
}

// One generated pair of databases shared by the checks of its content.
class DemoGeneratorOutput : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        Options o = smallRun(*dir_, "TAM08", 7);
        o.configPath = dir_->file("Config.mdb");
        demo::generate(o);
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override { con_ = openFile(dir_->file("TAM08.mdb")); }
    int64_t count(const std::string& sql) { return number(*con_, sql); }

    static test::TempDir* dir_;
    std::shared_ptr<db::Connection> con_;
};
test::TempDir* DemoGeneratorOutput::dir_ = nullptr;

TEST_F(DemoGeneratorOutput, WritesTheRequestedRowsInTimeOrderWithinThePeriod) {
    EXPECT_EQ(kCount, count("select count(*) from Record_XF"));
    EXPECT_EQ(0, count("select count(*) from Record_XF where Date_Time < '2026-09-01 00:00:00' "
                       "or Date_Time > '2026-11-30 23:59:59' or length(Date_Time) <> 19"));
    // IDs follow the clock, so the table reads in time order.
    EXPECT_EQ(0, count("select count(*) from (select Date_Time, lag(Date_Time) over (order by ID) prev "
                       "from Record_XF) where Date_Time < prev"));
    EXPECT_EQ(0, count("select count(*) from Record_XF where Rec_Time <> Date_Time or C_QuHao <> 1 "
                       "or Ci_QuHao <> 2 or DC_Date is not null or Shui_Change <> 0 or Is_ShuiKong <> 0 "
                       "or Err_Code not in (0, 1)"));
    // Every kind of the installation's day shows up even in a small run.
    EXPECT_EQ("1,2,3,5,7,9,11,17,161,162",
              text(*con_, "select group_concat(XF_Type) from (select distinct XF_Type from Record_XF order by 1)"));
    EXPECT_GT(count("select count(*) from Record_XF where XF_Type = 1"), kCount * 8 / 10);
}

TEST_F(DemoGeneratorOutput, BalanceChainsHoldForEveryCard) {
    struct Purse {
        int64_t money = 0, times = 0, serial = 0, timesSerial = 0;
        std::string issued;
    };
    std::map<std::string, Purse> cards;
    for (auto rs = con_->openRecordset("select Card_No, Card_YuE, Card_YuCi, Date_Time from Card_Log where Op_Type = 0");
         !rs->eof(); rs->moveNext()) {
        ASSERT_EQ(0u, cards.count(rs->field(0).toString())) << "issued twice: " << rs->field(0).toString();
        cards[rs->field(0).toString()] = {rs->field(1).toInt64(), rs->field(2).toInt64(), 0, 0,
                                          rs->field(3).toString()};
    }

    int moneyRows = 0, timesRows = 0;
    std::string firstFault;
    auto fault = [&](const std::string& card, int64_t id, const std::string& what) {
        if (firstFault.empty()) firstFault = "card " + card + ", row " + std::to_string(id) + ": " + what;
    };
    auto rs = con_->openRecordset(
        "select Card_No, ID, XF_Type, Card_LiuShui, Ci_LiuShui, YuE_Old, YuE_Change, YuE_New, YuCi_Change, "
        "YuCi_New, Date_Time from Record_XF order by Card_No, ID");
    for (; !rs->eof(); rs->moveNext()) {
        const std::string card = rs->field(0).toString();
        const int64_t id = rs->field(1).toInt64(), type = rs->field(2).toInt64();
        const int64_t serial = rs->field(3).toInt64(), timesSerial = rs->field(4).toInt64();
        const int64_t oldMoney = rs->field(5).toInt64(), change = rs->field(6).toInt64(),
                      newMoney = rs->field(7).toInt64();
        const int64_t timesChange = rs->field(8).toInt64(), newTimes = rs->field(9).toInt64();
        auto it = cards.find(card);
        if (it == cards.end()) {
            fault(card, id, "no issue row");
            continue;
        }
        Purse& p = it->second;
        if (rs->field(10).toString() <= p.issued) fault(card, id, "used before it was issued");
        if (oldMoney != p.money) fault(card, id, "YuE_Old is not the previous balance");
        if (type == 3 || type == 7) {
            ++timesRows;
            if (serial != 0 || change != 0 || newMoney != oldMoney) fault(card, id, "times row moved money");
            if (timesSerial != ++p.timesSerial) fault(card, id, "Ci_LiuShui not consecutive");
            if (newTimes != p.times + timesChange || newTimes < 0) fault(card, id, "times chain broken");
            p.times = newTimes;
        } else {
            ++moneyRows;
            if (timesSerial != 0 || timesChange != 0) fault(card, id, "money row moved times");
            if (serial != ++p.serial) fault(card, id, "Card_LiuShui not consecutive");
            if (newMoney != oldMoney + change || newMoney < 0) fault(card, id, "money chain broken");
            if (newTimes != p.times) fault(card, id, "YuCi_New is not the times balance");
            p.money = newMoney;
        }
    }
    EXPECT_EQ("", firstFault);
    EXPECT_EQ(kCount, moneyRows + timesRows);
    EXPECT_GT(timesRows, 0);
}

TEST_F(DemoGeneratorOutput, RowsFitTheirTerminalCardAndMeal) {
    // Person, kind and number of the card as its issue row has them.
    EXPECT_EQ(0, count("select count(*) from Record_XF r join Card_Log l on l.Card_No = r.Card_No and l.Op_Type = 0 "
                       "where r.Pinfo_id <> l.Pinfo_id or r.C_LeiBie <> l.C_LeiBie "
                       "or cast(r.Card_No_Lng as text) <> r.Card_No"));
    EXPECT_EQ(0, count("select count(*) from Record_XF r left join Mach_Info m on m.Mach_ID = r.Mach_ID "
                       "where m.Mach_ID is null or r.XF_Dian_ID <> m.XF_Dian_ID or r.XF_Unit <> m.Mach_Unit"));
    // The kind matches the terminal that can make it.
    EXPECT_EQ(0, count("select count(*) from Record_XF r join Mach_Info m on m.Mach_ID = r.Mach_ID where "
                       "(r.XF_Type in (1, 2, 3) and not (m.Mach_Type between 301 and 303)) "
                       "or (r.XF_Type not in (1, 2, 3) and m.Mach_Type between 300 and 399) "
                       "or (r.XF_Type = 11 and not (m.Mach_XF_Type = 27 or (m.Mach_XF_Type = 25 and m.Card_BuTie = 1))) "
                       "or (r.XF_Type = 17 and m.Mach_XF_Type <> 17)"));
    EXPECT_EQ(0, count("select count(*) from Record_XF where "
                       "(XF_Type in (1, 2, 3) and Shou_Kuan not in (select SK_ID from XF_ShouKuan)) "
                       "or (XF_Type not in (1, 2, 3) and Shou_Kuan <> '') "
                       "or Operator_id <> (case when XF_Type in (161, 162) then 1 else 0 end)"));
    // Each terminal numbers its rows 1, 2, 3, ... in time order.
    EXPECT_EQ(0, count("select count(*) from (select Mach_LiuShui - lag(Mach_LiuShui, 1, 0) over "
                       "(partition by Mach_ID order by ID) step from Record_XF) where step <> 1"));
    // Meals by the clock (a cancellation keeps the meal of its sale and may run past its end).
    EXPECT_EQ(0, count("select count(*) from Record_XF where XF_Type in (1, 3) and not ("
                       "(XF_Meal = 1 and substr(Date_Time, 12, 2) in ('06', '07', '08')) "
                       "or (XF_Meal = 2 and substr(Date_Time, 12, 2) in ('11', '12')) "
                       "or (XF_Meal = 3 and substr(Date_Time, 12, 2) in ('17', '18')) "
                       "or (XF_Meal = 4 and substr(Date_Time, 12, 2) in ('21', '22')) "
                       "or (XF_Meal = 5 and substr(Date_Time, 12, 2) in ('00', '01')))"));
    EXPECT_EQ(0, count("select count(*) from Record_XF where (XF_Type in (1, 2, 3)) <> (XF_Meal between 1 and 5)"));
    EXPECT_EQ(0, count("select count(*) from Record_XF where "
                       "(XF_Type in (1, 3, 9, 17, 162) and (YuE_Change > 0 or YuCi_Change > 0)) "
                       "or (XF_Type in (2, 5, 7, 11, 161) and (YuE_Change < 0 or YuCi_Change < 0)) "
                       "or YuE_Change + YuCi_Change = 0"));
}

TEST_F(DemoGeneratorOutput, SubsidiesAndCancellationsFollowTheirRules) {
    EXPECT_GT(count("select count(*) from Record_XF where XF_Type = 11"), 0);
    EXPECT_EQ(0, repeatedSubsidies(*con_));
    EXPECT_EQ(0, count("select count(*) from Record_XF r join Card_Type k on k.C_LeiBie = r.C_LeiBie "
                       "where r.XF_Type = 11 and (r.YuE_Change <> k.BT_Money or substr(r.Date_Time, 9, 2) > '10')"));
    // A cancellation returns a sale of the same card at the same terminal made just before.
    EXPECT_GT(count("select count(*) from Record_XF where XF_Type = 2"), 0);
    EXPECT_EQ(0, count("select count(*) from Record_XF c where c.XF_Type = 2 and not exists (select 1 from Record_XF s "
                       "where s.XF_Type = 1 and s.Card_No = c.Card_No and s.Mach_ID = c.Mach_ID "
                       "and s.XF_Meal = c.XF_Meal and s.YuE_Change = -c.YuE_Change and s.ID < c.ID "
                       "and s.Date_Time >= datetime(c.Date_Time, '-90 seconds'))"));
}

TEST_F(DemoGeneratorOutput, CardLogTellsWhatHappenedToTheCards) {
    EXPECT_EQ(count("select count(*) from Ren_Per_Info"), count("select count(*) from Card_Info"));
    EXPECT_EQ(0, count("select count(*) from Card_Info c where not exists "
                       "(select 1 from Card_Log l where l.Card_No = c.Card_No and l.Op_Type = 0)"));
    EXPECT_EQ(0, count("select count(*) from Card_Log l join Card_Type k on k.C_LeiBie = l.C_LeiBie "
                       "where l.Op_Type = 0 and l.FaKa_GBF <> (case when l.Card_Number in " + kReplacements +
                       " then 0 else k.C_F_Money end)"));

    // What a changed or returned card took with it is its last balance.
    const std::string lastBalance =
        "coalesce((select r.YuE_New from Record_XF r where r.Card_No = l.Card_No and r.Card_LiuShui > 0 "
        "order by r.Card_LiuShui desc limit 1), "
        "(select i.Card_YuE from Card_Log i where i.Card_No = l.Card_No and i.Op_Type = 0))";
    EXPECT_GT(count("select count(*) from Card_Log where Op_Type = 3"), 0);
    EXPECT_EQ(0, count("select count(*) from Card_Log l left join Card_Log n on n.Op_Type = 0 "
                       "and n.Card_Number = l.Huan_Number where l.Op_Type = 3 and (n.ID is null "
                       "or n.Pinfo_id <> l.Pinfo_id or n.Card_YuE <> l.ZY_JinE or n.Huan_GBF <> l.Huan_GBF "
                       "or l.ZY_JinE <> " + lastBalance + ")"));
    EXPECT_EQ(0, count("select count(*) from Card_Log l where l.Op_Type = 4 and l.ZY_JinE <> " + lastBalance));

    // Returned people are the deleted ones; lost cards are silent until found.
    EXPECT_GT(count("select count(*) from Card_Log where Op_Type = 4"), 0);
    EXPECT_EQ(count("select count(*) from Ren_Per_Info where Del_YN = 1"),
              count("select count(distinct Pinfo_id) from Card_Log where Op_Type = 4"));
    EXPECT_EQ(0, count("select count(*) from Card_Log l join Ren_Per_Info p on p.Pinfo_ID = l.Pinfo_id "
                       "where l.Op_Type = 4 and p.Del_YN <> 1"));
    EXPECT_EQ(0, rowsOnSilentCards(*con_));
}

// Written without a journal and with the indexes of Record_XF built after its
// rows, the finished file is whole, back in the log mode the programs share it
// in, and has exactly the tables and indexes of a database made from the schema.
TEST_F(DemoGeneratorOutput, FileIsWholeSharedAndExactlyOfTheSchema) {
    EXPECT_EQ("ok", text(*con_, "pragma integrity_check"));
    EXPECT_EQ("wal", text(*con_, "pragma journal_mode"));
    test::TempDir dir;
    auto made = test::connect(test::createBusinessDb(dir.file("schema.mdb")));
    made->executeScript("attach database '" + sqlEscape(dir_->file("TAM08.mdb")) + "' as demo");
    // Objects that one of the two lacks or has with other text.
    EXPECT_EQ("", text(*made, "select coalesce(group_concat(name, ' '), '') from ("
                              "select * from (select type, name, sql from main.sqlite_master except "
                              "select type, name, sql from demo.sqlite_master) union all "
                              "select * from (select type, name, sql from demo.sqlite_master except "
                              "select type, name, sql from main.sqlite_master))"));
    EXPECT_EQ(5, count("select count(*) from sqlite_master where type = 'index' and tbl_name = 'Record_XF'"));
}

TEST_F(DemoGeneratorOutput, ReferenceDataHoldsTogether) {
    // Dept_No extends its parent's code by two digits, one level down.
    EXPECT_EQ(0, count("select count(*) from Ren_Dept_Info d where Del_YN <> 0 "
                       "or length(Dept_No) <> 2 * (Dept_Level + 1) "
                       "or (Dept_Level = 0 and Last_DeptNo <> '') "
                       "or (Dept_Level > 0 and not exists (select 1 from Ren_Dept_Info p "
                       "where p.Dept_No = d.Last_DeptNo and p.Dept_Level = d.Dept_Level - 1 "
                       "and substr(d.Dept_No, 1, length(p.Dept_No)) = p.Dept_No))"));
    EXPECT_EQ("0,1,2", text(*con_, "select group_concat(Dept_Level) from "
                                   "(select distinct Dept_Level from Ren_Dept_Info order by 1)"));
    EXPECT_EQ(0, count("select count(*) from Ren_Per_Info p left join Ren_Dept_Info d on d.Dept_ID = p.Dept_ID "
                       "where d.Dept_No is null or d.Dept_No <> p.Dept_No"));
    EXPECT_EQ(count("select count(*) from Ren_Per_Info"), count("select count(distinct P_Code) from Ren_Per_Info"));
    EXPECT_EQ(0, count("select count(*) from Card_Info c join Card_Log l on l.Card_No = c.Card_No "
                       "and l.Op_Type = 0 where c.Card_No_Lng <> cast(c.Card_No as integer) "
                       "or c.C_LeiBie <> l.C_LeiBie or c.Pinfo_id <> l.Pinfo_id or c.C_GuaShi <> 0"));
    EXPECT_EQ("普通卡", text(*con_, "select C_Name from Card_Type where C_LeiBie = 1"));
    EXPECT_EQ("admin", text(*con_, "select User_Name from Sys_User_Info where User_ID = 1 and User_Grade = 0"));
    EXPECT_GT(count("select count(*) from Mach_Info where Mach_XF_Type = 25 and Card_BuTie = 1"), 0);
    EXPECT_GT(count("select count(*) from Mach_Info where Mach_XF_Type = 27"), 0);
}

TEST_F(DemoGeneratorOutput, ParametersDescribeAnIcInstallationSettledAtThePeriodStart) {
    EXPECT_EQ(2, count("select count(*) from Sys_Para"));
    // The module reads the whole row by position: 7 the card system, 10 the times switch.
    auto cfg = con_->openRecordset("select * from Sys_Para where Para_Name = 'Sys_Config'");
    ASSERT_EQ(1, cfg->recordCount());
    EXPECT_TRUE(cfg->field("SubParaName").isNull());
    EXPECT_EQ("1", cfg->field(7).toString());
    EXPECT_EQ("1", cfg->field(10).toString());
    auto js = con_->openRecordset("select * from Sys_Para where Para_Name = 'JieSuan_Date'");
    ASSERT_EQ(1, js->recordCount());
    EXPECT_TRUE(js->field("SubParaName").isNull());
    EXPECT_EQ("2026-09-01 00:00:00", js->field("P1").toString());
    EXPECT_EQ("1", js->field("P2").toString());
    // The balance query offers data up to the day before the earliest New_Date: all of it.
    EXPECT_GT(text(*con_, "select min(New_Date) from Mach_Info where Mach_Type in (300, 301, 303) and Del_YN = 0"),
              text(*con_, "select max(Date_Time) from Record_XF"));
}

TEST_F(DemoGeneratorOutput, ConfigurationPointsAtTheBusinessFile) {
    const std::string folder = std::filesystem::absolute(dir_->path()).lexically_normal().string();
    // An empty catalogue, not NULL.
    EXPECT_EQ(test::rows(*openFile(dir_->file("Config.mdb")),
                         "select DB_Name,Provider,DataSource,FileName,UserID,PassWord_1,Persist,InitialCatalog from DB_info"),
              (std::vector<test::Texts>{{"Server", "Access", folder, "TAM08", "sa", "quesmo527", "0", ""}}));

    // Built the way the module builds it, the text opens the business file.
    auto business = test::connect("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=" + folder + "\\TAM08.mdb;");
    EXPECT_EQ(kCount, number(*business, "select count(*) from Record_XF"));
}

TEST(DemoGenerator, SameSeedGivesTheSameDataAndAnotherSeedOther) {
    test::TempDir dir;
    demo::generate(smallRun(dir, "a", 11));
    demo::generate(smallRun(dir, "b", 11));
    demo::generate(smallRun(dir, "c", 12));
    auto a = openFile(dir.file("a.mdb")), b = openFile(dir.file("b.mdb")), c = openFile(dir.file("c.mdb"));
    for (const char* table : {"Record_XF", "Card_Log", "Card_Info", "Ren_Per_Info", "Ren_Dept_Info", "Card_Type",
                              "Mach_Info", "Sys_Para", "XF_ShouKuan", "Sys_User_Info"})
        EXPECT_EQ(digest(*a, table), digest(*b, table)) << table;
    EXPECT_EQ(number(*a, "select sum(YuE_Change) from Record_XF"), number(*b, "select sum(YuE_Change) from Record_XF"));

    EXPECT_EQ(kCount, number(*c, "select count(*) from Record_XF"));
    EXPECT_NE(digest(*a, "Record_XF"), digest(*c, "Record_XF"));
    EXPECT_NE(digest(*a, "Ren_Per_Info"), digest(*c, "Ren_Per_Info"));
}

TEST(DemoGenerator, PeriodIsTakenFromTheOptions) {
    test::TempDir dir;
    Options o = smallRun(dir, "feb", 3);
    o.transactions = 2000;
    o.firstDay = "2027-02-01";
    o.lastDay = "2027-02-28";
    demo::generate(o);
    auto con = openFile(o.businessPath);
    EXPECT_EQ(2000, number(*con, "select count(*) from Record_XF"));
    EXPECT_EQ("2027-02-01", text(*con, "select substr(min(Date_Time), 1, 10) from Record_XF"));
    EXPECT_EQ("2027-02-28", text(*con, "select substr(max(Date_Time), 1, 10) from Record_XF"));
    EXPECT_EQ("2027-02-01 00:00:00", text(*con, "select P1 from Sys_Para where Para_Name = 'JieSuan_Date'"));
    EXPECT_EQ(0, number(*con, "select count(*) from Card_Log where Op_Type = 0 and Date_Time >= '2027-02-01' "
                              "and Card_Number not in " + kReplacements));
}

// A week crowded with rows: every eligible person collects a subsidy and the
// hours a card is away are busy enough that a stray row would show.
TEST(DemoGenerator, BusyWeekKeepsLostCardsSilentAndPaysEachSubsidyOnce) {
    test::TempDir dir;
    Options o = smallRun(dir, "week", 5);
    o.transactions = 30000;
    o.firstDay = "2026-09-01";
    o.lastDay = "2026-09-07";
    demo::generate(o);
    auto con = openFile(o.businessPath);
    EXPECT_EQ(30000, number(*con, "select count(*) from Record_XF"));
    EXPECT_GT(number(*con, "select count(*) from Card_Log where Op_Type in (1, 3, 4)"), 0);
    EXPECT_EQ(0, rowsOnSilentCards(*con));
    EXPECT_GT(number(*con, "select count(*) from Record_XF where XF_Type = 11"), 100);
    EXPECT_EQ(0, repeatedSubsidies(*con));
}

// Counts of a real site's dirt, by plain SQL: pairs of rows that mean it
// and the rows that carry it. Card numbers that differ in case alone are told
// apart byte for byte.
struct DirtCounts {
    int64_t duplicates, sameCardSecond, sameEmployeeSecond, twinCards, twinCardsPaying, twinIssues, nullFees,
        nullReturnFees, negativeSubsidies, negativeBatches, cardless, emptyDepartments, idleCards, brokenChains;
};

DirtCounts dirtOf(db::Connection& con) {
    const auto n = [&con](const std::string& sql) { return number(con, sql); };
    const std::string twin = "(select a.Pinfo_id from Card_Info a join Card_Info b on a.Pinfo_id = b.Pinfo_id and "
                             "a.ID < b.ID where a.Card_No = b.Card_No and a.Card_No <> b.Card_No collate binary)";
    return {
        n("select count(*) from (select 1 from Record_XF where Card_LiuShui > 0 or Ci_LiuShui > 0 group by "
          "Card_No, Card_LiuShui, Ci_LiuShui, Mach_ID, Mach_LiuShui, Date_Time, YuE_Change, YuCi_Change "
          "having count(*) > 1)"),
        n("select count(*) from Record_XF a join Record_XF b on a.Card_No = b.Card_No collate binary and "
          "a.Date_Time = b.Date_Time and a.Card_LiuShui > 0 and b.Card_LiuShui > a.Card_LiuShui"),
        n("select count(*) from Record_XF a join Record_XF b on a.Pinfo_id = b.Pinfo_id and a.Date_Time = "
          "b.Date_Time and a.Card_No < b.Card_No collate binary and a.Card_LiuShui > 0 and b.Card_LiuShui > 0"),
        n("select count(*) from " + twin),
        n("select count(distinct cast(Card_No as blob)) from Record_XF where Pinfo_id in " + twin),
        n("select count(distinct cast(Card_No as blob)) from Card_Log where Op_Type = 0 and Pinfo_id in " + twin),
        n("select count(*) from Card_Log where FaKa_GBF is null or Huan_GBF is null or Tui_GBF is null"),
        n("select count(*) from Card_Log where Op_Type = 4 and Tui_GBF is null"),
        n("select count(*) from Record_XF where XF_Type = 11 and YuE_Change < 0"),
        n("select count(*) from BuTie_OK where B_Times > 0 and B_SF = 2 and B_JinE < 0 and B_JinE = B_JinE_SJ"),
        n("select count(*) from Ren_Per_Info p where not exists (select 1 from Card_Info c where c.Pinfo_id = p.Pinfo_ID)"),
        n("select count(*) from Ren_Dept_Info d where not exists (select 1 from Ren_Per_Info p where p.Dept_No like "
          "d.Dept_No || '%')"),
        n("select count(*) from Card_Info c where not exists (select 1 from Record_XF x where x.Card_No = c.Card_No)"),
        // A row that does not start where its card's row before ended.
        n("select count(*) from Record_XF a join Record_XF b on a.Card_No = b.Card_No collate binary and "
          "b.Card_LiuShui = a.Card_LiuShui + 1 and a.Card_LiuShui > 0 where b.YuE_Old <> a.YuE_New"),
    };
}

// A dirty run holds every kind of a site's dirt the clean run of its seed
// lacks, and keeps each card's balance chain whole.
TEST(DemoGenerator, ADirtyRunHoldsEveryKindOfASitesDirt) {
    test::TempDir dir;
    Options o = smallRun(dir, "dirty", 7);
    o.everyWindow = true;
    o.dirty = true;
    const demo::Summary s = demo::generate(o);
    o = smallRun(dir, "clean", 7);
    o.everyWindow = true;
    demo::generate(o);
    const DirtCounts d = dirtOf(*openFile(dir.file("dirty.mdb"))), c = dirtOf(*openFile(dir.file("clean.mdb")));

    EXPECT_EQ(d.duplicates, s.dirt.duplicates);
    EXPECT_GT(d.duplicates, 5);
    EXPECT_EQ(c.duplicates, 0);
    EXPECT_GT(d.sameCardSecond, c.sameCardSecond + 5);
    EXPECT_GE(d.sameEmployeeSecond, 1);  // the twin cards
    EXPECT_EQ(c.sameEmployeeSecond, 0);
    EXPECT_EQ(d.twinCards, 1);
    EXPECT_EQ(d.twinCardsPaying, 2);
    EXPECT_EQ(d.twinIssues, 2);
    EXPECT_EQ(c.twinCards, 0);
    EXPECT_EQ(d.nullFees, s.dirt.nullFeeRows);
    EXPECT_GT(d.nullFees, 5);
    EXPECT_EQ(d.nullReturnFees, 1);
    EXPECT_EQ(c.nullFees, 0);
    EXPECT_EQ(d.negativeSubsidies, s.dirt.negativeSubsidies);
    EXPECT_GE(d.negativeSubsidies, 1);
    EXPECT_EQ(d.negativeBatches, d.negativeSubsidies);
    EXPECT_EQ(c.negativeSubsidies + c.negativeBatches, 0);
    EXPECT_EQ(d.cardless, 1);
    EXPECT_EQ(c.cardless, 0);
    EXPECT_EQ(d.emptyDepartments, c.emptyDepartments + 1);
    EXPECT_EQ(d.idleCards, c.idleCards + 1);
    EXPECT_EQ(d.brokenChains, 0);
    EXPECT_EQ(c.brokenChains, 0);

    // The same seed gives the same dirt.
    o = smallRun(dir, "again", 7);
    o.everyWindow = true;
    o.dirty = true;
    demo::generate(o);
    auto a = openFile(dir.file("dirty.mdb")), b = openFile(dir.file("again.mdb"));
    for (const char* table : {"Record_XF", "Card_Log", "Card_Info", "Ren_Per_Info", "Ren_Dept_Info", "BuTie_OK"})
        EXPECT_EQ(digest(*a, table), digest(*b, table)) << table;
}

// Every column the generator fills with a moment: a row's time or when
// something was prepared, handed out, taken, issued, changed or read.
const char* const kMoments[][2] = {
    {"Record_XF", "Date_Time"},   {"Record_XF", "Rec_Time"},     {"Record_BF_XF", "Date_Time"},
    {"Card_Log", "Date_Time"},    {"Card_Info", "FaKa_DT"},      {"Card_Info", "ID_YuE_Now"},
    {"Sys_Log", "Date_Time"},     {"BuTie_OK", "ZhunBei_DT"},    {"BuTie_OK", "FaFang_DT"},
    {"BuTie_OK", "B_Get_DT"},     {"BuTie_BF_OK", "ZhunBei_DT"}, {"Mach_Info", "New_Date"},
    {"Ren_Per_Info", "Add_DT"},   {"Ren_Per_Info", "P_OutDate"}, {"Ren_Per_Info", "P_InDate"},
};

// What of a run at `now` lies after it: "table.column: rows", and the meal
// days of Record_XF past its day; an order made today is for tomorrow.
std::vector<std::string> laterThan(db::Connection& con, const std::string& now) {
    std::vector<std::string> out;
    const std::string moment = "'" + sqlEscape(now) + "'", day = "'" + sqlEscape(now.substr(0, 10)) + "'";
    for (const auto& [table, column] : kMoments)
        if (const int64_t n = number(con, std::string("select count(*) from ") + table + " where " + column + " > " + moment))
            out.push_back(std::string(table) + "." + column + ": " + std::to_string(n));
    if (const int64_t n = number(con, "select count(*) from Record_XF where DC_Date > " + day +
                                          " and (XF_Type <> 15 or DC_Date > date(" + day + ", '+1 day'))"))
        out.push_back("Record_XF.DC_Date: " + std::to_string(n));
    return out;
}

// A run on the period's last day ends the period at its moment: no row is
// later, the day's hours before still hold their meals, and every
// transaction asked for is written, early in a month's first day too.
TEST(DemoGenerator, ARunOnTheLastDayWritesNothingLaterThanItsMoment) {
    test::TempDir dir;
    Options o = smallRun(dir, "monday", 7);
    o.everyWindow = true;
    o.dirty = true;
    o.now = "2026-11-30 13:00:00";
    demo::Summary s = demo::generate(o);
    auto con = openFile(o.businessPath);
    EXPECT_EQ(laterThan(*con, o.now), std::vector<std::string>{});
    EXPECT_EQ(s.transactions - s.dirt.duplicates - s.dirt.sameSecond, kCount);
    EXPECT_EQ(s.transactions, number(*con, "select count(*) from Record_XF where Pinfo_id <= " +
                                               std::to_string(s.employees)));
    EXPECT_GT(number(*con, "select count(*) from Record_XF where XF_Type = 1 and Date_Time between "
                           "'2026-11-30 06:00:00' and '2026-11-30 09:00:00'"),
              0);
    EXPECT_GT(number(*con, "select count(*) from Record_XF where XF_Type = 1 and Date_Time between "
                           "'2026-11-30 11:00:00' and '2026-11-30 13:00:00'"),
              0);

    // Twenty minutes into the first of December: the month's subsidies are not paid yet.
    o = smallRun(dir, "first", 7);
    o.firstDay = "2026-11-24";
    o.lastDay = "2026-12-01";
    o.everyWindow = true;
    o.now = "2026-12-01 00:20:00";
    s = demo::generate(o);
    con = openFile(o.businessPath);
    EXPECT_EQ(laterThan(*con, o.now), std::vector<std::string>{});
    EXPECT_EQ(s.transactions, kCount);
    EXPECT_EQ(0, number(*con, "select count(*) from Record_XF where XF_Type = 11 and Date_Time >= '2026-12-01'"));
    EXPECT_EQ(0, repeatedSubsidies(*con));

    // A period of half a minute still holds every row, within it.
    o = smallRun(dir, "minute", 7);
    o.firstDay = o.lastDay = "2026-12-01";
    o.transactions = 300;
    o.now = "2026-12-01 00:00:30";
    s = demo::generate(o);
    con = openFile(o.businessPath);
    EXPECT_EQ(laterThan(*con, o.now), std::vector<std::string>{});
    EXPECT_EQ(300, number(*con, "select count(*) from Record_XF where Date_Time >= '2026-12-01 00:00:00'"));
}

TEST(DemoGenerator, RefusesExistingFilesAndUnusableNames) {
    test::TempDir dir;
    const std::string existing = dir.file("old.mdb");
    std::ofstream(existing) << "keep me";
    Options o = smallRun(dir, "old", 1);
    EXPECT_THROW(demo::generate(o), std::runtime_error);
    std::stringstream kept;
    kept << std::ifstream(existing).rdbuf();
    EXPECT_EQ("keep me", kept.str());

    // A taken configuration file stops the run before the business file is made.
    o = smallRun(dir, "new", 1);
    o.configPath = existing;
    EXPECT_THROW(demo::generate(o), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(o.businessPath));

    o = smallRun(dir, "new", 1);
    o.businessPath = dir.file("new.db");
    EXPECT_THROW(demo::generate(o), std::invalid_argument);
    o.businessPath = dir.file("new.MDB");
    EXPECT_THROW(demo::generate(o), std::invalid_argument);
    o = smallRun(dir, "new", 1);
    o.lastDay = "2026-08-31";
    EXPECT_THROW(demo::generate(o), std::invalid_argument);
    o = smallRun(dir, "new", 1);
    o.firstDay = "2026-02-30";
    EXPECT_THROW(demo::generate(o), std::invalid_argument);
    o = smallRun(dir, "new", 1);
    o.now = "2026-11-30 24:00:00";
    EXPECT_THROW(demo::generate(o), std::invalid_argument);
    o = smallRun(dir, "new", 1);
    o.configPath = o.businessPath;
    EXPECT_THROW(demo::generate(o), std::invalid_argument);

    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()));
}

// The same seed gives the same rows on a server; the configuration names the
// server, and a database that already holds tables is left alone.
TEST(DemoGenerator, FillsAServerDatabaseWithTheSameData) {
    if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
    const auto server = test::testServer();
    test::TempDir dir;
    const std::string catalog = "tolvenk_demo_" + std::to_string(::getpid());
    Options o = smallRun(dir, "TAM08", 3);
    demo::generate(o);
    o.businessPath.clear();
    o.server = server->connectionString(catalog);
    o.configPath = dir.file("ServerConfig.mdb");
    struct Drop {
        std::string admin, name;
        ~Drop() {
            try {
                test::connect(admin)->executeScript("DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
            } catch (...) {
            }
        }
    } drop{server->connectionString("postgres"), catalog};
    demo::generate(o);

    auto file = openFile(dir.file("TAM08.mdb"));
    auto onServer = test::connect(o.server);
    EXPECT_EQ(kCount, number(*onServer, "select count(*) from Record_XF"));
    for (const char* table : {"Record_XF", "Card_Log", "Card_Info", "Ren_Per_Info", "Mach_Info", "Sys_Para"})
        EXPECT_EQ(digest(*file, table), digest(*onServer, table)) << table;
    // Planned from statistics at once, not after autovacuum's round.
    EXPECT_GT(number(*onServer, "select count(*) from pg_stats where tablename='record_xf'"), 0);

    auto cfg = openFile(o.configPath);
    auto rs = cfg->openRecordset("select * from DB_info");
    ASSERT_EQ(1, rs->recordCount());
    EXPECT_EQ("SQL", rs->field("Provider").toString());
    EXPECT_EQ(server->host + "," + server->port, rs->field("DataSource").toString());
    EXPECT_EQ(catalog, rs->field("InitialCatalog").toString());
    EXPECT_EQ(1, rs->field("Persist").toInt64());
    EXPECT_EQ(server->user, rs->field("UserID").toString());
    EXPECT_EQ(server->password, rs->field("PassWord_1").toString());

    o.configPath.clear();
    EXPECT_THROW(demo::generate(o), std::runtime_error);
    EXPECT_EQ(kCount, number(*onServer, "select count(*) from Record_XF"));
}

// Building a database is no window's work: every statement the generator
// runs on a server, the indexes over the whole transactions table among them,
// runs without a statement time-out, so ten million rows do not end it
// halfway. Each DDL statement, as it ends, notes its session's time-out.
TEST(DemoGenerator, BuildsAServerDatabaseWithoutAStatementTimeOut) {
    if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
    test::TempDir dir;
    const test::BusinessDb server(test::Engine::Server, false);
    auto con = test::connect(server.connectionString());
    con->executeScript(
        "create table build_log (command text, time_out text); "
        "create function note_time_out() returns event_trigger language plpgsql as $$ begin "
        "insert into build_log values (tg_tag, current_setting('statement_timeout')); end $$; "
        "create event trigger note_time_out on ddl_command_end execute function note_time_out();");
    Options o = smallRun(dir, "unused", 3);
    o.businessPath.clear();
    o.server = server.connectionString();
    demo::generate(o);
    EXPECT_GT(number(*con, "select count(*) from build_log where command = 'CREATE INDEX'"), 0);
    EXPECT_EQ(number(*con, "select count(*) from build_log where time_out <> '0'"), 0);
}

// A dirty run writes the same rows on a server as in a file: its NULL fees,
// twin card numbers and duplicates included.
TEST(DemoGenerator, ADirtyRunFillsAServerDatabaseWithTheSameData) {
    if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
    test::TempDir dir;
    const test::BusinessDb server(test::Engine::Server, false);
    Options o = smallRun(dir, "dirty", 3);
    o.everyWindow = true;
    o.dirty = true;
    demo::generate(o);
    o.businessPath.clear();
    o.server = server.connectionString();
    demo::generate(o);
    auto file = openFile(dir.file("dirty.mdb"));
    auto onServer = test::connect(o.server);
    for (const char* table : {"Record_XF", "Card_Log", "Card_Info", "Ren_Per_Info", "Ren_Dept_Info", "BuTie_OK"})
        EXPECT_EQ(digest(*file, table), digest(*onServer, table)) << table;
    EXPECT_GT(number(*onServer, "select count(*) from Card_Log where Tui_GBF is null"), 0);
}

}  // namespace
}  // namespace tolvenk
