#pragma once
#include <string>
#include <vector>

#include "platform/db/Value.h"

namespace tolvenk::db {

// The record-set filter texts the windows use: terms such as col=5,
// col='text', col like 'x%' joined by "and". Text compares ignore ASCII case.
class RecordFilter {
public:
    RecordFilter() = default;
    // Throws DbError on a text it cannot read or a field that does not exist.
    RecordFilter(const std::string& text, const std::vector<std::string>& columns);

    bool empty() const { return terms_.empty(); }
    bool matches(const std::vector<Value>& row) const;

private:
    struct Term {
        int field;
        std::string op;
        std::string value;
        bool quoted;
    };
    std::vector<Term> terms_;
};

}  // namespace tolvenk::db
