#pragma once
#include <initializer_list>
#include <string>
#include <vector>

namespace tolvenk::platform {

// The platform's messages for a clerk come from the module's text table, which
// lives in a layer above; that layer hands its lookup down once it is loaded.
using TextLookup = const std::string& (*)(int n);
void setTextLookup(TextLookup lookup);

// `text` with %1 to %9 replaced by the values in one pass: a value that
// holds a mark itself stays as it is; a mark without a value stays too.
std::string fillIn(const std::string& text, const std::vector<std::string>& values);

// Text n of the loaded table with %1, %2, ... replaced in order; `fallback`
// (same marks) while no table is loaded or the table has no text n, as for
// tools that run without a language.
std::string shownText(int n, const std::string& fallback, std::initializer_list<std::string> values);

// A message kept by its number and values rather than its words: one made
// before the table of the session's language was loaded (a database that
// failed to open on a process's first call) speaks that language when shown.
struct NumberedText {
    int number = 0;
    std::string fallback;
    std::vector<std::string> values;

    bool empty() const { return number == 0 && fallback.empty(); }
    // The text in the language loaded now.
    std::string shown() const;
};

// Text n with its values and fallback, to be composed when it is shown.
NumberedText numberedText(int n, std::string fallback, std::vector<std::string> values = {});

}  // namespace tolvenk::platform
