#include "meals/DC_ZhengChang.h"
#include "meals/MealsKit.h"

using namespace tolvenk;

namespace {

class ZhengChang : public test::MealsWindow<DC_ZhengChang> {
protected:
    test::Texts stored() { return MealsWindow::stored("DC_ZhengChangRi"); }
};

const std::string& kNo = test::kNoOrder;
const std::string& kYes = test::kOrder;

}  // namespace

TOLVENK_ON_BOTH_ENGINES(ZhengChang);

// An empty table shows an empty plan; the save inserts a flag per cell, 1
// only where the cell asks for an order.
TEST_P(ZhengChang, OnScreenEmptyPlanIsSavedAsFlags) {
    test::whileShown(w, [&] {
        EXPECT_EQ(cell(7, 1), "星期日");
        EXPECT_EQ(cell(0, 6), "夜宵");
        EXPECT_EQ(cell(3, 4), "");
        EXPECT_EQ(w.Grid1.model().columnList(4), (std::vector<std::string>{kNo, kYes}));
        w.Grid1.Cell(5, 2).setText(kYes);
        test::clickOnScreen(w.Command1);
        EXPECT_FALSE(w.Loaded());  // the click closed it
    });
    EXPECT_EQ(sv->takeBoxes(), (std::vector<std::string>{"确定保存吗?", "提示:保存成功"}));
    test::Texts expected(35, "0");
    expected[20] = "1";  // Fri_Zao
    EXPECT_EQ(stored(), expected);
}

// Wednesday supper is flag 13, Sunday's late-night snack flag 35; a stored
// flag other than 0 or 1 shows empty and is saved as 0.
TEST_P(ZhengChang, StoredPlanIsShownByWeekdayAndMealAndUpdated) {
    std::string flags;
    for (int i = 1; i <= 35; ++i) flags += i == 13 || i == 35 ? ",1" : i == 1 ? ",7" : ",0";
    con->execute("insert into DC_ZhengChangRi values(5" + flags + ")");
    w.Load();
    EXPECT_EQ(cell(3, 4), kYes);
    EXPECT_EQ(w.Grid1.Cell(3, 4).ForeColor(), 0xFF0000u);
    EXPECT_EQ(cell(7, 6), kYes);
    EXPECT_EQ(cell(1, 2), "");
    EXPECT_EQ(cell(1, 3), kNo);
    sv->msgBoxAnswers.push_back(platform::vbCancel);
    w.Grid1.Cell(3, 4).setText(kNo);
    w.Command1.click();
    EXPECT_TRUE(w.Loaded());
    EXPECT_EQ(stored()[12], "1");

    // A failed write is shown, keeps the window and the stored plan; the retry saves.
    w.Grid1.Cell(2, 2).setText(" " + kYes + " ");
    sv->takeBoxes();
    test::refuseWrites(*con, engine(), "no_plan", "update", "DC_ZhengChangRi", "", "disk full");
    w.Command1.click();
    std::vector<int> styles;
    const auto shown = sv->takeBoxes(&styles);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(shown[1].find("disk full"), std::string::npos);
    EXPECT_EQ(styles[1], platform::vbCritical);
    EXPECT_TRUE(w.Loaded());
    EXPECT_EQ(stored()[5], "0");
    test::allowWrites(*con, engine(), "no_plan", "DC_ZhengChangRi");
    w.Command1.click();
    EXPECT_FALSE(w.Loaded());
    test::Texts expected(35, "0");
    expected[5] = expected[34] = "1";  // Tues_Zao, Sun_Xiao
    EXPECT_EQ(stored(), expected);
    EXPECT_EQ(test::number(*con, "select count(*) from DC_ZhengChangRi where ID=5"), 1);
}
