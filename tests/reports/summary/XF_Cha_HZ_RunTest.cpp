// The summary run checked against figures worked out by hand from a small
// business database: every cell, subtotal, total and balance line below is
// read off the rows inserted in SetUp, not computed by the code under test.

#include <QTimer>

#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <vector>

#include "platform/grid/GridExport.h"
#include "reports/summary/XF_Cha_HZ.h"
#include "support/Fixtures.h"
#include "support/GridCells.h"
#include "support/Screen.h"

using namespace tolvenk;

namespace {

using V = std::vector<std::string>;

// Expected cells written block by block: blank-separated, "_" an empty cell,
// "|" between the header's blocks.
V row(const std::string& cells) {
    V out;
    std::istringstream in(cells);
    for (std::string t; in >> t;)
        if (t != "|") out.push_back(t == "_" ? "" : t);
    return out;
}

// The services' yield comes after every computed row.
class SummaryRun : public test::WindowOf<XF_Cha_HZ> {
protected:
    void SetUp() override {
        WindowOf::SetUp();
        if (IsSkipped()) return;
        sv->clock = "2026-07-15 09:30:00";
        Money_Sign = "¥";
        con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values
 (1,'01','总部',0,0),(2,'0101','财务',1,0),(3,'0102','食堂部',1,0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,Del_YN) values
 (1,2,'0101','张三',0),(2,3,'0102','李四',0),(3,1,'01','王五',0);
insert into Card_Type(ID,C_LeiBie,C_Name,Del_YN) values (1,1,'',0),(2,2,'教师卡',0),(3,3,'旧卡',1);
insert into Card_Log(Date_Time,Pinfo_id,C_LeiBie,Op_Type,FaKa_GBF,Huan_GBF,Tui_GBF) values
 ('2026-07-01 09:00:00',1,1,0,1000,300,0),
 ('2026-07-01 10:00:00',2,2,3,0,500,0),
 ('2026-07-02 10:00:00',2,2,4,0,0,200),
 ('2026-07-02 11:00:00',1,1,3,0,500,0),
 ('2026-07-02 12:00:00',3,3,0,1000,0,0),
 ('2026-06-20 09:00:00',1,1,0,1000,300,0);
)");
        // person 1 财务, 2 食堂部, 3 the top department; card kind 3 is deleted.
        add(at("2026-07-01 08:00:00").person(1).kind(1).type(161).money(10000));
        add(at("2026-07-01 11:30:00").person(1).kind(1).type(1).meal(2).money(-500));
        add(at("2026-07-01 08:10:00").person(2).kind(2).type(5).money(2000));
        add(at("2026-07-01 07:30:00").person(2).kind(2).type(1).meal(1).money(-300));
        add(at("2026-07-01 09:00:00").person(1).kind(1).type(9).money(-1000));
        add(at("2026-07-01 10:00:00").person(3).kind(1).type(162).money(-700));
        add(at("2026-07-01 10:30:00").person(2).kind(2).type(11).money(1500));
        add(at("2026-07-01 18:00:00").person(1).kind(1).type(3).meal(3).times(-1));
        add(at("2026-07-01 12:00:00").person(2).kind(3).type(5).money(100));
        add(at("2026-07-01 00:00:00").person(1).kind(1).type(250));
        add(at("2026-07-02 08:00:00").person(1).kind(1).type(6).money(-200));
        add(at("2026-07-02 09:00:00").person(2).kind(2).type(7).times(5));
        add(at("2026-07-02 12:00:00").person(1).kind(1).type(2).meal(2).money(100));
        add(at("2026-07-02 12:30:00").person(3).kind(3).type(1).money(-400));
        add(at("2026-07-02 13:00:00").person(2).kind(2).type(175).money(-50));
        add(at("2026-07-02 14:00:00").person(1).kind(1).type(5).money(800).err(1));
        add(at("2026-07-02 15:00:00").person(3).kind(1).type(202).money(40));
        add(at("2026-07-02 16:00:00").person(3).kind(1).type(201).money(-30));
        add(at("2026-07-04 00:00:00").person(1).kind(1).type(1).meal(2).money(-1));
        add(at("2026-07-31 23:59:59").person(2).kind(2).type(9).money(-300));
        add(at("2026-06-15 10:00:00").person(1).kind(1).type(161).money(5000));
        add(at("2026-06-30 23:59:59").person(2).kind(2).type(5).money(999));
        add(at("2026-08-01 00:00:00").person(1).kind(1).type(161).money(7777));
        add(at("2026-05-31 23:59:59").person(1).kind(1).type(5).money(333));
    }
    // A valid row at that time, no meal, nothing moved until told otherwise.
    static test::XfRow at(const char* date) { return test::XfRow().date(date).meal(0).money(0).times(0).err(0); }
    void add(const test::XfRow& r) { r.insert(*con); }
    void addFormat(const std::string& key, const std::string& name, const std::string& p2) {
        test::addReportFormat(*con, key, name, p2, "1111", "11001000", "000000");
    }
    // Opens the window, selects list row `row` and runs it over the period.
    void run(int row, const std::string& from, const std::string& to, bool openFirst = true) {
        if (openFirst) {
            w.Load();
            w.Form_Activate();
        }
        w.List1.setListIndex(row);
        w.DTPicker1.setValue(from);
        w.DTPicker2.setValue(to);
        w.Command1.click();
    }
    // Cells first..last column of row r.
    V cells(int r, int first) {
        V out;
        for (int c = first; c < w.Grid1.Cols(); ++c) out.push_back(w.Grid1.Cell(r, c).Text());
        return out;
    }
    std::string cell(int r, int c) { return w.Grid1.Cell(r, c).Text(); }
    int rowWith(const std::string& c1, const std::string& c2, const std::string& c3) {
        for (int r = 5; r < w.Grid1.Rows(); ++r)
            if (cell(r, 1) == c1 && cell(r, 2) == c2 && cell(r, 3) == c3) return r;
        return -1;
    }
    bool boxTitled(const std::string& title) { return sv->shown(title, 16); }
};

