#pragma once
#include <string>
#include <string_view>

namespace tolvenk::excel {

// Whether a number format shows its number as a date or a time: the
// built-in date formats by their number (those of Chinese and Japanese
// editions included), and any format with day, month, year, hour or
// second codes outside its quoted text, escapes and [colour] marks.
bool isDateFormat(int id, std::string_view code);

// A number cell's text, alike from both formats: the fewest digits that read
// back as the same number, written out plainly (100000, not 1e+05) as the
// sheet shows it and a person types it; only a number beyond 15 whole digits
// or below 0.0001 keeps an exponent.
std::string numberText(double v);

}  // namespace tolvenk::excel
