#include "data/MealOrderSums.h"

#include <chrono>
#include <stdexcept>
#include <unordered_map>

#include "data/DCService.h"
#include "platform/DateText.h"
#include "platform/FenMath.h"
#include "platform/db/SqlText.h"

namespace tolvenk {

namespace {
constexpr int kOrderKind = 15;
constexpr int kCancelKind = 16;
}  // namespace

std::int64_t Meal_Order_Sums::held() const { return fenSub(preDeducted, cancelled); }

std::int64_t Meal_Order_Sums::surplus() const { return fenSub(held(), returned); }

Meal_Order_Sums& Meal_Order_Sums::operator+=(const Meal_Order_Sums& o) {
    orders = fenAdd(orders, o.orders);
    cancellations = fenAdd(cancellations, o.cancellations);
    taken = fenAdd(taken, o.taken);
    preDeducted = fenAdd(preDeducted, o.preDeducted);
    cancelled = fenAdd(cancelled, o.cancelled);
    returned = fenAdd(returned, o.returned);
    return *this;
}

Meal_Order_Sums Meal_Order_Day(DCService& dc, const std::string& day, std::int32_t cardKind, int meal) {
    if (meal < 1 || meal > 5) return {};
    const auto days = Meal_Order_Days(dc, day, day, cardKind);
    return days.empty() ? Meal_Order_Sums{} : days.front()[static_cast<std::size_t>(meal - 1)];
}

std::vector<Meal_Order_Meals> Meal_Order_Days(DCService& dc, const std::string& firstDay, const std::string& lastDay,
                                              std::int32_t cardKind) {
    const auto first = readDate(firstDay), last = readDate(lastDay);
    if (!first || !last) throw std::invalid_argument("no day: " + firstDay + " / " + lastDay);
    const auto count = (std::chrono::sys_days{*last} - std::chrono::sys_days{*first}).count() + 1;
    if (count < 1) return {};
    std::vector<Meal_Order_Meals> days(static_cast<std::size_t>(count));
    // A group counts only for a day of the range written as the range's days
    // are: a row whose date merely sorts between them is no day's.
    std::unordered_map<std::string, std::size_t> dayIndex;
    for (std::size_t i = 0; i < days.size(); ++i) dayIndex.emplace(formatDate(addDays(*first, static_cast<int>(i))), i);
    const auto cell = [&](const DataList& list, int r, int dayCol, int mealCol) -> Meal_Order_Sums* {
        const auto d = dayIndex.find(list(r, dayCol));
        const auto m = parseNumber(list(r, mealCol));
        if (d == dayIndex.end() || !m || *m < 1 || *m > 5) return nullptr;
        return &days[d->second][static_cast<std::size_t>(*m) - 1];
    };
    const std::string from = formatDate(*first), until = formatDate(addDays(*last, 1));

    const DataList orders = dc.Sum_DC(from, until, cardKind);
    if (orders.rowUBound() >= 1) {
        const int day = orders.col("DC_Day"), meal = orders.col("XF_Meal"), type = orders.col("XF_Type"),
                  n = orders.col("N"), fen = orders.col("Fen");
        for (int r = 1; r <= orders.rowUBound(); ++r) {
            Meal_Order_Sums* s = cell(orders, r, day, meal);
            if (!s) continue;
            const auto kind = parseNumber(orders(r, type));
            if (kind && *kind == kOrderKind) {
                s->orders = fenAdd(s->orders, fenOf(orders(r, n)));
                s->preDeducted = fenSub(s->preDeducted, fenOf(orders(r, fen)));  // an order's change is negative
            } else if (kind && *kind == kCancelKind) {
                s->cancellations = fenAdd(s->cancellations, fenOf(orders(r, n)));
                s->cancelled = fenAdd(s->cancelled, fenOf(orders(r, fen)));
            }
        }
    }
    const DataList returns = dc.Sum_DC_XF(from, until, cardKind);
    if (returns.rowUBound() >= 1) {
        const int day = returns.col("XF_Day"), meal = returns.col("XF_Meal"), n = returns.col("N"),
                  fen = returns.col("Fen");
        for (int r = 1; r <= returns.rowUBound(); ++r) {
            Meal_Order_Sums* s = cell(returns, r, day, meal);
            if (!s) continue;
            s->taken = fenAdd(s->taken, fenOf(returns(r, n)));
            s->returned = fenAdd(s->returned, fenOf(returns(r, fen)));
        }
    }
    return days;
}

}  // namespace tolvenk
