#pragma once

namespace tolvenk {

// Grouping dimensions of a summary-report format (P2 characters 2-3 and 4-5).
namespace HZ_Dim {
constexpr int Place = 1;
constexpr int Mach = 2;
constexpr int Cashier = 3;
constexpr int Unit = 4;
constexpr int CardType = 5;
constexpr int Dept = 6;
constexpr int Operator = 7;
constexpr int Date = 8;
constexpr int None = 9;
}  // namespace HZ_Dim

}  // namespace tolvenk
