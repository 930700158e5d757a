#pragma once
// The meal windows on either engine: a meal table's row as plain SQL reads
// it, the grid's cells, the two order texts, the canteen's serving periods
// and the pickers of a time range.
#include <string>

#include "meals/MealTimes.h"
#include "platform/forms/DTPicker.h"
#include "support/Fixtures.h"
#include "support/Screen.h"

namespace tolvenk::test {

inline const std::string kNoOrder = "无需订餐", kOrder = "需要订餐";

template <class W>
class MealsWindow : public WindowOf<W> {
protected:
    // The first row of `table`, without its ID where the table has one.
    Texts stored(const std::string& table, bool hasId = true) {
        auto r = row(*this->con, "select * from " + table);
        if (hasId && !r.empty()) r.erase(r.begin());
        return r;
    }
    std::string cell(int r, int c) { return this->w.Grid1.Cell(r, c).Text(); }
    // XF_Can_Time's one row: the five serving periods, breakfast first, as
    // "hh:mm:ss" pairs, then the limits in fen and times.
    void canteenTimes(const std::string& periods, long long maxMoney, long long maxTimes) {
        this->con->execute("insert into XF_Can_Time values(" + periods + "," + std::to_string(maxMoney) + "," +
                           std::to_string(maxTimes) + ")");
    }
    static void range(forms::DTPicker& from, forms::DTPicker& to, const std::string& a, const std::string& b) {
        meals::setPickerTime(from, a);
        meals::setPickerTime(to, b);
    }
};

}  // namespace tolvenk::test
