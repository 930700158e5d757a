#include <gtest/gtest.h>
#include <unzip.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <pugixml.hpp>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/db/Utf8.h"
#include "platform/excel/XlsxReader.h"
#include "platform/grid/GridExport.h"

using namespace tolvenk;
using namespace tolvenk::grid;
namespace fs = std::filesystem;

namespace {

class ExportXlsx : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("tolvenk-xlsx-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

pugi::xml_document parse(const std::string& file, const std::string& part) {
    pugi::xml_document doc;
    const std::string bytes = excel::readPart(file, part);
    EXPECT_TRUE(doc.load_buffer(bytes.data(), bytes.size())) << part;
    return doc;
}

std::vector<std::string> partsIn(const std::string& file) {
    std::vector<std::string> names;
    unzFile z = unzOpen64(file.c_str());
    for (int at = unzGoToFirstFile(z); at == UNZ_OK; at = unzGoToNextFile(z)) {
        char name[256];
        unzGetCurrentFileInfo64(z, nullptr, name, sizeof name, nullptr, 0, nullptr, 0);
        names.emplace_back(name);
    }
    unzClose(z);
    return names;
}

}  // namespace

// Every part has its content type and every relationship names a part that is
// there, or office programs refuse the file.
TEST_F(ExportXlsx, PackageHoldsEveryPartItNames) {
    GridModel g;
    g.setRows(0);
    const std::string file = (dir / "empty.xlsx").string();
    ASSERT_TRUE(exportXlsx(g, file));
    EXPECT_EQ(excel::readFirstSheet(file).rows(), 0);

    const std::vector<std::string> parts = partsIn(file);
    const std::set<std::string> present(parts.begin(), parts.end());
    const pugi::xml_document types = parse(file, "[Content_Types].xml");
    std::set<std::string> typed;
    for (const auto& o : types.select_nodes("//Override")) typed.insert(o.node().attribute("PartName").value() + 1);
    EXPECT_EQ(std::string(types.select_node("//Default[@Extension='rels']").node().attribute("ContentType").value()),
              "application/vnd.openxmlformats-package.relationships+xml");
    for (const std::string& part : parts)
        EXPECT_TRUE(part.ends_with(".rels") || part == "[Content_Types].xml" || typed.contains(part)) << part;
    EXPECT_TRUE(typed.contains("xl/workbook.xml"));
    // Past what a sheet holds, the export is refused rather than written broken.
    g.setRows(1);
    g.setCols(16385);
    ExportFailure why;
    EXPECT_FALSE(exportXlsx(g, file, {}, &why));
    EXPECT_EQ(why.told.shown(),
              "The grid has 16385 columns, more than the 16384 a worksheet holds, so the file " + file +
                  " was not written.");
    EXPECT_EQ(why.system, "");
    EXPECT_EQ(partsIn(file), parts);

    for (const auto& [rels, folder] : {std::pair<std::string, std::string>{"_rels/.rels", ""},
                                       {"xl/_rels/workbook.xml.rels", "xl/"}}) {
        // Named: the nodes live as long as their document.
        const pugi::xml_document doc = parse(file, rels);
        for (const auto& r : doc.select_nodes("//Relationship"))
            EXPECT_TRUE(present.contains(folder + r.node().attribute("Target").value())) << rels;
    }
}

// One format record for each distinct look; texts keep their spaces, line
// breaks and markup characters; rows keep their heights.
TEST_F(ExportXlsx, OneStylePerLookTextsAsWrittenAndRowHeights) {
    GridModel g;
    g.setCols(3);
    g.setRows(4);
    g.setColumnAlignment(1, AlignRight);
    const std::vector<std::vector<std::string>> texts = {{"名称", "金额", "备注"},
                                                         {" 前后有空格 ", "￥5.00", "第一行\n第二行"},
                                                         {"a & <b> \"c\"", "￥-5.00", "蓝"},
                                                         {"12", "8.00", ""}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c) g.setText(r, c, texts[r][c]);
    g.setForeColor(2, 2, 0xFF0000);  // blue as 0x00BBGGRR
    std::string longText;
    for (int i = 0; i < 40000; ++i) longText += "汉";
    g.setText(3, 2, longText);
    g.setDefaultRowHeight(20);
    g.setRowHeight(1, 40);
    g.setRowHeight(2, 0);

    const std::string file = (dir / "looks.xlsx").string();
    ASSERT_TRUE(exportXlsx(g, file));
    const excel::Sheet sheet = excel::readFirstSheet(file);
    EXPECT_EQ(sheet.text(1, 0), " 前后有空格 ");
    EXPECT_EQ(sheet.text(1, 2), "第一行\n第二行");
    EXPECT_EQ(sheet.text(2, 0), "a & <b> \"c\"");
    EXPECT_EQ(sheet.at(2, 1).number, -5);
    EXPECT_EQ(utf8Length(sheet.text(3, 2)), 32767u);  // what a cell holds

    // Left, right, right money, left blue, left count, right decimal: six
    // looks, after the sheet's own default record.
    const pugi::xml_document styles = parse(file, "xl/styles.xml");
    std::set<std::string> records;
    for (const auto& xf : styles.select_nodes("//cellXfs/xf")) {
        std::string record;
        for (const auto& a : xf.node().attributes()) record += std::string(a.name()) + "=" + a.value() + " ";
        record += xf.node().child("alignment").attribute("horizontal").value();
        records.insert(record);
    }
    EXPECT_EQ(records.size(), 7u);
    EXPECT_EQ(styles.select_nodes("//cellXfs/xf").size(), 7u);
    EXPECT_EQ(styles.select_nodes("//numFmt").size(), 3u);
    EXPECT_EQ(styles.select_nodes("//fonts/font").size(), 2u);
    EXPECT_NE(excel::readPart(file, "xl/styles.xml").find("rgb=\"FF0000FF\""), std::string::npos);

    const pugi::xml_document ws = parse(file, "xl/worksheets/sheet1.xml");
    EXPECT_STREQ(ws.select_node("//sheetFormatPr").node().attribute("defaultRowHeight").value(), "15");
    EXPECT_STREQ(ws.select_node("//row[@r='2']").node().attribute("ht").value(), "30");
    EXPECT_STREQ(ws.select_node("//row[@r='3']").node().attribute("hidden").value(), "1");
    EXPECT_STREQ(ws.select_node("//row[@r='4']").node().attribute("ht").value(), "15");
    EXPECT_STREQ(ws.select_node("//c[@r='A2']/is/t").node().attribute("xml:space").value(), "preserve");
}

namespace {

// "yyyy-MM-dd" or "yyyy-MM-dd hh:mm:ss" of a spreadsheet serial, worked out
// from its day count since 1899-12-30 and the second of that day.
std::string serialText(double serial, bool withTime) {
    using namespace std::chrono;
    const long long seconds = std::llround(serial * 86400);
    const year_month_day d{sys_days{year{1899} / December / 30} + days{seconds / 86400}};
    char out[32];
    const long long s = seconds % 86400;
    if (withTime)
        std::snprintf(out, sizeof out, "%04d-%02u-%02u %02lld:%02lld:%02lld", static_cast<int>(d.year()),
                      static_cast<unsigned>(d.month()), static_cast<unsigned>(d.day()), s / 3600, s / 60 % 60, s % 60);
    else
        std::snprintf(out, sizeof out, "%04d-%02u-%02u", static_cast<int>(d.year()), static_cast<unsigned>(d.month()),
                      static_cast<unsigned>(d.day()));
    return out;
}

}  // namespace

// Columns of dates go out as dates that show the same text, a tick-box
// column of 0 and 1 as numbers; the header, the total rows below the dates
// and columns that only look like dates in part stay text.
TEST_F(ExportXlsx, DateColumnsAsDatesAndFlagsAsNumbers) {
    GridModel g;
    g.setCols(6);
    g.setFixedRows(1);
    g.setColumnKind(2, CellKind::TickBox);
    g.setColumnKind(5, CellKind::TickBox);
    // time | day | taken | remark | not quite | ticks
    const std::vector<std::vector<std::string>> rows = {
        {"时间", "日期", "领取", "备注", "日期?", "勾"},
        {"2026-09-01 00:48:54", "2026-09-01", "1", "2026-09-01", "2026-09-01", "1"},
        {"", "2024-02-29", "0", "早餐", "2026-02-30", ""},
        {"2026-12-31 23:59:59", "1900-03-01", "", "", "", "是"},
        {"合计消费:", "", "", "", "", ""},
        {"合计笔数:", "", "", "", "", ""},
    };
    g.setRows(static_cast<int>(rows.size()));
    for (int r = 0; r < g.rows(); ++r)
        for (int c = 0; c < g.cols(); ++c) g.setText(r, c, rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);

    const std::string file = (dir / "dates.xlsx").string();
    ASSERT_TRUE(exportXlsx(g, file));
    const excel::Sheet sheet = excel::readFirstSheet(file);
    for (const auto& [r, c, withTime] : {std::tuple{1, 0, true}, {3, 0, true}, {1, 1, false}, {2, 1, false},
                                         {3, 1, false}}) {
        const excel::SheetCell& cell = sheet.at(r, c);
        ASSERT_TRUE(cell.number && cell.date) << r << "," << c;
        EXPECT_EQ(serialText(*cell.number, withTime), rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
        EXPECT_EQ(cell.format, withTime ? "yyyy-mm-dd hh:mm:ss" : "yyyy-mm-dd");
    }
    EXPECT_EQ(sheet.at(1, 0).number, 46266 + (48 * 60 + 54) / 86400.0);  // 2026-09-01 is day 46266
    EXPECT_EQ(sheet.at(3, 1).number, 61);                                 // the first day after the false 29th
    EXPECT_EQ(sheet.at(1, 2).number, 1);
    EXPECT_EQ(sheet.at(2, 2).number, 0);
    EXPECT_EQ(sheet.at(1, 2).format, "0");
    for (const auto& [r, c] : {std::pair{0, 0}, {0, 2}, {4, 0}, {5, 0}, {1, 3}, {1, 4}, {2, 4}, {1, 5}, {3, 5}}) {
        EXPECT_FALSE(sheet.at(r, c).number) << r << "," << c;
        EXPECT_EQ(sheet.text(r, c), rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
    }
}
