#include "data/IdClearing.h"

#include <algorithm>
#include <memory>

#include "data/BaseService.h"
#include "data/BookedBeside.h"
#include "data/SetSize.h"
#include "data/WriteBatch.h"
#include "platform/ErrorText.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Transaction.h"

namespace tolvenk::ID_Clearing {

namespace {

constexpr std::int32_t kClearingLogCode = 301;

}  // namespace

// The cards in sets on one connection, a batch holding one set or a few.
// The click's log row is written and brought up to date inside the sets:
// `log` is what the batches committed so far hold, `open` what the open one
// holds as it goes on.
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
    const auto tell = [&](std::size_t i, const QL& r) {
        if (r.state == QL::Failed) return failed(i, r.error);
        if (r.state == QL::Cleared) ++result.cleared;
        if (r.state == QL::Already_Zero) ++result.zero;
        if (done) done(i, r);
    };
    // One card in a savepoint of the batch, as a set that failed is done again.
    const auto clearOne = [&](Write_Batch& batch, std::size_t i) {
        auto r = std::make_shared<QL>();
        auto after = std::make_shared<CardService::QL_Log>();
        try {
            batch.wholeItem(
                [&](db::Connection& c) {
                    *r = CardService::YuE_QL_ZF(c, cards[i].person, cards[i].cardNo, open, *after);
                },
                [&, i, r, after] {
                    log = *after;
                    tell(i, *r);
                },
                [&, i](const std::string& why) {
                    open = log;
                    failed(i, why);
                });
            open = *after;
        } catch (const std::exception& e) {
            if (db::connectionLost(e)) throw;  // every card after it would fail the same way
            const std::string why = platform::errorText(e);
            batch.note([&failed, i, why] { failed(i, why); });
        }
    };
    // The cards from `from` to `to` with a statement for each kind of write;
    // when the set fails, each card on its own, so that only the one at fault
    // is left.
    const auto clearSet = [&](Write_Batch& batch, std::size_t from, std::size_t to) {
        const std::vector<Card> set(cards.begin() + static_cast<std::ptrdiff_t>(from),
                                    cards.begin() + static_cast<std::ptrdiff_t>(to));
        auto results = std::make_shared<std::vector<QL>>();
        auto after = std::make_shared<CardService::QL_Log>();
        try {
            batch.items(
                static_cast<std::int64_t>(set.size()),
                [&](db::Connection& c) { *results = CardService::YuE_QL_ZF(c, set, open, *after); },
                [&, from, results, after] {
                    log = *after;
                    for (std::size_t k = 0; k < results->size(); ++k) tell(from + k, (*results)[k]);
                },
                [&, from, results](const std::string& why) {
                    open = log;
                    for (std::size_t k = 0; k < results->size(); ++k)
                        failed(from + k, (*results)[k].state == QL::Failed ? (*results)[k].error : why);
                });
            open = *after;
        } catch (const std::exception& e) {
            if (db::connectionLost(e)) throw;
            for (std::size_t i = from; i < to; ++i) clearOne(batch, i);
        }
    };
    BaseService base;  // the services' connection: their database and time-out
    base.Set_LinkStr(service.Get_strCN());
    base.Open_DB_Con();
    db::Connection& con = *base.DB_Con;
    const db::CloseOnExit closing(con);
    const auto lost = Until_Connection_Lost([&] {
        const Bulk_Writes bulk(con);
        // Each set's statements list every card of it, and a server parses
        // and plans them anew for each set: sets held three times as long
        // as the other runs' spend a third as much on that, and a terminal
        // booking on one of them still waits well under a tenth of a second.
        Write_Batch::Limits limits = Write_Batch::standard();
        limits.cards *= 3;
        Write_Batch batch(con, limits);
        batch.holdsCards();
        Booked_Beside beside(con);
        Set_Size size(batch);
        batch.whileWaiting(Write_Batch::letEventsIn);
        batch.committing([&] {
            for (std::size_t i = 0; i < cards.size();) {
                const std::size_t to = std::min(cards.size(), i + static_cast<std::size_t>(size.next(false)));
                size.write(to - i, [&] {
                    beside.learn(con);
                    Write_Apart(
                        batch, i, to, [&](std::size_t k) { return beside.card(cards[k].person, cards[k].cardNo); },
                        [&](std::size_t a, std::size_t b) { clearSet(batch, a, b); });
                });
                i = to;
                batch.pause(false);
            }
        });
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