// Cash reports: computer recharge (4 columns), terminal recharge (4), card
// fees (4), income subtotal (2), computer and terminal withdrawal, return
// fee, expense subtotal (2 each), from column 3.
const V CashTotal0701to0703 =
    row("¥100.40 2 0 0 | ¥27.00 4 5 1 | ¥10.00 1 ¥10.00 2 | ¥147.40 5 | ¥7.00 1 | ¥10.00 1 | ¥-2.00 1 | ¥15.00 0");

}  // namespace

TOLVENK_ON_BOTH_ENGINES(SummaryRun);

TEST_P(SummaryRun, DailyCashReport) {
    run(0, "2026-07-01", "2026-07-03");
    EXPECT_TRUE(sv->boxes.empty());
    ASSERT_EQ(w.Grid1.Rows(), 9);  // two days with data, total, balance
    EXPECT_EQ(cell(1, 1), "日期:   2026-07-01   -   2026-07-03         :   ");
    EXPECT_EQ(cell(5, 1), "2026-07-01");
    EXPECT_EQ(cells(5, 3),
              row("¥100.00 1 _ _ | ¥21.00 2 _ _ | ¥10.00 1 ¥5.00 1 | ¥136.00 _ | ¥7.00 1 | ¥10.00 1 | _ _ | ¥17.00 _"));
    EXPECT_EQ(cell(6, 1), "2026-07-02");
    EXPECT_EQ(cells(6, 3), row("¥0.40 1 _ _ | ¥6.00 2 5 1 | _ _ ¥5.00 1 | ¥11.40 5 | _ _ | _ _ | ¥-2.00 1 | ¥-2.00 _"));
    EXPECT_EQ(cell(7, 1), "总计：");
    EXPECT_EQ(cells(7, 3), CashTotal0701to0703);
    EXPECT_EQ(cell(8, 1), "收支情况：¥132.40");

    EXPECT_TRUE(w.Command4(0).Visible());
    EXPECT_FALSE(w.pBar1.Visible());
    EXPECT_TRUE(w.Command1.Enabled());

    // Issue rows carry a Huan_GBF too (300 here); a change fee is the change
    // rows' own: above, an issue and a change row on the 1st give ¥5.00 and a
    // change row alone on the 2nd ¥5.00. A month with an issue row only:
    run(1, "2026-06-01", "2026-06-30", false);
    const int change = 13;
    EXPECT_EQ(cell(5, change), "");
    EXPECT_EQ(cell(6, change), "¥0.00");
}

TEST_P(SummaryRun, MonthlyCashReport) {
    w.Load();
    w.Form_Activate();
    w.List1.setListIndex(1);
    w.DTPicker1.setValue("2026-06-18");  // a monthly report starts on the 1st
    w.DTPicker2.setValue("2026-07-03");
    w.Command1.click();
    EXPECT_TRUE(sv->boxes.empty());
    ASSERT_EQ(w.Grid1.Rows(), 9);
    EXPECT_EQ(cell(1, 1), "日期:   2026年6月   -   2026年7月         :   ");
    EXPECT_EQ(cell(5, 1), "2026-06");
    EXPECT_EQ(cells(5, 3), row("¥50.00 1 _ _ | ¥9.99 1 _ _ | ¥10.00 1 _ _ | ¥69.99 _ | _ _ | _ _ | _ _ | _ _"));
    EXPECT_EQ(cell(6, 1), "2026-07");  // the whole month, the 31st included
    EXPECT_EQ(
        cells(6, 3),
        row("¥100.40 2 _ _ | ¥27.00 4 5 1 | ¥10.00 1 ¥10.00 2 | ¥147.40 5 | ¥7.00 1 | ¥13.00 2 | ¥-2.00 1 | ¥18.00 _"));
    EXPECT_EQ(cell(7, 1), "总计：");
    EXPECT_EQ(
        cells(7, 3),
        row("¥150.40 3 0 0 | ¥36.99 5 5 1 | ¥20.00 2 ¥10.00 2 | ¥217.39 5 | ¥7.00 1 | ¥13.00 2 | ¥-2.00 1 | ¥18.00 0"));
    EXPECT_EQ(cell(8, 1), "收支情况：¥199.39");
}

// Days chosen under a daily report stay when a monthly one is chosen next:
// the 20th to the 3rd of July is July, in the window and in the run.
TEST_P(SummaryRun, AMonthlyReportWhoseStartDayIsAfterItsEndDayRunsItsMonth) {
    w.Load();
    w.Form_Activate();
    w.List1.setListIndex(0);
    w.DTPicker1.setValue("2026-07-20");
    w.DTPicker2.setValue("2026-07-03");
    w.Command2.click();
    w.List1.setListIndex(1);
    w.Command1.click();
    EXPECT_TRUE(sv->boxes.empty()) << sv->boxes[0].prompt;
    ASSERT_EQ(w.Grid1.Rows(), 8);  // the month, the total, the balance
    EXPECT_EQ(cell(1, 1), "日期:   2026年7月   -   2026年7月         :   ");
    EXPECT_EQ(cell(5, 1), "2026-07");  // the whole month, as in the report over June and July
    EXPECT_EQ(
        cells(5, 3),
        row("¥100.40 2 _ _ | ¥27.00 4 5 1 | ¥10.00 1 ¥10.00 2 | ¥147.40 5 | ¥7.00 1 | ¥13.00 2 | ¥-2.00 1 | ¥18.00 _"));
    EXPECT_EQ(cell(6, 1), "总计：");
    EXPECT_EQ(cell(7, 1), "收支情况：¥129.40");  // 147.40 in, 18.00 out
}

TEST_P(SummaryRun, RangeCashReportIsTheTotalOnly) {
    run(2, "2026-07-01", "2026-07-03");
    ASSERT_EQ(w.Grid1.Rows(), 7);
    EXPECT_EQ(cell(5, 1), "总计：");
    EXPECT_EQ(cells(5, 3), CashTotal0701to0703);
    EXPECT_EQ(cell(6, 1), "收支情况：¥132.40");
    EXPECT_TRUE(w.Command4(3).Visible());
}

