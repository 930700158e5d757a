#pragma once
#include <string>

#include "platform/DateText.h"

namespace tolvenk {

// The date before which IC transactions have been settled: P1 of the
// 'JieSuan_Date' row of Sys_Para; "2008-01-01" when it is missing or unreadable.
constexpr const char* DefaultSettlementDate = "2008-01-01";

// The settlement date as "yyyy-MM-dd" from P1.
std::string settlementDate(const std::string& p1);
// The first day of the month after the settlement date ("yyyy-MM-01"), or of
// its own month when it is a 1st.
std::string settlementMonth(const std::string& p1);

}  // namespace tolvenk
