#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/excel/NumberFormat.h"
#include "platform/excel/Workbook.h"
#include "support/TestDb.h"
#include "support/XlsWriter.h"

using namespace tolvenk;

namespace {

std::string saved(const std::string& name) { return TOLVENK_TEST_SOURCE_DIR "/subsidy/data/" + name; }

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
// Chinese), whole and fractional numbers (round ones written out as typed),
// empty cells, the first sheet only.
TEST(Workbook, ReadsTheFirstSheetOfBothFormatsAlike) {
    test::TempDir dir;
    const std::string xls = dir.file("book.xls");
    test::XlsWriter()
        .sheet("补贴")
        .row(0, {"姓名", "工号", "金额"})
        .row(1, {"张三", "0101", 12.34})
        .row(2, {"李四", 1002.0, 5000.0})
        .cell(4, 0, 100000.0)
        .cell(4, 1, 3000000.0)
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
    worksheet_write_number(ws, 4, 0, 100000, nullptr);
    worksheet_write_number(ws, 4, 1, 3000000, nullptr);
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
        EXPECT_EQ(s.text(4, 0), "100000");  // as typed, not 1e+05
        EXPECT_EQ(s.text(4, 1), "3000000");
        EXPECT_EQ(s.text(0, 3), "");
    }
}

