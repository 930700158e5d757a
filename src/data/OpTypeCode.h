#pragma once
#include <cstdint>
#include <string>

namespace tolvenk {

// Card operations of Card_Log.Op_Type.
namespace Op_Type_Code {
constexpr int Issue = 0;
constexpr int ReportLoss = 1;
constexpr int CancelLoss = 2;
constexpr int Change = 3;
constexpr int Return = 4;
constexpr int BalanceMove = 5;
constexpr int ForceReturn = 6;
constexpr int Cancel = 7;
constexpr int Count = 8;

// The name shown in rows, the same fixed Chinese text in every language;
// "" for any other code.
inline std::string name(std::int64_t code) {
    static const char* const names[Count] = {"发卡", "挂失", "取消挂失", "换卡", "退卡", "金额转移", "强行退卡", "销卡"};
    return code >= 0 && code < Count ? names[code] : "";
}
}  // namespace Op_Type_Code

}  // namespace tolvenk
