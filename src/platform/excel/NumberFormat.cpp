#include "platform/excel/NumberFormat.h"

#include <charconv>
#include <cmath>

namespace tolvenk::excel {

bool isDateFormat(int id, std::string_view code) {
    if ((id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58))
        return true;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"') {
            const std::size_t end = code.find('"', i + 1);
            if (end == std::string_view::npos) return false;
            i = end;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;  // the next character is shown as it is, or fills
        } else if (c == '[') {
            const std::size_t end = code.find(']', i + 1);
            if (end == std::string_view::npos) return false;
            // [h], [mm] and [ss] are elapsed times; [Red] and [$-804] are not.
            const std::string_view inside = code.substr(i + 1, end - i - 1);
            if (!inside.empty() && inside.find_first_not_of("hHmMsS") == std::string_view::npos) return true;
            i = end;
        } else {
            switch (c) {
                case 'd': case 'D': case 'm': case 'M': case 'y': case 'Y':
                case 'h': case 'H': case 's': case 'S':
                    return true;
                default:
                    break;
            }
        }
    }
    return false;
}

std::string numberText(double v) {
    char buf[64];
    const double a = std::fabs(v);
    const auto res = a == 0 || (a >= 1e-4 && a < 1e15) ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed)
                                                       : std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

}  // namespace tolvenk::excel
