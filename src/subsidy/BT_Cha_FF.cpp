#include "subsidy/BT_Cha_FF.h"

#include <cmath>
#include <cstdio>

#include "data/Globals.h"
#include "data/GrantedSubsidyQuery.h"
#include "data/SubsidyBatch.h"
#include "data/TableColumns.h"
#include "lang/Language.h"
#include "platform/MoneyText.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

constexpr forms::Colour kWindowColour = 0x00FFF0E0;
constexpr int kDesignWidth = 11655;
constexpr int kDesignHeight = 8340;
constexpr int kPickerWidth = 3255;
constexpr int kLeft = 3480;
constexpr int kGridTop = 1680;

}  // namespace

BT_Cha_FF::BT_Cha_FF() {
    for (int i : {2, 4, 6}) Label1.add(i);
    for (int i = 0; i <= 3; ++i) Command4.add(i);
    setBackColor(kWindowColour);
    Grid1.setFixedRows(1);
    setWidth(kDesignWidth);
    setHeight(kDesignHeight);
    layOut();

    Command1.Click = [this](int) { Command1_Click(); };
    Command2.Click = [this](int) { Command2_Click(); };
    Wire_Output_Buttons(Command4, Grid1, *this, true);
}

// Labels, lists and buttons are wide enough for the longest of the three languages.
void BT_Cha_FF::layOut() {
    ucDep1.Move(120, 120, kPickerWidth, kDesignHeight - 810);
    Label1(6).Move(kLeft, 240, 900, 300);
    Combo3.Move(4380, 180, 1100, 345);
    Label1(2).Move(5600, 240, 900, 300);
    Combo4.Move(6500, 180, 1200, 345);
    Label3.Move(7820, 240, 600, 300);
    Combo6.Move(8420, 180, 700, 345);
    Label4.Move(9180, 240, 2100, 300);
    Label1(4).Move(kLeft, 720, 1500, 300);
    Combo5.Move(4980, 660, 2100, 345);
    Command1.Move(7200, 630, 1100, 420);
    Command4(0).Move(kLeft, 1110, 1800, 420);
    Command4(1).Move(5340, 1110, 1800, 420);
    Command4(2).Move(7200, 1110, 1800, 420);
    Command4(3).Move(9060, 1110, 900, 420);
    Command2.Move(kDesignWidth - 1080 - 270, 1110, 1080, 420);
    Grid1.Move(kLeft, kGridTop, kDesignWidth - kPickerWidth - 650, ucDep1.Top() + ucDep1.Height() - kGridTop);
}

void BT_Cha_FF::Form_Load() {
    Set_Lan_Font(*this);
    setCaption(L(12));
    Command1.setCaption(L(13));
    Label1(6).setCaption(L(14));
    Label1(2).setCaption(L(15));
    Label3.setCaption(L(16));
    Label4.setCaption(L(17));
    Label1(4).setCaption(L(18));
    Command2.setCaption(L(19));
    // The output buttons read the same in every language.
    const char* const outputs[] = {"输出到EXCEL", "输出到HTML", "输出到XML", "打印"};
    for (int i = 0; i <= 3; ++i) Command4(i).setCaption(outputs[i]);

    Fit_To_Screen(*this);
    ucDep1.Init(static_cast<std::int32_t>(BackColor()), ucKelmora::kDepartmentMode, Op_User_Name, strCN, Lan_Type);
    BT = BTService();

    Combo3.setText("");
    Fill_Year_Combo(Combo3, BT.Get_Year());
    if (Combo3.ListCount() > 0) Combo3.setListIndex(0);
    Combo4.Clear();
    Combo5.Clear();
    Combo5.AddItem(L(3));
    Combo5.AddItem(L(4));
    Combo6.Clear();
    Combo6.AddItem("");
    for (int i = 1; i <= BT_Batches_Per_Month; ++i) Combo6.AddItem(std::to_string(i));
    Fill_Month_Combo(Combo4);
    Combo4.setListIndex(0);

    // Without the times there is no kind to choose.
    Sys_Config = BT.Is_Ci();
    if (!Times_Switch_On(Sys_Config)) {
        Label1(4).setVisible(false);
        Combo5.setVisible(false);
    }
    Init_Grid_FF();
}

