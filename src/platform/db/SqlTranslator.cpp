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

// "left(Date_Time,n) op 'L'" with L exactly n ASCII characters compares a
// prefix; as a range on Date_Time itself the engine can use its index. For
// text under byte order, with L+ = L with its last character raised by one:
//   left(X,n) =  L  <=>  X >= L and X < L+      left(X,n) <> L  <=>  X < L or X >= L+
//   left(X,n) >= L  <=>  X >= L                 left(X,n) <  L  <=>  X < L
//   left(X,n) >  L  <=>  X >= L+                left(X,n) <= L  <=>  X < L+
// (NULL stays NULL on both sides.) Only plain comparisons between logical
// operators are rewritten, so no operator of higher precedence is split.
std::string rangeForDatePrefixes(const std::string& sql) {
    const std::vector<SqlToken> toks = tokenizeSql(sql);
    std::vector<std::size_t> at;  // non-space tokens
    for (std::size_t i = 0; i < toks.size(); ++i)
        if (toks[i].kind != SqlToken::Kind::Space) at.push_back(i);
    const auto tok = [&](std::size_t p) -> const SqlToken* { return p < at.size() ? &toks[at[p]] : nullptr; };
    const auto isPunct = [&](std::size_t p, const char* s) {
        const SqlToken* t = tok(p);
        return t && t->kind == SqlToken::Kind::Punct && t->text == s;
    };

    std::string out;
    std::size_t copied = 0;  // toks[0..copied) are in out
    for (std::size_t p = 0; p < at.size(); ++p) {
        if (!wordIs(*tok(p), "left")) continue;
        if (p > 0) {
            const SqlToken& prev = *tok(p - 1);
            const bool logical = wordIs(prev, "where") || wordIs(prev, "and") || wordIs(prev, "or") ||
                                 wordIs(prev, "not") || wordIs(prev, "on") || wordIs(prev, "having") ||
                                 wordIs(prev, "when") || (prev.kind == SqlToken::Kind::Punct && prev.text == "(");
            if (!logical) continue;
            // "x between a and left(...)": that and belongs to the between.
            if (wordIs(prev, "and")) {
                bool partOfBetween = false;
                for (std::size_t b = p - 1; b-- > 0;) {
                    const SqlToken& t = *tok(b);
                    if (wordIs(t, "between")) partOfBetween = true;
                    if (partOfBetween || wordIs(t, "and") || wordIs(t, "or") || wordIs(t, "where") ||
                        (t.kind == SqlToken::Kind::Punct && (t.text == "(" || t.text == ")")))
                        break;
                }
                if (partOfBetween) continue;
            }
        }
        std::size_t q = p + 1;
        if (!isPunct(q++, "(")) continue;
        const std::size_t colFirst = q;
        if (!tok(q) || tok(q)->kind != SqlToken::Kind::Word) continue;
        if (isPunct(q + 1, ".")) {
            q += 2;
            if (!tok(q) || tok(q)->kind != SqlToken::Kind::Word) continue;
        }
        if (!wordIs(*tok(q), "Date_Time")) continue;
        const std::size_t colLast = q++;
        if (!isPunct(q++, ",")) continue;
        const SqlToken* num = tok(q++);
        if (!num || num->kind != SqlToken::Kind::Number || num->text.find_first_not_of("0123456789") != std::string::npos)
            continue;
        if (!isPunct(q++, ")")) continue;
        std::string op;
        while (op.size() < 2 && (isPunct(q, "<") || isPunct(q, ">") || isPunct(q, "="))) op += tok(q++)->text;
        if (op != "=" && op != "<>" && op != ">=" && op != "<=" && op != ">" && op != "<") continue;
        const SqlToken* lit = tok(q);
        if (!lit || lit->kind != SqlToken::Kind::Text) continue;
        // Nothing that binds tighter than the comparison may follow it.
        if (const SqlToken* next = tok(q + 1);
            next && !(next->kind == SqlToken::Kind::Word || (next->kind == SqlToken::Kind::Punct &&
                                                             (next->text == ")" || next->text == ";"))))
            continue;
        std::string value;
        for (std::size_t i = 1; i + 1 < lit->text.size(); ++i) {
            value += lit->text[i];
            if (lit->text[i] == '\'' ) ++i;
        }
        if (num->text.size() > 6) continue;
        const std::size_t n = std::stoul(num->text);
        bool plain = n >= 1 && value.size() == n;
        for (unsigned char c : value) plain = plain && c >= 0x20 && c < 0x7E;
        if (!plain) continue;
        std::string raised = value;
        raised.back() = static_cast<char>(raised.back() + 1);
        const auto quote = [](const std::string& v) {
            std::string r = "'";
            for (char c : v) r += c == '\'' ? std::string("''") : std::string(1, c);
            return r + "'";
        };
        std::string col;
        for (std::size_t i = at[colFirst]; i <= at[colLast]; ++i) col += toks[i].text;
        const std::string L = quote(value), Lplus = quote(raised);
        std::string range;
        if (op == "=") range = "(" + col + " >= " + L + " AND " + col + " < " + Lplus + ")";
        else if (op == "<>") range = "(" + col + " < " + L + " OR " + col + " >= " + Lplus + ")";
        else if (op == ">=") range = "(" + col + " >= " + L + ")";
        else if (op == "<") range = "(" + col + " < " + L + ")";
        else if (op == ">") range = "(" + col + " >= " + Lplus + ")";
        else range = "(" + col + " < " + Lplus + ")";
        for (std::size_t i = copied; i < at[p]; ++i) out += toks[i].text;
        out += range;
        copied = at[q] + 1;
        p = q;
    }
    for (std::size_t i = copied; i < toks.size(); ++i) out += toks[i].text;
    return out;
}

std::string limitForTop(const std::string& sql, bool renameLeft) {
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
        } else if (renameLeft && wordIs(t, "left")) {
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

std::string translateForSqlite(const std::string& sql) { return limitForTop(rangeForDatePrefixes(sql), true); }

}  // namespace tolvenk::db
