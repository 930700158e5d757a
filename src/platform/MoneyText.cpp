#include "platform/MoneyText.h"

#include <cmath>

namespace tolvenk {

std::string centsMagnitude(std::int64_t cents) {
    // In unsigned arithmetic: -2^63 has no positive twin.
    const std::uint64_t a = cents < 0 ? 0 - static_cast<std::uint64_t>(cents) : static_cast<std::uint64_t>(cents);
    const std::uint64_t frac = a % 100;
    return std::to_string(a / 100) + (frac < 10 ? ".0" : ".") + std::to_string(frac);
}

std::string centsText(std::int64_t cents) { return (cents < 0 ? "-" : "") + centsMagnitude(cents); }

std::string centsText(double cents) {
    const double r = std::round(cents);
    // 2^63 itself does not fit; every double below it in magnitude does.
    if (!std::isfinite(r) || std::fabs(r) >= 9223372036854775808.0) return kOverflowMark;
    return centsText(static_cast<std::int64_t>(r));
}

}  // namespace tolvenk
