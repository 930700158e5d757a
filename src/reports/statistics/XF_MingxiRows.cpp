// The rows of the transaction detail: one per transaction, the kind named and
// coloured, per-kind sums, and the total rows of the chosen kind group.
#include <algorithm>
#include <charconv>
#include <chrono>
#include <climits>
#include <optional>
#include <cmath>
#include <cstdlib>

#include "data/Globals.h"
#include "data/TableColumns.h"
#include "data/XfTypeCode.h"
#include "platform/Error.h"
#include "platform/DateText.h"
#include "platform/MoneyText.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "reports/statistics/XF_Mingxi.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

constexpr forms::Colour kBlue = 0xFF0000;
constexpr forms::Colour kBlack = 0x000000;
constexpr forms::Colour kUncertainBack = 0x8080FF;
constexpr int kYieldEvery = 100;
constexpr int kLongAnswer = 50000;  // rows fitted without a look at the window
constexpr int kFitCells = 50000;    // cells fitted between two looks at the window

// Type_Sum slots.
constexpr int kPcRecharge = 0, kPcWithdraw = 1, kPcTimes = 2, kMachRecharge = 3, kMachWithdraw = 4, kMachTimes = 5;

// Grid columns of a detail row.
enum Col {
    ColMach = 1, ColDian, ColTime, ColAmount, ColTimes, ColBalance, ColTimesAfter, ColKind, ColUnit, ColName,
    ColCode, ColDept
};

// A stored amount in fen as money: exact for a whole number of any size, the
// overflow mark for what no count of fen can hold; without its sign when
// `magnitude`.
std::string moneyFen(const std::string& text, bool magnitude) {
    std::int64_t fen = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), fen);
    if (ec == std::errc() && end == text.data() + text.size())
        return Money_Sign + (magnitude ? centsMagnitude(fen) : centsText(fen));
    const double v = vbVal(text);
    return Money_Sign + centsText(magnitude ? std::fabs(v) : v);
}

// The name (its second column) of the first record whose identifier (its
// first column) is the same text.
std::string nameIn(const DataList& list, const char* idCol, const char* nameCol, const std::string& id) {
    if (list.rowUBound() < 1) return {};
    const int i = list.col(idCol), n = list.col(nameCol);
    for (int r = 1; r <= list.rowUBound(); ++r)
        if (list(r, i) == id) return list(r, n);
    return {};
}

// A running count plus a whole number read from text: error 6 when either
// leaves the 64-bit range, never a wrapped or undefined figure.
std::int64_t wholeSum(std::int64_t sum, double add) {
    const double r = std::trunc(add);
    std::int64_t result = 0;
    if (!(std::fabs(r) < 9223372036854775808.0) || __builtin_add_overflow(sum, static_cast<std::int64_t>(r), &result))
        throw VbError(6, "Overflow");
    return result;
}

std::int16_t kindCode(const std::string& text) {
    const double v = std::nearbyint(vbVal(text));
    // A code that does not fit is no kind of the table.
    return v >= INT16_MIN && v <= INT16_MAX ? static_cast<std::int16_t>(v) : std::int16_t{0};
}

}  // namespace

void XF_Mingxi::Clear_Totals(std::array<Exact_Sum, 6>& Sums) { Sums.fill(Exact_Sum()); }

int XF_Mingxi::Append_Row() {
    const int row = Grid1.Rows();
    Grid1.setRows(row + 1);
    Grid1.Cell(row, 0).setText(std::to_string(row));  // the grid numbers its rows
    return row;
}

