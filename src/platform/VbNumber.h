#pragma once
#include <cstdint>

namespace tolvenk {

// The classic integer conversions: round half to even, error 6 (overflow)
// when the result does not fit.
std::int16_t vbCInt(double v);
std::int32_t vbCLng(double v);

}  // namespace tolvenk
