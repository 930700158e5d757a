#include "platform/db/Value.h"

#include "platform/db/SqlText.h"

#include <cstdint>

namespace tolvenk::db {

std::string Value::toString() const {
    if (isNull()) return {};
    if (isInteger()) return std::to_string(asInteger());
    if (isReal()) return formatReal(asReal());
    return asText();
}

double Value::toDouble() const {
    if (isNull()) return 0.0;
    if (isInteger()) return static_cast<double>(asInteger());
    if (isReal()) return asReal();
    return vbVal(asText());
}

std::int64_t Value::toInt64() const {
    if (isInteger()) return asInteger();
    const double d = toDouble();
    // Out-of-range reals saturate instead of converting with undefined behaviour.
    if (!(d > -9.2e18)) return d != d ? 0 : INT64_MIN;
    if (d > 9.2e18) return INT64_MAX;
    return static_cast<std::int64_t>(d);
}

}  // namespace tolvenk::db
