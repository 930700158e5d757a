#pragma once
#include <string>

namespace tolvenk {

// The window a menu code opens, or "" for a code without one.
std::string windowForMenuCode(int code);

}  // namespace tolvenk
