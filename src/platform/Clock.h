#pragma once
#include <string>

namespace tolvenk::platform {

// The computer's local time as "yyyy-MM-dd hh:mm:ss".
std::string localClockText();

}  // namespace tolvenk::platform
