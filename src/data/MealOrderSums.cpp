#include "data/MealOrderSums.h"

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

#include "data/DCService.h"
#include "platform/DateText.h"
#include "platform/FenMath.h"
#include "platform/db/DbError.h"
#include "platform/db/RowCursor.h"
#include "platform/db/SqlText.h"

namespace tolvenk {

namespace {
constexpr int kOrderKind = 15;
constexpr int kCancelKind = 16;
}  // namespace

Exact_Sum Meal_Order_Sums::held() const {
    Exact_Sum h = preDeducted;
    h.sub(cancelled);
    return h;
}

Exact_Sum Meal_Order_Sums::surplus() const {
    Exact_Sum s = held();
    s.sub(returned);
    return s;
}

Meal_Order_Sums& Meal_Order_Sums::operator+=(const Meal_Order_Sums& o) {
    orders = fenAdd(orders, o.orders);
    cancellations = fenAdd(cancellations, o.cancellations);
    taken = fenAdd(taken, o.taken);
    preDeducted.add(o.preDeducted);
    cancelled.add(o.cancelled);
    returned.add(o.returned);
    return *this;
}

Meal_Order_Sums Meal_Order_Day(DCService& dc, const std::string& day, std::int32_t cardKind, int meal) {
    if (meal < 1 || meal > 5) return {};
    const auto days = Meal_Order_Days(dc, day, day, cardKind);
    return days.empty() ? Meal_Order_Sums{} : days.front()[static_cast<std::size_t>(meal - 1)];
}

namespace {

// The days of a range and their figures, filled from groups of records.
class Day_Figures {
public:
    Day_Figures(const std::chrono::year_month_day& first, std::size_t count) : days_(count) {
        // A group counts only for a day of the range written as the range's
        // days are: a row whose date merely sorts between them is no day's.
        for (std::size_t i = 0; i < count; ++i) dayIndex_.emplace(formatDate(addDays(first, static_cast<int>(i))), i);
    }

    // Both statements' groups; false, leaving the figures part-filled, when
    // a sum is no 64-bit number (the engine gives a wider one or fails it).
    bool read(DCService& dc, const std::string& from, const std::string& until, std::int32_t cardKind,
              bool perRecord) {
        perRecord_ = perRecord;
        try {
            return readOrders(*dc.Sum_DC(from, until, cardKind, perRecord)) &&
                   readReturns(*dc.Sum_DC_XF(from, until, cardKind, perRecord));
        } catch (const db::DbError& e) {
            if (perRecord || std::string_view(e.what()).find("integer overflow") == std::string_view::npos) throw;
            return false;
        }
    }

    std::vector<Meal_Order_Meals> take() { return std::move(days_); }

private:
    Meal_Order_Sums* cell(const db::Value& day, const db::Value& meal) {
        const auto d = dayIndex_.find(day.toString());
        const auto m = parseNumber(meal.toString());
        if (d == dayIndex_.end() || !m || *m < 1 || *m > 5) return nullptr;
        return &days_[d->second][static_cast<std::size_t>(*m) - 1];
    }

    // A group's sum as a 64-bit number (NULL when it had only NULLs).
    static std::optional<std::int64_t> sumOf(const db::Value& v) {
        if (v.isNull()) return 0;
        if (v.isInteger()) return v.asInteger();
        return std::nullopt;
    }

    // A record's amount that is no whole number leaves the figure inexact.
    static void add(Exact_Sum& to, const std::optional<std::int64_t>& v) {
        if (v) to.add(*v);
        else to.addUnknown();
    }
    static void subtract(Exact_Sum& from, const std::optional<std::int64_t>& v) {
        if (v) from.sub(*v);
        else from.addUnknown();
    }

    bool readOrders(db::RowCursor& rows) {
        const int day = rows.fieldIndex("DC_Day"), meal = rows.fieldIndex("XF_Meal"), type = rows.fieldIndex("XF_Type"),
                  n = rows.fieldIndex("N"), fen = rows.fieldIndex("Fen");
        while (rows.next()) {
            Meal_Order_Sums* s = cell(rows.field(day), rows.field(meal));
            if (!s) continue;
            const auto kind = parseNumber(rows.field(type).toString());
            if (!kind || (*kind != kOrderKind && *kind != kCancelKind)) continue;
            const auto sum = sumOf(rows.field(fen));
            if (!sum && !perRecord_) return false;
            if (*kind == kOrderKind) {
                s->orders = fenAdd(s->orders, rows.field(n).toInt64());
                subtract(s->preDeducted, sum);  // an order's change is negative
            } else {
                s->cancellations = fenAdd(s->cancellations, rows.field(n).toInt64());
                add(s->cancelled, sum);
            }
        }
        return true;
    }

    bool readReturns(db::RowCursor& rows) {
        const int day = rows.fieldIndex("XF_Day"), meal = rows.fieldIndex("XF_Meal"), n = rows.fieldIndex("N"),
                  fen = rows.fieldIndex("Fen");
        while (rows.next()) {
            Meal_Order_Sums* s = cell(rows.field(day), rows.field(meal));
            if (!s) continue;
            const auto sum = sumOf(rows.field(fen));
            if (!sum && !perRecord_) return false;
            s->taken = fenAdd(s->taken, rows.field(n).toInt64());
            add(s->returned, sum);
        }
        return true;
    }

    std::vector<Meal_Order_Meals> days_;
    std::unordered_map<std::string, std::size_t> dayIndex_;
    bool perRecord_ = false;
};

}  // namespace

std::vector<Meal_Order_Meals> Meal_Order_Days(DCService& dc, const std::string& firstDay, const std::string& lastDay,
                                              std::int32_t cardKind) {
    const auto first = readDate(firstDay), last = readDate(lastDay);
    if (!first || !last) throw std::invalid_argument("no day: " + firstDay + " / " + lastDay);
    const auto count = (std::chrono::sys_days{*last} - std::chrono::sys_days{*first}).count() + 1;
    if (count < 1) return {};
    const std::string from = formatDate(*first), until = formatDate(addDays(*last, 1));
    Day_Figures grouped(*first, static_cast<std::size_t>(count));
    if (grouped.read(dc, from, until, cardKind, false)) return grouped.take();
    // Past 64 bits the engine cannot sum a group: the records, summed exactly here.
    Day_Figures records(*first, static_cast<std::size_t>(count));
    records.read(dc, from, until, cardKind, true);
    return records.take();
}

}  // namespace tolvenk
