#include "data/SettlementStore.h"

#include "data/ByKeyRange.h"
#include "data/SqlPieces.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"

namespace tolvenk::Settlement_Store {

using sql::num;
using sql::q;

Serial_Columns columns(Serial kind) {
    return kind == Serial::Money ? Serial_Columns{"Card_LiuShui", "YuE_Change", "YuE_New"}
                                 : Serial_Columns{"Ci_LiuShui", "YuCi_Change", "YuCi_New"};
}

Rows Card_List(db::Connection& con) {
    return con.openRecordset("select distinct Card_No,Pinfo_ID from Card_Log where Pinfo_ID > 0 order by Pinfo_ID,Card_No");
}

Rows Settlement_Row(db::Connection& con) {
    return con.openRecordset("select * from Sys_Para where Para_Name = 'JieSuan_Date'");
}

void Mark_Running(db::Connection& con, const std::string& cutoff) {
    db::Transaction t(con);
    if (Settlement_Row(con)->eof())
        con.execute("insert into Sys_Para(Para_Name,P1,P2,P3) values('JieSuan_Date','','0','" + q(cutoff) + "')");
    else
        con.execute("update Sys_Para set P2 = '0', P3 = '" + q(cutoff) + "' where Para_Name = 'JieSuan_Date'");
    t.commit();
}

void Record_Cutoff(db::Connection& con, const std::string& cutoff) {
    db::Transaction t(con);
    if (Settlement_Row(con)->eof())
        con.execute("insert into Sys_Para(Para_Name,P1,P2) values('JieSuan_Date','" + q(cutoff) + "','1')");
    else
        con.execute("update Sys_Para set P1 = '" + q(cutoff) + "', P2 = '1', P3 = '' where Para_Name = 'JieSuan_Date'");
    t.commit();
}

void Prune_Backups(db::Connection& con, const std::string& backupStart) {
    db::Transaction t(con, db::Transaction::Lock::Deferred);
    con.execute("delete from Record_BF_XF where Date_Time < '" + q(backupStart) + "'");
    con.execute("delete from BuTie_BF_OK where FaFang_DT < '" + q(backupStart) + "'");
    t.commit();
}

std::int64_t Top_Serial(db::Connection& con, Serial kind, const std::string& cutoff, std::int32_t person,
                        const std::string& card) {
    const std::string s = columns(kind).serial;
    const Rows top = con.openRecordset("select max(" + s + ") as Top_Serial from Record_XF where " + s + " > 0 " +
                                       "and Date_Time < '" + q(cutoff) + "' and Pinfo_ID = " + num(person) +
                                       " and Card_No = '" + q(card) + "'");
    return top->eof() || top->field(0).isNull() ? 0 : top->field(0).toInt64();
}

Rows Candidates(db::Connection& con, const std::string& cutoff, std::int64_t since) {
    // Only the cards of the run's card list (logged to an employee) count.
    return con.openRecordset("select distinct Pinfo_ID,Card_No from " + byKeyRange(con, "Record_XF") +
                             " where ID > " + num(since) +
                             " and Date_Time < '" + q(cutoff) +
                             "' and (Card_LiuShui > 1 or Ci_LiuShui > 1) and Pinfo_ID > 0 and Card_No in (select "
                             "Card_No from Card_Log where Card_Log.Pinfo_ID = Record_XF.Pinfo_ID)");
}

Rows Late_Lows(db::Connection& con, const std::string& cutoff, const std::string& piece) {
    const std::string dates = piece.empty() ? "(Date_Time >= '" + q(cutoff) + "' or Date_Time is null)" : piece;
    return con.openRecordset("select Pinfo_ID,Card_No,min(case when Card_LiuShui > 1 then Card_LiuShui end) as "
                             "Low_Money,min(case when Ci_LiuShui > 1 then Ci_LiuShui end) as Low_Times from Record_XF "
                             "where " + dates + " and (Card_LiuShui > 1 or Ci_LiuShui > 1) group by Pinfo_ID,Card_No");
}

// Every date text from the cut-off on: they all begin below DEL.
db::Pieces_Along Late_Pieces(const std::string& cutoff) {
    return {"Record_XF", "Date_Time", cutoff, "\x7f", false, {}, true};
}

namespace {

const std::string kWalkColumns =
    "select ID,Pinfo_ID,Card_No,Card_LiuShui,Ci_LiuShui,YuE_Change,YuE_New,YuCi_Change,YuCi_New,Date_Time,XF_Type,"
    "Err_Code from Record_XF where ";

}  // namespace

Rows Serial_Rows(db::Connection& con, const std::string& people, const std::string& cutoff) {
    return con.openRecordset(kWalkColumns + "Pinfo_ID in (" + people + ") and Date_Time < '" + q(cutoff) +
                             "' and (Card_LiuShui > 0 or Ci_LiuShui > 0)");
}

Rows Late_Rows(db::Connection& con, const std::string& people, const std::string& cutoff, std::int64_t topMoney,
               std::int64_t topTimes) {
    std::string serials;
    if (topMoney >= 2) serials = "Card_LiuShui between 2 and " + num(topMoney);
    if (topTimes >= 2) serials += (serials.empty() ? "" : " or ") + std::string("Ci_LiuShui between 2 and ") + num(topTimes);
    return con.openRecordset(kWalkColumns + "Pinfo_ID in (" + people + ") and (Date_Time >= '" + q(cutoff) +
                             "' or Date_Time is null) and (" + serials + ")");
}

Rows New_Rows(db::Connection& con, const std::string& people, std::int64_t since) {
    // By the key's range: the employees' own index would read all their rows.
    return con.openRecordset(kWalkColumns + "ID > " + num(since) + " and +Pinfo_ID in (" + people + ")");
}

void Move_Rows(db::Connection& con, const std::string& kept, const std::string& moved, const std::string& gone) {
    const auto both = [](const std::string& a, const std::string& b) { return a.empty() ? b : b.empty() ? a : a + "," + b; };
    if (!con.onServer()) {
        if (const std::string copy = both(kept, moved); !copy.empty())
            con.execute("insert into Record_BF_XF select * from Record_XF where ID in (" + copy + ")");
        if (const std::string del = both(moved, gone); !del.empty())
            con.execute("delete from Record_XF where ID in (" + del + ")");
        return;
    }
    // The server takes a long list as one array (no brackets: the
    // translation reads them as a quoted name), and copies what it deletes
    // as it goes: each row is visited once.
    const auto any = [](const std::string& ids) { return "ID = any(cast('{" + ids + "}' as bigint array))"; };
    if (!kept.empty()) con.execute("insert into Record_BF_XF select * from Record_XF where " + any(kept));
    if (const std::string del = both(moved, gone); !del.empty())
        con.execute("with gone as (delete from Record_XF where " + any(del) +
                    " returning *) insert into Record_BF_XF select * from gone where " +
                    (moved.empty() ? std::string("false") : any(moved)));
}

void Settle_Rows(db::Connection& con, Serial kind, const std::vector<Settled_Row>& rows) {
    // A case is read from its first branch for each row: some hundred rows
    // to a statement, not thousands.
    constexpr std::size_t kRowsPerStatement = 256;
    const Serial_Columns k = columns(kind);
    for (std::size_t first = 0; first < rows.size(); first += kRowsPerStatement) {
        std::string change, balance, ids;
        for (std::size_t i = first; i < rows.size() && i < first + kRowsPerStatement; ++i) {
            const Settled_Row& r = rows[i];
            change += " when " + num(r.id) + " then " + num(r.sum);
            balance += " when " + num(r.id) + " then " + num(r.balance);
            ids += (ids.empty() ? "" : ",") + num(r.id);
        }
        con.execute("update Record_XF set " + std::string(k.change) + " = case ID" + change + " end, " + k.balance +
                    " = case ID" + balance + " end, XF_Type = 250 where ID in (" + ids + ")");
    }
}

Rows Walk(db::Connection& con, Serial kind, std::int64_t top, std::int32_t person, const std::string& card) {
    const Serial_Columns k = columns(kind);
    const std::string s = k.serial;
    return con.openRecordset("select " + std::string(k.change) + "," + k.balance + ",Date_Time," + s +
                             ",XF_Type,Card_No,Pinfo_ID,Err_Code from Record_XF where " + s + " > 0 " + "and " + s +
                             " <= " + num(top) + " and Pinfo_ID = " + num(person) + " and Card_No = '" + q(card) +
                             "'" + " order by " + s + " DESC, ID DESC");
}

void Collapse_Card(db::Connection& con, Serial kind, const Collapse& c, std::int32_t person, const std::string& card,
                   const std::string& backupStart, const std::string& cutoff) {
    const Serial_Columns k = columns(kind);
    const bool money = kind == Serial::Money;
    const std::string ofCard = " and Card_No = '" + q(card) + "' and Pinfo_ID = " + num(person) + " ";
    // As the walk reads dates: a row without one counts as before the cut-off.
    // Below N every row goes, as the walk passed it; only at N may a row of
    // the other case's card be after the cut-off.
    const std::string beforeCutoff = " and (Date_Time < '" + q(cutoff) + "' or Date_Time is null) ";
    const std::string belowOrBefore =
        " and (" + std::string(k.serial) + " < " + num(c.serial) + " or Date_Time < '" + q(cutoff) + "') ";
    con.execute(std::string("insert into Record_BF_XF select * from Record_XF where XF_Type <> 250") +
                (money ? " and Card_LiuShui > 1 and Card_Liushui <= " : " and Ci_LiuShui > 1 and Ci_Liushui <= ") +
                num(c.serial) + ofCard.substr(0, ofCard.size() - 1) + " and Date_Time >= '" + q(backupStart) +
                "'" + belowOrBefore);
    con.execute(std::string(money ? "delete from Record_XF where Card_LiuShui>1 and Card_Liushui < "
                                  : "delete from Record_XF where Ci_LiuShui>1 and Ci_Liushui < ") +
                num(c.serial) + ofCard);
    con.execute("update Record_XF set " + std::string(k.change) + " = " + num(c.sum) + ", " + k.balance + " = " +
                num(c.balance) + ", XF_Type = 250 where " + k.serial + " = " + num(c.serial) + ofCard.substr(0, ofCard.size() - 1) +
                beforeCutoff);
}

}  // namespace tolvenk::Settlement_Store
