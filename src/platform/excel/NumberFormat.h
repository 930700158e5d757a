#pragma once
#include <string_view>

namespace tolvenk::excel {

// Whether a number format shows its number as a date or a time: the
// built-in date formats by their number (those of Chinese and Japanese
// editions included), and any format with day, month, year, hour or
// second codes outside its quoted text, escapes and [colour] marks.
bool isDateFormat(int id, std::string_view code);

}  // namespace tolvenk::excel
