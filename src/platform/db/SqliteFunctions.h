#pragma once
struct sqlite3;

namespace tolvenk::db {

// Registers val, len, left, mid, now and getdate with the meaning they have in
// the engines the module's statements were written for.
void registerSqliteFunctions(sqlite3* db);

}  // namespace tolvenk::db
