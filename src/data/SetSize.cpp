#include "data/SetSize.h"

#include <algorithm>

#include "data/WriteBatch.h"
#include "platform/services/Services.h"

namespace tolvenk {

std::int64_t Set_Size::next(bool telling) const {
    if (telling && platform::services().yieldDue()) return 1;
    return std::max<std::int64_t>(1, std::min(batch_.room(), fits_));
}

void Set_Size::took(std::int64_t count, std::chrono::steady_clock::duration took) {
    if (count <= 0) return;
    const double each = std::chrono::duration<double>(took).count() / static_cast<double>(count);
    const double limit = std::chrono::duration<double>(batch_.timeLimit()).count();
    // Growing by steps: one quick set says little of the next one's rows.
    const double fit = each > 0 ? limit / each : 1e9;
    fits_ = std::max<std::int64_t>(1, static_cast<std::int64_t>(std::min(fit, 4.0 * static_cast<double>(count))));
}

}  // namespace tolvenk
