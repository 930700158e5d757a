#include "reports/statistics/XF_Cha_HZ_Ren.h"

#include <initializer_list>

#include "data/Globals.h"
#include "data/TableColumns.h"
#include "lang/Language.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

constexpr int kDesignWidth = 11655;  // the smallest size plus the border
constexpr int kDesignHeight = 8340;
constexpr int kCols = 26;
constexpr int kFitCells = 50000;  // cells fitted between two looks at the window

}  // namespace

XF_Cha_HZ_Ren::XF_Cha_HZ_Ren() {
    for (int i = 0; i <= 2; ++i) Option1.add(i).setContainer(Frame2);
    Label1.add(1);
    for (int i = 0; i <= 3; ++i) Command4.add(i);
    Label2.add(3).setContainer(Pic_1);
    Bar1.setContainer(Pic_1);

    setCaption("XF_Cha_HZ_Ren");
    Option1(2).setCaption("汇总表");
    Option1(0).setValue(true);
    Text1.setLocked(true);
    Text2.setLocked(true);
    Text1.setVisible(false);
    Text2.setVisible(false);
    Line2.setBorderColor(0x808080);
    // The panel hides what lies below it while a run shows its progress.
    Pic_1.setBackColor(0xFFFFFF);
    Label2(3).setBackColor(0xFFFFFF);
    Pic_1.setVisible(false);

    Grid1.setCols(kCols);
    Grid1.setRows(1);
    Grid1.setFixedRows(1);
    Grid1.setGridLineColor(0xFFC0C0);
    for (int c = 0; c < kCols; ++c) Grid1.Column(c).setLocked(true);  // the grid is read-only
    setWidth(kDesignWidth);
    setHeight(kDesignHeight);
    layOut();

    for (int i = 0; i <= 2; ++i) Option1(i).Click = [this](int index) { Option1_Click(index); };
    DTPicker1.Change = DTPicker1.CloseUp = [this](int) { Snap_Month_Start(); };
    DTPicker2.Change = DTPicker2.CloseUp = [this](int) { Show_End_Month(); };
    Command1.Click = [this](int) { Command1_Click(); };
    Wire_Output_Buttons(Command4, Grid1, *this, true);
    Command3.Click = [this](int) { Command3_Click(); };
}

// Widths fit the longest caption of the three languages.
void XF_Cha_HZ_Ren::layOut() {
    ucDep1.Move(120, 120, 3255, 7620);
    Frame2.Move(3480, 60, 5940, 660);
    Option1(0).Move(120, 270, 2160, 300);
    Option1(1).Move(2340, 270, 2400, 300);
    Option1(2).Move(4800, 270, 1020, 300);
    Command3.Move(kDesignWidth - 1020 - 270, 180, 1020, 420);

    Label1(1).Move(3480, 900, 1920, 300);
    DTPicker1.Move(5400, 840, 2160, 360);
    Text1.Move(5400, 840, 1860, 360);  // the drop-down button stays free
    Line1.setPoints(7620, 1020, 7800, 1020);
    DTPicker2.Move(7860, 840, 2160, 360);
    Text2.Move(7860, 840, 1860, 360);
    Command1.Move(10140, 820, 1140, 400);

    Command4(0).Move(3480, 1320, 1740, 400);
    Command4(1).Move(5280, 1320, 1740, 400);
    Command4(2).Move(7080, 1320, 1740, 400);
    Command4(3).Move(8880, 1320, 1740, 400);

    Line2.setPoints(3480, 1830, kDesignWidth - 270, 1830);
    Check2.Move(3480, 1920, 4020, 300);
    Check3.Move(7560, 1920, 3660, 300);
    Check4.Move(3480, 2250, 4020, 300);
    Check1.Move(7560, 2250, 3660, 300);

    Grid1.Move(3480, 2640, 7760, 5100);
    Pic_1.Move(3640, 3600, 4380, 1410);
    Label2(3).Move(240, 300, 3900, 300);
    Bar1.Move(240, 780, 3900, 330);
}

void XF_Cha_HZ_Ren::Form_Load() {
    Set_Lan_Font(*this);
    setCaption(L(382));
    Frame2.setCaption(L(355));
    Option1(0).setCaption(L(356));
    Option1(1).setCaption(L(357));
    Label1(1).setCaption(L(355) + ":");
    Check1.setCaption(L(383));
    Check2.setCaption(L(384));
    Check3.setCaption(L(385));
    Command1.setCaption(L(358));
    Command3.setCaption(L(19));
    for (int i = 0; i <= 3; ++i) Command4(i).setCaption(L(387 + i));
    Label2(3).setCaption(L(127));
    Check4.setCaption(L(593));

    Fit_To_Screen(*this);

    XF = XFService();
    BT = BTService();

    ucDep1.Init(static_cast<std::int32_t>(BackColor()), ucKelmora::kDepartmentMode, Op_User_Name, strCN, Lan_Type);

    const std::string now = platform::services().clockText();
    DTPicker1.setValue(now);
    DTPicker2.setValue(now);

    if (!Times_Switch_On(BT.Is_Ci())) Check1.setVisible(false);

    Option1_Click(1);
}

