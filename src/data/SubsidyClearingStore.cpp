#include "data/SubsidyClearingStore.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <vector>

#include "data/BaseService.h"
#include "data/ByKeyRange.h"
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
const std::vector<int>& spendKinds();
bool spends(std::int64_t kind) {
    for (int k : spendKinds())
        if (kind == k) return true;
    return false;
}

const std::vector<int>& spendKinds() {
    namespace K = XF_Type_Code;
    static const std::vector<int> kinds{K::Consume,  K::ConsumeCancel,   K::Withdraw,  K::WithdrawCancel,
                                        K::MealOrder, K::MealOrderCancel, K::MealReturn};
    return kinds;
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

void QL_Count_Batch_Row(QL_Figures& f, const std::string& times, const std::string& state, const std::string& jine,
                        const std::string& ci) {
    if (whole(times) <= 0) {  // a clearing marker
        f.clearedFen = fenAdd(f.clearedFen, whole(jine));
        f.clearedTimes = fenAdd(f.clearedTimes, whole(ci));
        f.cleared = true;
    } else if (whole(state) == B_SF_Code::Credited) {
        f.subsidyFen = fenAdd(f.subsidyFen, whole(jine));
        f.subsidyTimes = fenAdd(f.subsidyTimes, whole(ci));
    }
}

QL_Figures QL_Count(const DataList& transactions, const DataList& batchRows) {
    QL_Figures f;
    if (batchRows.rowUBound() >= 1) {
        namespace B = col::BuTie_OK;
        const int times = batchRows.col(B::B_Times), state = batchRows.col(B::B_SF), jine = batchRows.col(B::B_JinE),
                  ci = batchRows.col(B::B_Ci);
        for (int r = 1; r <= batchRows.rowUBound(); ++r)
            QL_Count_Batch_Row(f, batchRows(r, times), batchRows(r, state), batchRows(r, jine), batchRows(r, ci));
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

// The first month text after every day of `yearMonth` ("yyyy-MM").
std::string monthEnd(const std::string& yearMonth) {
    const int year = std::stoi(yearMonth.substr(0, 4)), month = std::stoi(yearMonth.substr(5, 2));
    return month == 12 ? formatMonth(year + 1, 1) : formatMonth(year, static_cast<unsigned>(month + 1));
}

// A number column of the card that may be empty.
std::string numberOrNull(const std::string& text) { return text.empty() ? "null" : num(text); }

struct XfRowValues {
    std::string cardNoLng, leiBie, cardNo, dateTime, recTime;
    int kind;
    std::int64_t before, change, after, timesChange, timesAfter;
    std::int32_t pinfo, operatorId;
};

const char* const kXfColumns =
    "insert into Record_XF(Mach_ID,Pinfo_id,Card_No_Lng,Shou_Kuan,C_LeiBie,XF_DIan_ID,XF_Type,XF_Meal,"
    "YuE_Old,YuE_Change,YuE_New,C_QuHao,Card_LiuShui,Mach_LiuShui,Date_Time,Card_No,YuCi_Change,Operator_id,"
    "XF_Unit,Ci_QuHao,Ci_LiuShui,YuCi_New,Err_Code,Rec_Time,DC_Date) values";

// The values of one row in the column order of XFService.Add_XF_QL.
std::string xfValues(const XfRowValues& v) {
    return "(36," + num(v.pinfo) + "," + numberOrNull(v.cardNoLng) + ",''," + numberOrNull(v.leiBie) + ",10," +
           num(v.kind) + ",0," + num(v.before) + "," + num(v.change) + "," + num(v.after) + ",0,0,0,'" +
           q(v.dateTime) + "','" + q(v.cardNo) + "'," + num(v.timesChange) + "," + num(v.operatorId) + ",1,0,0," +
           num(v.timesAfter) + ",0,'" + q(v.recTime) + "','')";
}

std::string insertXf(const XfRowValues& v) { return kXfColumns + xfValues(v); }

const char* const kMarkerColumns =
    "insert into BuTie_OK(Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,B_Unit) values";

std::string markerValues(const Request& r, std::int64_t money, std::int64_t times) {
    return "(" + num(r.pinfoId) + ",'" + q(r.markerTime) + "'," + num(r.operatorId) + "," + num(fenNeg(money)) + "," +
           num(fenNeg(times)) + "," + num(r.year) + "," + num(r.month) + "," + num(Clear_Marker_Times) + "," +
           num(B_Unit_Code::Clear_Marker) + ")";
}

// The money and times rows of one clearing from the card as listed (ID,
// C_YuE_ID, C_YuCi_ID, Card_No_Lng, C_LeiBie, Card_No) at `now`: what its
// balances become.
struct Cleared_Card {
    std::string id;
    std::int64_t money, times;
};
Cleared_Card clearingRows(const DataList& cards, int row, const Request& r, const QL_Figures& f,
                          const std::string& now, std::vector<XfRowValues>& out) {
    namespace C = col::Card_Info;
    const std::int64_t money = f.moneyToClear(), times = f.timesToClear();
    const std::int64_t balance = whole(cards(row, cards.col(C::C_YuE_ID)));
    const std::int64_t timesBalance = whole(cards(row, cards.col(C::C_YuCi_ID)));
    XfRowValues v{cards(row, cards.col(C::Card_No_Lng)), cards(row, cards.col(C::C_LeiBie)),
                  cards(row, cards.col(C::Card_No)), now, formatMonth(r.year, static_cast<unsigned>(r.month)),
                  XF_Type_Code::SubsidyClear, balance, fenNeg(money), fenSub(balance, money), 0,
                  timesBalance, r.pinfoId, r.operatorId};
    out.push_back(v);
    v.kind = XF_Type_Code::TimesSubsidyClear;
    v.before = v.after;
    v.change = 0;
    v.timesChange = fenNeg(times);
    v.timesAfter = fenSub(timesBalance, times);
    out.push_back(v);
    return {cards(row, cards.col(C::ID)), money, times};
}

// Bracketed: a negative amount must not make "--", a comment.
std::string lowerCard(const Cleared_Card& c, const std::string& now) {
    return "update Card_Info set C_YuCi_ID=C_YuCi_ID-(" + num(c.times) + "),C_YuE_ID=C_YuE_ID-(" + num(c.money) +
           "),ID_YuE_Now='" + q(now) + "' where ID=" + num(c.id);
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
    // employees this is a savepoint of it. Only the columns counted are read,
    // and only the month's rows, as bounds of the person-and-date index.
    db::Transaction t(con);
    Outcome outcome = Outcome::Cleared;
    // A terminal on a server locks the card it books on: its payments land
    // before the counting or after the clearing, never between.
    con.lockRows("Card_Info", "PInfo_id=" + person);
    const QL_Figures f = QL_Count(
        readAll(con, "select Card_LiuShui,Ci_LiuShui,XF_Type,YuE_Change,YuCi_Change from Record_XF where PInfo_id=" +
                         person + " and Date_Time>='" + q(yearMonth) + "' and Date_Time<'" + q(monthEnd(yearMonth)) +
                         "' order by ID "),
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
            const std::string now = Server_Time(con);  // one clearing, one time on its rows and card
            std::vector<XfRowValues> rows;
            const Cleared_Card card = clearingRows(cards, 1, r, f, now, rows);
            for (const XfRowValues& row : rows) con.execute(insertXf(row));
            con.execute(kMarkerColumns + markerValues(r, card.money, card.times));
            con.execute(lowerCard(card, now));
        }
    }
    if (outcome == Outcome::Cleared) t.commit();
    return outcome;
}

namespace {

// The spending rows of the time `when` (a condition on Date_Time): the
// kinds that spend, none with a card serial.
std::string spentRowsWhen(const std::string& when) {
    std::string kinds;
    for (int k : spendKinds()) kinds += (kinds.empty() ? "" : ",") + num(k);
    return when + " and XF_Type in (" + kinds + ") and coalesce(Card_LiuShui,0)<=0 and coalesce(Ci_LiuShui,0)<=0";
}
std::string spentRows(const std::string& yearMonth) {
    return spentRowsWhen("Date_Time>='" + q(yearMonth) + "' and Date_Time<'" + q(monthEnd(yearMonth)) + "'");
}

const std::string kSpentSums = "select Pinfo_id,sum(YuE_Change) as Spent_Fen,sum(YuCi_Change) as Spent_Ci from ";

}  // namespace

Month_Spent Month_Spent::read(db::Connection& con, std::int32_t year, std::int32_t month) {
    Month_Spent m;
    {
        // Every card held for a moment: a writer that took its card before
        // has committed, and one after gets an ID above the highest now.
        db::Transaction t(con);
        con.lockRows("Card_Info", "1=1 order by ID");
        m.since = highestRecordId(con);
        t.commit();
    }
    // The month as bounds of the date, for every employee; on a file with a
    // rollback journal in pieces of a few thousand rows, so that no statement
    // holds terminals off for long. Rows up to `since` no longer change,
    // whenever they are read.
    const std::string yearMonth = formatMonth(year, static_cast<unsigned>(month));
    db::ReadPieces pieces = con.readPieces({"Record_XF", "Date_Time", yearMonth, monthEnd(yearMonth), false});
    while (const auto piece = pieces.next()) {
        // A piece lies within the month and stands in for its bounds.
        const DataList spent = readAll(con, kSpentSums + "Record_XF where " +
                                                (piece->empty() ? spentRows(yearMonth) : spentRowsWhen(*piece)) +
                                                " and +ID<=" + num(m.since) + " group by Pinfo_id");
        for (int r = 1; r <= spent.rowUBound(); ++r) {
            auto& [fen, times] = m.spent[whole(spent(r, 0))];
            fen = fenAdd(fen, whole(spent(r, 1)));
            times = fenAdd(times, whole(spent(r, 2)));
        }
    }
    m.known = true;
    return m;
}

std::vector<Outcome> Clear_Employees(db::Connection& con, const std::vector<Request>& requests,
                                     const Month_Spent& before) {
    std::vector<Outcome> outcomes;
    if (requests.empty()) return outcomes;
    const Request& first = requests.front();
    std::vector<std::int64_t> people;
    for (const Request& r : requests) people.push_back(r.pinfoId);
    const std::string who = "(" + sql::numList(people) + ")";
    const std::string yearMonth = formatMonth(first.year, static_cast<unsigned>(first.month));
    // As one employee's clearing: the cards held first (on a server against
    // terminals booking on them; in a fixed order, against another office
    // clearing the same employees), then everything counted under the lock.
    con.lockRows("Card_Info", "PInfo_id in " + who + " order by ID");
    std::map<std::int64_t, QL_Figures> figures;
    const DataList batches = readAll(con, "select Pinfo_ID,B_Times,B_SF,B_JinE,B_Ci from BuTie_OK where Pinfo_ID in " +
                                              who + " and B_Month=" + num(first.month) + " and B_Year=" +
                                              num(first.year) + " order by ID");
    for (int r = 1; r <= batches.rowUBound(); ++r)
        QL_Count_Batch_Row(figures[whole(batches(r, 0))], batches(r, 1), batches(r, 2), batches(r, 3), batches(r, 4));
    // The month as bounds the person-and-date index serves; with the sums
    // read as the run began, only the rows written since, by the key's range.
    const DataList spent =
        before.known ? readAll(con, kSpentSums + byKeyRange(con, "Record_XF") + " where ID>" + num(before.since) +
                                        " and +Pinfo_id in " + who + " and " + spentRows(yearMonth) + " group by Pinfo_id")
                     : readAll(con, kSpentSums + "Record_XF where Pinfo_id in " + who + " and " + spentRows(yearMonth) +
                                        " group by Pinfo_id");
    if (before.known)
        for (const Request& r : requests)
            if (const auto found = before.spent.find(r.pinfoId); found != before.spent.end()) {
                QL_Figures& f = figures[r.pinfoId];
                f.spentFen = found->second.first;
                f.spentTimes = found->second.second;
            }
    for (int r = 1; r <= spent.rowUBound(); ++r) {
        QL_Figures& f = figures[whole(spent(r, 0))];
        f.spentFen = fenAdd(f.spentFen, whole(spent(r, 1)));
        f.spentTimes = fenAdd(f.spentTimes, whole(spent(r, 2)));
    }
    const DataList cards = readAll(con, "select ID,Pinfo_id,C_YuE_ID,C_YuCi_ID,Card_No_Lng,C_LeiBie,Card_No from "
                                        "Card_Info where PInfo_id in " + who +
                                        " and Card_Model=1 and C_GuaShi=0 order by ID");
    std::map<std::int64_t, int> firstCard;
    for (int r = cards.rowUBound(); r >= 1; --r) firstCard[whole(cards(r, 1))] = r;
    const std::string now = Server_Time(con);
    std::vector<XfRowValues> rows;
    std::vector<Cleared_Card> lowered;
    std::string markers;
    for (const Request& r : requests) {
        QL_Figures& f = figures[r.pinfoId];
        const auto card = firstCard.find(r.pinfoId);
        if (f.cleared) {
            outcomes.push_back(Outcome::Already_Cleared);
        } else if (card == firstCard.end()) {
            outcomes.push_back(Outcome::No_Card);
        } else {
            lowered.push_back(clearingRows(cards, card->second, r, f, now, rows));
            markers += (markers.empty() ? "" : ",") + markerValues(r, lowered.back().money, lowered.back().times);
            f.cleared = true;  // listed twice: cleared once
            outcomes.push_back(Outcome::Cleared);
        }
    }
    if (lowered.empty()) return outcomes;
    std::string values;
    for (const XfRowValues& row : rows) values += (values.empty() ? "" : ",") + xfValues(row);
    con.execute(kXfColumns + values);
    con.execute(kMarkerColumns + markers);
    std::string ids, money, times;
    for (const Cleared_Card& c : lowered) {
        ids += (ids.empty() ? "" : ",") + num(c.id);
        money += " when " + num(c.id) + " then " + num(c.money);
        times += " when " + num(c.id) + " then " + num(c.times);
    }
    con.execute("update Card_Info set C_YuCi_ID=C_YuCi_ID-(case ID" + times + " end),C_YuE_ID=C_YuE_ID-(case ID" +
                money + " end),ID_YuE_Now='" + q(now) + "' where ID in (" + ids + ")");
    return outcomes;
}

}  // namespace Clearing_Store

}  // namespace tolvenk
