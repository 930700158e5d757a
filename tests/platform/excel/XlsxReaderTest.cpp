#include <gtest/gtest.h>
#include <zip.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/excel/XlsxReader.h"
#include "support/TestDb.h"

using namespace tolvenk;

namespace {

// A workbook as office programs write it: shared texts (one in rich-text runs
// with a phonetic guide), a sheet named in the relationships, its own number
// format, cells without references, and a second sheet that is not read.
const std::vector<std::pair<std::string, std::string>> kParts = {
    {"xl/workbook.xml",
     R"(<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="补助" sheetId="1" r:id="rId7"/><sheet name="Other" sheetId="2" r:id="rId1"/></sheets></workbook>)"},
    {"xl/_rels/workbook.xml.rels",
     R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="worksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId7" Type="worksheet" Target="/xl/worksheets/data.xml"/></Relationships>)"},
    {"xl/sharedStrings.xml",
     R"(<?xml version="1.0" encoding="UTF-8"?><sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><si><t>工号</t></si><si><r><t>张</t></r><r><rPr><b/></rPr><t xml:space="preserve">三 </t></r><rPh sb="0" eb="1"><t>ZHANG</t></rPh></si><si><t>0101</t></si></sst>)"},
    {"xl/styles.xml",
     R"(<?xml version="1.0" encoding="UTF-8"?><styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><numFmts count="1"><numFmt numFmtId="164" formatCode="&quot;￥&quot;#,##0.00"/></numFmts><cellXfs count="3"><xf numFmtId="0"/><xf numFmtId="164"/><xf numFmtId="3"/></cellXfs></styleSheet>)"},
    {"xl/worksheets/data.xml",
     R"(<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData><row r="1"><c r="A1" t="s"><v>0</v></c><c r="C1" t="inlineStr"><is><t>金额</t></is></c></row><row r="3"><c t="s"><v>2</v></c><c t="s"><v>1</v></c><c s="1"><v>1268.5</v></c><c s="2"><v>12000</v></c><c t="b"><v>1</v></c><c t="str"><f>A3</f><v>0101</v></c></row></sheetData><mergeCells count="1"><mergeCell ref="A1:B2"/></mergeCells></worksheet>)"},
    {"xl/worksheets/sheet1.xml",
     R"(<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>not me</t></is></c></row></sheetData></worksheet>)"}};

void writeZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& parts) {
    zipFile z = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(z, nullptr);
    for (const auto& [name, data] : parts) {
        ASSERT_EQ(zipOpenNewFileInZip64(z, name.c_str(), nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                        Z_DEFAULT_COMPRESSION, 0),
                  ZIP_OK);
        ASSERT_EQ(zipWriteInFileInZip(z, data.data(), static_cast<unsigned>(data.size())), ZIP_OK);
        zipCloseFileInZip(z);
    }
    zipClose(z, nullptr);
}

std::string errorOf(const std::string& path) {
    try {
        excel::readFirstSheet(path);
    } catch (const excel::WorkbookError& e) {
        return e.what();
    }
    return "";
}

}  // namespace

TEST(XlsxReader, ReadsTheFirstSheetAsOfficeProgramsWriteIt) {
    test::TempDir dir;
    const std::string file = dir.file("book.xlsx");
    writeZip(file, kParts);
    const excel::Sheet sheet = excel::readFirstSheet(file);
    EXPECT_EQ(sheet.rows(), 3);
    EXPECT_EQ(sheet.cols(), 6);
    EXPECT_EQ(sheet.text(0, 0), "工号");
    EXPECT_EQ(sheet.text(0, 2), "金额");
    EXPECT_EQ(sheet.text(1, 0), "");
    EXPECT_EQ(sheet.text(2, 0), "0101");
    EXPECT_FALSE(sheet.at(2, 0).number);
    EXPECT_EQ(sheet.text(2, 1), "张三 ");  // the runs joined, the phonetic guide left out
    EXPECT_EQ(sheet.at(2, 2).number, 1268.5);
    EXPECT_EQ(sheet.at(2, 2).format, "\"￥\"#,##0.00");
    EXPECT_EQ(sheet.text(2, 3), "12000");
    EXPECT_EQ(sheet.at(2, 3).format, "#,##0");
    EXPECT_EQ(sheet.text(2, 4), "TRUE");
    EXPECT_EQ(sheet.text(2, 5), "0101");  // a formula's text result
    EXPECT_EQ(sheet.at(2, 5).format, "General");
    EXPECT_EQ(sheet.text(9, 9), "");
    EXPECT_EQ(sheet.merges(), (std::vector<excel::SheetRange>{{0, 0, 1, 1}}));
}

