#pragma once
// The card-management log (Card_Log) as the log window reads it: one
// statement for the period and its conditions, opened on the connection of
// the service the window keeps for it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tolvenk {

class BaseService;
namespace db {
class Recordset;
}

namespace Card_Log_Store {

struct Conditions {
    std::string From;  // "yyyy-MM-dd"
    std::string To;    // "yyyy-MM-dd 24:00:00", so the whole last day counts
    std::int32_t Operator_ID = 0;  // 0: every operator
    std::int32_t C_LeiBie = 0;     // 0: every card kind
    std::vector<int> Op_Types;     // empty: every operation
};

std::string Operations_Sql(const Conditions& c);
// Opens the service's connection and the rows on it, in time order; both stay
// open while the service and the record set live.
std::shared_ptr<db::Recordset> Operations(BaseService& service, const Conditions& c);

}  // namespace Card_Log_Store

}  // namespace tolvenk
