#include "platform/db/ReadPieces.h"

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
    : session_(std::move(session)), along_(std::move(along)), rows_(rows),
      split_(rows > 0 && !along_.table.empty() && inOrder(along_.from, along_.to) && session_->readsKeepWritersOut()),
      at_(along_.from) {}

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
    const std::string& c = along_.column;
    const std::string within = " from " + along_.table + " where " + c + ">=? and " + c +
                               (along_.toIncluded ? "<=?" : "<?");
    // The row `rows_` on along the index begins the piece after this one; a
    // value shared by more rows than that is read in one piece.
    std::optional<Value> end = bound(session_->query("select " + c + within + " order by " + c + " limit 1 offset " +
                                                         std::to_string(rows_),
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
    return piece;
}

}  // namespace tolvenk::db
