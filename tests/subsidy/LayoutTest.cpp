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
