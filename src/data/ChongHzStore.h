#pragma once
// The statements of the terminal and computer summary: the transactions of a
// day or month range in the order of their period and the chosen groups.
#include <cstdint>
#include <memory>
#include <string>

namespace tolvenk {

namespace db {
class Recordset;
}

namespace Chong_HZ_Store {

// One grouping level: its kind (a grouping dimension's code, HZ_Dim) and the one value it keeps (0, or an empty
// cashier key, keeps every value).
struct Level {
    int kind = 0;
    std::int32_t value = 0;
    std::string cashier;  // the cashier's SK_ID
    bool oneCashier = false;
};

struct Request {
    bool terminal = true;     // else the computer's kinds
    bool months = false;      // else days
    std::string first, last;  // "yyyy-MM-dd", or "yyyy-MM" for months
    bool serverTexts = false; // the server's SUBSTRING forms, else mid/left
    Level level1, level2;
};

inline const std::string kNoLevel = "NOT";

struct Statement {
    std::string sql;  // empty when the first kind is none of the mode's
    std::string period;           // result column of the period text
    std::string key1, key2;       // result columns of the group keys; key2 kNoLevel without a second level
    const char* title1 = "";      // header titles of the two group columns
    const char* title2 = "";
    bool dateSecond = false;      // the period is the second level (computer only)
};

Statement Build(const Request& r);

// Opens the statement on a connection of its own to the business database,
// which lives as long as the record set.
std::shared_ptr<db::Recordset> Open(const std::string& sql);

}  // namespace Chong_HZ_Store

}  // namespace tolvenk
