#include <gtest/gtest.h>

#include "platform/Error.h"
#include "platform/grid/GridModel.h"

using namespace tolvenk;
using namespace tolvenk::grid;

TEST(GridModel, ConsecutiveOverlappingMergesGrowIntoOneBlock) {
    GridModel g;
    g.setCols(4);
    g.setRows(8);
    for (int r = 3; r <= 6; ++r) g.merge({r - 1, 1, r, 1});  // pair by pair
    ASSERT_EQ(g.merges().size(), 1u);
    const CellRange m = g.merges()[0];
    EXPECT_EQ(m.row1, 2);
    EXPECT_EQ(m.row2, 6);
    g.merge({1, 2, 1, 3});  // apart: a block of its own
    g.merge({0, 0, 0, 0});  // one cell merges nothing
    EXPECT_EQ(g.merges().size(), 2u);
    ASSERT_TRUE(g.mergeAt(4, 1));
    EXPECT_FALSE(g.mergeAt(4, 0));
}

TEST(GridModel, ShrinkingDropsCellsMergesAndGrowingStartsEmpty) {
    GridModel g;
    g.setCols(3);
    g.setRows(5);
    g.setText(4, 2, "x");
    g.setBackColor(4, 2, 0xFF);
    g.merge({3, 1, 4, 2});
    g.setRows(4);
    EXPECT_TRUE(g.merges().empty());
    g.setRows(6);
    EXPECT_EQ(g.text(4, 2), "");
    EXPECT_FALSE(g.backColor(4, 2));
    g.setCols(2);
    EXPECT_THROW(g.text(0, 2), VbError);
}

TEST(GridModel, RowsAddedFromTabTextAndRemoved) {
    GridModel g;
    g.setCols(4);
    g.setRows(1);
    g.addRow("a\tb\tc\td-ignored");
    g.addRow("only");
    EXPECT_EQ(g.rows(), 3);
    EXPECT_EQ(g.text(1, 0), "");
    EXPECT_EQ(g.text(1, 1), "a");
    EXPECT_EQ(g.text(1, 3), "c");
    EXPECT_EQ(g.text(2, 1), "only");
    g.merge({1, 1, 2, 1});
    g.setRowHeight(0, 30);
    g.setRowHeight(1, 40);
    g.setRowHeight(2, 50);
    g.removeRow(1);
    EXPECT_EQ(g.text(1, 1), "only");
    EXPECT_TRUE(g.merges().empty());  // a block of one row is no block
    // Heights go with their rows: the one removed takes its own along.
    EXPECT_EQ(g.rowHeight(0), 30);
    EXPECT_EQ(g.rowHeight(1), 50);
    EXPECT_EQ(g.rowHeightsSet().size(), 2u);
}

TEST(GridModel, LooksAndNotifications) {
    GridModel g;
    g.setCols(3);
    g.setRows(3);
    int repaints = 0;
    g.changed = [&] { ++repaints; };
    g.suspend();
    g.suspend();
    g.setText(1, 1, "张三");
    g.resume();
    EXPECT_EQ(repaints, 0);
    g.resume();
    EXPECT_EQ(repaints, 1);
    g.setColumnAlignment(2, AlignRight);
    EXPECT_EQ(g.alignment(1, 2), AlignRight);
    g.setAlignment(1, 2, AlignCenter);
    EXPECT_EQ(g.alignment(1, 2), AlignCenter);
    g.autoFit(1);
    EXPECT_GE(g.columnWidth(1), 28);  // two wide characters
    g.setColumnWidth(2, -5);
    EXPECT_EQ(g.columnWidth(2), 0);
    g.setRowHeight(2, 0);
    EXPECT_EQ(g.rowHeight(2), 0);
    EXPECT_EQ(g.rowHeight(1), g.defaultRowHeight());
}
