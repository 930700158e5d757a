#include "meals/MealsKit.h"
#include "meals/XF_SetTime.h"

using namespace tolvenk;

namespace {

class SetTime : public test::MealsWindow<XF_SetTime> {
protected:
    test::Texts stored() { return MealsWindow::stored("XF_Can_Time", false); }
    void period(int meal, const std::string& from, const std::string& to) {
        range(w.DTPicker1(meal), w.DTPicker2(meal), from, to);
    }
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(SetTime);

// On an empty table the first save inserts the typed limits (yuan to whole
// fen) and tells only of the save. Touching periods and a period before
// breakfast are accepted.
TEST_P(SetTime, OnScreenFirstSaveInsertsTheTypedLimits) {
    test::whileShown(w, [&] {
        EXPECT_EQ(w.Text1(0).Text(), "6000");
        period(0, "07:00", "09:00");
        period(1, "09:00", "13:00");
        period(4, "00:30", "02:00");
        w.Text1(0).setText(" 150.505 ");
        w.Text1(1).setText("300");
        test::clickOnScreen(w.Command1);
        EXPECT_FALSE(w.Loaded());  // the click closed it
    });
    std::vector<int> styles;
    EXPECT_EQ(sv->takeBoxes(&styles), std::vector<std::string>{"提示:保存成功"});
    EXPECT_EQ(styles, std::vector<int>{platform::vbExclamation});
    EXPECT_EQ(stored(), (test::Texts{"07:00:00", "09:00:00", "09:00:00", "13:00:00", "16:30:00", "19:30:00", "20:00:00",
                                     "22:00:00", "00:30:00", "02:00:00", "15051", "300"}));
}

// The values laid out before any row is read pass the save's own checks:
// 6000 yuan is 600000 fen.
TEST_P(SetTime, AnEmptyTableSavesTheLaidOutValues) {
    w.Load();
    w.Command1.click();
    EXPECT_EQ(sv->takeBoxes(), std::vector<std::string>{"提示:保存成功"});
    EXPECT_EQ(stored(), (test::Texts{"06:00:00", "09:00:00", "10:30:00", "13:30:00", "16:30:00", "19:30:00", "20:00:00",
                                     "22:00:00", "22:00:00", "23:59:00", "600000", "5000"}));
}

TEST_P(SetTime, StoredRowIsShownToTheMinuteAndUpdatedWithTheReminder) {
    canteenTimes("'07:30:45','09:00:00','11:00:00','13:00:00','17:00:00','19:00:00','nonsense','22:00:00',"
                 "'23:00:00','23:30:00'",
                 60000, 2000);
    w.Load();
    EXPECT_EQ(meals::pickerTime(w.DTPicker1(3)), "20:00:00");  // unreadable: the picker keeps its own time
    EXPECT_EQ(w.Text1(0).Text(), "600.00");
    w.Command1.click();
    const auto shown = sv->takeBoxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(shown[1].find("[ 消费设备通讯 ]"), std::string::npos);
    EXPECT_EQ(test::rows(*con, "select * from XF_Can_Time"),
              (std::vector<test::Texts>{{"07:30:00", "09:00:00", "11:00:00", "13:00:00", "17:00:00", "19:00:00",
                                         "20:00:00", "22:00:00", "23:00:00", "23:30:00", "60000", "2000"}}));
}

// Each refusal names its rule and writes nothing; a database error keeps the
// window open, and the retry writes the row once.
TEST_P(SetTime, RefusalsAndAFailedWriteLeaveTheRowAsItWas) {
    w.Load();
    const auto refused = [&](const std::string& text) {
        w.Command1.click();
        EXPECT_EQ(sv->takeBoxes(), std::vector<std::string>{text});
        EXPECT_EQ(test::number(*con, "select count(*) from XF_Can_Time"), 0);
    };
    period(3, "22:00", "00:00");  // no period runs past midnight
    refused("提示:餐段开始时间不能大于或等于餐段结束时间!");
    period(3, "20:00", "22:00");
    for (const char* lunch : {"06:00", "08:59"}) {  // around breakfast, into it
        period(1, lunch, "14:00");
        refused("提示:下一餐段开始时间不能小于上一餐段结束时间!");
    }
    period(1, "10:30", "13:30");
    for (const char* balance : {"99.99", "6000.01", "-200", "abc", ""}) {
        w.Text1(0).setText(balance);
        refused("提示:卡内最大余额应大于100元小于6000!");
    }
    w.Text1(0).setText("100");
    for (const char* times : {"60001", "-1", "1.5"}) {
        w.Text1(1).setText(times);
        refused("提示:卡内最大次数不能大于60000!");
    }
    w.Text1(1).setText("60000");

    test::refuseWrites(*con, engine(), "no_times", "insert", "XF_Can_Time", "", "disk full");
    w.Command1.click();
    std::vector<int> styles;
    sv->takeBoxes(&styles);
    EXPECT_EQ(styles, std::vector<int>{platform::vbCritical});
    EXPECT_TRUE(w.Loaded());
    test::allowWrites(*con, engine(), "no_times", "XF_Can_Time");
    w.Command1.click();
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(test::column(*con, "select Max_Money||'/'||Max_Ci from XF_Can_Time"), test::Texts{"10000/60000"});
}
