#pragma once
#include <array>

namespace tolvenk {

// Physical column positions of Record_XF (and of its backup twin
// Record_BF_XF): rows are read and written by position.
namespace Record_XF {
constexpr int ID = 0;
constexpr int Mach_ID = 1;
constexpr int Pinfo_id = 2;
constexpr int Card_No_Lng = 3;
constexpr int Shou_Kuan = 4;
constexpr int C_LeiBie = 5;
constexpr int XF_Dian_ID = 6;
constexpr int XF_Type = 7;
constexpr int XF_Meal = 8;
constexpr int YuE_Old = 9;
constexpr int YuE_Change = 10;
constexpr int YuE_New = 11;
constexpr int C_QuHao = 12;
constexpr int Card_LiuShui = 13;
constexpr int Mach_LiuShui = 14;
constexpr int Date_Time = 15;
constexpr int Card_No = 16;
constexpr int YuCi_Change = 17;
constexpr int Operator_id = 18;
constexpr int XF_Unit = 19;
constexpr int Ci_QuHao = 20;
constexpr int Ci_LiuShui = 21;
constexpr int YuCi_New = 22;
constexpr int Err_Code = 23;
constexpr int Rec_Time = 24;
constexpr int DC_Date = 25;
constexpr int Shui_Change = 26;
constexpr int Is_ShuiKong = 27;
// Columns of the record; a joined column after Record_XF.* is at this position.
constexpr int ColumnCount = 28;

constexpr std::array<const char*, ColumnCount> Names = {
    "ID",          "Mach_ID",    "Pinfo_id",   "Card_No_Lng", "Shou_Kuan",  "C_LeiBie",     "XF_Dian_ID",
    "XF_Type",     "XF_Meal",    "YuE_Old",    "YuE_Change",  "YuE_New",    "C_QuHao",      "Card_LiuShui",
    "Mach_LiuShui", "Date_Time", "Card_No",    "YuCi_Change", "Operator_id", "XF_Unit",     "Ci_QuHao",
    "Ci_LiuShui",  "YuCi_New",   "Err_Code",   "Rec_Time",    "DC_Date",    "Shui_Change",  "Is_ShuiKong"};
}  // namespace Record_XF

// Err_Code of a transaction row.
namespace Err_Code {
constexpr int Valid = 0;
constexpr int Uncertain = 1;
constexpr int Correction = 2;  // row written by the IC balance correction
}  // namespace Err_Code

}  // namespace tolvenk
