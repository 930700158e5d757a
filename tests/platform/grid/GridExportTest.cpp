#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <pugixml.hpp>
#include <random>
#include <string>
#include <vector>

#include "platform/db/Utf8.h"
#include "platform/excel/XlsxReader.h"
#include "platform/grid/ExportCommon.h"
#include "platform/grid/GridExport.h"

using namespace tolvenk;
using namespace tolvenk::grid;
namespace fs = std::filesystem;

namespace {

const std::string kTitle = "消费明细 <2024> & \"汇总\"";

// Two header rows with blocks, a hidden column 3, a hidden row 3, a block over
// the hidden column and one over the hidden row, a coloured right-aligned cell,
// every second data row (only row 3) tinted, and data cells that are counts,
// decimals, money, a code with a leading zero and a header that looks like a year.
GridModel sampleGrid() {
    GridModel g;
    g.setCols(6);
    g.setRows(5);
    g.setFixedRows(2);
    const std::vector<std::vector<std::string>> texts = {
        {"编号", kTitle, "", "", "", "备注"},
        {"", "姓名", "部门", "2024", "金额", ""},
        {"1", "张三", "0101", "x", "￥1268.50", "备注文本"},
        {"2", "李四", "后勤", "3.5", "8.00", ""},
        {"3", "王五", "小卖部", "", "-￥7.00", ""}};
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 6; ++c) g.setText(r, c, texts[r][c]);
    const int widths[] = {40, 80, 120, 0, 75, 100};
    for (int c = 0; c < 6; ++c) g.setColumnWidth(c, widths[c]);
    g.setRowHeight(3, 0);
    for (CellRange b : {CellRange{0, 0, 1, 0}, {0, 1, 0, 4}, {0, 5, 1, 5}, {2, 5, 4, 5}, {4, 2, 4, 3}}) g.merge(b);
    g.setAlignment(0, 1, AlignCenter);
    g.setColumnAlignment(4, AlignRight);
    g.setForeColor(2, 4, 0x0000FF);  // red as 0x00BBGGRR
    g.setBackColor(2, 4, 0x00FFFF);  // yellow
    g.backColor2 = 0xF0E0D0;
    return g;
}

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Parsed as XML by a real reader; the bytes must be UTF-8 as XML requires.
pugi::xml_document parseXml(const std::string& bytes) {
    EXPECT_TRUE(isValidUtf8(bytes));
    pugi::xml_document doc;
    const auto res = doc.load_buffer(bytes.data(), bytes.size());
    EXPECT_TRUE(res) << res.description() << " at " << res.offset;
    return doc;
}

std::vector<pugi::xml_node> all(const pugi::xml_node& root, const char* name) {
    std::vector<pugi::xml_node> found;
    for (const pugi::xpath_node& n : root.select_nodes((std::string("//") + name).c_str())) found.push_back(n.node());
    return found;
}

// Cell texts by reference, numbers as "=value" with their format.
std::map<std::string, std::string> cellsOf(const excel::Sheet& sheet) {
    std::map<std::string, std::string> cells;
    for (int r = 0; r < sheet.rows(); ++r)
        for (int c = 0; c < sheet.cols(); ++c) {
            const excel::SheetCell& cell = sheet.at(r, c);
            if (cell.text.empty() && !cell.number) continue;
            const std::string ref = std::string(1, char('A' + c)) + std::to_string(r + 1);
            cells[ref] = cell.number ? "=" + cell.text + " " + cell.format : cell.text;
        }
    return cells;
}

class GridExport : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("tolvenk-export-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::vector<fs::path> left() const {
        std::vector<fs::path> files(fs::directory_iterator(dir), fs::directory_iterator{});
        std::sort(files.begin(), files.end());
        return files;
    }
    fs::path dir;
    GridModel grid = sampleGrid();
};

using Exporter = bool (*)(const GridModel&, const std::string&, const ExportOptions&, ExportFailure*);
const std::vector<std::pair<Exporter, std::string>> kExporters = {
    {&exportXlsx, "xlsx"}, {&exportHtml, "html"}, {&exportXml, "xml"}};

}  // namespace

