// The run of the employee statistics: the period's records summed by the
// engine per employee, day or month, kind and meal, added up per employee and
// period as the groups come, then one row for each and the total row.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <optional>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <initializer_list>

#include "data/TableColumns.h"
#include "data/XfTypeCode.h"
#include "lang/LangGlobals.h"
#include "platform/DateText.h"
#include "platform/FenMath.h"
#include "platform/MoneyText.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "reports/statistics/XF_Cha_HZ_Ren.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

// Kind groups of the period query, in the order a record is tested.
bool in(int code, std::initializer_list<int> kinds) {
    for (int k : kinds)
        if (k == code) return true;
    return false;
}

std::int64_t whole(const db::Value& v) { return v.isNull() ? 0 : v.toInt64(); }

// Every meal that is not one of the five segments counts as "other".
std::size_t mealSlot(const db::Value& v) {
    if (v.isNull()) return 0;
    const std::int64_t m = v.toInt64();
    return m >= 1 && m <= 5 ? static_cast<std::size_t>(m) : 0;
}

// A stored amount or count as it is; NULL is 0, and one that is no whole
// 64-bit number leaves every sum it goes into the overflow mark.
Exact_Sum stored(const db::Value& v) {
    Exact_Sum s;
    if (const auto n = storedFen(v)) s.add(*n);
    else s.addUnknown();
    return s;
}

}  // namespace

void XF_Cha_HZ_Ren::Emp_Sums::add(const Emp_Sums& o) {
    Money.add(o.Money);
    Count.add(o.Count);
    Times.add(o.Times);
    Recharge.add(o.Recharge);
    Recharge_Times.add(o.Recharge_Times);
    Withdraw.add(o.Withdraw);
    Transfer.add(o.Transfer);
    for (std::size_t k = 0; k < Meal_Money.size(); ++k) {
        Meal_Money[k].add(o.Meal_Money[k]);
        Meal_Times[k].add(o.Meal_Times[k]);
    }
}

void XF_Cha_HZ_Ren::Emp_Periods::list(std::int64_t id) {
    if (slots_.try_emplace(id, periods_.size()).second) periods_.emplace_back();
}

XF_Cha_HZ_Ren::Emp_Sums* XF_Cha_HZ_Ren::Emp_Periods::at(std::int64_t id, std::size_t period) {
    const auto slot = slots_.find(id);
    if (slot == slots_.end()) return nullptr;
    const std::uint64_t key = (static_cast<std::uint64_t>(slot->second) << 32) | static_cast<std::uint32_t>(period);
    const auto [it, fresh] = sumsAt_.try_emplace(key, sums_.size());
    if (fresh) {
        sums_.emplace_back();
        periods_[slot->second].emplace_back(period, it->second);
    }
    return &sums_[it->second];
}

std::vector<std::pair<std::size_t, const XF_Cha_HZ_Ren::Emp_Sums*>> XF_Cha_HZ_Ren::Emp_Periods::of(
    std::int64_t id) const {
    std::vector<std::pair<std::size_t, const Emp_Sums*>> out;
    const auto slot = slots_.find(id);
    if (slot == slots_.end()) return out;
    for (const auto& [period, at] : periods_[slot->second]) out.emplace_back(period, &sums_[at]);
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return out;
}

void XF_Cha_HZ_Ren::Emp_Periods::releaseAside() {
    try {
        std::thread([gone = std::move(*this)] {}).detach();
    } catch (const std::system_error&) {
        // No thread to be had: freed here, as before.
    }
    *this = Emp_Periods();
}

void XF_Cha_HZ_Ren::Emp_Periods::clearSums() {
    sumsAt_.clear();
    sums_.clear();
    for (auto& p : periods_) p.clear();
}

