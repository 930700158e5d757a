#include "platform/DateText.h"

#include <cstdio>

namespace tolvenk {

using namespace std::chrono;

std::optional<year_month_day> readDate(const std::string& text) {
    int y = 0, m = 0, d = 0, used = 0;
    char s1 = 0, s2 = 0;
    if (std::sscanf(text.c_str(), " %4d%c%2d%c%2d%n", &y, &s1, &m, &s2, &d, &used) != 5) return std::nullopt;
    if (s1 != s2 || (s1 != '-' && s1 != '/')) return std::nullopt;
    // Only a time (or nothing) may follow the date.
    const std::string rest = text.substr(static_cast<std::size_t>(used));
    if (!rest.empty() && rest.find_first_not_of(" 0123456789:") != std::string::npos) return std::nullopt;
    if (m < 1 || d < 1) return std::nullopt;
    const year_month_day ymd{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
    if (!ymd.ok() || y < 100) return std::nullopt;
    return ymd;
}

std::string formatDate(const year_month_day& d) {
    return formatMonth(static_cast<int>(d.year()), static_cast<unsigned>(d.month())) +
           (static_cast<unsigned>(d.day()) < 10 ? "-0" : "-") + std::to_string(static_cast<unsigned>(d.day()));
}

std::string formatMonth(int year, unsigned month) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02u", year, month);
    return buf;
}

std::optional<std::string> normalDateTime(const std::string& text) {
    int y, mo, d, h = 0, mi = 0, s = 0;
    if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s) < 3) return std::nullopt;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
    return std::string(buf);
}

year_month_day addDays(const year_month_day& d, int n) { return year_month_day{sys_days{d} + days{n}}; }

}  // namespace tolvenk
