#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/db/Connection.h"

namespace tolvenk::test {

// One Record_XF row with named fields; only the fields set are written, the
// rest is left to the table's defaults. Amounts are in fen.
//   XfRow().date("2026-07-01 08:00:00").person(1).kind(1).type(161).money(10000).insert(con);
class XfRow {
public:
    XfRow& id(int v) { return set("ID", v); }
    XfRow& mach(int v) { return set("Mach_ID", v); }
    XfRow& person(int v) { return set("Pinfo_id", v); }
    XfRow& cashier(const std::string& v) { return set("Shou_Kuan", v); }
    XfRow& kind(int v) { return set("C_LeiBie", v); }            // card kind
    XfRow& dian(int v) { return set("XF_Dian_ID", v); }          // place
    XfRow& type(int v) { return set("XF_Type", v); }             // transaction kind
    XfRow& meal(int v) { return set("XF_Meal", v); }
    XfRow& before(std::int64_t v) { return set("YuE_Old", v); }           // balance before
    XfRow& money(std::int64_t v) { return set("YuE_Change", v); }
    XfRow& balance(std::int64_t v) { return set("YuE_New", v); }          // balance after
    XfRow& cardSerial(int v) { return set("Card_LiuShui", v); }
    XfRow& date(const std::string& v) { return set("Date_Time", v); }
    XfRow& card(const std::string& v) { return set("Card_No", v); }
    XfRow& times(std::int64_t v) { return set("YuCi_Change", v); }
    XfRow& op(int v) { return set("Operator_id", v); }           // operator
    XfRow& unit(int v) { return set("XF_Unit", v); }             // owner
    XfRow& timesSerial(int v) { return set("Ci_LiuShui", v); }
    XfRow& timesLeft(std::int64_t v) { return set("YuCi_New", v); }
    XfRow& err(int v) { return set("Err_Code", v); }
    XfRow& dcDate(const std::string& v) { return set("DC_Date", v); }

    void insert(db::Connection& con) const;

private:
    XfRow& set(const char* column, db::Value v);
    std::vector<std::pair<std::string, db::Value>> fields_;
};

}  // namespace tolvenk::test
