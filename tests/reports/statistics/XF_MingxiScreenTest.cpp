// The transaction detail as a person sees it while its query fills the grid.
#include "MingxiFixture.h"
#include "support/Screen.h"

#include <QScreen>

#include <cstdio>

#include "platform/forms/GridView.h"

using namespace tolvenk;
using namespace tolvenk::test;

namespace {
class MingxiScreen : public MingxiFixture {
protected:
    // n meals of person 1 at terminal 11 on 10 November, one a minute from 00:01.
    void addMeals(int n) {
        con->beginTrans();
        for (int i = 1; i <= n; ++i) {
            char at[32];
            std::snprintf(at, sizeof at, "2026-11-10 %02d:%02d:00", i / 60, i % 60);
            XfRow().mach(11).person(1).type(1).money(-100).date(at).err(0).insert(*con);
        }
        con->commitTrans();
    }
};
}  // namespace

TOLVENK_ON_BOTH_ENGINES(MingxiScreen);

TEST_P(MingxiScreen, TheProgressPanelCoversTheRowsAndShowsOnlyItsMessage) {
    sv->screen = {15 * 800, 15 * 800};  // the offscreen screen
    addMeals(150);
    int seen = 0;
    whileShown(w, [&] {
        w.ucDep1.selectDepartment("01");
        period("2026-11-01 00:00:00", "2026-11-30 23:59:59");
        sv->onYield = [&] {
            ++seen;
            ASSERT_TRUE(w.Frame1.Visible());
            EXPECT_TRUE(coversItsPlace(w.Frame1));  // the rows beneath do not show through
            EXPECT_TRUE(reachable(w.lblBar));
            EXPECT_EQ(w.lblBar.Caption(), Lang[415]);
            EXPECT_EQ(w.Frame1.Caption(), "");  // no designer placeholder
        };
        click(w.Command1);
        sv->onYield = nullptr;
        EXPECT_FALSE(w.Frame1.Visible());
        EXPECT_EQ(w.Grid1.Rows(), 152);
    });
    EXPECT_EQ(seen, 1);
}


TEST_P(MingxiScreen, TheHeaderRowStandsOverItsColumnsAfterTheQuery) {
    sv->screen = {15 * 800, 15 * 800};
    sv->onYield = [] { QApplication::processEvents(); };  // as the real yield lets the window repaint
    Conn_Main->execute("update Mach_Info set Mach_Name='一号食堂北区二楼消费机' where Mach_ID=11");
    addMeals(250);
    whileShown(w, [&] {
        auto* view = static_cast<forms::GridView*>(w.Grid1.view());
        QWidget* header = view->frozen();
        const int before = view->columnViewportPosition(3);
        w.ucDep1.selectDepartment("01");
        period("2026-11-01 00:00:00", "2026-11-30 23:59:59");
        click(w.Command1);
        QApplication::processEvents();
        ASSERT_GT(view->columnViewportPosition(3), before + 50);  // the long machine name widened column 1
        // One set of widths, and the screen shows the header as it stands now.
        for (int c = 0; c < w.Grid1.Cols(); ++c)
            EXPECT_EQ(view->frozen()->columnViewportPosition(c), view->columnViewportPosition(c)) << c;
        const QPoint at = header->mapTo(header->window(), QPoint(0, 0));
        const QImage onScreen = w.widget()->screen()->grabWindow(w.widget()->winId(), at.x(), at.y(), header->width(),
                                                                 header->height()).toImage();
        EXPECT_EQ(onScreen.convertToFormat(QImage::Format_RGB32), header->grab().toImage().convertToFormat(QImage::Format_RGB32));
    });
}
