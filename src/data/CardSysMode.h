#pragma once
#include <cstdint>
#include <string>

namespace tolvenk {

// The installation's card system, P2 of the 'Sys_Config' row of Sys_Para.
namespace Card_Sys_Mode {
constexpr int IC = 1;         // purses on the cards; the settlement runs only then
constexpr int MealOrder = 3;  // card types also carry meal-order limits
// Any other value (0 when the row is missing) is an ID system.
inline bool isIC(int mode) { return mode == IC; }

// P2 as a number. A text that is no number cannot tell IC from ID: it is
// refused with an error that names the setting, as a clerk reads it.
double number(const std::string& p2);
// P2 as the mode, rounded to a whole number; refused as above, and so is a
// number no 32-bit mode holds.
std::int32_t read(const std::string& p2);

// Positions in a whole 'Sys_Config' row (select *).
constexpr int IcFlagColumn = 7;       // 1 = IC installation
constexpr int TimesSwitchColumn = 10;  // 0 = no times purses: times functions off
}  // namespace Card_Sys_Mode

// Card_Info condition of a usable ID card.
constexpr const char* UsableIdCardCondition = "Card_Model=1 and C_GuaShi=0";

}  // namespace tolvenk