void XF_Mingxi::Fill_Mingxi_Grid(db::RowCursor* rows) {
    Grid1.setRows(1);
    Grid1.setRedraw(false);
    Detail_Rows = 0;
    if (rows) {
        namespace X = col::Record_XF;
        const db::RowCursor& d = *rows;
        cols_ = {d.fieldIndex(X::Date_Time), d.fieldIndex(X::YuE_Change), d.fieldIndex(X::YuCi_Change),
                 d.fieldIndex(X::YuCi_New),  d.fieldIndex(X::YuE_New),    d.fieldIndex(X::XF_Type),
                 d.fieldIndex(X::Pinfo_id),  d.fieldIndex(X::XF_Dian_ID), d.fieldIndex(X::Mach_ID),
                 d.fieldIndex(X::XF_Unit),   d.fieldIndex(X::Err_Code)};
        if (!Emp_Path) {
            cols_.name = d.fieldIndex(col::Ren_Per_Info::P_Name);
            cols_.code = d.fieldIndex(col::Ren_Per_Info::P_Code);
            cols_.dept = d.fieldIndex(col::Ren_Dept_Info::Dept_Name);
        }
        Bar1.setMax(0);
        // A read that finds no row for a while (one person's among millions)
        // lets the window's events through meanwhile.
        rows->whileWaiting([this] {
            Paint_Held_Grids(*this);
            platform::services().yield();
            return Loaded();
        });
        for (std::int64_t i = 1; rows->next() && Loaded(); ++i) {
            Detail_Rows = i;
            if (i > Bar1.Max() || i % kYieldEvery == 0) Estimate_Bar(i, d.field(cols_.date).toString());
            Bar1.setValue(static_cast<int>(std::min<std::int64_t>(i, INT32_MAX)));
            Fill_Row(Append_Row(), d);
            if (i % kYieldEvery == 0) {
                Paint_Held_Grids(*this);
                platform::services().yield();
                if (!Loaded()) return;  // closed meanwhile: its grid is gone
            }
        }
        if (!Loaded()) return;  // closed while the read waited for rows
    }
    Grid1.setRedraw(true);
    Add_Total_Rows();
    // Fitted after the totals, which are often the widest cells. Column 0
    // holds the row numbers, which the grid sizes to fit as well.
    // All columns in one pass over the rows, which a long answer keeps
    // mostly on disk; the window answers every so many cells of it.
    if (Detail_Rows < kLongAnswer) {
        Grid1.AutoFit_Shown(Grid1.Rows() + 1, {});
    } else {
        Grid1.AutoFit_Shown(kFitCells / Grid1.Cols(), [this] { return Go_On_Reading(*this); });
        if (!Loaded()) return;  // closed meanwhile: its grid is gone
    }
    Grid1.Refresh();
}

namespace {

// Seconds since 1970 of a "yyyy-MM-dd hh:mm:ss" text; nothing for another shape.
std::optional<std::int64_t> secondsOf(const std::string& at) {
    const auto day = readDate(at.substr(0, 10));
    if (!day || at.size() < 19) return std::nullopt;
    const auto part = [&](std::size_t p) { return std::atoi(at.substr(p, 2).c_str()); };
    return std::chrono::sys_days(*day).time_since_epoch().count() * 86400LL + part(11) * 3600 + part(14) * 60 + part(17);
}

}  // namespace

// The rows come in time order: the share of the period they have reached
// tells how many there will be, about.
void XF_Mingxi::Estimate_Bar(std::int64_t row, const std::string& at) {
    std::int64_t end = row + kYieldEvery;
    const auto now = secondsOf(at);
    if (now && periodSeconds_ > 0 && *now > periodStart_)
        end = std::max(end, row * periodSeconds_ / std::max<std::int64_t>(*now - periodStart_, 1));
    Bar1.setMax(static_cast<int>(std::min<std::int64_t>(end, INT32_MAX)));
}

void XF_Mingxi::Fill_Row(int row, const db::RowCursor& d) {
    auto cell = [&](int c) { return Grid1.Cell(row, c); };
    // A field as the query's text list held it.
    const auto text = [&](int col) { return d.field(col).toString(); };

    cell(ColTime).setText(text(cols_.date));

    rowChange_ = text(cols_.change);
    rowTimes_ = text(cols_.times);
    const double change = vbVal(rowChange_);
    if (change != 0) {
        cell(ColAmount).setText(moneyFen(rowChange_, true));
        Sum_JinE.add(rowChange_);
    }
    const double times = vbVal(rowTimes_);
    if (times != 0) {
        cell(ColTimes).setText(formatReal(std::fabs(times)));
        Sum_Ci = wholeSum(Sum_Ci, times);
    }
    const std::string timesAfter = text(cols_.timesAfter);
    if (vbVal(timesAfter) != 0) cell(ColTimesAfter).setText(timesAfter);
    const std::string balanceText = text(cols_.balance);
    const double balance = vbVal(balanceText);
    if (balance != 0) cell(ColBalance).setText(moneyFen(balanceText, false));

    const std::int16_t code = kindCode(text(cols_.kind));
    cell(ColKind).setText(Get_Type_Name(code));

    std::string name, empCode, dept;
    if (!Emp_Path) {
        name = text(cols_.name);
        empCode = text(cols_.code);
        dept = text(cols_.dept);
    } else if (const auto id = parseNumber(text(cols_.person)); id && Rs_Emp) {
        Rs_Emp->setFilter("Pinfo_Id= " + sqlNumber(std::round(*id)));
        if (Rs_Emp->recordCount() > 0) {
            name = Rs_Emp->field("P_Name").toString();
            empCode = Rs_Emp->field("P_Code").toString();
            dept = Rs_Emp->field("Dept_Name").toString();
        }
    }
    cell(ColName).setText(name);
    cell(ColCode).setText(empCode);
    cell(ColDept).setText(dept);

    cell(ColDian).setText(nameIn(Dian_List, col::XF_Dian_Info::XF_Dian_ID, col::XF_Dian_Info::XF_Dian_Name, text(cols_.dian)));
    cell(ColMach).setText(nameIn(Mach_List, col::Mach_Info::Mach_ID, col::Mach_Info::Mach_Name, text(cols_.mach)));
    cell(ColUnit).setText(nameIn(Unit_List, col::XF_Unit_Info::XF_Unit_ID, col::XF_Unit_Info::XF_Unit_Name, text(cols_.unit)));

    if (vbVal(text(cols_.err)) != 0)
        Grid1.Range(row, 1, row, Grid1.Cols() - 1).setBackColor(kUncertainBack);
}

