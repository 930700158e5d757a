#include "data/TillsSeen.h"

#include <algorithm>
#include <string>

#include "data/ByKeyRange.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Recordset.h"

namespace tolvenk {

namespace {
constexpr auto kLately = std::chrono::seconds(1);
// Busy: at least three rows lately, ten a second or more from one till or
// fifty in all, where a lunch's till books one every few seconds and its
// twenty some ten a second. Measured from the run's begin while that was
// less than a second ago.
constexpr int kBusyRows = 3, kBusyTill = 10, kBusyAll = 50;
constexpr auto kShortestPace = std::chrono::milliseconds(20);
}  // namespace

bool Tills_Seen::paced(std::deque<Look>& looks, Clock::time_point now, int perSecond) const {
    while (!looks.empty() && now - looks.front().at >= kLately) looks.pop_front();
    int rows = 0;
    for (const Look& look : looks) rows += look.rows;
    const auto span = std::clamp<Clock::duration>(now - from_.value_or(now), kShortestPace, kLately);
    return rows >= kBusyRows && rows * Clock::duration(std::chrono::seconds(1)) >= perSecond * span;
}

// Only the gap's length depends on the looks: failed, the gap ends as before.

void Tills_Seen::mark(db::Connection& con) {
    if (!from_) from_ = Clock::now();
    if (on_) on_ = db::triedUnlessLost([&] { seenTo_ = highestRecordId(con); });
}

void Tills_Seen::learn(db::Connection& con, Clock::time_point now) {
    if (!on_) return;
    on_ = db::triedUnlessLost([&] {
        const auto rows = con.openRecordset("select ID,Mach_ID from Record_XF where ID > " + std::to_string(seenTo_));
        const int id = rows->fieldIndex("ID"), till = rows->fieldIndex("Mach_ID");
        std::map<std::int64_t, int> came;  // a till's rows of one look are one booking: one commit may hold several
        for (; !rows->eof(); rows->moveNext()) {
            ++came[rows->field(till).toInt64()];
            seenTo_ = std::max(seenTo_, rows->field(id).toInt64());
        }
        int found = 0;
        bool busy = false;
        for (const auto& [t, count] : came) {
            auto& looks = booked_[t];
            looks.push_back({now, count});
            busy = paced(looks, now, kBusyTill) || busy;
            found += count;
            awaited_.erase(t);
            ++inGap_[t];
        }
        paced_.push_back({now, found});
        if (paced(paced_, now, kBusyAll) || busy) busyUntil_ = now + kLately;
    });
}

// A till seen only once lately may be between two customers for seconds;
// beside busy tills one look may be all the run had of them yet.
void Tills_Seen::gapBegun(Clock::time_point now, bool busy) {
    awaited_.clear();
    for (auto& [till, looks] : booked_) {
        while (!looks.empty() && now - looks.front().at >= kLately) looks.pop_front();
        if (looks.size() >= (busy ? 1u : 2u)) awaited_.insert(till);
    }
    inGap_.clear();
}

bool Tills_Seen::allCame(bool once) const {
    if (!on_ || !awaited_.empty() || inGap_.empty()) return false;
    if (once) return true;
    return std::all_of(inGap_.begin(), inGap_.end(), [](const auto& till) { return till.second >= 2; });
}

}  // namespace tolvenk
