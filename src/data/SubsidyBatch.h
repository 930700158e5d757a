#pragma once
// The subsidy batch record (BuTie_OK): its codes and the rules every subsidy
// window applies to a batch's rows. The statements are in BTService and in
// Batch_Store below.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tolvenk {

namespace db {
class Connection;
class Recordset;
}  // namespace db

// B_Unit: the kind of a batch; every row of a batch carries the same kind.
namespace B_Unit_Code {
constexpr std::int16_t ID_Money = 0;
constexpr std::int16_t IC_Money = 1;
constexpr std::int16_t IC_Times = 2;
constexpr std::int16_t ID_Times = 3;
constexpr std::int16_t Clear_Marker = -1;  // written by month-end clearing only
inline bool isMoney(int kind) { return kind == ID_Money || kind == IC_Money; }
inline bool isTimes(int kind) { return kind == IC_Times || kind == ID_Times; }
inline bool isIC(int kind) { return kind == IC_Money || kind == IC_Times; }
inline bool isID(int kind) { return kind == ID_Money || kind == ID_Times; }
}  // namespace B_Unit_Code

// B_SF: the state of one row.
namespace B_SF_Code {
constexpr std::int16_t Prepared = -1;   // only these rows are edited, deleted or granted
constexpr std::int16_t Handed_Out = 0;  // IC: at its subsidy terminal; ID: waiting for a usable card
constexpr std::int16_t At_Terminal_1 = 1;
constexpr std::int16_t Credited = 2;
constexpr std::int16_t At_Terminal_3 = 3;
constexpr std::int16_t Stopped = 4;
}  // namespace B_SF_Code

// B_Type: an ordinary subsidy, or a group transfer recharge, which only the
// ID grant books differently.
namespace B_Type_Code {
constexpr std::int16_t Subsidy = 0;
constexpr std::int16_t Group_Recharge = 1;
}  // namespace B_Type_Code

// A month holds batches 1 to this (B_Times).
constexpr int BT_Batches_Per_Month = 8;

// B_Times of a clearing marker row.
constexpr std::int16_t Clear_Marker_Times = -1;

// The largest amount (yuan) and times one batch row may take.
constexpr double Max_BT_Yuan = 5000;
constexpr double Max_BT_Times = 3000;

// An amount in yuan as the batch stores it: fen rounded half to even, then
// cut down to whole 10 fen (12.34 -> 1230, 12.345 -> 1230).
std::int32_t BT_Yuan_To_Fen(double yuan);

// The check of an amount or times before it goes into a batch row; nothing
// when the text is a number in range, otherwise what is wrong with it.
enum class BT_Value_Problem { Empty, Not_Number, Negative, Too_Big };
std::optional<BT_Value_Problem> BT_Check_Value(const std::string& text, bool times);

// A change written into Record_XF with its sign in front ("+500", "-500",
// "+0"), from the number itself, so a negative amount never reads "+-500".
std::string Signed_Change(std::int64_t value);

// Statements on the main connection.
namespace Batch_Store {
// The clearing marker of a month, if month-end clearing has closed it.
std::shared_ptr<db::Recordset> Clear_Marker(db::Connection& conn, const std::string& year, std::int32_t month);
}  // namespace Batch_Store

}  // namespace tolvenk
