#include "meals/DC_ShiDuan.h"
#include "meals/MealsKit.h"

using namespace tolvenk;

namespace {

class ShiDuan : public test::MealsWindow<DC_ShiDuan> {
protected:
    test::Texts stored() { return MealsWindow::stored("DC_ShiDuan"); }
    void meal(int k, const std::string& from, const std::string& to, const std::string& amount) {
        range(*w.Meal(k).start, *w.Meal(k).end, from, to);
        w.Meal(k).amount->setText(amount);
    }
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(ShiDuan);

// The first save inserts: a meal ticked off is stored closed at the breakfast
// start, typed amounts in whole fen, blank or dropped amounts as 0.
TEST_P(ShiDuan, OnScreenFirstSaveInsertsWithClosedMealsCollapsed) {
    canteenTimes("'07:00:00','09:00:00','11:00:00','13:00:00','17:00:00','19:00:00','21:00:00','22:00:00',"
                 "'23:00:00','23:30:00'",
                 60000, 2000);
    test::whileShown(w, [&] {
        EXPECT_EQ(w.Label6.Caption(), "夜宵就餐时段:23:00:00 -- 23:30:00");
        meal(1, "06:30", "08:00", "0.125");
        meal(2, "10:00", "11:00", "letters");
        meal(3, "16:00", "17:00", " 12.5 ");
        meal(4, "20:00", "20:30", "");
        w.Check5.setValue(forms::vbUnchecked);
        test::clickOnScreen(w.Check2);
        EXPECT_FALSE(w.Text2.Enabled());
        w.Option1(1).setValue(true);
        test::clickOnScreen(w.Command1);
        EXPECT_FALSE(w.Loaded());  // the click closed it
    });
    EXPECT_EQ(sv->takeBoxes(), (std::vector<std::string>{"询问:确定保存吗?", "提示:保存成功"}));
    EXPECT_EQ(stored(), (test::Texts{"1", "06:30:00", "08:00:00", "13", "06:30:00", "06:30:00", "0", "16:00:00", "17:00:00",
                                     "1250", "20:00:00", "20:30:00", "0", "06:30:00", "06:30:00", "0"}));
}

// A stored row is shown and updated; an open meal's amount must be an amount
// not below 0, however large, that a record holds; a cancelled question or a
// failed write changes nothing.
TEST_P(ShiDuan, StoredRowIsUpdatedAfterRefusalsCancelAndAFailedWrite) {
    con->execute("insert into DC_ShiDuan values(4,7,'06:00:00','08:00:00',125,'06:00:00','06:00:00',0,'17:00:00',"
                 "'18:00:00',800,'x','21:00:00',0,'22:00:00','23:00:00',300)");
    w.Load();
    EXPECT_TRUE(w.Option1(0).Value());  // neither 0 nor 1: the options stay as laid out
    EXPECT_EQ(w.Text1.Text(), "1.25");
    EXPECT_EQ(w.Check2.Value(), forms::vbUnchecked);
    EXPECT_FALSE(w.DTPicker3.Enabled());
    EXPECT_EQ(meals::pickerTime(w.DTPicker7), "00:00:00");  // unreadable: the picker keeps its time
    for (const char* amount : {"-0.01", "abc", "1e2"}) {
        w.Text3.setText(amount);
        w.Command1.click();
        EXPECT_EQ(sv->takeBoxes(), std::vector<std::string>{"提示:预扣金额应为不小于0的数字!"}) << amount;
    }
    w.Text3.setText(" 1000000000000000 ");
    w.Command1.click();
    EXPECT_EQ(sv->takeBoxes(), std::vector<std::string>{"金额 1000000000000000 太大，无法记录。这一笔没有保存。"});
    w.Text3.setText("999999999999999.99");
    sv->msgBoxAnswers.push_back(platform::vbCancel);
    w.Command1.click();
    test::refuseWrites(*con, engine(), "no_row", "update", "DC_ShiDuan", "", "disk full");
    w.Command1.click();
    const auto shown = sv->takeBoxes();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_NE(shown[2].find("disk full"), std::string::npos);
    EXPECT_EQ(test::text(*con, "select DC_Wan_YuKou from DC_ShiDuan"), "800");
    test::allowWrites(*con, engine(), "no_row", "DC_ShiDuan");
    w.Check1.setValue(forms::vbUnchecked);  // every closed meal now collapses to midnight
    w.Command1.click();
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(stored(), (test::Texts{"0", "00:00:00", "00:00:00", "0", "00:00:00", "00:00:00", "0", "17:00:00",
                                     "18:00:00", "99999999999999999", "00:00:00", "21:00:00", "0", "22:00:00",
                                     "23:00:00", "300"}));
}

// Each meal shows its own columns: values written by column name, different
// for every meal, come back in that meal's controls.
TEST_P(ShiDuan, EveryMealShowsItsOwnColumns) {
    std::string canteen;
    for (int k = 1; k <= 5; ++k) {
        const std::string h = "0" + std::to_string(k);
        canteen += std::string(k > 1 ? "," : "") + "'" + h + ":00:00','" + h + ":30:00'";
    }
    canteenTimes(canteen, 0, 0);
    con->execute("insert into DC_ShiDuan(DC_MoRen,DC_Zao_1,DC_Zao_2,DC_Zao_YuKou,DC_Zhong_1,DC_Zhong_2,DC_Zhong_YuKou,"
                 "DC_Wan_1,DC_Wan_2,DC_Wan_YuKou,DC_Ye_1,DC_Ye_2,DC_Ye_YuKou,DC_Xiao_1,DC_Xiao_2,DC_Xiao_YuKou) "
                 "values(1,'01:10:00','01:20:00',101,'02:10:00','02:20:00',201,'03:10:00','03:20:00',301,"
                 "'04:10:00','04:20:00',401,'05:10:00','05:20:00',501)");
    w.Load();
    EXPECT_TRUE(w.Option1(1).Value());
    for (int k = 1; k <= 5; ++k) {
        const std::string h = "0" + std::to_string(k);
        EXPECT_EQ(meals::pickerTime(*w.Meal(k).start), h + ":10:00") << k;
        EXPECT_EQ(meals::pickerTime(*w.Meal(k).end), h + ":20:00") << k;
        EXPECT_EQ(w.Meal(k).amount->Text(), std::to_string(k) + ".01") << k;
        EXPECT_NE(w.Meal(k).period->Caption().find(h + ":00:00 -- " + h + ":30:00"), std::string::npos) << k;
    }
}
