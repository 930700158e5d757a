// The group totals of the summary run: one aggregate query per shown item
// and level fills one slot of each of its values.
#include <limits>

#include "data/HzDimCode.h"
#include "data/HzReportSql.h"
#include "platform/Error.h"
#include "platform/db/DbError.h"
#include "platform/db/Recordset.h"
#include "data/HzRepFormat.h"
#include "reports/summary/ReportEngine.h"

namespace tolvenk {

namespace {


bool containsNoCase(const std::string& text, const std::string& lowerNeedle) {
    std::string lower = text;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower.find(lowerNeedle) != std::string::npos;
}


}  // namespace

bool HzReportEngine::Query_YuE_Sum(const std::string& sql) {
    Level_Sum = 0;
    Level_Cnt = 0;
    db::Recordset& rs = open(sql);
    if (rs.recordCount() < 1 || Whole_Of(rs.field("YuE_B")) == 0) return false;
    Level_Sum = Whole_Of(rs.field("YuE_C"));
    Level_Cnt = Whole_Of(rs.field("YuE_B"));
    return true;
}

bool HzReportEngine::Query_YuCi_Sum(const std::string& sql, bool flag) {
    Level_Times = 0;
    Level_Times_Cnt = 0;
    db::Recordset& rs = open(sql);
    if (rs.recordCount() < 1 || Whole_Of(rs.field("YuCi_B")) == 0) return flag;
    Level_Times = Whole_Of(rs.field("YuCi_C"));
    Level_Times_Cnt = Whole_Of(rs.field("YuCi_B"));
    return true;
}

// Adds the fee (the first column) over every row, every other selected
// column read as a number too. A level of a large site holds more than
// 32767 rows: they are counted in 64 bits. A fee another program left empty
// is no fee: the row counts, and the box tells of it once.
bool HzReportEngine::Query_Fees(const std::string& sql) {
    Level_Sum = Level_Cnt = 0;
    db::Recordset& rs = open(sql);
    if (rs.recordCount() < 1) return false;
    const std::int64_t rows = rs.recordCount();
    std::int64_t total = 0, other = 0;
    bool empty = false;
    const auto fee = [&empty](const db::Value& v) {
        empty = empty || v.isNull();
        return v.isNull() ? 0 : Whole_Of(v);
    };
    rs.moveFirst();
    for (std::int64_t i = 1; i <= rows; ++i) {
        total = Slot_Add(total, fee(rs.field(0)));
        for (int f = 1; f < rs.fieldCount(); ++f) other = Slot_Add(other, fee(rs.field(f)));
        rs.moveNext();
    }
    Level_Sum = total;
    Level_Cnt = rows;
    if (empty) Trap_Null_Fee("ERR_XF_Cha_HZ_2");
    return true;
}

bool HzReportEngine::Figure_YuE(const HzFigures::Lines& lines, const hz::ItemDef& d) {
    Level_Sum = 0;
    Level_Cnt = 0;
    const auto t = figures_->Sum(lines, d.moneyKinds, d.meal, Valid_Only == 1);
    if (t.moneyCnt == 0) return false;
    Level_Sum = t.money;
    Level_Cnt = t.moneyCnt;
    return true;
}

bool HzReportEngine::Figure_YuCi(const HzFigures::Lines& lines, const hz::ItemDef& d, bool flag) {
    Level_Times = 0;
    Level_Times_Cnt = 0;
    const auto t = figures_->Sum(lines, d.timesKinds, d.meal, Valid_Only == 1);
    if (t.timesCnt == 0) return flag;
    Level_Times = t.times;
    Level_Times_Cnt = t.timesCnt;
    return true;
}

namespace {

// The card-log fee column of an item: 0 FaKa_GBF, 1 Huan_GBF, 2 Tui_GBF.
int feeColumn(const hz::ItemDef& d) { return d.feeColumn == "FaKa_GBF" ? 0 : d.feeColumn == "Huan_GBF" ? 1 : 2; }

}  // namespace

bool HzReportEngine::Figure_Fees(const HzFigures::Lines& lines, const hz::ItemDef& d) {
    Level_Sum = Level_Cnt = 0;
    // The issue fee's walk reads the change fee of its rows as well.
    const auto t = figures_->Fees(lines, d.op, feeColumn(d), d.item == hz::Issue_Fee);
    if (t.rows < 1) return false;
    if (t.nulls > 0 || t.otherNulls > 0) Trap_Null_Fee("ERR_XF_Cha_HZ_2");
    Level_Sum = t.sum;
    Level_Cnt = t.rows;
    return true;
}

std::string HzReportEngine::Level_Fee_Sql(const hz::ItemDef& d, const std::string& Cond1, const std::string& Cond2,
                                          const std::string& Cond3) const {
    const int a = Rep_Dim1(), b = Rep_Dim2();
    std::string FROM2 = "from Card_Log,Card_Type ";
    std::string W2 = " where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=" +
                     std::to_string(d.op) + " and " + Cond1;
    if (a == HZ_Dim::Dept && !Cond2.empty()) {
        FROM2 += ",Ren_Per_Info ";
        W2 += b != HZ_Dim::Date ? " and Card_Log" + Less_Record_XF(Cond2) : " and " + Cond2;
    } else if (!Cond2.empty()) {
        W2 += " and " + Cond2;
    }
    if (!Cond3.empty()) W2 += " and " + Cond3;
    return HZ_Report_Sql::Fee_Select(d.levelSelect) + FROM2 + W2;
}

namespace {

// What the conditions select, for figures read once.
std::vector<const Group_Match*> selection(const HzCond& C1, const HzCond& C2, const HzCond& C3) {
    std::vector<const Group_Match*> sel;
    for (const HzCond* c : {&C1, &C2, &C3})
        for (const Group_Match& m : c->sel) sel.push_back(&m);
    return sel;
}

// A condition on the person joins the person table.
std::string levelFrom(const std::string& Cond1, const std::string& Cond2, const std::string& Cond3) {
    const std::string person = "ren_per_info.pinfo_id";
    return containsNoCase(Cond2, person) || containsNoCase(Cond3, person) || containsNoCase(Cond1, person)
               ? " from Record_XF ,Ren_Per_Info "
               : " from Record_XF ";
}

std::string levelWhere(const std::string& Cond1, const std::string& Cond2, const std::string& Cond3) {
    std::string W = " where " + Cond1;
    if (!Cond2.empty()) W += " and " + Cond2;
    if (!Cond3.empty()) W += " and " + Cond3;
    return W;
}

// The card log names its columns itself: the conditions as the fee statements read them.
void feeConditions(int a, int b, std::int16_t Slot, std::string& Cond1, std::string& Cond2, std::string& Cond3) {
    if (Slot > 1 && b == HZ_Dim::Date)
        Cond1 = a == HZ_Dim::Dept ? "Card_Log" + Less_Record_XF(Cond1) : "Card_Log." + Cond1;
    if (a != HZ_Dim::Dept && !Cond2.empty() && b != HZ_Dim::Date) Cond2 = "Card_Log." + Cond2;
    if (!Cond3.empty()) Cond3 = "Card_Log." + Cond3;
}

}  // namespace

void HzReportEngine::Calc_Level_Row(HzCond C1, HzCond C2, HzCond C3, std::int16_t Slot) {
    using namespace hz;
    // The errors of this group total's items are told once for it.
    struct Group {
        std::int64_t& current;
        ~Group() { current = -1; }
    } group{trapGroup_ = ++groups_};
    Level_Sum = Level_Cnt = Level_Times = Level_Times_Cnt = 0;
    const std::string H1 = HZ_Report_Sql::Level_Money_Head;
    const std::string H2 = HZ_Report_Sql::Level_Times_Head;
    const int b = Rep_Dim2();

    // A value chosen in Combo1 narrows every level as it narrows the rows.
    if (b != HZ_Dim::Date && (In.Combo_Text.empty() || In.Combo_ItemData != 0)) {
        const Group_Cond& first = St.Group_Conds2(1);
        C2 = {first.Cond, first.Match};
    }
    std::string& Cond1 = C1.sql;
    std::string& Cond2 = C2.sql;
    std::string& Cond3 = C3.sql;

    HzFigures::Lines lines, feeLines;
    const std::string FROM = levelFrom(Cond1, Cond2, Cond3);
    const std::string W = levelWhere(Cond1, Cond2, Cond3);
    const std::string valid = Valid_Only == 1 ? " and Err_Code=0" : "";
    bool feeConds = false;  // the fee items share one rewrite of the conditions

    const auto money = [&](const ItemDef& d) {
        V.Has[d.item] = figures_ ? Figure_YuE(lines, d)
                                 : Query_YuE_Sum(H1 + FROM + W + " and " + d.moneyCond[LevelPass] + valid);
        V(d.item, hz::Money)[Slot] = Level_Sum;
        V(d.item, Money_Cnt)[Slot] = Level_Cnt;
    };
    const auto item = [&](const ItemDef& d) {
        const Item i = d.item;
        if (derived(d)) return Derive(d, Slot, false);
        if (d.source == Source::Card_Log) return Level_Fees(d, Slot, feeLines, feeConds, Cond1, Cond2, Cond3);
        money(d);
        for (const ItemDef& g : items())
            if (g.gate == i && g.item != i) money(g);
        if (d.timesCond[LevelPass].empty()) return;
        V.Has[i] = figures_ ? Figure_YuCi(lines, d, V.Has[i])
                            : Query_YuCi_Sum(H2 + FROM + W + " and " + d.timesCond[LevelPass] + valid, V.Has[i]);
        V(i, Times)[Slot] = Level_Times;
        if (d.timesCounted) V(i, Times_Cnt)[Slot] = Level_Times_Cnt;
    };
    // An item whose figures cannot be read shows none, in this group only:
    // the items after it are read all the same, never left as the group
    // before had them.
    const auto none = [&](const ItemDef& d) {
        V.Has[d.item] = false;
        for (Measure m : {hz::Money, Money_Cnt, Times, Times_Cnt}) V(d.item, m)[Slot] = 0;
        for (const ItemDef& g : items())
            if (g.gate == d.item && g.item != d.item) {
                V.Has[g.item] = false;
                for (Measure m : {hz::Money, Money_Cnt}) V(g.item, m)[Slot] = 0;
            }
    };
    const auto trapped = [&](const std::exception& e) {
        if (db::connectionLost(e)) throw;  // no figure after it can be read: the run ends
        Trap(e, "ERR_XF_Cha_HZ_2");
    };
    try {
        if (figures_) {
            const auto sel = selection(C1, C2, C3);
            lines = figures_->Select(sel);
            feeLines = figures_->Select_Fees(sel);
        }
    } catch (const std::exception& e) {
        trapped(e);
        for (Item i : blockOrder(LevelPass)) none(def(i));
        return;
    }
    for (Item i : blockOrder(LevelPass)) {
        const ItemDef& d = def(i);
        if (St.Col(i, hz::Money) <= 0) continue;
        try {
            item(d);
        } catch (const std::exception& e) {
            trapped(e);
            none(d);
        }
    }
}

void HzReportEngine::Level_Fees(const hz::ItemDef& d, std::int16_t Slot, const HzFigures::Lines& feeLines,
                                bool& rewritten, std::string& Cond1, std::string& Cond2, std::string& Cond3) {
    if (figures_) {
        V.Has[d.item] = Figure_Fees(feeLines, d);
    } else {
        if (!rewritten) {
            rewritten = true;
            feeConditions(Rep_Dim1(), Rep_Dim2(), Slot, Cond1, Cond2, Cond3);
        }
        V.Has[d.item] = Query_Fees(Level_Fee_Sql(d, Cond1, Cond2, Cond3));
    }
    V(d.item, hz::Money)[Slot] = Level_Sum;
    V(d.item, hz::Money_Cnt)[Slot] = Level_Cnt;
}

void HzReportEngine::Derive(const hz::ItemDef& d, std::int16_t k, bool add) {
    using namespace hz;
    const auto put = [&](Slots& s, std::int64_t v) {
        if (add) s[5] = Slot_Add(s[5], v);
        s[k] = v;
    };
    if (d.source == Source::Subtotal) {
        // A side's items, less the meals, which consumption already holds.
        std::int64_t money = 0, times = 0;
        for (const ItemDef& p : items()) {
            if (p.side != d.side || p.meal != 0 || (p.source != Source::Record_XF && p.source != Source::Card_Log))
                continue;
            money = Slot_Add(money, V(p.item, hz::Money)[k]);
            if (!p.timesCond[LevelPass].empty()) times = Slot_Add(times, V(p.item, Times)[k]);
        }
        put(V(d.item, hz::Money), money);
        put(V(d.item, Times), times);
    } else if (d.source == Source::Remainder) {
        // The other periods: consumption less the five meals, this slot only.
        for (Measure m : {hz::Money, Money_Cnt, Times}) {
            std::int64_t rest = V(Consume, m)[k];
            for (int meal = 1; meal <= 5; ++meal) rest = Slot_Sub(rest, V(static_cast<Item>(Meal_1 + meal - 1), m)[k]);
            V(d.item, m)[k] = rest;
        }
    }
}

}  // namespace tolvenk
