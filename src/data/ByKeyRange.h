#pragma once
// A table read by a range of its key (the rows written since a known ID).
#include <cstdint>
#include <string>

#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"

namespace tolvenk {

// `table` as a statement names it to be read by its key's range: the file's
// engine would otherwise walk a date or person index over a month or the
// whole table when the statement also bounds those; the server weighs the
// key's range itself.
inline std::string byKeyRange(db::Connection& con, const std::string& table) {
    return con.onServer() ? table : table + " not indexed";
}

// The highest ID of Record_XF; 0 when it is empty: rows written later lie above it.
inline std::int64_t highestRecordId(db::Connection& con) {
    const auto top = con.openRecordset("select max(ID) as Top_Id from Record_XF");
    return top->eof() || top->field(0).isNull() ? 0 : top->field(0).toInt64();
}

}  // namespace tolvenk
