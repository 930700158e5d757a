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
    while (pos < text.size()) {
        const std::size_t eq = text.find('=', pos), semi = text.find(';', pos);
        if (eq == std::string::npos || (semi != std::string::npos && semi < eq)) {
            if (semi == std::string::npos) break;
            pos = semi + 1;  // a part without '=' says nothing
            continue;
        }
        const std::string key = lower(trimChars(text.substr(pos, eq - pos), " \t"));
        std::size_t v = text.find_first_not_of(" \t", eq + 1);
        std::string value;
        if (v != std::string::npos && (text[v] == '"' || text[v] == '\'')) {
            // Quoted: up to the lone closing quote; a doubled one stands for itself.
            const char quote = text[v];
            for (++v; v < text.size(); ++v) {
                if (text[v] == quote) {
                    if (v + 1 < text.size() && text[v + 1] == quote) {
                        value += quote;
                        ++v;
                        continue;
                    }
                    ++v;
                    break;
                }
                value += text[v];
            }
            const std::size_t end = text.find(';', v);
            pos = end == std::string::npos ? text.size() : end + 1;
        } else {
            const std::size_t end = semi == std::string::npos ? text.size() : semi;
            value = trimChars(text.substr(eq + 1, end - eq - 1), " \t");
            pos = end + 1;
        }
        pairs_[key] = value;
    }
    const std::string provider = lower(get("provider"));
    if (provider == "microsoft.jet.oledb.4.0") kind_ = Kind::FileDatabase;
    else if (provider == "sqloledb.1") kind_ = Kind::Server;
}

std::string ConnectionString::quoted(const std::string& value) {
    const bool plain = value.find_first_of(";\"'") == std::string::npos && value == trimChars(value, " \t");
    if (plain) return value;
    std::string out = "\"";
    for (const char c : value) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
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
