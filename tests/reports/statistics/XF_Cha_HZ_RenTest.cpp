// The employee statistics window on a small business database whose people
// and transactions the tests state by hand; every figure below is read off
// the transactions inserted by the fixture.
#include <QAbstractItemModel>
#include <QFontMetrics>
#include <QTableView>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "data/Globals.h"
#include "lang/Language.h"
#include "platform/db/Connection.h"
#include "platform/db/ReadPieces.h"
#include "platform/db/RowCursor.h"
#include "reports/statistics/XF_Cha_HZ_Ren.h"
#include "support/Captions.h"
#include "support/Fixtures.h"
#include "support/FormText.h"
#include "support/Screen.h"
#include "support/XfRow.h"

namespace tolvenk::test {
namespace {

class EmployeeStatsFixture : public WindowOf<XF_Cha_HZ_Ren> {
protected:
    void SetUp() override {
        WindowOf::SetUp();
        if (IsSkipped()) return;
        sv->clock = "2026-07-15 09:30:00";
        Op_User_Name = "admin";
        // Listed by department name, then code: 保卫 (6), 财务 (1, 2), 食堂 (3, 5);
        // department 0104 is deleted, so person 4 is never listed.
        con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Code,Dept_Level,Del_YN) values
 (1,'01','总部','D1',0,0),(2,'0101','财务','D11',1,0),(3,'0102','食堂','D12',1,0),(4,'0103','保卫','D13',1,0),
 (5,'0104','撤销部','D14',1,1);
insert into Ren_Per_Info(Pinfo_ID,Dept_No,P_Name,P_Code,Del_YN) values
 (1,'0101','张三','E1',0),(2,'0101','李四','E2',0),(3,'0102','王五','E3',0),(4,'0104','赵六','E4',0),
 (5,'0102','O''Brien','E5',0),(6,'0103','无名','',0);
insert into Sys_Para(Para_Name,P1,P5) values ('JieSuan_Date','2026-01-01',null),('Sys_Config',null,'1');
)");
        const auto tx = [&](int person, const char* at, int type, int meal, int money, int times = 0) {
            XfRow().person(person).date(at).type(type).meal(meal).money(money).times(times).err(0).insert(*con);
        };
        tx(1, "2026-07-01 08:00:00", 161, 0, 10000);    // recharge at the computer
        tx(1, "2026-07-01 11:30:00", 1, 2, -500);       // lunch
        tx(1, "2026-07-01 12:00:00", 3, 2, 0, -1);      // lunch by times
        tx(1, "2026-07-01 13:00:00", 11, 0, 5000);      // a subsidy: not a kind of these statistics
        tx(1, "2026-07-02 07:30:00", 1, 1, -300);       // breakfast
        tx(1, "2026-07-02 18:00:00", 9, 0, -3000);      // withdrawal
        tx(1, "2026-07-02 19:00:00", 2, 3, 100);        // a correction of supper
        tx(1, "2026-08-01 12:00:00", 1, 7, -250);       // meal 7: other
        tx(2, "2026-07-01 12:10:00", 1, 0, -400);       // computer row: other
        tx(2, "2026-07-01 09:00:00", 7, 0, 0, 10);      // times recharge
        tx(2, "2026-07-31 23:59:59", 181, 0, -1500);    // water transfer
        tx(3, "2026-06-30 23:59:59", 1, 2, -700);
        tx(3, "2026-07-02 12:00:00", 201, 2, -200);     // profit-loss consumption
        tx(4, "2026-07-01 12:00:00", 1, 2, -9900);
        tx(5, "2026-09-01 12:00:00", 1, 1, -100);
        tx(6, "2026-09-01 12:00:00", 1, 2, -600);
        tx(6, "2026-09-02 12:00:00", 1, 2, -800);
    }

    void TearDown() override {
        db::setStatementObserver(nullptr);
        db::RowCursor::patience() = std::chrono::milliseconds(20);
        db::ReadPieces::standardRows() = db::ReadPieces::kRows;
        WindowOf::TearDown();
    }

    // Mode 0 day, 1 month, 2 period; then the summary button.
    void run(int mode, const std::string& from, const std::string& to, const std::string& dept = "01",
             const std::string& name = "", const std::string& code = "") {
        if (!w.Loaded()) w.Load();
        w.ucDep1.selectDepartment(dept);
        w.ucDep1.setFilters(name, code, "");
        w.Option1(mode).setValue(true);
        w.DTPicker1.setValue(from);
        w.DTPicker2.setValue(to);
        w.Command1.click();
    }
    std::string cell(int r, int c) { return w.Grid1.Cell(r, c).Text(); }
    std::vector<std::string> cells(int r, int from = 1, int to = 25) { return gridRow(w.Grid1, r, from, to); }
    std::vector<int> shown() { return shownColumns(w.Grid1); }
    using S = std::vector<std::string>;
};

}  // namespace
}  // namespace tolvenk::test

using namespace tolvenk;

