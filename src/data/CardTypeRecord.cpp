#include "data/CardTypeRecord.h"

#include <algorithm>

#include "data/TableColumns.h"
#include "platform/Error.h"

namespace tolvenk {

const std::vector<std::string>& Card_Type_Record::Columns() {
    namespace T = col::Card_Type;
    static const std::vector<std::string> columns{
        T::ID,        T::C_LeiBie,  T::C_Name,     T::C_Remark, T::C_F_Money, T::C_T_Money, T::C_H_Money,
        T::Ci_Yuan,   T::Tian_Yuan, T::Tian_Ci,    T::Zao_Yuan, T::Zao_Ci,    T::Zhong_Yuan, T::Zhong_Ci,
        T::Wan_Yuan,  T::Wan_Ci,    T::Ye_Yuan,    T::Ye_Ci,    T::Xiao_Yuan, T::Xiao_Ci,   T::BT_Money,
        T::BT_Ci,     T::Del_YN};
    return columns;
}

std::string& Card_Type_Record::operator[](const std::string& column) {
    const auto& c = Columns();
    if (std::find(c.begin(), c.end(), column) == c.end()) throw VbError(9, "Subscript out of range");
    return values_[column];
}

const std::string& Card_Type_Record::at(const std::string& column) const {
    static const std::string none;
    const auto it = values_.find(column);
    return it == values_.end() ? none : it->second;
}

std::vector<std::string> Card_Type_Record::Values() const {
    std::vector<std::string> out;
    for (const std::string& c : Columns()) out.push_back(at(c));
    return out;
}

}  // namespace tolvenk
