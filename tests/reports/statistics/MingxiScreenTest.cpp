// The transaction detail as a person sees it while its query fills the grid.
#include "MingxiFixture.h"
#include "support/Screen.h"

#include <QScreen>

#include "platform/forms/GridView.h"

using namespace tolvenk;
using namespace tolvenk::test;

namespace {
class MingxiScreen : public MingxiFixture {};
}  // namespace

// What a person sees on screen: the file engine is enough.
TOLVENK_ON_FILE_ONLY(MingxiScreen);

TEST_P(MingxiScreen, TheProgressPanelCoversTheRowsAndShowsOnlyItsMessage) {
    sv->screen = {15 * 800, 15 * 800};  // the offscreen screen
    Conn_Main->executeScript(
        "with recursive n(i) as (select 1 union all select i+1 from n where i<150) insert into Record_XF(Mach_ID,"
        "Pinfo_id,XF_Type,YuE_Change,Date_Time,Err_Code) select 11,1,1,-100,printf('2026-11-10 %02d:%02d:00',i/60,"
        "i%60),0 from n;");
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
    Conn_Main->executeScript(
        "with recursive n(i) as (select 1 union all select i+1 from n where i<250) insert into Record_XF(Mach_ID,"
        "Pinfo_id,XF_Type,YuE_Change,Date_Time,Err_Code) select 11,1,1,-100,printf('2026-11-10 %02d:%02d:00',i/60,"
        "i%60),0 from n;");
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
