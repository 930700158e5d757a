#include "data/DataList.h"

#include "platform/Error.h"
#include "platform/db/AsciiCase.h"

namespace tolvenk {

DataList::DataList(int records, int fields)
    : records_(records), fields_(fields), cells_(static_cast<std::size_t>(records + 1) * fields) {}

DataList::DataList(int records, std::vector<std::string> names)
    : DataList(records, static_cast<int>(names.size())) {
    names_ = std::move(names);
}

int DataList::col(const std::string& name) const {
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (equalsNoCase(names_[i], name)) return static_cast<int>(i);
    throw VbError(3265, "Item cannot be found in the collection corresponding to the requested name or ordinal. [" +
                            name + "]");
}

std::size_t DataList::index(int row, int col) const {
    if (row < 0 || row > records_ || col < 0 || col >= fields_) throw VbError(9, "Subscript out of range");
    return static_cast<std::size_t>(row) * fields_ + col;
}

const std::string& DataList::operator()(int row, int col) const { return cells_[index(row, col)]; }
std::string& DataList::operator()(int row, int col) { return cells_[index(row, col)]; }

}  // namespace tolvenk
