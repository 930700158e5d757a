#pragma once
// Amounts in fen as whole numbers from the database to the screen: read
// exactly, never through a double, and added, taken away and negated with a
// check. An amount no 64-bit count of fen can hold is refused (a DbError,
// so that a window counts the employee or card with its failures) instead
// of being booked wrapped.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/db/Value.h"

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
// A stored amount as the engine hands it over, for a window that shows it:
// NULL is 0, a whole number (or a real or text holding one) is itself;
// nothing when it is no whole 64-bit number, never a rounded one.
std::optional<std::int64_t> storedFen(const db::Value& v);

}  // namespace tolvenk
