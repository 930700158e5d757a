#include "data/SettlementDate.h"

#include "platform/DateText.h"

namespace tolvenk {

using namespace std::chrono;

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
