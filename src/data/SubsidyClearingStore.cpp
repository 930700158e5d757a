#include "data/SubsidyClearingStore.h"

#include <algorithm>
#include <vector>

#include "data/BaseService.h"
#include "data/OpenDb.h"
#include "data/SqlPieces.h"
#include "data/SubsidyBatch.h"
#include "data/TableColumns.h"
#include "data/XfTypeCode.h"
#include "platform/DateText.h"
#include "platform/FenMath.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"

namespace tolvenk {

namespace {

using sql::num;
using sql::q;

std::int64_t whole(const std::string& text) { return fenOf(text); }

// The kinds that count as spending of the subsidy: consumption, withdrawal
// and meal orders with their cancellations, and meal returns.
bool spends(std::int64_t kind) {
    namespace K = XF_Type_Code;
    for (int k : {K::Consume, K::ConsumeCancel, K::Withdraw, K::WithdrawCancel, K::MealOrder, K::MealOrderCancel,
                  K::MealReturn})
        if (kind == k) return true;
    return false;
}

}  // namespace

std::int64_t QL_Figures::moneyToClear() const {
    // A deduction (a negative subsidy) is no money to take back: what is
    // left of it after earlier clearings is given back, so the month ends at
    // zero either way; spending has nothing to do with it.
    if (subsidyFen < 0) return std::min<std::int64_t>(0, fenAdd(subsidyFen, clearedFen));
    const std::int64_t used = fenAdd(fenAbs(spentFen), fenAbs(clearedFen));
    return used < subsidyFen ? subsidyFen - used : 0;
}

std::int64_t QL_Figures::timesToClear() const {
    const std::int64_t used = fenAdd(fenAbs(spentTimes), fenAbs(clearedTimes));
    return subsidyTimes > used ? subsidyTimes - used : 0;
}

QL_Figures QL_Count(const DataList& transactions, const DataList& batchRows) {
    QL_Figures f;
    if (batchRows.rowUBound() >= 1) {
        namespace B = col::BuTie_OK;
        const int times = batchRows.col(B::B_Times), state = batchRows.col(B::B_SF), jine = batchRows.col(B::B_JinE),
                  ci = batchRows.col(B::B_Ci);
        for (int r = 1; r <= batchRows.rowUBound(); ++r) {
            if (whole(batchRows(r, times)) <= 0) {  // a clearing marker
                f.clearedFen = fenAdd(f.clearedFen, whole(batchRows(r, jine)));
                f.clearedTimes = fenAdd(f.clearedTimes, whole(batchRows(r, ci)));
                f.cleared = true;
            } else if (whole(batchRows(r, state)) == B_SF_Code::Credited) {
                f.subsidyFen = fenAdd(f.subsidyFen, whole(batchRows(r, jine)));
                f.subsidyTimes = fenAdd(f.subsidyTimes, whole(batchRows(r, ci)));
            }
        }
    }
    if (transactions.rowUBound() >= 1) {
        namespace X = col::Record_XF;
        const int serial = transactions.col(X::Card_LiuShui), timesSerial = transactions.col(X::Ci_LiuShui),
                  kind = transactions.col(X::XF_Type), change = transactions.col(X::YuE_Change),
                  timesChange = transactions.col(X::YuCi_Change);
        for (int r = 1; r <= transactions.rowUBound(); ++r) {
            // Rows with a card serial are IC rows: never the ID card's spending.
            if (whole(transactions(r, serial)) > 0 || whole(transactions(r, timesSerial)) > 0) continue;
            if (!spends(whole(transactions(r, kind)))) continue;
            f.spentFen = fenAdd(f.spentFen, whole(transactions(r, change)));
            f.spentTimes = fenAdd(f.spentTimes, whole(transactions(r, timesChange)));
        }
    }
    return f;
}

namespace Clearing_Store {

namespace {

DataList readAll(db::Connection& con, const std::string& sql) {
    const auto rs = con.openRecordset(sql);
    const int fields = rs->fieldCount();
    std::vector<std::string> names;
    for (int j = 0; j < fields; ++j) names.push_back(rs->fieldName(j));
    DataList list(static_cast<int>(rs->recordCount()), std::move(names));
    for (int k = 1; k <= list.rowUBound(); ++k, rs->moveNext())
        for (int j = 0; j < fields; ++j) list(k, j) = rs->field(j).toString();
    rs->close();
    return list;
}

// A number column of the card that may be empty.
std::string numberOrNull(const std::string& text) { return text.empty() ? "null" : num(text); }

struct XfRowValues {
    std::string cardNoLng, leiBie, cardNo, dateTime, recTime;
    int kind;
    std::int64_t before, change, after, timesChange, timesAfter;
    std::int32_t pinfo, operatorId;
};

// One row in the column order of XFService.Add_XF_QL.
std::string insertXf(const XfRowValues& v) {
    return "insert into Record_XF(Mach_ID,Pinfo_id,Card_No_Lng,Shou_Kuan,C_LeiBie,XF_DIan_ID,XF_Type,XF_Meal,"
           "YuE_Old,YuE_Change,YuE_New,C_QuHao,Card_LiuShui,Mach_LiuShui,Date_Time,Card_No,YuCi_Change,Operator_id,"
           "XF_Unit,Ci_QuHao,Ci_LiuShui,YuCi_New,Err_Code,Rec_Time,DC_Date) values(36," +
           num(v.pinfo) + "," + numberOrNull(v.cardNoLng) + ",''," + numberOrNull(v.leiBie) + ",10," + num(v.kind) +
           ",0," + num(v.before) + "," + num(v.change) + "," + num(v.after) + ",0,0,0,'" + q(v.dateTime) + "','" +
           q(v.cardNo) + "'," + num(v.timesChange) + "," + num(v.operatorId) + ",1,0,0," + num(v.timesAfter) +
           ",0,'" + q(v.recTime) + "','')";
}

}  // namespace

Outcome Clear_Employee(const std::string& connectionString, const Request& r) {
    BaseService base;
    base.Set_LinkStr(connectionString);
    base.Open_DB_Con();
    const db::CloseOnExit closing(*base.DB_Con);
    return Clear_Employee(*base.DB_Con, r);
}

Outcome Clear_Employee(db::Connection& con, const Request& r) {
    const std::string yearMonth = formatMonth(r.year, static_cast<unsigned>(r.month));
    const std::string person = num(r.pinfoId);
    // Counting and writing under one write lock: a second operator clearing
    // the same employee waits and then finds the marker. Inside a batch of
    // employees this is a savepoint of it. Only the columns counted are read:
    // the employee's month is read for each one cleared.
    db::Transaction t(con);
    Outcome outcome = Outcome::Cleared;
    // A terminal on a server locks the card it books on: its payments land
    // before the counting or after the clearing, never between.
    con.lockRows("Card_Info", "PInfo_id=" + person);
    const QL_Figures f = QL_Count(
        readAll(con, "select Card_LiuShui,Ci_LiuShui,XF_Type,YuE_Change,YuCi_Change from Record_XF where PInfo_id=" +
                         person + " and Date_Time like '" + q(yearMonth) + "%' order by ID "),
        readAll(con, "select B_Times,B_SF,B_JinE,B_Ci from BuTie_OK where PInfo_id=" + person +
                         " and B_Month=" + num(r.month) + " and B_Year = " + num(r.year) + " order by ID "));
    if (f.cleared) {
        outcome = Outcome::Already_Cleared;
    } else {
        const DataList cards = readAll(con, "select ID,C_YuE_ID,C_YuCi_ID,Card_No_Lng,C_LeiBie,Card_No from Card_Info "
                                            "where PInfo_id=" + person + " and Card_Model=1 and C_GuaShi=0 order by ID");
        if (cards.rowUBound() < 1) {
            outcome = Outcome::No_Card;
        } else {
            namespace C = col::Card_Info;
            const std::int64_t money = f.moneyToClear(), times = f.timesToClear();
            const std::string now = Server_Time(con);  // one clearing, one time on its rows and card
            const std::int64_t balance = whole(cards(1, cards.col(C::C_YuE_ID)));
            const std::int64_t timesBalance = whole(cards(1, cards.col(C::C_YuCi_ID)));
            XfRowValues row{cards(1, cards.col(C::Card_No_Lng)), cards(1, cards.col(C::C_LeiBie)),
                            cards(1, cards.col(C::Card_No)), now, yearMonth,
                            XF_Type_Code::SubsidyClear, balance, fenNeg(money), fenSub(balance, money), 0,
                            timesBalance, r.pinfoId, r.operatorId};
            con.execute(insertXf(row));
            row.kind = XF_Type_Code::TimesSubsidyClear;
            row.before = row.after;
            row.change = 0;
            row.timesChange = fenNeg(times);
            row.timesAfter = fenSub(timesBalance, times);
            con.execute(insertXf(row));
            con.execute("insert into BuTie_OK(Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,"
                        "B_Times,B_Unit) values(" +
                        person + ",'" + q(r.markerTime) + "'," + num(r.operatorId) + "," + num(fenNeg(money)) +
                        "," + num(fenNeg(times)) + "," + num(r.year) + "," + num(r.month) + "," +
                        num(Clear_Marker_Times) +
                        "," + num(B_Unit_Code::Clear_Marker) + ")");
            // Bracketed: a negative amount must not make "--", a comment.
            con.execute("update Card_Info set C_YuCi_ID=C_YuCi_ID-(" + num(times) + "),C_YuE_ID=C_YuE_ID-(" +
                        num(money) + "),ID_YuE_Now='" + q(now) + "' where ID=" +
                        num(cards(1, cards.col(C::ID))));
        }
    }
    if (outcome == Outcome::Cleared) t.commit();
    return outcome;
}

}  // namespace Clearing_Store

}  // namespace tolvenk
