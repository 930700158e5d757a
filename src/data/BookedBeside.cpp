#include "data/BookedBeside.h"

#include <algorithm>

#include "data/ByKeyRange.h"
#include "data/IcSettlement.h"
#include "data/WriteBatch.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Recordset.h"

namespace tolvenk {

Booked_Beside::Booked_Beside(const db::Connection& con, std::int64_t since)
    : on_(con.onServer()), since_(since), seenTo_(since) {}

Booked_Beside::Booked_Beside(db::Connection& con)
    : Booked_Beside(con, con.onServer() ? highestRecordId(con) : 0) {}

void Booked_Beside::learn(db::Connection& con) {
    if (!on_) return;
    // The server numbers a row as it is written, not as it is committed: a
    // few rows below the highest seen are read again for those committed late.
    constexpr std::int64_t kLate = 64;
    // Only the sets' shape depends on it: failed, the run goes on as it
    // would have beside nobody.
    db::triedUnlessLost([&] {
        const auto rows = con.openRecordset("select ID,Pinfo_ID,Card_No from Record_XF where ID > " +
                                            std::to_string(std::max(since_, seenTo_ - kLate)));
        const int id = rows->fieldIndex("ID"), person = rows->fieldIndex("Pinfo_ID"),
                  card = rows->fieldIndex("Card_No");
        for (; !rows->eof(); rows->moveNext()) {
            const std::int64_t p = rows->field(person).toInt64();
            cards_.insert(IC_Settlement::keyOf(p, rows->field(card).toString()));
            people_.insert(p);
            seenTo_ = std::max(seenTo_, rows->field(id).toInt64());
        }
    });
}

bool Booked_Beside::card(std::int64_t person, const std::string& cardNo) const {
    return cards_.count(IC_Settlement::keyOf(person, cardNo)) > 0;
}

void Write_Apart(Write_Batch& batch, std::size_t from, std::size_t to, const std::function<bool(std::size_t)>& booked,
                 const std::function<void(std::size_t, std::size_t)>& write) {
    while (from < to) {
        if (booked(from)) {
            // Held with no other card, and read with no lock held where the
            // run reads before its writes.
            batch.commit();
            write(from, from + 1);
            batch.commitGivingWay();
            ++from;
            continue;
        }
        std::size_t end = from + 1;
        while (end < to && !booked(end)) ++end;
        write(from, end);
        from = end;
    }
}

}  // namespace tolvenk