// What a person would sum or sort becomes a number; codes, dates, labels and
// figures a spreadsheet would round stay as they were written.
TEST(ExportNumbers, CountsDecimalsAndMoneyOnly) {
    const auto read = [](const std::string& text) {
        const auto n = exporting::numberIn(text);
        char value[32];
        std::snprintf(value, sizeof value, "%.15g", n ? n->value : 0.0);
        return n ? value + (" " + n->format) : "text";
    };
    EXPECT_EQ(read("12"), "12 0");
    EXPECT_EQ(read("0"), "0 0");
    EXPECT_EQ(read("-3.5"), "-3.5 0.0");
    EXPECT_EQ(read("0.50"), "0.5 0.00");
    EXPECT_EQ(read("￥1268.50"), "1268.5 ￥#,##0.00");
    EXPECT_EQ(read("￥-12.05"), "-12.05 ￥#,##0.00");
    EXPECT_EQ(read("-$3.00"), "-3 $#,##0.00");
    EXPECT_EQ(read("€0.99"), "0.99 €#,##0.00");
    EXPECT_EQ(read("-0"), "0 0");
    EXPECT_EQ(read("123456789012345"), "123456789012345 0");
    for (const char* text : {"0101", "00", "2026-07-01", "10:05:00", "1e19", "12.5%", "1,268.50", "￥12.5", "￥12",
                             "12.", ".5", "+5", " 12", "12 ", "合计:￥12.00", "1234567890123456", "--1", "￥", "-",
                             "", "RMB12.00", "1268.50￥"})
        EXPECT_EQ(read(text), "text") << text;
}

// A moment goes out as a date only when the clock could show it: the last
// second of a day is one, "24:00:00" and 60 minutes or seconds are text.
TEST(ExportDates, OnlyTimesOfTheClockAreMoments) {
    const auto last = exporting::dateIn("2026-09-01 23:59:59");
    ASSERT_TRUE(last);
    EXPECT_EQ(last->value, 46266 + 86399 / 86400.0);  // 2026-09-01 is day 46266
    EXPECT_EQ(last->format, "yyyy-mm-dd hh:mm:ss");
    for (const char* text : {"2026-09-01 24:00:00", "2026-09-01 23:60:00", "2026-09-01 23:59:60"})
        EXPECT_FALSE(exporting::dateIn(text)) << text;
}

