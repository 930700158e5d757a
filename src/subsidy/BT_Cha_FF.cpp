#include "subsidy/BT_Cha_FF.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

#include "data/Globals.h"
#include "data/SubsidyBatch.h"
#include "data/TableColumns.h"
#include "lang/Language.h"
#include "platform/MoneyText.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "subsidy/SubsidyYear.h"
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
constexpr int kBatchesPerMonth = 8;

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
    const int outputs[] = {559, 561, 560, 558};
    for (int i = 0; i <= 3; ++i) Command4(i).setCaption(L(outputs[i]));

    Fit_To_Screen(*this);
    ucDep1.Init(static_cast<std::int32_t>(BackColor()), ucKelmora::kDepartmentMode, Op_User_Name, strCN, Lan_Type);
    BT = BTService();
    BT.Set_strCN(strCN);

    Combo3.Clear();
    Combo3.setText("");
    const DataList years = BT.Get_Year();
    for (int r = 1; r <= years.rowUBound(); ++r) Combo3.AddItem(years(r, 0));
    if (Combo3.ListCount() > 0) Combo3.setListIndex(0);
    Combo4.Clear();
    Combo5.Clear();
    Combo5.AddItem(L(3));
    Combo5.AddItem(L(4));
    Combo6.Clear();
    Combo6.AddItem("");
    for (int i = 1; i <= kBatchesPerMonth; ++i) Combo6.AddItem(std::to_string(i));
    Fill_Month_Combo(Combo4);
    Combo4.setListIndex(0);

    // Only a switch that reads as the number 0 turns the times off, and with
    // it the kind filter.
    Sys_Config = BT.Is_Ci();
    if (Sys_Config.rowUBound() >= 1) {
        const auto times = parseNumber(Sys_Config(1, Sys_Config.col(col::Sys_Para::P5)));
        if (times && *times == 0) {
            Label1(4).setVisible(false);
            Combo5.setVisible(false);
        }
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
    const auto year = Subsidy_Year(Combo3.Text());
    if (!year) {
        platform::services().msgBox(L(85), platform::vbExclamation, L(43));
        return;
    }
    std::string deptNo, name, code, pinfo;
    if (ucDep1.Get_Sel(deptNo, name, code, pinfo) == 0) return;
    Emp_List = BT.Get_Emp_Check(deptNo, name, code, "");
    ZhiWei_List = BT.Get_ZhiWei();
    // A chosen batch number takes every kind.
    std::int32_t kind = 0;
    if (Combo6.Text().empty() && Combo5.Visible()) {
        if (Combo5.Text() == L(3)) kind = B_Unit_Code::IC_Money;
        else if (Combo5.Text() == L(4)) kind = B_Unit_Code::IC_Times;
    }
    const std::int32_t month = Combo4.ListIndex() + 1;
    const std::string batch = Combo6.Text();

    Grid1.setRedraw(false);
    Grid1.setRows(1);
    // The month's rows in one read, grouped by employee in the order of
    // their keys: the same rows each employee's own query would give.
    namespace B = col::BuTie_OK;
    const DataList rows = BT.select_BT_OK_3(*year, 0, month, batch);
    std::map<std::string, std::vector<int>> rowsOf;
    int bId = 0, bPinfo = 0, bUnit = 0, bGrantedAt = 0, bOperator = 0, bJinE = 0, bReceived = 0, bCi = 0,
        bCiAfter = 0, bYear = 0, bMonth = 0, bTimes = 0, bTakenAt = 0, bSF = 0;
    if (rows.rowUBound() >= 1) {
        bId = rows.col(B::ID), bPinfo = rows.col(B::Pinfo_ID), bUnit = rows.col(B::B_Unit);
        bGrantedAt = rows.col(B::ZhunBei_DT), bOperator = rows.col(B::ZhunBei_Ren_ID), bJinE = rows.col(B::B_JinE);
        bReceived = rows.col(B::B_JinE_SJ), bCi = rows.col(B::B_Ci), bCiAfter = rows.col(B::B_Ci_SY);
        bYear = rows.col(B::B_Year), bMonth = rows.col(B::B_Month), bTimes = rows.col(B::B_Times);
        bTakenAt = rows.col(B::B_Get_DT), bSF = rows.col(B::B_SF);
        for (int r = 1; r <= rows.rowUBound(); ++r)
            if (kind == 0 || vbVal(rows(r, bUnit)) == kind) rowsOf[rows(r, bPinfo)].push_back(r);
        for (auto& [person, list] : rowsOf)
            std::stable_sort(list.begin(), list.end(),
                             [&](int a, int b) { return vbVal(rows(a, bId)) < vbVal(rows(b, bId)); });
    }

    // The last position of each identifier names it.
    std::map<std::string, std::string> positionName;
    for (int r = 1; r <= ZhiWei_List.rowUBound(); ++r) positionName[ZhiWei_List(r, 0)] = ZhiWei_List(r, 1);
    std::map<std::string, std::string> operatorName;
    const auto nameOf = [&](const std::string& id) {
        const auto known = operatorName.find(id);
        if (known != operatorName.end()) return known->second;
        std::string shown = L(20);
        if (parseNumber(id)) {
            const DataList user = BT.Get_CZ_Name(id);
            if (user.rowUBound() >= 1) shown = user(1, 0);
        }
        return operatorName[id] = shown;
    };

    if (Emp_List.rowUBound() >= 1) {
        namespace E = col::Ren_Per_Info;
        const int eId = Emp_List.col(E::Pinfo_ID), eName = Emp_List.col(E::P_Name), eCode = Emp_List.col(E::P_Code),
                  eDept = Emp_List.col(col::Ren_Dept_Info::Dept_Name),
                  eDeptCode = Emp_List.col(col::Ren_Dept_Info::Dept_Code), ePos = Emp_List.col(E::P_Position_ID);
        for (int e = 1; e <= Emp_List.rowUBound(); ++e) {
            const auto mine = rowsOf.find(Emp_List(e, eId));
            if (mine == rowsOf.end()) continue;
            const auto pos = positionName.find(Emp_List(e, ePos));
            for (int r : mine->second) {
                const bool taken = rows(r, bSF) == "2";
                const int g = Grid1.Rows();
                Grid1.setRows(g + 1);
                Grid1.Cell(g, colPinfo).setText(Emp_List(e, eId));
                Grid1.Cell(g, colName).setText(Emp_List(e, eName));
                Grid1.Cell(g, colCode).setText(Emp_List(e, eCode));
                Grid1.Cell(g, colDept).setText(Emp_List(e, eDept));
                Grid1.Cell(g, colDeptCode).setText(Emp_List(e, eDeptCode));
                Grid1.Cell(g, colPosition).setText(pos == positionName.end() ? L(20) : pos->second);
                Grid1.Cell(g, colTimes).setText(rows(r, bTimes));
                Grid1.Cell(g, colJinE).setText(Fen_To_Yuan(rows(r, bJinE)));
                Grid1.Cell(g, colReceived).setText(taken ? Fen_To_Yuan(rows(r, bReceived)) : "");
                Grid1.Cell(g, colCi).setText(rows(r, bCi));
                Grid1.Cell(g, colCiAfter).setText(rows(r, bCiAfter));
                Grid1.Cell(g, colTaken).setText(taken ? "1" : "0");
                char month2[8];
                std::snprintf(month2, sizeof month2, "%02d", static_cast<int>(vbVal(rows(r, bMonth))));
                Grid1.Cell(g, colMonth).setText(rows(r, bYear) + L(23) + month2 + L(24));
                Grid1.Cell(g, colTakenAt).setText(taken ? rows(r, bTakenAt) : "");
                Grid1.Cell(g, colGrantedAt).setText(rows(r, bGrantedAt));
                Grid1.Cell(g, colOperator).setText(nameOf(rows(r, bOperator)));
            }
        }
    }
    for (int c = 0; c < colCount; ++c)
        if (Grid1.Column(c).Width() > 0) Grid1.Column(c).AutoFit();
    Grid1.setRedraw(true);
}

void BT_Cha_FF::Command2_Click() { Close_Window(*this); }

}  // namespace tolvenk
