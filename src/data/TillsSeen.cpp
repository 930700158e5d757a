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
// twenty some ten a second. Rows are counted, not commits: one upload of
// many rows counts as busy for a second, which costs the run only time.
constexpr int kBusyRows = 3, kBusyTill = 10, kBusyAll = 50;
constexpr auto kShortestPace = std::chrono::milliseconds(20);
// Beside busy tills a gap also waits for a till seen this recently.
constexpr auto kRecently = std::chrono::milliseconds(200);
}  // namespace

bool Tills_Seen::paced(std::deque<Look>& looks, Clock::time_point now, int perSecond) const {
    while (!looks.empty() && now - looks.front().at >= kLately) looks.pop_front();
    int rows = 0;
    for (const Look& look : looks) rows += look.rows;
    if (looks.empty()) return false;
    // The looks' rows came since the look before the first of them.
    const auto span = std::max<Clock::duration>(now - looks.front().since, kShortestPace);
    return rows >= kBusyRows && rows * Clock::duration(std::chrono::seconds(1)) >= perSecond * span;
}

// Only how the run holds the lock and how long its gaps are depend on the
// looks: failed, both are as before.

void Tills_Seen::mark(db::Connection& con) {
    lastLook_ = Clock::now();
    if (on_) on_ = db::triedUnlessLost([&] { seenTo_ = highestRecordId(con); });
}

void Tills_Seen::learn(db::Connection& con, Clock::time_point now) {
    if (!on_) return;
    on_ = db::triedUnlessLost([&] {
        const auto rows = con.openRecordset("select ID,Mach_ID from Record_XF where ID > " + std::to_string(seenTo_));
        const int id = rows->fieldIndex("ID"), till = rows->fieldIndex("Mach_ID");
        std::map<std::int64_t, int> came;  // a till's rows of one look are one booking (one commit may hold several), each a row of its pace
        for (; !rows->eof(); rows->moveNext()) {
            ++came[rows->field(till).toInt64()];
            seenTo_ = std::max(seenTo_, rows->field(id).toInt64());
        }
        int found = 0;
        bool busy = false;
        for (const auto& [t, count] : came) {
            auto& looks = booked_[t];
            looks.push_back({now, lastLook_, count});
            busy = paced(looks, now, kBusyTill) || busy;
            found += count;
            awaited_.erase(t);
            ++inGap_[t];
        }
        paced_.push_back({now, lastLook_, found});
        if (paced(paced_, now, kBusyAll) || busy) busyUntil_ = now + kLately;
        lastLook_ = now;
    });
}

// A till seen only once lately may be between two customers for seconds;
// beside busy tills one look may be all the run had of them yet, and one
// seen that recently is most likely one of them.
void Tills_Seen::gapBegun(Clock::time_point now, bool busy) {
    awaited_.clear();
    for (auto& [till, looks] : booked_) {
        while (!looks.empty() && now - looks.front().at >= kLately) looks.pop_front();
        if (looks.size() >= 2 || (busy && !looks.empty() && now - looks.back().at < kRecently)) awaited_.insert(till);
    }
    inGap_.clear();
}

bool Tills_Seen::allCame(bool once) const {
    if (!on_ || !awaited_.empty() || inGap_.empty()) return false;
    if (once) return true;
    return std::all_of(inGap_.begin(), inGap_.end(), [](const auto& till) { return till.second >= 2; });
}

}  // namespace tolvenk