std::string XF_Mingxi::Get_Type_Name(const std::int16_t& Code) {
    namespace T = XF_Type_Code;
    const int row = Grid1.Rows() - 1;
    auto kindCell = Grid1.Cell(row, ColKind);
    kindCell.setForeColor(kBlue);

    // The row's stored amount and count as it shows them: without their sign.
    const auto add = [&](int slot, const std::string& stored) {
        if (vbVal(stored) != 0) Type_Sum[static_cast<std::size_t>(slot)].add(stored, true);
    };

    switch (Code) {
    case T::Consume:
    case T::IssueCard: kindCell.setForeColor(kBlack); break;
    case T::Recharge:
        kindCell.setForeColor(kBlack);
        add(kMachRecharge, rowChange_);
        break;
    case T::TimesRecharge: add(kMachTimes, rowTimes_); break;
    case T::Withdraw: add(kMachWithdraw, rowChange_); break;
    case T::PcRecharge:
    case T::ProfitLossRecharge:
        kindCell.setForeColor(kBlack);
        add(kPcRecharge, rowChange_);
        break;
    case T::PcWithdraw: add(kPcWithdraw, rowChange_); break;
    case T::PcTimesRecharge: add(kPcTimes, rowTimes_); break;
    default: break;
    }
    // Settlement rows are never named here.
    return Code == T::Settlement ? std::string() : T::name(Code);
}

void XF_Mingxi::Add_Total_Rows() {
    switch (Chosen_Group()) {
    case 1: {
        const int row = Append_Row();
        Grid1.Cell(row, ColTime).setText("合计消费:");
        Grid1.Cell(row, ColAmount).setText(Money_Text(Sum_JinE, true));
        Grid1.Cell(row, ColTimes).setText("合计次数:");
        Grid1.Cell(row, ColBalance).setText(std::to_string(Sum_Ci) + " 次");
        Grid1.Cell(row, ColTimesAfter).setText("合计笔数:");
        Grid1.Cell(row, ColKind).setText(std::to_string(Grid1.Rows() - 2) + " 笔");
        break;
    }
    case 2: {
        struct Line {
            int box;
            const char* label;
            int slot;
            bool isMoney;
        };
        static const Line lines[] = {
            {6, "合计电脑充值:", kPcRecharge, true},   {5, "合计电脑取款:", kPcWithdraw, true},
            {10, "合计电脑充次:", kPcTimes, false},    {9, "合计机器充值:", kMachRecharge, true},
            {8, "合计机器取款:", kMachWithdraw, true}, {7, "合计机器充次:", kMachTimes, false},
        };
        for (const Line& l : lines) {
            const Exact_Sum& sum = Type_Sum[static_cast<std::size_t>(l.slot)];
            if (chkType(l.box).Value() != forms::vbChecked || sum.isZero()) continue;
            const int row = Append_Row();
            Grid1.Cell(row, ColTime).setText(l.label);
            // Every amount was summed as shown, withdrawals as positive amounts.
            Grid1.Cell(row, ColAmount).setText(l.isMoney ? Money_Text(sum) : sum.whole());
        }
        break;
    }
    case 3: {
        const int row = Append_Row();
        Grid1.Cell(row, ColTime).setText("合计补贴:");
        Grid1.Cell(row, ColAmount).setText(Money_Text(Sum_JinE));
        break;
    }
    default: break;  // all kinds and balance handling have no total row
    }
}

}  // namespace tolvenk
