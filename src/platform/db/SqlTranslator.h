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

// Rewrites the module's statements for PostgreSQL: top N as LIMIT N, ? as $n,
// len/val/mid/left/substring/now/getdate and cast(x as int) with their
// original meaning in built-in expressions, LIKE ignoring ASCII case, quoted
// names as the server folds plain ones, every ORDER BY key with NULL as the
// smallest value (NULLS FIRST ascending, NULLS LAST descending). Throws
// DbError (3142) when the text holds a second statement.
// `parameters`, when given, receives the number of $n placeholders written.
std::string translateForPostgres(const std::string& sql, int* parameters = nullptr);

// Pieces both translations share.
// left(Date_Time,n) op 'L' as a range on Date_Time, where that is equivalent.
std::string rangeForDatePrefixes(const std::string& sql);
// "select [distinct] top N ..." as "select [distinct] ... LIMIT N" at the end
// of that select; with renameLeft, calls of left(...) become vb_left(...).
std::string limitForTop(const std::string& sql, bool renameLeft);

}  // namespace tolvenk::db
