// The two summaries: one pass over the transactions in the order of period,
// first and second group, one grid row per run, subtotal rows where a block
// holds several rows, and the total row.
#include <array>
#include <bitset>
#include <cmath>
#include <optional>
#include <vector>

#include "data/ChongHzStore.h"
#include "data/Globals.h"
#include "data/HzDimCode.h"
#include "data/TableColumns.h"
#include "data/XfTypeCode.h"
#include "lang/LangGlobals.h"
#include "platform/Error.h"
#include "platform/MoneyText.h"
#include "platform/services/Services.h"
#include "reports/statistics/XF_Chong_HZ.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

namespace K = Chong_HZ_Store;

constexpr int kMaxCols = 22;
const char* const kOther = "其它";
const char* const kSubtotal = "小计：";
using Sums = std::array<std::optional<std::int64_t>, kMaxCols>;

// The value columns of a mode and which of them hold counts, not money.
struct Layout {
    std::vector<int> values;
    std::bitset<kMaxCols> counts;
    bool emptyCountIsZero;  // a level's empty count shows "0" (computer) or nothing (terminal)
};

const Layout& computerLayout() {
    static const Layout l{{4, 5, 6, 9, 10}, std::bitset<kMaxCols>().set(6), true};
    return l;
}

const Layout& terminalLayout() {
    static const Layout l = [] {
        Layout t{{}, {}, false};
        for (int c = 4; c <= 21; ++c) t.values.push_back(c);
        for (int c : {5, 7, 10, 12, 14, 16, 18, 20}) t.counts.set(static_cast<std::size_t>(c));
        return t;
    }();
    return l;
}

std::int64_t checkedAdd(std::int64_t a, std::int64_t b) {
    std::int64_t r = 0;
    if (__builtin_add_overflow(a, b, &r)) throw VbError(6, "Overflow");
    return r;
}

std::int64_t checkedNeg(std::int64_t a) {
    std::int64_t r = 0;
    if (__builtin_sub_overflow(std::int64_t{0}, a, &r)) throw VbError(6, "Overflow");
    return r;
}

// A stored amount as a whole number; NULL counts as nothing moved.
std::int64_t whole(const db::Value& v) {
    if (v.isNull()) return 0;
    if (v.isInteger()) return v.asInteger();
    const double d = std::nearbyint(v.toDouble());
    if (!(std::fabs(d) < 9223372036854775808.0)) throw VbError(6, "Overflow");
    return static_cast<std::int64_t>(d);
}

struct Add {
    int col;
    std::int64_t v;
};
using Adds = std::vector<Add>;

// What a computer transaction adds: money from YuE_Change, times from YuCi_Change.
void computerAdds(int type, std::int64_t money, std::int64_t times, Adds& out) {
    namespace T = XF_Type_Code;
    switch (type) {
    case T::PcRecharge: out = {{4, money}, {9, money}}; break;
    case T::PcWithdraw: out = {{5, checkedNeg(money)}, {9, money}}; break;
    case T::PcTimesRecharge: out = {{6, times}}; break;
    case T::PcWaterTransfer: out = {{10, checkedNeg(money)}}; break;
    default: out.clear(); break;
    }
}

// What a terminal transaction adds; meals 1 to 5 have columns of their own.
void terminalAdds(int type, std::optional<std::int64_t> meal, std::int64_t money, std::int64_t times, Adds& out) {
    namespace T = XF_Type_Code;
    const bool ownMeal = meal && *meal >= 1 && *meal <= 5;
    const int m = ownMeal ? static_cast<int>(*meal) : 0;
    switch (type) {
    case T::Consume:
    case T::ConsumeCancel:
    case T::Refund: out = {{4, checkedNeg(money)}, {ownMeal ? m * 2 + 7 : 19, checkedNeg(money)}}; break;
    case T::TimesConsume: out = {{5, checkedNeg(times)}, {ownMeal ? m * 2 + 8 : 20, checkedNeg(times)}}; break;
    case T::Recharge:
    case T::RechargeCancel: out = {{6, money}}; break;
    case T::TimesRecharge:
    case T::TimesRechargeCancel: out = {{7, times}}; break;
    case T::Withdraw:
    case T::WithdrawCancel: out = {{8, checkedNeg(money)}}; break;
    case T::WaterTransfer: out = {{21, checkedNeg(money)}}; break;
    default: out.clear(); break;
    }
}