void BT_Cha_FF::Form_Resize() {
    Keep_Min_Size(*this);
    const int W = Width(), H = Height();
    ucDep1.setHeight(H - 810);
    Grid1.setWidth(W - ucDep1.Width() - 650);
    Grid1.setHeight(ucDep1.Top() + ucDep1.Height() - Grid1.Top());
    Command2.setLeft(W - Command2.Width() - 270);
}

void BT_Cha_FF::Init_Grid_FF() {
    Grid1.setRedraw(false);
    Grid1.setBackColor1(0xEEF5F7);
    Grid1.setBackColor2(0xFFFFFF);
    Grid1.setRows(1);
    Grid1.setCols(colCount);
    const int titles[colCount] = {0, 0, 5, 6, 7, 8, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35};
    for (int c = colPinfo; c < colCount; ++c) {
        Grid1.Cell(0, c).setText(c == colPinfo ? "" : L(titles[c]));
        Grid1.Column(c).setLocked(true);  // the window only reads
    }
    Grid1.Column(colDeptCode).setWidth(0);
    for (int c = 0; c < colCount; ++c) {
        if (Grid1.Column(c).Width() == 0) continue;
        Grid1.Column(c).AutoFit();
        Grid1.Column(c).setAlignment(grid::AlignCenter);
    }
    Grid1.Column(colPinfo).setWidth(0);
    for (int c = colJinE; c <= colMonth; ++c) Grid1.Column(c).setAlignment(grid::AlignRight);
    Grid1.Column(colTaken).setCellType(grid::CellKind::TickBox);
    Grid1.setRedraw(true);
    Grid1.Refresh();
}

std::string BT_Cha_FF::Fen_To_Yuan(const std::string& fen) {
    if (fen.empty() || fen == "0") return {};
    // As stored, never rounded through a binary fraction.
    Exact_Sum exact;
    exact.add(fen);
    return exact.cents();
}

void BT_Cha_FF::Command1_Click() {
    const auto year = Typed_Year(Combo3.Text());
    if (!year) {
        Prompt(L(85));
        return;
    }
    Granted_Subsidy::Query query;
    std::string pinfo;
    if (ucDep1.Get_Sel(query.deptNo, query.name, query.code, pinfo) == 0) return;
    query.year = *year;
    query.month = Combo4.ListIndex() + 1;
    query.batch = Combo6.Text();
    if (Combo5.Visible()) {
        if (Combo5.Text() == L(3)) query.kind = B_Unit_Code::IC_Money;
        else if (Combo5.Text() == L(4)) query.kind = B_Unit_Code::IC_Times;
    }
    Grid1.setRedraw(false);
    Grid1.setRows(1);
    for (const auto& row : Granted_Subsidy::Rows(BT, query)) Add_Row(row);
    for (int c = 0; c < colCount; ++c)
        if (Grid1.Column(c).Width() > 0) Grid1.Column(c).AutoFit();
    Grid1.setRedraw(true);
}

void BT_Cha_FF::Add_Row(const Granted_Subsidy::Row& row) {
    const int g = Grid1.Rows();
    Grid1.setRows(g + 1);
    Grid1.Cell(g, colPinfo).setText(row.pinfo);
    Grid1.Cell(g, colName).setText(row.name);
    Grid1.Cell(g, colCode).setText(row.code);
    Grid1.Cell(g, colDept).setText(row.dept);
    Grid1.Cell(g, colDeptCode).setText(row.deptCode);
    Grid1.Cell(g, colPosition).setText(row.position.value_or(L(20)));
    Grid1.Cell(g, colTimes).setText(row.times);
    Grid1.Cell(g, colJinE).setText(Fen_To_Yuan(row.jinE));
    Grid1.Cell(g, colReceived).setText(row.taken ? Fen_To_Yuan(row.received) : "");
    Grid1.Cell(g, colCi).setText(row.ci);
    Grid1.Cell(g, colCiAfter).setText(row.ciAfter);
    Grid1.Cell(g, colTaken).setText(row.taken ? "1" : "0");
    char month2[16];
    std::snprintf(month2, sizeof month2, "%02d", static_cast<int>(row.month));
    Grid1.Cell(g, colMonth).setText(row.year + L(23) + month2 + L(24));
    Grid1.Cell(g, colTakenAt).setText(row.taken ? row.takenAt : "");
    Grid1.Cell(g, colGrantedAt).setText(row.grantedAt);
    Grid1.Cell(g, colOperator).setText(row.operatorName.value_or(L(20)));
}

void BT_Cha_FF::Command2_Click() { Close_Window(*this); }

}  // namespace tolvenk
