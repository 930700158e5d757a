// The server translation. Everything the module's statements need from the
// classic engines is written as built-in PostgreSQL expressions, so the
// provider never has to create functions in a database it does not own.
#include <strings.h>

#include <cctype>

#include "platform/db/DbError.h"
#include "platform/db/SqlTranslator.h"

namespace tolvenk::db {

namespace {

using Kind = SqlToken::Kind;

bool wordIs(const SqlToken& t, const char* w) { return t.kind == Kind::Word && strcasecmp(t.text.c_str(), w) == 0; }
bool punctIs(const SqlToken& t, const char* p) { return t.kind == Kind::Punct && t.text == p; }

// Val(): the leading number after all blanks are dropped, 0 when there is
// none, NULL for NULL; &H hexadecimal up to 15 digits. The subquery names the
// argument once, so it is evaluated once.
constexpr const char* kValHead = "(SELECT CASE WHEN vb_t IS NULL THEN NULL "
                                 "WHEN vb_t ~* '^&h[0-9a-f]' THEN CAST(CAST('x' || lpad(substring(vb_t from "
                                 "'^&[hH]([0-9a-fA-F]{1,15})'), 16, '0') AS bit(64)) AS bigint) "
                                 "ELSE coalesce(CAST(translate(substring(vb_t from "
                                 "'^[+-]?(?:[0-9]+[.]?[0-9]*|[.][0-9]+)(?:[eEdD][+-]?[0-9]+)?'), 'dD', 'ee') "
                                 "AS double precision), 0) END "
                                 "FROM (SELECT regexp_replace(CAST(";
constexpr const char* kValTail = " AS text), '[ \t\r\n]', '', 'g') AS vb_t) AS vb_val)";

class PgWriter {
public:
    explicit PgWriter(std::vector<SqlToken> toks) : t_(std::move(toks)) {}

    std::string all() { return range(0, t_.size()); }
    int parameters() const { return params_; }

private:
    std::size_t skipSpace(std::size_t k, std::size_t end) const {
        while (k < end && t_[k].kind == Kind::Space) ++k;
        return k;
    }

    // Index of the ')' closing the '(' at `open`, or `end` when unbalanced.
    std::size_t closing(std::size_t open, std::size_t end) const {
        int depth = 0;
        for (std::size_t k = open; k < end; ++k) {
            if (punctIs(t_[k], "(")) ++depth;
            else if (punctIs(t_[k], ")") && --depth == 0) return k;
        }
        return end;
    }

    // Argument ranges of a call whose parentheses are at `open` and `close`.
    std::vector<std::pair<std::size_t, std::size_t>> arguments(std::size_t open, std::size_t close) const {
        std::vector<std::pair<std::size_t, std::size_t>> args;
        int depth = 0;
        std::size_t from = open + 1;
        for (std::size_t k = open + 1; k < close; ++k) {
            if (punctIs(t_[k], "(")) ++depth;
            else if (punctIs(t_[k], ")")) --depth;
            else if (depth == 0 && punctIs(t_[k], ",")) {
                args.emplace_back(from, k);
                from = k + 1;
            }
        }
        if (skipSpace(from, close) < close || !args.empty()) args.emplace_back(from, close);
        return args;
    }

    std::string text(std::size_t b, std::size_t e) { return range(b, e); }

    // cast(X as int): an empty text is 0 and a number is cut towards zero, as
    // the classic server converts; anything else that is no number fails.
    bool castAsInt(std::size_t open, std::size_t close, std::string& out) {
        int depth = 0;
        for (std::size_t k = open + 1; k < close; ++k) {
            if (punctIs(t_[k], "(")) ++depth;
            else if (punctIs(t_[k], ")")) --depth;
            else if (depth == 0 && wordIs(t_[k], "as")) {
                const std::size_t ty = skipSpace(k + 1, close);
                if (ty >= close || !(wordIs(t_[ty], "int") || wordIs(t_[ty], "integer")) ||
                    skipSpace(ty + 1, close) != close)
                    return false;
                out += "CAST(trunc(CAST(regexp_replace(btrim(CAST(" + text(open + 1, k) +
                       " AS text)), '^$', '0') AS numeric)) AS int)";
                return true;
            }
        }
        return false;
    }

    // A call of one of the classic functions, rewritten; false leaves it as written.
    bool call(const std::string& name, std::size_t open, std::size_t close, std::string& out) {
        const auto args = arguments(open, close);
        const auto arg = [&](std::size_t i) { return text(args[i].first, args[i].second); };
        if (strcasecmp(name.c_str(), "cast") == 0) return castAsInt(open, close, out);
        if ((strcasecmp(name.c_str(), "now") == 0 || strcasecmp(name.c_str(), "getdate") == 0) && args.empty()) {
            out += "to_char(clock_timestamp(), 'YYYY-MM-DD HH24:MI:SS')";
            return true;
        }
        if (strcasecmp(name.c_str(), "len") == 0 && args.size() == 1) {
            out += "length(CAST(" + arg(0) + " AS text))";
            return true;
        }
        if (strcasecmp(name.c_str(), "val") == 0 && args.size() == 1) {
            out += kValHead + arg(0) + kValTail;
            return true;
        }
        if (strcasecmp(name.c_str(), "left") == 0 && args.size() == 2) {
            out += "left(CAST(" + arg(0) + " AS text)," + arg(1) + ")";
            return true;
        }
        if (strcasecmp(name.c_str(), "mid") == 0 && (args.size() == 2 || args.size() == 3)) {
            out += "substr(CAST(" + arg(0) + " AS text)," + arg(1) + (args.size() == 3 ? "," + arg(2) : "") + ")";
            return true;
        }
        // The classic server's form; this server counts a start of 0 the same way.
        if (strcasecmp(name.c_str(), "substring") == 0 && args.size() == 3) {
            out += "substring(CAST(" + arg(0) + " AS text)," + arg(1) + "," + arg(2) + ")";
            return true;
        }
        return false;
    }

