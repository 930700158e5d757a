#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "ChongHzFixture.h"
#include "entry/MenuTable.h"
#include "ui/WindowRegistry.h"

using namespace tolvenk;

namespace {

using ChongWindow = test::ChongHzFixture;

std::vector<std::string> items(const forms::ComboBox& c) {
    std::vector<std::string> out;
    for (int i = 0; i < c.ListCount(); ++i) out.push_back(c.List(i));
    return out;
}

void clickOnScreen(forms::Control& c) {
    QWidget* widget = c.widget();
    const QPoint middle = widget->rect().center();
    ASSERT_EQ(QApplication::widgetAt(widget->mapToGlobal(middle)), widget) << "covered or hidden";
    QTest::mouseClick(widget, Qt::LeftButton, {}, middle);
}

}  // namespace

TOLVENK_ON_BOTH_ENGINES(ChongWindow);

TEST_P(ChongWindow, OpensByTerminalAndSwitchesToComputer) {
    w.Load();
    EXPECT_EQ((S{w.Caption(), w.Frame1.Caption(), w.Label1(1).Caption()}), (S{"汇总统计", "汇总类型", "汇总日期:"}));
    EXPECT_TRUE(w.Option2(0).Value() && w.Option1(0).Value() && w.Command2.Visible());
    EXPECT_FALSE(w.Command1.Visible() || w.Text1.Visible());
    EXPECT_EQ(w.Combo3.Text(), "收费点");
    EXPECT_EQ(w.Combo2.ItemData(5), 7);
    EXPECT_EQ(items(w.Combo1), (S{"全部", "一食堂", "二食堂"}));
    EXPECT_EQ(w.Combo1.ItemData(2), 2);
    EXPECT_EQ(w.Combo4.Text(), "全部");
    EXPECT_EQ((S{w.DTPicker1.Value(), w.DTPicker2.MinDate()}), (S{"2026-07-20", "2026-01-15"}));
    ASSERT_EQ(w.Grid1.Cols(), 22);
    EXPECT_EQ(w.Grid1.Rows(), 1);
    EXPECT_EQ((S{cell(0, 1), cell(0, 4), cell(0, 20), cell(0, 21)}), (S{"日期", "金额消费", "其它餐段记次", "转款机转款"}));
    EXPECT_EQ(w.Grid1.Column(4).Alignment(), 14);
    EXPECT_EQ(w.Grid1.Column(2).Alignment(), 10);

    // A summary hides the columns it did not use; a mode switch drops its rows.
    add(pos(1, "2026-07-20 08:00:00", 11).meal(1).money(-100));
    sum(true, 2, 2, "2026-07-20", "2026-07-20");
    ASSERT_EQ(w.Grid1.Rows(), 3);
    w.Option2(1).setValue(true);
    EXPECT_EQ(w.Grid1.Rows(), 1);
    ASSERT_EQ(w.Grid1.Cols(), 11);
    EXPECT_EQ((S{cell(0, 4), cell(0, 6), cell(0, 9), cell(0, 10)}), (S{"电脑充值", "电脑充次", "实收合计", "电脑转款(水控)"}));
    EXPECT_EQ(w.Grid1.Column(7).Width() + w.Grid1.Column(8).Width(), 0);
    EXPECT_GT(w.Grid1.Column(10).Width(), 0);
    EXPECT_TRUE(w.Command1.Visible() && !w.Command2.Visible());
    EXPECT_EQ(items(w.Combo2), (S{"按操作员汇总", "按卡类型汇总", "按部门汇总"}));
    EXPECT_EQ(items(w.Combo3), (S{"按操作员汇总", "按卡类型汇总", "按部门汇总", "按日期汇总"}));
    EXPECT_EQ(items(w.Combo4), (S{"全部", "管理员", "王会计"}));
    w.Option2(0).setValue(true);
    for (int c = 1; c <= 21; ++c) EXPECT_GT(w.Grid1.Column(c).Width(), 0) << c;

    // Registered without a menu code: another window can open it.
    registerBuiltInWindows();
    EXPECT_NE(windowObject("XF_Chong_HZ"), nullptr);
    resetWindowObjects();
}

