#include "subsidy/BT_QingLing.h"

#include "data/Globals.h"
#include "data/SubsidyClearingRun.h"
#include "data/TableColumns.h"
#include "lang/Language.h"
#include "platform/DateText.h"
#include "platform/ErrorText.h"
#include "platform/MoneyText.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "ui/GridOutput.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

constexpr forms::Colour kWindowColour = 0x00FFF0E0;
constexpr int kDesignWidth = 11655;
constexpr int kDesignHeight = 8340;
constexpr int kPickerWidth = 3255;
constexpr int kLeft = 3480;  // right of the picker
constexpr int kGridTop = 1140;
constexpr int kButtonWidth = 1080;

}  // namespace

BT_QingLing::BT_QingLing() {
    for (int i = 0; i <= 2; ++i) Label1.add(i);
    setBackColor(kWindowColour);
    CheckAll.setBackColor(kWindowColour);
    pBar1.setVisible(false);
    Text1.setMaxLength(4);
    Grid1.setFixedRows(1);
    setWidth(kDesignWidth);
    setHeight(kDesignHeight);
    layOut();

    cmd_List.Click = [this](int) { cmd_List_Click(); };
    cmdQingLing.Click = [this](int) { cmdQingLing_Click(); };
    cmdExit.Click = [this](int) { cmdExit_Click(); };
    CheckAll.Click = [this](int) { CheckAll_Click(); };
    Grid1.LeftColChange = [this](int leftCol) { Grid1_Event31(leftCol, CheckAll); };
}

// Labels and buttons are wide enough for the longest of the three languages.
void BT_QingLing::layOut() {
    ucDep1.Move(120, 120, kPickerWidth, kDesignHeight - 810 - 120);
    Label1(0).Move(kLeft, 240, 1300, 300);
    Label1(1).Move(4800, 240, 700, 300);
    Text1.Move(5520, 180, 900, 345);
    Label1(2).Move(6540, 240, 800, 300);
    Combo2.Move(7360, 180, 1560, 345);
    cmd_List.Move(9040, 150, kButtonWidth, 420);
    CheckAll.Move(kLeft, 720, 1300, 300);
    pBar1.Move(4920, 720, 3960, 300);
    cmdQingLing.Move(9040, 630, kButtonWidth, 420);
    cmdExit.Move(kDesignWidth - kButtonWidth - 270, 630, kButtonWidth, 420);
    Grid1.Move(kLeft, kGridTop, kDesignWidth - kPickerWidth - 450, ucDep1.Top() + ucDep1.Height() - kGridTop);
}

void BT_QingLing::Form_Load() {
    Set_Lan_Font(*this);
    setCaption(L(60));
    Label1(0).setCaption(L(61) + ":");
    Label1(1).setCaption(L(62) + ":");
    Label1(2).setCaption(L(63) + ":");
    CheckAll.setCaption(L(69));
    cmd_List.setCaption(L(64));
    cmdQingLing.setCaption(L(65));
    cmdExit.setCaption(L(19));
    Fit_To_Screen(*this);

    XF = XFService();
    BT = BTService();
    Text1.setText(platform::services().clockText().substr(0, 4));
    Fill_Month_Combo(Combo2);
    Combo2.setListIndex(-1);
    ucDep1.Init(static_cast<std::int32_t>(BackColor()), ucKelmora::kDepartmentMode, Op_User_Name, strCN, Lan_Type);
    Init_Grid_QL();
}

void BT_QingLing::Form_Resize() {
    Keep_Min_Size(*this);
    const int W = Width(), H = Height();
    ucDep1.setHeight(H - 810 - ucDep1.Top());
    Grid1.setWidth(W - ucDep1.Width() - 450);
    Grid1.setHeight(ucDep1.Top() + ucDep1.Height() - Grid1.Top());
    cmdExit.setLeft(W - cmdExit.Width() - 270);
}

void BT_QingLing::Init_Grid_QL() {
    Grid1.setRedraw(false);
    Grid1.setRows(1);
    Grid1.setCols(colCount);
    Grid1.Column(colTick).setCellType(grid::CellKind::TickBox);
    Grid1.Column(colTick).setWidth(40);
    const int titles[colCount] = {0, 69, 5, 27, 70, 29, 71, 72, 73, 74, 631, 632};
    Grid1.Cell(0, 0).setText("No");
    for (int c = colTick; c < colCount; ++c) {
        Grid1.Cell(0, c).setText(L(titles[c]));
        Grid1.Column(c).setLocked(c != colTick);
    }
    for (int c : {colPinfo, colClearedMoney, colClearedTimes}) Grid1.Column(c).setWidth(0);
    for (int c = colName; c <= colMonth; ++c) {
        if (Grid1.Column(c).Width() == 0) continue;
        Grid1.Column(c).AutoFit();
        Grid1.Column(c).setAlignment(grid::AlignCenter);
    }
    if (!Times_Switch_On(BT.Is_Ci()))
        for (int c : {colSubsidyTimes, colSpentTimes}) Grid1.Column(c).setWidth(0);
    Grid1.Widen_To_Text();
    Grid1.setRedraw(true);
    Grid1.Refresh();
}


