#pragma once
#include <cstddef>
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
    virtual void fetch(std::vector<std::vector<Value>>& rows, std::size_t most) = 0;
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

private:
    std::shared_ptr<Provider> session_;  // outlives the source, which reads on it
    std::vector<std::string> columns_;
    std::unique_ptr<CursorSource> source_;
    std::vector<std::vector<Value>> batch_;
    std::size_t at_ = 0;
    bool ended_ = false;
};

}  // namespace tolvenk::db