TEST_P(SummaryRun, DailyConsumptionReportSplitsTheMeals) {
    run(8, "2026-07-01", "2026-07-03");
    EXPECT_TRUE(sv->boxes.empty());
    // Per meal slot 1..5 and the other periods: money, records, times; then consumption.
    ASSERT_EQ(w.Grid1.Rows(), 8);  // no subtotal columns, so no balance line
    EXPECT_EQ(cells(5, 3), row("¥3.00 1 _ | ¥5.00 1 _ | _ _ -1 | _ _ _ | _ _ _ | _ _ _ | ¥8.00 2 -1"));
    EXPECT_EQ(cells(6, 3), row("_ _ _ | ¥-1.00 1 _ | _ _ _ | _ _ _ | _ _ _ | ¥4.30 2 _ | ¥3.30 3 _"));
    EXPECT_EQ(cell(7, 1), "总计：");
    EXPECT_EQ(cells(7, 3), row("¥3.00 1 0 | ¥4.00 2 0 | ¥0.00 0 -1 | ¥0.00 0 0 | ¥0.00 0 0 | ¥4.30 2 0 | ¥11.30 5 -1"));
}

TEST_P(SummaryRun, DefinedReportByCardKindAndDepartment) {
    addFormat("101", "卡类部门日报", "10506");
    run(12, "2026-07-01", "2026-07-02");
    EXPECT_TRUE(sv->boxes.empty());
    ASSERT_EQ(w.Grid1.Rows(), 18);
    EXPECT_EQ(cell(1, 1), "日期:   2026-07-01   -   2026-07-02         卡类型:   全部");
    // Columns 4..25: the cash items as in the built-in cash reports.
    const auto labels = [&](int r) { return V{cell(r, 1), cell(r, 2), cell(r, 3)}; };

    EXPECT_EQ(labels(5), (V{"2026-07-01", "普通卡", "财务"}));
    EXPECT_EQ(cells(5, 4), row("¥100.00 1 _ _ | _ _ _ _ | ¥10.00 1 _ _ | ¥110.00 _ | _ _ | ¥10.00 1 | _ _ | ¥10.00 _"));
    // The computer withdrawal of the top department's person is outside the listed departments.
    EXPECT_EQ(labels(6), (V{"2026-07-01", "普通卡", "其他"}));
    EXPECT_EQ(cells(6, 4), row("_ _ _ _ | _ _ _ _ | _ _ _ _ | _ _ | ¥7.00 1 | _ _ | _ _ | ¥7.00 _"));
    EXPECT_EQ(cell(7, 3), "小计:");
    EXPECT_EQ(
        cells(7, 4),
        row("¥100.00 1 0 0 | ¥0.00 0 0 0 | ¥10.00 1 ¥0.00 0 | ¥110.00 0 | ¥7.00 1 | ¥10.00 1 | ¥0.00 0 | ¥17.00 0"));
    EXPECT_EQ(labels(8), (V{"2026-07-01", "教师卡", "食堂部"}));
    EXPECT_EQ(cells(8, 4), row("_ _ _ _ | ¥20.00 1 _ _ | _ _ ¥5.00 1 | ¥25.00 _ | _ _ | _ _ | _ _ | _ _"));
    // The recharge on the deleted card kind is outside the listed kinds.
    EXPECT_EQ(cell(9, 1), "2026-07-01");
    EXPECT_EQ(cell(9, 2), "其他");
    EXPECT_EQ(cells(9, 4), row("_ _ _ _ | ¥1.00 1 _ _ | _ _ _ _ | ¥1.00 _ | _ _ | _ _ | _ _ | _ _"));
    EXPECT_EQ(cell(10, 1), "小计：");
    EXPECT_EQ(
        cells(10, 4),
        row("¥100.00 1 0 0 | ¥21.00 2 0 0 | ¥10.00 1 ¥5.00 1 | ¥136.00 0 | ¥7.00 1 | ¥10.00 1 | ¥0.00 0 | ¥17.00 0"));

    EXPECT_EQ(labels(11), (V{"2026-07-02", "普通卡", "财务"}));
    EXPECT_EQ(cells(11, 4), row("_ _ _ _ | ¥6.00 2 _ _ | _ _ ¥5.00 1 | ¥11.00 _ | _ _ | _ _ | _ _ | _ _"));
    EXPECT_EQ(labels(12), (V{"2026-07-02", "普通卡", "其他"}));
    EXPECT_EQ(cells(12, 4), row("¥0.40 1 _ _ | _ _ _ _ | _ _ _ _ | ¥0.40 _ | _ _ | _ _ | _ _ | _ _"));
    EXPECT_EQ(cell(13, 3), "小计:");
    EXPECT_EQ(cells(13, 4),
              row("¥0.40 1 0 0 | ¥6.00 2 0 0 | ¥0.00 0 ¥5.00 1 | ¥11.40 0 | ¥0.00 0 | ¥0.00 0 | ¥0.00 0 | ¥0.00 0"));
    EXPECT_EQ(labels(14), (V{"2026-07-02", "教师卡", "食堂部"}));
    EXPECT_EQ(cells(14, 4), row("_ _ _ _ | _ _ 5 1 | _ _ _ _ | _ 5 | _ _ | _ _ | ¥-2.00 1 | ¥-2.00 _"));
    EXPECT_EQ(cell(15, 1), "小计：");
    EXPECT_EQ(cells(15, 4),
              row("¥0.40 1 0 0 | ¥6.00 2 5 1 | ¥0.00 0 ¥5.00 1 | ¥11.40 5 | ¥0.00 0 | ¥0.00 0 | ¥-2.00 1 | ¥-2.00 0"));

    EXPECT_EQ(cell(16, 1), "总计：");
    EXPECT_EQ(cells(16, 4), CashTotal0701to0703);
    EXPECT_EQ(cell(17, 1), "收支情况：¥132.40");
}

TEST_P(SummaryRun, AnEmptyPeriodGivesAZeroTotalAndBalance) {
    run(0, "2026-08-02", "2026-08-03");
    ASSERT_EQ(w.Grid1.Rows(), 7);
    EXPECT_EQ(cell(5, 1), "总计：");
    EXPECT_EQ(cells(5, 3),
              row("¥0.00 0 0 0 | ¥0.00 0 0 0 | ¥0.00 0 ¥0.00 0 | ¥0.00 0 | ¥0.00 0 | ¥0.00 0 | ¥0.00 0 | ¥0.00 0"));
    EXPECT_EQ(cell(6, 1), "收支情况：¥0.00");
    EXPECT_TRUE(w.Command4(0).Visible());
    EXPECT_FALSE(w.pBar1.Visible());
}

