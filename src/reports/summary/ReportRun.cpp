#include "reports/summary/ReportRun.h"

#include <vector>

#include "data/Globals.h"
#include "lang/LangGlobals.h"
#include "platform/db/Recordset.h"
#include "platform/services/Services.h"
#include "reports/summary/GridHead.h"
#include "reports/summary/HzRepFormat.h"
#include "reports/summary/ReportConditions.h"
#include "reports/summary/XF_Cha_HZ.h"

namespace tolvenk {

namespace {
constexpr int DimNone = 9, DimDate = 8;
constexpr int BalanceLang = 633;
}  // namespace

// The run lets the window process events after every row; until it ends its
// controls stay disabled, so a second click cannot start a run inside it.
class HzReportRun::Run_Lock {
public:
    explicit Run_Lock(HzReportRun& run) : run_(run) {
        XF_Cha_HZ& w = run.w;
        controls_ = {&w.Command1, &w.Command2, &w.List1};
        for (int i = 0; i <= 3; ++i) controls_.push_back(&w.Command4(i));
        for (forms::Control* c : controls_) {
            saved_.push_back(c->Enabled());
            c->setEnabled(false);
        }
        run_.running_ = true;
    }
    ~Run_Lock() {
        for (std::size_t i = 0; i < controls_.size(); ++i) controls_[i]->setEnabled(saved_[i]);
        run_.running_ = false;
    }
    Run_Lock(const Run_Lock&) = delete;
    Run_Lock& operator=(const Run_Lock&) = delete;

private:
    HzReportRun& run_;
    std::vector<forms::Control*> controls_;
    std::vector<bool> saved_;
};

HzReportRun::HzReportRun(XF_Cha_HZ& window) : RowValues(window.St, window.Grid1), w(window) {}

void HzReportRun::Run() {
    if (running_) return;
    Run_Lock lock(*this);
    try {
        Run_Report();
    } catch (const std::exception& e) {
        Show_Trap(e, "ERR_XF_Cha_HZ_1");
        // A failed run leaves the window usable: rows so far stay, output and grid come back.
        for (forms::ProgressBar* bar : {&w.pBar1, &w.pBar2, &w.pBar3}) bar->setVisible(false);
        w.Show_Output_Buttons();
        Grid1.setRedraw(true);
    }
}

void HzReportRun::Run_Report() {
    St.Valid_Only = w.Check1.Value() > 0 ? 0 : 1;  // greyed counts as ticked
    Grid1.setRedraw(false);
    w.Hide_Output_Buttons();
    w.Refresh();
    for (std::int16_t k = 1; k <= 8; ++k) Clear_Slot(k);
    w.Load_Rep_By_Name();
    St.Covered_Types = Covered_Types_Clause(St.Covered_Types);
    Grid1.Refresh();
    for (int i = 1; i <= Grid1.Cols() - 1; ++i) Grid1.Column(i).setAlignment(grid::AlignCenter);

    const char T = Rep_T();
    const int a = Rep_Dim1(), b = Rep_Dim2();
    const bool months = T == ReportMonthly;
    Grid1.Cell(1, 1).setText("日期:   " + (months ? w.Text1.Text() : w.DTPicker1.Date_Value()) + "   -   " +
                             (months ? w.Text2.Text() : w.DTPicker2.Date_Value()) + "         " + Dim_Caption(a) +
                             ":   " + w.Combo1.Text());
    Grid1.setRows(HzHeadRows);

    const int combo = w.Combo1.ListIndex();
    In = Cond_Inputs{w.DTPicker1.Date_Value(), w.DTPicker2.Date_Value(), combo, w.Combo1.Text(),
                     combo >= 0 ? w.Combo1.ItemData(combo) : 0};
    if (!Conn_Main) throw VbError(91, "Object variable or With block variable not set");
    Make_Group_Conds(St, In, *Conn_Main);
    Group_Conds& G1 = St.Group_Conds1;
    Group_Conds& G2 = St.Group_Conds2;
    Group_Conds& G3 = St.Group_Conds3;
    w.pBar1.setValue(0);

    {
        const Group_Conds& periods = b != DimDate ? G1 : G2;
        Calc_Level_Row("", periods(1).Bound + " and " + periods(periods.UBound()).Bound, "", "", 1);
    }
    if ((T == ReportRange && a == 0) || Level_Empty()) return Closing_B();

    const int n1 = G1.UBound();
    for (Idx1 = 1; Idx1 <= n1; ++Idx1) {
        w.pBar1.setMax(n1);
        w.pBar1.setVisible(true);
        Start_Row1 = std::to_string(Grid1.Rows());
        w.pBar2.setValue(0);
        // A range report makes one outer pass over the whole period.
        if (T == ReportRange) G1(1).Cond = G1(1).Bound + " and " + G1(n1).Bound;
        if (b != DimDate)
            Calc_Level_Row("", G1(Idx1).Cond, "", "", 2);
        else
            Calc_Level_Row("", G1(Idx1).Cond, G2(1).Bound + " and " + G2(G2.UBound()).Bound, "", 2);

        if (!Level_Empty()) {
            const int n2 = G2.UBound();
            for (Idx2 = 1; Idx2 <= n2; ++Idx2) {
                w.pBar2.setMax(n2);
                w.pBar2.setVisible(true);
                Start_Row2 = std::to_string(Grid1.Rows());
                w.pBar3.setValue(0);
                Calc_Level_Row("", G1(Idx1).Cond, G2(Idx2).Cond, "", 3);
                Roll_Up_Slot();
                if (Level_Empty()) {
                    w.pBar2.setValue(w.pBar2.Value() + 1);
                    continue;
                }
                const int n3 = G3.UBound();
                for (Idx3 = 1; Idx3 <= n3; ++Idx3) {
                    if (!G3(1).Cond.empty()) {
                        w.pBar3.setMax(n3);
                        w.pBar3.setVisible(true);
                    }
                    Rs.reset();
                    bool exists = true;
                    if (!G3(Idx3).Cond.empty()) {
                        std::string Q = "select top 1 YuE_Change from Record_XF,Ren_Per_info where " + G1(Idx1).Cond;
                        if (!G2(Idx2).Cond.empty()) Q += " and " + G2(Idx2).Cond;
                        Q += " and " + G3(Idx3).Cond + St.Covered_Types;
                        exists = open(Q).recordCount() >= 1;
                    }
                    if (exists) {
                        Calc_Row();
                        platform::services().yield();
                    }
                    w.pBar3.setValue(w.pBar3.Value() + 1);
                }
                if (b != 0 && b != DimNone) Diff_Slots(3, 5, St.Dim2_Col, 7);
                Clear_Slot(5);
                Add_SubTotal2();
                Clear_Slot(7);
                w.pBar2.setValue(w.pBar2.Value() + 1);
            }
            if (a != 0) Diff_Slots(2, 4, St.Dim1_Col, 8);
            Clear_Slot(4);
            if (T != ReportRange) {
                Add_SubTotal1();
                Clear_Slot(8);
            } else {
                return Closing_B();
            }
        }
        w.pBar1.setValue(w.pBar1.Value() + 1);
    }
    Closing_A();
}

void HzReportRun::Balance_Line(const std::string& label) {
    if (Grid1.Rows() <= 1 || St.Rep_P3.substr(0, 2) != "11") return;
    Grid1.setRows(Grid1.Rows() + 1);
    const int last = Grid1.Rows() - 1;
    Grid1.Range(last, 1, last, Grid1.Cols() - 1).Merge();
    Grid1.Cell(last, 1).setAlignment(grid::AlignLeft);
    // Expenses are stored negative: the sum is income less expense.
    Grid1.Cell(last, 1).setText(label + Money_Text(Long_Add(Expense_Sub_Acc[1], Income_Sub_Acc[1])));
}

void HzReportRun::Closing_A() {
    const char T = Rep_T();
    const int b = Rep_Dim2();
    Make_Row_Text(1, -1, -1);
    if (T == ReportRange) St.Date_Col += 1;
    const int last = Grid1.Rows() - 1;
    if (St.Dim2_Col >= 1)
        Grid1.Range(last, St.Date_Col, last, St.Dim2_Col).Merge();
    else
        Grid1.Range(last, St.Date_Col, last, St.Dim1_Col).Merge();
    if (b == DimDate || T == ReportRange) {
        if (St.Dim1_Col == 0) St.Dim1_Col = 1;
        Grid1.Cell(last, St.Dim1_Col).setText("总计：");
    } else {
        Grid1.Cell(last, St.Date_Col).setText("总计：");
    }
    Balance_Line("收支情况：");
    Unlock_Run_Controls();
    Clear_Slot(5);
    w.Show_Output_Buttons();
}

void HzReportRun::Closing_B() {
    Make_Row_Text(1, -1, -1);
    const int last = Grid1.Rows() - 1;
    if (St.Dim2_Col > 0)
        Grid1.Range(last, St.Date_Col, last, St.Dim1_Col > 0 ? St.Dim1_Col : St.Dim2_Col).Merge();
    else if (St.Dim1_Col > 0)
        Grid1.Range(last, St.Date_Col, last, St.Dim1_Col).Merge();
    Grid1.Cell(last, 1).setText("总计：");
    Balance_Line(Lang[BalanceLang]);
    for (forms::ProgressBar* bar : {&w.pBar1, &w.pBar2, &w.pBar3}) bar->setVisible(false);
    w.Show_Output_Buttons();
    Grid1.setRedraw(true);
    Grid1.Refresh();
}

void HzReportRun::Add_SubTotal2() {
    const int start = std::stoi(Start_Row2);
    if (Grid1.Rows() - start >= 2) {
        Make_Row_Text(3, -1, 0);
        Grid1.Cell(Grid1.Rows() - 1, St.Dim2_Col).setText("小计:");
    }
    if (start == Grid1.Rows()) return;
    const int last = Grid1.Rows() - 1;
    if (Rep_Dim2() == DimDate)
        Grid1.Range(start, St.Date_Col, last, St.Date_Col).Merge();
    else
        Grid1.Range(start, St.Dim1_Col, last, St.Dim1_Col).Merge();
}

void HzReportRun::Add_SubTotal1() {
    const int start = std::stoi(Start_Row1);
    const bool dateSecond = Rep_Dim2() == DimDate;
    if (Grid1.Rows() - start >= 2) {
        Make_Row_Text(2, -1, 0);
        const int last = Grid1.Rows() - 1;
        if (dateSecond) {
            Grid1.Range(last, St.Dim1_Col, last, St.Dim2_Col).Merge();
            Grid1.Cell(last, St.Dim1_Col).setText("小计：");
        } else {
            Grid1.Range(last, St.Date_Col, last, St.Date_Col).Merge();
            Grid1.Cell(last, St.Date_Col).setText("小计：");
        }
    }
    if (start == Grid1.Rows()) return;
    const int last = Grid1.Rows() - 1;
    const int col = dateSecond ? St.Dim1_Col : St.Date_Col;
    Grid1.Range(start, col, last, col).Merge();
}

void HzReportRun::Unlock_Run_Controls() {
    w.Command2.setVisible(true);
    for (int i = 0; i <= 3; ++i) w.Command4(i).setVisible(true);
    for (forms::Control* c :
         std::initializer_list<forms::Control*>{&w.DTPicker2, &w.DTPicker1, &w.Combo1, &w.Command1, &w.Text2, &w.Text1})
        c->setEnabled(true);
    for (forms::ProgressBar* bar : {&w.pBar1, &w.pBar2, &w.pBar3}) bar->setVisible(false);
}

}  // namespace tolvenk
