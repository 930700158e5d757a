// A grid whose rows outgrow its memory budget keeps most of them in a
// temporary file: every cell, look, fit and export is what it is with every
// row in memory, and the file goes when the rows do.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>
#include <string>

#include "platform/grid/GridExport.h"
#include "platform/grid/GridModel.h"

using namespace tolvenk::grid;
namespace fs = std::filesystem;

namespace {

// A text of every shape a cell packs its own way: empty, a whole number, a
// negative one, a time, a short and a long text, wide characters.
std::string textFor(int r, int c) {
    switch ((r + c) % 7) {
    case 0: return "";
    case 1: return std::to_string(r * 37 + c);
    case 2: return "-" + std::to_string(r + 1);
    case 3: return "2026-09-" + std::string(r % 30 < 9 ? "0" : "") + std::to_string(r % 30 + 1) + " 08:15:0" + std::to_string(c % 10);
    case 4: return "￥" + std::to_string(r) + ".50";
    case 5: return "生产一车间装配班第" + std::to_string(r) + "组";
    default: return "012";  // not the number 12
    }
}

// Fills two grids alike: one with room for everything, one that keeps a page.
void fill(GridModel& g, int rows, int cols) {
    g.setCols(cols);
    g.setRows(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            g.setText(r, c, textFor(r, c));
            if (r % 11 == 3) g.setBackColor(r, c, 0x8080FF);
            if (c == 2 && r % 5 == 0) g.setForeColor(r, c, 0xFF0000);
        }
}

void expectSame(const GridModel& a, const GridModel& b) {
    ASSERT_EQ(a.rows(), b.rows());
    ASSERT_EQ(a.cols(), b.cols());
    for (int r = 0; r < a.rows(); ++r)
        for (int c = 0; c < a.cols(); ++c) {
            ASSERT_EQ(a.text(r, c), b.text(r, c)) << r << "," << c;
            ASSERT_EQ(a.backColor(r, c), b.backColor(r, c)) << r << "," << c;
            ASSERT_EQ(a.foreColor(r, c), b.foreColor(r, c)) << r << "," << c;
        }
}

std::string bytes(const fs::path& f) {
    std::ifstream in(f, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

TEST(RowStore, RowsBeyondTheBudgetComeBackAsTheyWereWrittenAndChanged) {
    GridModel all, paged;
    paged.setMemoryBudget(0);  // one page in memory at a time
    fill(all, 5000, 5);
    fill(paged, 5000, 5);
    EXPECT_GE(paged.store().pagesInFile(), 3);
    EXPECT_LE(paged.store().pagesInMemory(), 2);
    EXPECT_EQ(all.store().pagesInFile(), 0);
    EXPECT_EQ(paged.text(4999, 0), "184963");  // 4999 * 37
    EXPECT_EQ(paged.text(1024, 1), "2026-09-05 08:15:01");
    EXPECT_EQ(paged.text(12, 1), "012");
    expectSame(all, paged);

    // Changes to rows in the file, rows removed across pages, columns and
    // rows added and cut, a row added from text.
    for (GridModel* g : {&all, &paged}) {
        g->setText(10, 1, "改");
        g->setText(3000, 4, "-9");
        g->setAlignment(2048, 0, AlignRight);
        g->removeRow(5);
        g->removeRow(4998);  // the last
        g->removeRow(1023);  // a page's last row
        g->setCols(7);
        g->setText(4000, 6, "new");
        g->setCols(6);
        g->addRow("a\t2026-11-30 23:59:59\tb");
        g->setRows(4500);
        g->setRows(4600);
    }
    EXPECT_EQ(paged.text(9, 1), "改");
    EXPECT_EQ(paged.text(5, 0), textFor(6, 0));
    EXPECT_EQ(paged.text(1023, 3), textFor(1025, 3));  // two rows above it went
    EXPECT_EQ(paged.alignment(2046, 0), AlignRight);
    EXPECT_EQ(paged.text(4550, 2), "");
    expectSame(all, paged);

    const GridModel copy(paged);  // a copy reads the pages of the file
    expectSame(all, copy);
}

TEST(RowStore, FitsAndExportsSeeEveryRowAndTheFileGoesWithTheRows) {
    GridModel all, paged;
    paged.setMemoryBudget(0);
    fill(all, 3000, 4);
    fill(paged, 3000, 4);
    paged.setText(2500, 3, std::string(60, 'W'));  // the widest, in a page in the file
    all.setText(2500, 3, std::string(60, 'W'));
    const auto room = [](int, const std::string& t) { return static_cast<int>(t.size()) * 3; };
    paged.autoFit({1, 3}, room, 700, [] { return true; });
    all.autoFit(1, [](const std::string& t) { return static_cast<int>(t.size()) * 3; });
    all.autoFit(3, [](const std::string& t) { return static_cast<int>(t.size()) * 3; });
    EXPECT_EQ(paged.columnWidth(3), 60 * 7 + 12);  // seven pixels a narrow character, twelve of margin
    EXPECT_EQ(paged.columnWidth(1), all.columnWidth(1));
    EXPECT_EQ(paged.columnWidth(3), all.columnWidth(3));

    const fs::path dir = fs::temp_directory_path() / ("rowstore-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    for (auto write : {exportHtml, exportXml}) {
        ASSERT_TRUE(write(all, (dir / "all").string(), {}, nullptr));
        ASSERT_TRUE(write(paged, (dir / "paged").string(), {}, nullptr));
        EXPECT_EQ(bytes(dir / "all"), bytes(dir / "paged"));
    }
    fs::remove_all(dir);

    // A new fill starts: the rows in the file go, the file with them.
    paged.setRows(1);
    EXPECT_EQ(paged.store().pagesInFile(), 0);
    EXPECT_EQ(paged.text(0, 1), textFor(0, 1));
    paged.setRows(2000);
    EXPECT_EQ(paged.text(1500, 1), "");
}

namespace {

// Three pages of one column, each page's first row naming it; all three in
// the file.
RowStore threePagesInTheFile() {
    RowStore s;
    s.setCols(1);
    s.resize(3 * RowStore::kPageRows);
    for (int p = 0; p < 3; ++p) s.change(p * RowStore::kPageRows, 0).text.assign("page " + std::to_string(p));
    s.setBudget(0);
    return s;
}

std::string textAt(const RowStore& s, int r) { return s.at(r, 0).text.str(); }

}  // namespace

// A page read in passing, then changed and sent to the file again, is read
// in passing as it is now.
TEST(RowStore, APageReadInPassingShowsItsLatestChange) {
    RowStore s = threePagesInTheFile();
    const int r = RowStore::kPageRows;
    EXPECT_EQ(s.peekRow(r)->text.str(), "page 1");
    s.change(r, 0).text.assign("changed");
    EXPECT_EQ(textAt(s, 0), "page 0");  // page 1 goes to the file again
    ASSERT_EQ(s.pagesInMemory(), 1);
    EXPECT_EQ(s.peekRow(r)->text.str(), "changed");
}

// Pages back in memory when the file goes (the rows cut to them) have no
// copy anywhere else: sent out again later, they are written to the new file.
TEST(RowStore, PagesKeptWhenTheFileGoesAreWrittenToTheNextOne) {
    RowStore s = threePagesInTheFile();
    s.setBudget(RowStore::kDefaultBudget);
    EXPECT_EQ(textAt(s, 0), "page 0");
    EXPECT_EQ(textAt(s, RowStore::kPageRows), "page 1");
    s.resize(2 * RowStore::kPageRows);
    EXPECT_EQ(s.pagesInFile(), 0);
    s.setBudget(0);
    EXPECT_GE(s.pagesInFile(), 1);
    EXPECT_EQ(textAt(s, 0), "page 0");
    EXPECT_EQ(textAt(s, RowStore::kPageRows), "page 1");
}

namespace {

// About 1 MB of a page in the file: four cells of 250 bytes a row, each
// naming its place.
std::string longText(int r, int c) {
    std::string t = "r" + std::to_string(r) + "c" + std::to_string(c) + ":";
    t.resize(250, static_cast<char>('a' + (r + c) % 26));
    return t;
}

// 80 such pages sent to the file at once, some 83 MB through the writer,
// past the 64 MiB it holds queued before the window waits; then read back.
bool pagesPastTheWritersQueueComeBack() {
    constexpr int kCols = 4, kPages = 80;
    RowStore s;
    s.setCols(kCols);
    s.resize(kPages * RowStore::kPageRows);
    for (int r = 0; r < s.rows(); ++r)
        for (int c = 0; c < kCols; ++c) s.change(r, c).text.assign(longText(r, c));
    s.setBudget(0);
    if (s.pagesInFile() < kPages - 1) {
        std::fprintf(stderr, "only %d pages in the file\n", s.pagesInFile());
        return false;
    }
    for (int r = 0; r < s.rows(); ++r)
        for (int c = 0; c < kCols; ++c)
            if (s.at(r, c).text.str() != longText(r, c)) {
                std::fprintf(stderr, "row %d, column %d: %s\n", r, c, s.at(r, c).text.str().c_str());
                return false;
            }
    return true;
}

}  // namespace

// What the writer has written no longer counts as queued: the window goes on
// past the 64 MiB it lets wait in the queue. In a child process with a time
// limit, so that a window waiting for ever fails the test instead of the run.
TEST(RowStore, PagesPastTheWritersQueueLimitAreWrittenAndComeBack) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::signal(SIGALRM, [](int) {
                static const char said[] = "the pages were still waiting for the writer after 60 s\n";
                [[maybe_unused]] const ssize_t n = ::write(2, said, sizeof said - 1);
                std::_Exit(3);
            });
            ::alarm(60);
            std::_Exit(pagesPastTheWritersQueueComeBack() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
