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

}  // namespace tolvenk
