#include <QTimer>

#include "MealsKit.h"
#include "meals/DC_ShiDuan.h"
#include "meals/MealTimes.h"

using namespace tolvenk;

namespace {

class ShiDuan : public test::WindowOf<DC_ShiDuan> {
protected:
    test::Texts stored() {
        auto r = test::row(*con, "select * from DC_ShiDuan");
        if (!r.empty()) r.erase(r.begin());  // the ID
        return r;
    }
    void meal(int k, const std::string& from, const std::string& to, const std::string& amount) {
        meals::setPickerTime(*w.Meal(k).start, from);
        meals::setPickerTime(*w.Meal(k).end, to);
        w.Meal(k).amount->setText(amount);
    }
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(ShiDuan);

// The first save inserts: a meal ticked off is stored closed at the breakfast
// start, typed amounts in whole fen, blank or dropped amounts as 0.
TEST_P(ShiDuan, OnScreenFirstSaveInsertsWithClosedMealsCollapsed) {
    con->execute("insert into XF_Can_Time values('07:00:00','09:00:00','11:00:00','13:00:00','17:00:00','19:00:00',"
                 "'21:00:00','22:00:00','23:00:00','23:30:00',60000,2000)");
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(w.Label6.Caption(), "夜宵就餐时段:23:00:00 -- 23:30:00");
        meal(1, "06:30", "08:00", "0.125");
        meal(2, "10:00", "11:00", "letters");
        meal(3, "16:00", "17:00", " 12.5 ");
        meal(4, "20:00", "20:30", "");
        w.Check5.setValue(forms::vbUnchecked);
        test::clickOnScreen(w.Check2, 8);  // a check box takes clicks on its box and caption
        EXPECT_FALSE(w.Text2.Enabled());
        w.Option1(1).setValue(true);
        test::clickOnScreen(w.Command1);
    });
    w.Show();
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(test::takeBoxes(*sv), (std::vector<std::string>{"询问:确定保存吗?", "提示:保存成功"}));
    EXPECT_EQ(stored(), (test::Texts{"1", "06:30:00", "08:00:00", "13", "06:30:00", "06:30:00", "0", "16:00:00", "17:00:00",
                                     "1250", "20:00:00", "20:30:00", "0", "06:30:00", "06:30:00", "0"}));
}

// A stored row is shown and updated; an open meal's amount must be 0 to 6000
// yuan; a cancelled question or a failed write changes nothing.
TEST_P(ShiDuan, StoredRowIsUpdatedAfterRefusalsCancelAndAFailedWrite) {
    con->execute("insert into DC_ShiDuan values(4,7,'06:00:00','08:00:00',125,'06:00:00','06:00:00',0,'17:00:00',"
                 "'18:00:00',800,'x','21:00:00',0,'22:00:00','23:00:00',300)");
    w.Load();
    EXPECT_TRUE(w.Option1(0).Value());  // neither 0 nor 1: the options stay as laid out
    EXPECT_EQ(w.Text1.Text(), "1.25");
    EXPECT_EQ(w.Check2.Value(), forms::vbUnchecked);
    EXPECT_FALSE(w.DTPicker3.Enabled());
    EXPECT_EQ(meals::pickerTime(w.DTPicker7), "00:00:00");  // unreadable: the picker keeps its time
    for (const char* amount : {"-0.01", "abc", "6000.01", "1e2"}) {
        w.Text3.setText(amount);
        w.Command1.click();
        EXPECT_EQ(test::takeBoxes(*sv), std::vector<std::string>{"提示:预扣金额应为0到6000元之间的数字!"}) << amount;
    }
    w.Text3.setText("8");
    sv->msgBoxAnswers.push_back(platform::vbCancel);
    w.Command1.click();
    test::refuseWrites(*con, engine(), "no_row", "update", "DC_ShiDuan", "", "disk full");
    w.Command1.click();
    const auto shown = test::takeBoxes(*sv);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_NE(shown[2].find("disk full"), std::string::npos);
    EXPECT_EQ(test::text(*con, "select DC_Wan_YuKou from DC_ShiDuan"), "800");
    test::allowWrites(*con, engine(), "no_row", "DC_ShiDuan");
    w.Check1.setValue(forms::vbUnchecked);  // every closed meal now collapses to midnight
    w.Command1.click();
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(stored(), (test::Texts{"0", "00:00:00", "00:00:00", "0", "00:00:00", "00:00:00", "0", "17:00:00",
                                     "18:00:00", "800", "00:00:00", "21:00:00", "0", "22:00:00", "23:00:00", "300"}));
}
