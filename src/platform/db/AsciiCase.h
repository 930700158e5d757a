#pragma once
#include <string_view>

namespace tolvenk {

// Comparisons that ignore ASCII case only, as the engines' LIKE and field
// names do; other bytes (Chinese text) must match exactly.
bool equalsNoCase(std::string_view a, std::string_view b);
// LIKE with % (any run) and _ (one byte), also * and ? as the file engine writes them.
bool likeNoCase(std::string_view text, std::string_view pattern);

}  // namespace tolvenk
