#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace tolvenk {

// Character-wise helpers for UTF-8 text, so lengths and cuts count characters
// as the classic string functions do, not bytes.
std::size_t utf8Length(std::string_view s);
// n characters from character index `from` (0-based); clipped at the end.
std::string utf8Substr(std::string_view s, std::size_t from, std::size_t n);

}  // namespace tolvenk
