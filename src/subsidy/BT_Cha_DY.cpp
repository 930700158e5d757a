#include "subsidy/BT_Cha_DY.h"

#include "data/Globals.h"
#include "data/SubsidyBatch.h"
#include "data/TableColumns.h"
#include "lang/Language.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

constexpr int kMargin = 120;
constexpr int kPickerWidth = 3255;
constexpr int kBottom = 700;  // the button strip under the picker and the grid
constexpr int kButtonHeight = 420;

}  // namespace

BT_Cha_DY::BT_Cha_DY() {
    setBackColor(0x00FFF0E0);
    Grid_Info.setFixedRows(1);
    Grid_Info.setCols(colCount);
    Grid_Info.setRows(1);
    pBar1.setVisible(false);
    setWidth(MinWindowWidth);
    setHeight(MinWindowHeight);
    layOut();

    Command1.Click = [this](int) { Command1_Click(); };
    Command3.Click = [this](int) { Command3_Click(); };
}

void BT_Cha_DY::layOut() {
    const int W = ScaleWidth(), H = ScaleHeight();
    ucDep1.Move(kMargin, kMargin, kPickerWidth, H - kBottom - kMargin);
    const int gridLeft = kMargin + kPickerWidth + 120;
    Grid_Info.Move(gridLeft, kMargin, W - gridLeft - 600, ucDep1.Height());
    const int buttonTop = H - kBottom + (kBottom - kButtonHeight) / 2;
    Command1.Move(gridLeft, buttonTop, 1440, kButtonHeight);
    Command3.Move(gridLeft + Grid_Info.Width() - 1440, buttonTop, 1440, kButtonHeight);
    pBar1.Move(gridLeft + 1560, buttonTop + 90, Grid_Info.Width() - 2 * 1560, 240);
}

void BT_Cha_DY::Form_Load() {
    Set_Lan_Font(*this);
    setCaption(L(0));
    Command1.setCaption(L(1));
    Command3.setCaption(L(2));
    Fit_To_Screen(*this);
    ucDep1.Init(static_cast<std::int32_t>(BackColor()), ucKelmora::kDepartmentMode, Op_User_Name, strCN, Lan_Type);
    BT = BTService();
    Init_Grid_DY();
}

void BT_Cha_DY::Form_Resize() {
    Keep_Min_Size(*this);
    layOut();
}

void BT_Cha_DY::Init_Grid_DY() {
    Grid_Info.setRows(1);
    Grid_Info.setCols(colCount);
    const int titles[] = {5, 6, 7, 8, 9, 10, 11};
    for (int c = colName; c < colCount; ++c) {
        Grid_Info.Cell(0, c).setText(L(titles[c - colName]));
        Grid_Info.Column(c).setLocked(true);
    }
    Grid_Info.Column(0).setLocked(true);
    Grid_Info.Column(colDeptCode).setWidth(0);
    Fit_Columns();
}

void BT_Cha_DY::Fit_Columns() {
    for (int c = 0; c < colCount; ++c)
        if (Grid_Info.Column(c).Width() != 0) Grid_Info.Column(c).AutoFit();
}

std::string BT_Cha_DY::BType_Name(const std::string& B_Type) {
    const double kind = vbVal(B_Type);
    if (kind == B_Unit_Code::IC_Money) return L(3);
    if (kind == B_Unit_Code::IC_Times) return L(4);
    return {};
}

void BT_Cha_DY::Command1_Click() {
    if (running_) return;
    std::string dept, name, code, pnum;
    if (ucDep1.Get_Sel(dept, name, code, pnum) == 0) return;
    Emp_List = BT.Get_Emp_Check(dept, name, code, "");
    ViewBT_DY();
}

void BT_Cha_DY::ViewBT_DY() {
    Run_Lock lock(*this, {&Command1}, running_);
    Grid_Info.setRows(1);
    if (Emp_List.rowUBound() >= 1) {
        namespace P = col::Ren_Per_Info;
        namespace D = col::Ren_Dept_Info;
        const int id = Emp_List.col(P::Pinfo_ID), pname = Emp_List.col(P::P_Name), pcode = Emp_List.col(P::P_Code),
                  dname = Emp_List.col(D::Dept_Name), dcode = Emp_List.col(D::Dept_Code);
        lock.Show_Progress(pBar1, Emp_List.rowUBound());
        for (int r = 1; r <= Emp_List.rowUBound(); ++r) {
            const DataList dy = BT.Get_BT_DY(Emp_List(r, id));
            const int place = dy.col(col::XF_Dian_Info::XF_Dian_Name), mach = dy.col(col::Mach_Info::Mach_Name),
                      kind = dy.col(col::BuTie_DuiYing::B_Type);
            for (int k = 1; k <= dy.rowUBound(); ++k) {
                const int row = Grid_Info.Rows();
                Grid_Info.setRows(row + 1);
                Grid_Info.Cell(row, colName).setText(Emp_List(r, pname));
                Grid_Info.Cell(row, colCode).setText(Emp_List(r, pcode));
                Grid_Info.Cell(row, colDept).setText(Emp_List(r, dname));
                Grid_Info.Cell(row, colDeptCode).setText(Emp_List(r, dcode));
                Grid_Info.Cell(row, colDian).setText(dy(k, place));
                Grid_Info.Cell(row, colMach).setText(dy(k, mach));
                Grid_Info.Cell(row, colType).setText(BType_Name(dy(k, kind)));
            }
            pBar1.setValue(r);
            if (!lock.Go_On()) return;
        }
    }
    Fit_Columns();
}

void BT_Cha_DY::Command3_Click() { Close_Window(*this); }

}  // namespace tolvenk