// The control break over the record set into the grid.
class Chong_Pass {
public:
    Chong_Pass(XF_Chong_HZ& w, const K::Statement& st, bool terminal, int mode1, int mode2, const Run_Lock& lock)
        : w_(w), g_(w.Grid1), st_(st), terminal_(terminal), layout_(terminal ? terminalLayout() : computerLayout()),
          mode1_(mode1), mode2_(mode2), level2_(st.key2 != K::kNoLevel), lock_(lock) {}

    // False when the window was closed meanwhile.
    bool Run(db::Recordset& rs) {
        const long n = rs.recordCount();
        if (n >= 1) {
            resolve(rs);
            w_.pBar3.setMax(static_cast<int>(std::min<long>(n + 1, INT32_MAX)));
            w_.pBar3.setValue(0);
            w_.pBar3.setVisible(true);
            rs.moveFirst();
            for (long i = 0; i < n; ++i, rs.moveNext()) {
                record(rs);
                if (w_.pBar3.Value() < w_.pBar3.Max()) w_.pBar3.setValue(w_.pBar3.Value() + 1);
                if (!lock_.Go_On()) return false;
            }
            closeGroup1();
            closeDate();
        }
        const int r = newRow();
        g_.Cell(r, 1).setText("总计：");
        writeLevel(r, grand_);
        g_.Range(r, 1, r, 3).Merge();
        return true;
    }

    const Sums& grand() const { return grand_; }

private:
    struct Group {
        std::string name, key;
    };

    int column(const db::Recordset& rs, const std::string& name) {
        const int i = rs.fieldIndex(name);
        if (i < 0) throw VbError(3265, "Item cannot be found in the collection [" + name + "]");
        return i;
    }

    void resolve(const db::Recordset& rs) {
        namespace X = col::Record_XF;
        period_ = column(rs, st_.period);
        key1_ = column(rs, st_.key1);
        if (level2_ && !st_.dateSecond) key2_ = column(rs, st_.key2);
        type_ = column(rs, X::XF_Type);
        money_ = column(rs, X::YuE_Change);
        times_ = column(rs, X::YuCi_Change);
        if (terminal_) meal_ = column(rs, X::XF_Meal);
    }

    // A value missing from the condition list, or missing altogether, is "other".
    Group group(const db::Recordset& rs, int field, int level, int mode) const {
        const db::Value& v = rs.field(field);
        if (v.isNull()) return {kOther, "-1"};
        Group gr;
        gr.name = w_.Find_Group_Name(v.toString(), level, gr.key, mode);
        return gr;
    }

    void record(const db::Recordset& rs) {
        const std::string period = rs.field(period_).toString();
        const Group g1 = group(rs, key1_, 0, mode1_);
        Group g2;
        if (st_.dateSecond) g2 = {period, period};
        else if (level2_) g2 = group(rs, key2_, 1, mode2_);

        if (!open_) {
            openDate(period, g1, g2);
            open_ = true;
        } else if (!st_.dateSecond && period != period_Text_) {
            closeGroup1();
            closeDate();
            openDate(period, g1, g2);
        } else if (g1.key != key1_Text_) {
            closeGroup1();
            openGroup1(g1, g2);
        } else if (level2_ && g2.key != key2_Text_) {
            newRow();
            openGroup2(g2);
        }

        const int type = static_cast<int>(whole(rs.field(type_)));
        const std::int64_t money = whole(rs.field(money_)), times = whole(rs.field(times_));
        if (terminal_) {
            const db::Value& meal = rs.field(meal_);
            terminalAdds(type, meal.isNull() ? std::nullopt : std::optional<std::int64_t>(whole(meal)), money, times,
                         adds_);
        } else {
            computerAdds(type, money, times, adds_);
        }
        for (const Add& a : adds_) add(a.col, a.v);
    }

    int newRow() {
        const int r = g_.Rows();
        g_.setRows(r + 1);
        return r;
    }
    int last() const { return g_.Rows() - 1; }

