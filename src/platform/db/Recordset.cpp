#include "platform/db/Recordset.h"

#include "platform/db/AsciiCase.h"
#include "platform/db/DbError.h"

namespace tolvenk::db {

namespace {

[[noreturn]] void noCurrentRecord() {
    throw DbError("Either BOF or EOF is True, or the current record has been deleted. Requested operation "
                  "requires a current record.",
                  3021);
}

[[noreturn]] void noSuchItem(const std::string& what) {
    throw DbError("Item cannot be found in the collection corresponding to the requested name or ordinal. [" +
                      what + "]",
                  3265);
}

}  // namespace

Recordset::Recordset(std::shared_ptr<Provider> session, QueryResult result, std::string table)
    : session_(std::move(session)),
      columns_(std::move(result.columns)),
      rows_(std::move(result.rows)),
      keys_(std::move(result.rowKeys)),
      table_(std::move(table)) {
    if (keys_.size() != rows_.size()) table_.clear();  // no identity, no updates
    rebuildView();
}

void Recordset::rebuildView() {
    view_.clear();
    pos_ = 0;
    if (const auto key = filter_.numberEquality()) {
        auto [index, fresh] = byNumber_.try_emplace(key->first);
        if (fresh)
            for (std::size_t i = 0; i < rows_.size(); ++i)
                if (const auto n = RecordFilter::numberOf(rows_[i][static_cast<std::size_t>(key->first)]))
                    index->second[*n].push_back(i);
        const auto rows = index->second.find(key->second);
        if (rows == index->second.end()) return;
        for (std::size_t i : rows->second)
            if (filter_.matches(rows_[i])) view_.push_back(i);
        return;
    }
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (filter_.empty() || filter_.matches(rows_[i])) view_.push_back(i);
}

void Recordset::moveFirst() { pos_ = 0; }
void Recordset::moveLast() { pos_ = static_cast<long>(view_.size()) - 1; }

void Recordset::moveNext() {
    if (eof()) noCurrentRecord();
    ++pos_;
}

void Recordset::movePrevious() {
    if (bof()) noCurrentRecord();
    --pos_;
}

std::size_t Recordset::currentRow() const {
    if (bof() || eof()) noCurrentRecord();
    return view_[static_cast<std::size_t>(pos_)];
}

const std::string& Recordset::fieldName(int index) const {
    if (index < 0 || index >= fieldCount()) noSuchItem(std::to_string(index));
    return columns_[static_cast<std::size_t>(index)];
}

int Recordset::fieldIndex(const std::string& name) const {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (equalsNoCase(columns_[i], name)) return static_cast<int>(i);
    return -1;
}

const Value& Recordset::field(int index) const {
    if (index < 0 || index >= fieldCount()) noSuchItem(std::to_string(index));
    return rows_[currentRow()][static_cast<std::size_t>(index)];
}

const Value& Recordset::field(const std::string& name) const {
    const int i = fieldIndex(name);
    if (i < 0) noSuchItem(name);
    return field(i);
}

void Recordset::setFilter(const std::string& filter) {
    filter_ = filter.empty() ? RecordFilter() : RecordFilter(filter, columns_);
    filterText_ = filter;
    rebuildView();
}

void Recordset::addNew() {
    if (!updatable()) throw DbError("Current Recordset does not support updating.", 3251);
    rows_.emplace_back(columns_.size());
    keys_.emplace_back();
    byNumber_.clear();
    added_.insert(rows_.size() - 1);
    pending_[rows_.size() - 1];
    view_.push_back(rows_.size() - 1);
    pos_ = static_cast<long>(view_.size()) - 1;
}

void Recordset::setField(int index, const Value& v) {
    if (index < 0 || index >= fieldCount()) noSuchItem(std::to_string(index));
    const std::size_t row = currentRow();
    if (!updatable()) throw DbError("Current Recordset does not support updating.", 3251);
    rows_[row][static_cast<std::size_t>(index)] = v;
    byNumber_.erase(index);
    pending_[row].insert(index);
}

void Recordset::setField(const std::string& name, const Value& v) {
    const int i = fieldIndex(name);
    if (i < 0) noSuchItem(name);
    setField(i, v);
}

void Recordset::update() {
    for (auto it = pending_.begin(); it != pending_.end();) {
        const std::size_t row = it->first;
        std::vector<std::string> cols;
        std::vector<Value> vals;
        for (int f : it->second) {
            cols.push_back(columns_[static_cast<std::size_t>(f)]);
            vals.push_back(rows_[row][static_cast<std::size_t>(f)]);
        }
        if (added_.count(row)) {
            session_->insertRow(table_, cols, vals);
            added_.erase(row);
        } else if (session_->updateRow(table_, keys_[row], cols, vals) == 0) {
            throw DbError("Row cannot be located for updating. Some values may have been changed since it was "
                          "last read.",
                          -2147217864);
        }
        it = pending_.erase(it);
    }
}

void Recordset::close() {
    session_.reset();
    table_.clear();
    rows_.clear();
    keys_.clear();
    view_.clear();
    byNumber_.clear();
    pending_.clear();
    added_.clear();
}

}  // namespace tolvenk::db
