#pragma once
// The statements of the IC settlement: the card list, the 'JieSuan_Date' row
// of Sys_Para, the pruning of the backup tables, the serial rows of a set of cards,
// the walk of one card and its collapse into one settlement row (kind 250).
// Each runs on the connection it is given: the window's own one or Conn_Main.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/ReadPieces.h"

namespace tolvenk {

namespace db {
class Connection;
class Recordset;
}  // namespace db

namespace Settlement_Store {

using Rows = std::shared_ptr<db::Recordset>;

// Money serials (Card_LiuShui, YuE_Change, YuE_New) or times serials
// (Ci_LiuShui, YuCi_Change, YuCi_New): settled alike, each on its own columns.
enum class Serial { Money, Times };
struct Serial_Columns {
    const char* serial;
    const char* change;
    const char* balance;
};
Serial_Columns columns(Serial kind);

// Card_No, Pinfo_ID of every card that Card_Log knows for an employee.
Rows Card_List(db::Connection& con);

// The 'JieSuan_Date' row, every column.
Rows Settlement_Row(db::Connection& con);
// A run to `cutoff` has begun: P2 '0', and P3 the cut-off it is going to, so
// that an unfinished run can be told and finished; P1 stays. The row is made
// when missing (P1 empty: no settlement date yet).
void Mark_Running(db::Connection& con, const std::string& cutoff);
// A run settled every card: P1 the cut-off, P2 '1', P3 emptied; the row is
// made when missing. Read and written under the write lock.
void Record_Cutoff(db::Connection& con, const std::string& cutoff);

// Drops the backup rows dated before `backupStart` from Record_BF_XF and
// BuTie_BF_OK, both or neither.
void Prune_Backups(db::Connection& con, const std::string& backupStart);

// The card's highest serial of that kind dated before the cut-off; 0 when none.
std::int64_t Top_Serial(db::Connection& con, Serial kind, const std::string& cutoff, std::int32_t person,
                        const std::string& card);
// Pinfo_ID, Card_No of the cards of the card list holding a row with a
// serial above 1 dated before the cut-off written after row `since`: those a
// walk may find to collapse after their turn.
Rows Candidates(db::Connection& con, const std::string& cutoff, std::int64_t since);
// Pinfo_ID, Card_No, Low_Money, Low_Times: each card's lowest money and times
// serial above 1 among its rows dated on or after the cut-off or not at all.
// `piece`, a piece of Late_Pieces or "Date_Time is null", stands in for the
// dates; a card's rows of one date lie in one piece.
Rows Late_Lows(db::Connection& con, const std::string& cutoff, const std::string& piece = "");
db::Pieces_Along Late_Pieces(const std::string& cutoff);
// The rows of the employees `people` with a money or a times serial dated
// before the cut-off (the person-and-date index serves them), and those
// dated on or after it or not at all whose money serial lies in 2..topMoney
// or times serial in 2..topTimes: ID, Pinfo_ID, Card_No, Card_LiuShui,
// Ci_LiuShui, YuE_Change, YuE_New, YuCi_Change, YuCi_New, Date_Time,
// XF_Type, Err_Code.
Rows Serial_Rows(db::Connection& con, const std::string& people, const std::string& cutoff);
Rows Late_Rows(db::Connection& con, const std::string& people, const std::string& cutoff, std::int64_t topMoney,
               std::int64_t topTimes);
// The same columns of the employees' rows written after row `since`.
Rows New_Rows(db::Connection& con, const std::string& people, std::int64_t since);
// The collapses of several cards as rows: copies the rows `kept` to
// Record_BF_XF as they are, copies and deletes `moved`, deletes `gone`, and
// turns each settled row into a settlement row (kind 250) with its change and
// balance, those of the serial's kind. IDs as lists of numbers ("1,2,3");
// the caller holds the transaction.
struct Settled_Row {
    std::int64_t id = 0;
    std::int64_t sum = 0;
    std::int64_t balance = 0;
};
void Move_Rows(db::Connection& con, const std::string& kept, const std::string& moved, const std::string& gone);
void Settle_Rows(db::Connection& con, Serial kind, const std::vector<Settled_Row>& rows);

// The card's rows with a serial of that kind up to `top`, highest first:
// change, balance, Date_Time, serial, XF_Type, Card_No, Pinfo_ID, Err_Code.
Rows Walk(db::Connection& con, Serial kind, std::int64_t top, std::int32_t person, const std::string& card);

// What the walk found for one card and kind: serial N becomes the settlement
// row with `sum` as its change and `balance` after it.
struct Collapse {
    std::int64_t serial = 0;
    std::int64_t sum = 0;
    std::int64_t balance = 0;
};
// Copies serials 2..N (earlier settlement rows and rows dated before
// `backupStart` excepted) to Record_BF_XF, deletes serials 2..N-1 and turns
// N into the settlement row. A row dated on or after the cut-off is neither
// copied nor changed, though it hold serial N (the other card of a number
// written in two cases). The caller holds the transaction.
void Collapse_Card(db::Connection& con, Serial kind, const Collapse& c, std::int32_t person, const std::string& card,
                   const std::string& backupStart, const std::string& cutoff);

}  // namespace Settlement_Store

}  // namespace tolvenk