void XF_Cha_HZ_Ren::Command1_Click() {
    if (running_) return;
    // The period is whole days, or whole months in the month report: a later
    // time of day, or a later day of the same month, is no error.
    const std::size_t part = Option1(1).Value() ? 7 : 10;
    if (DTPicker1.Date_Value().substr(0, part) > DTPicker2.Date_Value().substr(0, part)) {
        platform::services().msgBox(L(359), platform::vbExclamation, L(43));
        return;
    }
    // The run yields to the window; until it ends nothing that would start or
    // change a run takes clicks. Closing the window stops it.
    Run_Lock lock(*this,
                        {&Command1, &Command4(0), &Command4(1), &Command4(2), &Command4(3), &Frame2, &DTPicker1,
                         &DTPicker2, &Check1, &Check2, &Check3, &Check4, &ucDep1.Frame1},
                        running_);

    Init_Emp_Grid();
    if (ucDep1.Get_Sel(Sel_DeptNo, Sel_Name, Sel_Code, Sel_PNum) == 0) return;
    lock.Hold_Redraw(Grid1);
    lock.Show_Panel(Pic_1);
    Emp_List = BT.Get_Emp_Check(Sel_DeptNo, Sel_Name, Sel_Code, "");
    if (Option1(0).Value()) Sum_Emp_Days();
    else if (Option1(1).Value()) Sum_Emp_Months();
    else if (Option1(2).Value()) Sum_Emp_Range();
}

namespace {

constexpr std::int64_t kYieldRows = 1000;  // records read between looks at the window
constexpr std::int64_t kYieldGroups = 100;  // groups read between looks at the clock
// Shown before the rest of the period is read: rows enough for a screen, of
// a few employees at most (each read is a walk of his rows over the whole
// table, which a busy disk makes slow; the rest of the period is read in
// the table's order).
constexpr int kFirstRows = 30, kFirstEmployees = 3;

// An identifier as the list or a record holds it, when it is a whole number.
std::optional<std::int64_t> wholeId(double v) {
    if (!(std::fabs(v) < 9.2e18) || v != std::trunc(v)) return std::nullopt;
    return static_cast<std::int64_t>(v);
}

std::optional<std::int64_t> recordId(const db::Value& v) {
    if (v.isInteger()) return v.asInteger();
    if (v.isReal()) return wholeId(v.asReal());
    if (v.isText()) {
        if (const auto n = parseNumber(v.asText())) return wholeId(*n);
    }
    return std::nullopt;
}

}  // namespace

bool XF_Cha_HZ_Ren::Run_Employees(const std::string& from, const std::string& to,
                                  const std::vector<std::string>& periods, std::size_t keyLength) {
    Bar1.setValue(0);
    Refresh();
    Total = Emp_Sums();

    // Each listed employee's sums per period, only for periods with records:
    // bounded by employees and periods, never by the records.
    const int n = Emp_List.rowUBound();
    Emp_Run run{std::vector<std::optional<std::int64_t>>(static_cast<std::size_t>(std::max(n, 0)) + 1), periods, {}, 0};
    for (int i = 1; i <= n; ++i) {
        sqlNumberText(Emp_List(i, 0));  // an identifier that is no number fails as a filter on it would
        auto& id = run.listed[static_cast<std::size_t>(i)];
        id = wholeId(*parseNumber(Emp_List(i, 0)));
        if (id) run.sums.list(*id);
    }
    Period_Index periodAt;
    for (std::size_t k = 0; k < periods.size(); ++k) periodAt.emplace(periods[k], k);
    Bar1.setMax(std::max(n, 0));

    // Past 64 bits the engine fails a sum (or hands over a wider number); the
    // record path sums such figures exactly, so the run starts over on it.
    Read_End end = Read_End::Too_Wide;
    {
        // The run's reads see one state of the database, where the engine
        // keeps one without holding writers out.
        db::ReadSnapshot snapshot(Main_Connection());
        try {
            end = Read_Groups(snapshot.connection(), from, to, keyLength, periodAt, run);
        } catch (const db::DbError& e) {
            if (std::string_view(e.what()).find("integer overflow") == std::string_view::npos) throw;
        }
    }
    if (end == Read_End::Too_Wide) {
        Grid1.setRows(1);
        Total = Emp_Sums();
        run.shown = 0;
        run.sums.clearSums();
        end = Read_Records(from, to, keyLength, periodAt, run.sums);
    }
    // Closed meanwhile: its grid is gone.
    const bool shown = end != Read_End::Closed && Show_Employees(run, n);
    run.sums.releaseAside();
    if (!shown || !Add_Emp_Totals() || !Set_Emp_Cols()) return false;
    Pic_1.setVisible(false);
    return true;
}

