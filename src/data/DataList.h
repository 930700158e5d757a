#pragma once
#include <string>
#include <vector>

namespace tolvenk {

// Result table of every service query: rows 0..record count (row 0 always
// present and empty), columns 0..field count-1 in select order, NULL as "".
class DataList {
public:
    DataList() : DataList(0, 0) {}
    DataList(int records, int fields);
    // A result whose columns carry the query's field names.
    DataList(int records, std::vector<std::string> names);

    // Upper bounds, as callers test them: rowUBound() < 1 means no data.
    int rowUBound() const { return records_; }
    int colUBound() const { return fields_ - 1; }

    // Out-of-range indices raise error 9, as an array would.
    const std::string& operator()(int row, int col) const;
    std::string& operator()(int row, int col);

    // The column of a field name, compared without case (the first of
    // several with that name); error 3265 when the result has none. Resolve
    // once per list, then index by the number.
    int col(const std::string& name) const;
    const std::vector<std::string>& names() const { return names_; }

private:
    std::size_t index(int row, int col) const;

    int records_;
    int fields_;
    std::vector<std::string> cells_;
    std::vector<std::string> names_;
};

}  // namespace tolvenk