    void openDate(const std::string& period, const Group& g1, const Group& g2) {
        newRow();
        dateStart_ = last();
        if (!st_.dateSecond) g_.Cell(last(), 1).setText(period);
        period_Text_ = period;
        openGroup1(g1, g2, false);
    }

    void openGroup1(const Group& g1, const Group& g2, bool addRow = true) {
        if (addRow) newRow();
        start1_ = last();
        g_.Cell(last(), 2).setText(g1.name);
        key1_Text_ = g1.key;
        if (level2_) openGroup2(g2);
    }

    void openGroup2(const Group& g2) {
        g_.Cell(last(), 3).setText(g2.name);
        key2_Text_ = g2.key;
    }

    // A first-level block of several rows gets its subtotal, inside the
    // block's merged name cell and labelled in the second column.
    void closeGroup1() {
        if (level2_ && last() - start1_ >= 1) {
            const int r = newRow();
            g_.Cell(r, 3).setText(kSubtotal);
            writeLevel(r, group1_);
        }
        merge(start1_, 2, last());
        group1_ = {};
        ++closedGroups1_;
    }

    // A period holding several first-level blocks gets its subtotal below it.
    void closeDate() {
        if (st_.dateSecond) return;
        merge(dateStart_, 1, last());
        if (closedGroups1_ >= 2) {
            const int r = newRow();
            g_.Cell(r, 2).setText(kSubtotal);
            g_.Range(r, 2, r, 3).Merge();
            writeLevel(r, date_);
        }
        date_ = {};
        closedGroups1_ = 0;
    }

    void merge(int from, int c, int to) {
        if (to > from) g_.Range(from, c, to, c).Merge();
    }


    void writeLevel(int r, const Sums& s) {
        for (int c : layout_.values) {
            const auto& v = s[static_cast<std::size_t>(c)];
            std::string text;
            if (!layout_.counts[static_cast<std::size_t>(c)]) text = Money_Text(v.value_or(0));
            else if (v) text = std::to_string(*v);
            else if (layout_.emptyCountIsZero) text = "0";
            g_.Cell(r, c).setText(text);
        }
    }

    void add(int c, std::int64_t v) {
        if (rowOf_ != last()) {
            row_ = {};
            rowOf_ = last();
        }
        const auto i = static_cast<std::size_t>(c);
        for (Sums* s : {&row_, &date_, &group1_, &grand_}) (*s)[i] = checkedAdd((*s)[i].value_or(0), v);
        g_.Cell(rowOf_, c).setText(layout_.counts[i] ? std::to_string(*row_[i]) : Money_Text(*row_[i]));
    }

    XF_Chong_HZ& w_;
    forms::Grid& g_;
    const K::Statement& st_;
    bool terminal_;
    const Layout& layout_;
    int mode1_, mode2_;
    bool level2_;
    const Run_Lock& lock_;

    int period_ = -1, key1_ = -1, key2_ = -1, type_ = -1, money_ = -1, times_ = -1, meal_ = -1;
    bool open_ = false;
    std::string period_Text_, key1_Text_, key2_Text_;
    int dateStart_ = 1, start1_ = 1;
    int closedGroups1_ = 0;
    Sums row_{}, date_{}, group1_{}, grand_{};
    int rowOf_ = -1;
    Adds adds_;
};

bool isZeroOrEmpty(const std::optional<std::int64_t>& v) { return !v || *v == 0; }

// The columns after a summary: labels and values fitted, what nothing moved
// hidden. The terminal's name column 2 and the computer's transfer column 10
// keep the width the header gave them.
void Fit_Columns(XF_Chong_HZ& w, const K::Statement& st, bool terminal, const Sums& grand) {
    forms::Grid& g = w.Grid1;
    g.Column(1).setWidth(0);
    if (!st.dateSecond) g.Column(1).AutoFit();
    g.Column(3).setWidth(0);
    if (st.key2 != K::kNoLevel) {
        g.Column(3).AutoFit();
        g.Column(3).setAlignment(grid::AlignCenter);
    }
    if (terminal) {
        // Columns that nothing moved, or that net to nothing, are left out.
        for (int c = 4; c <= 21; ++c) {
            if (isZeroOrEmpty(grand[static_cast<std::size_t>(c)])) {
                g.Column(c).setWidth(0);
            } else {
                g.Column(c).AutoFit();
                g.Column(c).setAlignment(grid::AlignCenter);
            }
        }
        if (!Times_Switch_On(w.Ci_Config))
            for (int c : {5, 7, 10, 12, 14, 16, 18, 20}) g.Column(c).setWidth(0);
    } else {
        for (int c : {2, 4, 5, 6, 9}) g.Column(c).AutoFit();
        for (int c : {4, 5, 6}) g.Column(c).setAlignment(grid::AlignCenter);
        if (!Times_Switch_On(w.Ci_Config)) g.Column(6).setWidth(0);
    }
}

}  // namespace

