// A long column fitted a stretch of rows at a time comes out as wide as
// fitted at once; stopped midway, it keeps the width it had.
#include <gtest/gtest.h>

#include <string>

#include "platform/grid/GridModel.h"

using namespace tolvenk::grid;

TEST(GridFitSteps, InStepsAsWideAsAtOnceAndAStoppedFitChangesNothing) {
    GridModel m;
    m.setCols(2);
    m.setRows(1000);
    for (int r = 0; r < 1000; ++r) m.setText(r, 1, std::string(static_cast<std::size_t>(r % 7 + 1), 'x'));
    m.setText(999, 1, std::string(40, 'w'));  // the widest is the last row
    const auto room = [](const std::string& t) { return static_cast<int>(t.size()) * 10; };
    m.autoFit(1, room);
    const int once = m.columnWidth(1);
    EXPECT_EQ(once, 400);

    m.setColumnWidth(1, 50);
    int looks = 0;
    m.autoFit(1, room, 300, [&] { return ++looks > 0; });
    EXPECT_EQ(looks, 3);  // after rows 300, 600 and 900
    EXPECT_EQ(m.columnWidth(1), once);

    m.setColumnWidth(1, 50);
    looks = 0;
    m.autoFit(1, room, 300, [&] { return ++looks < 2; });
    EXPECT_EQ(looks, 2);
    EXPECT_EQ(m.columnWidth(1), 50);

    // Rows cut back during a look: the fit ends with what it saw.
    m.autoFit(1, room, 300, [&] {
        m.setRows(500);
        return true;
    });
    EXPECT_EQ(m.columnWidth(1), 7 * 10);
}

// Columns cut back during a look: a column that went is fitted no further,
// and no other cell's text stands in for its cells.
TEST(GridFitSteps, AColumnCutBackDuringALookIsReadNoFurther) {
    for (const std::size_t budget : {std::size_t{0}, RowStore::kDefaultBudget}) {
        GridModel m;
        m.setMemoryBudget(budget);  // rows in the file as well as in memory
        m.setCols(3);
        m.setRows(1000);
        for (int r = 0; r < 1000; ++r) {
            m.setText(r, 0, "a");
            m.setText(r, 2, std::string(30, 'w'));
        }
        std::vector<std::string> afterCut;
        int looks = 0;
        m.autoFit(
            {0, 2},
            [&](int c, const std::string& t) {
                if (c == 2 && m.cols() < 3) afterCut.push_back(t);
                return 1;
            },
            300,
            [&] {
                if (++looks == 1) m.setCols(1);
                return looks < 2;  // stops at the next look
            });
        EXPECT_EQ(afterCut.size(), 0u) << budget;
        EXPECT_EQ(m.cols(), 1);
    }
}
