#include "reports/summary/HzFigures.h"

#include <set>
#include <stdexcept>

#include "data/HzDimCode.h"
#include "data/HzRepFormat.h"
#include "data/HzReportSql.h"
#include "platform/db/AsciiCase.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "reports/summary/HzSlots.h"

namespace tolvenk {

namespace {

bool keyed(int dim) { return dim >= HZ_Dim::Place && dim <= HZ_Dim::Operator; }

// Codes are grouped as plain text, byte for byte: a server hashes and sorts a
// case-blind code far slower, and the figures stay the same, since codes that
// differ only in case land in separate lines that the same conditions select
// (keyOk compares without regard to case).
std::string recordKey(int dim) {
    switch (dim) {
    case HZ_Dim::Place: return "Record_XF.XF_Dian_ID";
    case HZ_Dim::Mach: return "Record_XF.Mach_ID";
    case HZ_Dim::Cashier: return "CAST(Record_XF.Shou_Kuan AS text)";
    case HZ_Dim::Unit: return "Record_XF.XF_Unit";
    case HZ_Dim::CardType: return "Record_XF.C_LeiBie";
    case HZ_Dim::Dept: return "CAST(Ren_Per_Info.Dept_No AS text)";
    case HZ_Dim::Operator: return "Record_XF.Operator_id";
    default: return "";
    }
}

std::string feeKey(int dim) {
    switch (dim) {
    case HZ_Dim::CardType: return "Card_Log.C_LeiBie";
    case HZ_Dim::Dept: return "CAST(Ren_Per_Info.Dept_No AS text)";
    default: return "";
    }
}

std::int64_t whole(const db::Value& v) { return v.isNull() ? 0 : Whole_Of(v); }

bool startsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && equalsNoCase(std::string_view(text).substr(0, prefix.size()), prefix);
}

// The period array of the report: the days or months of its first or second level.
const Group_Conds& periods(const HzReportState& st) {
    return HZ_Rep_Format{"", st.Rep_P2, "", "", ""}.dim2() == HZ_Dim::Date ? st.Group_Conds2 : st.Group_Conds1;
}

// The kinds the shown items and the existence test read, "" for every kind:
// an existence test without covered kinds takes every kind.
std::string kindList(const HzReportState& st, bool secondLevel) {
    std::set<int> kinds(st.Covered_Kinds.begin(), st.Covered_Kinds.end());
    for (const hz::ItemDef& d : hz::items()) {
        if (d.source != hz::Source::Record_XF || st.Col(d.gate, hz::Money) <= 0) continue;
        kinds.insert(d.moneyKinds.begin(), d.moneyKinds.end());
        kinds.insert(d.timesKinds.begin(), d.timesKinds.end());
    }
    if (kinds.empty() || (secondLevel && st.Covered_Kinds.empty())) return "";
    std::string list;
    for (int k : kinds) list += (list.empty() ? "" : ",") + std::to_string(k);
    return list;
}

}  // namespace

std::size_t HzFigures::Key_Of(int which, const db::Recordset& rs, const char* name) {
    Key k;
    const db::Value& v = rs.field(name);
    k.null = v.isNull();
    if (!k.null) {
        k.text = v.toString();
        k.numeric = v.isInteger() || v.isReal();
        if (k.numeric) k.number = v.toDouble();
    }
    return keyIndex(which, k);
}

void HzFigures::Read_Fees(db::Recordset& rs) {
    for (; !rs.eof(); rs.moveNext()) {
        const db::Value& period = rs.field("P");
        if (period.isNull()) continue;
        Fee_Line l;
        l.period = period.toString();
        l.key1 = Key_Of(0, rs, "K1");
        l.key2 = Key_Of(1, rs, "K2");
        l.op = static_cast<int>(rs.field("O").toInt64());
        l.rows = whole(rs.field("N"));
        for (int c = 0; c < 3; ++c) {
            l.sum[c] = whole(rs.field("S" + std::to_string(c)));
            l.cnt[c] = whole(rs.field("C" + std::to_string(c)));
        }
        feesByPeriod_[l.period].push_back(fees_.size());
        fees_.push_back(std::move(l));
    }
}

