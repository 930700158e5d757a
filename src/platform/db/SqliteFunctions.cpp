#include "platform/db/SqliteFunctions.h"

#include <sqlite3.h>

#include <cmath>
#include <string>

#include "platform/Clock.h"
#include "platform/db/SqlText.h"
#include "platform/db/Utf8.h"

namespace tolvenk::db {

namespace {

std::string argText(sqlite3_value* v) {
    const unsigned char* t = sqlite3_value_text(v);
    return t ? std::string(reinterpret_cast<const char*>(t), sqlite3_value_bytes(v)) : std::string();
}

void resultText(sqlite3_context* ctx, const std::string& s) {
    sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

void invalidCall(sqlite3_context* ctx) { sqlite3_result_error(ctx, "Invalid procedure call or argument", -1); }

void fnVal(sqlite3_context* ctx, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL: sqlite3_result_null(ctx); return;
    case SQLITE_INTEGER: sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0])); return;
    case SQLITE_FLOAT: sqlite3_result_double(ctx, sqlite3_value_double(argv[0])); return;
    default: break;
    }
    const double v = vbVal(argText(argv[0]));
    if (v == std::trunc(v) && std::fabs(v) < 9.2e18) sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(v));
    else sqlite3_result_double(ctx, v);
}

void fnLen(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) { sqlite3_result_null(ctx); return; }
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(utf8Length(argText(argv[0]))));
}

void fnLeft(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) { sqlite3_result_null(ctx); return; }
    const sqlite3_int64 n = sqlite3_value_int64(argv[1]);
    if (n < 0) { invalidCall(ctx); return; }
    // A grouped report calls this for every row it reads: the text is cut
    // where it lies, copied once into the result.
    const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const std::string_view s(t ? t : "", t ? static_cast<std::size_t>(sqlite3_value_bytes(argv[0])) : 0);
    const std::size_t bytes = utf8Substr(s, 0, static_cast<std::size_t>(n)).size();
    sqlite3_result_text(ctx, s.data(), static_cast<int>(bytes), SQLITE_TRANSIENT);
}

// mid(x, start[, length]), start counted from 1.
void fnMid(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) { sqlite3_result_null(ctx); return; }
    const sqlite3_int64 start = sqlite3_value_int64(argv[1]);
    const sqlite3_int64 len = argc > 2 ? sqlite3_value_int64(argv[2]) : -1;
    if (start < 1 || (argc > 2 && len < 0)) { invalidCall(ctx); return; }
    const std::string s = argText(argv[0]);
    const std::size_t n = len < 0 ? s.size() : static_cast<std::size_t>(len);
    resultText(ctx, utf8Substr(s, static_cast<std::size_t>(start - 1), n));
}

void fnNow(sqlite3_context* ctx, int, sqlite3_value**) { resultText(ctx, platform::localClockText()); }

}  // namespace

void registerSqliteFunctions(sqlite3* db) {
    const int det = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "val", 1, det, nullptr, fnVal, nullptr, nullptr);
    sqlite3_create_function(db, "len", 1, det, nullptr, fnLen, nullptr, nullptr);
    sqlite3_create_function(db, "vb_left", 2, det, nullptr, fnLeft, nullptr, nullptr);
    sqlite3_create_function(db, "mid", 2, det, nullptr, fnMid, nullptr, nullptr);
    sqlite3_create_function(db, "mid", 3, det, nullptr, fnMid, nullptr, nullptr);
    sqlite3_create_function(db, "now", 0, SQLITE_UTF8, nullptr, fnNow, nullptr, nullptr);
    sqlite3_create_function(db, "getdate", 0, SQLITE_UTF8, nullptr, fnNow, nullptr, nullptr);
}

}  // namespace tolvenk::db
