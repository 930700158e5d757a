#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/RowCursor.h"

namespace tolvenk {

// The people a department's transaction detail lists, each with the names
// its rows carry: the person's department number, name and code, then the
// department's name and number, once for every live department of that
// number (so a number two live departments share lists the person's rows
// twice, as a join with the departments does).
class Detail_People {
public:
    using Names = std::array<db::Value, 5>;

    // Reads every row of `people`: Pinfo_id first, then the five names.
    explicit Detail_People(db::RowCursor& people);

    bool empty() const { return byId_.empty(); }
    // The identifiers, ascending, separated by commas, for an IN list; the
    // first `most` of them.
    std::string idList(std::size_t most = SIZE_MAX) const;
    std::size_t size() const { return byId_.size(); }
    // The names of the person's rows; none for a person not listed.
    const std::vector<Names>* find(std::int64_t id) const;

    // The rows of `records` (the detail's transactions in their order), each
    // followed by the five names of its person (`idColumn` names the
    // person), once for each entry of that person; a row of a person not
    // listed is left out.
    static std::unique_ptr<db::RowCursor> joined(std::unique_ptr<db::RowCursor> records, const std::string& idColumn,
                                                 std::shared_ptr<const Detail_People> people);

    // The names the five columns carry in the joined rows.
    static const std::array<const char*, 5>& columnNames();

private:
    std::map<std::int64_t, std::vector<Names>> byId_;
};

}  // namespace tolvenk
