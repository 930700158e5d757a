// The rows of the summary run: for the current entries of the three group
// condition arrays, one query per shown item value.
#include "data/HzDimCode.h"
#include "data/HzReportSql.h"
#include "lang/LangGlobals.h"
#include "platform/Error.h"
#include "platform/VbText.h"
#include "platform/db/DbError.h"
#include "platform/db/Recordset.h"
#include "data/HzRepFormat.h"
#include "reports/summary/ReportEngine.h"

namespace tolvenk {

namespace {

constexpr int OthersLang = 554;

// Mid(s, start, n) with start counted from 1.
std::string mid(const std::string& s, std::size_t start, std::size_t n) {
    return s.size() >= start ? s.substr(start - 1, n) : std::string();
}


}  // namespace

std::string HzReportEngine::Row_Where(const std::string& D, const std::string& cond0, const std::string& cond1,
                                      const std::string& cond2) const {
    std::string WHERE = " where " + D + " and " + cond0;
    if (!cond1.empty()) WHERE += " and " + cond1;
    WHERE += " and " + cond2;
    for (int pass = 0; pass < 2; ++pass) {
        const std::string t = vbRTrim(WHERE);
        if (t.size() >= 3 && t.compare(t.size() - 3, 3, "and") == 0) WHERE = t.substr(0, t.size() - 3);
    }
    if (Valid_Only == 1) WHERE += " and Err_Code=0";
    return WHERE;
}

// Money total of the item; a trapped error shows its box and counts as no
// record, so the previous query's figures never reach this row.
void HzReportEngine::Sum_YuE(const hz::ItemDef& d) {
    std::string cap1 = St.Group_Conds2(Idx2).Caption, cap2 = St.Group_Conds3(Idx3).Caption;
    Row_Sum = Row_Cnt = 0;
    try {
        bool found = false;
        std::int64_t total = 0, count = 0;
        if (figures_) {
            const auto t = figures_->Sum(rowLines_, d.moneyKinds, d.meal, Valid_Only == 1);
            if ((found = t.moneyCnt > 0)) {
                total = t.money;
                count = t.moneyCnt;
            }
        } else {
            const int a = Rep_Dim1(), b = Rep_Dim2();
            const std::string FROM =
                a == HZ_Dim::Dept || b == HZ_Dim::Dept ? "from Record_XF ,Ren_Per_Info " : " from Record_XF ";
            db::Recordset& rs = open(HZ_Report_Sql::Row_Money_Head + FROM +
                                     Row_Where(d.moneyCond[hz::RowPass], St.Group_Conds1(Idx1).Cond,
                                               St.Group_Conds2(Idx2).Cond, St.Group_Conds3(Idx3).Cond));
            if ((found = rs.recordCount() > 0 && !vbTrim(rs.field("YuE_C").toString() + " ").empty())) {
                total = Whole_Of(rs.field("YuE_C"));
                count = Whole_Of(rs.field("Count_Bi"));
            }
        }
        if (found) {
            Row_Sum = total;
            Row_Cnt = count;
            if (cap1.empty()) cap1 = Lang[OthersLang];
            if (cap2.empty()) cap2 = Lang[OthersLang];
        }
    } catch (const std::exception& e) {
        if (db::connectionLost(e)) throw;  // no figure after it can be read: the run ends
        Trap(e, "ERR_XF_Cha_HZ_3");
        Row_Sum = Row_Cnt = 0;
    }
    Row_Cap1 = cap1;
    Row_Cap2 = cap2;
}

// Times total; errors pass to the caller.
void HzReportEngine::Sum_YuCi(const hz::ItemDef& d) {
    Row_Times = Row_Times_Cnt = 0;
    if (figures_) {
        const auto t = figures_->Sum(rowLines_, d.timesKinds, d.meal, Valid_Only == 1);
        if (t.timesCnt > 0) {
            Row_Times = t.times;
            Row_Times_Cnt = t.timesCnt;
        }
        return;
    }
    const int a = Rep_Dim1(), b = Rep_Dim2();
    const std::string FROM =
        a == HZ_Dim::Dept || b == HZ_Dim::Dept ? " from Record_XF ,Ren_Per_Info " : " from Record_XF ";
    db::Recordset& rs = open(HZ_Report_Sql::Row_Times_Head + FROM +
                             Row_Where(d.timesCond[hz::RowPass], St.Group_Conds1(Idx1).Cond,
                                       St.Group_Conds2(Idx2).Cond, St.Group_Conds3(Idx3).Cond));
    if (rs.recordCount() > 0 && !vbTrim(rs.field("YuCi_C").toString() + " ").empty()) {
        Row_Times = Whole_Of(rs.field("YuCi_C"));
        Row_Times_Cnt = Whole_Of(rs.field("Count_Ci_Bi"));
    }
}

// Total of the item's Card_Log fee column over the log rows of its card
// operation; a fee left empty is no fee, told in the box; any other trapped
// error shows its box and counts as no row.
void HzReportEngine::Sum_GBF(const hz::ItemDef& d) {
    std::string cond0 = St.Group_Conds1(Idx1).Cond, cond1 = St.Group_Conds2(Idx2).Cond,
                cond2 = St.Group_Conds3(Idx3).Cond;
    std::string cap1 = St.Group_Conds2(Idx2).Caption, cap2 = St.Group_Conds3(Idx3).Caption;
    Row_Sum = Row_Cnt = 0;
    try {
        std::int64_t total = 0, count = 0;
        bool found = false;
        if (figures_) {
            const int column = d.feeColumn == "FaKa_GBF" ? 0 : d.feeColumn == "Huan_GBF" ? 1 : 2;
            const auto t = figures_->Fees(rowFeeLines_, d.op, column, false);
            if ((found = t.rows >= 1)) {
                count = t.rows;
                total = t.sum;
                if (t.nulls > 0) Trap_Null_Fee("ERR_XF_Cha_HZ_4");
            }
        } else {
            const int a = Rep_Dim1(), b = Rep_Dim2();
            // The group conditions are written for Record_XF; on the card log
            // its columns are named, and a department joins by Card_Log.Pinfo_id.
            if (b == HZ_Dim::Date)
                cond0 = a == HZ_Dim::Dept ? " Card_Log" + Less_Record_XF(cond0) : " Card_Log." + cond0;
            const std::string FROM = a == HZ_Dim::Dept || b == HZ_Dim::Dept ? " from Card_Type,Card_Log ,Ren_Per_Info "
                                                                             : " from Card_Type,Card_Log ";
            std::string WHERE = " where Card_Log.Op_Type=" + std::to_string(d.op) +
                                " and Card_Type.C_LeiBie=Card_Log.C_LeiBie and Card_Type.Del_YN=0 and " + cond0;
            if (!cond1.empty()) {
                if (b != HZ_Dim::Date)
                    cond1 = a == HZ_Dim::Dept ? "Card_Log" + Less_Record_XF(cond1) : "Card_Log." + cond1;
                WHERE += " and " + cond1;
            }
            if (!cond2.empty()) {
                cond2 = b == HZ_Dim::Dept ? "Card_Log" + Less_Record_XF(cond2) : "Card_Log." + cond2;
                WHERE += " and " + cond2;
            }
            db::Recordset& rs = open(HZ_Report_Sql::Fee_Select(d.feeColumn) + FROM + WHERE);
            if ((found = rs.recordCount() >= 1)) {
                count = Whole_Of(db::Value(static_cast<std::int64_t>(rs.recordCount())));
                bool empty = false;
                for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
                    const db::Value& fee = rs.field(d.feeColumn);
                    empty = empty || fee.isNull();
                    if (!fee.isNull()) total = Slot_Add(total, Whole_Of(fee));
                }
                if (empty) Trap_Null_Fee("ERR_XF_Cha_HZ_4");
            }
        }
        if (found) {
            Row_Sum = total;
            Row_Cnt = count;
            if (cap1.empty()) cap1 = Lang[OthersLang];
            if (cap2.empty()) cap2 = Lang[OthersLang];
        }
    } catch (const std::exception& e) {
        if (db::connectionLost(e)) throw;  // no figure after it can be read: the run ends
        Trap(e, "ERR_XF_Cha_HZ_4");
        Row_Sum = Row_Cnt = 0;
    }
    Row_Cap1 = cap1;
    Row_Cap2 = cap2;
}

