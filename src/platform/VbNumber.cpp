#include "platform/VbNumber.h"

#include <cmath>
#include <limits>

#include "platform/Error.h"

namespace tolvenk {

namespace {
template <class Int>
Int roundInto(double v) {
    const double r = std::nearbyint(v);  // the default rounding mode: half to even
    if (!(r >= std::numeric_limits<Int>::min() && r <= std::numeric_limits<Int>::max()))
        throw VbError(6, "Overflow");
    return static_cast<Int>(r);
}
}  // namespace

std::int16_t vbCInt(double v) { return roundInto<std::int16_t>(v); }
std::int32_t vbCLng(double v) { return roundInto<std::int32_t>(v); }

}  // namespace tolvenk
