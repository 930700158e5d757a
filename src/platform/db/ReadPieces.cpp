#include "platform/db/ReadPieces.h"

#include "platform/db/Provider.h"
#include "platform/db/SqlText.h"

namespace tolvenk::db {

namespace {
std::string quoted(const std::string& text) { return "'" + sqlEscape(text) + "'"; }
}  // namespace

long long& ReadPieces::standardRows() {
    static long long rows = kRows;
    return rows;
}

ReadPieces::ReadPieces(std::shared_ptr<Provider> session, Pieces_Along along)
    : ReadPieces(std::move(session), std::move(along), standardRows()) {}

ReadPieces::ReadPieces(std::shared_ptr<Provider> session, Pieces_Along along, long long rows)
    : session_(std::move(session)), along_(std::move(along)), rows_(rows),
      split_(rows > 0 && !along_.table.empty() && along_.from <= along_.to && session_->readsKeepWritersOut()),
      at_(along_.from) {}

std::string ReadPieces::stretch(const std::string& end, bool endIncluded) const {
    const std::string& c = along_.column;
    return c + ">=" + quoted(at_) + " and " + c + (endIncluded ? "<=" : "<") + quoted(end);
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
    const QueryResult ahead = session_->query("select " + c + within + " order by " + c + " limit 1 offset " +
                                                  std::to_string(rows_),
                                              {Value(at_), Value(along_.to)});
    std::optional<std::string> end;
    if (!ahead.rows.empty() && ahead.rows[0][0].isText()) end = ahead.rows[0][0].asText();
    if (end && *end == at_) {
        const QueryResult after = session_->query("select min(" + c + ")" + within + " and " + c + ">?",
                                                  {Value(at_), Value(along_.to), Value(at_)});
        end.reset();
        if (!after.rows.empty() && after.rows[0][0].isText()) end = after.rows[0][0].asText();
    }
    if (!end) {
        done_ = true;
        return stretch(along_.to, along_.toIncluded);
    }
    std::string piece = stretch(*end, false);
    at_ = *end;
    return piece;
}

}  // namespace tolvenk::db
