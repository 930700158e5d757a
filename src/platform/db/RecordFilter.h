#pragma once
#include <optional>
#include <string>
#include <utility>
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

    // The field and number of the first "field=number" term, which every
    // matching row must have: a record set may look its rows up by it.
    std::optional<std::pair<int, double>> numberEquality() const;
    // The number such a term compares a field's value as; none for NULL,
    // which never matches.
    static std::optional<double> numberOf(const Value& field);

private:
    struct Term {
        int field;
        std::string op;
        std::string value;
        bool quoted;
        bool like = false;
        std::optional<double> number;  // a bare value read as a number, once
    };
    std::vector<Term> terms_;
};

}  // namespace tolvenk::db
