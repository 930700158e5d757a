#pragma once
#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "platform/db/Value.h"

namespace tolvenk::db {

class Provider;

// Where the rows of a long read lie: an indexed column of a table (text, or
// whole numbers) and the range of it the read covers (`from` on, before
// `to`, or up to `to` itself when `toIncluded`). A piece's condition stands
// in for the read's own condition on that range, so that the engine walks
// the index over the piece alone. No table: a read that is never split.
// `within`, when given, is a condition every row of the read meets (one
// person's rows): the pieces are counted among those rows alone, along an
// index that begins with it, so a read of few rows is a few pieces however
// many the range holds.
// `everywhere`: split on every engine, for a read whose statement hands over
// nothing until it has read its whole range (a grouped one), so that the
// window it fills is never held for long; the pieces are larger where no
// writer waits for them.
struct Pieces_Along {
    std::string table, column;
    Value from, to;
    bool toIncluded = false;
    std::string within{};
    bool everywhere = false;
};

// A long read in short pieces, where a statement that reads keeps writers out
// for as long as it runs: on a file with a rollback journal no terminal can
// commit while any reader holds the file's shared lock, so a report's
// statement of a second would hold every till for that second. The pieces
// split the range along the column into stretches of about `rows` rows, found
// along its index, and each is read by a statement of its own with the
// stretch as its condition on the column: a commit waits for one piece at most.
// While other sessions commit, the pieces are a fifth as long, and each
// waits for a writer in the middle of its transaction: a till's commit then
// waits a millisecond for a piece, not the several of a long one, and the
// tills together hold the lock hardly longer than beside no reader.
// Elsewhere (WAL, the server) the read stays one statement. The pieces
// together hold every row of the range once, in the column's order, all rows
// of one value in one piece.
class ReadPieces {
public:
    static constexpr long long kRows = 2500;
    static constexpr long long kBesideWriters = 5;  // pieces as many times shorter while others commit
    // Rows of the first piece split only for the window's sake (`everywhere`,
    // where no writer waits): a grouped piece of them reads in about a
    // hundredth of a second; the pieces after it are sized by how long it
    // took (took()), up to 16 times as many.
    static constexpr long long kRowsAlone = 2 * kRows;
    // The rows of a piece made without a number; tests make them few.
    static long long& standardRows();

    ReadPieces(std::shared_ptr<Provider> session, Pieces_Along along);
    ReadPieces(std::shared_ptr<Provider> session, Pieces_Along along, long long rows);

    // The condition the next piece adds to the statement ("" when the read
    // is not split: the one piece is the whole); nothing after the last.
    std::optional<std::string> next();
    bool split() const { return split_; }
    // How long the engine took over the last piece. Where the pieces are
    // only for the window's sake, the next ones are sized to take about
    // kAim: a cold disk or a busy machine makes the same rows slower.
    void took(std::chrono::steady_clock::duration d);
    // For a reader that lets the window in while the engine works on a
    // piece (a server's cursor): after a first short piece for the first
    // rows the rest is one. A server groups a cursor's rows in one process,
    // a piece's rows at more cost than the whole's, and finding a piece's
    // end walks its rows.
    void restInOne() { restInOne_ = adapts_; }
    static constexpr std::chrono::milliseconds kAim{25};

private:
    std::string stretch(const Value& end, bool endIncluded) const;

    std::shared_ptr<Provider> session_;
    Pieces_Along along_;
    long long rows_;
    bool split_;
    bool adapts_ = false;
    bool restInOne_ = false;
    // When the last piece short of the whole was handed over.
    std::optional<std::chrono::steady_clock::time_point> lastGiven_;
    bool done_ = false;
    Value at_;  // where the next piece begins
};

}  // namespace tolvenk::db
