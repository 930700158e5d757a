// Times of day as the meal tables keep them: the edges of the clock.
#include <gtest/gtest.h>

#include "meals/MealTimes.h"

using tolvenk::meals::timeOfDay;

TEST(MealTimes, TypedTimesAreReadWithinTheClockOnly) {
    EXPECT_EQ(timeOfDay("7:05").value_or("?"), "07:05:00");
    EXPECT_EQ(timeOfDay("23:59:59").value_or("?"), "23:59:59");
    EXPECT_EQ(timeOfDay("0:00").value_or("?"), "00:00:00");
    for (const char* bad : {"24:00", "12:60", "12:30:60", "7:5", "12:30:", "12", "", "a:00"})
        EXPECT_FALSE(timeOfDay(bad)) << bad;
}
