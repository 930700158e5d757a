#pragma once
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace tolvenk {

// The user-interface text table, filled per language: 0 to 1000 as the
// installation's override database knows them, the module's own texts after.
constexpr std::size_t kOverridableTexts = 1001;
extern std::array<std::string, 1101> Lang;
extern std::int16_t Lan_Type;     // 1 English, 2 Traditional Chinese, other Simplified Chinese
extern std::int16_t Lan_Charset;  // font character set of the language; 0 leaves fonts alone
// The installation's folder (the configuration folder less a trailing "data"),
// under which the language override database lives.
extern std::string Home_Path;

// Text n of the table, as the windows take every caption and message.
inline const std::string& L(int n) { return Lang[static_cast<std::size_t>(n)]; }
// Text n with its marks %1, %2, ... replaced by the values in order.
std::string Lf(int n, std::initializer_list<std::string> values);

}  // namespace tolvenk
