#include "platform/db/ConnectionString.h"

#include <algorithm>
#include <cctype>

#include "platform/VbText.h"

namespace tolvenk::db {

namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

}  // namespace

ConnectionString::ConnectionString(const std::string& text) {
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find(';', pos);
        if (end == std::string::npos) end = text.size();
        std::string part = text.substr(pos, end - pos);
        std::size_t eq = part.find('=');
        if (eq != std::string::npos)
            pairs_[lower(trimChars(part.substr(0, eq), " \t"))] = trimChars(part.substr(eq + 1), " \t");
        pos = end + 1;
    }
    const std::string provider = lower(get("provider"));
    if (provider == "microsoft.jet.oledb.4.0") kind_ = Kind::FileDatabase;
    else if (provider == "sqloledb.1") kind_ = Kind::Server;
}

std::string ConnectionString::get(const std::string& key) const {
    auto it = pairs_.find(lower(key));
    return it == pairs_.end() ? std::string() : it->second;
}

std::string ConnectionString::filePath() const {
    std::string p = get("data source");
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

}  // namespace tolvenk::db
