#include "data/BookedBeside.h"

#include <algorithm>

#include "data/ByKeyRange.h"
#include "data/IcSettlement.h"
#include "data/WriteBatch.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"

namespace tolvenk {

Booked_Beside::Booked_Beside(const db::Connection& con, std::int64_t since) : on_(con.onServer()), seenTo_(since) {}

Booked_Beside::Booked_Beside(db::Connection& con)
    : on_(con.onServer()), seenTo_(on_ ? highestRecordId(con) : 0) {}

void Booked_Beside::learn(db::Connection& con) {
    if (!on_) return;
    const auto rows = con.openRecordset("select ID,Pinfo_ID,Card_No from Record_XF where ID > " +
                                        std::to_string(seenTo_));
    const int id = rows->fieldIndex("ID"), person = rows->fieldIndex("Pinfo_ID"), card = rows->fieldIndex("Card_No");
    for (; !rows->eof(); rows->moveNext()) {
        const std::int64_t p = rows->field(person).toInt64();
        cards_.insert(IC_Settlement::keyOf(p, rows->field(card).toString()));
        people_.insert(p);
        seenTo_ = std::max(seenTo_, rows->field(id).toInt64());
    }
}

bool Booked_Beside::card(std::int64_t person, const std::string& cardNo) const {
    return cards_.count(IC_Settlement::keyOf(person, cardNo)) > 0;
}

void Write_Apart(Write_Batch& batch, std::size_t from, std::size_t to, const std::function<bool(std::size_t)>& booked,
                 const std::function<void(std::size_t, std::size_t)>& write) {
    while (from < to) {
        if (booked(from)) {
            // Read, where the writes read first, and held with no other card.
            batch.commit();
            write(from, from + 1);
            batch.commit();
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
