#pragma once
#include <string>
#include <vector>

namespace tolvenk::db {

// Lexical pieces of a statement. Quoted text and quoted names are single
// tokens, so nothing inside them is ever rewritten.
struct SqlToken {
    enum class Kind { Space, Word, Number, Text, QuotedName, Punct };
    Kind kind;
    std::string text;
};

std::vector<SqlToken> tokenizeSql(const std::string& sql);

// Rewrites the module's statements for SQLite: "select [distinct] top N ..."
// becomes "select [distinct] ... LIMIT N" at the end of that select, and the
// call left(x,n) becomes vb_left(x,n), since LEFT is a join keyword there.
std::string translateForSqlite(const std::string& sql);

}  // namespace tolvenk::db
