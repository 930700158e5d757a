#pragma once
#include <string>

namespace tolvenk {

// The built-in summary reports 1..9: their default format "P2;P3;P4;P5",
// used until a report's format is stored; "" for any other number.
std::string HZ_Default_Format(int reportNo);

}  // namespace tolvenk
