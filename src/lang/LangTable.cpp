#include "lang/LangTable.h"

#include <sstream>

namespace tolvenk {

namespace {
std::string unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            const char c = s[++i];
            out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
        } else {
            out += s[i];
        }
    }
    return out;
}
}  // namespace

std::map<int, std::string> parseLangTable(const std::string& data) {
    std::map<int, std::string> out;
    std::istringstream in(data);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        try {
            std::size_t used = 0;
            const int n = std::stoi(line.substr(0, tab), &used);
            if (used != tab) continue;
            out[n] = unescape(line.substr(tab + 1));
        } catch (const std::exception&) {
        }
    }
    return out;
}

}  // namespace tolvenk
