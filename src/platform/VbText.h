#pragma once
#include <string>
#include <vector>

namespace tolvenk {

// The classic Split: every separator splits, empty fields are kept, and an
// empty text has no fields at all.
std::vector<std::string> vbSplit(const std::string& text, char separator);

}  // namespace tolvenk