bool XF_Cha_HZ_Ren::Show_Employees(Emp_Run& run, int upTo) {
    for (int& i = run.shown; i < upTo;) {
        ++i;
        if (const auto& id = run.listed[static_cast<std::size_t>(i)])
            for (const auto& [period, s] : run.sums.of(*id)) Fill_Emp_Row(i, run.periods[period], *s);
        Bar1.setValue(i);
        if (!Go_On_Reading(*this)) return false;
    }
    return true;
}

namespace {

// A sum the engine gives as a whole 64-bit number (NULL when it had only NULLs).
std::optional<Exact_Sum> groupSum(const db::Value& v) {
    Exact_Sum s;
    if (v.isNull()) return s;
    if (!v.isInteger()) return std::nullopt;
    s.add(v.asInteger());
    return s;
}

}  // namespace

// The first rows show at once: the first employees' sums are read one
// employee at a time along the person index, a few thousandths of a second
// each. The rest of the period is read in time order, as a scan reads
// fastest, and its groups of employees already shown are left out.
XF_Cha_HZ_Ren::Read_End XF_Cha_HZ_Ren::Read_Groups(db::Connection& on, const std::string& from, const std::string& to,
                                                   std::size_t keyLength, const Period_Index& periodAt, Emp_Run& run) {
    const int n = Emp_List.rowUBound();
    std::unordered_set<std::int64_t> read;
    while (run.shown < std::min(n, kFirstEmployees) && Grid1.Rows() - 1 < kFirstRows) {
        const auto& id = run.listed[static_cast<std::size_t>(run.shown) + 1];
        if (id && read.insert(*id).second) {
            const auto rows = XF.Get_XF_Info5_Sums(on, from, to, keyLength, {*id});
            if (const Read_End e = Add_Groups(*rows, keyLength, periodAt, run.sums, {}); e != Read_End::Done) return e;
        }
        if (!Show_Employees(run, run.shown + 1)) return Read_End::Closed;
    }
    if (run.shown >= n) return Read_End::Done;
    const auto rows = XF.Get_XF_Info5_Sums(on, from, to, keyLength, {});
    rows->whileWaiting([this] { return Go_On_Reading(*this); });
    return Add_Groups(*rows, keyLength, periodAt, run.sums, read);
}

XF_Cha_HZ_Ren::Read_End XF_Cha_HZ_Ren::Add_Groups(db::RowCursor& rows, std::size_t keyLength,
                                                  const Period_Index& periodAt, Emp_Periods& sums,
                                                  const std::unordered_set<std::int64_t>& skip) {
    const int person = rows.fieldIndex("PInfo_id"), date = keyLength > 0 ? rows.fieldIndex("P") : -1,
              type = rows.fieldIndex("XF_Type"), meal = rows.fieldIndex("XF_Meal"), count = rows.fieldIndex("N"),
              money = rows.fieldIndex("MS"), times = rows.fieldIndex("TS");
    std::int64_t read = 0;
    while (rows.next()) {
        if (++read % kYieldGroups == 0 && !Go_On_Reading(*this)) return Read_End::Closed;
        const auto id = recordId(rows.field(person));
        if (!id || skip.count(*id)) continue;
        std::size_t period = 0;
        if (keyLength > 0) {
            const db::Value& key = rows.field(date);
            if (key.isNull()) continue;
            const auto p = periodAt.find(key.toString());
            if (p == periodAt.end()) continue;
            period = p->second;
        }
        Emp_Sums* at = sums.at(*id, period);
        if (!at) continue;
        const auto m = groupSum(rows.field(money)), t = groupSum(rows.field(times));
        if (!m || !t) return Read_End::Too_Wide;
        Add_Kind(*at, static_cast<int>(whole(rows.field(type))), rows.field(meal), whole(rows.field(count)), *m, *t);
    }
    if (!Loaded()) return Read_End::Closed;  // a wait for rows saw the window close
    return Read_End::Done;
}

