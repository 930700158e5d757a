#include "data/HzRepFormat.h"

#include <vector>

#include "data/Globals.h"
#include "platform/VbText.h"
#include "platform/db/SqlText.h"

namespace tolvenk {

namespace {
int dimAt(const std::string& p2, std::size_t pos) {
    return p2.size() > pos ? static_cast<int>(vbVal(p2.substr(pos, 2))) : 0;
}
}  // namespace

HZ_Rep_Format HZ_Rep_Format::fromFormatString(const std::string& name, const std::string& format) {
    std::vector<std::string> parts = vbSplit(format, ';');
    parts.resize(4);
    return {name, parts[0], parts[1], parts[2], parts[3]};
}

int HZ_Rep_Format::dim1() const { return dimAt(P2, 1); }
int HZ_Rep_Format::dim2() const { return dimAt(P2, 3); }

std::string Key_Number_Sql(const std::string& column) {
    // One test everywhere: the kind of the database actually connected.
    return DB_Type == "SQL" ? "cast(" + column + " as int)" : "val(" + column + ")";
}

}  // namespace tolvenk
