#include <QAbstractItemModel>
#include <QTableView>

#include "MingxiFixture.h"

using namespace tolvenk;

namespace {

using MingxiWindow = test::MingxiFixture;

bool ascii(const std::string& s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

TOLVENK_ON_BOTH_ENGINES(MingxiWindow);

TEST_P(MingxiWindow, LoadPreparesCaptionsHeaderListsPeriodAndKindControls) {
    Conn_Main->execute("update Sys_Para set P1='2026-11-20' where Para_Name='JieSuan_Date'");
    Uncertain_Flag = 0;
    w.Load();
    EXPECT_EQ(w.Caption(), "消费明细查询");
    EXPECT_EQ(w.Label2(2).Caption(), "收费业主:");
    EXPECT_EQ(w.optType(2).Caption(), "充值与取款");
    EXPECT_EQ(w.chkType(14).Caption(), "补贴清零");
    EXPECT_EQ(w.chkErr.Value(), forms::vbGrayed);
    EXPECT_EQ(Uncertain_Flag, 2);

    EXPECT_EQ(row(0), (S{"收费机", "收费点", "     日期时间     ", "操作金额", "操作次数", "操作后余额", "操作后次数",
                         "操作类型", "收费业主", "员工姓名", "员工工号", "所属部门", "卡号"}));
    EXPECT_EQ(w.Grid1.Column(3).Width(), 150);
    EXPECT_EQ(w.Grid1.Column(13).Width(), 0);
    EXPECT_EQ(w.Grid1.Column(4).Alignment(), 14);
    EXPECT_EQ(w.Grid1.Column(8).Alignment(), 10);

    // Live consumption terminals; places and owners whose flag is 0, each with its own id.
    ASSERT_EQ(w.Combo4.ListCount(), 3);
    EXPECT_EQ(w.Combo4.List(0), "全部");
    EXPECT_EQ(w.Combo4.ItemData(2), 12);
    ASSERT_EQ(w.Combo5.ListCount(), 3);
    EXPECT_EQ(w.Combo5.List(2), "二食堂");
    EXPECT_EQ(w.Combo5.ItemData(2), 3);
    EXPECT_EQ(w.Combo3.ListIndex(), 0);

    // Yesterday at this time is before the settlement date, which bounds both start pickers.
    EXPECT_EQ(w.DTPicker1(0).DateTime_Value(), "2026-11-20 10:30:00");
    EXPECT_EQ(w.DTPicker2(0).MinDate(), "2026-11-20");
    EXPECT_EQ(w.DTPicker2(1).DateTime_Value().substr(11), "23:59:59");
    EXPECT_EQ(w.DTPicker1(1).DateTime_Value().substr(11), "00:00:00");

    EXPECT_TRUE(w.optType(1).Value());
    for (int i = 0; i <= 3; ++i) EXPECT_EQ(w.fraType(i).Visible(), i == 0);
    for (int i = 0; i <= 23; ++i) EXPECT_EQ(w.chkType(i).Value(), i >= 1 && i <= 4 ? 0 : 1) << i;
    EXPECT_EQ(w.chkType(23).BackColor(), 0xC0FFFFu);
    EXPECT_EQ(w.fraType(3).BackColor(), 0xC0FFFFu);

    w.optType(0).setValue(true);
    for (int i = 0; i <= 3; ++i) EXPECT_FALSE(w.fraType(i).Visible());
    w.optType(3).setValue(true);
    for (int i = 0; i <= 3; ++i) EXPECT_EQ(w.fraType(i).Visible(), i == 2);
}

TEST_P(MingxiWindow, InEnglishOnlyTheUncertainBoxAndColumnSevenStayChinese) {
    Load_Lan(1);
    Lan_Type = 1;
    w.Load();
    EXPECT_EQ(w.Caption(), "Inquiry for Detailed Consumption Lists");
    std::vector<std::string> shown = {w.Caption(), w.Label1(0).Caption(), w.Label1(4).Caption(), w.Command1.Caption(),
                                      w.cmdExit.Caption(), w.Combo4.List(0)};
    for (int i : {2, 4, 5}) shown.push_back(w.Label2(i).Caption());
    for (int i = 0; i <= 4; ++i) shown.push_back(w.optType(i).Caption());
    for (int i = 0; i <= 3; ++i) shown.push_back(w.Command4(i).Caption());
    for (int i = 0; i <= 23; ++i) shown.push_back(w.chkType(i).Caption());
    for (int c = 1; c <= 13; ++c)
        if (c != 7) shown.push_back(cell(0, c));
    for (const std::string& s : shown) EXPECT_TRUE(ascii(s) && s.size() > 1) << s;
    EXPECT_EQ(w.chkErr.Caption(), "不确定记录");
    EXPECT_EQ(cell(0, 7), "操作后次数");
}

TEST_P(MingxiWindow, TimesSwitchOffHidesTheTimesBoxesButKeepsTheirTicks) {
    Conn_Main->execute("update Sys_Para set P5='0' where Para_Name='Sys_Config'");
    w.Load();
    for (int i : {1, 7, 10, 13, 15, 17, 18, 21}) EXPECT_FALSE(w.chkType(i).Visible()) << i;
    EXPECT_TRUE(w.chkType(0).Visible());
    EXPECT_EQ(w.chkType(1).Value(), forms::vbUnchecked);
    EXPECT_EQ(w.chkType(7).Value(), forms::vbChecked);
    w.Unload();
    Conn_Main->execute("delete from Sys_Para where Para_Name='Sys_Config'");
    w.Load();
    EXPECT_TRUE(w.chkType(21).Visible());
}

TEST_P(MingxiWindow, FitsTheScreenAndLaysOutFromTheMinimumSize) {
    sv->screen = {15 * 1024, 15 * 768};
    w.Load();
    EXPECT_NEAR(w.Width(), 13760, 14);
    EXPECT_NEAR(w.Height(), 9610, 14);
    w.setWidth(10000);
    w.setHeight(7000);
    w.Form_Resize();
    const int W = w.Width(), H = w.Height();
    EXPECT_NEAR(W, 11600, 14);
    EXPECT_NEAR(H, 8200, 14);
    EXPECT_EQ(w.Grid1.Width(), W - 3255 - 700);
    EXPECT_EQ(w.ucDep1.Height(), H - 700);
    EXPECT_EQ(w.Grid1.Top() + w.Grid1.Height(), 120 + H - 700);
    EXPECT_EQ(w.cmdExit.Left(), W - 1185 - 320);
    EXPECT_EQ(w.Line1.X2(), W - 320);
    EXPECT_EQ(w.Frame1.Left(), (W - 4380) / 2);
}

TEST_P(MingxiWindow, PrintingCarriesCaptionAndFooterAndReopeningShowsTheDesignAgain) {
    add(tx(1).money(-100));
    query("01", 3);
    w.Command4(3).click();
    EXPECT_EQ(sv->previews.size(), 1u);
    EXPECT_EQ(w.Grid1.Page_Setup().title, "消费明细查询");
    EXPECT_EQ(w.Grid1.Page_Setup().footer, "制表人：admin    制表日期:2026-11-20 10:30:00");

    w.chkType(0).setValue(forms::vbUnchecked);
    w.chkErr.setValue(forms::vbChecked);
    w.cmdExit.click();
    EXPECT_FALSE(w.Loaded());
    Conn_Main->execute("insert into XF_Dian_Info(XF_Dian_ID,XF_Dian_Name,XF_Dian_Flag) values (4,'三食堂',0)");
    w.Load();
    EXPECT_TRUE(w.optType(1).Value());
    EXPECT_TRUE(w.fraType(0).Visible());
    EXPECT_FALSE(w.fraType(2).Visible());
    EXPECT_EQ(w.chkType(0).Value(), forms::vbChecked);
    EXPECT_EQ(w.chkErr.Value(), forms::vbGrayed);
    EXPECT_EQ(w.Grid1.Rows(), 1);
    EXPECT_EQ(w.Combo5.ListCount(), 4);
}

// While a long answer fills the grid, the output buttons and the department
// tree wait with the query button: an export or preview then would pass off
// part of it as the whole, another department would stand highlighted over
// the rows of the first.
// Its preview takes a while too: the panel counts the pages as they are laid
// out, with the buttons locked, and goes when the preview closes.
TEST_P(MingxiWindow, OutputButtonsWaitWhileTheGridFillsAndThePreviewCountsItsPages) {
    for (int i = 0; i < 250; ++i) add(tx(1).money(-100 - i));
    w.Load();
    int yields = 0, open = 0;
    sv->onYield = [&] {
        ++yields;
        for (int i = 0; i <= 3; ++i)
            if (w.Command4(i).Enabled()) ++open;
        if (w.Command1.Enabled()) ++open;
        if (w.ucDep1.Frame1.Enabled()) ++open;
    };
    query("01", 0);
    sv->onYield = nullptr;
    EXPECT_EQ(w.Detail_Rows, 250);
    EXPECT_EQ(yields, 2);  // a yield every hundred rows
    EXPECT_EQ(open, 0);
    for (int i = 0; i <= 3; ++i) EXPECT_TRUE(w.Command4(i).Enabled());

    sv->previewPdf = dir.file("preview.pdf");
    bool seen = false;
    sv->onPreview = [&] {
        seen = true;
        EXPECT_TRUE(w.Frame1.Visible());
        EXPECT_EQ(w.lblBar.Caption(), L(415));
        for (int i = 0; i <= 3; ++i) EXPECT_FALSE(w.Command4(i).Enabled());
        EXPECT_FALSE(w.Command1.Enabled());
        ASSERT_EQ(sv->previews.size(), 1u);
        EXPECT_GT(sv->previews[0].pages, 1);  // 252 rows of 14 columns
        EXPECT_EQ(w.Bar1.Max(), sv->previews[0].pages);
        EXPECT_EQ(w.Bar1.Value(), w.Bar1.Max());
    };
    w.Command4(3).click();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(w.Frame1.Visible());
    for (int i = 0; i <= 3; ++i) EXPECT_TRUE(w.Command4(i).Enabled());
}

// The rows go to the grid as they are read and show while drawing is held:
// at the first yield the view holds the hundred rows so far. Closing lets go
// of the person set, the lists and the rows.
TEST_P(MingxiWindow, RowsShowAsTheyAreReadAndClosingLetsGoOfThem) {
    for (int i = 0; i < 250; ++i) add(tx(1).money(-100 - i));
    w.Load();
    std::vector<int> inView;
    bool held = true;
    sv->onYield = [&] {
        inView.push_back(w.Grid1.view()->model()->rowCount());
        held = held && !w.Grid1.Redraw();
    };
    query("01", 0);
    sv->onYield = nullptr;
    ASSERT_EQ(inView.size(), 2u);
    EXPECT_EQ(inView[0], 101);
    EXPECT_TRUE(held);
    EXPECT_EQ(w.Detail_Rows, 250);
    EXPECT_EQ(w.Grid1.view()->model()->rowCount(), 251);
    ASSERT_NE(w.Rs_Emp, nullptr);
    EXPECT_GT(w.Mach_List.rowUBound(), 0);

    w.cmdExit.click();
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(w.Grid1.Rows(), 1);
    EXPECT_EQ(w.Detail_Rows, 0);
    EXPECT_EQ(w.Rs_Emp, nullptr);
    EXPECT_EQ(w.Rs_Emp_Ids, nullptr);
    EXPECT_LT(w.Mach_List.rowUBound(), 1);
    EXPECT_LT(w.Unit_List.rowUBound(), 1);
}
