#include "lang/LangGlobals.h"

namespace tolvenk {

std::array<std::string, 1101> Lang;
std::int16_t Lan_Type = 0;
std::int16_t Lan_Charset = 0;
std::string Home_Path;

std::string Lf(int n, std::initializer_list<std::string> values) {
    std::string text = L(n);
    int k = 0;
    for (const std::string& v : values) {
        const std::string mark = "%" + std::to_string(++k);
        if (const auto at = text.find(mark); at != std::string::npos) text.replace(at, mark.size(), v);
    }
    return text;
}

}  // namespace tolvenk
