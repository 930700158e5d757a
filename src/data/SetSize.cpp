#include "data/SetSize.h"

#include <algorithm>

#include "data/WriteBatch.h"
#include "platform/SizedToTake.h"
#include "platform/services/Services.h"

namespace tolvenk {

// Sized when asked, not when the last set ended: a writer seen waiting in
// between shortens the batch's time at once (not a server's card sets).
std::int64_t Set_Size::next(bool telling) const {
    if (telling && platform::services().yieldDue()) return 1;
    if (timed_ <= 0) return std::max<std::int64_t>(1, std::min(batch_.room(), first_));
    using Seconds = std::chrono::duration<double>;
    Seconds within = batch_.setTime();
    if (telling) within = std::min(within, Seconds(batch_.untilTelling()));
    return platform::sizedToTake(timed_, Seconds(each_ * static_cast<double>(timed_)), within, 4.0, 1, batch_.room());
}

void Set_Size::took(std::int64_t count, std::chrono::steady_clock::duration took) {
    if (count <= 0) return;
    each_ = std::chrono::duration<double>(took).count() / static_cast<double>(count);
    timed_ = count;
}

}  // namespace tolvenk
