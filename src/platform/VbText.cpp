#include "platform/VbText.h"

namespace tolvenk {

std::vector<std::string> vbSplit(const std::string& text, char separator) {
    std::vector<std::string> out;
    if (text.empty()) return out;
    std::size_t pos = 0;
    while (true) {
        const std::size_t end = text.find(separator, pos);
        out.push_back(text.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
        if (end == std::string::npos) return out;
        pos = end + 1;
    }
}

std::string trimChars(const std::string& text, const char* chars) {
    const auto b = text.find_first_not_of(chars);
    if (b == std::string::npos) return {};
    return text.substr(b, text.find_last_not_of(chars) - b + 1);
}

std::string rtrimChars(const std::string& text, const char* chars) {
    const auto e = text.find_last_not_of(chars);
    return e == std::string::npos ? std::string() : text.substr(0, e + 1);
}

}  // namespace tolvenk
