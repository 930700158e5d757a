#include "data/IdClearing.h"

namespace tolvenk::ID_Clearing {

namespace {

constexpr std::int32_t kClearingLogCode = 301;

}  // namespace

Result Clear(CardService& service, const std::vector<Card>& cards, std::int32_t operatorId, const std::string& time,
             const Card_Done& done) {
    Result result;
    CardService::QL_Log log;
    log.time = time;
    log.operatorId = operatorId;
    for (std::size_t i = 0; i < cards.size(); ++i) {
        const CardService::QL_Result r = service.YuE_QL_ZF(cards[i].person, cards[i].cardNo, log);
        if (r.state == CardService::QL_Result::Already_Zero) ++result.zero;
        if (r.state == CardService::QL_Result::Failed) ++result.failed;
        if (done) done(i, r);
    }
    if (log.id == 0) {
        try {
            service.YuE_QL_Log(log.time, operatorId, kClearingLogCode, "0,0");
        } catch (const std::exception& e) {
            result.logError = e.what();
        }
    }
    result.cleared = log.count;
    result.voided = log.sum;
    return result;
}

}  // namespace tolvenk::ID_Clearing