bool HzFigures::Eligible(const HzReportState& st, bool fees) {
    const HZ_Rep_Format f{"", st.Rep_P2, "", "", ""};
    const char t = f.type();
    const int a = f.dim1(), b = f.dim2();
    if (t != ReportDaily && t != ReportMonthly && t != ReportRange) return false;
    if (!(a == 0 || keyed(a) || a == HZ_Dim::None) || !(b == 0 || keyed(b) || b == HZ_Dim::Date || b == HZ_Dim::None))
        return false;
    // A range report by date has no outer period to rewrite; its statements decide what it shows.
    if (t == ReportRange && b == HZ_Dim::Date) return false;
    if (fees)
        for (int d : {a, b})
            if (keyed(d) && feeKey(d).empty()) return false;
    return periods(st).UBound() >= 1;
}

HzFigures::HzFigures(db::Connection& conn, const HzReportState& st, bool fees) {
    const HZ_Rep_Format f{"", st.Rep_P2, "", "", ""};
    dim1_ = keyed(f.dim1()) ? f.dim1() : 0;
    dim2_ = keyed(f.dim2()) ? f.dim2() : 0;
    const bool people = dim1_ == HZ_Dim::Dept || dim2_ == HZ_Dim::Dept;
    const int width = f.type() == ReportMonthly ? 7 : 10;
    const Group_Conds& p = periods(st);
    const std::string from = p(1).Caption, to = p(p.UBound()).Caption;

    const auto key = [&](int which, const db::Recordset& rs, const char* name) { return Key_Of(which, rs, name); };
    // Meals are told apart only when a meal item is computed (each is its own
    // gate), validity only when the report counts valid records only.
    bool meals = false;
    for (const hz::ItemDef& d : hz::items()) meals = meals || (d.meal != 0 && st.Col(d.gate, hz::Money) > 0);
    auto rs = conn.openRecordset(HZ_Report_Sql::Grouped_Records(width, recordKey(dim1_), recordKey(dim2_), people,
                                                                 from, to, kindList(st, dim2_ != 0), meals,
                                                                 st.Valid_Only == 1));
    lines_.reserve(static_cast<std::size_t>(rs->recordCount()));
    for (; !rs->eof(); rs->moveNext()) {
        const db::Value& period = rs->field("P");
        if (period.isNull()) continue;  // no period condition ever selects it
        Line l;
        l.period = period.toString();
        l.key1 = key(0, *rs, "K1");
        l.key2 = key(1, *rs, "K2");
        const db::Value& type = rs->field("T");
        const db::Value& meal = rs->field("M");
        const db::Value& err = rs->field("E");
        l.typed = !type.isNull();
        l.type = l.typed ? static_cast<int>(type.toInt64()) : 0;
        l.mealed = !meal.isNull();
        l.meal = l.mealed ? meal.toDouble() : 0;
        l.valid = !err.isNull() && err.toDouble() == 0;
        l.rows = whole(rs->field("N"));
        l.money = whole(rs->field("MS"));
        l.moneyCnt = whole(rs->field("MC"));
        l.times = whole(rs->field("TS"));
        l.timesCnt = whole(rs->field("TC"));
        linesByPeriod_[l.period].push_back(lines_.size());
        lines_.push_back(std::move(l));
    }

    if (fees) Read_Fees(*conn.openRecordset(HZ_Report_Sql::Grouped_Fees(width, feeKey(dim1_), feeKey(dim2_), people, from, to)));
    // The existence test runs over Record_XF joined with every employee.
    if (dim2_ != 0) people_ = !conn.openRecordset(HZ_Report_Sql::Any_Person())->eof();
}

std::size_t HzFigures::keyIndex(int which, const Key& k) {
    const std::string id = k.null ? std::string("\x01null") : (k.numeric ? "#" : "$") + k.text;
    auto [it, fresh] = keyIds_[which].try_emplace(id, keys_[which].size());
    if (fresh) keys_[which].push_back(k);
    return it->second;
}

