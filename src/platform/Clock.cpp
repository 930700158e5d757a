#include "platform/Clock.h"

#include <ctime>

namespace tolvenk::platform {

std::string localClockText() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

}  // namespace tolvenk::platform
