#include "lang/LangGlobals.h"

#include <vector>

#include "platform/ShownText.h"

namespace tolvenk {

std::array<std::string, 1101> Lang;
std::int16_t Lan_Type = 0;
std::int16_t Lan_Charset = 0;
std::string Home_Path;

std::string Lf(int n, std::initializer_list<std::string> values) {
    return platform::fillIn(L(n), std::vector<std::string>(values));
}

}  // namespace tolvenk
