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

// Text from outside (a database written by another program, in another
// encoding) made valid UTF-8: each invalid sequence becomes U+FFFD, so no
// file written from it is malformed.
bool isValidUtf8(std::string_view s);
std::string validUtf8(std::string_view s);
// In place; untouched (no copy) when already valid.
void makeValidUtf8(std::string& s);

}  // namespace tolvenk
