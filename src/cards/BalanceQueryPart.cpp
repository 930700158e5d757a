#include "cards/BalanceQueryPart.h"

#include <algorithm>

#include "data/Globals.h"
#include "lang/LangGlobals.h"
#include "lang/Language.h"
#include "platform/ErrorText.h"
#include "platform/MoneyText.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

constexpr int kColBalance = 5;

}  // namespace

Balance_Query_Part::Balance_Query_Part(forms::Form& window)
    : ucDep1(window), Label1(window), DTPicker1(window), Command1(window), Frame1(window), Command4(window),
      Line1(window), Grid1(window), Pic_1(window), Label2(window), Bar1(window), window_(window) {
    for (int i = 0; i <= 3; ++i) Command4.add(i).setContainer(Frame1);
    Label2.setContainer(Pic_1);
    Bar1.setContainer(Pic_1);
    Pic_1.setVisible(false);
    Grid1.setFixedRows(1);
    Grid1.setRows(1);
    layOut();
    Wire_Output_Buttons(Command4, Grid1, window, false);
}

void Balance_Query_Part::layOut() {
    window_.setWidth(11655);
    window_.setHeight(8340);
    ucDep1.Move(120, 120, 3255, 7575);
    Label1.Move(3600, 300, 1500, 255);
    DTPicker1.Move(5160, 240, 1700, 360);
    Command1.Move(7020, 210, 1300, 420);
    Frame1.Move(3600, 660, 7755, 600);
    const int left[] = {120, 2040, 3960, 5880}, width[] = {1860, 1860, 1860, 1740};
    for (int i = 0; i <= 3; ++i) Command4(i).Move(left[i], 150, width[i], 375);
    Line1.setPoints(3600, 1380, 11295, 1380);
    Grid1.Move(3600, 1500, 7755, 6195);
    Pic_1.Move(5280, 3600, 4380, 1410);
    Label2.Move(240, 300, 3900, 300);
    Bar1.Move(240, 780, 3900, 330);
}

void Balance_Query_Part::Load() {
    Label1.setCaption(L(596) + ":");
    Command1.setCaption(L(358));
    const int outputs[] = {559, 561, 560, 558};
    for (int i = 0; i <= 3; ++i) Command4(i).setCaption(L(outputs[i]));
    Label2.setCaption(L(127));
    ucDep1.Init(static_cast<std::int32_t>(window_.BackColor()), ucKelmora::kDepartmentMode, Op_User_Name, strCN,
                Lan_Type);
    XF = XFService();
    BT = BTService();
}

void Balance_Query_Part::Set_Heads(const std::vector<std::string>& heads) {
    Grid1.setCols(static_cast<int>(heads.size()));
    Grid1.setRows(1);
    for (int c = 0; c < Grid1.Cols(); ++c) Grid1.Cell(0, c).setText(heads[static_cast<std::size_t>(c)]);
    setAlignments();
}

void Balance_Query_Part::setAlignments() {
    for (int c = 1; c < Grid1.Cols(); ++c) Grid1.Column(c).setAlignment(grid::AlignCenter);
    Grid1.Column(kColBalance).setAlignment(grid::AlignRight);
}

void Balance_Query_Part::Resize() {
    Keep_Min_Size(window_);
    const int W = window_.Width(), H = window_.Height();
    Grid1.setWidth(W - ucDep1.Width() - 700);
    Grid1.setHeight(H - Grid1.Top() - 600);
    ucDep1.setHeight(H - 700);
    Line1.setX2(W - 360);
    Frame1.setLeft(W - Frame1.Width() - 300);
}

bool Balance_Query_Part::Start(Balance_Query::Who& who) {
    Grid1.setRows(1);
    setAlignments();
    std::string pnum;
    return ucDep1.Get_Sel(who.deptNo, who.name, who.code, pnum) != 0;
}

std::optional<Balance_Query::Result> Balance_Query_Part::Run(forms::Control& own, const Query& query,
                                                             const Own_Cells& cells, int lostText) {
    Run_Lock lock(window_, {&Command1, &own, &DTPicker1, &Command4(0), &Command4(1), &Command4(2), &Command4(3)},
                        running_);
    lock.Show_Panel(Pic_1);
    lock.Hold_Redraw(Grid1);
    Bar1.setMax(1);
    Bar1.setValue(1);
    Pic_1.Refresh();
    const Balance_Query::Result result = query([&](const Balance_Query::Row& row, std::int64_t done, std::int64_t total) {
        if (done == 1) Bar1.setMax(static_cast<int>(std::max<std::int64_t>(total, 0) + 1));
        addRow(row, cells);
        if (!lock.Go_On()) return false;
        if (Bar1.Value() < Bar1.Max()) {
            Bar1.setValue(Bar1.Value() + 1);
            if (Bar1.Value() % 100 == 0) Grid1.Refresh();
        }
        return true;
    });
    if (result.stopped) return std::nullopt;
    if (result.connectionLost) {
        platform::services().msgBox(
            platform::lostConnectionText(
                Lf(lostText, {std::to_string(result.listed), std::to_string(result.employees)}), result.lost),
            platform::vbCritical, L(112));
        return std::nullopt;
    }
    addTotal(result.total);
    return result;
}

void Balance_Query_Part::addRow(const Balance_Query::Row& row, const Own_Cells& cells) {
    const int r = Grid1.Rows();
    Grid1.setRows(r + 1);
    Grid1.Cell(r, 1).setText(row.name);
    Grid1.Cell(r, 2).setText(row.code);
    Grid1.Cell(r, 3).setText(row.dept);
    if (row.found) {
        Grid1.Cell(r, 4).setText(row.date);
        // No counted row: the sign alone.
        Grid1.Cell(r, kColBalance).setText(row.counted ? Money_Text(row.balance) : Money_Sign);
    }
    if (cells) cells(r, row);
}

void Balance_Query_Part::addTotal(const Exact_Sum& total) {
    Grid1.setRedraw(true);
    const int r = Grid1.Rows();
    Grid1.setRows(r + 1);
    Grid1.Cell(r, 1).setText("总计:");
    Grid1.Cell(r, kColBalance).setText(Money_Text(total));
    Grid1.Range(r, 1, r, 4).Merge();
    Grid1.Cell(r, kColBalance).setAlignment(grid::AlignCenter);
    Pic_1.setVisible(false);
    for (int c = 1; c < Grid1.Cols(); ++c) Grid1.Column(c).AutoFit();
    Grid1.Refresh();
}

}  // namespace tolvenk