std::string XF_Cha_HZ_Ren::monthText(const forms::DTPicker& p) const {
    return std::to_string(p.Date_Year()) + L(23) + std::to_string(p.Date_Month()) + L(24);
}

void XF_Cha_HZ_Ren::Option1_Click(int) {
    if (Option1(0).Value()) {
        Text1.setVisible(false);
        Text2.setVisible(false);
        DTPicker1.setMinDate(XF.JieSuan_Date());
        DTPicker2.setMinDate(XF.JieSuan_Date());
    }
    if (Option1(1).Value()) {
        Text1.setVisible(true);
        Text2.setVisible(true);
        DTPicker1.setMinDate(XF.JieSuan_Month());
        DTPicker2.setMinDate(XF.JieSuan_Month());
        Text1.setText(monthText(DTPicker1));
        Text2.setText(monthText(DTPicker2));
    }
    if (Option1(2).Value()) {
        Text1.setVisible(false);
        Text2.setVisible(false);
        DTPicker1.setMinDate(XF.JieSuan_Date());
        DTPicker2.setMinDate(XF.JieSuan_Date());
    }
}

void XF_Cha_HZ_Ren::Snap_Month_Start() {
    if (Option1(1).Value()) {
        const std::string first = DTPicker1.Date_Value().substr(0, 8) + "01";
        if (DTPicker1.DateTime_Value() != first + " 00:00:00") DTPicker1.setValue(first);  // fires this once more
    }
    Text1.setText(monthText(DTPicker1));
}

void XF_Cha_HZ_Ren::Show_End_Month() { Text2.setText(monthText(DTPicker2)); }

void XF_Cha_HZ_Ren::Init_Emp_Grid() {
    Grid1.setRows(1);
    Grid1.setRedraw(false);
    Grid1.setBackColor1(0xFFFFFF);
    Grid1.setBackColor2(0xEEF5F7);
    const std::string heads[kCols] = {
        "",     L(174), L(173), L(88),  L(8),   L(334), L(362), "笔数", L(71),  L(393), L(394), L(366), "实收合计",
        L(367), L(395), L(369), L(396), L(371), L(397), L(373), L(398), L(375), L(399), L(377), L(400), "水控转款"};
    for (int c = 0; c < kCols; ++c) Grid1.Cell(0, c).setText(heads[c]);
    for (int c = 0; c < kCols; ++c) {
        Grid1.Column(c).AutoFit();
        Grid1.Column(c).setAlignment(grid::AlignRight);
    }
}

bool XF_Cha_HZ_Ren::Set_Emp_Cols() {
    for (int c = 1; c <= 5; ++c) Grid1.Column(c).setAlignment(grid::AlignCenter);
    const auto hide = [this](std::initializer_list<int> cols) {
        for (int c : cols) Grid1.Column(c).setWidth(0);
    };
    const auto unticked = [](const forms::CheckBox& b) { return b.Value() != forms::vbChecked; };
    if (unticked(Check1)) hide({8, 10, 14, 16, 18, 20, 22, 24});
    if (unticked(Check2)) hide({13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24});
    if (unticked(Check3)) hide({9, 10, 11, 12});
    if (unticked(Check4)) hide({25});
    // All shown columns in one pass over the rows, the window answering
    // between every so many of them.
    Grid1.AutoFit_Shown(kFitCells / kCols, [this] { return Go_On_Reading(*this); });
    if (!Loaded()) return false;
    Grid1.Column(5).setWidth(Option1(2).Value() ? 0 : 100);
    Grid1.setRedraw(true);
    Grid1.Refresh();
    return true;
}

void XF_Cha_HZ_Ren::Form_Resize() {
    Keep_Min_Size(*this);
    const int W = Width(), H = Height();
    Grid1.setWidth(W - ucDep1.Width() - 640);
    ucDep1.setHeight(H - 720);
    Grid1.setHeight(ucDep1.Top() + ucDep1.Height() - Grid1.Top());
    Command3.setLeft(W - Command3.Width() - 270);
    Line2.setX2(W - 270);
    Pic_1.setLeft((W - Pic_1.Width()) / 2);
}

void XF_Cha_HZ_Ren::Command3_Click() { Close_Window(*this); }

void XF_Cha_HZ_Ren::Form_Unload(int&) {
    Emp_List = DataList();
    Total = Emp_Sums();
    Cur_Period.clear();
    Last_Period.clear();
}

}  // namespace tolvenk