TEST_P(SummaryRun, TheGreyUncertainBoxCountsAsTicked) {
    const int term = 7, termCount = 8;
    run(0, "2026-07-01", "2026-07-03");  // greyed as designed
    EXPECT_EQ(cell(6, term), "¥6.00");
    EXPECT_EQ(cell(6, termCount), "2");

    w.Check1.setValue(forms::vbUnchecked);
    w.Command1.click();
    EXPECT_EQ(cell(6, term), "¥-2.00");
    EXPECT_EQ(cell(6, termCount), "1");
    EXPECT_EQ(cell(7, term), "¥19.00");

    w.Check1.setValue(forms::vbChecked);
    w.Command1.click();
    EXPECT_EQ(cell(6, term), "¥6.00");
}

TEST_P(SummaryRun, AFailedRowQueryWritesZerosAndShowsItsBox) {
    addFormat("101", "卡类部门日报", "10506");
    // After the first row the card log goes: the next card kind's level fee
    // queries fail, so its fee items have no figures and no row fee query is
    // made; the computer and terminal queries still work.
    // A run on one snapshot would still see the table, so this one reads
    // each statement on its own.
    w.Per_Cell_Statements = true;
    w.One_Snapshot = false;
    sv->onYield = [&] {
        if (sv->yields == 1) Conn_Main->execute("drop table Card_Log");
    };
    run(12, "2026-07-01", "2026-07-02");
    EXPECT_TRUE(boxTitled("出错:ERR_XF_Cha_HZ_2"));
    EXPECT_FALSE(boxTitled("出错:ERR_XF_Cha_HZ_1"));
    const int r = rowWith("2026-07-01", "教师卡", "食堂部");
    ASSERT_GT(r, 0);
    const int term = 8, issue = 12, issueCount = 13, income = 16;
    EXPECT_EQ(cell(r, term), "¥20.00");
    // Not the terminal recharge's 20.00 and 1 that the failed query's place would otherwise repeat.
    EXPECT_EQ(cell(r, issue), "");
    EXPECT_EQ(cell(r, issueCount), "");
    EXPECT_EQ(cell(r, income), "¥20.00");
}

// A daily report by card kind: the card log goes after the 普通卡 row, so the
// 教师卡 group's fee totals fail. That group then has no fee figures at all,
// not the 普通卡 group's issue fee of 10.00 left in its place: its row makes
// no fee query, and the day's "其他" row (the day less its two kinds) holds
// the deleted kind's 1.00 recharge and the 教师卡 change fee of 5.00, no
// issue fee. The day's subtotal, read before the card log went, is whole.
TEST_P(SummaryRun, AGroupWhoseFeeTotalsFailShowsNoneOfTheGroupBefore) {
    addFormat("101", "卡类日报", "10509");
    w.Per_Cell_Statements = true;
    w.One_Snapshot = false;
    sv->onYield = [&] {
        if (sv->yields == 1) Conn_Main->execute("drop table Card_Log");
    };
    run(12, "2026-07-01", "2026-07-01");
    ASSERT_TRUE(boxTitled("出错:ERR_XF_Cha_HZ_2"));
    EXPECT_FALSE(boxTitled("出错:ERR_XF_Cha_HZ_4"));
    V labels;
    for (int r = 5; r < w.Grid1.Rows(); ++r) labels.push_back(cell(r, 1) + "/" + cell(r, 2));
    ASSERT_EQ(labels, (V{"2026-07-01/普通卡", "2026-07-01/教师卡", "2026-07-01/其他", "小计：/其他", "总计：/其他",
                         "收支情况：¥119.00/"}));
    EXPECT_EQ(cells(5, 3), row("¥100.00 1 _ _ | _ _ _ _ | ¥10.00 1 _ _ | ¥110.00 _ | ¥7.00 1 | ¥10.00 1 | _ _ | ¥17.00 _"));
    EXPECT_EQ(cells(6, 3), row("_ _ _ _ | ¥20.00 1 _ _ | _ _ _ _ | ¥20.00 _ | _ _ | _ _ | _ _ | _ _"));
    EXPECT_EQ(cells(7, 3), row("_ _ _ _ | ¥1.00 1 _ _ | _ _ ¥5.00 1 | ¥6.00 _ | _ _ | _ _ | _ _ | _ _"));
    const V day = row("¥100.00 1 0 0 | ¥21.00 2 0 0 | ¥10.00 1 ¥5.00 1 | ¥136.00 0 | ¥7.00 1 | ¥10.00 1 | ¥0.00 0 | ¥17.00 0");
    EXPECT_EQ(cells(8, 3), day);
    EXPECT_EQ(cells(9, 3), day);
}

TEST_P(SummaryRun, AFailedRunShowsItsBoxAndRestoresTheWindow) {
    addFormat("101", "卡类部门日报", "10506");
    // The existence query of the next cell joins the people table.
    w.Per_Cell_Statements = true;
    w.One_Snapshot = false;
    sv->onYield = [&] {
        if (sv->yields == 1) Conn_Main->execute("drop table Ren_Per_Info");
    };
    run(12, "2026-07-01", "2026-07-02");
    ASSERT_TRUE(boxTitled("出错:ERR_XF_Cha_HZ_1"));
    EXPECT_EQ(w.Grid1.Rows(), 6);  // the row computed before stays
    for (int i = 0; i <= 3; ++i) EXPECT_TRUE(w.Command4(i).Visible());
    EXPECT_FALSE(w.pBar1.Visible());
    EXPECT_FALSE(w.pBar2.Visible());
    EXPECT_FALSE(w.pBar3.Visible());
    EXPECT_TRUE(w.Grid1.Redraw());
    EXPECT_TRUE(w.Command1.Enabled());
    EXPECT_TRUE(w.List1.Enabled());
}