TEST_P(ChongWindow, ConditionListsAndGroupNames) {
    w.Load();
    const std::pair<int, S> lists[] = {{2, {"全部", "一号机", "二号机", "充值机"}},
                                       {3, {"全部", "李收", "张收", "引号"}},
                                       {4, {"全部", "膳食科", "外包"}},
                                       {5, {"全部", "普通卡", "教工卡", ""}},
                                       {7, {"全部", "财务", "食堂"}}};
    for (const auto& [kind, expected] : lists) {
        pick(w.Combo2, kind);
        EXPECT_EQ(items(w.Combo1), expected) << kind;
        EXPECT_EQ(w.Combo1.ListIndex(), 0);
    }

    // Cashiers are found by their key, never by their name.
    pick(w.Combo2, 3);
    std::string key;
    EXPECT_EQ(w.Find_Group_Name("7", 0, key, 1) + key, "李收7");
    EXPECT_EQ(w.Find_Group_Name("李收", 0, key, 1) + key, "其它-1");

    pick(w.Combo2, 2);
    w.Combo1.AddItem("重号");
    w.Combo1.setItemData(w.Combo1.NewIndex(), 12);
    EXPECT_EQ(w.Find_Group_Name("12", 0, key, 0), "二号机");  // the first of two
    EXPECT_EQ(w.Find_Group_Name("012", 0, key, 0) + key, "二号机012");
    for (const char* other : {"14", "x", "0"}) EXPECT_EQ(w.Find_Group_Name(other, 0, key, 0) + key, "其它-1") << other;

    // The date as second kind has no values: its list and label go grey.
    w.Option2(1).setValue(true);
    pick(w.Combo3, 8);
    EXPECT_EQ(items(w.Combo4), (S{"全部"}));
    EXPECT_FALSE(w.Combo4.Enabled() || w.Label1(2).Enabled());
    pick(w.Combo2, 5);
    EXPECT_FALSE(w.Label1(2).Enabled());
    EXPECT_TRUE(w.Label1(0).Enabled());
    pick(w.Combo3, 7);
    EXPECT_TRUE(w.Combo4.Enabled() && w.Label1(2).Enabled());
}

TEST_P(ChongWindow, MonthModeSnapsTheStartAndResizeKeepsTheMinimum) {
    w.Load();
    w.Option1(1).setValue(true);
    EXPECT_TRUE(w.Text1.Visible());
    EXPECT_EQ(w.DTPicker1.MinDate(), "2026-02-01");
    EXPECT_EQ(w.Text2.Text(), "2026年7月");
    w.DTPicker1.setValue("2026-03-31");
    EXPECT_EQ(w.DTPicker1.Value() + w.Text1.Text(), "2026-03-012026年3月");
    w.DTPicker2.setValue("2026-03-31");
    EXPECT_EQ(w.DTPicker2.Value() + w.Text2.Text(), "2026-03-312026年3月");
    w.Option1(0).setValue(true);
    EXPECT_FALSE(w.Text2.Visible());
    EXPECT_EQ(w.DTPicker1.MinDate(), "2026-01-15");
    w.DTPicker1.setValue("2026-04-30");
    EXPECT_EQ(w.DTPicker1.Value() + w.Text1.Text(), "2026-04-302026年4月");

    w.setWidth(10000);
    w.setHeight(7000);
    w.Form_Resize();
    EXPECT_NEAR(w.Width(), 11600, 14);
    EXPECT_NEAR(w.Height(), 8200, 14);
    EXPECT_EQ(w.Grid1.Width(), w.Width() - 420);
    EXPECT_EQ(w.Grid1.Top() + w.Grid1.Height(), w.Height() - 560);
}

TEST_P(ChongWindow, EnglishTextsFitAndComputerKindsStayChinese) {
    Load_Lan(1);
    Lan_Type = 1;
    w.Load();
    EXPECT_EQ((S{w.Combo2.List(0), w.Option2(0).Caption(), w.Combo1.List(0), cell(0, 5)}),
              (S{"Summary by Charging Place", "Summarize by POS Device", "All", "Consume by Times"}));
    std::vector<forms::Control*> captioned = {&w.Label2, &w.Label3, &w.Command1, &w.Command2};
    for (int i = 0; i <= 2; ++i) captioned.push_back(&w.Label1(i));
    for (int i = 0; i <= 1; ++i) captioned.insert(captioned.end(), {&w.Option1(i), &w.Option2(i)});
    for (int i = 0; i <= 3; ++i) captioned.push_back(&w.Command4(i));
    for (forms::Control* c : captioned)
        EXPECT_LE(c->widget()->sizeHint().width(), c->widget()->width()) << c->widget()->metaObject()->className();
    w.Option2(1).setValue(true);
    EXPECT_EQ(w.Combo3.List(3), "按日期汇总");
}

// In the window's own loop: the summary button and the print button.
TEST_P(ChongWindow, OnScreenSummaryAndPrint) {
    add(pos(1, "2026-07-20 12:00:00", 12).meal(2).money(-250));
    QTimer::singleShot(0, [&] {
        w.DTPicker1.setValue("2026-07-20");
        clickOnScreen(w.Command2);
        EXPECT_EQ(lines().front(), "2026-07-20|一食堂|| 4:￥2.50 11:￥2.50");
        clickOnScreen(w.Command4(3));
        EXPECT_EQ(sv->previews.size(), 1u);
        EXPECT_EQ(w.Grid1.Page_Setup().title, "汇总统计");
        EXPECT_EQ(w.Grid1.Page_Setup().footer, "制表人：admin    制表日期:2026-07-20 09:00:00");
        w.Unload();
    });
    w.Show();
    EXPECT_FALSE(w.Loaded());
}