void XF_Chong_HZ::Sum_By_Computer() { Run_Summary(false); }

Chong_HZ_Store::Request XF_Chong_HZ::Make_Request(bool terminal, bool months, const std::string& first,
                                                  const std::string& last, int (&modes)[2]) const {
    K::Request req;
    req.terminal = terminal;
    req.months = months;
    req.first = first;
    req.last = last;
    req.serverTexts = DB_Provider == "SQL";
    const forms::ComboBox* kinds[2] = {&Combo2, &Combo3};
    const forms::ComboBox* conds[2] = {&Combo1, &Combo4};
    K::Level* levels[2] = {&req.level1, &req.level2};
    for (int l = 0; l <= 1; ++l) {
        K::Level& lv = *levels[l];
        lv.kind = Chosen_Data(*kinds[l]);
        lv.value = Chosen_Data(*conds[l]);
        if (terminal && lv.kind == HZ_Dim::Cashier) {
            // The cashier is kept by its key, which the list holds beside the name.
            const int i = conds[l]->ListIndex();
            const auto& keys = Cond_Keys[static_cast<std::size_t>(l)];
            lv.oneCashier = i >= 1 && i < static_cast<int>(keys.size());
            if (lv.oneCashier) lv.cashier = keys[static_cast<std::size_t>(i)];
            modes[l] = 1;
        }
    }
    return req;
}
void XF_Chong_HZ::Sum_By_Terminal() { Run_Summary(true); }

void XF_Chong_HZ::Run_Summary(bool terminal) {
    if (running_) return;
    // A month report compares months: the days picked in them do not count.
    const bool months = !Option1(0).Value();
    const std::size_t part = months ? 7 : 10;
    const std::string first = DTPicker1.Date_Value().substr(0, part), last = DTPicker2.Date_Value().substr(0, part);
    if (first > last) {
        platform::services().msgBox(L(359), platform::vbExclamation, L(43));
        return;
    }

    // The run yields to the window: until it ends nothing may change what it reads.
    const Run_Lock lock(*this,
                        {&Command1, &Command2, &Command4(0), &Command4(1), &Command4(2), &Command4(3), &Frame1,
                         &Frame2, &Combo1, &Combo2, &Combo3, &Combo4},
                        running_);
    Grid1.setRedraw(false);
    Grid1.setRows(1);
    try {
        int modes[2] = {0, 0};
        const K::Request req = Make_Request(terminal, months, first, last, modes);
        const K::Statement st = K::Build(req);
        if (!st.sql.empty()) {
            Grid1.Cell(0, 2).setText(st.title1);
            const bool level2 = st.key2 != K::kNoLevel;
            if (level2) Grid1.Cell(0, 3).setText(st.title2);

            Sum_Rs.reset();
            Sum_Rs = K::Open(st.sql);
            const auto rows = Sum_Rs;  // closing the window mid-run lets go of Sum_Rs
            Grid1.Refresh();
            Chong_Pass pass(*this, st, terminal, modes[0], modes[1], lock);
            if (!pass.Run(*rows)) return;  // closed: the window is back in its design

            Fit_Columns(*this, st, terminal, pass.grand());
        }
    } catch (const std::exception& e) {
        if (lock.stopped()) return;
        Grid1.setRows(1);  // a run that failed shows none of its figures
        Show_Error(e);
    }
    Grid1.setRedraw(true);
    Grid1.Refresh();
    pBar3.setVisible(false);
}

}  // namespace tolvenk
