#include "data/CardService.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "data/SqlPieces.h"
#include "data/XFService.h"
#include "lang/LangGlobals.h"
#include "platform/Error.h"
#include "platform/ErrorText.h"
#include "platform/FenMath.h"
#include "platform/MoneyText.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Transaction.h"
#include "platform/services/Services.h"

namespace tolvenk {

using sql::num;
using sql::likeEnd;
using sql::lit;
using sql::q;

namespace {

constexpr int kNoSuchCard = 984;  // "the card is no longer in Card_Info"

double limitValue(const std::string& cell) {
    const auto v = parseNumber(cell);
    if (!v) throw VbError(13, "Type mismatch");
    return *v;
}

}  // namespace

bool CardService::Get_Cards(std::int16_t c_leibie) {
    return base_.Get_DataList("select * from Card_Info where C_LeiBie=" + num(c_leibie) + " and C_GuaShi=0 ")
               .rowUBound() < 1;
}

std::int16_t CardService::New_Type(const std::vector<std::string>& para) {
    if (para.size() < 3) throw VbError(9, "Subscript out of range");
    std::string insert =
        "Insert into Card_Type(C_LeiBie,C_Name,C_Remark,C_F_Money,C_T_Money,C_H_Money,Ci_Yuan,Tian_Yuan,"
        "Tian_Ci,Zao_Yuan,Zao_Ci,Zhong_Yuan,Zhong_Ci,Wan_Yuan,Wan_Ci,Ye_Yuan,Ye_Ci,Xiao_Yuan,"
        "Xiao_Ci,BT_Money,BT_Ci,Del_YN) values(";
    for (std::size_t i = 1; i < para.size(); ++i) insert += "'" + q(para[i]) + "'" + (i + 1 < para.size() ? "," : ")");
    // The name check and the insert under one write lock: two operators
    // adding the same name at once cannot both get it.
    base_.Open_DB_Con();
    const std::shared_ptr<db::Connection> con = base_.DB_Con;
    const auto done = [&](std::int16_t result) {
        con->close();
        base_.DB_Con.reset();
        return result;
    };
    try {
        db::Transaction t(*con);
        if (!con->openRecordset("select * from Card_Type where C_Name='" + q(para[2]) + "'")->eof()) {
            t.rollback();
            return done(-2);
        }
        const bool added = con->execute(insert) > 0;
        t.commit();
        return done(added ? 0 : -1);
    } catch (...) {
        done(0);
        throw;
    }
}

DataList CardService::Get_Type(const std::string& para) {
    std::string sql = "select * from Card_Type where Del_YN=0";
    if (!para.empty()) sql += " and ID='" + q(para) + "'";
    return base_.Get_DataList(sql + " order by C_LeiBie,ID");
}

std::int16_t CardService::Update_Type(const std::vector<std::string>& para) {
    return base_.Mod_DataByIndex("Card_Type", "ID", 1, para, 1) ? 0 : -1;
}

std::int16_t CardService::Delect_Type(std::int16_t id) {
    return base_.Exec_Sql("update Card_Type set Del_YN=1 where ID=" + num(id)) ? 0 : -1;
}

std::int16_t CardService::Check_Tian(std::int32_t card_Lei) {
    const DataList d =
        base_.Get_DataList("select Tian_Yuan,Tian_Ci from Card_Type where C_LeiBie=" + num(card_Lei) + "  and Del_YN=0");
    if (d.rowUBound() < 1) return 0;
    const double a = limitValue(d(1, d.col("Tian_Yuan"))), b = limitValue(d(1, d.col("Tian_Ci")));
    if (a == -1 || b == -1 || a > 0 || b > 0) return -1;
    return a == -2 || b == -2 ? -2 : 0;
}

std::shared_ptr<db::Recordset> CardService::get_IDYuE(const std::string& Dept_No, const std::string& p_Name,
                                                      const std::string& p_code) {
    std::string sql =
        "select C.Card_Type,P.Pinfo_ID,D.Dept_No,P.P_Name,P.P_Code,D.Dept_Name,C.Card_No,C.C_YuE_ID "
        " from Ren_Per_Info as P,Ren_Dept_info as D,Card_Info as C where D.Dept_No like '" +
        lit(Dept_No) + "%" + likeEnd + " and P.Dept_No=D.Dept_No and P.Pinfo_id=C.Pinfo_Id ";
    if (!p_Name.empty()) sql += " and P.P_Name='" + q(p_Name) + "' ";
    if (!p_code.empty()) sql += " and P.P_Code='" + q(p_code) + "'";
    // One person's cards, and namesakes, in one order on either engine.
    return base_.Get_DataList_ADO(sql + " order by P_Name,C.ID");
}

bool CardService::YuE_QL(std::int32_t Pinfo_id, const std::string& Card_No) {
    const std::string where = " where Pinfo_id=" + num(Pinfo_id) + " and Card_No='" + q(Card_No) + "'";
    const std::vector<std::string> statements = {"update Card_Info set C_YuE_ID=0" + where,
                                                 "update Card_Log set Card_YuE=0" + where};
    std::size_t failed = 0;
    try {
        return base_.Exec_Sql_Trans(statements, &failed);
    } catch (const db::DbError& e) {
        // The statement stays in the box after the clerk's sentence: support reads it.
        platform::services().msgBox(platform::errorText(e) + "\n" + statements[failed], platform::vbInformation,
                                    platform::kApplicationTitle);
        return false;
    }
}

CardService::QL_Result CardService::YuE_QL_ZF(std::int32_t Pinfo_id, const std::string& Card_No, QL_Log& log) {
    QL_Result r;
    QL_Log after = log;
    try {
        base_.Open_DB_Con();
        const db::CloseOnExit closing(*base_.DB_Con);
        r = YuE_QL_ZF(*base_.DB_Con, Pinfo_id, Card_No, log, after);
    } catch (const std::exception& e) {
        r = QL_Result{};
        r.error = platform::errorText(e);
        return r;
    }
    if (r.state != QL_Result::Failed) log = after;
    return r;
}

bool CardService::YuE_QL_Log(const std::string& DateStr, std::int32_t Operator_id, std::int32_t Op_Code,
                             const std::string& Op_Object) {
    return base_.Exec_Sql("insert into Sys_Log(Date_Time,Operator_ID,Op_Code,Op_Object) values('" + q(DateStr) + "'," +
                          num(Operator_id) + "," + num(Op_Code) + ",'" + q(Op_Object) + "')");
}

namespace {

constexpr std::int32_t kVoid = 175, kLogCode = 301;

std::string ofCard(std::int32_t person, const std::string& card) {
    return "Pinfo_id=" + num(person) + " and Card_No='" + q(card) + "'";
}

db::DbError noSuchCard() { return db::DbError::told(platform::numberedText(kNoSuchCard, Lang[kNoSuchCard]), 3021); }

// The click's log row as `after` tells it: written with the first card the
// click takes, under the write lock, and brought up to date after.
std::string logText(const CardService::QL_Log& after) {
    return std::to_string(after.count) + "," + std::to_string(after.sum);
}

std::string logUpdate(const CardService::QL_Log& after) {
    return "update Sys_Log set Op_Object='" + q(logText(after)) + "' where ID=" + num(after.id);
}

void writeLog(db::Connection& con, CardService::QL_Log& after) {
    if (after.id != 0) {
        con.execute(logUpdate(after));
        return;
    }
    con.execute("insert into Sys_Log(Date_Time,Operator_ID,Op_Code,Op_Object) values('" + q(after.time) + "'," +
                num(after.operatorId) + "," + num(kLogCode) + ",'" + q(logText(after)) + "')");
    // Under the write lock no other office's row can come between.
    after.id = con.openRecordset("select max(ID) from Sys_Log where Op_Code=" + num(kLogCode) + " and Operator_ID=" +
                                 num(after.operatorId) + " and Date_Time='" + q(after.time) + "'")
                   ->field(0)
                   .toInt64();
}

// A card number as the column compares it: regardless of ASCII case (the
// file's NOCASE, the server's citext under byte collation), byte for byte
// otherwise.
std::string cardKey(std::string card) {
    for (char& c : card)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return card;
}

}  // namespace

CardService::QL_Result CardService::YuE_QL_ZF(db::Connection& con, std::int32_t Pinfo_id, const std::string& Card_No,
                                              const QL_Log& log, QL_Log& after) {
    const std::string where = " where " + ofCard(Pinfo_id, Card_No);
    QL_Result r;
    after = log;
    db::Transaction t(con);
    // The card's row stays locked from this read to the commit, so a
    // terminal's debit cannot fall between the balance voided and the
    // zero written (on the server the terminal locks that row too).
    con.lockRows("Card_Info", ofCard(Pinfo_id, Card_No));
    auto rs = con.openRecordset("select C_YuE_ID,C_LeiBie from Card_Info" + where);
    if (rs->eof()) throw noSuchCard();
    const std::int64_t leiBie = rs->field("C_LeiBie").toInt64();
    std::int64_t balance = 0;
    for (; !rs->eof(); rs->moveNext()) balance = fenAdd(balance, rs->field("C_YuE_ID").toInt64());
    // Both balances of every ticked card end at 0; a card already at
    // 0 gets no void row of nothing, yet counts in the click's log row.
    con.execute("update Card_Log set Card_YuE=0" + where);
    const std::int64_t amount = fenNeg(balance);
    if (balance != 0) {
        con.execute(XFService::add_YuE_ZF_Sql(Pinfo_id, kVoid, amount, log.time, Card_No,
                                              static_cast<std::int32_t>(leiBie), log.operatorId));
        con.execute("update Card_Info set C_YuE_ID=0" + where);
    }
    after.count = fenAdd(log.count, 1);
    after.sum = fenAdd(log.sum, amount);
    writeLog(con, after);
    r.state = balance == 0 ? QL_Result::Already_Zero : QL_Result::Cleared;
    r.amount = amount;
    t.commit();
    return r;
}

// The cards' rows read once and each card's figures worked out in order as
// its own turn would find them (a card listed twice finds 0 the second
// time); then one statement for each kind of write. Rows are found by
// their employees and keys, which a server plans at once, not by a list of
// each card's two values, which it plans term by term.
std::vector<CardService::QL_Result> CardService::YuE_QL_ZF(db::Connection& con, const std::vector<QL_Card>& cards,
                                                           const QL_Log& log, QL_Log& after) {
    std::vector<QL_Result> results(cards.size());
    after = log;
    if (cards.empty()) return results;
    std::vector<std::int64_t> people;
    for (const QL_Card& c : cards) people.push_back(c.person);
    const std::string theirs = "Pinfo_id in (" + sql::numList(people) + ")";
    struct Rows {
        std::vector<std::int64_t> ids, balances;
        std::int64_t leiBie = 0;  // the first row's
    };
    std::map<std::pair<std::int64_t, std::string>, Rows> rowsOf;
    // As one card's turn: the rows held from the read to the commit, in one
    // order against another office clearing the same cards; the employees'
    // other cards with them.
    for (auto rs = con.openLockedRecordset("select ID,Pinfo_id,Card_No,C_YuE_ID,C_LeiBie from Card_Info where " +
                                           theirs + " order by ID");
         !rs->eof(); rs->moveNext()) {
        Rows& rows = rowsOf[{rs->field(1).toInt64(), cardKey(rs->field(2).toString())}];
        if (rows.ids.empty()) rows.leiBie = rs->field(4).toInt64();
        rows.ids.push_back(rs->field(0).toInt64());
        rows.balances.push_back(rs->field(3).toInt64());
    }
    std::vector<std::int64_t> taken, takenPeople, zeroed;  // rows of the cards gone through; of those voided
    std::vector<XFService::YuE_ZF_Row> voids;
    std::set<std::pair<std::int64_t, std::string>> seen;
    for (std::size_t i = 0; i < cards.size(); ++i) {
        const QL_Card& card = cards[i];
        QL_Result& r = results[i];
        const auto key = std::make_pair(static_cast<std::int64_t>(card.person), cardKey(card.cardNo));
        const auto found = rowsOf.find(key);
        std::int64_t balance = 0, amount = 0;
        try {
            if (found == rowsOf.end()) throw noSuchCard();
            for (const std::int64_t b : found->second.balances) balance = fenAdd(balance, b);
            amount = fenNeg(balance);
            const std::int64_t count = fenAdd(after.count, 1), sum = fenAdd(after.sum, amount);
            after.count = count;
            after.sum = sum;
        } catch (const std::exception& e) {
            r.error = platform::errorText(e);  // changes nothing, as its own failed turn
            continue;
        }
        r.state = balance == 0 ? QL_Result::Already_Zero : QL_Result::Cleared;
        r.amount = amount;
        Rows& rows = found->second;
        if (seen.insert(key).second) {
            taken.insert(taken.end(), rows.ids.begin(), rows.ids.end());
            takenPeople.push_back(card.person);
        }
        if (balance == 0) continue;
        voids.push_back({card.person, amount, card.cardNo, static_cast<std::int32_t>(rows.leiBie)});
        zeroed.insert(zeroed.end(), rows.ids.begin(), rows.ids.end());
        std::fill(rows.balances.begin(), rows.balances.end(), 0);
    }
    if (taken.empty()) return results;  // no card went through: nothing is written, not even the log
    // The card-log rows of each card gone through: those of its employee
    // whose number its rows hold, as the card's own number finds them.
    std::vector<std::string> writes{"update Card_Log set Card_YuE=0 where Pinfo_id in (" +
                                    sql::numList(takenPeople) + ") and exists(select 1 from Card_Info c where c.ID in (" +
                                    sql::numList(taken) +
                                    ") and c.Pinfo_id=Card_Log.Pinfo_id and c.Card_No=Card_Log.Card_No)"};
    if (!voids.empty()) {
        writes.push_back(XFService::add_YuE_ZF_Rows_Sql(kVoid, log.time, log.operatorId, voids));
        writes.push_back("update Card_Info set C_YuE_ID=0 where ID in (" + sql::numList(zeroed) + ")");
    }
    if (after.id != 0) writes.push_back(logUpdate(after));
    con.executeEach(writes);
    if (after.id == 0) writeLog(con, after);
    return results;
}

}  // namespace tolvenk
