#pragma once

namespace tolvenk {

// Err_Code of a transaction row.
namespace Err_Code {
constexpr int Valid = 0;
constexpr int Uncertain = 1;
constexpr int Correction = 2;  // row written by the IC balance correction
}  // namespace Err_Code

}  // namespace tolvenk