namespace {

bool periodOk(const Group_Match& m, const std::string& period) {
    switch (m.op) {
    case Group_Match::From: return period >= m.text;
    case Group_Match::To: return period <= m.text;
    default: return period == m.text;
    }
}

}  // namespace

bool HzFigures::keyOk(const Group_Match& m, const Key& k) {
    if (k.null) return false;
    if (m.op == Group_Match::Under) return startsWithNoCase(k.text, m.text);
    if (m.numeric) return k.numeric && k.number == m.number;
    return equalsNoCase(k.text, m.text);
}

template <class L>
HzFigures::Lines HzFigures::select(const std::vector<L>& lines, const Period_Index& index,
                                   const std::vector<const Group_Match*>& sel) const {
    // Which keys each selection admits is worked out once per key, not per line.
    std::vector<char> ok1(keys_[0].size(), 1), ok2(keys_[1].size(), 1);
    std::vector<const Group_Match*> onPeriod;
    for (const Group_Match* m : sel) {
        if (m->dim < 0) continue;
        if (m->dim == 0) {
            onPeriod.push_back(m);
            continue;
        }
        if (m->dim != dim1_ && m->dim != dim2_)
            throw std::logic_error("a summary condition on a dimension the report does not group by");
        if (m->dim == dim1_)
            for (std::size_t i = 0; i < ok1.size(); ++i) ok1[i] = ok1[i] && keyOk(*m, keys_[0][i]);
        if (m->dim == dim2_)
            for (std::size_t i = 0; i < ok2.size(); ++i) ok2[i] = ok2[i] && keyOk(*m, keys_[1][i]);
    }
    // The periods first: one day or month, or a range of them.
    auto first = index.begin(), last = index.end();
    for (const Group_Match* m : onPeriod) {
        if (m->op == Group_Match::Equal) {
            first = index.lower_bound(m->text);
            last = index.upper_bound(m->text);
        }
    }
    Lines out;
    for (auto p = first; p != last; ++p) {
        bool in = true;
        for (const Group_Match* m : onPeriod) in = in && periodOk(*m, p->first);
        if (!in) continue;
        for (std::size_t i : p->second) {
            const L& l = lines[i];
            if (ok1[l.key1] && ok2[l.key2]) out.push_back(i);
        }
    }
    return out;
}

HzFigures::Lines HzFigures::Select(const std::vector<const Group_Match*>& sel) const {
    return select(lines_, linesByPeriod_, sel);
}
HzFigures::Lines HzFigures::Select_Fees(const std::vector<const Group_Match*>& sel) const {
    return select(fees_, feesByPeriod_, sel);
}

HzFigures::Totals HzFigures::Sum(const Lines& lines, const std::vector<int>& kinds, int meal, bool validOnly) const {
    Totals t;
    for (std::size_t i : lines) {
        const Line& l = lines_[i];
        if (validOnly && !l.valid) continue;
        if (!kinds.empty()) {
            if (!l.typed) continue;
            bool kind = false;
            for (int k : kinds) kind = kind || k == l.type;
            if (!kind) continue;
        }
        if (meal != 0 && (!l.mealed || l.meal != meal)) continue;
        t.rows = Slot_Add(t.rows, l.rows);
        t.money = Slot_Add(t.money, l.money);
        t.moneyCnt = Slot_Add(t.moneyCnt, l.moneyCnt);
        t.times = Slot_Add(t.times, l.times);
        t.timesCnt = Slot_Add(t.timesCnt, l.timesCnt);
    }
    return t;
}

HzFigures::Fee_Totals HzFigures::Fees(const Lines& lines, int op, int column, bool issueWalk) const {
    Fee_Totals t;
    for (std::size_t i : lines) {
        const Fee_Line& l = fees_[i];
        if (l.op != op) continue;
        t.rows = Slot_Add(t.rows, l.rows);
        t.sum = Slot_Add(t.sum, l.sum[column]);
        t.nulls = Slot_Add(t.nulls, Slot_Sub(l.rows, l.cnt[column]));
        if (issueWalk) t.otherNulls = Slot_Add(t.otherNulls, Slot_Sub(l.rows, l.cnt[1]));
    }
    return t;
}

}  // namespace tolvenk
