#include "platform/FenMath.h"

#include <charconv>
#include <cmath>

#include "platform/db/DbError.h"
#include "platform/ShownText.h"
#include "platform/db/SqlText.h"

namespace tolvenk {

namespace {

[[noreturn]] void refuse(const std::string& what) {
    throw db::DbError::told(
        platform::numberedText(1000,
                               "An amount cannot be booked exactly: %1 is beyond the largest amount a record can "
                               "hold. Nothing was written for it.",
                               {what}),
        6);
}

}  // namespace

std::int64_t fenAdd(std::int64_t a, std::int64_t b) {
    std::int64_t r;
    if (__builtin_add_overflow(a, b, &r)) refuse(std::to_string(a) + " + " + std::to_string(b));
    return r;
}

std::int64_t fenSub(std::int64_t a, std::int64_t b) {
    std::int64_t r;
    if (__builtin_sub_overflow(a, b, &r)) refuse(std::to_string(a) + " - " + std::to_string(b));
    return r;
}

std::int64_t fenNeg(std::int64_t a) { return fenSub(0, a); }

std::int64_t fenAbs(std::int64_t a) { return a < 0 ? fenNeg(a) : a; }

std::int64_t fenOf(const std::string& text) {
    if (text.empty()) return 0;
    std::int64_t v = 0;
    const char* end = text.data() + text.size();
    if (const auto [at, ec] = std::from_chars(text.data(), end, v); ec == std::errc() && at == end) return v;
    const auto d = parseNumber(text);
    if (!d) throw db::DbError("'" + text + "' is no amount.", 13);
    const double r = std::nearbyint(*d);
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) refuse(text);
    return static_cast<std::int64_t>(r);
}

std::optional<std::int64_t> storedFen(const db::Value& v) {
    if (v.isNull()) return 0;
    if (v.isInteger()) return v.asInteger();
    if (v.isReal()) {
        const double d = v.asReal();
        if (d >= -9223372036854775808.0 && d < 9223372036854775808.0 && d == std::trunc(d))
            return static_cast<std::int64_t>(d);
        return std::nullopt;
    }
    const std::string& text = v.asText();
    std::int64_t n = 0;
    const char* end = text.data() + text.size();
    if (const auto [at, ec] = std::from_chars(text.data(), end, n); ec == std::errc() && at == end) return n;
    return std::nullopt;
}

}  // namespace tolvenk
