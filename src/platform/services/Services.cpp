#include "platform/services/Services.h"

#include "platform/services/QtServices.h"

namespace tolvenk::platform {

namespace {
std::shared_ptr<Services>& current() {
    static std::shared_ptr<Services> s = std::make_shared<QtServices>();
    return s;
}
}  // namespace

Services& services() { return *current(); }

void yieldEvery(std::chrono::milliseconds every, const std::function<void()>& before) {
    static auto last = std::chrono::steady_clock::now();
    Services& sv = services();
    if (!sv.yieldDue() && std::chrono::steady_clock::now() - last < every) return;
    if (before) before();
    sv.yield();
    last = std::chrono::steady_clock::now();
}

void setServices(std::shared_ptr<Services> s) {
    current() = s ? std::move(s) : std::make_shared<QtServices>();
}

}  // namespace tolvenk::platform
