#pragma once
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/Value.h"

namespace tolvenk::db {

class Provider;

// Where a cursor's rows come from: an engine's open statement, read a batch
// at a time. An empty batch is the end.
class CursorSource {
public:
    virtual ~CursorSource() = default;
    // Adds up to `most` rows. A fetch that has worked for a while
    // (RowCursor::patience) hands over the rows it has; with none yet it
    // calls the waiting function between two steps and works on, or ends
    // when that says false.
    virtual void fetch(std::vector<std::vector<Value>>& rows, std::size_t most) = 0;
    virtual void setWaiting(std::function<bool()> waiting) { waiting_ = std::move(waiting); }

protected:
    using Clock = std::chrono::steady_clock;
    // At a point between two steps of a fetch that has worked since `since`:
    // true when it returns now (with rows, or stopped).
    bool pause(std::size_t have, Clock::time_point& since);
    bool stopped_ = false;

private:
    std::function<bool()> waiting_;
};

// The rows of one statement in its order, read as they are asked for, so a
// long result never lies in memory whole. It keeps its session open until it
// goes: nothing else may run on that session meanwhile, so it is a session
// of its own (Connection::openCursor on a connection no one else uses).
class RowCursor {
public:
    RowCursor(std::shared_ptr<Provider> session, std::vector<std::string> columns, std::unique_ptr<CursorSource> source);
    ~RowCursor();
    RowCursor(const RowCursor&) = delete;
    RowCursor& operator=(const RowCursor&) = delete;

    const std::vector<std::string>& columns() const { return columns_; }
    // The first column of that name, in any case; -1 when there is none.
    int fieldIndex(const std::string& name) const;
    // Moves to the next row; false after the last.
    bool next();
    // A field of the current row.
    const Value& field(int i) const;
    // Called while a read finds no row for a while (a window lets its events
    // through); false ends the rows there.
    void whileWaiting(std::function<bool()> waiting) { source_->setWaiting(std::move(waiting)); }
    // How long a fetch works before it hands over what it has or calls the
    // waiting function: a reader that yields after a batch is never held for
    // much more. Tests make it 0.
    static std::chrono::microseconds& patience();

private:
    std::shared_ptr<Provider> session_;  // outlives the source, which reads on it
    std::vector<std::string> columns_;
    std::unique_ptr<CursorSource> source_;
    std::vector<std::vector<Value>> batch_;
    std::size_t at_ = 0;
    bool ended_ = false;
};

}  // namespace tolvenk::db
