#include "meals/DC_TeShu.h"
#include "meals/MealsKit.h"

using namespace tolvenk;

namespace {

class TeShu : public test::MealsWindow<DC_TeShu> {
protected:
    void SetUp() override {
        MealsWindow::SetUp();
        if (IsSkipped()) return;
        sv->clock = "2026-12-06 10:00:00";
        con->executeScript(R"(
insert into DC_TeShuRi(TS_Date,TS_Zao,TS_Zhong,TS_Wan,TS_Ye,TS_Xiao) values
 ('2026-12-25',1,1,0,0,0),('2026-10-01',0,1,7,0,0),('2026-12-25',0,0,0,0,1);
)");
    }
    std::vector<test::Texts> stored() {
        return test::rows(*con, "select TS_Date,TS_Zao,TS_Zhong,TS_Wan,TS_Ye,TS_Xiao from DC_TeShuRi order by TS_Date,ID");
    }
};

const std::string& kNo = test::kNoOrder;
const std::string& kYes = test::kOrder;

}  // namespace

TOLVENK_ON_BOTH_ENGINES(TeShu);

// Adding a listed date replaces every row of it; the list shows it once and
// the panel, which lies over the grid, is back to today and "no order needed".
TEST_P(TeShu, OnScreenAddingADayReplacesItsRowsAndResetsThePanel) {
    test::whileShown(w, [&] {
        ASSERT_EQ(w.Grid1.Rows(), 4);
        EXPECT_EQ(cell(1, 4), "");  // a flag neither 0 nor 1
        EXPECT_EQ(cell(2, 2), kYes);
        EXPECT_EQ(w.Grid1.Cell(2, 2).ForeColor(), 0xFF0000u);
        EXPECT_EQ(cell(2, 4), kNo);
        test::clickOnScreen(w.Command1);
        EXPECT_FALSE(w.Grid1.Enabled());
        w.DTPicker1.setValue("2026-12-25");
        w.Combo2.setListIndex(1);
        test::clickOnScreen(w.Command4);
        EXPECT_FALSE(w.Picture1.Visible());
        EXPECT_TRUE(w.Command3.Enabled());
        EXPECT_EQ(w.DTPicker1.Date_Value(), "2026-12-06");
        EXPECT_EQ(w.Combo2.Text(), kNo);
        EXPECT_EQ(w.Grid1.Rows(), 3);
    });
    EXPECT_EQ(sv->takeBoxes(),
              (std::vector<std::string>{"询问:确定要添加特殊日 [2026-12-25] 吗?", "提示：成功！", "恭喜:操作完成!"}));
    EXPECT_EQ(stored(), (std::vector<test::Texts>{{"2026-10-01", "0", "1", "7", "0", "0"},
                                                  {"2026-12-25", "0", "1", "0", "0", "0"}}));
}

// A failure between the delete and the insert keeps the old rows; the error
// is shown and nothing reports success.
TEST_P(TeShu, AFailedInsertKeepsTheOldRowsAndStopsAtTheError) {
    w.Load();
    test::refuseWrites(*con, engine(), "no_day", "insert", "DC_TeShuRi", "", "disk full");
    w.Command1.click();
    w.DTPicker1.setValue("2026-12-25");
    w.Combo2.setListIndex(1);
    w.Combo5.setListIndex(1);
    w.Command4.click();
    std::vector<int> styles;
    const auto shown = sv->takeBoxes(&styles);
    ASSERT_EQ(shown.size(), 2u);
    // The clerk's sentence first, the engine's words kept below it.
    EXPECT_EQ(shown[1].rfind("数据库未能完成这一步操作。\n", 0), 0u) << shown[1];
    EXPECT_NE(shown[1].find("disk full"), std::string::npos);
    EXPECT_EQ(styles[1], platform::vbCritical);
    EXPECT_EQ(stored().size(), 3u);
    EXPECT_TRUE(w.Picture1.Visible());  // the choice is still there to retry
    test::allowWrites(*con, engine(), "no_day", "DC_TeShuRi");
    w.Command4.click();
    EXPECT_EQ(stored().back(), (test::Texts{"2026-12-25", "0", "1", "0", "0", "1"}));
    EXPECT_EQ(stored().size(), 2u);
}

TEST_P(TeShu, DeletingTakesTheSelectedDayOrAsksForOne) {
    w.Load();
    w.Command3.click();
    EXPECT_EQ(sv->takeBoxes(), std::vector<std::string>{"提示:请选择要删除的特殊日!"});
    w.Grid1.setActive_Cell(2, 3);
    sv->msgBoxAnswers.push_back(platform::vbCancel);
    w.Command3.click();
    EXPECT_EQ(sv->takeBoxes(), std::vector<std::string>{"询问:确定要删除特殊日 [2026-12-25 ] 吗?"});
    EXPECT_EQ(stored().size(), 3u);
    con->execute("insert into DC_TeShuRi(TS_Date) values('2027-01-01')");
    w.Command3.click();
    EXPECT_EQ(sv->takeBoxes().back(), "恭喜:删除完成!");
    EXPECT_EQ(stored(), (std::vector<test::Texts>{{"2026-10-01", "0", "1", "7", "0", "0"},
                                                  {"2027-01-01", "0", "0", "0", "0", "0"}}));
    // Only that grid row goes; the list is not read again.
    ASSERT_EQ(w.Grid1.Rows(), 3);
    EXPECT_EQ(cell(2, 1), "2026-12-25");
    EXPECT_EQ(cell(1, 1), "2026-10-01");
}