XF_Cha_HZ_Ren::Read_End XF_Cha_HZ_Ren::Read_Records(const std::string& from, const std::string& to,
                                                    std::size_t keyLength, const Period_Index& periodAt,
                                                    Emp_Periods& sums) {
    const auto rows = XF.Get_XF_Info5_Rows(from, to);
    namespace X = col::Record_XF;
    fields_ = {rows->fieldIndex(X::Pinfo_id), rows->fieldIndex(X::Date_Time),  rows->fieldIndex(X::XF_Type),
               rows->fieldIndex(X::YuE_Change), rows->fieldIndex(X::YuCi_Change), rows->fieldIndex(X::XF_Meal)};
    std::int64_t read = 0;
    while (rows->next()) {
        if (++read % kYieldRows == 0 && !Go_On_Reading(*this)) return Read_End::Closed;
        const auto id = recordId(rows->field(fields_.person));
        if (!id) continue;
        std::size_t period = 0;
        if (keyLength > 0) {
            const db::Value& date = rows->field(fields_.date);
            if (date.isNull()) continue;
            const auto at = periodAt.find(date.toString().substr(0, keyLength));
            if (at == periodAt.end()) continue;
            period = at->second;
        }
        if (Emp_Sums* at = sums.at(*id, period)) Add_Record(*at, *rows);
    }
    return Read_End::Done;
}

void XF_Cha_HZ_Ren::Sum_Emp_Days() {
    Cur_Period = DTPicker1.Date_Value();
    Last_Period = DTPicker2.Date_Value();
    std::vector<std::string> days;
    for (auto d = *readDate(Cur_Period); formatDate(d) <= Last_Period; d = addDays(d, 1)) days.push_back(formatDate(d));
    Run_Employees(Cur_Period, Last_Period + " 24", days, 10);
}

void XF_Cha_HZ_Ren::Sum_Emp_Months() {
    Cur_Period = DTPicker1.Date_Value().substr(0, 7);
    Last_Period = DTPicker2.Date_Value().substr(0, 7);
    const std::chrono::year_month first{std::chrono::year{DTPicker1.Date_Year()},
                                        std::chrono::month{static_cast<unsigned>(DTPicker1.Date_Month())}};
    std::vector<std::string> months;
    for (auto m = first;; m += std::chrono::months{1}) {
        const std::string month = formatMonth(static_cast<int>(m.year()), static_cast<unsigned>(m.month()));
        if (month > Last_Period) break;
        months.push_back(month);
    }
    Run_Employees(Cur_Period + "-01", Last_Period + "-32", months, 7);
}

void XF_Cha_HZ_Ren::Sum_Emp_Range() {
    Cur_Period = DTPicker1.Date_Value() + " 00:00:00";
    Last_Period = DTPicker2.Date_Value() + " 23:59:59";
    Run_Employees(Cur_Period, Last_Period, {Cur_Period}, 0);
}

int XF_Cha_HZ_Ren::Append_Row() {
    const int row = Grid1.Rows();
    Grid1.setRows(row + 1);
    Grid1.Cell(row, 0).setText(std::to_string(row));  // the grid numbers its rows
    return row;
}

void XF_Cha_HZ_Ren::Add_Record(Emp_Sums& s, const db::RowCursor& rows) const {
    Add_Kind(s, static_cast<int>(whole(rows.field(fields_.type))), rows.field(fields_.meal), 1,
             stored(rows.field(fields_.money)), stored(rows.field(fields_.times)));
}

