#include "platform/db/Utf8.h"

namespace tolvenk {

namespace {
bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Byte offset of character index `chars`, or s.size() when past the end.
std::size_t byteOffset(std::string_view s, std::size_t chars) {
    std::size_t i = 0;
    while (i < s.size() && chars > 0) {
        ++i;
        while (i < s.size() && isContinuation(static_cast<unsigned char>(s[i]))) ++i;
        --chars;
    }
    return i;
}
}  // namespace

std::size_t utf8Length(std::string_view s) {
    std::size_t n = 0;
    for (unsigned char c : s)
        if (!isContinuation(c)) ++n;
    return n;
}

std::string utf8Substr(std::string_view s, std::size_t from, std::size_t n) {
    const std::size_t b = byteOffset(s, from);
    const std::size_t e = b + byteOffset(s.substr(b), n);
    return std::string(s.substr(b, e - b));
}

}  // namespace tolvenk
