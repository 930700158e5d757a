#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/excel/Workbook.h"
#include "support/TestDb.h"
#include "support/XlsWriter.h"

using namespace tolvenk;

namespace {

excel::WorkbookProblem problemOf(const std::string& path) {
    try {
        excel::readWorkbook(path);
    } catch (const excel::WorkbookError& e) {
        return e.problem();
    }
    ADD_FAILURE() << path << " was read";
    return excel::WorkbookProblem::Damaged;
}

}  // namespace

// The same cells from both formats, whatever the file is called: texts (with
// Chinese), whole and fractional numbers, empty cells, the first sheet only.
TEST(Workbook, ReadsTheFirstSheetOfBothFormatsAlike) {
    test::TempDir dir;
    const std::string xls = dir.file("book.xls");
    test::XlsWriter()
        .sheet("补贴")
        .row(0, {"姓名", "工号", "金额"})
        .row(1, {"张三", "0101", 12.34})
        .row(2, {"李四", 1002.0, 5000.0})
        .cell(4, 2, -0.5)
        .sheet("Other")
        .row(0, {"not me"})
        .save(xls);

    const std::string xlsx = dir.file("book.dat");  // the name does not decide the format
    lxw_workbook* wb = workbook_new(xlsx.c_str());
    lxw_worksheet* ws = workbook_add_worksheet(wb, "补贴");
    worksheet_write_string(ws, 0, 0, "姓名", nullptr);
    worksheet_write_string(ws, 0, 1, "工号", nullptr);
    worksheet_write_string(ws, 0, 2, "金额", nullptr);
    worksheet_write_string(ws, 1, 0, "张三", nullptr);
    worksheet_write_string(ws, 1, 1, "0101", nullptr);
    worksheet_write_number(ws, 1, 2, 12.34, nullptr);
    worksheet_write_string(ws, 2, 0, "李四", nullptr);
    worksheet_write_number(ws, 2, 1, 1002, nullptr);
    worksheet_write_number(ws, 2, 2, 5000, nullptr);
    worksheet_write_number(ws, 4, 2, -0.5, nullptr);
    worksheet_write_string(workbook_add_worksheet(wb, "Other"), 0, 0, "not me", nullptr);
    ASSERT_EQ(workbook_close(wb), LXW_NO_ERROR);

    for (const std::string& file : {xls, xlsx}) {
        SCOPED_TRACE(file);
        const excel::Sheet s = excel::readWorkbook(file);
        EXPECT_EQ(s.rows(), 5);
        EXPECT_EQ(s.text(0, 2), "金额");
        EXPECT_EQ(s.text(1, 0), "张三");
        EXPECT_EQ(s.text(1, 1), "0101");
        EXPECT_EQ(s.text(1, 2), "12.34");
        EXPECT_EQ(s.at(1, 2).number, 12.34);
        EXPECT_EQ(s.text(2, 1), "1002");
        EXPECT_EQ(s.text(2, 2), "5000");
        EXPECT_EQ(s.text(3, 0), "");
        EXPECT_EQ(s.text(4, 2), "-0.5");
        EXPECT_EQ(s.text(0, 3), "");
    }
}

// A workbook saved by a spreadsheet program (made from the .fods beside it
// with soffice --headless --convert-to xls): its numbers are stored as RK
// and MULRK records, which the kit's writer never writes; texts kept as
// they are (a code and an amount typed as text, blanks included); the
// second sheet is not read.
TEST(Workbook, ReadsASheetSavedByASpreadsheetProgram) {
    const excel::Sheet s = excel::readWorkbook(TOLVENK_TEST_SOURCE_DIR "/subsidy/data/calc-amounts.xls");
    std::vector<std::string> rows;
    for (int r = 0; r < s.rows(); ++r) rows.push_back(s.text(r, 0) + "|" + s.text(r, 1) + "|" + s.text(r, 2));
    EXPECT_EQ(rows, (std::vector<std::string>{"姓名|工号|金额", "张三|1001|12.34", "李四|1002| 25 ", "||",
                                              "某人|9999|1", "王五|1003|8.5", "O'Hara|10'5|-3", "李四|1002|99"}));
    EXPECT_EQ(s.cols(), 3);
    EXPECT_EQ(s.at(1, 1).number, 1001.0);
    EXPECT_EQ(s.at(1, 2).number, 12.34);
    EXPECT_EQ(s.at(5, 2).number, 8.5);
    EXPECT_EQ(s.at(6, 2).number, -3.0);
    EXPECT_FALSE(s.at(2, 1).number);
    EXPECT_FALSE(s.at(2, 2).number);
}

TEST(Workbook, TellsWhyAFileCannotBeRead) {
    using P = excel::WorkbookProblem;
    test::TempDir dir;
    EXPECT_EQ(problemOf(dir.file("missing.xls")), P::Unreadable);

    std::ofstream(dir.file("text.xls")) << "name,code,amount\n";
    EXPECT_EQ(problemOf(dir.file("text.xls")), P::NotAWorkbook);
    std::ofstream(dir.file("empty.xlsx")).flush();
    EXPECT_EQ(problemOf(dir.file("empty.xlsx")), P::NotAWorkbook);
    test::XlsWriter::saveCompound(dir.file("letter.doc"), "WordDocument", std::string(600, 'x'));
    EXPECT_EQ(problemOf(dir.file("letter.doc")), P::NotAWorkbook);

    test::XlsWriter().row(0, {"张三", "0101", 12.0}).password().save(dir.file("locked.xls"));
    EXPECT_EQ(problemOf(dir.file("locked.xls")), P::Encrypted);
    test::XlsWriter::saveCompound(dir.file("locked.xlsx"), "EncryptedPackage", std::string(5000, '\x7f'));
    EXPECT_EQ(problemOf(dir.file("locked.xlsx")), P::Encrypted);

    test::XlsWriter().save(dir.file("nosheet.xls"));
    EXPECT_EQ(problemOf(dir.file("nosheet.xls")), P::NoSheet);

    // Cut short: the compound file claims sectors it no longer has.
    test::XlsWriter().row(0, {"张三"}).save(dir.file("cut.xls"));
    std::string bytes;
    {
        std::ifstream in(dir.file("cut.xls"), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::ofstream(dir.file("cut.xls"), std::ios::binary | std::ios::trunc) << bytes.substr(0, 1536);
    EXPECT_EQ(problemOf(dir.file("cut.xls")), P::Damaged);
}
