#include "platform/db/RowCursor.h"

#include "platform/db/AsciiCase.h"
#include "platform/db/DbError.h"
#include "platform/db/Provider.h"

namespace tolvenk::db {

namespace {
// Rows per engine call: few enough to stay small, many enough that the calls cost nothing.
constexpr std::size_t kBatch = 1000;
}  // namespace

bool CursorSource::pause(std::size_t have, Clock::time_point& since) {
    if (stopped_) return true;
    if (Clock::now() - since < RowCursor::patience()) return false;
    if (have > 0) return true;
    if (waiting_ && !waiting_()) stopped_ = true;
    since = Clock::now();
    return stopped_;
}

std::chrono::microseconds& RowCursor::patience() {
    static std::chrono::microseconds p = std::chrono::milliseconds(20);
    return p;
}

RowCursor::RowCursor(std::shared_ptr<Provider> session, std::vector<std::string> columns,
                     std::unique_ptr<CursorSource> source)
    : session_(std::move(session)), columns_(std::move(columns)), source_(std::move(source)) {}

RowCursor::~RowCursor() { source_.reset(); }

int RowCursor::fieldIndex(const std::string& name) const {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (equalsNoCase(columns_[i], name)) return static_cast<int>(i);
    return -1;
}

bool RowCursor::next() {
    if (ended_) return false;
    if (++at_ < batch_.size()) return true;
    batch_.clear();
    at_ = 0;
    source_->fetch(batch_, kBatch);
    if (batch_.empty()) {
        ended_ = true;
        source_.reset();  // the engine's statement and its read lock go at once
        return false;
    }
    return true;
}

const Value& RowCursor::field(int i) const {
    if (ended_ || at_ >= batch_.size()) throw DbError("Either BOF or EOF is True, or the current record has been deleted.", 3021);
    const auto& row = batch_[at_];
    if (i < 0 || static_cast<std::size_t>(i) >= row.size()) throw DbError("Item cannot be found in the collection.", 3265);
    return row[static_cast<std::size_t>(i)];
}

}  // namespace tolvenk::db
