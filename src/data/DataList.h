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

    // Upper bounds, as callers test them: rowUBound() < 1 means no data.
    int rowUBound() const { return records_; }
    int colUBound() const { return fields_ - 1; }

    // Out-of-range indices raise error 9, as an array would.
    const std::string& operator()(int row, int col) const;
    std::string& operator()(int row, int col);

private:
    std::size_t index(int row, int col) const;

    int records_;
    int fields_;
    std::vector<std::string> cells_;
};

}  // namespace tolvenk
