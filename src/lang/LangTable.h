#pragma once
#include <map>
#include <string>

namespace tolvenk {

// Reads a language data file: "number<TAB>text" lines, '#' comments, with
// \n, \t and \\ escapes. Malformed lines are skipped.
std::map<int, std::string> parseLangTable(const std::string& data);

}  // namespace tolvenk
