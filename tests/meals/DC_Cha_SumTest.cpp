#include "meals/DC_Cha_Sum.h"
#include "meals/MealsKit.h"
#include "support/FormText.h"

using namespace tolvenk;

namespace {

class ChaSum : public test::MealsWindow<DC_Cha_Sum> {
protected:
    void SetUp() override {
        MealsWindow::SetUp();
        if (IsSkipped()) return;
        con->executeScript(R"(
insert into Card_Type(C_LeiBie,C_Name,Del_YN) values (1,'普卡',0),(2,'教工卡',0),(3,'旧卡',1);
)");
        using test::XfRow;
        const auto order = [](int kind, int type, int meal, int money, const char* at) {
            return XfRow().kind(kind).type(type).meal(meal).money(money).date(at).err(0);
        };
        for (const XfRow& r : {
                 // 12-01 lunch: two orders, one cancelled, one meal taken.
                 order(1, 15, 2, -800, "2026-11-30 09:00:00").dcDate("2026-12-01"),
                 order(2, 15, 2, -800, "2026-11-30 09:10:00").dcDate("2026-12-01"),
                 order(1, 16, 2, 800, "2026-11-30 10:00:00").dcDate("2026-12-01"),
                 order(2, 48, 2, 800, "2026-12-01 12:00:00"),
                 // 12-01 breakfast: a return without an order.
                 order(1, 48, 1, 300, "2026-12-01 07:30:00"),
                 // 12-02 supper: ordered the day before (one uncertain), one taken; a sale is no order.
                 order(1, 15, 3, -1000, "2026-12-01 18:00:00").dcDate("2026-12-02").err(1),
                 order(1, 15, 3, -1000, "2026-12-02 08:00:00").dcDate("2026-12-02"),
                 order(1, 48, 3, 1000, "2026-12-02 17:30:00"),
                 order(1, 1, 3, -1200, "2026-12-02 17:40:00").dcDate("2026-12-02"),
                 // 12-02 night meal, and an order for a day outside the range.
                 order(2, 15, 4, -500, "2026-12-02 09:00:00").dcDate("2026-12-02"),
                 order(1, 15, 2, -800, "2026-12-02 09:00:00").dcDate("2026-12-03")})
            r.insert(*con);
    }
    void run(const std::string& from, const std::string& to, int type = 0) {
        w.DTPicker1.setValue(from);
        w.DTPicker2.setValue(to);
        w.Combo1.setListIndex(type);
        w.Command1.click();
    }
    // Columns 1 and the five of the meal, of a row.
    test::Texts meal(int row, int m) {
        test::Texts out{w.Grid1.Cell(row, 1).Text()};
        for (int i = 1; i <= 5; ++i) out.push_back(w.Grid1.Cell(row, 5 * m + i).Text());
        return out;
    }
    std::vector<int> shownColumns() { return test::shownColumns(w.Grid1); }
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(ChaSum);

// Figures worked out by hand from the rows above: cancellations come off the
// orders and off the pre-deducted amount; returns count on their own day.
TEST_P(ChaSum, FiguresPerDayAndMealWithCancellationsNettedOut) {
    w.Load();
    EXPECT_EQ(w.Combo1.List(1) + w.Combo1.List(3), "普通卡旧卡");  // deleted types offered too
    EXPECT_EQ(w.Combo1.ItemData(2), 2);
    w.Check1.setValue(forms::vbChecked);
    w.Check2.setValue(forms::vbChecked);
    run("2026-12-01", "2026-12-02");
    ASSERT_EQ(w.Grid1.Rows(), 5);
    EXPECT_EQ(w.Grid1.Cell(0, 11).Text() + w.Grid1.Cell(1, 15).Text(), "中餐预扣款盈余");
    using T = test::Texts;
    EXPECT_EQ(meal(2, 2), (T{"2026-12-01", "1", "￥8.00", "1", "￥8.00", "￥0.00"}));
    EXPECT_EQ(meal(2, 1), (T{"2026-12-01", "0", "￥0.00", "1", "￥3.00", "￥-3.00"}));
    EXPECT_EQ(meal(3, 2), (T{"2026-12-02", "0", "￥0.00", "0", "￥0.00", "￥0.00"}));
    EXPECT_EQ(meal(3, 3), (T{"2026-12-02", "2", "￥20.00", "1", "￥10.00", "￥10.00"}));
    EXPECT_EQ(meal(3, 4), (T{"2026-12-02", "1", "￥5.00", "0", "￥0.00", "￥5.00"}));
    EXPECT_EQ(meal(4, 1), (T{"合计：", "0", "￥0.00", "1", "￥3.00", "￥-3.00"}));
    EXPECT_EQ(meal(4, 3), (T{"合计：", "2", "￥20.00", "1", "￥10.00", "￥10.00"}));
    EXPECT_EQ(meal(4, 5), (T{"合计：", "0", "￥0.00", "0", "￥0.00", "￥0.00"}));

    run("2026-12-01", "2026-12-01", 2);  // the staff cards only
    ASSERT_EQ(w.Grid1.Rows(), 4);
    EXPECT_EQ(meal(2, 2), (T{"2026-12-01", "1", "￥8.00", "1", "￥8.00", "￥0.00"}));
    EXPECT_EQ(meal(3, 1), (T{"合计：", "0", "￥0.00", "0", "￥0.00", "￥0.00"}));
}

// A column hidden by one run comes back when a later run asks for it; a
// reversed range is refused; an error mid-run is shown and leaves the
// window ready for the next run.
TEST_P(ChaSum, ColumnsFollowEachRunAndAFailedRunLeavesTheWindowIdle) {
    w.Load();
    run("2026-12-02", "2026-12-02");
    EXPECT_EQ(shownColumns(), (std::vector<int>{1, 6, 8, 11, 13, 16, 18}));
    EXPECT_EQ(w.Grid1.Cell(2, 17).Text(), "￥20.00");  // hidden, not dropped
    w.Check1.setValue(forms::vbChecked);
    w.Check2.setValue(forms::vbChecked);
    run("2026-12-02", "2026-12-02");
    std::vector<int> all{1};
    for (int c = 6; c <= 30; ++c) all.push_back(c);
    EXPECT_EQ(shownColumns(), all);

    run("2026-12-03", "2026-12-02");
    EXPECT_EQ(sv->takeBoxes(), std::vector<std::string>{"提示:汇总日期选择错误!"});

    // A table the run needs is gone: the box, and the window idle again.
    con->execute("drop table Record_XF");
    run("2026-12-01", "2026-12-02");
    std::vector<int> styles;
    sv->takeBoxes(&styles);
    EXPECT_EQ(styles, std::vector<int>{platform::vbCritical});
    EXPECT_TRUE(w.Command1.Enabled());
    EXPECT_TRUE(w.Grid1.Enabled());
    EXPECT_FALSE(w.Pic_1.Visible());
    EXPECT_EQ(w.Grid1.Rows(), 2);  // no half figures
}

// Amounts whose sums no 64 bits hold, within a day's meal and across days,
// are shown exactly (worked out by hand), as small ones beside them are.
TEST_P(ChaSum, SumsPastSixtyFourBitsAreExact) {
    using test::XfRow;
    const auto big = [](int type, long long money, const char* at, const char* day) {
        return XfRow().kind(1).type(type).meal(1).money(money).date(at).dcDate(day).err(0);
    };
    for (const XfRow& r : {big(15, -6'000'000'000'000'000'000, "2026-12-04 09:00:00", "2026-12-05"),
                           big(15, -6'000'000'000'000'000'000, "2026-12-04 09:01:00", "2026-12-05"),
                           big(16, 5'000'000'000'000'000'000, "2026-12-04 09:02:00", "2026-12-05"),
                           big(48, 9'000'000'000'000'000'000, "2026-12-05 07:00:00", ""),
                           big(48, 9'000'000'000'000'000'000, "2026-12-05 07:01:00", ""),
                           big(15, -8'000'000'000'000'000'000, "2026-12-05 09:00:00", "2026-12-06"),
                           big(15, -800, "2026-12-05 09:00:00", "2026-12-06").meal(2)})
        r.insert(*con);
    w.Load();
    w.Check1.setValue(forms::vbChecked);
    run("2026-12-05", "2026-12-06");
    EXPECT_EQ(sv->takeBoxes(), test::Texts{});
    ASSERT_EQ(w.Grid1.Rows(), 5);
    using T = test::Texts;
    // 12e18 ordered, 5e18 of it cancelled, 18e18 returned.
    EXPECT_EQ(meal(2, 1), (T{"2026-12-05", "1", "￥70000000000000000.00", "2", "￥180000000000000000.00",
                             "￥-110000000000000000.00"}));
    EXPECT_EQ(meal(3, 1), (T{"2026-12-06", "1", "￥80000000000000000.00", "0", "￥0.00", "￥80000000000000000.00"}));
    EXPECT_EQ(meal(3, 2), (T{"2026-12-06", "1", "￥8.00", "0", "￥0.00", "￥8.00"}));
    EXPECT_EQ(meal(4, 1), (T{"合计：", "2", "￥150000000000000000.00", "2", "￥180000000000000000.00",
                             "￥-30000000000000000.00"}));
    EXPECT_EQ(meal(4, 2), (T{"合计：", "1", "￥8.00", "0", "￥0.00", "￥8.00"}));
}

// In the window's own event loop: the summary button reached where it shows,
// the busy panel up during the run, and closing the window stops the run.
TEST_P(ChaSum, OnScreenTheSummaryRunsAndClosingTheWindowStopsIt) {
    bool panelShown = false;
    sv->onYield = [&] { panelShown = w.Pic_1.Visible() && !w.Command1.Enabled(); };
    test::whileShown(w, [&] {
        w.DTPicker1.setValue("2026-12-01");
        w.DTPicker2.setValue("2026-12-02");
        test::clickOnScreen(w.Command1);
        EXPECT_EQ(meal(3, 3), (test::Texts{"2026-12-02", "2", "￥20.00", "1", "￥10.00", "￥10.00"}));
        EXPECT_EQ(shownColumns(), (std::vector<int>{1, 6, 8, 11, 13, 16, 18}));
        EXPECT_FALSE(w.Pic_1.Visible());
    });
    EXPECT_TRUE(panelShown);

    sv->yields = 0;
    sv->onYield = [&] { w.widget()->close(); };
    test::whileShown(w, [&] {
        w.DTPicker1.setValue("2026-12-01");
        w.DTPicker2.setValue("2026-12-31");
        test::clickOnScreen(w.Command1);
        EXPECT_FALSE(w.Loaded());  // the click closed it
    });
    EXPECT_EQ(sv->yields, 1);  // no statement after the window went
}

// The grid is painted when the window opens and while a run yields: a grid
// whose redraw is held shows as a black block. The output buttons wait for
// the whole answer.
TEST_P(ChaSum, TheGridIsDrawnBeforeAndDuringARunAndOutputWaitsForItsEnd) {
    w.Load();
    EXPECT_TRUE(w.Grid1.Redraw());
    int yields = 0, held = 0, outputOpen = 0;
    sv->onYield = [&] {
        ++yields;
        if (!w.Grid1.Redraw()) ++held;
        for (int i = 0; i <= 3; ++i)
            if (w.Command4(i).Enabled()) ++outputOpen;
    };
    run("2026-12-01", "2026-12-02");
    EXPECT_EQ(yields, 10);  // five meals a day
    EXPECT_EQ(held, 0);
    EXPECT_EQ(outputOpen, 0);
    EXPECT_TRUE(w.Grid1.Redraw());
    for (int i = 0; i <= 3; ++i) EXPECT_TRUE(w.Command4(i).Enabled());
}
