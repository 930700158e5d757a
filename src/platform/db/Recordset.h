#pragma once
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/db/Provider.h"
#include "platform/db/RecordFilter.h"
#include "platform/db/Value.h"

namespace tolvenk::db {

// A materialised result: every row is in memory, so moving and filtering never
// touch the database. Rows opened for update remember their engine identity.
class Recordset {
public:
    Recordset(std::shared_ptr<Provider> session, QueryResult result, std::string table);

    long recordCount() const { return static_cast<long>(view_.size()); }
    bool bof() const { return pos_ < 0 || view_.empty(); }
    bool eof() const { return pos_ >= static_cast<long>(view_.size()) || view_.empty(); }
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();

    int fieldCount() const { return static_cast<int>(columns_.size()); }
    const std::string& fieldName(int index) const;
    // Case-insensitive; -1 when there is no such field.
    int fieldIndex(const std::string& name) const;
    const Value& field(int index) const;
    const Value& field(const std::string& name) const;

    // Narrows the visible rows ("" shows all again) and moves to the first.
    void setFilter(const std::string& filter);
    const std::string& filter() const { return filterText_; }

    bool updatable() const { return !table_.empty(); }
    void addNew();
    void setField(int index, const Value& v);
    void setField(const std::string& name, const Value& v);
    // Writes every pending change (new and changed rows) to the database.
    void update();
    void updateBatch() { update(); }
    void close();

private:
    std::size_t currentRow() const;
    void rebuildView();

    std::shared_ptr<Provider> session_;
    std::vector<std::string> columns_;
    std::vector<std::vector<Value>> rows_;
    std::vector<Value> keys_;
    std::string table_;
    std::vector<std::size_t> view_;
    long pos_ = 0;
    std::string filterText_;
    RecordFilter filter_;
    // Rows by the number a field holds, built when a filter first asks for
    // "field=number", so that repeated filters do not scan every row.
    std::unordered_map<int, std::unordered_map<double, std::vector<std::size_t>>> byNumber_;
    std::map<std::size_t, std::set<int>> pending_;  // row -> changed fields
    std::set<std::size_t> added_;
};

}  // namespace tolvenk::db