TEST_P(SummaryRun, TheRunsControlsAreDisabledWhileItProcessesEvents) {
    std::vector<bool> seen;
    sv->onYield = [&] {
        for (forms::Control* c :
             std::initializer_list<forms::Control*>{&w.Command1, &w.Command2, &w.List1, &w.Command4(0), &w.Command4(3)})
            seen.push_back(c->Enabled());
        w.Command1.click();  // a person's second click
        w.Run_Report();      // or any other way in
    };
    run(0, "2026-07-01", "2026-07-03");
    ASSERT_EQ(sv->yields, 2);  // one per computed row: no run inside the run
    EXPECT_EQ(seen, std::vector<bool>(10, false));
    ASSERT_EQ(w.Grid1.Rows(), 9);
    EXPECT_EQ(cells(7, 3), CashTotal0701to0703);
    for (forms::Control* c :
         std::initializer_list<forms::Control*>{&w.Command1, &w.Command2, &w.List1, &w.Command4(0), &w.Command4(3)})
        EXPECT_TRUE(c->Enabled());
}

// Date as second dimension: the department conditions move onto the card log.
TEST_P(SummaryRun, DefinedReportByDepartmentThenDay) {
    addFormat("101", "部门日报", "10608");
    run(12, "2026-07-01", "2026-07-02");
    EXPECT_TRUE(sv->boxes.empty());
    ASSERT_EQ(w.Grid1.Rows(), 13);
    EXPECT_EQ(cell(1, 1), "日期:   2026-07-01   -   2026-07-02         部门:   全部");
    EXPECT_EQ((V{cell(5, 1), cell(5, 2)}), (V{"财务", "2026-07-01"}));
    EXPECT_EQ(cells(5, 3), row("¥100.00 1 _ _ | _ _ _ _ | ¥10.00 1 _ _ | ¥110.00 _ | _ _ | ¥10.00 1 | _ _ | ¥10.00 _"));
    EXPECT_EQ((V{cell(6, 1), cell(6, 2)}), (V{"财务", "2026-07-02"}));
    EXPECT_EQ(cells(6, 3), row("_ _ _ _ | ¥6.00 2 _ _ | _ _ ¥5.00 1 | ¥11.00 _ | _ _ | _ _ | _ _ | _ _"));
    EXPECT_EQ(cell(7, 1), "小计：");
    EXPECT_EQ(
        cells(7, 3),
        row("¥100.00 1 0 0 | ¥6.00 2 0 0 | ¥10.00 1 ¥5.00 1 | ¥121.00 0 | ¥0.00 0 | ¥10.00 1 | ¥0.00 0 | ¥10.00 0"));
    EXPECT_EQ((V{cell(8, 1), cell(8, 2)}), (V{"食堂部", "2026-07-01"}));
    EXPECT_EQ(cells(8, 3), row("_ _ _ _ | ¥21.00 2 _ _ | _ _ ¥5.00 1 | ¥26.00 _ | _ _ | _ _ | _ _ | _ _"));
    EXPECT_EQ((V{cell(9, 1), cell(9, 2)}), (V{"食堂部", "2026-07-02"}));
    EXPECT_EQ(cells(9, 3), row("_ _ _ _ | _ _ 5 1 | _ _ _ _ | _ 5 | _ _ | _ _ | ¥-2.00 1 | ¥-2.00 _"));
    EXPECT_EQ(cell(10, 1), "小计：");
    EXPECT_EQ(cells(10, 3),
              row("¥0.00 0 0 0 | ¥21.00 2 5 1 | ¥0.00 0 ¥5.00 1 | ¥26.00 5 | ¥0.00 0 | ¥0.00 0 | ¥-2.00 1 | ¥-2.00 0"));
    // The total is the whole period's, the top department's person included.
    EXPECT_EQ(cell(11, 1), "总计：");
    EXPECT_EQ(cells(11, 3), CashTotal0701to0703);
    EXPECT_EQ(cell(12, 1), "收支情况：¥132.40");
}

