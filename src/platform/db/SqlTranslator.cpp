#include "platform/db/SqlTranslator.h"

#include <cctype>
#include <strings.h>

namespace tolvenk::db {

namespace {

bool isWordStart(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool isWordChar(unsigned char c) { return std::isalnum(c) || c == '_' || c == '$' || c >= 0x80; }

bool wordIs(const SqlToken& t, const char* w) {
    return t.kind == SqlToken::Kind::Word && strcasecmp(t.text.c_str(), w) == 0;
}

}  // namespace

std::vector<SqlToken> tokenizeSql(const std::string& sql) {
    std::vector<SqlToken> out;
    const std::size_t n = sql.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = sql[i];
        std::size_t j = i + 1;
        SqlToken::Kind kind;
        if (std::isspace(c)) {
            while (j < n && std::isspace(static_cast<unsigned char>(sql[j]))) ++j;
            kind = SqlToken::Kind::Space;
        } else if (c == '\'') {
            // '' inside a text is a quote, not the end.
            while (j < n) {
                if (sql[j] == '\'') {
                    if (j + 1 < n && sql[j + 1] == '\'') { j += 2; continue; }
                    ++j;
                    break;
                }
                ++j;
            }
            kind = SqlToken::Kind::Text;
        } else if (c == '"' || c == '[' || c == '`') {
            const char close = c == '[' ? ']' : static_cast<char>(c);
            while (j < n && sql[j] != close) ++j;
            if (j < n) ++j;
            kind = SqlToken::Kind::QuotedName;
        } else if (std::isdigit(c)) {
            while (j < n && (std::isalnum(static_cast<unsigned char>(sql[j])) || sql[j] == '.')) ++j;
            kind = SqlToken::Kind::Number;
        } else if (isWordStart(c)) {
            while (j < n && isWordChar(static_cast<unsigned char>(sql[j]))) ++j;
            kind = SqlToken::Kind::Word;
        } else {
            kind = SqlToken::Kind::Punct;
        }
        out.push_back({kind, sql.substr(i, j - i)});
        i = j;
    }
    return out;
}

std::string translateForSqlite(const std::string& sql) {
    std::vector<SqlToken> toks = tokenizeSql(sql);
    // Pending LIMIT per parenthesis depth; empty = none.
    std::vector<std::string> limits(1);
    std::vector<bool> drop(toks.size(), false);
    std::vector<std::string> before(toks.size() + 1);  // text inserted before token i

    auto nextNonSpace = [&](std::size_t k) {
        while (k < toks.size() && toks[k].kind == SqlToken::Kind::Space) ++k;
        return k;
    };

    for (std::size_t i = 0; i < toks.size(); ++i) {
        const SqlToken& t = toks[i];
        if (t.kind == SqlToken::Kind::Punct && t.text == "(") {
            limits.emplace_back();
        } else if (t.kind == SqlToken::Kind::Punct && t.text == ")") {
            if (limits.size() > 1) {
                if (!limits.back().empty()) before[i] += " LIMIT " + limits.back();
                limits.pop_back();
            }
        } else if (wordIs(t, "left")) {
            // LEFT is a join keyword to SQLite; as a call it is our function.
            const std::size_t k = nextNonSpace(i + 1);
            if (k < toks.size() && toks[k].text == "(") {
                before[i] += "vb_left";
                drop[i] = true;
            }
        } else if (wordIs(t, "select")) {
            std::size_t k = nextNonSpace(i + 1);
            if (k < toks.size() && (wordIs(toks[k], "distinct") || wordIs(toks[k], "all"))) k = nextNonSpace(k + 1);
            if (k < toks.size() && wordIs(toks[k], "top")) {
                std::size_t m = nextNonSpace(k + 1);
                if (m < toks.size() && toks[m].kind == SqlToken::Kind::Number) {
                    limits.back() = toks[m].text;
                    // Drop "top", the blanks after it and the number.
                    for (std::size_t d = k; d <= m; ++d) drop[d] = true;
                    if (m + 1 < toks.size() && toks[m + 1].kind == SqlToken::Kind::Space) drop[m + 1] = true;
                }
            }
        }
    }

    // The outermost select's LIMIT goes before any trailing ';' and blanks.
    std::size_t tail = toks.size();
    while (tail > 0 && (toks[tail - 1].kind == SqlToken::Kind::Space ||
                        (toks[tail - 1].kind == SqlToken::Kind::Punct && toks[tail - 1].text == ";")))
        --tail;
    if (!limits.front().empty()) before[tail] += " LIMIT " + limits.front();

    std::string out;
    out.reserve(sql.size() + 16);
    for (std::size_t i = 0; i < toks.size(); ++i) {
        out += before[i];
        if (!drop[i]) out += toks[i].text;
    }
    out += before[toks.size()];
    return out;
}

}  // namespace tolvenk::db
