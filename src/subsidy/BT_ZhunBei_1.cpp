#include "subsidy/BT_ZhunBei_1.h"

#include <charconv>
#include <cmath>
#include <map>
#include <vector>

#include "data/Globals.h"
#include "data/OpenDb.h"
#include "data/SubsidyBatch.h"
#include "data/TableColumns.h"
#include "lang/Language.h"
#include "platform/MoneyText.h"
#include "platform/VbText.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "ui/GridOutput.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowKit.h"
#include "ui/WindowRegistry.h"

namespace tolvenk {

namespace {

constexpr forms::Colour kWindowColour = 0x00FFF0E0;
constexpr int kDesignWidth = 12000;
constexpr int kDesignHeight = 8400;
constexpr int kPickerWidth = 3255;
constexpr int kGridLeft = 3480;
constexpr int kGridTop = 480;
constexpr int kButtonHeight = 420;
constexpr int kAlignCentre = 10;

}  // namespace

BT_ZhunBei_1::BT_ZhunBei_1() {
    for (int i : {0, 2, 4, 6, 8}) Label5.add(i);
    for (forms::Control* c : std::initializer_list<forms::Control*>{&Command6, &Command3, &Command2, &Command4,
                                                                    &Command1, &Command12, &Command8})
        c->setContainer(Frame1);
    for (forms::Control* c : std::initializer_list<forms::Control*>{&Label3, &Label4, &Text1, &Command11, &Text3,
                                                                    &Text5, &Command9, &Command10})
        c->setContainer(Picture1);
    for (int i : {0, 2, 4, 6, 8}) Label5(i).setContainer(Picture1);
    Label_1.setContainer(Pic_1);
    Bar_1.setContainer(Pic_1);

    setBackColor(kWindowColour);
    CheckAll.setBackColor(kWindowColour);
    Frame1.setBackColor(kWindowColour);
    // The panels cover the grid: opaque, and hidden until they are used.
    Picture1.setBackColor(0x00F0F0F0);
    Pic_1.setBackColor(0x00F0F0F0);
    for (int i : {0, 2, 4, 6, 8}) Label5(i).setBackColor(0x00F0F0F0);
    for (forms::Label* l : {&Label3, &Label4, &Label_1}) l->setBackColor(0x00F0F0F0);
    Picture1.setVisible(false);
    Pic_1.setVisible(false);
    Command11.setCaption("...");
    Grid1.setFixedRows(2);
    setWidth(kDesignWidth);
    setHeight(kDesignHeight);
    layOut();

    Com_Zao.Click = [this](int) { Com_Zao_Click(); };
    ucDep1.Dept_Changed = [this](const std::string& deptNo) { ucDep1_Dept_Changed(deptNo); };
    CheckAll.Click = [this](int) { CheckAll_Click(); };
    Command6.Click = [this](int) { Command6_Click(); };
    Command3.Click = [this](int) { Command3_Click(); };
    Command2.Click = [this](int) { Command2_Click(); };
    Command4.Click = [this](int) { Command4_Click(); };
    Command5.Click = [this](int) { Command5_Click(); };
    Command8.Click = [](int) {};  // the operating instructions: nothing to show
    Command1.Click = [this](int) { Command1_Click(); };
    Command11.Click = [this](int) { Command11_Click(); };
    Command10.Click = [this](int) { Command10_Click(); };
    Command9.Click = [this](int) { Command9_Click(); };
    Command12.Click = [this](int) { Command12_Click(); };
    Grid1.LeftColChange = [this](int leftCol) { Grid1_Event31(leftCol, CheckAll); };
}

// Buttons and labels are wide enough for the longest of the three languages.
void BT_ZhunBei_1::layOut() {
    ucDep1.Move(120, 120, kPickerWidth, kDesignHeight - 1500);
    Com_Zao.Move(120 + (kPickerWidth - 1500) / 2, ucDep1.Top() + ucDep1.Height() + 200, 1500, kButtonHeight);
    CheckAll.Move(kGridLeft, 120, 1230, 300);  // no wider than its text: a click beside it would miss
    Grid1.Move(kGridLeft, kGridTop, kDesignWidth - kPickerWidth - 700, kDesignHeight - kGridTop - 1500);

    Frame1.Move(kGridLeft, Grid1.Top() + Grid1.Height() + 200, 6345, 1110);
    Command6.Move(60, 150, 2520, kButtonHeight);
    Command3.Move(60, 150, 2520, kButtonHeight);
    Command2.Move(2640, 150, 1680, kButtonHeight);
    Command4.Move(2640, 150, 1680, kButtonHeight);
    Command1.Move(4380, 150, 1905, kButtonHeight);
    Command12.Move(60, 630, 1400, kButtonHeight);
    Command8.Move(1520, 630, 1400, kButtonHeight);
    Command5.Move(Grid1.Left() + Grid1.Width() - 1200, Frame1.Top() + 630, 1200, kButtonHeight);

    Picture1.Move((kDesignWidth - 6600) / 2, 2160, 6600, 2940);
    Label3.Move(120, 120, 6360, 300);
    Label4.Move(120, 600, 1740, 300);
    Text1.Move(1920, 540, 3960, 345);
    Command11.Move(5940, 540, 540, 345);
    Label5(0).Move(120, 1080, 6360, 300);
    Label5(2).Move(120, 1560, 1140, 300);
    Label5(4).Move(1320, 1560, 540, 300);
    Text3.Move(1920, 1500, 900, 345);
    Label5(8).Move(2880, 1560, 1500, 300);
    Text5.Move(4440, 1500, 900, 345);
    Label5(6).Move(5400, 1560, 1080, 300);
    Command9.Move(1800, 2280, 1400, kButtonHeight);
    Command10.Move(3480, 2280, 1400, kButtonHeight);

    Pic_1.Move((kDesignWidth - 4800) / 2, 3600, 4800, 1200);
    Label_1.Move(240, 180, 4320, 300);
    Bar_1.Move(240, 600, 4320, 330);
}

void BT_ZhunBei_1::Open_Editor(std::int16_t kind) {
    auto* editor = dynamic_cast<BT_ZhunBei_1*>(windowObject("BT_ZhunBei_1"));
    if (!editor) return;
    editor->Load();
    editor->check_J_C(kind);
    Open_Modal("BT_ZhunBei_1");
}

void BT_ZhunBei_1::Form_Load() {
    Set_Lan_Font(*this);
    Fit_To_Screen(*this);
    Set_Captions_ZB();
    BT = BTService();
    B_Year = Cur_B_Year;
    B_Month = Cur_B_Month;
    B_Times = Cur_B_Times;
    B_Unit = Cur_B_Unit;
    Command2.setVisible(isMoney());
    Command4.setVisible(!isMoney());
    Command12.setVisible(false);
    ucDep1.Init(static_cast<std::int32_t>(BackColor()), ucKelmora::kDepartmentMode, Op_User_Name, strCN, Lan_Type);
    Init_Grid_ZB();
    setCaption(L(158) + std::to_string(B_Year) + L(23) + std::to_string(B_Month) + L(24) + "]");
}

void BT_ZhunBei_1::Set_Captions_ZB() {
    setCaption(L(113));
    Com_Zao.setCaption(L(13));
    CheckAll.setCaption(L(69));
    Command6.setCaption(L(114));
    Command3.setCaption(L(115));
    Command2.setCaption(L(118));
    Command4.setCaption(L(119));
    Command1.setCaption(L(116));
    Command12.setCaption(L(117));
    Command8.setCaption(L(120));
    Command5.setCaption(L(2));
    Label3.setCaption(L(121));
    Label4.setCaption(L(122));
    Label5(0).setCaption(L(123));
    Label5(2).setCaption(L(124));
    Label5(4).setCaption(L(16));
    Label5(8).setCaption(L(125) + L(126) + L(16));
    Label5(6).setCaption(L(125));
    Command9.setCaption(L(128));
    Command10.setCaption(L(129));
    Label_1.setCaption(L(127));
}

void BT_ZhunBei_1::check_J_C(std::int16_t kind) {
    const bool money = B_Unit_Code::isMoney(kind);
    Command6.setVisible(money);
    Command3.setVisible(!money);
}

bool BT_ZhunBei_1::isMoney() const { return B_Unit_Code::isMoney(B_Unit); }

void BT_ZhunBei_1::Init_Grid_ZB() {
    Grid1.setRedraw(false);
    Grid1.setCols(colCount);
    Grid1.setRows(kFirstRow);
    const std::map<int, int> titles = {{colPinfo, 74}, {colName, 5},      {colCode, 6}, {colDept, 7},
                                       {colDeptCode, 8}, {colPosition, 25}, {colJinE, 27}, {colCi, 29},
                                       {colMark, 130}};
    for (const auto& [c, text] : titles) Grid1.Cell(1, c).setText(L(text));
    Grid1.Column(colTick).setCellType(grid::CellKind::TickBox);
    for (int c = colPinfo; c < colCount; ++c) Grid1.Column(c).setLocked(c != colJinE && c != colCi);
    Grid1.Column(0).setWidth(60);
    Grid1.Column(colTick).setWidth(40);
    for (int c : {colPinfo, colDeptCode, colID}) Grid1.Column(c).setWidth(0);
    Grid1.setRedraw(true);
    Grid1.Refresh();
}

namespace {

// The row number of each employee's first batch row.
std::map<std::string, int> firstRowOf(const DataList& rows) {
    std::map<std::string, int> first;
    if (rows.rowUBound() < 1) return first;
    const int p = rows.col(col::BuTie_OK::Pinfo_ID);
    for (int r = 1; r <= rows.rowUBound(); ++r) first.emplace(rows(r, p), r);
    return first;
}

// The first position of each identifier names it.
std::map<std::string, std::string> firstPositionNames(const DataList& positions) {
    std::map<std::string, std::string> names;
    if (positions.rowUBound() < 1) return names;
    const int id = positions.col(col::Ren_Positions_Info::ID);
    const int name = positions.col(col::Ren_Positions_Info::Position_Name);
    for (int r = 1; r <= positions.rowUBound(); ++r) names.emplace(positions(r, id), positions(r, name));
    return names;
}

}  // namespace

void BT_ZhunBei_1::Load_BT_Grid(const std::string& J_Is_Ling, const std::string& C_Is_Ling) {
    const DataList positions = BT.Get_ZhiWei();
    Sum_JinE = Exact_Sum();
    Sum_Ci = Exact_Sum();
    Grid1.setRedraw(false);
    Grid1.setRows(kFirstRow);
    Emp_Count = std::max(0, Emp_List.rowUBound());

    if (Emp_List.rowUBound() >= 1) {
        // The batch's prepared rows in one read, the first one of each employee.
        const DataList rows = BT.select_BuTie_OK_Batch(B_Year, B_Month, B_Times, J_Is_Ling, C_Is_Ling);
        const auto rowOf = firstRowOf(rows);
        const auto positionName = firstPositionNames(positions);

        const int eId = Emp_List.col(col::Ren_Per_Info::Pinfo_ID), eName = Emp_List.col(col::Ren_Per_Info::P_Name),
                  eCode = Emp_List.col(col::Ren_Per_Info::P_Code), eDept = Emp_List.col(col::Ren_Dept_Info::Dept_Name),
                  eDeptCode = Emp_List.col(col::Ren_Dept_Info::Dept_Code),
                  ePos = Emp_List.col(col::Ren_Per_Info::P_Position_ID);
        const int bId = rows.rowUBound() >= 1 ? rows.col(col::BuTie_OK::ID) : 0,
                  bJinE = rows.rowUBound() >= 1 ? rows.col(col::BuTie_OK::B_JinE) : 0,
                  bCi = rows.rowUBound() >= 1 ? rows.col(col::BuTie_OK::B_Ci) : 0,
                  bCard = rows.rowUBound() >= 1 ? rows.col(col::BuTie_OK::Card_Number) : 0;
        for (int e = 1; e <= Emp_List.rowUBound(); ++e) {
            const auto found = rowOf.find(Emp_List(e, eId));
            if (found == rowOf.end()) continue;
            const int b = found->second;
            const int g = Grid1.Rows();
            Grid1.setRows(g + 1);
            const auto pos = positionName.find(Emp_List(e, ePos));
            // Stored amounts as they are: no double on the way.
            Exact_Sum fen, times;
            fen.add(rows(b, bJinE));
            times.add(rows(b, bCi));
            Grid1.Cell(g, colTick).setText("0");
            Grid1.Cell(g, colPinfo).setText(Emp_List(e, eId));
            Grid1.Cell(g, colName).setText(Emp_List(e, eName));
            Grid1.Cell(g, colCode).setText(Emp_List(e, eCode));
            Grid1.Cell(g, colDept).setText(Emp_List(e, eDept));
            Grid1.Cell(g, colDeptCode).setText(Emp_List(e, eDeptCode));
            Grid1.Cell(g, colPosition).setText(pos == positionName.end() ? "" : pos->second);
            Grid1.Cell(g, colJinE).setText(fen.cents());
            Grid1.Cell(g, colCi).setText(times.whole());
            Grid1.Cell(g, colMark).setText(rows(b, bCard));
            Grid1.Cell(g, colID).setText(rows(b, bId));
            Sum_JinE.add(rows(b, bJinE));
            Sum_Ci.add(rows(b, bCi));
        }
    }
    Show_Totals();
    for (int c = colName; c <= colMark; ++c) {
        if (Grid1.Column(c).Width() == 0) continue;
        Grid1.Column(c).AutoFit();
        Grid1.Column(c).setAlignment(kAlignCentre);
    }
    Grid1.setRedraw(true);
}

void BT_ZhunBei_1::Show_Totals() {
    Grid1.Cell(0, colName).setText(L(131) + ":");
    Grid1.Cell(0, colCode).setText(L(132) + ":");
    Grid1.Cell(0, colDept).setText(std::to_string(Emp_Count));
    Grid1.Cell(0, colPosition).setText(L(27) + ":");
    Grid1.Cell(0, colJinE).setText(Sum_JinE.cents());
    Grid1.Cell(0, colCi).setText(L(29) + ":");
    Grid1.Cell(0, colMark).setText(Sum_Ci.whole());
}

namespace {

// A cell's text added as the operator reads it: shown money exactly (any
// size), anything else by its leading number as typed text always was.
void addShown(Exact_Sum& sum, const std::string& text, int scale) {
    if (scale == 100) {
        if (const auto cents = shownToCents(text)) return sum.add(*cents);
    } else {
        std::int64_t v = 0;
        const char* end = text.data() + text.size();
        if (const auto [at, ec] = std::from_chars(text.data(), end, v); ec == std::errc() && at == end)
            return sum.add(v);
    }
    const double v = std::nearbyint(vbVal(text) * scale);
    if (v >= -9223372036854775808.0 && v < 9223372036854775808.0) sum.add(static_cast<std::int64_t>(v));
    else sum.addUnknown();
}

}  // namespace

// Totals as the grid shows them, typed values included: they are what the
// operator sees.
void BT_ZhunBei_1::Sum_Grid() {
    Sum_JinE = Exact_Sum();
    Sum_Ci = Exact_Sum();
    for (int g = kFirstRow; g < Grid1.Rows(); ++g) {
        addShown(Sum_JinE, Grid1.Cell(g, colJinE).Text(), 100);
        addShown(Sum_Ci, Grid1.Cell(g, colCi).Text(), 1);
    }
}

void BT_ZhunBei_1::Form_Resize() {
    Keep_Min_Size(*this);
    const int W = Width(), H = Height();
    const int gridWidth = W - ucDep1.Width() - 700;
    const int gridHeight = H - Grid1.Top() - 1500;
    if (gridWidth > 0) Grid1.setWidth(gridWidth);
    if (gridHeight > 0) Grid1.setHeight(gridHeight);
    if (H - 1500 > 0) ucDep1.setHeight(H - 1500);
    Frame1.setTop(Grid1.Top() + Grid1.Height() + 200);
    Command5.Move(Grid1.Left() + Grid1.Width() - Command5.Width(), Frame1.Top() + 630, Command5.Width(),
                  Command5.Height());
    Picture1.setLeft((W - Picture1.Width()) / 2);
    Pic_1.setLeft((W - Pic_1.Width()) / 2);
    Com_Zao.setTop(ucDep1.Top() + ucDep1.Height() + 200);
}

bool BT_ZhunBei_1::Ask_Picker() {
    std::string deptNo, name, code, pnum;
    if (ucDep1.Get_Sel(deptNo, name, code, pnum) == 0) return false;
    Sel_DeptNo = deptNo;
    Sel_Name = name;
    Sel_Code = code;
    return true;
}

void BT_ZhunBei_1::Com_Zao_Click() {
    if (!Ask_Picker()) return;
    Emp_List = BT.Get_Emp_Check(Sel_DeptNo, Sel_Name, Sel_Code, "");
    Load_BT_Grid("", "");
}

void BT_ZhunBei_1::ucDep1_Dept_Changed(const std::string& deptNo) {
    Emp_List = BT.Get_Emp_Check(deptNo, "", "", "");
    Load_BT_Grid("", "");
}

void BT_ZhunBei_1::Command6_Click() {
    if (!Ask_Picker()) return;
    Emp_List = BT.Get_Emp_Check(Sel_DeptNo, Sel_Name, Sel_Code, "");
    Load_BT_Grid("0", "");
}

void BT_ZhunBei_1::Command3_Click() { Load_BT_Grid("", "1"); }

void BT_ZhunBei_1::CheckAll_Click() {
    if (!Ask_Picker()) return;
    Emp_List = BT.Get_Emp_Check(Sel_DeptNo, Sel_Name, Sel_Code, "");
    const std::string tick = CheckAll.Value() == forms::vbChecked ? "1" : "0";
    for (int g = kFirstRow; g < Grid1.Rows(); ++g) Grid1.Cell(g, colTick).setText(tick);
}


std::string BT_ZhunBei_1::Value_Message(int problem, bool times) const {
    switch (static_cast<BT_Value_Problem>(problem)) {
        case BT_Value_Problem::Empty:
            return L(times ? 146 : 138);
        case BT_Value_Problem::Not_Number:
            return L(43) + ":" + L(137);
        case BT_Value_Problem::Negative:
            return L(times ? 147 : 139);
        case BT_Value_Problem::Too_Big:
            return L(times ? 148 : 140);
    }
    return {};
}

void BT_ZhunBei_1::Command2_Click() { Set_Ticked(false); }
void BT_ZhunBei_1::Command4_Click() { Set_Ticked(true); }

void BT_ZhunBei_1::Set_Ticked(bool times) {
    std::vector<int> ticked;
    for (int g = kFirstRow; g < Grid1.Rows(); ++g)
        if (Grid1.Cell(g, colTick).Text() == "1") ticked.push_back(g);
    if (ticked.empty()) {
        Prompt(L(times ? 143 : 134), platform::vbExclamation);
        return;
    }
    const std::string n = std::to_string(ticked.size());
    const std::string answer =
        platform::services().inputBox(L(times ? 144 : 135) + n + L(times ? 145 : 136), L(137) + ":", "");
    if (const auto problem = BT_Check_Value(answer, times)) {
        Prompt(Value_Message(static_cast<int>(*problem), times), platform::vbExclamation);
        return;
    }
    const double v = *parseNumber(vbTrim(answer));
    // Times as the number format "0" shows them: halves away from zero.
    const std::int32_t value = times ? static_cast<std::int32_t>(std::lround(v)) : BT_Yuan_To_Fen(v);

    std::vector<BTService::BtValue> rows;
    for (int g : ticked) rows.push_back({Grid1.Cell(g, colID).Text(), value});
    if (!Store_Values(ticked, rows, times)) return;
    Sum_Grid();
    if (times) Grid1.Cell(0, colMark).setText(Sum_Ci.whole());
    else Grid1.Cell(0, colJinE).setText(Sum_JinE.cents());
    Prompt(L(times ? 149 : 141) + std::to_string(Saved_Count) + L(times ? 150 : 142), platform::vbInformation);
}

// All rows or none: the grid then shows what is stored. Rows another office
// granted or deleted meanwhile are left as they are and not counted.
bool BT_ZhunBei_1::Store_Values(const std::vector<int>& gridRows, const std::vector<BTService::BtValue>& rows,
                                bool times) {
    bool stored = false;
    std::vector<bool> written;
    try {
        stored = BT.Update_info_Rows(rows, Stamp_Time(), Op_User_ID, times ? BtAmount::Times : BtAmount::Money,
                                     &written);
    } catch (const db::DbError&) {
        stored = false;
    }
    if (!stored) {
        Prompt(L(110), platform::vbExclamation);
        return false;
    }
    Saved_Count = 0;
    for (std::size_t i = 0; i < gridRows.size(); ++i) {
        if (!written[i]) continue;
        Grid1.Cell(gridRows[i], times ? colCi : colJinE)
            .setText(times ? std::to_string(rows[i].value) : centsText(std::int64_t{rows[i].value}));
        ++Saved_Count;
    }
    return true;
}

void BT_ZhunBei_1::Command5_Click() { Close_Window(*this); }

}  // namespace tolvenk
