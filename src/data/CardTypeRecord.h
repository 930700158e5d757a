#pragma once
// A card kind as the kind editor writes it: each value under its column's
// name, put in the table's column order only where the service stores it.
#include <map>
#include <string>
#include <vector>

namespace tolvenk {

class Card_Type_Record {
public:
    // The value of a Card_Type column (a col::Card_Type name); error 9 for
    // a name the table does not have.
    std::string& operator[](const std::string& column);
    const std::string& at(const std::string& column) const;
    // ID first, then every column in the table's order, as New_Type and
    // Update_Type take them; a column not set is empty.
    std::vector<std::string> Values() const;
    // The Card_Type columns in the table's order.
    static const std::vector<std::string>& Columns();

private:
    std::map<std::string, std::string> values_;
};

}  // namespace tolvenk
