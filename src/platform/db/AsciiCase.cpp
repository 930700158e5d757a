#include "platform/db/AsciiCase.h"

namespace tolvenk {

namespace {
// ASCII letters only, whatever the process's locale; no table lookup per character.
char fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

bool likeNoCase(std::string_view text, std::string_view pattern) {
    // Iterative wildcard match with one backtrack point.
    std::size_t t = 0, p = 0, star = std::string_view::npos, mark = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '%' || pattern[p] == '*')) {
            star = p++;
            mark = t;
        } else if (p < pattern.size() &&
                   (pattern[p] == '_' || pattern[p] == '?' || fold(pattern[p]) == fold(text[t]))) {
            ++p;
            ++t;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            t = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && (pattern[p] == '%' || pattern[p] == '*')) ++p;
    return p == pattern.size();
}

}  // namespace tolvenk
