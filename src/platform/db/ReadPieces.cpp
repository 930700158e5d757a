#include "platform/db/ReadPieces.h"

#include <algorithm>

#include "platform/SizedToTake.h"
#include "platform/db/Provider.h"
#include "platform/db/SqlText.h"

namespace tolvenk::db {

namespace {

std::string literal(const Value& v) {
    return v.isInteger() ? sqlNumber(v.asInteger()) : "'" + sqlEscape(v.asText()) + "'";
}

// Bounds of one kind, the first not after the second.
bool inOrder(const Value& from, const Value& to) {
    if (from.isInteger() && to.isInteger()) return from.asInteger() <= to.asInteger();
    return from.isText() && to.isText() && from.asText() <= to.asText();
}

// A bound as the index gave it, of the range's kind; nothing otherwise.
std::optional<Value> bound(const QueryResult& r, const Value& like) {
    if (r.rows.empty() || r.rows[0].empty()) return std::nullopt;
    const Value& v = r.rows[0][0];
    if (like.isInteger() ? !v.isInteger() : !v.isText()) return std::nullopt;
    return v;
}

}  // namespace

long long& ReadPieces::standardRows() {
    static long long rows = kRows;
    return rows;
}

ReadPieces::ReadPieces(std::shared_ptr<Provider> session, Pieces_Along along)
    : ReadPieces(std::move(session), std::move(along), standardRows()) {}

ReadPieces::ReadPieces(std::shared_ptr<Provider> session, Pieces_Along along, long long rows)
    : session_(std::move(session)), along_(std::move(along)), rows_(rows), at_(along_.from) {
    const bool keepsWritersOut = session_->readsKeepWritersOut();
    split_ = rows > 0 && !along_.table.empty() && inOrder(along_.from, along_.to) && (keepsWritersOut || along_.everywhere);
    adapts_ = split_ && !keepsWritersOut;
    if (adapts_) rows_ = rows * (kRowsAlone / kRows);
}

void ReadPieces::took(std::chrono::steady_clock::duration d) {
    if (!adapts_) return;
    rows_ = platform::sizedToTake(rows_, std::max(d, std::chrono::steady_clock::duration(1)), kAim, 2.0, kRows / 5,
                                  16 * kRowsAlone);
}

std::string ReadPieces::stretch(const Value& end, bool endIncluded) const {
    const std::string& c = along_.column;
    return c + ">=" + literal(at_) + " and " + c + (endIncluded ? "<=" : "<") + literal(end);
}

std::optional<std::string> ReadPieces::next() {
    if (done_) return std::nullopt;
    if (!split_) {
        done_ = true;
        return std::string();
    }
    if (restInOne_ && lastGiven_) {
        done_ = true;
        return stretch(along_.to, along_.toIncluded);
    }
    const std::string& c = along_.column;
    const std::string within = " from " + along_.table + " where " +
                               (along_.within.empty() ? std::string() : along_.within + " and ") + c + ">=? and " + c +
                               (along_.toIncluded ? "<=?" : "<?");
    // Giving way takes no longer than the piece before took to read, or
    // tills that are always in the middle of a write would make the read
    // many times as slow.
    const auto now = std::chrono::steady_clock::now();
    const std::chrono::steady_clock::duration read = lastGiven_ ? now - *lastGiven_ : std::chrono::hours(1);
    const long long rows =
        !adapts_ && session_->giveWayToWriters(read) ? std::max(1LL, rows_ / kBesideWriters) : rows_;
    // The row `rows` on along the index begins the piece after this one; a
    // value shared by more rows than that is read in one piece.
    std::optional<Value> end = bound(session_->query("select " + c + within + " order by " + c + " limit 1 offset " +
                                                         std::to_string(rows),
                                                     {at_, along_.to}),
                                     at_);
    if (end && *end == at_)
        end = bound(session_->query("select min(" + c + ")" + within + " and " + c + ">?", {at_, along_.to, at_}), at_);
    if (!end) {
        done_ = true;
        return stretch(along_.to, along_.toIncluded);
    }
    std::string piece = stretch(*end, false);
    at_ = *end;
    lastGiven_ = std::chrono::steady_clock::now();
    return piece;
}

}  // namespace tolvenk::db
