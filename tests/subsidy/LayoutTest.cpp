#include <QFontMetrics>
#include <QWidget>

#include "SubsidyFixture.h"
#include "subsidy/BT_ZhunBei.h"
#include "subsidy/BT_ZhunBei_1.h"

using namespace tolvenk;

namespace {

// Room a caption needs beyond its text: a button's frame, a box's tick.
template <class C>
void expectFits(C& c, int extra) {
    const QFontMetrics fm(c.widget()->font());
    const QString text = QString::fromStdString(c.Caption());
    EXPECT_FALSE(c.Caption().empty());
    EXPECT_LE(fm.horizontalAdvance(text) + extra, c.widget()->width()) << c.Caption();
}

class Layout : public test::SubsidyFixture<BT_ZhunBei_1> {};

}  // namespace

// Every caption of both windows fits its control in all three languages.
TEST_F(Layout, CaptionsFitInEveryLanguage) {
    BT_ZhunBei batch;
    Cur_B_Year = 2026;
    Cur_B_Month = 12;
    Cur_B_Times = "1";
    for (int language : {0, 1, 2}) {
        SCOPED_TRACE(language);
        Load_Lan(static_cast<std::int16_t>(language));
        Lan_Type = static_cast<std::int16_t>(language);
        batch.Load();
        for (forms::Label* l : {&batch.Label1, &batch.Label2, &batch.Label3, &batch.Label4, &batch.Label5})
            expectFits(*l, 2);
        for (forms::CommandButton* b : {&batch.Command1, &batch.Command2}) expectFits(*b, 12);
        for (int i = 0; i < batch.Combo3.ListCount(); ++i)
            EXPECT_LE(QFontMetrics(batch.Combo3.widget()->font()).horizontalAdvance(
                          QString::fromStdString(batch.Combo3.List(i))) + 30,
                      batch.Combo3.widget()->width());
        batch.Unload();

        w.Load();
        for (forms::Label* l : {&w.Label3, &w.Label4, &w.Label_1}) expectFits(*l, 2);
        for (int i : {0, 2, 4, 6, 8}) expectFits(w.Label5(i), 2);
        for (forms::CommandButton* b : {&w.Com_Zao, &w.Command6, &w.Command3, &w.Command2, &w.Command4, &w.Command1,
                                        &w.Command12, &w.Command8, &w.Command5, &w.Command9, &w.Command10,
                                        &w.Command11})
            expectFits(*b, 12);
        expectFits(w.CheckAll, 24);
        w.Unload();
    }
}

// The minimum size, then the layout from the window's size.
TEST_F(Layout, LaysOutTheEditorFromItsSize) {
    w.Load();
    w.setWidth(9000);
    w.setHeight(6000);
    w.Form_Resize();
    const int W = w.Width(), H = w.Height();
    EXPECT_NEAR(W, 11600, 14);
    EXPECT_NEAR(H, 8200, 14);
    EXPECT_EQ(w.Grid1.Width(), W - w.ucDep1.Width() - 700);
    EXPECT_EQ(w.Grid1.Top() + w.Grid1.Height(), H - 1500);
    EXPECT_EQ(w.ucDep1.Height(), H - 1500);
    EXPECT_EQ(w.Frame1.Top(), H - 1300);
    EXPECT_EQ(w.Command5.Left() + w.Command5.Width(), w.Grid1.Left() + w.Grid1.Width());
    EXPECT_EQ(w.Picture1.Left(), (W - w.Picture1.Width()) / 2);
    EXPECT_EQ(w.Com_Zao.Top(), w.ucDep1.Top() + w.ucDep1.Height() + 200);
    // The select-all box shows only while the tick column does.
    w.Grid1.LeftColChange(3);
    EXPECT_FALSE(w.CheckAll.Visible());
    w.Grid1.LeftColChange(1);
    EXPECT_TRUE(w.CheckAll.Visible());
}
