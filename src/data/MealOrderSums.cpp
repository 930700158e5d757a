#include "data/MealOrderSums.h"

#include "data/DCService.h"
#include "data/TableColumns.h"
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
    namespace X = col::Record_XF;
    Meal_Order_Sums s;
    const DataList orders = dc.Select_DC(day, cardKind, meal);
    if (orders.rowUBound() >= 1) {
        const int type = orders.col(X::XF_Type), change = orders.col(X::YuE_Change);
        for (int r = 1; r <= orders.rowUBound(); ++r) {
            const std::int64_t amount = fenOf(orders(r, change));
            const auto kind = parseNumber(orders(r, type));
            if (kind && *kind == kOrderKind) {
                ++s.orders;
                s.preDeducted = fenSub(s.preDeducted, amount);  // an order's change is negative
            } else if (kind && *kind == kCancelKind) {
                ++s.cancellations;
                s.cancelled = fenAdd(s.cancelled, amount);
            }
        }
    }
    const DataList returns = dc.Select_DC_XF(day, cardKind, meal);
    if (returns.rowUBound() >= 1) {
        const int change = returns.col(X::YuE_Change);
        for (int r = 1; r <= returns.rowUBound(); ++r) {
            ++s.taken;
            s.returned = fenAdd(s.returned, fenOf(returns(r, change)));
        }
    }
    return s;
}

}  // namespace tolvenk