TEST_F(GridExport, XlsxHoldsNumbersAsNumbersWithBlocksBordersAndPageSetup) {
    const std::string file = (dir / "out.xlsx").string();
    ASSERT_TRUE(exportXlsx(grid, file, {kTitle}));
    const excel::Sheet sheet = excel::readFirstSheet(file);
    EXPECT_EQ(cellsOf(sheet), (std::map<std::string, std::string>{
                                  {"A1", "编号"}, {"B1", kTitle}, {"F1", "备注"}, {"B2", "姓名"}, {"C2", "部门"},
                                  {"D2", "2024"}, {"E2", "金额"}, {"A3", "=1 0"}, {"B3", "张三"}, {"C3", "0101"},
                                  {"D3", "x"}, {"E3", "=1268.5 ￥#,##0.00"}, {"F3", "备注文本"}, {"A4", "=2 0"},
                                  {"B4", "李四"}, {"C4", "后勤"}, {"D4", "=3.5 0.0"}, {"E4", "=8 0.00"},
                                  {"A5", "=3 0"}, {"B5", "王五"}, {"C5", "小卖部"}, {"E5", "=-7 ￥#,##0.00"}}));
    std::vector<std::string> blocks;
    for (const auto& m : sheet.merges())
        blocks.push_back(std::string(1, char('A' + m.col1)) + std::to_string(m.row1 + 1) + ":" +
                         std::string(1, char('A' + m.col2)) + std::to_string(m.row2 + 1));
    std::sort(blocks.begin(), blocks.end());
    EXPECT_EQ(blocks, (std::vector<std::string>{"A1:A2", "B1:E1", "C5:D5", "F1:F2", "F3:F5"}));

    const pugi::xml_document ws = parseXml(excel::readPart(file, "xl/worksheets/sheet1.xml"));
    std::vector<std::string> hidden;
    for (const auto& n : all(ws, "*[@hidden='1']"))
        hidden.push_back(std::string(n.name()) + " " + n.attribute(n.name() == std::string("col") ? "min" : "r").value());
    EXPECT_EQ(hidden, (std::vector<std::string>{"col 4", "row 4"}));
    const pugi::xml_node col3 = ws.select_node("//col[@min='3']").node();
    EXPECT_NEAR(col3.attribute("width").as_double(), 120.0 / 7, 0.01);  // 120 px at 7 px a character

    // Landscape A4, one page wide, the two header rows on every page, the title as page header.
    const pugi::xml_node setup = ws.select_node("//pageSetup").node();
    EXPECT_STREQ(setup.attribute("orientation").value(), "landscape");
    EXPECT_STREQ(setup.attribute("paperSize").value(), "9");
    EXPECT_STREQ(setup.attribute("fitToHeight").value(), "0");
    EXPECT_STREQ(ws.select_node("//pageSetUpPr").node().attribute("fitToPage").value(), "1");
    EXPECT_EQ(std::string(ws.select_node("//oddHeader").node().child_value()), "&C消费明细 <2024> && \"汇总\"");
    const pugi::xml_document book = parseXml(excel::readPart(file, "xl/workbook.xml"));
    EXPECT_EQ(std::string(book.select_node("//definedName[@name='_xlnm.Print_Titles']").node().child_value()),
              "Sheet1!$1:$2");

    // Every written cell, blank parts of blocks included, has thin borders all round.
    const pugi::xml_document styles = parseXml(excel::readPart(file, "xl/styles.xml"));
    const auto xfs = all(styles, "cellXfs/xf");
    const auto borders = all(styles, "borders/border");
    int cells = 0;
    for (const auto& c : all(ws, "c")) {
        ++cells;
        const auto xf = xfs.at(c.attribute("s").as_uint());
        const auto border = borders.at(xf.attribute("borderId").as_uint());
        for (const char* side : {"left", "right", "top", "bottom"})
            EXPECT_STREQ(border.child(side).attribute("style").value(), "thin") << c.attribute("r").value() << side;
    }
    EXPECT_EQ(cells, 30);  // 5 rows of 6 columns
    const std::string styleText = excel::readPart(file, "xl/styles.xml");
    for (const char* look :
         {"rgb=\"FFFF0000\"", "rgb=\"FFFFFF00\"", "rgb=\"FFD0E0F0\"", "horizontal=\"right\"", "horizontal=\"center\""})
        EXPECT_NE(styleText.find(look), std::string::npos) << look;
}

TEST_F(GridExport, HtmlLeavesOutHiddenCellsAndSpansOnlyWhatIsShown) {
    ASSERT_TRUE(exportHtml(grid, (dir / "out.html").string(), {kTitle}));
    const pugi::xml_document doc = parseXml(bytesOf(dir / "out.html"));
    EXPECT_EQ(std::string(doc.select_node("/html/head/title").node().child_value()), kTitle);
    EXPECT_STREQ(doc.select_node("//meta").node().attribute("charset").value(), "utf-8");
    std::vector<std::vector<std::string>> rows;
    std::map<std::string, std::string> styleOf;
    for (const auto& tr : all(doc, "tr")) {
        rows.emplace_back();
        for (const auto& td : tr.children("td")) {
            const std::string text = td.child_value();
            const std::string colspan = td.attribute("colspan").value(), rowspan = td.attribute("rowspan").value();
            rows.back().push_back(text + (colspan.empty() ? "" : "|c" + colspan) + (rowspan.empty() ? "" : "|r" + rowspan));
            styleOf[text] = td.attribute("style").value();
        }
    }
    EXPECT_EQ(rows, (std::vector<std::vector<std::string>>{{"编号|r2", kTitle + "|c3", "备注|r2"},
                                                           {"姓名", "部门", "金额"},
                                                           {"1", "张三", "0101", "￥1268.50", "备注文本|r2"},
                                                           {"3", "王五", "小卖部", "-￥7.00"}}));
    EXPECT_EQ(styleOf["￥1268.50"], "text-align:right;color:#FF0000;background-color:#FFFF00");
    EXPECT_EQ(styleOf[kTitle], "text-align:center");
}

