#include <gtest/gtest.h>
#include <unzip.h>

#include <QXmlStreamReader>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/grid/GridExport.h"

using namespace tolvenk::grid;
namespace fs = std::filesystem;

namespace {

const QString kSs = "urn:schemas-microsoft-com:office:spreadsheet";
const std::string kTitle = "消费明细 <2024> & \"汇总\"";

// Two header rows with blocks, a hidden column 3, a hidden row 3, a block over
// the hidden column and one over the hidden row, a coloured right-aligned cell,
// and every second data row (only row 3) tinted.
GridModel sampleGrid() {
    GridModel g;
    g.setCols(6);
    g.setRows(5);
    g.setFixedRows(2);
    const std::vector<std::vector<std::string>> texts = {
        {"编号", kTitle, "", "", "", "备注"},
        {"", "姓名", "部门", "隐藏列", "金额", ""},
        {"1", "张三", "食堂", "x", "12.50", "备注文本"},
        {"2", "李四", "后勤", "y", "8.00", ""},
        {"3", "王五", "小卖部", "", "7.00", ""}};
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

// Every element in document order with its own text and its parent's position.
struct Node {
    std::string name;
    QXmlStreamAttributes attrs;
    std::string text;
    int parent;
    std::string attr(const QString& name) const { return attrs.value(name).toString().toStdString(); }
    std::string ss(const QString& name) const { return attrs.value(kSs, name).toString().toStdString(); }
};

std::vector<Node> parse(const QByteArray& data) {
    QXmlStreamReader xml(data);
    std::vector<Node> nodes;
    std::vector<int> open;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            nodes.push_back({xml.name().toString().toStdString(), xml.attributes(), {}, open.empty() ? -1 : open.back()});
            open.push_back(static_cast<int>(nodes.size()) - 1);
        } else if (xml.isEndElement()) {
            open.pop_back();
        } else if (xml.isCharacters() && !open.empty()) {
            nodes[open.back()].text += xml.text().toString().toStdString();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return nodes;
}

std::vector<Node> parse(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return parse(QByteArray::fromStdString(std::string(std::istreambuf_iterator<char>(in), {})));
}

// Positions of the elements with that name (and that parent, if given).
std::vector<int> find(const std::vector<Node>& nodes, const std::string& name, int parent = -2) {
    std::vector<int> found;
    for (int i = 0; i < static_cast<int>(nodes.size()); ++i)
        if (nodes[i].name == name && (parent == -2 || nodes[i].parent == parent)) found.push_back(i);
    return found;
}

QByteArray zipEntry(const fs::path& zip, const char* name) {
    unzFile z = unzOpen64(zip.c_str());
    EXPECT_NE(z, nullptr);
    QByteArray data;
    if (z && unzLocateFile(z, name, 1) == UNZ_OK && unzOpenCurrentFile(z) == UNZ_OK) {
        char buf[4096];
        for (int n; (n = unzReadCurrentFile(z, buf, sizeof buf)) > 0;) data.append(buf, n);
        unzCloseCurrentFile(z);
    }
    if (z) unzClose(z);
    EXPECT_FALSE(data.isEmpty()) << name;
    return data;
}

class GridExport : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("tolvenk-export-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
    GridModel grid = sampleGrid();
};

}  // namespace

TEST_F(GridExport, XlsxKeepsTextsAsTextWithBlocksHiddenPartsAndLooks) {
    const fs::path file = dir / "out.xlsx";
    ASSERT_TRUE(exportXlsx(grid, file.string()));
    std::vector<std::string> shared;
    for (const Node& n : parse(zipEntry(file, "xl/sharedStrings.xml")))
        if (n.name == "t") shared.push_back(n.text);
    const std::vector<Node> sheet = parse(zipEntry(file, "xl/worksheets/sheet1.xml"));
    std::map<std::string, std::string> cells;
    for (int v : find(sheet, "v")) {
        const Node& c = sheet[sheet[v].parent];
        ASSERT_EQ(c.attr("t"), "s") << c.attr("r");  // "12.50" must not turn into a number
        cells[c.attr("r")] = shared.at(std::stoul(sheet[v].text));
    }
    std::vector<std::string> blocks, hidden;
    for (const Node& n : sheet) {
        if (n.name == "mergeCell") blocks.push_back(n.attr("ref"));
        if (n.attr("hidden") == "1") hidden.push_back(n.name + " " + n.attr(n.name == "col" ? "min" : "r"));
        if (n.name == "col" && n.attr("min") == "3") {
            EXPECT_NEAR(std::stod(n.attr("width")), 120.0 / 7, 0.01);  // 120 px at 7 px a character
        }
    }
    EXPECT_EQ(cells, (std::map<std::string, std::string>{
                         {"A1", "编号"}, {"B1", kTitle}, {"F1", "备注"}, {"B2", "姓名"}, {"C2", "部门"},
                         {"D2", "隐藏列"}, {"E2", "金额"}, {"A3", "1"}, {"B3", "张三"}, {"C3", "食堂"},
                         {"D3", "x"}, {"E3", "12.50"}, {"F3", "备注文本"}, {"A4", "2"}, {"B4", "李四"},
                         {"C4", "后勤"}, {"D4", "y"}, {"E4", "8.00"}, {"A5", "3"}, {"B5", "王五"},
                         {"C5", "小卖部"}, {"E5", "7.00"}}));
    std::sort(blocks.begin(), blocks.end());
    EXPECT_EQ(blocks, (std::vector<std::string>{"A1:A2", "B1:E1", "C5:D5", "F1:F2", "F3:F5"}));
    EXPECT_EQ(hidden, (std::vector<std::string>{"col 4", "row 4"}));
    const std::string styles = zipEntry(file, "xl/styles.xml").toStdString();
    for (const char* look :
         {"rgb=\"FFFF0000\"", "rgb=\"FFFFFF00\"", "rgb=\"FFD0E0F0\"", "horizontal=\"right\"", "horizontal=\"center\""})
        EXPECT_NE(styles.find(look), std::string::npos) << look;
}

TEST_F(GridExport, HtmlLeavesOutHiddenCellsAndSpansOnlyWhatIsShown) {
    ASSERT_TRUE(exportHtml(grid, (dir / "out.html").string()));
    const std::vector<Node> doc = parse(dir / "out.html");
    ASSERT_EQ(find(doc, "meta").size(), 1u);
    EXPECT_EQ(doc[find(doc, "meta")[0]].attr("charset"), "utf-8");
    std::vector<std::vector<std::string>> rows;
    std::map<std::string, std::string> styleOf;
    for (int tr : find(doc, "tr")) {
        rows.emplace_back();
        for (int i : find(doc, "td", tr)) {
            const Node& td = doc[i];
            rows.back().push_back(td.text + (td.attr("colspan").empty() ? "" : "|c" + td.attr("colspan")) +
                                  (td.attr("rowspan").empty() ? "" : "|r" + td.attr("rowspan")));
            styleOf[td.text] = td.attr("style");
        }
    }
    EXPECT_EQ(rows, (std::vector<std::vector<std::string>>{{"编号|r2", kTitle + "|c3", "备注|r2"},
                                                           {"姓名", "部门", "金额"},
                                                           {"1", "张三", "食堂", "12.50", "备注文本|r2"},
                                                           {"3", "王五", "小卖部", "7.00"}}));
    EXPECT_EQ(styleOf["12.50"], "text-align:right;color:#FF0000;background-color:#FFFF00");
    EXPECT_EQ(styleOf[kTitle], "text-align:center");
}

TEST_F(GridExport, XmlPlacesCellsAfterBlocksAndMarksHiddenParts) {
    ASSERT_TRUE(exportXml(grid, (dir / "out.xml").string()));
    const std::vector<Node> doc = parse(dir / "out.xml");
    std::vector<std::string> columns, hiddenRows;
    for (int i : find(doc, "Column")) columns.push_back(doc[i].ss("Width") + (doc[i].ss("Hidden") == "1" ? "h" : ""));
    EXPECT_EQ(columns, (std::vector<std::string>{"30", "60", "90", "0h", "56.25", "75"}));

    std::vector<std::vector<std::string>> rows;
    std::map<std::string, std::string> styleOf;  // text -> style id
    for (int row : find(doc, "Row")) {
        if (doc[row].ss("Hidden") == "1") hiddenRows.push_back(std::to_string(rows.size()));
        rows.emplace_back();
        int col = -1;
        for (int i : find(doc, "Cell", row)) {
            const Node& cell = doc[i];
            const std::string across = cell.ss("MergeAcross"), down = cell.ss("MergeDown");
            // A cell without an index follows the previous one and its block.
            col = cell.ss("Index").empty() ? col + 1 : std::stoi(cell.ss("Index")) - 1;
            const std::vector<int> data = find(doc, "Data", i);
            const std::string text = data.empty() ? "" : doc[data[0]].text;
            rows.back().push_back(std::to_string(col) + ":" + text +
                                  (across.empty() && down.empty() ? "" : ":" + across + ":" + down));
            styleOf[text] = cell.ss("StyleID");
            col += across.empty() ? 0 : std::stoi(across);
        }
    }
    EXPECT_EQ(rows, (std::vector<std::vector<std::string>>{
                        {"0:编号::1", "1:" + kTitle + ":3:", "5:备注::1"},
                        {"1:姓名", "2:部门", "3:隐藏列", "4:金额"},
                        {"0:1", "1:张三", "2:食堂", "3:x", "4:12.50", "5:备注文本::2"},
                        {"0:2", "1:李四", "2:后勤", "3:y", "4:8.00"},
                        {"0:3", "1:王五", "2:小卖部:1:", "4:7.00"}}));
    EXPECT_EQ(hiddenRows, std::vector<std::string>{"3"});

    EXPECT_EQ(styleOf["张三"], styleOf["王五"]);  // one style per look
    EXPECT_NE(styleOf["张三"], styleOf["12.50"]);
    std::map<std::string, std::string> looks;  // style id -> its settings
    for (const Node& n : doc)
        if (n.parent >= 0 && doc[n.parent].name == "Style")
            for (const auto& a : n.attrs)
                looks[doc[n.parent].ss("ID")] += " " + n.name + "." + a.name().toString().toStdString() + "=" +
                                                 a.value().toString().toStdString();
    EXPECT_EQ(looks[styleOf["12.50"]],
              " Alignment.Horizontal=Right Alignment.Vertical=Center Font.Color=#FF0000"
              " Interior.Color=#FFFF00 Interior.Pattern=Solid");
    EXPECT_EQ(looks[styleOf["李四"]],
              " Alignment.Horizontal=Left Alignment.Vertical=Center Interior.Color=#D0E0F0 Interior.Pattern=Solid");
    EXPECT_EQ(looks[styleOf["编号"]], " Alignment.Horizontal=Left Alignment.Vertical=Center");
}

TEST_F(GridExport, UnwritablePathsFailAndLeaveNothingBehind) {
    fs::create_directory(dir / "taken");
    for (auto* exportTo : {&exportXlsx, &exportHtml, &exportXml}) {
        EXPECT_FALSE(exportTo(grid, (dir / "missing" / "out.file").string()));
        EXPECT_FALSE(exportTo(grid, (dir / "taken").string()));  // a folder stands there
    }
    std::vector<fs::path> left(fs::directory_iterator(dir), fs::directory_iterator{});
    EXPECT_EQ(left, std::vector<fs::path>{dir / "taken"});
    EXPECT_TRUE(fs::is_directory(dir / "taken"));
}
