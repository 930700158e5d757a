#include "platform/db/SqlText.h"

#include "platform/ShownText.h"
#include "platform/db/DbError.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tolvenk {

namespace {

// No engine takes a NUL inside a statement (the file engine ends the text
// there, the server refuses it) and no stored text can hold one: refused
// before it is put into SQL. Other control characters are matched as they are.
void refuseNul(std::string_view text) {
    if (text.find('\0') != std::string_view::npos)
        throw db::DbError::told(
            platform::numberedText(1001,
                                   "The text holds a NUL character, which can be neither searched for nor stored.", {}),
            3075);
}

}  // namespace

std::string sqlEscape(std::string_view text) {
    refuseNul(text);
    std::string out;
    out.reserve(text.size() + 2);
    for (char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out;
}

std::string sqlLikeEscape(std::string_view text) {
    refuseNul(text);
    std::string out;
    out.reserve(text.size() + 4);
    for (char c : text) {
        if (c == '%' || c == '_' || c == '[' || c == '\\') out += '\\';
        out += c;
        if (c == '\'') out += '\'';
    }
    return out;
}

std::string sqlNumber(std::int64_t v) { return std::to_string(v); }

std::string sqlNumber(double v) { return formatReal(v); }

std::string formatReal(double v) {
    if (std::isfinite(v) && v == std::trunc(v) && std::fabs(v) < 9.2e18)
        return std::to_string(static_cast<std::int64_t>(v));
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

std::string sqlNumberText(std::string_view text) {
    const auto n = parseNumber(text);
    if (!n) throw db::DbError("Data type mismatch in criteria expression. [" + std::string(text) + "]", 3464);
    return sqlNumber(*n);
}

std::optional<double> parseNumber(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
    if (b == e) return std::nullopt;
    std::string s(text.substr(b, e - b));
    if (s[0] == '+') s.erase(0, 1);
    if (s.empty()) return std::nullopt;
    // Only plain decimal forms: no hex, no inf/nan, no leading blanks after a sign.
    for (char c : s)
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == 'e' || c == 'E'))
            return std::nullopt;
    char* end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

double vbVal(std::string_view text) {
    std::string s;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') s += c;
    std::size_t i = 0;
    if (s.size() >= 2 && s[0] == '&') {
        int base = 0;
        if (s[1] == 'H' || s[1] == 'h') base = 16;
        else if (s[1] == 'O' || s[1] == 'o') base = 8;
        if (base) {
            double v = 0;  // a double: no overflow however long the digits run
            for (i = 2; i < s.size(); ++i) {
                int d;
                char c = static_cast<char>(std::tolower(static_cast<unsigned char>(s[i])));
                if (c >= '0' && c <= '9') d = c - '0';
                else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
                else break;
                if (d >= base) break;
                v = v * base + d;
            }
            return v;
        }
    }
    std::string num;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) num += s[i++];
    bool digits = false, dot = false;
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (std::isdigit(static_cast<unsigned char>(c))) { num += c; digits = true; }
        else if (c == '.' && !dot) { num += c; dot = true; }
        else break;
    }
    if (!digits) return 0.0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::size_t j = i + 1;
        std::string ex = "e";
        if (j < s.size() && (s[j] == '-' || s[j] == '+')) ex += s[j++];
        bool expDigits = false;
        for (; j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])); ++j) { ex += s[j]; expDigits = true; }
        if (expDigits) num += ex;
    }
    return std::strtod(num.c_str(), nullptr);
}

}  // namespace tolvenk