TEST_F(GridExport, XmlPlacesCellsAfterBlocksAndTypesNumbers) {
    ASSERT_TRUE(exportXml(grid, (dir / "out.xml").string()));
    const pugi::xml_document doc = parseXml(bytesOf(dir / "out.xml"));
    std::vector<std::string> columns, hiddenRows;
    for (const auto& c : all(doc, "Column"))
        columns.push_back(std::string(c.attribute("ss:Width").value()) + (c.attribute("ss:Hidden") ? "h" : ""));
    EXPECT_EQ(columns, (std::vector<std::string>{"30", "60", "90", "0h", "56.25", "75"}));

    std::vector<std::vector<std::string>> rows;
    std::map<std::string, std::string> styleOf;  // text -> style id
    for (const auto& row : all(doc, "Row")) {
        if (row.attribute("ss:Hidden")) hiddenRows.push_back(std::to_string(rows.size()));
        rows.emplace_back();
        int col = -1;
        for (const auto& cell : row.children("Cell")) {
            const std::string across = cell.attribute("ss:MergeAcross").value(), down = cell.attribute("ss:MergeDown").value();
            // A cell without an index follows the previous one and its block.
            col = cell.attribute("ss:Index") ? cell.attribute("ss:Index").as_int() - 1 : col + 1;
            const pugi::xml_node data = cell.child("Data");
            const std::string text = data.child_value();
            rows.back().push_back(std::to_string(col) + ":" + text +
                                  (std::string(data.attribute("ss:Type").value()) == "Number" ? "#" : "") +
                                  (across.empty() && down.empty() ? "" : ":" + across + ":" + down));
            styleOf[text] = cell.attribute("ss:StyleID").value();
            col += across.empty() ? 0 : std::stoi(across);
        }
    }
    EXPECT_EQ(rows, (std::vector<std::vector<std::string>>{
                        {"0:编号::1", "1:" + kTitle + ":3:", "5:备注::1"},
                        {"1:姓名", "2:部门", "3:2024", "4:金额"},
                        {"0:1#", "1:张三", "2:0101", "3:x", "4:1268.5#", "5:备注文本::2"},
                        {"0:2#", "1:李四", "2:后勤", "3:3.5#", "4:8#"},
                        {"0:3#", "1:王五", "2:小卖部:1:", "4:-7#"}}));
    EXPECT_EQ(hiddenRows, std::vector<std::string>{"3"});

    EXPECT_EQ(styleOf["张三"], styleOf["王五"]);  // one style per look
    EXPECT_NE(styleOf["张三"], styleOf["1268.5"]);
    std::map<std::string, std::string> looks;  // style id -> its settings
    for (const auto& style : all(doc, "Style"))
        for (const auto& part : style.children())
            for (const auto& a : part.attributes())
                looks[style.attribute("ss:ID").value()] += std::string(" ") + part.name() + "." + a.name() + "=" + a.value();
    EXPECT_EQ(looks[styleOf["1268.5"]],
              " Alignment.ss:Horizontal=Right Alignment.ss:Vertical=Center Font.ss:Color=#FF0000"
              " Interior.ss:Color=#FFFF00 Interior.ss:Pattern=Solid NumberFormat.ss:Format=￥#,##0.00");
    EXPECT_EQ(looks[styleOf["李四"]],
              " Alignment.ss:Horizontal=Left Alignment.ss:Vertical=Center Interior.ss:Color=#D0E0F0"
              " Interior.ss:Pattern=Solid");
    EXPECT_EQ(looks[styleOf["8"]],
              " Alignment.ss:Horizontal=Right Alignment.ss:Vertical=Center Interior.ss:Color=#D0E0F0"
              " Interior.ss:Pattern=Solid NumberFormat.ss:Format=0.00");
    EXPECT_EQ(looks[styleOf["编号"]], " Alignment.ss:Horizontal=Left Alignment.ss:Vertical=Center");
}

