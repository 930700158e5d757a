#include "reports/summary/ReportEngine.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

#include "data/Globals.h"
#include "data/HzDimCode.h"
#include "data/HzReportSql.h"
#include "lang/LangGlobals.h"
#include "platform/Error.h"
#include "platform/MoneyText.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Recordset.h"
#include "platform/services/Services.h"
#include "platform/grid/GridModel.h"
#include "reports/summary/GridHead.h"
#include "ui/WindowKit.h"
#include "data/HzRepFormat.h"

namespace tolvenk {

namespace {

constexpr int OthersLang = 554, BalanceLang = 633, TrapCountLang = 901;

// The values an item has: money always, counts where it counts them, times
// where it has them. Meal orders have columns but no values.
bool hasValue(const hz::ItemDef& d, hz::Measure m) {
    if (d.source == hz::Source::None) return false;
    switch (m) {
    case hz::Money: return true;
    case hz::Money_Cnt: return d.counted;
    case hz::Times: return d.timesLang != 0;
    default: return d.timesCounted;
    }
}

// Every value the slot operations touch: all but the other meal slot, which
// is worked out afresh for each slot it shows.
template <class F>
void forEachValue(F f) {
    for (const hz::ItemDef& d : hz::items()) {
        if (d.source == hz::Source::Remainder) continue;
        for (int m = 0; m < hz::Measure_Count; ++m)
            if (hasValue(d, static_cast<hz::Measure>(m))) f(d, static_cast<hz::Measure>(m));
    }
}

}  // namespace

HzReportEngine::HzReportEngine(HzReportState& st, const Cond_Inputs& in, std::array<std::string, 2> shown,
                               grid::GridModel& grid, db::Connection& conn, HzRunHooks hooks)
    : St(st),
      In(in),
      Shown_Period(std::move(shown)),
      Valid_Only(st.Valid_Only),
      grid_(grid),
      conn_(conn),
      hooks_(std::move(hooks)) {
    if (!hooks_.progress) hooks_.progress = [](int, int, int) {};
    if (!hooks_.rowDone) hooks_.rowDone = [] {};
    if (!hooks_.stopped) hooks_.stopped = [] { return false; };
}

void HzReportEngine::Trap(const std::exception& e, const char* where) {
    // The same failure in another cell differs only in the statement the
    // database names after it, in brackets.
    const std::string text = Trap_Text(e);
    const auto kind = [](const std::string& t) {
        const auto open = t.rfind(" [");
        return !t.empty() && t.back() == ']' && open != std::string::npos ? t.substr(0, open) : t;
    };
    for (Trapped& t : trapped_)
        if (t.where == where && kind(t.text) == kind(text)) {
            if (trapGroup_ < 0 || t.group != trapGroup_) ++t.count;
            t.group = trapGroup_;
            return;
        }
    trapped_.push_back({where, text, 1, trapGroup_});
}

void HzReportEngine::Trap_Null_Fee(const char* where) { Trap(VbError(94, "Invalid use of Null"), where); }

void HzReportEngine::Show_Traps() {
    for (const Trapped& t : trapped_) {
        std::string text = t.text;
        // One box for an error however many rows it hit, and how many.
        if (t.count > 1) {
            std::string count = L(TrapCountLang);
            const auto at = count.find("%1");
            if (at != std::string::npos) count.replace(at, 2, std::to_string(t.count));
            text += "\r\n\r\n" + count;
        }
        platform::services().msgBox(text, platform::vbCritical, Lang[112] + ":" + t.where);
    }
    trapped_.clear();
}

db::Recordset& HzReportEngine::open(const std::string& sql) {
    rs_ = reads_->openRecordset(sql);
    return *rs_;
}

int HzReportEngine::Rep_Dim1() const { return HZ_Rep_Format{"", St.Rep_P2, "", "", ""}.dim1(); }
int HzReportEngine::Rep_Dim2() const { return HZ_Rep_Format{"", St.Rep_P2, "", "", ""}.dim2(); }
char HzReportEngine::Rep_T() const { return HZ_Rep_Format{"", St.Rep_P2, "", "", ""}.type(); }
int HzReportEngine::Rows() const { return grid_.rows(); }
void HzReportEngine::setText(int r, int c, const std::string& text) { grid_.setText(r, c, text); }
void HzReportEngine::merge(int r1, int c1, int r2, int c2) {
    c1 = std::max(c1, 1);
    c2 = std::max(c2, 1);
    if (r2 < r1) return;
    grid_.merge({r1, c1, r2, c2});
}

void HzReportEngine::Number_Rows() {
    for (int r = HzHeadRows; r < Rows(); ++r)
        if (grid_.text(r, 0).empty()) setText(r, 0, std::to_string(r - HzHeadRows + 1));
}

HzReportEngine::Closing HzReportEngine::Run() {
    // What an earlier run found must not decide this one.
    St.Top_Dept_Name.clear();
    Closing closing;
    try {
        // The snapshot ends with the reads, before any box waits for the operator.
        std::optional<db::ReadSnapshot> snapshot;
        if (One_Snapshot) snapshot.emplace(conn_);
        struct Reads_Back {
            HzReportEngine& e;
            ~Reads_Back() {
                e.rs_.reset();
                e.reads_ = &e.conn_;
            }
        } back{*this};
        reads_ = snapshot ? &snapshot->connection() : &conn_;
        closing = Fill();
    } catch (const Run_Stopped&) {
        return Closing::Stopped;  // the window is gone: nothing more to show
    } catch (...) {
        Show_Traps();
        throw;
    }
    Number_Rows();
    Show_Traps();
    return closing;
}

namespace {

HzCond cond(const Group_Cond& e) { return HzCond{e.Cond, e.Match}; }

// The whole period of a period array: from the first entry's bound to the last one's.
HzCond bounds(const Group_Conds& g) {
    return HzCond{g(1).Bound + " and " + g(g.UBound()).Bound, {g(1).Bound_Match, g(g.UBound()).Bound_Match}};
}

}  // namespace

void HzReportEngine::Read_Figures() {
    bool fees = false;
    for (const hz::ItemDef& d : hz::items())
        fees = fees || (d.source == hz::Source::Card_Log && St.Col(d.item, hz::Money) > 0);
    if (Per_Cell_Statements || !HzFigures::Eligible(St, fees)) return;
    try {
        figures_ = std::make_unique<HzFigures>(*reads_, St, fees);
    } catch (const std::exception& e) {
        if (db::connectionLost(e)) throw;
        // A table or column the grouped statements need is missing: the
        // statements per cell then meet it and report it as they always have.
        figures_.reset();
    }
}

HzReportEngine::Closing HzReportEngine::Fill() {
    St.Covered_Types = Covered_Types_Clause(St.Covered_Types);
    for (int i = 1; i <= grid_.cols() - 1; ++i) grid_.setColumnAlignment(i, grid::AlignCenter);

    const char T = Rep_T();
    const int a = Rep_Dim1(), b = Rep_Dim2();
    setText(1, 1, "日期:   " + Shown_Period[0] + "   -   " + Shown_Period[1] + "         " + Dim_Caption(a) + ":   " +
                      In.Combo_Text);
    grid_.setRows(HzHeadRows);

    Make_Group_Conds(St, In, *reads_);
    Group_Conds& G1 = St.Group_Conds1;
    hooks_.progress(1, 0, 0);
    Read_Figures();

    Calc_Level_Row(bounds(b != HZ_Dim::Date ? G1 : St.Group_Conds2), {}, {}, 1);
    if ((T == ReportRange && a == 0) || V.Level_Empty()) {
        Closing_B();
        return Closing::Total_Only;
    }

    const int n1 = G1.UBound();
    for (Idx1 = 1; Idx1 <= n1; ++Idx1) {
        hooks_.progress(1, Idx1 - 1, n1);
        Start_Row1 = Rows();
        hooks_.progress(2, 0, 0);
        // A range report makes one outer pass over the whole period.
        if (T == ReportRange) {
            const HzCond whole = bounds(G1);
            G1(1).Cond = whole.sql;
            G1(1).Match = whole.sel;
        }
        if (b != HZ_Dim::Date)
            Calc_Level_Row(cond(G1(Idx1)), {}, {}, 2);
        else
            Calc_Level_Row(cond(G1(Idx1)), bounds(St.Group_Conds2), {}, 2);

        if (!V.Level_Empty()) {
            Middle_Level();
            if (a != 0) Diff_Slots(2, 4, St.Dim1_Col, 8);
            Clear_Slot(4);
            if (T == ReportRange) {
                Closing_B();
                return Closing::Total_Only;
            }
            Add_SubTotal1();
            Clear_Slot(8);
        }
        hooks_.progress(1, Idx1, 0);
    }
    Closing_A();
    return Closing::After_Groups;
}

void HzReportEngine::Middle_Level() {
    const Group_Conds& G1 = St.Group_Conds1;
    const Group_Conds& G2 = St.Group_Conds2;
    const Group_Conds& G3 = St.Group_Conds3;
    const int b = Rep_Dim2();
    const int n2 = G2.UBound();
    for (Idx2 = 1; Idx2 <= n2; ++Idx2) {
        hooks_.progress(2, Idx2 - 1, n2);
        Start_Row2 = Rows();
        hooks_.progress(3, 0, 0);
        Calc_Level_Row(cond(G1(Idx1)), cond(G2(Idx2)), {}, 3);
        Roll_Up_Slot();
        if (V.Level_Empty()) {
            hooks_.progress(2, Idx2, 0);
            continue;
        }
        const int n3 = G3.UBound();
        for (Idx3 = 1; Idx3 <= n3; ++Idx3) {
            if (!G3(1).Cond.empty()) hooks_.progress(3, Idx3 - 1, n3);
            rs_.reset();
            if (G3(Idx3).Cond.empty() || Row_Exists()) {
                Calc_Row();
                hooks_.rowDone();
                if (hooks_.stopped()) throw Run_Stopped{};
            }
            hooks_.progress(3, Idx3, 0);
        }
        if (b != 0 && b != HZ_Dim::None) Diff_Slots(3, 5, St.Dim2_Col, 7);
        Clear_Slot(5);
        Add_SubTotal2();
        Clear_Slot(7);
        hooks_.progress(2, Idx2, 0);
    }
}

void HzReportEngine::Balance_Line(const std::string& label) {
    if (Rows() <= 1 || St.Rep_P3.substr(0, 2) != "11") return;
    grid_.setRows(Rows() + 1);
    const int last = Rows() - 1;
    merge(last, 1, last, grid_.cols() - 1);
    grid_.setAlignment(last, 1, grid::AlignLeft);
    // Expenses are stored negative: the sum is income less expense.
    setText(last, 1,
            label + Money_Text(Slot_Add(V(hz::Expense_Sub, hz::Money)[1], V(hz::Income_Sub, hz::Money)[1])));
}

void HzReportEngine::Closing_A() {
    const char T = Rep_T();
    const int b = Rep_Dim2();
    Make_Row_Text(1, -1, -1);
    if (T == ReportRange) St.Date_Col += 1;
    const int last = Rows() - 1;
    if (St.Dim2_Col >= 1)
        merge(last, St.Date_Col, last, St.Dim2_Col);
    else
        merge(last, St.Date_Col, last, St.Dim1_Col);
    if (b == HZ_Dim::Date || T == ReportRange) {
        if (St.Dim1_Col == 0) St.Dim1_Col = 1;
        setText(last, St.Dim1_Col, "总计：");
    } else {
        setText(last, St.Date_Col, "总计：");
    }
    Balance_Line("收支情况：");
    Clear_Slot(5);
}

void HzReportEngine::Closing_B() {
    Make_Row_Text(1, -1, -1);
    const int last = Rows() - 1;
    if (St.Dim2_Col > 0)
        merge(last, St.Date_Col, last, St.Dim1_Col > 0 ? St.Dim1_Col : St.Dim2_Col);
    else if (St.Dim1_Col > 0)
        merge(last, St.Date_Col, last, St.Dim1_Col);
    setText(last, 1, "总计：");
    Balance_Line(Lang[BalanceLang]);
}

// A group's label cell is joined over its rows, ending on the row above its
// subtotal row, whose own label must stay in view.
void HzReportEngine::Add_SubTotal2() {
    const int start = Start_Row2;
    bool subtotal = false;
    if (Rows() - start >= 2) {
        subtotal = Make_Row_Text(3, -1, 0);
        setText(Rows() - 1, St.Dim2_Col, "小计:");
    }
    if (start == Rows()) return;
    const int last = Rows() - 1 - (subtotal ? 1 : 0);
    const int col = Rep_Dim2() == HZ_Dim::Date ? St.Date_Col : St.Dim1_Col;
    merge(start, col, last, col);
}

void HzReportEngine::Add_SubTotal1() {
    const int start = Start_Row1;
    const bool dateSecond = Rep_Dim2() == HZ_Dim::Date;
    bool subtotal = false;
    if (Rows() - start >= 2) {
        subtotal = Make_Row_Text(2, -1, 0);
        const int last = Rows() - 1;
        if (dateSecond) {
            merge(last, St.Dim1_Col, last, St.Dim2_Col);
            setText(last, St.Dim1_Col, "小计：");
        } else {
            merge(last, St.Date_Col, last, St.Date_Col);
            setText(last, St.Date_Col, "小计：");
        }
    }
    if (start == Rows()) return;
    const int last = Rows() - 1 - (subtotal ? 1 : 0);
    const int col = dateSecond ? St.Dim1_Col : St.Date_Col;
    merge(start, col, last, col);
}

void HzReportEngine::Clear_Slot(std::int16_t k) {
    forEachValue([&](const hz::ItemDef& d, hz::Measure m) { V(d.item, m)[k] = 0; });
}

void HzReportEngine::Roll_Up_Slot() {
    forEachValue([&](const hz::ItemDef& d, hz::Measure m) {
        Slots& s = V(d.item, m);
        s[4] = Slot_Add(s[4], s[3]);
    });
}

void HzReportEngine::Diff_Slots(std::int16_t a, std::int16_t b, std::int16_t Caption_Col, std::int16_t c) {
    bool Differs = false;
    forEachValue([&](const hz::ItemDef& d, hz::Measure m) {
        Slots& value = V(d.item, m);
        Slots& test = V(d.item, hz::testOf(d, m));
        if (test[a] == test[b]) return;
        Differs = true;
        value[c] = Slot_Sub(value[a], value[b]);
        if (&test != &value) test[c] = Slot_Sub(test[a], test[b]);
    });
    // A difference only in a value the report does not show adds no row, and
    // then no caption may land on the row above.
    if (!Differs || !Make_Row_Text(c, 0, 0)) return;
    const int last = Rows() - 1;
    if (St.Date_Col > 0) {
        const std::string& cond = St.Group_Conds1(Idx1).Cond;
        const char T = Rep_T();
        // The day or month text inside "left(Date_Time,10)='...'" or "left(Date_Time,7)='...'".
        if (T == ReportDaily || T == ReportRange)
            setText(last, St.Date_Col, cond.size() > 20 ? cond.substr(20, 10) : "");
        else if (T == ReportMonthly)
            setText(last, St.Date_Col, cond.size() > 19 ? cond.substr(19, 7) : "");
    }
    setText(last, Caption_Col, Lang[OthersLang]);
}

bool HzReportEngine::Make_Row_Text(std::int16_t k, std::int16_t Show_Zero, std::int16_t Force) {
    if (k < 0 || k > 8) throw VbError(9, "Subscript out of range");
    const std::string& others = Lang[OthersLang];
    std::string& cap1 = Level1_Cap[static_cast<std::size_t>(k)];
    std::string& cap2 = Level2_Cap[static_cast<std::size_t>(k)];
    if (!cap1.empty() && cap2.empty()) cap2 = others;
    // Entry 0 of a condition array exists and is never filled.
    if (Idx2 <= St.Group_Conds2.UBound()) cap1 = Idx2 >= 1 ? St.Group_Conds2(Idx2).Caption : std::string();
    if (cap1.empty()) cap1 = others;

    std::string text;
    if (St.Date_Col > 0) text += Period_Cap[static_cast<std::size_t>(k)] + "\t";
    if (St.Dim1_Col > 0) text += cap1 + "\t";
    if (St.Dim2_Col > 0) text += cap2 + "\t";
    if (St.Date_Col == 0 && St.Dim1_Col == 0 && St.Dim2_Col == 0) text += "\t\t";

    // The shown columns in their order; meal orders have columns but no values.
    std::vector<std::pair<std::int64_t, std::pair<hz::Item, hz::Measure>>> shown;
    for (const hz::ItemDef& d : hz::items())
        for (int m = 0; m < hz::Measure_Count; ++m) {
            const auto measure = static_cast<hz::Measure>(m);
            if (St.Col(d.item, measure) > 0) shown.push_back({St.Col(d.item, measure), {d.item, measure}});
        }
    std::sort(shown.begin(), shown.end());

    bool NonZero = false;
    for (const auto& [col, value] : shown) {
        const hz::ItemDef& d = hz::def(value.first);
        const hz::Measure m = value.second;
        if (d.source == hz::Source::None) {
            text += "\t";
            continue;
        }
        const bool tested = V(d.item, hz::testOf(d, m))[k] != 0;
        NonZero = NonZero || tested;
        if (!tested && Show_Zero != -1) {
            text += "\t";
            continue;
        }
        const std::int64_t v = V(d.item, m)[k];
        if (m == hz::Money)
            text += Money_Text(d.side == hz::Side::Income ? v : Slot_Neg(v));
        else
            text += std::to_string(v);
        text += "\t";
    }
    if (!NonZero && Force != -1) return false;
    grid_.addRow(text);
    return true;
}

}  // namespace tolvenk
