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

void setServices(std::shared_ptr<Services> s) {
    current() = s ? std::move(s) : std::make_shared<QtServices>();
}

}  // namespace tolvenk::platform