// A consumption group counts its records; a record is a group of one.
void XF_Cha_HZ_Ren::Add_Kind(Emp_Sums& s, int type, const db::Value& meal, std::int64_t count, const Exact_Sum& money,
                             const Exact_Sum& times) {
    namespace T = XF_Type_Code;
    if (in(type, {T::Consume, T::ConsumeCancel, T::Refund, T::ProfitLoss})) {
        s.Money.add(money);
        s.Count.add(count);
        s.Meal_Money[mealSlot(meal)].add(money);
    } else if (type == T::TimesConsume) {
        s.Times.add(times);
        s.Meal_Times[mealSlot(meal)].add(times);
    } else if (in(type, {T::Recharge, T::RechargeCancel, T::PcRecharge, T::ProfitLossRecharge})) {
        s.Recharge.add(money);
    } else if (in(type, {T::TimesRecharge, T::TimesRechargeCancel, T::PcTimesRecharge})) {
        s.Recharge_Times.add(times);
    } else if (in(type, {T::Withdraw, T::WithdrawCancel, T::PcWithdraw})) {
        s.Withdraw.add(money);
    } else if (in(type, {T::PcWaterTransfer, T::WaterTransfer})) {
        s.Transfer.add(money);
    }
}

void XF_Cha_HZ_Ren::Fill_Emp_Row(int i, const std::string& period, const Emp_Sums& s) {
    const int row = Append_Row();
    Grid1.Cell(row, 1).setText(Emp_List(i, 1));
    Grid1.Cell(row, 2).setText(Emp_List(i, 2));
    Grid1.Cell(row, 3).setText(Emp_List(i, 3));
    Grid1.Cell(row, 4).setText(Emp_List(i, 4));
    Grid1.Cell(row, 5).setText(period);
    Write_Sums(row, s);
    Total.add(s);
}

// Consumption, withdrawals and transfers are stored negative and shown as
// spent; recharges as stored.
void XF_Cha_HZ_Ren::Write_Sums(int row, const Emp_Sums& s) {
    auto cell = [&](int c, const std::string& t) { Grid1.Cell(row, c).setText(t); };
    Exact_Sum balance = s.Recharge;
    balance.add(s.Withdraw);
    cell(6, s.Money.cents(true));
    cell(7, s.Count.whole());
    cell(8, s.Times.whole(true));
    cell(9, s.Recharge.cents());
    cell(10, s.Recharge_Times.whole());
    cell(11, s.Withdraw.cents(true));
    cell(12, balance.cents());
    for (int k = 1; k <= 5; ++k) {
        cell(11 + 2 * k, s.Meal_Money[static_cast<std::size_t>(k)].cents(true));
        cell(12 + 2 * k, s.Meal_Times[static_cast<std::size_t>(k)].whole(true));
    }
    cell(23, s.Meal_Money[0].cents(true));
    cell(24, s.Meal_Times[0].whole(true));
    cell(25, s.Transfer.cents(true));
}

// The columns are fitted after, once the columns not shown are hidden.
bool XF_Cha_HZ_Ren::Add_Emp_Totals() {
    const int T = Append_Row();
    Grid1.Range(T, 1, T, 5).Merge();
    Grid1.Cell(T, 1).setText("总计:");
    Write_Sums(T, Total);
    return Merge_Employees(T);
}

// Rows of one employee code share one block in each of columns 1 to 4. A
// block starts on a data row, which carries the name it shows, and never
// takes in the header or the total row, whatever code they hold.
bool XF_Cha_HZ_Ren::Merge_Employees(int totalRow) {
    int start = 1;
    std::string code = Grid1.Cell(start, 2).Text();
    for (int r = 2; r <= totalRow; ++r) {
        // A row's cells may come back from the grid's page file: a look at the clock each hundred rows.
        if (r % 100 == 0 && !Go_On_Reading(*this)) return false;
        std::string at = r < totalRow ? Grid1.Cell(r, 2).Text() : std::string();
        if (r < totalRow && at == code) continue;
        if (r - 1 > start)
            for (int c = 1; c <= 4; ++c) Grid1.Range(start, c, r - 1, c).Merge();
        start = r;
        code = std::move(at);
    }
    return true;
}

}  // namespace tolvenk
