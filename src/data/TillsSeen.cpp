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
}  // namespace

// Only the gap's length depends on the looks: failed, the gap ends as before.

void Tills_Seen::mark(db::Connection& con) {
    if (on_) on_ = db::triedUnlessLost([&] { seenTo_ = highestRecordId(con); });
}

void Tills_Seen::learn(db::Connection& con, Clock::time_point now) {
    if (!on_) return;
    on_ = db::triedUnlessLost([&] {
        const auto rows = con.openRecordset("select ID,Mach_ID from Record_XF where ID > " + std::to_string(seenTo_));
        const int id = rows->fieldIndex("ID"), till = rows->fieldIndex("Mach_ID");
        std::set<std::int64_t> came;  // a till's rows of one look count once: one commit may hold several
        for (; !rows->eof(); rows->moveNext()) {
            came.insert(rows->field(till).toInt64());
            seenTo_ = std::max(seenTo_, rows->field(id).toInt64());
        }
        for (const std::int64_t t : came) {
            auto& times = booked_[t];
            times.push_back(now);
            while (now - times.front() >= kLately) times.pop_front();
            awaited_.erase(t);
            ++inGap_[t];
        }
    });
}

// A till seen only once lately may be between two customers for seconds.
void Tills_Seen::gapBegun(Clock::time_point now) {
    awaited_.clear();
    for (auto& [till, times] : booked_) {
        while (!times.empty() && now - times.front() >= kLately) times.pop_front();
        if (times.size() >= 2) awaited_.insert(till);
    }
    inGap_.clear();
}

bool Tills_Seen::allCame() const {
    if (!on_ || !awaited_.empty() || inGap_.empty()) return false;
    return std::all_of(inGap_.begin(), inGap_.end(), [](const auto& till) { return till.second >= 2; });
}

}  // namespace tolvenk
