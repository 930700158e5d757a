// Every figure below is read off the transactions inserted by the fixture.
#include <QApplication>
#include <QTest>
#include <QTimer>

#include "EmployeeStatsFixture.h"

using namespace tolvenk;

namespace {

using EmployeeRun = test::EmployeeStatsFixture;
using S = std::vector<std::string>;
using Block = std::optional<grid::CellRange>;

bool same(const Block& b, int r1, int c1, int r2, int c2) {
    return b && b->row1 == r1 && b->col1 == c1 && b->row2 == r2 && b->col2 == c2;
}

}  // namespace

TOLVENK_ON_BOTH_ENGINES(EmployeeRun);

TEST_P(EmployeeRun, DayReportRowsPerEmployeeAndDayWithMergedEmployeeAndTotalCells) {
    run(0, "2026-07-01", "2026-07-02");
    ASSERT_EQ(w.Grid1.Rows(), 6);
    EXPECT_EQ(cells(1), (S{"张三", "E1", "财务", "D11", "2026-07-01", "5.00", "1", "1", "100.00", "0", "0.00", "100.00",
                           "0.00", "0", "5.00", "1", "0.00", "0", "0.00", "0", "0.00", "0", "0.00", "0", "0.00"}));
    EXPECT_EQ(cells(2), (S{"张三", "E1", "财务", "D11", "2026-07-02", "2.00", "2", "0", "0.00", "0", "30.00", "-30.00",
                           "3.00", "0", "0.00", "0", "-1.00", "0", "0.00", "0", "0.00", "0", "0.00", "0", "0.00"}));
    EXPECT_EQ(cells(3, 1, 12), (S{"李四", "E2", "财务", "D11", "2026-07-01", "4.00", "1", "0", "0.00", "10", "0.00", "0.00"}));
    EXPECT_EQ(cells(3, 23, 24), (S{"4.00", "0"}));
    EXPECT_EQ(cells(4, 1, 7), (S{"王五", "E3", "食堂", "D12", "2026-07-02", "2.00", "1"}));
    EXPECT_EQ(cell(4, 15), "2.00");
    EXPECT_EQ(cells(5), (S{"总计:", "", "", "", "", "13.00", "5", "1", "100.00", "10", "30.00", "70.00", "3.00", "0",
                           "7.00", "1", "-1.00", "0", "0.00", "0", "0.00", "0", "4.00", "0", "0.00"}));
    for (int r = 0; r <= 5; ++r) EXPECT_EQ(cell(r, 0), r == 0 ? "" : std::to_string(r));

    const auto& g = w.Grid1.model();
    for (int c = 1; c <= 4; ++c) EXPECT_TRUE(same(g.mergeAt(2, c), 1, c, 2, c)) << c;
    EXPECT_FALSE(g.mergeAt(1, 5));
    EXPECT_FALSE(g.mergeAt(3, 1));
    EXPECT_TRUE(same(g.mergeAt(5, 3), 5, 1, 5, 5));
    EXPECT_EQ(g.merges().size(), 5u);

    EXPECT_EQ(shown(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(w.Grid1.Column(5).Width(), 100);
    EXPECT_EQ(w.Grid1.Column(1).Alignment(), grid::AlignCenter);
    EXPECT_EQ(w.Grid1.Column(6).Alignment(), grid::AlignRight);
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
    EXPECT_EQ(cells(2, 5, 7), (S{"2026-07", "4.00", "1"}));
    EXPECT_EQ(cells(2, 23, 25), (S{"4.00", "0", "15.00"}));
    EXPECT_EQ(cells(3, 1, 7), (S{"王五", "E3", "食堂", "D12", "2026-07", "2.00", "1"}));
    EXPECT_EQ(cells(4, 6, 12), (S{"13.00", "5", "1", "100.00", "10", "30.00", "70.00"}));
    EXPECT_EQ(cell(4, 25), "15.00");
    EXPECT_EQ(shown().size(), 25u);
    EXPECT_EQ(w.Grid1.model().merges().size(), 1u);  // one row per employee: the total alone

    // The next month of 张三 is a second row of his; times off again hides the times columns.
    w.Check1.setValue(forms::vbUnchecked);
    w.Check2.setValue(forms::vbUnchecked);
    run(1, "2026-07-01", "2026-08-01");
    EXPECT_EQ(cells(2, 1, 7), (S{"张三", "E1", "财务", "D11", "2026-08", "2.50", "1"}));
    EXPECT_EQ(shown(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 9, 11, 12, 25}));
}

TEST_P(EmployeeRun, PeriodSummaryIsOneRowPerEmployeeWithTheDateColumnHidden) {
    w.Load();
    w.Check3.setValue(forms::vbChecked);
    run(2, "2026-06-30", "2026-07-31");
    ASSERT_EQ(w.Grid1.Rows(), 5);
    EXPECT_EQ(cells(1, 1, 7), (S{"张三", "E1", "财务", "D11", "2026-06-30 00:00:00", "7.00", "3"}));
    EXPECT_EQ(cells(3, 1, 7), (S{"王五", "E3", "食堂", "D12", "2026-06-30 00:00:00", "9.00", "2"}));
    EXPECT_EQ(cells(4, 6, 12), (S{"20.00", "6", "1", "100.00", "10", "30.00", "70.00"}));
    EXPECT_EQ(shown(), (std::vector<int>{1, 2, 3, 4, 6, 7, 9, 11, 12}));
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

// In the window's own event loop: the summary button reached and clicked.
TEST_P(EmployeeRun, OnScreenTheSummaryButtonFillsTheGrid) {
    QTimer::singleShot(0, [&] {
        w.ucDep1.selectDepartment("0101");
        w.DTPicker1.setValue("2026-07-01");
        w.DTPicker2.setValue("2026-07-02");
        QWidget* button = w.Command1.widget();
        const QPoint middle = button->rect().center();
        EXPECT_EQ(QApplication::widgetAt(button->mapToGlobal(middle)), button);
        QTest::mouseClick(button, Qt::LeftButton, {}, middle);
        EXPECT_EQ(w.Grid1.Rows(), 5);
        EXPECT_EQ(cell(3, 1), "李四");
        EXPECT_EQ(cell(4, 6), "11.00");
        w.Unload();
    });
    w.Show();
}
