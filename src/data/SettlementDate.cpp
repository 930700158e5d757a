#include "data/SettlementDate.h"

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
    const year_month_day ymd{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
    if (!ymd.ok() || y < 100) return std::nullopt;
    return ymd;
}

std::string formatDate(const year_month_day& d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", static_cast<int>(d.year()), static_cast<unsigned>(d.month()),
                  static_cast<unsigned>(d.day()));
    return buf;
}

std::string settlementDate(const std::string& p1) {
    const auto d = readDate(p1);
    return d ? formatDate(*d) : DefaultSettlementDate;
}

std::string settlementMonth(const std::string& p1) {
    const auto read = readDate(p1);
    if (!read) return DefaultSettlementDate;
    sys_days d{*read};
    const unsigned dayOfMonth = static_cast<unsigned>(read->day());
    if (dayOfMonth > 20) d += days{20};
    else if (dayOfMonth >= 2) d += days{32};
    const year_month_day moved{d};
    return formatDate(moved).substr(0, 7) + "-01";
}

}  // namespace tolvenk
