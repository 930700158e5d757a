// The transaction detail as a person sees it while its query fills the grid.
#include "MingxiFixture.h"
#include "support/Screen.h"

using namespace tolvenk;
using namespace tolvenk::test;

namespace {
class MingxiScreen : public MingxiFixture {};
}  // namespace

TEST_F(MingxiScreen, TheProgressPanelCoversTheRowsAndShowsOnlyItsMessage) {
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
