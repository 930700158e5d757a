// A cell's text comes back as it was given, whichever way it is kept.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/grid/CellText.h"
#include "platform/grid/GridModel.h"

using namespace tolvenk::grid;
using Kept = CellText::Kept;

TEST(CellText, EveryTextComesBackAsGivenAndNumbersAndTimesAreKeptAsNumbers) {
    const std::pair<std::string, Kept> cases[] = {
        {"", Kept::Inline},
        {"0", Kept::Whole},
        {"-12", Kept::Whole},
        {"123456789012345678", Kept::Whole},     // 18 digits
        {"-123456789012345678", Kept::Whole},
        {"1234567890123456789", Kept::Heap},     // 19 digits: kept as text
        {"-0", Kept::Inline},                    // not the form of any number
        {"007", Kept::Inline},
        {"+1", Kept::Inline},
        {"1.50", Kept::Inline},
        {"￥12.50", Kept::Inline},
        {"1234567890abc", Kept::Inline},         // 13 bytes
        {"1234567890abcd", Kept::Heap},          // 14
        {"2026-11-10 12:00:05", Kept::Time},
        {"0000-00-00 00:00:00", Kept::Time},
        {"2026-11-10 12:00:5x", Kept::Heap},
        {"2026-11-10T12:00:05", Kept::Heap},
        {"2026-11-10", Kept::Inline},
        {"合计消费:", Kept::Inline},              // 13 bytes of UTF-8
        {"部门名称很长的一个部门", Kept::Heap},
    };
    for (const auto& [text, kept] : cases) {
        const CellText t(text);
        EXPECT_EQ(t.str(), text);
        EXPECT_EQ(t.kept(), kept) << text;
        EXPECT_EQ(t.empty(), text.empty()) << text;
    }
}

TEST(CellText, CopiesAndMovesOwnTheirText) {
    CellText a("a text longer than thirteen bytes");
    CellText b(a);
    a.assign("2026-11-10 12:00:05");
    EXPECT_EQ(b.str(), "a text longer than thirteen bytes");
    CellText c(std::move(b));
    EXPECT_EQ(c.str(), "a text longer than thirteen bytes");
    EXPECT_TRUE(b.empty());  // NOLINT: moved from, left empty
    c = a;
    EXPECT_EQ(c.str(), "2026-11-10 12:00:05");
    a = CellText("another text longer than thirteen");
    c = std::move(a);
    EXPECT_EQ(c.str(), "another text longer than thirteen");
    const CellText& same = c;
    c = same;  // to itself
    EXPECT_EQ(c.str(), "another text longer than thirteen");
}

// Looks are shared between cells but each cell's own: colouring one cell
// leaves the others as they were, and the same look again adds none.
TEST(CellText, EachCellKeepsItsOwnLooks) {
    GridModel m;
    m.setCols(3);
    m.setRows(3);
    m.setColumnAlignment(1, AlignRight);
    m.setForeColor(1, 1, 0xFF0000);
    m.setBackColor(1, 2, 0x8080FF);
    m.setAlignment(2, 1, AlignCenter);
    m.setText(1, 1, "12");
    EXPECT_EQ(m.foreColor(1, 1), 0xFF0000u);
    EXPECT_FALSE(m.backColor(1, 1));
    EXPECT_EQ(m.alignment(1, 1), AlignRight);  // its column's
    EXPECT_EQ(m.foreColor(1, 2), 0u);
    EXPECT_EQ(m.backColor(1, 2), 0x8080FFu);
    EXPECT_EQ(m.alignment(2, 1), AlignCenter);
    EXPECT_EQ(m.foreColor(2, 2), 0u);
    m.setForeColor(1, 1, 0);
    EXPECT_EQ(m.foreColor(1, 1), 0u);
    EXPECT_EQ(m.text(1, 1), "12");
    m.setText(2, 2, "a\xff" "b");
    EXPECT_EQ(m.text(2, 2), "a\xEF\xBF\xBD" "b");  // as before: U+FFFD for the bad byte
}
