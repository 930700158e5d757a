#include "data/DataList.h"

#include "platform/Error.h"

namespace tolvenk {

DataList::DataList(int records, int fields)
    : records_(records), fields_(fields), cells_(static_cast<std::size_t>(records + 1) * fields) {}

std::size_t DataList::index(int row, int col) const {
    if (row < 0 || row > records_ || col < 0 || col >= fields_) throw VbError(9, "Subscript out of range");
    return static_cast<std::size_t>(row) * fields_ + col;
}

const std::string& DataList::operator()(int row, int col) const { return cells_[index(row, col)]; }
std::string& DataList::operator()(int row, int col) { return cells_[index(row, col)]; }

}  // namespace tolvenk