// GBK bytes in a name (as another program may have stored it) become U+FFFD
// marks in the grid, and every file written from it is valid.
TEST_F(GridExport, TextThatIsNotUtf8GivesValidFiles) {
    const std::string mark = "\xEF\xBF\xBD";
    grid.setText(2, 1, "\xD5\xC5\xC8\xFD");  // "张三" in GBK: four bytes, none starting a sequence
    grid.addRow("\xC0\xEE\xCB\xC4\tok");  // "李四" in GBK
    EXPECT_EQ(grid.text(2, 1), mark + mark + mark + mark);
    EXPECT_EQ(grid.text(5, 1), mark + mark + mark + mark);
    for (const auto& [exportTo, ext] : kExporters) {
        const fs::path file = dir / ("bad." + ext);
        ASSERT_TRUE(exportTo(grid, file.string(), {"标题\xFF"}, nullptr)) << ext;
        if (ext == "xlsx") {
            const excel::Sheet sheet = excel::readFirstSheet(file.string());  // refuses bytes that are not UTF-8
            EXPECT_EQ(sheet.text(2, 1), mark + mark + mark + mark);
            EXPECT_EQ(sheet.text(5, 2), "ok");
            EXPECT_EQ(std::string(parseXml(excel::readPart(file.string(), "xl/worksheets/sheet1.xml"))
                                      .select_node("//oddHeader")
                                      .node()
                                      .child_value()),
                      "&C标题" + mark);
        } else {
            const pugi::xml_document doc = parseXml(bytesOf(file));
            EXPECT_NE(bytesOf(file).find(mark + mark + mark + mark), std::string::npos) << ext;
        }
    }
}

TEST_F(GridExport, FailuresLeaveTheOldFileAsItWasAndNoTemporaryFile) {
    // A grid big enough to pass the file size limit below in every format.
    for (int i = 0; i < 400; ++i) grid.addRow("张三\t0101\tx\t￥1268.50\t备注文本");
    constexpr rlim_t kLimit = 8192;
    const std::string tooLarge = std::strerror(EFBIG), denied = std::strerror(EACCES),
                      missing = std::strerror(ENOENT);
    for (const auto& [exportTo, ext] : kExporters) {
        const fs::path target = dir / ("out." + ext);
        std::ofstream(target) << "old";
        ExportFailure why;

        // A full disk, as the system's file size limit gives it: writes fail
        // part-way, for the workbook while its sheet is being packed.
        rlimit before{};
        getrlimit(RLIMIT_FSIZE, &before);
        const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = before;
        small.rlim_cur = kLimit;
        setrlimit(RLIMIT_FSIZE, &small);
        const bool written = exportTo(grid, target.string(), {}, &why);
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, oldSignal);
        EXPECT_FALSE(written) << ext;
        EXPECT_EQ(why.system, target.string() + ": " + tooLarge) << ext;
        EXPECT_EQ(why.told.number, 1064) << ext;
        EXPECT_EQ(bytesOf(target), "old") << ext;
        EXPECT_EQ(left(), std::vector<fs::path>{target}) << ext;

        // A read-only file is refused, even to an administrator who could write it.
        fs::permissions(target, fs::perms::owner_read | fs::perms::group_read);
        why = {};
        EXPECT_FALSE(exportTo(grid, target.string(), {}, &why)) << ext;
        EXPECT_EQ(why.system, target.string() + ": " + denied);
        EXPECT_EQ(why.told.number, 1062) << ext;
        EXPECT_EQ(bytesOf(target), "old") << ext;

        // A writable one is replaced whole and keeps who may read it.
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        ASSERT_TRUE(exportTo(grid, target.string(), {}, nullptr)) << ext;
        EXPECT_GT(fs::file_size(target), kLimit) << ext;
        if (ext == "xlsx") {  // packed: the file is far smaller than its sheet
            EXPECT_LT(fs::file_size(target), 32768u);
            EXPECT_GT(excel::readPart(target.string(), "xl/worksheets/sheet1.xml").size(), 32768u);
        }
        EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        EXPECT_EQ(left(), std::vector<fs::path>{target}) << ext;
        fs::remove(target);

        why = {};
        EXPECT_FALSE(exportTo(grid, (dir / "no-such-folder" / "out.file").string(), {}, &why)) << ext;
        EXPECT_EQ(why.system, (dir / "no-such-folder" / "out.file").string() + ": " + missing);
        EXPECT_EQ(why.told.number, 1063) << ext;
        fs::create_directory(dir / "taken");
        EXPECT_FALSE(exportTo(grid, (dir / "taken").string(), {}, nullptr)) << ext;  // a folder stands there
        EXPECT_EQ(left(), std::vector<fs::path>{dir / "taken"}) << ext;
        fs::remove(dir / "taken");
    }
}