namespace {

using EmployeeRun = test::EmployeeStatsFixture;
using EmployeeWindow = test::EmployeeStatsFixture;
using S = std::vector<std::string>;
using Block = std::optional<grid::CellRange>;

bool same(const Block& b, int r1, int c1, int r2, int c2) {
    return b && b->row1 == r1 && b->col1 == c1 && b->row2 == r2 && b->col2 == c2;
}

bool ascii(const std::string& s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

TOLVENK_ON_BOTH_ENGINES(EmployeeRun);
TOLVENK_ON_BOTH_ENGINES(EmployeeWindow);

TEST_P(EmployeeRun, DayReportRowsPerEmployeeAndDayWithMergedEmployeeAndTotalCells) {
    run(0, "2026-07-01", "2026-07-02");
    ASSERT_EQ(w.Grid1.Rows(), 6);
    EXPECT_EQ(cells(1), (S{"张三", "E1", "财务", "D11", "2026-07-01", "5.00", "1", "1", "100.00", "0", "0.00", "100.00",
                           "0.00", "0", "5.00", "1", "0.00", "0", "0.00", "0", "0.00", "0", "0.00", "0", "0.00"}));
    EXPECT_EQ(cells(2), (S{"张三", "E1", "财务", "D11", "2026-07-02", "2.00", "2", "0", "0.00", "0", "30.00", "-30.00",
                           "3.00", "0", "0.00", "0", "-1.00", "0", "0.00", "0", "0.00", "0", "0.00", "0", "0.00"}));
    EXPECT_EQ(cells(3), (S{"李四", "E2", "财务", "D11", "2026-07-01", "4.00", "1", "0", "0.00", "10", "0.00", "0.00",
                           "0.00", "0", "0.00", "0", "0.00", "0", "0.00", "0", "0.00", "0", "4.00", "0", "0.00"}));
    EXPECT_EQ(cells(4), (S{"王五", "E3", "食堂", "D12", "2026-07-02", "2.00", "1", "0", "0.00", "0", "0.00", "0.00",
                           "0.00", "0", "2.00", "0", "0.00", "0", "0.00", "0", "0.00", "0", "0.00", "0", "0.00"}));
    EXPECT_EQ(cells(5), (S{"总计:", "", "", "", "", "13.00", "5", "1", "100.00", "10", "30.00", "70.00", "3.00", "0",
                           "7.00", "1", "-1.00", "0", "0.00", "0", "0.00", "0", "4.00", "0", "0.00"}));

    const auto& g = w.Grid1.model();
    for (int c = 1; c <= 4; ++c) EXPECT_TRUE(same(g.mergeAt(2, c), 1, c, 2, c)) << c;
    EXPECT_FALSE(g.mergeAt(1, 5));
    EXPECT_FALSE(g.mergeAt(3, 1));
    EXPECT_TRUE(same(g.mergeAt(5, 3), 5, 1, 5, 5));
    EXPECT_EQ(g.merges().size(), 5u);

    EXPECT_EQ(shown(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_FALSE(w.Pic_1.Visible());
    EXPECT_TRUE(w.Grid1.Redraw());

    w.Command4(3).click();
    ASSERT_EQ(sv->previews.size(), 1u);
    EXPECT_EQ(w.Grid1.Page_Setup().title, "消费汇总统计(按员工)");
    EXPECT_EQ(w.Grid1.Page_Setup().footer, "制表人：admin    制表日期:2026-07-15 09:30:00");
}

TEST_P(EmployeeRun, MonthReportTakesTheLastSecondOfTheMonthAndEveryColumnGroupWhenTicked) {
    w.Load();
    for (forms::CheckBox* b : {&w.Check1, &w.Check2, &w.Check3, &w.Check4}) b->setValue(forms::vbChecked);
    run(1, "2026-07-19", "2026-07-25");
    ASSERT_EQ(w.Grid1.Rows(), 5);
    EXPECT_EQ(cells(1), (S{"张三", "E1", "财务", "D11", "2026-07", "7.00", "3", "1", "100.00", "0", "30.00", "70.00",
                           "3.00", "0", "5.00", "1", "-1.00", "0", "0.00", "0", "0.00", "0", "0.00", "0", "0.00"}));
    EXPECT_EQ(cells(2), (S{"李四", "E2", "财务", "D11", "2026-07", "4.00", "1", "0", "0.00", "10", "0.00", "0.00",
                           "0.00", "0", "0.00", "0", "0.00", "0", "0.00", "0", "0.00", "0", "4.00", "0", "15.00"}));
    EXPECT_EQ(cells(3), (S{"王五", "E3", "食堂", "D12", "2026-07", "2.00", "1", "0", "0.00", "0", "0.00", "0.00",
                           "0.00", "0", "2.00", "0", "0.00", "0", "0.00", "0", "0.00", "0", "0.00", "0", "0.00"}));
    EXPECT_EQ(cells(4), (S{"总计:", "", "", "", "", "13.00", "5", "1", "100.00", "10", "30.00", "70.00", "3.00", "0",
                           "7.00", "1", "-1.00", "0", "0.00", "0", "0.00", "0", "4.00", "0", "15.00"}));
    EXPECT_EQ(shown().size(), 25u);
    EXPECT_EQ(w.Grid1.model().merges().size(), 1u);  // one row per employee: the total alone

    // The next month of 张三 is a second row of his; times off again hides the times columns.
    w.Check1.setValue(forms::vbUnchecked);
    w.Check2.setValue(forms::vbUnchecked);
    run(1, "2026-07-01", "2026-08-01");
    EXPECT_EQ(cells(2, 1, 7), (S{"张三", "E1", "财务", "D11", "2026-08", "2.50", "1"}));
    EXPECT_TRUE(same(w.Grid1.model().mergeAt(2, 2), 1, 2, 2, 2));
    EXPECT_EQ(shown(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 9, 11, 12, 25}));
}

TEST_P(EmployeeRun, PeriodSummaryIsOneRowPerEmployeeWithTheDateColumnHidden) {
    w.Load();
    w.Check3.setValue(forms::vbChecked);
    run(2, "2026-06-30", "2026-07-31");
    ASSERT_EQ(w.Grid1.Rows(), 5);
    const std::string from = "2026-06-30 00:00:00";
    EXPECT_EQ(cells(1), (S{"张三", "E1", "财务", "D11", from, "7.00", "3", "1", "100.00", "0", "30.00", "70.00",
                           "3.00", "0", "5.00", "1", "-1.00", "0", "0.00", "0", "0.00", "0", "0.00", "0", "0.00"}));
    EXPECT_EQ(cells(2), (S{"李四", "E2", "财务", "D11", from, "4.00", "1", "0", "0.00", "10", "0.00", "0.00",
                           "0.00", "0", "0.00", "0", "0.00", "0", "0.00", "0", "0.00", "0", "4.00", "0", "15.00"}));
    EXPECT_EQ(cells(3), (S{"王五", "E3", "食堂", "D12", from, "9.00", "2", "0", "0.00", "0", "0.00", "0.00",
                           "0.00", "0", "9.00", "0", "0.00", "0", "0.00", "0", "0.00", "0", "0.00", "0", "0.00"}));
    EXPECT_EQ(cells(4), (S{"总计:", "", "", "", "", "20.00", "6", "1", "100.00", "10", "30.00", "70.00", "3.00", "0",
                           "14.00", "1", "-1.00", "0", "0.00", "0", "0.00", "0", "4.00", "0", "15.00"}));
    EXPECT_EQ(w.Grid1.model().merges().size(), 1u);
    EXPECT_EQ(shown(), (std::vector<int>{1, 2, 3, 4, 6, 7, 9, 11, 12}));
}

// Sums of the largest stored amounts, their negations and the balance of
// recharges and withdrawals are exact, per employee and in the total.
TEST_P(EmployeeRun, TheLargestAmountsAreSummedAndNegatedExactly) {
    const auto tx = [&](int person, const char* at, int type, std::int64_t money) {
        test::XfRow().person(person).date(at).type(type).meal(1).money(money).times(0).err(0).insert(*con);
    };
    tx(5, "2026-10-01 08:00:00", 1, INT64_MIN);
    tx(5, "2026-10-02 08:00:00", 1, -1);
    tx(6, "2026-10-01 09:00:00", 161, INT64_MAX);
    tx(6, "2026-10-02 09:00:00", 9, INT64_MIN);
    run(2, "2026-10-01", "2026-10-31");
    ASSERT_EQ(w.Grid1.Rows(), 4);
    // Spent 2^63 + 1; recharged 2^63 - 1, withdrawn 2^63, so the balance is -1.
    EXPECT_EQ(cells(1, 6, 13), (S{"0.00", "0", "0", "92233720368547758.07", "0", "92233720368547758.08", "-0.01",
                                  "0.00"}));
    EXPECT_EQ(cells(2, 6, 13), (S{"92233720368547758.09", "2", "0", "0.00", "0", "0.00", "0.00",
                                  "92233720368547758.09"}));
    EXPECT_EQ(cells(3, 6, 13), (S{"92233720368547758.09", "2", "0", "92233720368547758.07", "0",
                                  "92233720368547758.08", "-0.01", "92233720368547758.09"}));
}

// One employee-day whose spending and times each pass 64 bits shows them to
// the last fen beside ordinary days, none of them counted twice.
TEST_P(EmployeeRun, ADaySummedPast64BitsShowsExactlyBesideOrdinaryDays) {
    const auto tx = [&](int person, const char* at, int type, int meal, std::int64_t money, std::int64_t times) {
        test::XfRow().person(person).date(at).type(type).meal(meal).money(money).times(times).err(0).insert(*con);
    };
    tx(5, "2026-10-01 08:00:00", 1, 1, INT64_MIN, 0);
    tx(5, "2026-10-01 09:00:00", 1, 1, -1, 0);
    tx(5, "2026-10-01 12:00:00", 3, 2, 0, INT64_MIN);
    tx(5, "2026-10-01 12:30:00", 3, 2, 0, -5);
    tx(5, "2026-10-02 08:00:00", 1, 1, -250, 0);
    tx(3, "2026-10-02 08:00:00", 161, 0, 700, 0);
    run(0, "2026-10-01", "2026-10-02", "0102");
    ASSERT_EQ(w.Grid1.Rows(), 5);
    EXPECT_EQ(cells(1, 1, 16), (S{"王五", "E3", "食堂", "D12", "2026-10-02", "0.00", "0", "0", "7.00", "0", "0.00",
                                  "7.00", "0.00", "0", "0.00", "0"}));
    // Spent 2^63 + 1 fen in two records; 2^63 + 5 times.
    EXPECT_EQ(cells(2, 1, 16), (S{"O'Brien", "E5", "食堂", "D12", "2026-10-01", "92233720368547758.09", "2",
                                  "9223372036854775813", "0.00", "0", "0.00", "0.00", "92233720368547758.09", "0",
                                  "0.00", "9223372036854775813"}));
    EXPECT_EQ(cells(3, 1, 16), (S{"O'Brien", "E5", "食堂", "D12", "2026-10-02", "2.50", "1", "0", "0.00", "0", "0.00",
                                  "0.00", "2.50", "0", "0.00", "0"}));
    EXPECT_EQ(cells(4, 6, 16), (S{"92233720368547760.59", "3", "9223372036854775813", "7.00", "0", "0.00", "7.00",
                                  "92233720368547760.59", "0", "0.00", "9223372036854775813"}));
}

// A record without an amount or a count is still a record: a consumption one
// is counted, its missing figure is none, alone or beside others of its kind
// and meal.
TEST_P(EmployeeRun, RecordsWithoutAmountsAreCountedAndAddNothing) {
    con->executeScript(R"(
insert into Record_XF(Pinfo_id,Date_Time,XF_Type,XF_Meal,YuE_Change,YuCi_Change,Err_Code) values
 (3,'2026-11-01 11:00:00',1,2,-300,0,0),
 (3,'2026-11-01 11:05:00',1,2,null,null,0),
 (3,'2026-11-01 18:00:00',1,3,null,0,0),
 (3,'2026-11-01 19:00:00',1,null,-100,0,0),
 (3,'2026-11-01 12:00:00',3,2,-999,null,0),
 (3,'2026-11-01 12:30:00',3,2,0,-2,0),
 (3,'2026-11-01 08:00:00',161,0,null,null,0),
 (3,'2026-11-01 08:30:00',7,0,0,null,0);
)");
    run(0, "2026-11-01", "2026-11-01", "0102");
    ASSERT_EQ(w.Grid1.Rows(), 3);
    // Spent 3.00 at lunch and 1.00 at no meal in four records; 2 times at lunch.
    EXPECT_EQ(cells(1, 5, 25), (S{"2026-11-01", "4.00", "4", "2", "0.00", "0", "0.00", "0.00", "0.00", "0", "3.00",
                                  "2", "0.00", "0", "0.00", "0", "0.00", "0", "1.00", "0", "0.00"}));
    EXPECT_EQ(cells(2, 6, 8), (S{"4.00", "4", "2"}));
}

// Each box shows its own columns; the times columns of the meals need both
// the times and the meal boxes.
TEST_P(EmployeeRun, EachColumnGroupShowsItsColumnsAloneAndTogether) {
    using I = std::vector<int>;
    const I base{1, 2, 3, 4, 5, 6, 7};
    struct Case {
        std::vector<forms::CheckBox*> ticked;
        I more;
    };
    const Case cases[] = {
        {{}, {}},
        {{&w.Check1}, {8}},
        {{&w.Check2}, {13, 15, 17, 19, 21, 23}},
        {{&w.Check3}, {9, 11, 12}},
        {{&w.Check4}, {25}},
        {{&w.Check1, &w.Check2}, {8, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}},
        {{&w.Check1, &w.Check3}, {8, 9, 10, 11, 12}},
        {{&w.Check2, &w.Check3, &w.Check4}, {9, 11, 12, 13, 15, 17, 19, 21, 23, 25}},
    };
    w.Load();
    int n = 0;
    for (const Case& k : cases) {
        for (forms::CheckBox* b : {&w.Check1, &w.Check2, &w.Check3, &w.Check4}) b->setValue(forms::vbUnchecked);
        for (forms::CheckBox* b : k.ticked) b->setValue(forms::vbChecked);
        run(0, "2026-07-01", "2026-07-01");
        I expected = base;
        expected.insert(expected.end(), k.more.begin(), k.more.end());
        EXPECT_EQ(shown(), expected) << "case " << n++;
    }

    // No times purse: the box is gone and no run shows a times column.
    Conn_Main->execute("update Sys_Para set P5='0' where Para_Name='Sys_Config'");
    w.Unload();
    w.Load();
    w.Check2.setValue(forms::vbChecked);
    w.Check3.setValue(forms::vbChecked);
    run(0, "2026-07-01", "2026-07-01");
    EXPECT_EQ(shown(), (I{1, 2, 3, 4, 5, 6, 7, 9, 11, 12, 13, 15, 17, 19, 21, 23}));
}

// Days run on over a month's end; an employee's rows form one block per
// column, and only an equal code joins rows, whatever the names.
TEST_P(EmployeeRun, DaysAcrossAMonthEndAndOneBlockPerEmployeeCode) {
    con->executeScript(
        "insert into Ren_Per_Info(Pinfo_ID,Dept_No,P_Name,P_Code,Del_YN) values "
        "(7,'0102','王五','E4',0),(8,'0102','O''Brien','E5',0);");
    const auto tx = [&](int person, const char* at, int meal, int money) {
        test::XfRow().person(person).date(at).type(1).meal(meal).money(money).times(0).err(0).insert(*con);
    };
    tx(3, "2026-07-01 10:00:00", 1, -150);
    tx(7, "2026-07-01 12:00:00", 2, -300);  // same name as 王五 E3, another code
    tx(5, "2026-07-02 08:00:00", 1, -100);
    tx(8, "2026-07-02 08:00:00", 1, -100);  // same code as O'Brien E5
    run(0, "2026-06-30", "2026-07-02", "0102");
    ASSERT_EQ(w.Grid1.Rows(), 8);
    EXPECT_EQ(cells(1, 1, 7), (S{"王五", "E3", "食堂", "D12", "2026-06-30", "7.00", "1"}));
    EXPECT_EQ(cells(2, 1, 7), (S{"王五", "E3", "食堂", "D12", "2026-07-01", "1.50", "1"}));
    EXPECT_EQ(cells(3, 1, 7), (S{"王五", "E3", "食堂", "D12", "2026-07-02", "2.00", "1"}));
    EXPECT_EQ(cells(4, 1, 7), (S{"王五", "E4", "食堂", "D12", "2026-07-01", "3.00", "1"}));
    for (int r : {5, 6}) EXPECT_EQ(cells(r, 1, 7), (S{"O'Brien", "E5", "食堂", "D12", "2026-07-02", "1.00", "1"}));
    EXPECT_EQ(cells(7, 5, 7), (S{"", "15.50", "6"}));
    EXPECT_EQ((S{cell(7, 13), cell(7, 15)}), (S{"3.50", "12.00"}));

    const auto& g = w.Grid1.model();
    for (int c = 1; c <= 4; ++c) {
        EXPECT_TRUE(same(g.mergeAt(2, c), 1, c, 3, c)) << c;
        EXPECT_TRUE(same(g.mergeAt(6, c), 5, c, 6, c)) << c;
        EXPECT_FALSE(g.mergeAt(4, c)) << c;
    }
    EXPECT_FALSE(g.mergeAt(2, 5));
    EXPECT_TRUE(same(g.mergeAt(7, 1), 7, 1, 7, 5));
    EXPECT_EQ(g.merges().size(), 9u);
    EXPECT_EQ(cell(g.mergeAt(3, 1)->row1, 1), "王五");  // the block shows the name it starts with
}

TEST_P(EmployeeRun, EmptyCodesNeverMergeWithTheHeaderOrTheTotalRow) {
    run(0, "2026-09-01", "2026-09-02", "0103");
    ASSERT_EQ(w.Grid1.Rows(), 4);
    EXPECT_EQ(cells(1, 1, 6), (S{"无名", "", "保卫", "D13", "2026-09-01", "6.00"}));
    EXPECT_EQ(cell(3, 6), "14.00");
    const auto& g = w.Grid1.model();
    for (int c = 1; c <= 4; ++c) EXPECT_TRUE(same(g.mergeAt(1, c), 1, c, 2, c)) << c;
    EXPECT_FALSE(g.mergeAt(0, 1));
    EXPECT_TRUE(same(g.mergeAt(3, 1), 3, 1, 3, 5));
    EXPECT_EQ(cell(3, 1), "总计:");
}

TEST_P(EmployeeRun, PickerTextIsTakenLiterallyAndNoChoiceOrABadPeriodShowsNothing) {
    run(0, "2026-09-01", "2026-09-01", "01", "O'Brien");
    ASSERT_EQ(w.Grid1.Rows(), 3);
    EXPECT_EQ(cells(1, 1, 6), (S{"O'Brien", "E5", "食堂", "D12", "2026-09-01", "1.00"}));
    run(0, "2026-07-01", "2026-09-30", "01", "%");  // no name holds a percent sign
    ASSERT_EQ(w.Grid1.Rows(), 2);
    EXPECT_EQ(cells(1, 6, 8), (S{"0.00", "0", "0"}));
    run(0, "2026-07-01", "2026-09-30", "01", "", "E_");  // nor a code an underscore
    EXPECT_EQ(w.Grid1.Rows(), 2);

    w.DTPicker1.setValue("2026-07-03");
    w.DTPicker2.setValue("2026-07-02");
    w.Command1.click();
    EXPECT_EQ(sv->lastPrompt(), "提示:汇总日期选择错误!");
    EXPECT_TRUE(sv->shown("提示", platform::vbExclamation));
    EXPECT_EQ(w.Grid1.Rows(), 2);  // kept

    // Months are whole in the month report: the same month is no error.
    w.Option1(1).setValue(true);
    w.Command1.click();
    EXPECT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(w.Grid1.Rows(), 2);  // the filter still finds nobody

    w.Unload();
    w.Load();  // no department chosen
    w.Command1.click();
    EXPECT_EQ(w.Grid1.Rows(), 1);
}

TEST_P(EmployeeRun, ClicksDuringTheRunAreRefusedClosingStopsItAndAFailureLeavesTheWindowUsable) {
    int clicks = 0;
    sv->onYield = [&] {
        EXPECT_TRUE(w.Pic_1.Visible());
        for (forms::Control* c : {static_cast<forms::Control*>(&w.Command1), static_cast<forms::Control*>(&w.Frame2),
                                  static_cast<forms::Control*>(&w.Check1), static_cast<forms::Control*>(&w.Command4(0))})
            EXPECT_FALSE(c->Enabled());
        w.Command1.click();
        w.Command4(1).click();
        ++clicks;
    };
    run(0, "2026-07-01", "2026-07-02");
    EXPECT_EQ(clicks, 5);  // one run, a yield after each of the five listed employees
    EXPECT_EQ(w.Grid1.Rows(), 6);
    EXPECT_TRUE(sv->saveFilters.empty());
    EXPECT_TRUE(w.Command1.Enabled() && w.Command4(1).Enabled() && w.Frame2.Enabled());

    sv->yields = 0;
    sv->onYield = [&] { w.Unload(); };
    run(0, "2026-07-01", "2026-07-02");
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(sv->yields, 1);
    w.Load();
    EXPECT_EQ(w.Grid1.Rows(), 1);

    sv->onYield = nullptr;
    con->execute("drop table Record_XF");
    EXPECT_ANY_THROW(run(0, "2026-07-01", "2026-07-02"));
    EXPECT_FALSE(w.Pic_1.Visible());
    EXPECT_TRUE(w.Grid1.Redraw());
    EXPECT_TRUE(w.Command1.Enabled());
}

// Drawing is held while the rows are written, yet they show as they come:
// the view takes them in when they have doubled. Closing lets go of the
// employee list and the grid's rows.
TEST_P(EmployeeRun, RowsShowWhileDrawingIsHeldAndClosingLetsGoOfTheRun) {
    std::vector<int> inView;
    bool held = true;
    sv->onYield = [&] {
        inView.push_back(w.Grid1.view()->model()->rowCount());
        held = held && !w.Grid1.Redraw();
    };
    run(0, "2026-07-01", "2026-07-02");
    // 保卫 has no row; 张三's two days double the header alone: shown.
    ASSERT_EQ(inView.size(), 5u);
    EXPECT_EQ(inView[1], 3);
    EXPECT_TRUE(held);
    EXPECT_TRUE(w.Grid1.Redraw());
    EXPECT_EQ(w.Emp_List.rowUBound(), 5);
    w.Unload();
    EXPECT_LT(w.Emp_List.rowUBound(), 1);
    EXPECT_TRUE(w.Total.Money.isZero());
    EXPECT_EQ(w.Grid1.Rows(), 1);
}

// In the window's own event loop: the summary button reached and clicked.
TEST_P(EmployeeRun, OnScreenTheSummaryButtonFillsTheGrid) {
    test::whileShown(w, [&] {
        w.ucDep1.selectDepartment("0101");
        w.DTPicker1.setValue("2026-07-01");
        w.DTPicker2.setValue("2026-07-02");
        test::clickOnScreen(w.Command1);
        EXPECT_EQ(w.Grid1.Rows(), 5);
        EXPECT_EQ(cell(3, 1), "李四");
        EXPECT_EQ(cell(4, 6), "11.00");
    });
}

// In the window's own loop, as a person works it: during the run the summary,
// output, mode and column controls take no clicks, the busy panel lies over
// the grid, every figure comes from the state the run began with (a row
// booked as the first employee shows is in none), and closing the window
// stops the run.
TEST_P(EmployeeRun, OnScreenARunTakesNoClicksReadsOnceAndClosingStopsIt) {
    const auto start = [&] {
        w.ucDep1.selectDepartment("01");
        w.DTPicker1.setValue("2026-07-01");
        w.DTPicker2.setValue("2026-07-02");
        test::clickOnScreen(w.Command1);
    };
    int yields = 0;
    bool covered = false;
    sv->onYield = [&] {
        EXPECT_EQ(w.Bar1.Max(), 5);  // one step per listed employee
        EXPECT_EQ(w.Bar1.Value(), ++yields);
        if (yields != 1) return;
        for (forms::Control* c : std::initializer_list<forms::Control*>{&w.Command1, &w.Command4(0), &w.Option1(1),
                                                                        &w.Check2, &w.ucDep1.txtName})
            EXPECT_FALSE(c->widget()->isEnabled());
        test::click(w.Command1);
        test::click(w.Command4(0));
        test::clickBox(w.Option1(1));
        test::clickBox(w.Check2);
        covered = w.Pic_1.Visible() && test::coversItsPlace(w.Pic_1);
        test::XfRow().person(5).date("2026-07-01 12:00:00").type(1).meal(2).money(-700).err(0).insert(*con);
    };
    test::whileShown(w, [&] {
        start();
        EXPECT_EQ(w.Grid1.Rows(), 6);
        EXPECT_EQ(cells(5, 1, 8), (S{"总计:", "", "", "", "", "13.00", "5", "1"}));
        EXPECT_TRUE(w.Option1(0).Value());
        EXPECT_EQ(shown(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
        EXPECT_TRUE(sv->saveFilters.empty());
        EXPECT_TRUE(w.Command1.Enabled() && w.Check2.Enabled() && w.Option1(1).widget()->isEnabled());
    });
    EXPECT_EQ(yields, 5);
    EXPECT_TRUE(covered);
    con->execute("delete from Record_XF where Pinfo_id=5 and Date_Time='2026-07-01 12:00:00'");

    sv->yields = 0;
    sv->onYield = [&] { w.widget()->close(); };
    test::whileShown(w, [&] {
        start();
        EXPECT_FALSE(w.Loaded());
    });
    EXPECT_EQ(sv->yields, 1);
    w.Load();
    EXPECT_EQ(w.Grid1.Rows(), 1);
}

TEST_P(EmployeeWindow, LoadPreparesPickersModesAndMonthTexts) {
    Conn_Main->execute("update Sys_Para set P1='2026-03-15' where Para_Name='JieSuan_Date'");
    w.Load();
    EXPECT_TRUE(w.Check1.Visible());
    EXPECT_EQ(w.DTPicker1.MinDate(), "2026-03-15");

    w.Option1(1).setValue(true);
    EXPECT_EQ(w.DTPicker2.MinDate(), "2026-04-01");
    EXPECT_TRUE(w.Text2.Visible());
    EXPECT_EQ(w.Text1.Text(), "2026年7月");
    w.DTPicker1.setValue("2026-07-19");
    EXPECT_EQ(w.DTPicker1.DateTime_Value(), "2026-07-01 00:00:00");
    w.DTPicker2.setValue("2026-08-19");
    EXPECT_EQ(w.DTPicker2.Date_Value(), "2026-08-19");
    EXPECT_EQ(w.Text2.Text(), "2026年8月");
    w.Option1(2).setValue(true);
    EXPECT_EQ(w.DTPicker1.MinDate(), "2026-03-15");
    EXPECT_FALSE(w.Text1.Visible());
    w.DTPicker1.setValue("2026-09-19");  // not moved; the hidden month text follows
    EXPECT_EQ(w.DTPicker1.Date_Value(), "2026-09-19");
    EXPECT_EQ(w.Text1.Text(), "2026年9月");

    w.Unload();
    Conn_Main->execute("update Sys_Para set P1='2026-03-01' where Para_Name='JieSuan_Date'");
    Conn_Main->execute("update Sys_Para set P5='0' where Para_Name='Sys_Config'");
    w.Load();
    EXPECT_TRUE(w.Option1(0).Value());
    w.Option1(1).setValue(true);
    EXPECT_EQ(w.DTPicker1.MinDate(), "2026-03-01");
    EXPECT_FALSE(w.Check1.Visible());
    w.Command3.click();
    EXPECT_FALSE(w.Loaded());

    // A switch that is no number, or no switch at all, leaves the times on.
    for (const char* change : {"update Sys_Para set P5='x' where Para_Name='Sys_Config'",
                               "delete from Sys_Para where Para_Name='Sys_Config'"}) {
        Conn_Main->execute(change);
        w.Load();
        EXPECT_TRUE(w.Check1.Visible()) << change;
        w.Unload();
    }
}

// Nine tenths of a large screen; never below the smallest size, the grid
// beside the picker and ending level with it, the exit button and the
// separator at the right edge.
TEST_P(EmployeeWindow, FitsTheScreenAndLaysOutAtTheSmallestSize) {
    sv->screen = {15360, 11520};
    w.Load();
    EXPECT_NEAR(w.Width(), 13760, 15);
    EXPECT_NEAR(w.Height(), 9610, 15);
    w.setWidth(10000);
    w.setHeight(7000);
    w.Form_Resize();
    const int W = w.Width(), H = w.Height();  // whole pixels of 15 twips
    EXPECT_NEAR(W, 11600, 15);
    EXPECT_NEAR(H, 8200, 15);
    EXPECT_EQ(w.ucDep1.Height(), H - 720);
    EXPECT_EQ(w.Grid1.Top() + w.Grid1.Height(), w.ucDep1.Top() + w.ucDep1.Height());
    EXPECT_EQ(w.Grid1.Width(), W - w.ucDep1.Width() - 640);
    EXPECT_EQ(w.Command3.Left() + w.Command3.Width(), W - 270);
    EXPECT_NEAR(w.Pic_1.Left() * 2 + w.Pic_1.Width(), W, 1);
}

// Every caption, and the month texts, fit in each language; in English only
// the designer's Chinese texts are left.
TEST_P(EmployeeWindow, CaptionsFitInEveryLanguage) {
    const auto months = [&](forms::Form&) {
        w.Option1(1).setValue(true);
        w.DTPicker1.setValue("2026-12-28");
        for (forms::TextBox* t : {&w.Text1, &w.Text2})
            EXPECT_LE(QFontMetrics(t->widget()->font()).horizontalAdvance(QString::fromStdString(t->Text())) + 8,
                      t->widget()->width());
    };
    EXPECT_EQ(test::badCaptionsInEveryLanguage({&w}, months), test::Texts{});

    Load_Lan(1);
    Lan_Type = 1;
    w.Load();
    months(w);
    std::vector<std::string> texts = {w.Caption(), w.Frame2.Caption(), w.Label1(1).Caption(), w.Command1.Caption(),
                                      w.Command3.Caption(), w.Option1(0).Caption(), w.Option1(1).Caption()};
    for (forms::CheckBox* b : {&w.Check1, &w.Check2, &w.Check3, &w.Check4}) texts.push_back(b->Caption());
    w.Init_Emp_Grid();
    for (int c = 1; c <= 24; ++c)
        if (c != 7 && c != 12) texts.push_back(w.Grid1.Cell(0, c).Text());
    for (const std::string& t : texts) EXPECT_TRUE(ascii(t) && !t.empty()) << t;
    EXPECT_EQ(w.Grid1.Cell(0, 25).Text(), "水控转款");
    EXPECT_EQ(w.Text1.Text(), "2026Year12Month");
}

// The first screenful shows before the period is read: the first listed
// employee's forty days (保卫, person 6) are in the grid when the statement
// that reads the rest of the period begins, and every figure is the plain
// statement's all the same.
TEST_P(EmployeeRun, TheFirstEmployeesShowBeforeTheRestOfThePeriodIsRead) {
    for (int d = 0; d < 40; ++d) {
        char when[32];
        std::snprintf(when, sizeof when, "2026-%s-%02d %02d:00:00", d < 31 ? "07" : "08", d < 31 ? d + 1 : d - 30,
                      8 + d % 10);
        test::XfRow().person(6).date(when).type(1).meal(2).money(-(100 + d)).err(0).insert(*con);
    }
    int shownWhenTheRestBegan = -1;
    db::setStatementObserver([&](const std::string& sql) {
        if (shownWhenTheRestBegan < 0 && sql.find("group by") != std::string::npos && sql.find("Pinfo_id in") == std::string::npos)
            shownWhenTheRestBegan = w.Grid1.Rows() - 1;
    });
    run(0, "2026-07-01", "2026-08-09");
    db::setStatementObserver(nullptr);
    EXPECT_EQ(shownWhenTheRestBegan, 40);
    EXPECT_EQ(cell(40, 1), "无名");
    EXPECT_EQ(cell(41, 1), "张三");
    // Consumption of the listed (live-department) employees in the days chosen.
    const std::string spent = test::text(
        *con, "select -sum(YuE_Change) from Record_XF r, Ren_Per_Info p, Ren_Dept_Info d where p.Pinfo_ID=r.Pinfo_id "
              "and d.Dept_No=p.Dept_No and d.Del_YN=0 and r.XF_Type in (1,2,179,201) and "
              "r.Date_Time>='2026-07-01' and r.Date_Time<'2026-08-10'");
    const std::string total = cell(w.Grid1.Rows() - 1, 6);
    EXPECT_EQ(total, spent.substr(0, spent.size() - 2) + "." + spent.substr(spent.size() - 2));
}

// A department number two live departments share lists its people twice:
// 张三 and 李四 come again under 鲜果, after the rest of the period is read.
// Their second rows hold the same figures as their first, and the total
// counts each listing once (worked out from the fixture's rows by hand).
TEST_P(EmployeeRun, PeopleListedTwiceShowTheSameFiguresInBothListings) {
    con->execute("insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Code,Dept_Level,Del_YN) values "
                 "(6,'0101','鲜果','D15',1,0)");
    run(0, "2026-07-01", "2026-07-02");
    ASSERT_EQ(w.Grid1.Rows(), 9);
    const S first = {"2026-07-01", "5.00", "1", "1", "100.00", "0", "0.00", "100.00", "0.00", "0", "5.00", "1",
                     "0.00", "0", "0.00", "0", "0.00", "0", "0.00", "0", "0.00"};
    const S second = {"2026-07-02", "2.00", "2", "0", "0.00", "0", "30.00", "-30.00", "3.00", "0", "0.00", "0",
                      "-1.00", "0", "0.00", "0", "0.00", "0", "0.00", "0", "0.00"};
    const S li = {"2026-07-01", "4.00", "1", "0", "0.00", "10", "0.00", "0.00", "0.00", "0", "0.00", "0",
                  "0.00", "0", "0.00", "0", "0.00", "0", "4.00", "0", "0.00"};
    const struct {
        int row;
        S who, figures;
    } rows[] = {{1, {"张三", "E1", "财务", "D11"}, first}, {2, {"张三", "E1", "财务", "D11"}, second},
                {3, {"李四", "E2", "财务", "D11"}, li},    {5, {"张三", "E1", "鲜果", "D15"}, first},
                {6, {"张三", "E1", "鲜果", "D15"}, second}, {7, {"李四", "E2", "鲜果", "D15"}, li}};
    for (const auto& r : rows) {
        EXPECT_EQ(cells(r.row, 1, 4), r.who) << r.row;
        EXPECT_EQ(cells(r.row, 5, 25), r.figures) << r.row;
    }
    EXPECT_EQ(cells(4, 1, 7), (S{"王五", "E3", "食堂", "D12", "2026-07-02", "2.00", "1"}));
    EXPECT_EQ(cells(8), (S{"总计:", "", "", "", "", "24.00", "9", "2", "200.00", "20", "60.00", "140.00", "6.00", "0",
                           "12.00", "2", "-2.00", "0", "0.00", "0", "0.00", "0", "8.00", "0", "0.00"}));
}

// On the 30th June only 王五 (listed fourth) has a record: the rest of the
// period, read after the first three employees, holds his one group. The
// window is closed while that read waits for more: the run ends there, with
// nothing written into the grid and no error, though his group was read.
TEST_P(EmployeeRun, AWindowClosedWhileTheRestOfThePeriodWaitedWritesNothing) {
    db::RowCursor::patience() = std::chrono::microseconds(0);  // every step waits first
    bool restBegan = false;
    int yieldsSince = 0;
    db::setStatementObserver([&](const std::string& sql) {
        restBegan = restBegan ||
                    (sql.find("group by") != std::string::npos && sql.find("Pinfo_id in") == std::string::npos);
    });
    // The first wait comes before his group, the second after it.
    sv->onYield = [&] {
        if (restBegan && ++yieldsSince == 2) w.Unload();
    };
    EXPECT_NO_THROW(run(0, "2026-06-30", "2026-06-30"));
    EXPECT_EQ(yieldsSince, 2);
    EXPECT_FALSE(w.Loaded());
    EXPECT_TRUE(sv->boxes.empty());
    EXPECT_EQ(w.Grid1.Rows(), 1);
    EXPECT_TRUE(w.Total.Money.isZero());
    w.Load();
    EXPECT_EQ(w.Grid1.Rows(), 1);
}

// The rest of the period is grouped by the engine, which hands over nothing
// until it has read its range: it is read in pieces on a rollback journal,
// in WAL mode and on the server alike, so the window answers between them,
// and the figures are the whole period's.
TEST_P(EmployeeRun, TheRestOfThePeriodIsReadInPiecesOnEveryJournalAndTheServer) {
    db::ReadPieces::standardRows() = 1;
    for (const std::string& journal : onServer() ? std::vector<std::string>{""} : std::vector<std::string>{"delete", "wal"}) {
        SCOPED_TRACE(journal);
        if (!journal.empty()) {
            if (w.Loaded()) w.Unload();
            con->executeScript("PRAGMA journal_mode=" + journal);
            ASSERT_EQ(test::text(*con, "PRAGMA journal_mode"), journal);
        }
        int rest = 0;
        db::setStatementObserver([&](const std::string& sql) {
            rest += sql.find("group by") != std::string::npos && sql.find("Pinfo_id in") == std::string::npos;
        });
        run(0, "2026-07-01", "2026-07-02");
        db::setStatementObserver(nullptr);
        EXPECT_GE(rest, 2);
        ASSERT_EQ(w.Grid1.Rows(), 6);
        EXPECT_EQ(cells(5), (S{"总计:", "", "", "", "", "13.00", "5", "1", "100.00", "10", "30.00", "70.00", "3.00", "0",
                               "7.00", "1", "-1.00", "0", "0.00", "0", "0.00", "0", "4.00", "0", "0.00"}));
    }
}
