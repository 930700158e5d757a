#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/grid/PagePainter.h"
#include "support/TestServices.h"

using namespace tolvenk;
using namespace tolvenk::grid;
namespace fs = std::filesystem;

namespace {

// A folder per test: ctest runs the cases side by side.
fs::path scratch() {
    fs::path dir = fs::temp_directory_path() /
                   ("tolvenk-pages-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string run(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    char buf[4096];
    for (std::size_t n; pipe && (n = fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
    if (pipe) pclose(pipe);
    return out;
}

using Words = std::set<std::string>;
std::vector<Words> pageWords(const fs::path& pdf) {
    std::vector<Words> pages;
    std::stringstream all(run("pdftotext -enc UTF-8 '" + pdf.string() + "' -"));
    for (std::string page; std::getline(all, page, '\f');) {
        std::istringstream words(page);
        pages.emplace_back(std::istream_iterator<std::string>(words), std::istream_iterator<std::string>());
    }
    return pages;
}

// One entry per page: is it wider than high?
std::vector<bool> landscapePages(const fs::path& pdf) {
    std::vector<bool> pages;
    const std::string info = run("pdfinfo -f 1 -l 9999 '" + pdf.string() + "'");
    const std::regex line(R"(Page\s+\d+ size:\s+([\d.]+) x ([\d.]+) pts)");
    for (std::sregex_iterator it(info.begin(), info.end(), line), end; it != end; ++it)
        pages.push_back(std::stod((*it)[1]) > std::stod((*it)[2]));
    return pages;
}

// 30 data columns of 80 px after a 36 px row-number column, 2 header rows, 120 data rows.
GridModel wideGrid() {
    GridModel g;
    g.setCols(31);
    g.setRows(122);
    g.setFixedRows(2);
    g.setColumnWidth(0, 36);
    for (int c = 1; c <= 30; ++c) {
        g.setColumnWidth(c, 80);
        g.setText(0, c, c % 2 ? "组" + std::to_string(c) : "遮盖");
        g.setText(1, c, "列" + std::to_string(c));
    }
    for (int r = 2; r < 122; ++r) {
        g.setText(r, 0, "#" + std::to_string(r - 1));
        for (int c = 1; c <= 30; ++c) g.setText(r, c, "R" + std::to_string(r) + "C" + std::to_string(c));
    }
    for (int c = 1; c <= 30; c += 2) g.merge({0, c, 0, c + 1});
    g.setText(0, 11, "跨页合并");
    g.merge({0, 11, 0, 14});  // takes in 11..12 and 13..14 (hiding 组13), across the first column break
    return g;
}

PageSetup titled(int orientation) {
    PageSetup s;
    s.title = "消费明细";
    s.titleOn = true;
    s.footer = "制表人：admin    制表日期:2026-12-06 10:00:00";
    s.footerOn = true;
    s.orientation = orientation;
    return s;
}

}  // namespace

// Landscape A4 less 15 mm margins is 267 x 180 mm = 1009 x 680 px. Across:
// 1009 - 36 leaves room for 12 columns of 80, so 30 columns take 3 pages.
// Down: 680 - 44 title - 28 footer - 44 headers leaves 564, so 25 rows of
// 22 per page and 120 rows take 5. Pages run across, then down.
TEST(PagePainter, WideLandscapeGridSplitsAcrossAndDownRepeatingHeaders) {
    const fs::path pdf = scratch() / "wide.pdf";
    ASSERT_TRUE(renderPdf(wideGrid(), titled(2), pdf.string()));

    EXPECT_EQ(landscapePages(pdf), std::vector<bool>(15, true));

    const auto pages = pageWords(pdf);
    ASSERT_GE(pages.size(), 15u);
    for (int p = 0; p < 15; ++p) {
        const auto& words = pages[p];
        const int rowBand = p / 3, colBand = p % 3;
        EXPECT_TRUE(words.count("消费明细")) << p;
        EXPECT_TRUE(words.count("制表人：admin")) << p;
        EXPECT_TRUE(words.count("制表日期:2026-12-06")) << p;
        EXPECT_FALSE(words.count("遮盖")) << p;
        EXPECT_FALSE(words.count("组13")) << p;
        EXPECT_EQ(words.count("组1"), colBand == 0) << p;
        EXPECT_EQ(words.count("跨页合并"), colBand < 2) << p;
        for (int c = 1; c <= 30; ++c) EXPECT_EQ(words.count("列" + std::to_string(c)), (c - 1) / 12 == colBand) << p;
        for (int r = 2; r < 122; ++r) {
            const bool onPage = (r - 2) / 25 == rowBand;
            EXPECT_EQ(words.count("#" + std::to_string(r - 1)), onPage) << p << " row " << r;
            for (int c = 1; c <= 30; ++c)
                EXPECT_EQ(words.count("R" + std::to_string(r) + "C" + std::to_string(c)),
                          onPage && (c - 1) / 12 == colBand);
        }
    }
}

// Portrait, no title: the table starts at the 15 mm margin (56.7 px at 96 dpi),
// row 0 is 22 px high, column 0 is 40 px and column 1 is 200 px wide.
TEST(PagePainter, PortraitPageSkipsHiddenCellsAndKeepsAlignmentAndColours) {
    GridModel g;
    g.setCols(4);
    g.setRows(5);
    for (int c : {0, 1, 2, 3}) g.setColumnWidth(c, std::vector{40, 200, 0, 100}[c]);
    g.setRowHeight(3, 0);
    g.setText(0, 2, "隐藏列");
    g.setText(3, 1, "隐藏行");
    for (auto [r, text, align] : {std::tuple{1, "LEFT", AlignLeft}, {2, "MID", AlignCenter}, {4, "RIGHT", AlignRight}}) {
        g.setText(r, 1, text);
        g.setAlignment(r, 1, align);
    }
    g.setBackColor(1, 3, 0x0000FF);  // red, as the windows write it
    g.setBackColor(2, 3, 0xFF0000);  // blue
    g.setBackColor(4, 3, 0x00FF00);  // green
    PageSetup setup = titled(1);
    setup.titleOn = false;
    setup.footerOn = false;

    const fs::path dir = scratch();
    const fs::path pdf = dir / "small.pdf";
    ASSERT_TRUE(renderPdf(g, setup, pdf.string()));
    EXPECT_EQ(landscapePages(pdf), std::vector<bool>{false});
    const auto words = pageWords(pdf).at(0);
    for (const char* absent : {"隐藏列", "隐藏行", "消费明细", "制表人：admin"}) EXPECT_FALSE(words.count(absent)) << absent;

    // Column 1 spans 42.52 + 30 .. 42.52 + 180 pt; the text keeps a 2.25 pt padding.
    const std::string boxes = run("pdftotext -bbox '" + pdf.string() + "' -");
    const auto xSpan = [&](const std::string& word) {
        std::smatch m;
        const std::regex re("xMin=\"([\\d.]+)\"[^>]*xMax=\"([\\d.]+)\"[^>]*>" + word + "<");
        EXPECT_TRUE(std::regex_search(boxes, m, re)) << word;
        return m.empty() ? std::pair{0.0, 0.0} : std::pair{std::stod(m[1]), std::stod(m[2])};
    };
    EXPECT_NEAR(xSpan("LEFT").first, 74.77, 1.0);
    const auto mid = xSpan("MID");
    EXPECT_NEAR((mid.first + mid.second) / 2, 147.52, 1.0);
    EXPECT_NEAR(xSpan("RIGHT").second, 220.27, 1.0);

    // Column 3 follows column 1 directly (x 296.7..396.7) and row 4 follows
    // row 2 (y 122.7..144.7) because the hidden ones take no room.
    run("pdftoppm -png -r 96 -singlefile '" + pdf.string() + "' '" + (dir / "page").string() + "'");
    const QImage page(QString::fromStdString((dir / "page.png").string()));
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(page.pixelColor(346, 90), QColor(255, 0, 0));
    EXPECT_EQ(page.pixelColor(346, 112), QColor(0, 0, 255));
    EXPECT_EQ(page.pixelColor(346, 134), QColor(0, 255, 0));
    EXPECT_EQ(page.pixelColor(346, 156), QColor(255, 255, 255));  // below the table
}

// 36 px of row numbers and 12 columns of 90 px: 1116 px, a tenth more than
// the 1009 px of a landscape page, so the table is shrunk by 1009/1116 and
// stays one page wide. Down, 680 - 44 - 28 = 608 px of page hold
// 608 * 1116/1009 = 672 grid px: the header row and 29 rows of 22 px, so 100
// rows take 4 pages (at full size they would take 8: 2 across, 26 rows down).
TEST(PagePainter, SlightlyTooWideGridIsShrunkToThePageWidth) {
    GridModel g;
    g.setCols(13);
    g.setRows(101);
    g.setColumnWidth(0, 36);
    for (int c = 1; c <= 12; ++c) {
        g.setColumnWidth(c, 90);
        g.setText(0, c, "列" + std::to_string(c));
    }
    for (int r = 1; r <= 100; ++r) g.setText(r, 0, "#" + std::to_string(r));
    const fs::path pdf = scratch() / "shrunk.pdf";
    ASSERT_TRUE(renderPdf(g, titled(2), pdf.string()));
    const auto pages = pageWords(pdf);
    ASSERT_EQ(landscapePages(pdf).size(), 4u);
    for (int p = 0; p < 4; ++p) {
        EXPECT_TRUE(pages[p].count("列1") && pages[p].count("列12")) << p;
        for (int r = 1; r <= 100; ++r) EXPECT_EQ(pages[p].count("#" + std::to_string(r)), (r - 1) / 29 == p) << r;
    }
}

// Row numbers (36 px), dates (100) and names (120) are the label columns; 20
// data columns of 80 px make 1856 px, far past a fifth over 1009. Each page
// repeats the 256 px of labels and takes 9 data columns in the 753 px left:
// columns 3-11, 12-20 and 21-22 on three pages.
TEST(PagePainter, WideGridRepeatsItsLabelColumnsOnContinuationPages) {
    GridModel g;
    g.setCols(23);
    g.setRows(11);
    g.setFixedCols(3);
    g.setColumnWidth(0, 36);
    g.setColumnWidth(1, 100);
    g.setColumnWidth(2, 120);
    g.setText(0, 1, "日期");
    g.setText(0, 2, "姓名");
    for (int c = 3; c <= 22; ++c) {
        g.setColumnWidth(c, 80);
        g.setText(0, c, "列" + std::to_string(c));
    }
    for (int r = 1; r <= 10; ++r) {
        g.setText(r, 0, "#" + std::to_string(r));
        g.setText(r, 1, "D" + std::to_string(r));
        g.setText(r, 2, "N" + std::to_string(r));
    }
    const fs::path pdf = scratch() / "labels.pdf";
    ASSERT_TRUE(renderPdf(g, titled(2), pdf.string()));
    const auto pages = pageWords(pdf);
    ASSERT_EQ(landscapePages(pdf).size(), 3u);
    for (int p = 0; p < 3; ++p) {
        EXPECT_TRUE(pages[p].count("日期") && pages[p].count("姓名")) << p;
        for (int r = 1; r <= 10; ++r)
            for (const char* label : {"#", "D", "N"}) EXPECT_TRUE(pages[p].count(label + std::to_string(r))) << p;
        for (int c = 3; c <= 22; ++c) EXPECT_EQ(pages[p].count("列" + std::to_string(c)), (c - 3) / 9 == p) << c;
    }
}

TEST(PagePainter, UnwritablePathFails) {
    const fs::path missing = scratch() / "no-such-folder" / "out.pdf";
    EXPECT_FALSE(renderPdf(wideGrid(), titled(2), missing.string()));
    EXPECT_FALSE(fs::exists(missing.parent_path()));
    EXPECT_FALSE(renderPdf(wideGrid(), titled(2), ""));
}

TEST(PagePainter, PreviewGoesThroughTheServicesWithZoomAndOrientation) {
    test::ServicesScope sv;
    printPreview(wideGrid(), titled(2), 75);
    ASSERT_EQ(sv->previews.size(), 1u);
    EXPECT_TRUE(sv->previews[0].landscape);
    EXPECT_EQ(sv->previews[0].zoomPercent, 75);
    EXPECT_EQ(sv->previews[0].pages, 15);  // as worked out for the wide grid above

    // Portrait A4 (180 x 267 mm inside the margins, 680 x 1009 px): 680 - 36
    // leaves 8 columns of 80, so 4 pages across; 1009 - 116 leaves 40 rows, so 3 down.
    sv->previewPdf = (scratch() / "preview.pdf").string();
    printPreview(wideGrid(), titled(1), 100);
    ASSERT_EQ(sv->previews.size(), 2u);
    EXPECT_FALSE(sv->previews[1].landscape);
    EXPECT_EQ(sv->previews[1].pages, 12);
    EXPECT_EQ(landscapePages(sv->previewPdf), std::vector<bool>(12, false));
    EXPECT_TRUE(pageWords(sv->previewPdf).at(11).count("消费明细"));
}
