#include "subsidy/BT_Sum.h"

#include <cmath>
#include <map>
#include <vector>

#include "data/Globals.h"
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
constexpr int kGridTop = 2040;
constexpr int kRowHeight = 21;

// The batch rows of the month grouped by the text of one column, each group
// in the order read.
std::map<std::string, std::vector<int>> groupBy(const DataList& rows, const char* column) {
    std::map<std::string, std::vector<int>> groups;
    if (rows.rowUBound() < 1) return groups;
    const int c = rows.col(column);
    for (int r = 1; r <= rows.rowUBound(); ++r) groups[rows(r, c)].push_back(r);
    return groups;
}

}  // namespace

void BT_Sum::Line_Sum::add(const std::string& jine, const std::string& ci, const std::string& state) {
    // Stored whole numbers as they are (empty is 0): one that is none leaves
    // the sums the overflow mark instead of a rounded figure.
    Group_Sum& group = vbVal(state) == B_SF_Code::Credited ? taken : waiting;
    for (Group_Sum* g : {&issued, &group}) {
        ++g->count;
        if (!jine.empty()) g->fen.add(jine);
        if (!ci.empty()) g->times.add(ci);
    }
}

BT_Sum::BT_Sum() {
    for (int i : {0, 2, 6}) Label1.add(i);
    for (int i = 0; i <= 2; ++i) Option1.add(i).setContainer(Frame1);
    for (int i = 0; i <= 3; ++i) Command4.add(i);
    setBackColor(kWindowColour);
    Frame1.setBackColor(kWindowColour);
    for (int i = 0; i <= 2; ++i) Option1(i).setBackColor(kWindowColour);
    Grid1.setCols(kCols);
    Grid1.setRows(kHeadRows);
    Grid1.setFixedRows(kHeadRows);
    setWidth(kDesignWidth);
    setHeight(kDesignHeight);
    layOut();

    Command1.Click = [this](int) { Command1_Click(); };
    Wire_Output_Buttons(Command4, Grid1, *this, true);
}

// Labels, options and buttons are wide enough for the longest of the three languages.
void BT_Sum::layOut() {
    Label1(6).Move(240, 240, 900, 300);
    Combo3.Move(1140, 180, 1100, 345);
    Label1(2).Move(2400, 240, 900, 300);
    Combo4.Move(3300, 180, 1200, 345);
    Label1(0).Move(4620, 240, 1500, 300);
    Combo1.Move(6120, 180, 800, 345);
    Frame1.Move(240, 660, 7620, 660);
    for (int i = 0; i <= 2; ++i) Option1(i).Move(120 + i * 2490, 240, 2430, 300);
    Command1.Move(8040, 840, 1200, 420);
    Command4(0).Move(240, 1470, 1800, 420);
    Command4(1).Move(2100, 1470, 1800, 420);
    Command4(2).Move(3960, 1470, 1800, 420);
    Command4(3).Move(5820, 1470, 900, 420);
    Grid1.Move(240, kGridTop, kDesignWidth - 480, kDesignHeight - kGridTop - 600);
}

void BT_Sum::Form_Load() {
    Set_Lan_Font(*this);
    setCaption(L(79));
    Label1(6).setCaption(L(14));
    Label1(2).setCaption(L(15));
    Label1(0).setCaption(L(80) + ":");
    for (int i = 0; i <= 2; ++i) Option1(i).setCaption(L(81 + i));
    Command1.setCaption(L(84));
    // The output buttons read the same in every language.
    const char* const outputs[] = {"输出到EXCEL", "输出到HTML", "输出到XML", "打印"};
    for (int i = 0; i <= 3; ++i) Command4(i).setCaption(outputs[i]);

    BT = BTService();
    Combo3.setText("");
    Year_List = BT.Get_Year();
    Fill_Year_Combo(Combo3, Year_List);
    if (Combo3.ListCount() > 0) Combo3.setListIndex(0);
    Combo4.Clear();
    Fill_Month_Combo(Combo4);
    Combo4.setListIndex(0);
    Combo1.Clear();
    Combo1.AddItem("");
    for (int i = 1; i <= BT_Batches_Per_Month; ++i) Combo1.AddItem(std::to_string(i));
    Init_Head();
}

void BT_Sum::Form_Resize() {
    Keep_Min_Size(*this);
    Grid1.setWidth(Width() - 480);
    Grid1.setHeight(Height() - Grid1.Top() - 600);
}

