#include "data/SubsidyBatch.h"

#include <string>

#include "data/SqlPieces.h"
#include "platform/VbNumber.h"
#include "platform/VbText.h"
#include "platform/db/Connection.h"
#include "platform/db/SqlText.h"

namespace tolvenk {

std::int32_t BT_Yuan_To_Fen(double yuan) {
    const std::int32_t fen = vbCLng(yuan * 100);
    return fen / 10 * 10;
}

std::optional<BT_Value_Problem> BT_Check_Value(const std::string& text, bool times) {
    const std::string t = vbTrim(text);
    if (t.empty()) return BT_Value_Problem::Empty;
    const auto v = parseNumber(t);
    if (!v) return BT_Value_Problem::Not_Number;
    if (*v < 0) return BT_Value_Problem::Negative;
    if (*v > (times ? Max_BT_Times : Max_BT_Yuan)) return BT_Value_Problem::Too_Big;
    return std::nullopt;
}

std::string Signed_Change(std::int64_t value) {
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    return (value < 0 ? "-" : "+") + std::to_string(magnitude);
}

namespace Batch_Store {

std::shared_ptr<db::Recordset> Clear_Marker(db::Connection& conn, const std::string& year, std::int32_t month) {
    return conn.openRecordset("select top 1 * from butie_ok where B_year=" + sql::num(year) +
                              " and B_Month=" + sql::num(month) + " and B_Times=-1");
}

}  // namespace Batch_Store

}  // namespace tolvenk