bool HzReportEngine::Row_Exists() {
    const Group_Conds &G1 = St.Group_Conds1, &G2 = St.Group_Conds2, &G3 = St.Group_Conds3;
    if (!figures_) {
        std::string W = G1(Idx1).Cond;
        if (!G2(Idx2).Cond.empty()) W += " and " + G2(Idx2).Cond;
        W += " and " + G3(Idx3).Cond + St.Covered_Types;
        return open(HZ_Report_Sql::Row_Exists(W)).recordCount() >= 1;
    }
    // Every employee is joined in: with nobody at all no record is found.
    if (!figures_->Has_People()) return false;
    std::vector<const Group_Match*> sel;
    for (const Group_Cond* e : {&G1(Idx1), &G2(Idx2), &G3(Idx3)})
        for (const Group_Match& m : e->Match) sel.push_back(&m);
    return figures_->Sum(figures_->Select(sel), St.Covered_Kinds, 0, false).rows > 0;
}

void HzReportEngine::Calc_Row() {
    using namespace hz;
    Row_Sum = Row_Cnt = Row_Times = Row_Times_Cnt = 0;

    const Group_Cond& e0 = St.Group_Conds1(Idx1);
    const Group_Cond& e1 = St.Group_Conds2(Idx2);
    const Group_Cond& e2 = St.Group_Conds3(Idx3);
    const char T = Rep_T();
    if (Rep_Dim2() == HZ_Dim::Date)
        Period_Cap[6] = e0.Caption;
    else if (T == ReportDaily)
        Period_Cap[6] = mid(vbTrim(e0.Cond), 21, 10);
    else if (T == ReportMonthly)
        Period_Cap[6] = mid(vbTrim(e0.Cond), 20, 7);
    if (figures_) {
        std::vector<const Group_Match*> sel;
        for (const Group_Cond* e : {&e0, &e1, &e2})
            for (const Group_Match& m : e->Match) sel.push_back(&m);
        rowLines_ = figures_->Select(sel);
        rowFeeLines_ = figures_->Select_Fees(sel);
    }

    const auto put = [](Slots& acc, std::int64_t v) {
        acc[5] = Slot_Add(acc[5], v);
        acc[6] = v;
    };
    const auto money = [&](const ItemDef& d) {
        Sum_YuE(d);
        put(V(d.item, hz::Money), Row_Sum);
        put(V(d.item, Money_Cnt), Row_Cnt);
    };
    for (Item i : blockOrder(RowPass)) {
        const ItemDef& d = def(i);
        if (St.Col(i, hz::Money) < 1) continue;
        if (derived(d)) {
            Derive(d, 6, true);
            continue;
        }
        if (!V.Has[i]) continue;
        if (d.source == Source::Card_Log) {
            Sum_GBF(d);
            put(V(i, hz::Money), Row_Sum);
            put(V(i, Money_Cnt), Row_Cnt);
            continue;
        }
        money(d);
        for (const ItemDef& g : items())
            if (g.gate == i && g.item != i) money(g);
        if (d.timesCond[RowPass].empty()) continue;
        Sum_YuCi(d);
        put(V(i, Times), Row_Times);
        if (d.timesCounted) put(V(i, Times_Cnt), Row_Times_Cnt);
    }

    if (Row_Cap1.empty()) Row_Cap1 = Lang[OthersLang];
    Level1_Cap[6] = Row_Cap1;
    if (Row_Cap2.empty()) Row_Cap2 = Lang[OthersLang];
    Level2_Cap[6] = Row_Cap2;
    Make_Row_Text(6, 0, 0);
    Clear_Slot(6);
}

}  // namespace tolvenk