void BT_Sum::Init_Head() {
    Grid1.setRedraw(false);
    for (int r = 0; r < Grid1.Rows(); ++r) Grid1.setRow_Height(r, kRowHeight);
    for (int c = 0; c < kCols; ++c) Grid1.Column(c).setLocked(true);  // the window only reads
    Grid1.Cell(0, 1).setText(L(94));
    Grid1.Range(0, 1, 0, kCols - 1).Merge();
    Grid1.Cell(0, 1).setAlignment(grid::AlignCenter);
    const int labels[] = {32, 101, 102};
    for (int r = 1; r <= 3; ++r) {
        Grid1.Cell(r, 1).setText(L(labels[r - 1]) + ":");
        Grid1.Range(r, 3, r, kCols - 1).Merge();
    }
    for (int c = 3; c <= 5; ++c) Grid1.Cell(1, c).setAlignment(grid::AlignCenter);
    for (int r = 1; r <= 5; ++r) Grid1.Range(r, 1, r, 2).Merge();
    const int groups[] = {95, 99, 100};
    for (int g = 0; g < 3; ++g) {
        const int c = 3 + 3 * g;
        Grid1.Cell(4, c).setText(L(groups[g]));
        Grid1.Range(4, c, 4, c + 2).Merge();
        for (int i = 0; i < 3; ++i) Grid1.Cell(5, c + i).setText(L(96 + i));
    }
    Grid1.Cell(5, 1).setAlignment(grid::AlignRight);
    Grid1.Column(0).setWidth(0);
    Grid1.Column(1).setWidth(80);
    for (int c = 2; c <= 8; ++c) Grid1.Column(c).setWidth(100);
    for (int c = 1; c <= 2; ++c) Grid1.Column(c).setAlignment(grid::AlignRight);
    for (int c = 3; c <= 8; ++c) Grid1.Column(c).setAlignment(grid::AlignCenter);
    Grid1.setRedraw(true);
    Grid1.Refresh();
}

void BT_Sum::Command1_Click() {
    const auto year = Typed_Year(Combo3.Text());
    if (!year) {
        Prompt(L(85));
        return;
    }
    Year = *year;
    Month = Combo4.ListIndex() + 1;
    Batch = Combo1.Text();
    HZ_Rows = BT.Get_HZ(Year, Month, Batch);
    if (HZ_Rows.rowUBound() < 1) {
        Prompt(L(86) + std::to_string(Year) + L(62) + std::to_string(Month) + L(63) + L(87));
        Grid1.setRows(kHeadRows);
        return;
    }
    if (Option1(0).Value()) Sum_By_Dept();
    else if (Option1(1).Value()) Sum_By_Kind();
    else if (Option1(2).Value()) Sum_By_Operator();
    // The heads and labels are long in English ("Numbers of Employees").
    Grid1.Widen_To_Text();
}

void BT_Sum::Start_Summary(int kindText, const std::string& label, bool writeHead) {
    Grid1.setRows(kHeadRows);
    if (!writeHead) return;
    Grid1.Cell(5, 1).setText(label);
    Grid1.Cell(1, 3).setText(std::to_string(Year) + L(62) + std::to_string(Month) + L(63));
    Grid1.Cell(2, 3).setText(L(kindText));
    Grid1.Cell(3, 3).setText(platform::services().clockText().substr(0, 10));
}

int BT_Sum::Add_Line(const std::string& name, const Line_Sum& s, bool plainAmounts) {
    const int g = Grid1.Rows();
    Grid1.setRows(g + 1);
    Grid1.setRow_Height(g, kRowHeight);
    Grid1.Cell(g, 2).setText(name);
    int c = 3;
    for (const Group_Sum* group : {&s.issued, &s.waiting, &s.taken}) {
        Grid1.Cell(g, c++).setText(std::to_string(group->count));
        Grid1.Cell(g, c++).setText(plainAmounts ? group->fen.plainCents() : group->fen.cents());
        Grid1.Cell(g, c++).setText(group->times.whole());
    }
    return g;
}