void BT_QingLing::cmd_List_Click() {
    if (running_) return;
    const auto year = Typed_Year(Text1.Text());
    if (!year || Combo2.Text().empty()) {
        Prompt(L(66), platform::vbInformation, L(43));
        return;
    }
    std::string deptNo, name, code, pinfo;
    if (ucDep1.Get_Sel(deptNo, name, code, pinfo) == 0) return;
    // The month changes only with the rows it belongs to: a clearing always
    // takes the month its grid was listed for.
    Sel_DeptNo = deptNo;
    Sel_Name = name;
    Sel_Code = code;
    Sel_PNum = pinfo;
    Listed_Month = formatMonth(*year, static_cast<unsigned>(Combo2.ListIndex() + 1));
    Emp_List = XF.Get_Emp_Check2(Sel_DeptNo, Sel_Code, Sel_Name);
    List_QingLing();
}

void BT_QingLing::List_QingLing() {
    Grid1.setRows(1);
    if (Emp_List.rowUBound() < 1) {
        Prompt(L(68), platform::vbInformation, L(43));
        return;
    }
    // The listing yields to the window; until it ends nothing that would
    // start another run takes clicks. Closing the window stops it.
    Run_Lock lock(*this, {&cmd_List, &cmdQingLing, &CheckAll, &Text1, &Combo2, &ucDep1.Frame1}, running_);
    lock.Show_Progress(pBar1, Emp_List.rowUBound());
    lock.Hold_Redraw(Grid1);
    QL_List(XF, Emp_List, Listed_Month, [&](const QL_Line& line, std::int64_t done, std::int64_t) {
        Add_Line(line);
        pBar1.setValue(static_cast<int>(done));
        return lock.Go_On();
    });
    if (lock.stopped()) return;
    for (int c = colName; c <= colMonth; ++c)
        if (Grid1.Column(c).Width() > 0) Grid1.Column(c).AutoFit();
    Grid1.Widen_To_Text();  // the tick column's head ("Select All") too
}

void BT_QingLing::Add_Line(const QL_Line& line) {
    const QL_Figures& f = line.figures;
    const int g = Grid1.Rows();
    Grid1.setRows(g + 1);
    Grid1.Cell(g, colTick).setText("0");
    Grid1.Cell(g, colName).setText(line.name);
    Grid1.Cell(g, colSubsidy).setText(Money_Text(f.subsidyFen));
    Grid1.Cell(g, colSpent).setText(Money_Text(-f.spentFen));
    Grid1.Cell(g, colSubsidyTimes).setText(std::to_string(f.subsidyTimes));
    Grid1.Cell(g, colSpentTimes).setText(std::to_string(f.spentTimes));
    Grid1.Cell(g, colCleared).setText(f.cleared ? L(67) : "");
    Grid1.Cell(g, colMonth).setText(Listed_Month);
    Grid1.Cell(g, colPinfo).setText(line.pinfo);
    Grid1.Cell(g, colClearedMoney).setText(centsPlainText(f.clearedFen));
    Grid1.Cell(g, colClearedTimes).setText(std::to_string(f.clearedTimes));
}

void BT_QingLing::CheckAll_Click() {
    if (running_) return;
    std::string deptNo, name, code, pinfo;
    if (ucDep1.Get_Sel(deptNo, name, code, pinfo) == 0) return;
    const std::string tick = CheckAll.Value() == forms::vbChecked ? "1" : "0";
    for (int g = 1; g < Grid1.Rows(); ++g) Grid1.Cell(g, colTick).setText(tick);
}

void BT_QingLing::cmdQingLing_Click() {
    if (running_) return;
    const std::string limit = Get_First_Mach_Date();
    if (limit.empty() || Listed_Month > limit.substr(0, 7)) {
        Prompt(L(414), platform::vbInformation, L(438));
        return;
    }
    if (Grid1.Rows() <= 1) {
        Prompt(L(517), platform::vbExclamation, L(43));
        return;
    }
    Clearing_Store::Counts counts;
    {
        Run_Lock lock(*this, {&cmd_List, &cmdQingLing, &CheckAll, &Text1, &Combo2, &ucDep1.Frame1, &Grid1}, running_);
        std::vector<Clearing_Store::Listed> lines;
        for (int g = 1; g < Grid1.Rows(); ++g)
            lines.push_back({static_cast<std::int32_t>(vbVal(Grid1.Cell(g, colPinfo).Text())),
                             Grid1.Cell(g, colTick).Text() == "1", !Grid1.Cell(g, colCleared).Text().empty()});
        lock.Show_Progress(pBar1, static_cast<std::int64_t>(lines.size()));
        counts = Clearing_Store::Clear_Listed(strCN, static_cast<std::int32_t>(vbVal(Listed_Month.substr(0, 4))),
                                              static_cast<std::int32_t>(vbVal(Listed_Month.substr(5, 2))), Op_User_ID,
                                              lines, [&](std::int64_t done, std::int64_t) {
                                                  pBar1.setValue(static_cast<int>(done));
                                                  return lock.Go_On();
                                              });
        if (counts.stopped) return;
    }
    if (counts.connectionLost) {
        // One box for the run; the grid is listed again by the operator, once the database answers.
        platform::services().msgBox(
            platform::lostConnectionText(Lf(1073, {std::to_string(counts.cleared), std::to_string(counts.ticked),
                                                   std::to_string(counts.noCard)}),
                                         counts.lost),
            platform::vbCritical, L(112));
        return;
    }
    std::string message = L(75) + std::to_string(counts.cleared) + L(76) + std::to_string(counts.noCard) + L(77) +
                          std::to_string(counts.before) + L(78);
    if (counts.failed > 0) message += Lf(990, {std::to_string(counts.failed)});
    Prompt(message, platform::vbInformation, L(43));
    List_QingLing();
}

void BT_QingLing::cmdExit_Click() { Close_Window(*this); }

}  // namespace tolvenk