// A site with a second top department (后勤部 over 车队): chosen in the
// list the window offers, each department-first layout shows that
// department's figures: 车队's recharge of 30.00 on the 1st and 后勤部's own
// of 4.00 on the 2nd, nobody else's.
TEST_P(SummaryRun, AnotherTopDepartmentChosenInTheListShowsItsOwnFigures) {
    con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values (4,'02','后勤部',0,0),(5,'0201','车队',1,0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,Del_YN) values (5,5,'0201','赵六',0),(6,4,'02','钱七',0);
)");
    add(at("2026-07-01 09:00:00").person(5).kind(1).type(161).money(3000));
    add(at("2026-07-02 09:00:00").person(6).kind(1).type(161).money(400));
    struct Case {
        const char* format;
        std::vector<V> labelled;  // first label cells, computer recharge and its count
    };
    const Case cases[] = {
        {"10600", {{"2026-07-01", "后勤部", "¥30.00", "1"}, {"2026-07-02", "后勤部", "¥4.00", "1"}}},
        {"10605", {{"2026-07-01", "后勤部", "普通卡", "¥30.00", "1"}, {"2026-07-02", "后勤部", "普通卡", "¥4.00", "1"}}},
        {"10608", {{"后勤部", "2026-07-01", "¥30.00", "1"}, {"后勤部", "2026-07-02", "¥4.00", "1"}}},
        {"30605", {{"后勤部", "普通卡", "¥34.00", "2"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        if (w.Loaded()) w.Unload();
        con->execute("delete from Sys_Para where Para_Name='HZ_Rep_Format'");
        addFormat("101", "部门报表", c.format);
        w.Load();
        w.Form_Activate();
        w.List1.setListIndex(12);
        int chosen = -1;
        for (int i = 0; i < w.Combo1.ListCount(); ++i)
            if (w.Combo1.List(i) == "后勤部") chosen = i;
        ASSERT_GE(chosen, 0);
        w.Combo1.setListIndex(chosen);
        w.DTPicker1.setValue("2026-07-01");
        w.DTPicker2.setValue("2026-07-02");
        w.Command1.click();
        EXPECT_EQ(sv->takeBoxes(), std::vector<std::string>{});
        std::vector<V> seen;
        for (int r = 5; r < w.Grid1.Rows(); ++r) {
            const std::size_t labels = c.labelled.front().size() - 2;
            V line;
            for (std::size_t k = 1; k <= labels; ++k) line.push_back(cell(r, static_cast<int>(k)));
            if (std::find(line.begin(), line.end(), "后勤部") == line.end()) continue;
            line.push_back(cell(r, static_cast<int>(labels) + 1));
            line.push_back(cell(r, static_cast<int>(labels) + 2));
            seen.push_back(line);
        }
        EXPECT_EQ(seen, c.labelled);
    }
}

TEST_P(SummaryRun, DefinedRangeReportByCardKind) {
    addFormat("101", "卡类汇总", "30500");
    run(12, "2026-07-01", "2026-07-03");
    EXPECT_TRUE(sv->boxes.empty());
    ASSERT_EQ(w.Grid1.Rows(), 10);
    EXPECT_EQ(cell(5, 1), "普通卡");
    EXPECT_EQ(cells(5, 3),
              row("¥100.40 2 _ _ | ¥6.00 2 _ _ | ¥10.00 1 ¥5.00 1 | ¥121.40 _ | ¥7.00 1 | ¥10.00 1 | _ _ | ¥17.00 _"));
    EXPECT_EQ(cell(6, 1), "教师卡");
    EXPECT_EQ(cells(6, 3), row("_ _ _ _ | ¥20.00 1 5 1 | _ _ ¥5.00 1 | ¥25.00 5 | _ _ | _ _ | ¥-2.00 1 | ¥-2.00 _"));
    EXPECT_EQ(cell(7, 1), "其他");
    EXPECT_EQ(cells(7, 3), row("_ _ _ _ | ¥1.00 1 _ _ | _ _ _ _ | ¥1.00 _ | _ _ | _ _ | _ _ | _ _"));
    EXPECT_EQ(cell(8, 1), "总计：");
    EXPECT_EQ(cells(8, 3), CashTotal0701to0703);
    EXPECT_EQ(cell(9, 1), "收支情况：¥132.40");
}

namespace {

// What a cell shows: its text, or nothing when a merged block covers it
// from another cell.
std::string shown(const grid::GridModel& m, int r, int c) {
    const auto block = m.mergeAt(r, c);
    if (block && (block->row1 != r || block->col1 != c)) return "-";
    return m.text(r, c);
}

}  // namespace

// Merged label blocks never take in the row numbers and end above their
// subtotal rows, so every label stays in view, on screen and in the export.
TEST_P(SummaryRun, EveryLabelStaysInViewAndColumn0NumbersTheRows) {
    const auto& m = w.Grid1.model();
    const auto labels = [&](int r, int last) {
        V out;
        for (int c = 0; c <= last; ++c) out.push_back(shown(m, r, c));
        return out;
    };
    addFormat("101", "部门日报", "10608");  // date as second dimension
    run(12, "2026-07-01", "2026-07-02");
    ASSERT_EQ(w.Grid1.Rows(), 13);
    EXPECT_EQ(labels(5, 2), (V{"1", "财务", "2026-07-01"}));
    EXPECT_EQ(labels(6, 2), (V{"2", "-", "2026-07-02"}));
    EXPECT_EQ(labels(7, 1), (V{"3", "小计："}));
    EXPECT_EQ(labels(8, 2), (V{"4", "食堂部", "2026-07-01"}));
    EXPECT_EQ(labels(10, 1), (V{"6", "小计："}));
    EXPECT_EQ(labels(11, 1), (V{"7", "总计："}));
    // Columns fit what the grid finally shows, the totals included.
    for (int c = 1; c < w.Grid1.Cols(); ++c) {
        const int fitted = w.Grid1.Column(c).Width();
        if (fitted < 1) continue;
        w.Grid1.Column(c).AutoFit();
        EXPECT_EQ(w.Grid1.Column(c).Width(), fitted) << c;
    }
    const std::string html = dir.file("r.html");
    ASSERT_TRUE(grid::exportHtml(m, html));
    std::ifstream in(html);
    const std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t n = 0;
    for (std::size_t at = page.find("小计："); at != std::string::npos; at = page.find("小计：", at + 1)) ++n;
    EXPECT_EQ(n, 2u);

    addFormat("102", "卡类汇总", "30500");  // a range report by a dimension
    w.Fill_Rep_List();
    run(13, "2026-07-01", "2026-07-03", false);
    EXPECT_EQ(labels(8, 1), (V{"4", "总计："}));

    addFormat("103", "卡类部门日报", "10506");
    w.Fill_Rep_List();
    run(14, "2026-07-01", "2026-07-02", false);
    ASSERT_EQ(w.Grid1.Rows(), 18);
    EXPECT_EQ(labels(6, 3), (V{"2", "-", "-", "其他"}));
    EXPECT_EQ(labels(7, 3), (V{"3", "-", "普通卡", "小计:"}));
    EXPECT_EQ(labels(9, 2), (V{"5", "-", "其他"}));
    EXPECT_EQ(labels(10, 1), (V{"6", "小计："}));
    // The total row's block spans every label column, the caption alone in view.
    EXPECT_EQ(labels(16, 3), (V{"12", "总计：", "-", "-"}));

    addFormat("104", "部门日报二", "10609");  // one dimension
    w.Fill_Rep_List();
    run(15, "2026-07-01", "2026-07-02", false);
    const int total = w.Grid1.Rows() - 2;  // above the balance line
    EXPECT_EQ(labels(total, 2), (V{std::to_string(total - 4), "总计：", "-"}));
}

// Water transfers and the computer's times recharges, which the other
// fixtures lack, each in its own items and subtotals; the meal-order columns
// stay empty and keep the expense subtotal in its own columns.
TEST_P(SummaryRun, WaterComputerTimesAndMealOrderColumns) {
    add(at("2026-07-01 09:10:00").person(1).kind(1).type(17).money(-120));
    add(at("2026-07-01 09:20:00").person(2).kind(2).type(181).money(-80));
    add(at("2026-07-01 09:30:00").person(1).kind(1).type(163).times(4));
    add(at("2026-07-01 09:40:00").person(1).kind(1).type(171).times(2));
    add(at("2026-07-01 09:50:00").person(2).kind(2).type(172).times(-1));
    // Computer recharge with times and counts, water, meal orders, expense subtotal.
    test::addReportFormat(*con, "101", "水控日报", "10009", "0111", "10000111", "000000");
    run(12, "2026-07-01", "2026-07-01");
    ASSERT_EQ(w.Grid1.Rows(), 7);  // the day, the total; no balance line without both subtotals
    // 07-01: computer recharge 100.00 in 1 row and 4+2-1 = 5 times in 3 rows; computer
    // withdrawal 7.00; consumption 5.00+3.00 in 2 rows and -1 time; water 1.20+0.80 in
    // 2 rows; meal orders empty; expenses 7.00+8.00+2.00 and the -1 time.
    EXPECT_EQ(cells(5, 3), row("¥100.00 1 5 3 | ¥7.00 1 | ¥8.00 2 -1 | ¥2.00 2 | _ _ | ¥17.00 -1"));
    EXPECT_EQ(cells(6, 3), cells(5, 3));
}

// The meals beside consumption and the expense subtotal, with a meal-5 row
// the other fixtures lack (07-01, 2.50). Consumption holds the meals: the
// subtotal is consumption's, and the other periods are consumption less all
// five meals. 07-01: 3.00 + 5.00 + 2.50 = 10.50 in 3 rows, -1 time in meal 3;
// 07-02: -1.00 in meal 2, 4.00 + 0.30 in no meal, 3.30 in 3 rows.
TEST_P(SummaryRun, TheExpenseSubtotalAndTheOtherPeriodsCountEachMealOnce) {
    add(at("2026-07-01 20:00:00").person(2).kind(2).type(1).meal(5).money(-250));
    test::addReportFormat(*con, "101", "餐次日报", "10000", "0111", "00000100", "111111");
    run(12, "2026-07-01", "2026-07-02");
    EXPECT_TRUE(sv->boxes.empty());
    ASSERT_EQ(w.Grid1.Rows(), 8);  // two days and the total
    // Meals 1..5, the other periods and consumption: money, rows, times; the subtotal: money, times.
    EXPECT_EQ(cells(5, 3), row("¥3.00 1 _ | ¥5.00 1 _ | _ _ -1 | _ _ _ | ¥2.50 1 _ | _ _ _ | ¥10.50 3 -1 | ¥10.50 -1"));
    EXPECT_EQ(cells(6, 3), row("_ _ _ | ¥-1.00 1 _ | _ _ _ | _ _ _ | _ _ _ | ¥4.30 2 _ | ¥3.30 3 _ | ¥3.30 _"));
    EXPECT_EQ(cell(7, 1), "总计：");
    EXPECT_EQ(cells(7, 3),
              row("¥3.00 1 0 | ¥4.00 2 0 | ¥0.00 0 -1 | ¥0.00 0 0 | ¥2.50 1 0 | ¥4.30 2 0 | ¥13.80 6 -1 | ¥13.80 -1"));
}

// A difference only in a value the report does not show (here the times of a
// deleted card kind) adds no "其他" row and relabels no other row.
TEST_P(SummaryRun, ADifferenceInAHiddenValueAddsNoOtherRow) {
    add(at("2026-07-02 09:30:00").person(1).kind(3).type(7).times(3));
    test::addReportFormat(*con, "101", "卡类日报", "10509", "1110", "11001000", "000000");
    run(12, "2026-07-01", "2026-07-02");
    V byKind;
    for (int r = 5; r < w.Grid1.Rows(); ++r) byKind.push_back(cell(r, 1) + "/" + cell(r, 2));
    // 07-01: both kinds, the deleted kind's recharge as "其他", the subtotal;
    // 07-02: both kinds and the subtotal, the 教师卡 row keeping its label.
    EXPECT_EQ(byKind, (V{"2026-07-01/普通卡", "2026-07-01/教师卡", "2026-07-01/其他", "小计：/其他",
                         "2026-07-02/普通卡", "2026-07-02/教师卡", "小计：/其他", "总计：/其他",
                         "收支情况：¥132.40/"}));
}

// A report gives the same figures whatever the window ran before: the top
// department an earlier report read does not narrow a department of the same
// name in this one.
TEST_P(SummaryRun, AnEarlierReportChangesNothingInTheNext) {
    con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values (4,'0103','总部',1,0),(5,'010301','分部',2,0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,Del_YN) values (4,5,'010301','赵六',0);
)");
    add(at("2026-07-01 08:30:00").person(4).kind(1).type(161).money(2500));
    addFormat("101", "部门日报", "10608");   // the department first: reads the top department
    addFormat("102", "卡类部门日报", "10506");  // the department second
    const auto picture = [&] {
        std::string out;
        for (int r = 5; r < w.Grid1.Rows(); ++r) out += cell(r, 1) + cell(r, 2) + cell(r, 3) + cell(r, 4) + "\n";
        return out;
    };
    run(13, "2026-07-01", "2026-07-01");
    const std::string alone = picture();
    // The level-1 "总部" covers its sub-department: its person's 25.00 is listed.
    EXPECT_NE(alone.find("普通卡总部¥25.00"), std::string::npos) << alone;
    run(12, "2026-07-01", "2026-07-01", false);
    run(13, "2026-07-01", "2026-07-01", false);
    EXPECT_EQ(picture(), alone);
}

// An error that every row meets is shown once, with how many times it came.
TEST_P(SummaryRun, ARepeatedTrappedErrorIsShownOnceWithItsCount) {
    con->execute("drop table Card_Log");
    run(0, "2026-07-01", "2026-07-02");
    // The card-fee query fails in every group total: the whole period, and for
    // each of the two days the day and its one group.
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].title, "出错:ERR_XF_Cha_HZ_2");
    EXPECT_NE(sv->boxes[0].prompt.find("此错误出现了 5 次"), std::string::npos) << sv->boxes[0].prompt;
    EXPECT_EQ(cell(5, 1), "2026-07-01");  // the run went on
    // The box names the missing table and what it means, not a statement.
    EXPECT_EQ(sv->boxes[0].prompt.rfind("数据库中没有表 Card_Log：报表中取自该表的数字无法统计，按 0 显示。", 0), 0u)
        << sv->boxes[0].prompt;
    EXPECT_EQ(sv->boxes[0].prompt.find("select"), std::string::npos);
}

