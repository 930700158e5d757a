#include "data/DetailPeople.h"

#include "platform/db/DbError.h"

namespace tolvenk {

namespace {

// The transactions' rows with their person's names after them.
class JoinedRows : public db::CursorSource {
public:
    JoinedRows(std::unique_ptr<db::RowCursor> records, int idColumn, std::shared_ptr<const Detail_People> people)
        : records_(std::move(records)), id_(idColumn), people_(std::move(people)),
          width_(static_cast<int>(records_->columns().size())) {}

    // A stop said while the records waited ends this read too, with the
    // rows gathered in the same fetch: the window that asked is gone.
    void setWaiting(std::function<bool()> waiting) override {
        CursorSource::setWaiting(waiting);
        if (records_)
            records_->whileWaiting([this, waiting = std::move(waiting)] {
                if (!waiting()) stopped_ = true;
                return !stopped_;
            });
    }
    void fetch(std::vector<std::vector<db::Value>>& rows, std::size_t most) override {
        for (auto since = Clock::now(); rows.size() < most && records_ && !pause(rows.size(), since) && records_->next();) {
            const auto* names = people_->find(records_->field(id_).toInt64());
            if (!names) continue;
            for (const auto& n : *names) {
                std::vector<db::Value> row;
                row.reserve(static_cast<std::size_t>(width_) + n.size());
                for (int c = 0; c < width_; ++c) row.push_back(records_->field(c));
                row.insert(row.end(), n.begin(), n.end());
                rows.push_back(std::move(row));
            }
        }
        if (stopped_) rows.clear();
        // The engine's statement goes as soon as its last row is read.
        if (rows.empty()) records_.reset();
    }

private:
    std::unique_ptr<db::RowCursor> records_;
    int id_;
    std::shared_ptr<const Detail_People> people_;
    int width_;
};

}  // namespace

Detail_People::Detail_People(db::RowCursor& people) {
    while (people.next()) {
        Names n;
        for (std::size_t i = 0; i < n.size(); ++i) n[i] = people.field(static_cast<int>(i) + 1);
        byId_[people.field(0).toInt64()].push_back(std::move(n));
    }
}

std::string Detail_People::idList(std::size_t most) const {
    std::string out;
    for (const auto& [id, names] : byId_) {
        if (most-- == 0) break;
        if (!out.empty()) out += ',';
        out += std::to_string(id);
    }
    return out;
}

const std::vector<Detail_People::Names>* Detail_People::find(std::int64_t id) const {
    const auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : &it->second;
}

const std::array<const char*, 5>& Detail_People::columnNames() {
    static const std::array<const char*, 5> names{"Dept_No", "p_name", "p_code", "Dept_Name", "dept_no"};
    return names;
}

std::unique_ptr<db::RowCursor> Detail_People::joined(std::unique_ptr<db::RowCursor> records,
                                                     const std::string& idColumn,
                                                     std::shared_ptr<const Detail_People> people) {
    const int id = records->fieldIndex(idColumn);
    if (id < 0) throw db::DbError("Item cannot be found in the collection.", 3265);
    std::vector<std::string> columns = records->columns();
    columns.insert(columns.end(), columnNames().begin(), columnNames().end());
    return std::make_unique<db::RowCursor>(nullptr, std::move(columns),
                                           std::make_unique<JoinedRows>(std::move(records), id, std::move(people)));
}

}  // namespace tolvenk
