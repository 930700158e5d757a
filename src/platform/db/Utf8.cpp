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
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Length of the well-formed sequence at s[i], or 0 when it is not one. The
// second byte's range rules out overlong forms, surrogates and code points
// past U+10FFFF.
std::size_t sequenceAt(std::string_view s, std::size_t i, std::size_t* validPrefix) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = at(i);
    std::size_t len = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) len = 2;
    else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        if (b == 0xE0) lo = 0xA0;
        if (b == 0xED) hi = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        if (b == 0xF0) lo = 0x90;
        if (b == 0xF4) hi = 0x8F;
    }
    *validPrefix = 1;
    if (len == 0) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if (i + k >= s.size()) return 0;
        const unsigned char c = at(i + k);
        if (k == 1 ? (c < lo || c > hi) : !isContinuation(c)) return 0;
        *validPrefix = k + 1;
    }
    return len;
}

std::size_t firstInvalid(std::string_view s) {
    std::size_t i = 0, prefix = 0;
    while (i < s.size()) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t n = sequenceAt(s, i, &prefix);
        if (n == 0) return i;
        i += n;
    }
    return s.size();
}
}  // namespace

bool isValidUtf8(std::string_view s) { return firstInvalid(s) == s.size(); }

std::string validUtf8(std::string_view s) {
    std::size_t i = firstInvalid(s);
    std::string out(s.substr(0, i));
    while (i < s.size()) {
        std::size_t prefix = 0;
        const std::size_t n = sequenceAt(s, i, &prefix);
        if (n > 0) {
            out.append(s.substr(i, n));
            i += n;
        } else {
            // The longest start of a valid sequence goes as one mark, as readers count them.
            out.append(kReplacement);
            i += prefix;
        }
    }
    return out;
}

void makeValidUtf8(std::string& s) {
    if (!isValidUtf8(s)) s = validUtf8(s);
}

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