// Two recharges of 5,000,000,000,000,000,000 fen each: their income subtotal
// passes the largest figure the report holds (about 9.22e18 fen). The box says
// so in the clerk's words, under its whole trap title, not "Overflow".
TEST_P(SummaryRun, AFigureTooLargeIsToldInPlainWords) {
    add(at("2026-07-03 08:00:00").person(1).kind(1).type(161).money(5000000000000000000));
    add(at("2026-07-03 09:00:00").person(2).kind(2).type(5).money(5000000000000000000));
    run(0, "2026-07-03", "2026-07-03");
    ASSERT_FALSE(sv->boxes.empty());
    for (const auto& box : sv->boxes) {
        EXPECT_EQ(box.style, platform::vbCritical);
        EXPECT_EQ(box.title.rfind("出错:ERR_XF_Cha_HZ_", 0), 0u) << box.title;
        EXPECT_EQ(box.prompt.rfind("有一个数字太大，无法显示。\n错误号 6", 0), 0u) << box.prompt;
        EXPECT_EQ(box.prompt.find("Overflow"), std::string::npos) << box.prompt;
    }
}

// In the window's own event loop: the uncertain box ticked while the report
// runs changes nothing of it, and closing the window stops it.
TEST_P(SummaryRun, OnScreenTheBoxTickedMidRunChangesNothingAndClosingStopsTheRun) {
    const int term = 7;
    const auto start = [&] {
        w.List1.setListIndex(0);
        w.DTPicker1.setValue("2026-07-01");
        w.DTPicker2.setValue("2026-07-03");
        w.Check1.setValue(forms::vbUnchecked);  // uncertain records left out
        test::clickOnScreen(w.Command1);
    };
    sv->onYield = [&] {
        if (sv->yields == 1) test::clickOnScreen(w.Check1);
    };
    QTimer::singleShot(0, [&] {
        start();
        EXPECT_EQ(w.Check1.Value(), forms::vbChecked);
        EXPECT_EQ(cell(6, term), "¥-2.00");  // 07-02 without the uncertain 8.00, as the box said at the start
        EXPECT_EQ(cell(7, term), "¥19.00");
        w.Unload();
    });
    w.Show();

    sv->yields = 0;
    sv->onYield = [&] { w.widget()->close(); };
    QTimer::singleShot(0, start);
    w.Show();
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(sv->yields, 1);  // no row after the window went
    w.Load();
    EXPECT_EQ(w.Grid1.Rows(), 5);  // as designed: nothing of the stopped run
    EXPECT_EQ(w.Grid1.Cols(), 3);
}