// A department's line takes its employees' rows and those of the
// departments below it, whose numbers begin with its own.
void BT_Sum::Sum_By_Dept() {
    const DataList depts = BT.Get_Dept_No("", "");
    Start_Summary(81, L(88), depts.rowUBound() >= 1);
    if (depts.rowUBound() >= 1) {
        const DataList rows = BT.select_BT_OK_3(Year, 0, Month, Batch);
        const auto rowsOf = groupBy(rows, col::BuTie_OK::Pinfo_ID);
        const int jine = rows.rowUBound() >= 1 ? rows.col(col::BuTie_OK::B_JinE) : 0,
                  ci = rows.rowUBound() >= 1 ? rows.col(col::BuTie_OK::B_Ci) : 0,
                  sf = rows.rowUBound() >= 1 ? rows.col(col::BuTie_OK::B_SF) : 0;
        const int dNo = depts.col(col::Ren_Dept_Info::Dept_No), dName = depts.col(col::Ren_Dept_Info::Dept_Name);
        for (int d = 1; d <= depts.rowUBound(); ++d) {
            Line_Sum s;
            const DataList staff = BT.Get_Emp_ByDept(depts(d, dNo));
            for (int e = 1; e <= staff.rowUBound(); ++e) {
                const auto mine = rowsOf.find(staff(e, 0));
                if (mine == rowsOf.end()) continue;
                for (int r : mine->second)
                    if (vbVal(rows(r, sf)) != B_SF_Code::Prepared) s.add(rows(r, jine), rows(r, ci), rows(r, sf));
            }
            const int line = Add_Line(depts(d, dName), s, false);
            Grid1.Cell(line, 2).setAlignment(grid::AlignLeft);
        }
    }
    Grid1.Column(10).setAlignment(grid::AlignCenter);
    Add_Sum_Footer();
}

void BT_Sum::Sum_By_Kind() {
    const DataList rows = BT.select_BT_OK_3(Year, 0, Month, Batch);
    Start_Summary(91, "");
    if (rows.rowUBound() >= 1) {
        const int jine = rows.col(col::BuTie_OK::B_JinE), ci = rows.col(col::BuTie_OK::B_Ci),
                  sf = rows.col(col::BuTie_OK::B_SF);
        Line_Sum s;
        for (int r = 1; r <= rows.rowUBound(); ++r)
            if (vbVal(rows(r, sf)) != B_SF_Code::Prepared) s.add(rows(r, jine), rows(r, ci), rows(r, sf));
        Add_Line("", s, true);
    }
    Grid1.Column(10).setAlignment(grid::AlignCenter);
    Add_Sum_Footer();
}

// Stopped rows were never given out: no operator answers for them.
void BT_Sum::Sum_By_Operator() {
    const DataList users = BT.All_CZ_Name();
    Start_Summary(83, L(92), users.rowUBound() >= 1);
    if (users.rowUBound() >= 1) {
        const DataList rows = BT.select_BT_OK_3(Year, 0, Month, Batch);
        const auto rowsOf = groupBy(rows, col::BuTie_OK::ZhunBei_Ren_ID);
        const int jine = rows.rowUBound() >= 1 ? rows.col(col::BuTie_OK::B_JinE) : 0,
                  ci = rows.rowUBound() >= 1 ? rows.col(col::BuTie_OK::B_Ci) : 0,
                  sf = rows.rowUBound() >= 1 ? rows.col(col::BuTie_OK::B_SF) : 0;
        const int uId = users.col(col::Sys_User_Info::User_ID), uName = users.col(col::Sys_User_Info::User_Name);
        Line_Sum all;
        for (int u = 1; u <= users.rowUBound(); ++u) {
            Line_Sum s;
            const auto mine = rowsOf.find(users(u, uId));
            if (mine != rowsOf.end())
                for (int r : mine->second) {
                    const double state = vbVal(rows(r, sf));
                    if (state == B_SF_Code::Prepared || state == B_SF_Code::Stopped) continue;
                    s.add(rows(r, jine), rows(r, ci), rows(r, sf));
                    all.add(rows(r, jine), rows(r, ci), rows(r, sf));
                }
            Add_Line(users(u, uName), s, false);
        }
        const int line = Add_Line("", all, false);
        Grid1.Cell(line, 0).setText(L(93) + ":");
        Grid1.Range(line, 0, line, 2).Merge();
    }
    Grid1.Column(10).setAlignment(grid::AlignCenter);
    Add_Sum_Footer();
}

void BT_Sum::Add_Sum_Footer() {
    const int g = Grid1.Rows();
    Grid1.setRows(g + 3);
    for (int r = g; r < g + 3; ++r) Grid1.setRow_Height(r, kRowHeight);
    Grid1.Range(g + 1, 1, g + 1, 8).Merge();
    Grid1.Range(g + 2, 1, g + 2, 8).Merge();
    Grid1.Cell(g + 2, 1).setText(L(89) + ":" + Op_User_Name + L(90));
}

}  // namespace tolvenk
