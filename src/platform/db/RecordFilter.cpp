#include "platform/db/RecordFilter.h"

#include <cctype>

#include "platform/db/AsciiCase.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "platform/db/SqlTranslator.h"

namespace tolvenk::db {

namespace {

[[noreturn]] void badFilter(const std::string& text) {
    throw DbError("Arguments are of the wrong type, are out of acceptable range, or are in conflict with one "
                  "another. [filter: " + text + "]",
                  3001);
}

std::string unquote(const std::string& t) {
    std::string out;
    for (std::size_t i = 1; i + 1 < t.size(); ++i) {
        out += t[i];
        if (t[i] == '\'' && t[i + 1] == '\'') ++i;
    }
    return out;
}

int compareValues(const Value& field, const std::string& value, const std::optional<double>& number) {
    if (number) {
        const double f = *RecordFilter::numberOf(field);
        return f < *number ? -1 : (f > *number ? 1 : 0);
    }
    const std::string s = field.toString();
    if (equalsNoCase(s, value)) return 0;
    for (std::size_t i = 0; i < s.size() && i < value.size(); ++i) {
        const int a = std::tolower(static_cast<unsigned char>(s[i]));
        const int b = std::tolower(static_cast<unsigned char>(value[i]));
        if (a != b) return a < b ? -1 : 1;
    }
    return s.size() < value.size() ? -1 : 1;
}

}  // namespace

RecordFilter::RecordFilter(const std::string& text, const std::vector<std::string>& columns) {
    std::vector<SqlToken> toks;
    for (auto& t : tokenizeSql(text))
        if (t.kind != SqlToken::Kind::Space) toks.push_back(std::move(t));
    std::size_t i = 0;
    while (i < toks.size()) {
        if (toks[i].kind != SqlToken::Kind::Word && toks[i].kind != SqlToken::Kind::QuotedName) badFilter(text);
        std::string name = toks[i].text;
        if (toks[i].kind == SqlToken::Kind::QuotedName) name = name.substr(1, name.size() - 2);
        Term term{-1, {}, {}, false, false, std::nullopt};
        for (std::size_t c = 0; c < columns.size(); ++c)
            if (equalsNoCase(columns[c], name)) { term.field = static_cast<int>(c); break; }
        if (term.field < 0) badFilter(text);
        ++i;
        // Operator: =, <>, <, >, <=, >= (split over punctuation tokens) or LIKE.
        while (i < toks.size() && toks[i].kind == SqlToken::Kind::Punct && term.op.size() < 2 &&
               (toks[i].text == "=" || toks[i].text == "<" || toks[i].text == ">"))
            term.op += toks[i++].text;
        if (term.op.empty() && i < toks.size() && equalsNoCase(toks[i].text, "like")) {
            term.op = "like";
            ++i;
        }
        if (term.op.empty() || i >= toks.size()) badFilter(text);
        if (toks[i].kind == SqlToken::Kind::Text) {
            term.value = unquote(toks[i].text);
            term.quoted = true;
        } else {
            // A bare value: a number with its sign, or a word.
            if (toks[i].text == "-" && i + 1 < toks.size()) term.value = "-" + toks[++i].text;
            else term.value = toks[i].text;
        }
        ++i;
        term.like = term.op == "like";
        if (!term.quoted) term.number = parseNumber(term.value);
        terms_.push_back(std::move(term));
        if (i < toks.size()) {
            if (!equalsNoCase(toks[i].text, "and")) badFilter(text);
            ++i;
            if (i >= toks.size()) badFilter(text);
        }
    }
}

std::optional<double> RecordFilter::numberOf(const Value& field) {
    if (field.isNull()) return std::nullopt;
    return field.isNumber() ? field.toDouble() : parseNumber(field.toString()).value_or(0.0);
}

std::optional<std::pair<int, double>> RecordFilter::numberEquality() const {
    for (const Term& t : terms_)
        if (t.op == "=" && t.number) return std::make_pair(t.field, *t.number);
    return std::nullopt;
}

bool RecordFilter::matches(const std::vector<Value>& row) const {
    for (const Term& t : terms_) {
        const Value& v = row[static_cast<std::size_t>(t.field)];
        if (v.isNull()) return false;
        if (t.like) {
            if (!(v.isText() ? likeNoCase(v.asText(), t.value) : likeNoCase(v.toString(), t.value))) return false;
            continue;
        }
        const int c = compareValues(v, t.value, t.number);
        const bool ok = t.op == "=" ? c == 0 : t.op == "<>" ? c != 0 : t.op == "<" ? c < 0 : t.op == ">" ? c > 0
                      : t.op == "<=" ? c <= 0 : t.op == ">=" ? c >= 0 : false;
        if (!ok) return false;
    }
    return true;
}

}  // namespace tolvenk::db
