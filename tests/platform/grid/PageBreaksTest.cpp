// Pages are counted from the rows' heights and painted one at a time: the
// breaks must be the ones the painter made when it laid out every page in one
// go, a page must be drawn from its own rows alone, and a PDF must go to its
// file as its pages are painted.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/grid/PagePainter.h"
#include "platform/services/Application.h"
#include "platform/services/PrintDocument.h"
#include "support/PdfInfo.h"

using namespace tolvenk;
using namespace tolvenk::grid;
namespace fs = std::filesystem;

namespace {

// The painter's pagination as it was when it listed every page's rows up
// front: the reference the breaks are held to.
std::vector<PageCells> listedPages(const GridModel& m, double roomW, double roomH) {
    using Items = std::vector<int>;
    const auto width = [&m](int c) { return double(m.columnWidth(c)); };
    const auto height = [&m](int r) { return double(m.rowHeight(r)); };
    const auto extent = [](const Items& items, auto size) {
        double sum = 0;
        for (int i : items) sum += size(i);
        return sum;
    };
    const auto split = [](const Items& items, auto size, double room) {
        std::vector<Items> runs(1);
        double used = 0;
        for (int i : items) {
            if (!runs.back().empty() && used + size(i) > room) {
                runs.emplace_back();
                used = 0;
            }
            runs.back().push_back(i);
            used += size(i);
        }
        return runs;
    };
    Items cols, rows, head, repeatCols, repeatRows;
    for (int c = 0; c < m.cols(); ++c)
        if (m.columnWidth(c) > 0) cols.push_back(c);
    const int fixed = std::min(m.fixedRows(), m.rows());
    for (int r = 0; r < m.rows(); ++r)
        if (m.rowHeight(r) > 0) (r < fixed ? head : rows).push_back(r);
    const double total = extent(cols, width);
    if (total > roomW && total <= roomW * 1.2) {
        roomH /= roomW / total;
        roomW = total;
    } else if (total > roomW) {
        double labels = 0;
        while (cols.size() > 1 && cols.front() < m.fixedCols() && labels + width(cols.front()) <= roomW / 2) {
            labels += width(cols.front());
            repeatCols.push_back(cols.front());
            cols.erase(cols.begin());
        }
    }
    if (!rows.empty() && extent(head, height) <= roomH / 2)
        repeatRows = head;
    else
        rows.insert(rows.begin(), head.begin(), head.end());
    std::vector<PageCells> pages;
    for (const Items& rowBand : split(rows, height, roomH - extent(repeatRows, height)))
        for (const Items& colBand : split(cols, width, roomW - extent(repeatCols, width))) {
            PageCells page{repeatRows, repeatCols};
            page.rows.insert(page.rows.end(), rowBand.begin(), rowBand.end());
            page.cols.insert(page.cols.end(), colBand.begin(), colBand.end());
            pages.push_back(page);
        }
    return pages;
}

// A4 less 15 mm margins, in 96-dpi pixels: 180 x 267 mm.
constexpr double kShort = 180 / 25.4 * 96, kLong = 267 / 25.4 * 96;

PageSetup setupOf(int orientation, bool title, bool footer) {
    PageSetup s;
    s.title = "消费明细查询";
    s.titleOn = title;
    s.footer = "制表人：admin    制表日期:2026-12-06 10:00:00";
    s.footerOn = footer;
    s.orientation = orientation;
    return s;
}

std::vector<PageCells> plannedPages(const GridModel& g, const PageSetup& setup) {
    std::vector<PageCells> pages;
    const int count = printDocument(g, setup)->pageCount();
    for (int k = 0; k < count; ++k) pages.push_back(pageCells(g, setup, k));
    EXPECT_TRUE(pageCells(g, setup, count).rows.empty());
    return pages;
}

void expectSamePages(const GridModel& g, const PageSetup& setup, const std::string& what) {
    const bool wide = setup.orientation == 2;
    const double room = (wide ? kShort : kLong) - (setup.titleOn ? 44 : 0) - 28;
    const auto listed = listedPages(g, wide ? kLong : kShort, room);
    const auto planned = plannedPages(g, setup);
    ASSERT_EQ(planned.size(), listed.size()) << what;
    for (std::size_t k = 0; k < listed.size(); ++k) {
        EXPECT_EQ(planned[k].rows, listed[k].rows) << what << " page " << k;
        EXPECT_EQ(planned[k].cols, listed[k].cols) << what << " page " << k;
    }
}

// Rows of 0 (hidden), 18-40 and now and then 700 px (taller than any page),
// merged blocks of two to five rows (some across page breaks) and merged
// header cells, two fixed rows.
GridModel variedGrid(int rows, int cols, unsigned seed) {
    GridModel g;
    g.setCols(cols);
    g.setRows(rows);
    g.setFixedRows(2);
    g.setFixedCols(2);
    std::mt19937 rnd(seed);
    for (int c = 0; c < cols; ++c) {
        g.setColumnWidth(c, c == 3 ? 0 : 40 + int(rnd() % 120));
        g.setText(1, c, "列" + std::to_string(c));
    }
    g.merge({0, 1, 0, 2});
    for (int r = 2; r < rows; ++r) {
        const unsigned x = rnd() % 100;
        g.setRowHeight(r, x < 5 ? 0 : x < 7 ? 700 : 18 + int(x % 23));
        g.setText(r, 0, "#" + std::to_string(r));
        g.setText(r, 1, "R" + std::to_string(r));
        if (x % 17 == 0 && r + 4 < rows) g.merge({r, 1, r + int(x % 4) + 1, 1});
    }
    return g;
}

fs::path scratch() {
    fs::path dir = fs::temp_directory_path() /
                   ("tolvenk-breaks-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

QImage paintedPage(const platform::PrintDocument& doc, int k) {
    QImage image(1009, 1009, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    doc.paintPage(p, k, doc.pageLayout());
    return image;
}

}  // namespace

TEST(PageBreaks, AreThoseOfTheWholeLayoutOnEveryKindOfPage) {
    platform::ensureApplication();
    const GridModel narrow = variedGrid(3000, 6, 11);  // one page across
    const GridModel wide = variedGrid(800, 24, 12);    // across pages, repeating two label columns
    GridModel shrunk = variedGrid(800, 9, 13);         // shrunk to the page
    for (int c = 0; c < 9; ++c) shrunk.setColumnWidth(c, c == 3 ? 0 : 135);  // 1080 px: 7% over landscape
    for (int orientation : {1, 2})
        for (bool title : {true, false}) {
            const PageSetup setup = setupOf(orientation, title, true);
            const std::string what = std::to_string(orientation) + (title ? " titled" : "");
            expectSamePages(narrow, setup, "narrow " + what);
            expectSamePages(wide, setup, "wide " + what);
            expectSamePages(shrunk, setup, "shrunk " + what);
        }

    // Header rows taller than half the page are not repeated but lead the first page.
    GridModel tallHead = variedGrid(300, 6, 14);
    tallHead.setRowHeight(0, 400);
    expectSamePages(tallHead, setupOf(2, true, true), "tall header");
    // Nothing but headers, and nothing at all shown.
    GridModel headOnly = variedGrid(2, 6, 15);
    expectSamePages(headOnly, setupOf(1, true, true), "headers only");
    for (int r = 0; r < 2; ++r) headOnly.setRowHeight(r, 0);
    expectSamePages(headOnly, setupOf(1, true, true), "nothing shown");
    EXPECT_EQ(printDocument(headOnly, setupOf(1, true, true))->pageCount(), 1);

    // Checked by hand: portrait, titled: 1009 - 44 - 28 - 22 (one header row)
    // leaves 915 px, 41 rows of 22; 100 rows take 3 pages: 1-41, 42-82, 83-100.
    GridModel plain;
    plain.setCols(3);
    plain.setRows(101);
    const PageSetup setup = setupOf(1, true, true);
    ASSERT_EQ(printDocument(plain, setup)->pageCount(), 3);
    const std::vector<std::pair<int, int>> bands = {{1, 41}, {42, 82}, {83, 100}};
    for (int k = 0; k < 3; ++k) {
        const auto rows = pageCells(plain, setup, k).rows;
        ASSERT_EQ(rows.size(), std::size_t(bands[k].second - bands[k].first + 2)) << k;
        EXPECT_EQ(rows.front(), 0);
        EXPECT_EQ(rows[1], bands[k].first);
        EXPECT_EQ(rows.back(), bands[k].second);
    }
    // The same document laid out again once rows are added: 41 more fill a fourth page.
    const auto doc = printDocument(plain, setup);
    ASSERT_EQ(doc->pageCount(), 3);
    plain.setRows(142);
    EXPECT_EQ(doc->pageCount(), 4);
}

// Page k looks the same whatever the other pages' rows hold: its picture is
// drawn from its own rows, its header rows and the first cells of the blocks
// that reach into it from the page before.
TEST(PageBreaks, APageIsDrawnFromItsOwnRowsAlone) {
    platform::ensureApplication();
    GridModel g = variedGrid(600, 6, 21);
    const PageSetup setup = setupOf(2, true, true);
    const auto doc = printDocument(g, setup);
    const int pages = doc->pageCount();
    ASSERT_GT(pages, 10);
    for (int k : {1, pages / 2, pages - 1}) {
        const auto shown = pageCells(g, setup, k).rows;
        std::set<int> own(shown.begin(), shown.end());
        for (const CellRange& b : g.merges())
            if (own.lower_bound(b.row1) != own.end() && *own.lower_bound(b.row1) <= b.row2) own.insert(b.row1);
        GridModel other = g;
        for (int r = 0; r < g.rows(); ++r)
            if (!own.count(r))
                for (int c = 0; c < g.cols(); ++c) {
                    other.setText(r, c, "其他" + std::to_string(r));
                    other.setBackColor(r, c, 0x0000FF);
                }
        const auto otherDoc = printDocument(other, setup);
        ASSERT_EQ(otherDoc->pageCount(), pages);
        EXPECT_EQ(paintedPage(*doc, k), paintedPage(*otherDoc, k)) << k;
        // The change shows on a page that holds changed rows.
        const int next = k == pages - 1 ? k - 1 : k + 1;
        EXPECT_NE(paintedPage(*doc, next), paintedPage(*otherDoc, next)) << next;
    }
}

// A long grid goes to its PDF a page at a time: the file grows while the
// pages are painted, and by the middle holds about half of what it holds
// at the end.
TEST(PageBreaks, APdfIsWrittenAsItsPagesArePainted) {
    GridModel g;
    g.setCols(4);
    g.setRows(12001);
    for (int r = 1; r <= 12000; ++r)
        for (int c = 0; c < 4; ++c) g.setText(r, c, "R" + std::to_string(r) + "C" + std::to_string(c));
    const PageSetup setup = setupOf(1, true, true);
    const fs::path pdf = scratch() / "long.pdf";
    const auto doc = printDocument(g, setup);
    // Portrait, titled: 41 rows a page (as worked out above), 12000 rows take 293 pages.
    std::vector<std::uintmax_t> sizes;
    std::vector<int> told;
    doc->pageDone = [&](int page, int pages) {
        EXPECT_EQ(pages, 293);
        told.push_back(page);
        std::error_code ec;
        sizes.push_back(fs::file_size(pdf, ec));
    };
    ASSERT_TRUE(platform::writePdf(*doc, pdf.string()));
    ASSERT_EQ(told.size(), 293u);
    for (int k = 0; k < 293; ++k) ASSERT_EQ(told[k], k + 1);
    for (std::size_t k = 1; k < sizes.size(); ++k) ASSERT_GE(sizes[k], sizes[k - 1]) << k;
    const double atEnd = double(sizes.back());
    EXPECT_LT(double(sizes[10]), 0.1 * atEnd);
    EXPECT_GT(double(sizes[146]), 0.4 * atEnd);
    EXPECT_LT(double(sizes[146]), 0.6 * atEnd);

    EXPECT_EQ(test::pdfPages(pdf.string()), 293);
    fs::remove_all(pdf.parent_path());
}