TEST(XlsxReader, RefusesWhatIsNoReadableWorkbook) {
    test::TempDir dir;
    std::ofstream(dir.file("text.xlsx")) << "name,amount\n";
    EXPECT_NE(errorOf(dir.file("text.xlsx")).find("not a workbook"), std::string::npos);

    auto parts = kParts;
    parts[4].second = "<worksheet><sheetData><row></sheetData></worksheet>";
    writeZip(dir.file("cut.xlsx"), parts);
    EXPECT_NE(errorOf(dir.file("cut.xlsx")).find("xl/worksheets/data.xml is not well-formed XML"), std::string::npos);

    parts = kParts;
    parts[2].second = "<sst><si><t>\xD5\xC5</t></si></sst>";  // GBK where UTF-8 belongs
    writeZip(dir.file("gbk.xlsx"), parts);
    EXPECT_NE(errorOf(dir.file("gbk.xlsx")).find("xl/sharedStrings.xml is not valid UTF-8"), std::string::npos);

    parts = kParts;
    parts.erase(parts.begin());
    writeZip(dir.file("nobook.xlsx"), parts);
    EXPECT_NE(errorOf(dir.file("nobook.xlsx")).find("xl/workbook.xml is missing"), std::string::npos);
}

// A last row holding nothing but a formula its writer never worked out is
// still a row of the sheet: an import counting rows up to the last one that
// holds something must not stop before it. Whatever form the empty result
// takes; a row below with only a look of its own holds nothing.
TEST(XlsxReader, ALastRowOfAFormulaWithoutItsResultIsCounted) {
    struct Case {
        const char* what;
        const char* cell;  // row 4's only cell
        int col;
    };
    const Case cases[] = {
        {"no value", R"(<c r="C4"><f>C2+C3</f></c>)", 2},
        {"an empty value", R"(<c r="C4"><f>C2+C3</f><v/></c>)", 2},
        {"a text formula with no value", R"(<c r="B4" t="str"><f>B2</f></c>)", 1},
        {"a number formula with no value, without reference", R"(<c s="1"><f>SUM(C2:C3)</f></c>)", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        auto parts = kParts;
        parts[4].second =
            std::string(R"(<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)"
                        R"(<row r="1"><c r="A1" t="s"><v>0</v></c></row>)"
                        R"(<row r="2"><c r="A2" t="s"><v>1</v></c><c r="B2" t="s"><v>2</v></c><c r="C2"><v>12.5</v></c></row>)"
                        R"(<row r="3"><c r="C3"><v>7</v></c></row><row r="4">)") +
            c.cell + R"(</row><row r="6"><c r="A6" s="2"/><c r="B6" s="1"/></row></sheetData></worksheet>)";
        const std::string file = dir.file("book.xlsx");
        writeZip(file, parts);
        const excel::Sheet sheet = excel::readFirstSheet(file);
        EXPECT_EQ(sheet.usedRows(), 4);
        EXPECT_TRUE(sheet.at(3, c.col).noResult);
        EXPECT_EQ(sheet.text(3, c.col), "");
        EXPECT_FALSE(sheet.at(3, c.col).number);
        EXPECT_FALSE(sheet.at(2, 2).noResult);
        EXPECT_EQ(sheet.at(2, 2).number, 7.0);
    }
}
