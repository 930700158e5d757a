#pragma once
// The meal-order figures of one day and meal: what was ordered and
// pre-deducted, cancelled, taken and given back. Amounts in fen, exact
// however far past 64 bits a site's rows take them.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/MoneyText.h"

namespace tolvenk {

class DCService;

struct Meal_Order_Sums {
    std::int64_t orders = 0, cancellations = 0, taken = 0;
    Exact_Sum preDeducted, cancelled, returned;

    // A cancellation's amount is no longer held.
    Exact_Sum held() const;
    // What stays held after the returns.
    Exact_Sum surplus() const;
    Meal_Order_Sums& operator+=(const Meal_Order_Sums& o);
};

// Orders (kind 15) and cancellations (16) whose meal day is `day`, whatever
// their Err_Code, and returns (48) made on `day`, of meal 1..5 and card kind
// `cardKind` (0 every kind).
Meal_Order_Sums Meal_Order_Day(DCService& dc, const std::string& day, std::int32_t cardKind, int meal);

// Meals 1..5 of one day, meal m at [m - 1].
using Meal_Order_Meals = std::array<Meal_Order_Sums, 5>;

// The same figures for every day from `firstDay` to `lastDay` ("yyyy-MM-dd"),
// in order, from two grouped statements over the whole range (read again
// record by record when a group's sum passes 64 bits); empty when the last
// day lies before the first.
std::vector<Meal_Order_Meals> Meal_Order_Days(DCService& dc, const std::string& firstDay, const std::string& lastDay,
                                              std::int32_t cardKind);

}  // namespace tolvenk
