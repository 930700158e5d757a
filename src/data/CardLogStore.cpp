#include "data/CardLogStore.h"

#include "data/BaseService.h"
#include "data/SqlPieces.h"
#include "platform/db/Connection.h"

namespace tolvenk::Card_Log_Store {

std::string Operations_Sql(const Conditions& c) {
    std::string sql = "select * from Card_Log  where Date_Time>='" + sql::q(c.From) + "' and date_Time<='" +
                      sql::q(c.To) + "'";
    if (c.Operator_ID != 0) sql += " and Operator_ID=" + sql::num(c.Operator_ID);
    if (c.C_LeiBie != 0) sql += " and C_LeiBie=" + sql::num(c.C_LeiBie);
    if (!c.Op_Types.empty()) {
        sql += " and Op_Type in (";
        for (std::size_t i = 0; i < c.Op_Types.size(); ++i) sql += (i ? "," : "") + sql::num(c.Op_Types[i]);
        sql += ")";
    }
    // Rows of one second (a replacement's two rows) in the order they were written.
    return sql + " order by Date_Time,ID";
}

std::shared_ptr<db::Recordset> Operations(BaseService& service, const Conditions& c) {
    service.Open_DB_Con();
    return service.DB_Con->openRecordset(Operations_Sql(c));
}

}  // namespace tolvenk::Card_Log_Store