// A large workbook: past what the 109 allocation-table sectors named in the
// header cover (about 7 MB) the rest are listed in further sectors, each
// naming its successor in its last entry; past what the first of those lists
// holds (about 15 MB) that link is followed to the second. 42,000 rows of 22
// numbers, r * 100 + c each, under a row of headings: about 16.6 MB.
TEST(Workbook, ReadsAWorkbookWhoseAllocationTableIsListedInSeveralSectors) {
    test::TempDir dir;
    const std::string xls = dir.file("large.xls");
    constexpr int kRows = 42000, kCols = 22;
    {
        test::XlsWriter w;
        w.sheet("补贴").row(0, {"工号", "金额"});
        for (int r = 1; r <= kRows; ++r)
            for (int c = 0; c < kCols; ++c) w.cell(r, c, r * 100.0 + c);
        w.save(xls);
    }
    {
        // The file really needs the second list: its header counts them.
        std::ifstream in(xls, std::ios::binary);
        char lists[4];
        in.seekg(0x48).read(lists, 4);
        EXPECT_GE(static_cast<unsigned char>(lists[0]), 2);
    }
    const excel::Sheet s = excel::readWorkbook(xls);
    ASSERT_EQ(s.rows(), kRows + 1);
    EXPECT_EQ(s.cols(), kCols);
    EXPECT_EQ(s.text(0, 0), "工号");
    EXPECT_EQ(s.text(0, 1), "金额");
    int wrong = 0;
    for (int r = 1; r <= kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            if (s.text(r, c) != std::to_string(r * 100 + c) && ++wrong <= 3)
                ADD_FAILURE() << "row " << r << ", column " << c << ": " << s.text(r, c);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(s.text(kRows, kCols - 1), "4200021");
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

// Formula cells give the results the spreadsheet program saved with them,
// in both formats alike: numbers (a date among them, by its format), texts
// (from the .xls record after the formula), an error and an empty text.
// The second sheet's formula is not read.
TEST(Workbook, ReadsTheSavedResultsOfFormulas) {
    for (const std::string file : {"calc-formulas.xls", "calc-formulas.xlsx"}) {
        SCOPED_TRACE(file);
        const excel::Sheet s = excel::readWorkbook(saved(file));
        EXPECT_EQ(s.rows(), 8);
        EXPECT_EQ(s.text(0, 2), "金额");
        std::vector<std::string> amounts;
        for (int r = 1; r < s.rows(); ++r) amounts.push_back(s.text(r, 2));
        EXPECT_EQ(amounts, (std::vector<std::string>{"12.34", "24.68", "30", "8.5", "#DIV/0!", "", "46331"}));
        EXPECT_EQ(s.at(1, 2).number, 12.34);
        EXPECT_EQ(s.at(2, 2).number, 24.68);
        EXPECT_EQ(s.text(2, 1), "1002");
        EXPECT_FALSE(s.at(2, 1).number);
        EXPECT_FALSE(s.at(4, 2).number);
        EXPECT_EQ(s.at(7, 2).number, 46331.0);  // 2026-11-05
        for (int r = 0; r < s.rows(); ++r) EXPECT_EQ(s.at(r, 2).date, r == 7) << r;
        for (int r = 0; r < s.rows(); ++r) EXPECT_FALSE(s.at(r, 2).noResult) << r;
    }
}

// As scripts write them: the formulas kept, their results left empty. The
// cells say so instead of passing for blanks; plain cells read as ever.
TEST(Workbook, MarksFormulasSavedWithoutTheirResult) {
    const excel::Sheet s = excel::readWorkbook(saved("calc-formulas-unsaved.xlsx"));
    EXPECT_EQ(s.rows(), 8);
    for (int r = 1; r < s.rows(); ++r) {
        EXPECT_TRUE(s.at(r, 2).noResult) << r;
        EXPECT_EQ(s.text(r, 2), "") << r;
        EXPECT_FALSE(s.at(r, 2).number) << r;
    }
    EXPECT_TRUE(s.at(2, 1).noResult);
    EXPECT_FALSE(s.at(1, 1).noResult);
    EXPECT_EQ(s.at(1, 1).number, 1001.0);
    EXPECT_EQ(s.text(1, 0), "张三");
}

// A merged title, a hidden row, a date and a time beside numbers and texts.
// The .xls reader gives a date as its ISO text, the .xlsx reader as its
// serial number: both mark it.
TEST(Workbook, ReadsDatesHiddenRowsAndMergedCellsAsSaved) {
    for (const std::string file : {"calc-cells.xls", "calc-cells.xlsx"}) {
        SCOPED_TRACE(file);
        const excel::Sheet s = excel::readWorkbook(saved(file));
        std::vector<std::string> rows;
        for (int r = 0; r < s.rows(); ++r) rows.push_back(s.text(r, 0) + "|" + s.text(r, 1) + "|" + s.text(r, 2));
        EXPECT_EQ(rows[0], "2026年12月补贴||");
        EXPECT_EQ(rows[2], "张三|1001|2.5");
        EXPECT_EQ(rows[3], "李四|1002|3.5");  // hidden
        EXPECT_EQ(rows[6], "张三|1001|两次");
        EXPECT_EQ(s.rows(), 7);
        std::vector<bool> dates;
        for (int r = 0; r < s.rows(); ++r) dates.push_back(s.at(r, 2).date);
        EXPECT_EQ(dates, (std::vector<bool>{false, false, false, false, true, true, false}));
        EXPECT_FALSE(s.at(2, 1).date);
        EXPECT_FALSE(s.at(3, 1).date);
    }
    const excel::Sheet x = excel::readWorkbook(saved("calc-cells.xlsx"));
    EXPECT_EQ(x.at(4, 2).number, 46331.0);
    EXPECT_EQ(x.merges(), (std::vector<excel::SheetRange>{{0, 0, 0, 2}}));
}

// Formats that show dates or times, and formats whose letters are colours,
// quoted or escaped text, or currency marks.
TEST(Workbook, TellsDateFormatsFromNumberFormats) {
    for (const auto& [id, code] : std::vector<std::pair<int, std::string>>{
             {14, ""}, {22, ""}, {31, ""}, {57, ""}, {165, "yyyy\\-mm\\-dd"}, {166, "hh:mm"}, {167, "[h]:mm:ss"},
             {168, "[$-804]yyyy\"年\"m\"月\"d\"日\""}, {169, "m/d"}, {170, "[Red]d-mmm"}})
        EXPECT_TRUE(excel::isDateFormat(id, code)) << id << " " << code;
    for (const auto& [id, code] : std::vector<std::pair<int, std::string>>{
             {0, "General"}, {2, "0.00"}, {4, "#,##0.00"}, {10, "0.00%"}, {164, "0.00;[Red]\\-0.00"},
             {165, "#,##0.00\"元/day\""}, {166, "0\\h"}, {167, "[$¥-804]#,##0.00"}, {168, "0.00E+00"},
             {169, "_(* #,##0_);_(* (#,##0)"}, {170, "0_s"}})
        EXPECT_FALSE(excel::isDateFormat(id, code)) << id << " " << code;
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
    // Saved with a password by a spreadsheet program: RC4 and (its header
    // changed) CryptoAPI .xls, and an .xlsx in an encrypted package.
    for (const std::string file : {"calc-locked.xls", "calc-locked-cryptoapi.xls", "calc-locked.xlsx"})
        EXPECT_EQ(problemOf(saved(file)), P::Encrypted) << file;

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

// A number cell's text: its digits written out, as few as read back the same;
// an exponent only past 15 whole digits or below 0.0001.
TEST(Workbook, WritesANumberCellOutAsItsDigits) {
    for (const auto& [v, text] : std::vector<std::pair<double, std::string>>{
             {100000, "100000"}, {3e6, "3000000"}, {12.34, "12.34"}, {-0.5, "-0.5"}, {0, "0"},
             {123456789012345, "123456789012345"}, {0.1 + 0.2, "0.30000000000000004"}, {0.0001, "0.0001"},
             {1e15, "1e+15"}, {-2.5e-5, "-2.5e-05"}})
        EXPECT_EQ(excel::numberText(v), text) << text;
}