    std::string range(std::size_t b, std::size_t e) {
        std::string out;
        bool collateNext = false;
        for (std::size_t i = b; i < e; ++i) {
            const SqlToken& tok = t_[i];
            if (tok.kind == Kind::Word) {
                const std::size_t open = skipSpace(i + 1, e);
                std::size_t prev = i;
                while (prev > 0 && t_[prev - 1].kind == Kind::Space) --prev;
                const bool qualified = prev > 0 && punctIs(t_[prev - 1], ".");
                if (!qualified && open < e && punctIs(t_[open], "(")) {
                    const std::size_t close = closing(open, e);
                    std::string rewritten;
                    if (close < e && call(tok.text, open, close, rewritten)) {
                        out += rewritten;
                        i = close;
                        continue;
                    }
                }
                if (wordIs(tok, "like")) {
                    // The classic engines ignore case in LIKE; byte collation keeps
                    // that to ASCII letters, as the file engine does.
                    out += "ILIKE";
                    collateNext = true;
                    continue;
                }
                out += tok.text;
            } else if (tok.kind == Kind::Punct && tok.text == "?") {
                out += "$" + std::to_string(++params_);
            } else if (tok.kind == Kind::QuotedName) {
                // [Name] and "Name" match names whatever their case, as plain names do here.
                std::string name = tok.text.substr(1, tok.text.size() >= 2 ? tok.text.size() - 2 : 0);
                std::string quoted = "\"";
                for (char c : name) {
                    quoted += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                    if (c == '"') quoted += '"';
                }
                out += quoted + "\"";
            } else {
                out += tok.text;
                if (tok.kind == Kind::Text && collateNext) out += " COLLATE \"C\"";
            }
            if (tok.kind != Kind::Space) collateNext = false;
        }
        return out;
    }

    std::vector<SqlToken> t_;
    int params_ = 0;
};

// Words that end a sort list at its own depth.
bool endsSortList(const SqlToken& t) {
    for (const char* w : {"limit", "offset", "fetch", "for", "union", "intersect", "except", "rows", "range", "groups"})
        if (wordIs(t, w)) return true;
    return punctIs(t, ";");
}

// The classic engines hold NULL as the smallest value: first ascending, last
// descending; this server does the opposite. Every sort key of every ORDER BY
// (sub-selects and calls included) gets its place written out, unless it
// names one. The server schema's indexes are built NULLS FIRST, so the
// rewritten sorts still read them in order (descending by a backward scan).
std::vector<SqlToken> nullsAsSmallest(const std::vector<SqlToken>& t) {
    struct Level {
        bool sorting = false;  // inside an ORDER BY list at this depth
        bool key = false, nulls = false, desc = false;  // the current key so far
    };
    std::vector<Level> levels(1);
    std::vector<SqlToken> out;
    out.reserve(t.size() + 8);
    const auto endKey = [&](Level& l) {
        if (l.sorting && l.key && !l.nulls) {
            auto at = out.end();
            while (at != out.begin() && (at - 1)->kind == Kind::Space) --at;
            out.insert(at, {{Kind::Space, " "}, {Kind::Word, "NULLS"}, {Kind::Space, " "},
                            {Kind::Word, l.desc ? "LAST" : "FIRST"}});
        }
        l.key = l.nulls = l.desc = false;
    };
    const auto seen = [](Level& l, const SqlToken& tok) {
        if (!l.sorting) return;
        l.key = true;
        l.nulls = l.nulls || wordIs(tok, "nulls");
        l.desc = wordIs(tok, "desc");
    };
    for (std::size_t i = 0; i < t.size(); ++i) {
        const SqlToken& tok = t[i];
        if (tok.kind == Kind::Space) {
            out.push_back(tok);
            continue;
        }
        if (levels.back().sorting) {
            if (punctIs(tok, ",")) {
                endKey(levels.back());
                out.push_back(tok);
                continue;
            }
            if (punctIs(tok, ")") || endsSortList(tok)) {
                endKey(levels.back());
                levels.back().sorting = false;
            }
        }
        if (wordIs(tok, "order")) {
            std::size_t by = i + 1;
            while (by < t.size() && t[by].kind == Kind::Space) ++by;
            if (by < t.size() && wordIs(t[by], "by")) {
                out.insert(out.end(), t.begin() + static_cast<std::ptrdiff_t>(i),
                           t.begin() + static_cast<std::ptrdiff_t>(by) + 1);
                levels.back() = Level{true};
                i = by;
                continue;
            }
        }
        seen(levels.back(), tok);
        if (punctIs(tok, "(")) {
            levels.emplace_back();
        } else if (punctIs(tok, ")") && levels.size() > 1) {
            levels.pop_back();
            seen(levels.back(), tok);
        }
        out.push_back(tok);
    }
    for (Level& l : levels) endKey(l);
    return out;
}

}  // namespace

std::string translateForPostgres(const std::string& sql, int* parameters) {
    const std::vector<SqlToken> raw = tokenizeSql(sql);
    bool ended = false;
    for (const SqlToken& t : raw) {
        if (punctIs(t, ";")) ended = true;
        else if (ended && t.kind != Kind::Space)
            throw DbError("Characters found after end of SQL statement. [" + sql + "]", 3142);
    }
    PgWriter writer(nullsAsSmallest(tokenizeSql(limitForTop(rangeForDatePrefixes(sql), false))));
    std::string out = writer.all();
    if (parameters) *parameters = writer.parameters();
    return out;
}

}  // namespace tolvenk::db
