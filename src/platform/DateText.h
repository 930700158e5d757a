#pragma once
// Dates as the module writes them: text "yyyy-MM-dd", months "yyyy-MM".
#include <chrono>
#include <optional>
#include <string>

namespace tolvenk {

// A text read as a date: "yyyy-M-d" or "yyyy/M/d", optionally followed by a time.
std::optional<std::chrono::year_month_day> readDate(const std::string& text);
std::string formatDate(const std::chrono::year_month_day& d);  // yyyy-MM-dd
std::string formatMonth(int year, unsigned month);             // yyyy-MM
// "yyyy-MM-dd hh:mm:ss" from a date with an optional time ("y-M-d h:m:s");
// nothing when the text does not start with a date.
std::optional<std::string> normalDateTime(const std::string& text);
// The day before or after, by whole days.
std::chrono::year_month_day addDays(const std::chrono::year_month_day& d, int days);

}  // namespace tolvenk
