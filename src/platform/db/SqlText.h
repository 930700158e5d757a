#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tolvenk {

// The one way a text value enters SQL: single quotes doubled. The caller puts
// the surrounding quotes, so statements keep their written form.
std::string sqlEscape(std::string_view text);

// A text matched literally inside a LIKE pattern: quotes doubled as above and
// the pattern characters (% _ [ and the escape itself) escaped with '\'. The
// statement follows the pattern's closing quote with kLikeEscape.
std::string sqlLikeEscape(std::string_view text);
inline constexpr const char* kLikeEscape = " escape '\\'";

// Numbers are formatted from numeric types, never pasted from text.
std::string sqlNumber(std::int64_t v);
std::string sqlNumber(double v);

// A number that arrives as text (an identifier, a serial) checked and written
// anew; anything that is not a plain number throws DbError.
std::string sqlNumberText(std::string_view text);

// A whole text that is a plain decimal number (blanks around allowed), or nothing.
std::optional<double> parseNumber(std::string_view text);

// VB's Val(): the leading number of a text, blanks ignored, 0 when there is none.
double vbVal(std::string_view text);

// Shortest decimal text of a double, as the classic runtime prints it (1 -> "1").
std::string formatReal(double v);

}  // namespace tolvenk
