#pragma once
// Amounts in fen as whole numbers from the database to the screen: read
// exactly, never through a double, and added, taken away and negated with a
// check. An amount no 64-bit count of fen can hold is refused (a DbError,
// so that a window counts the employee or card with its failures) instead
// of being booked wrapped.
#include <cstdint>
#include <string>

namespace tolvenk {

std::int64_t fenAdd(std::int64_t a, std::int64_t b);
std::int64_t fenSub(std::int64_t a, std::int64_t b);
std::int64_t fenNeg(std::int64_t a);
// The amount without its sign.
std::int64_t fenAbs(std::int64_t a);
// A stored number as text: a whole number exactly, a decimal one rounded
// half to even; "" is 0; text that is no number, or a number out of range,
// is refused.
std::int64_t fenOf(const std::string& text);

}  // namespace tolvenk
