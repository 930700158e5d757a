#pragma once
#include <string>
#include <vector>

namespace tolvenk {

// The classic Split: every separator splits, empty fields are kept, and an
// empty text has no fields at all.
std::vector<std::string> vbSplit(const std::string& text, char separator);

// The text without the given characters at either end (or at its right end).
std::string trimChars(const std::string& text, const char* chars);
std::string rtrimChars(const std::string& text, const char* chars);
// The classic Trim and RTrim: blanks only.
inline std::string vbTrim(const std::string& text) { return trimChars(text, " "); }
inline std::string vbRTrim(const std::string& text) { return rtrimChars(text, " "); }

}  // namespace tolvenk
