#include "lang/LangGlobals.h"

namespace tolvenk {

std::array<std::string, 1001> Lang;
std::int16_t Lan_Type = 0;
std::int16_t Lan_Charset = 0;
std::string Home_Path;

}  // namespace tolvenk