// A large site's month passes 32 bits in one slot: three terminal recharges
// of 10,000,000.00 are 3,000,000,000 fen, shown exactly.
TEST_P(SummaryRun, AFigurePastThirtyTwoBitsIsShownExactly) {
    for (int i = 0; i < 3; ++i) add(at("2026-07-03 09:00:00").person(2).kind(2).type(5).money(1000000000));
    run(0, "2026-07-03", "2026-07-03");
    EXPECT_TRUE(sv->boxes.empty()) << sv->lastPrompt();
    ASSERT_EQ(w.Grid1.Rows(), 8);
    const int terminal = 3 + 4;  // the terminal recharge block's money and count
    EXPECT_EQ(cell(5, terminal), "¥30000000.00");
    EXPECT_EQ(cell(5, terminal + 1), "3");
    EXPECT_EQ(cell(6, terminal), "¥30000000.00");
    EXPECT_EQ(cell(7, 1), "收支情况：¥30000000.00");
}

// 32,768 issue rows in one level: counted, not refused at 16 bits.
TEST_P(SummaryRun, ALevelOfMoreThan32767RowsIsCounted) {
    con->executeScript(
        "insert into Card_Log(Date_Time,Pinfo_id,C_LeiBie,Op_Type,FaKa_GBF,Huan_GBF,Tui_GBF) "
        "with recursive n(i) as (select 1 union all select i+1 from n where i<32768) "
        "select '2026-07-03 09:00:00',1,1,0,1,0,0 from n");
    run(0, "2026-07-03", "2026-07-03");
    EXPECT_TRUE(sv->boxes.empty()) << sv->lastPrompt();
    ASSERT_EQ(w.Grid1.Rows(), 8);
    const int issue = 3 + 8;  // the issue fee's money and count
    EXPECT_EQ(cell(5, issue), "¥327.68");
    EXPECT_EQ(cell(5, issue + 1), "32768");
    EXPECT_EQ(cell(7, 1), "收支情况：¥327.68");
}

// Figures beyond even 64 bits are said to be so; no cell shows a wrapped one.
TEST_P(SummaryRun, AFigureBeyondSixtyFourBitsIsReportedNotWrapped) {
    for (int i = 0; i < 2; ++i) add(at("2026-07-03 09:00:00").person(2).kind(2).type(5).money(5000000000000000000LL));
    run(0, "2026-07-03", "2026-07-03");
    EXPECT_FALSE(sv->boxes.empty());
    for (int r = 0; r < w.Grid1.Rows(); ++r)
        for (int c = 0; c < w.Grid1.Cols(); ++c) EXPECT_EQ(cell(r, c).find("-92233"), std::string::npos) << r << "," << c;
    EXPECT_TRUE(w.Command1.Enabled());
}

// A one-day report leaves the date column narrow: its total and balance
// labels, like every head, still show whole, in each report kind and language.
TEST_P(SummaryRun, OneDayReportsShowTheirLabelsWhole) {
    for (std::int16_t language : {0, 1, 2}) {
        Load_Lan(language);
        Lan_Type = language;
        for (int row : {0, 2, 8}) {
            run(row, "2026-07-01", "2026-07-01", row == 0);
            EXPECT_TRUE(sv->takeBoxes().empty()) << language << " " << row;
            EXPECT_EQ(test::cutCells(w.Grid1), std::vector<std::string>{}) << language << " " << row;
        }
        w.Unload();
    }
    Load_Lan(0);
    Lan_Type = 0;
}
