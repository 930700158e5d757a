#include "data/IdClearing.h"

#include <memory>

#include "data/BaseService.h"
#include "data/WriteBatch.h"
#include "platform/ErrorText.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Transaction.h"

namespace tolvenk::ID_Clearing {

namespace {

constexpr std::int32_t kClearingLogCode = 301;

}  // namespace

// The cards in batches on one connection. The click's log row is written
// and brought up to date inside the batches: `log` is what the batches
// committed so far hold, `open` what the open one holds as it goes on.
Result Clear(CardService& service, const std::vector<Card>& cards, std::int32_t operatorId, const std::string& time,
             const Card_Done& done) {
    using QL = CardService::QL_Result;
    Result result;
    CardService::QL_Log log;
    log.time = time;
    log.operatorId = operatorId;
    CardService::QL_Log open = log;
    const auto failed = [&](std::size_t i, const std::string& why) {
        QL f;
        f.error = why;
        ++result.failed;
        if (done) done(i, f);
    };
    BaseService base;  // the services' connection: their database and time-out
    base.Set_LinkStr(service.Get_strCN());
    base.Open_DB_Con();
    db::Connection& con = *base.DB_Con;
    const db::CloseOnExit closing(con);
    const auto lost = Until_Connection_Lost([&] {
        Write_Batch batch(con);
        for (std::size_t i = 0; i < cards.size(); ++i) {
            auto r = std::make_shared<QL>();
            auto after = std::make_shared<CardService::QL_Log>();
            try {
                batch.wholeItem(
                    [&](db::Connection& c) {
                        *r = CardService::YuE_QL_ZF(c, cards[i].person, cards[i].cardNo, open, *after);
                    },
                    [&, i, r, after] {
                        if (r->state != QL::Failed) log = *after;
                        if (r->state == QL::Cleared) ++result.cleared;
                        if (r->state == QL::Already_Zero) ++result.zero;
                        if (done) done(i, *r);
                    },
                    [&, i](const std::string& why) {
                        open = log;
                        failed(i, why);
                    });
                if (r->state != QL::Failed) open = *after;
            } catch (const db::DbError& e) {
                if (e.connectionLost()) throw;  // every card after it would fail the same way
                const std::string why = platform::errorText(e);
                batch.note([&failed, i, why] { failed(i, why); });
            } catch (const std::exception& e) {
                const std::string why = platform::errorText(e);
                batch.note([&failed, i, why] { failed(i, why); });
            }
            batch.pause(false);
        }
        batch.commit();
    });
    result.voided = log.sum;
    if (lost) {  // the cards of the batch it cut are as they were; no log row can be written now
        result.lost = *lost;
        return result;
    }
    if (log.id == 0) {
        try {
            service.YuE_QL_Log(log.time, operatorId, kClearingLogCode, "0,0");
        } catch (const std::exception& e) {
            result.logError = platform::errorText(e);
        }
    }
    return result;
}

}  // namespace tolvenk::ID_Clearing
