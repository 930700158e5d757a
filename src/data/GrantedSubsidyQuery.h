#pragma once
// The granted-subsidy query: every batch row of a month (optionally of one
// n-th subsidy or one kind) of the employees a picker chose, with their
// department, position and who granted it. Reads only; amounts as stored.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tolvenk {

class BTService;

namespace Granted_Subsidy {

struct Query {
    std::int32_t year = 0;
    std::int32_t month = 0;
    std::string batch;                // the n-th subsidy; "" for every one
    std::optional<std::int32_t> kind; // B_Unit to keep; none for every kind
    std::string deptNo, name, code;   // the picker's department and filters
};

struct Row {
    std::string pinfo, name, code, dept, deptCode;
    std::optional<std::string> position;  // none when the identifier names no position
    std::string times;
    std::string jinE, received;           // fen as stored
    std::string ci, ciAfter;
    bool taken = false;                   // credited (state 2)
    std::string year;
    std::int32_t month = 0;
    std::string takenAt, grantedAt;
    std::optional<std::string> operatorName;  // none for an operator without a user row
};

// Employees done and their count after each employee; false stops the query
// with the rows found so far.
using Progress = std::function<bool(std::int64_t done, std::int64_t total)>;

// The rows by employee in the picker's order, each employee's rows in the
// order of their keys.
std::vector<Row> Rows(BTService& bt, const Query& query, const Progress& progress = {});

}  // namespace Granted_Subsidy

}  // namespace tolvenk
