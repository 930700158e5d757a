#pragma once
#include <cstdint>
#include <string>

namespace tolvenk {

namespace forms {
class Form;
class ListControl;
}  // namespace forms

// Fills Lang for a language (1 English, 2 Traditional Chinese, other
// Simplified Chinese), then applies the override database under Home_Path.
// Every language writes 0..644 (459 only English, as an empty text); a text
// it lacks is the Simplified Chinese one.
void Load_Lan(std::int16_t code);
// Text n of a built-in language's table (1 English, 2 Traditional Chinese,
// other Simplified Chinese), whatever language is loaded; "" when it has none.
std::string Built_In_Text(std::int16_t code, int n);
// Applies Lan_Charset to a window's fonts. Qt fonts carry no character set,
// so there is nothing to change; it never fails.
void Set_Lan_Font(forms::Form& window);
// Fills a month list with Lang(445)..Lang(456): list index = month - 1.
void Fill_Month_Combo(forms::ListControl& list);

}  // namespace tolvenk
