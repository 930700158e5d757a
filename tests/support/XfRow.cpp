#include "support/XfRow.h"

namespace tolvenk::test {

XfRow& XfRow::set(const char* column, db::Value v) {
    for (auto& f : fields_)
        if (f.first == column) {
            f.second = std::move(v);
            return *this;
        }
    fields_.emplace_back(column, std::move(v));
    return *this;
}

void XfRow::insert(db::Connection& con) const {
    std::string columns, marks;
    std::vector<db::Value> values;
    for (const auto& [column, value] : fields_) {
        columns += (columns.empty() ? "" : ",") + column;
        marks += marks.empty() ? "?" : ",?";
        values.push_back(value);
    }
    con.execute("insert into Record_XF(" + columns + ") values(" + marks + ")", values);
}

}  // namespace tolvenk::test
