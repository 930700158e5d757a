#pragma once
// Short forms the data services build their statements with: every text value
// through the quoting helper, every number written from a number.
#include <cstdint>
#include <string>

#include "platform/db/SqlText.h"

namespace tolvenk::sql {

inline std::string q(const std::string& text) { return sqlEscape(text); }
// A LIKE operand taken literally; the pattern is closed with likeEnd.
inline std::string lit(const std::string& text) { return sqlLikeEscape(text); }
inline const std::string likeEnd = std::string("'") + kLikeEscape;
inline std::string num(const std::string& text) { return sqlNumberText(text); }
inline std::string num(std::int64_t v) { return sqlNumber(v); }
// Numbers (or texts of numbers) as an `in (...)` list holds them.
template <class Numbers>
std::string numList(const Numbers& values) {
    std::string list;
    for (const auto& v : values) list += (list.empty() ? "" : ",") + num(v);
    return list;
}

}  // namespace tolvenk::sql
