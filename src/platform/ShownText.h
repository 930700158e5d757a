#pragma once
#include <initializer_list>
#include <string>

namespace tolvenk::platform {

// The platform's messages for a clerk come from the module's text table, which
// lives in a layer above; that layer hands its lookup down once it is loaded.
using TextLookup = const std::string& (*)(int n);
void setTextLookup(TextLookup lookup);

// Text n of the loaded table with %1, %2, ... replaced in order; `fallback`
// (same marks) while no table is loaded or the table has no text n, as for
// tools that run without a language.
std::string shownText(int n, const std::string& fallback, std::initializer_list<std::string> values);

}  // namespace tolvenk::platform
