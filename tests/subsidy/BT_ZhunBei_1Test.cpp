#include <xlsxwriter.h>

#include <fstream>

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include "SubsidyKit.h"
#include "subsidy/BT_ZhunBei.h"
#include "subsidy/BT_ZhunBei_1.h"
#include "support/XlsWriter.h"
#include "ui/WindowRegistry.h"

using namespace tolvenk;

namespace {

using Row = std::vector<test::XlsWriter::Value>;

// The same sheet as .xlsx (written by libxlsxwriter) or .xls (BIFF8).
void writeBook(const std::string& path, const std::vector<Row>& rows) {
    if (path.size() > 4 && path.substr(path.size() - 4) == ".xls") {
        test::XlsWriter book;
        book.sheet("补贴");
        for (std::size_t r = 0; r < rows.size(); ++r) book.row(static_cast<int>(r), rows[r]);
        book.save(path);
        return;
    }
    lxw_workbook* wb = workbook_new(path.c_str());
    lxw_worksheet* ws = workbook_add_worksheet(wb, "补贴");
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const auto row = static_cast<lxw_row_t>(r);
            const auto col = static_cast<lxw_col_t>(c);
            if (const auto* t = std::get_if<std::string>(&rows[r][c])) {
                if (!t->empty()) worksheet_write_string(ws, row, col, t->c_str(), nullptr);
            } else {
                worksheet_write_number(ws, row, col, std::get<double>(rows[r][c]), nullptr);
            }
        }
    workbook_close(wb);
}

// The editor of batch 2026-12-1, its grid read back and its import panel
// worked as a person does.
class Editor : public test::SubsidyKit<BT_ZhunBei_1> {
protected:
    using B = BT_ZhunBei_1;
    void open(int unit) {
        Cur_B_Year = 2026;
        Cur_B_Month = 12;
        Cur_B_Times = "1";
        Cur_B_Unit = static_cast<std::int16_t>(unit);
        w.Load();
        w.check_J_C(static_cast<std::int16_t>(unit));
    }
    // A prepared row for each live employee, all of them listed.
    void openAll(int unit) {
        for (int p : {1, 2, 3, 5}) batchRow(p, 1, unit);
        open(unit);
        w.ucDep1_Dept_Changed("");  // 王五, O'Hara, 张三, 李四 (and 赵六, who has no row)
    }
    std::string cell(int r, int c) { return w.Grid1.Cell(r, c).Text(); }
    // These columns of each employee row, joined by blanks.
    test::Texts shown(std::initializer_list<int> cols = {B::colName, B::colJinE, B::colCi}) {
        test::Texts out;
        for (int r = B::kFirstRow; r < w.Grid1.Rows(); ++r) {
            std::string line;
            for (int c : cols) line += (line.empty() ? "" : " ") + cell(r, c);
            out.push_back(line);
        }
        return out;
    }
    // Code, amount or times, and the import's mark of each row.
    test::Texts imported(int valueCol) { return shown({B::colCode, valueCol, B::colMark}); }
    void tick(std::initializer_list<int> rows) {
        for (int r : rows) w.Grid1.Cell(r, B::colTick).setText("1");
    }
    // The panel filled in and OK pressed; the file comes from the dialog.
    void import(const std::string& file, const std::string& first, const std::string& last) {
        w.Command1.click();
        sv->fileAnswers.push_back(file);
        w.Command11.click();
        w.Text3.setText(first);
        w.Text5.setText(last);
        w.Command9.click();
    }
    const std::string loaded = "恭喜:Excel表格的数据已加载完成!如要修改,可在网格上直接修改.\n"
                               "确定无误后,单击按钮 [ 确定将Excel表格信息导入数据库 ] 将数据导入数据库.";
};

// What the workbook reader refuses: no database is written, so one engine.
class EditorFiles : public Editor {};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(Editor);
TOLVENK_ON_FILE_ONLY(EditorFiles);

// Only prepared rows of this batch; the totals count every listed employee,
// with or without a row; filters keep the rows still at zero.
TEST_P(Editor, ListsThePreparedRowsOfTheBatchWithTheirTotals) {
    batchRow(1, 1, 1, -1, 1230);
    batchRow(2, 1, 1);
    batchRow(3, 1, 1, -1, 500);
    batchRow(5, 1, 1, 2, 900);  // credited: not editable
    batchRow(2, 2, 1, -1, 700); // another batch
    open(1);
    EXPECT_EQ(w.Grid1.Rows(), 2);  // nothing before a department is chosen

    w.ucDep1.selectDepartment("01");
    EXPECT_EQ(shown(), (test::Texts{"张三 12.30 0", "李四 0.00 0"}));
    EXPECT_EQ(cell(2, B::colPosition), "厨师");
    EXPECT_EQ(cell(3, B::colDept), "食堂");
    EXPECT_EQ(test::Texts({cell(0, 3), cell(0, 4), cell(0, 5), cell(0, 7), cell(0, 8), cell(0, 9), cell(0, 10)}),
              (test::Texts{"合计:", "可补贴员工:", "3", "补贴金额:", "12.30", "补贴次数:", "0"}));

    w.Command6.click();  // the picker's department, zero amounts only
    EXPECT_EQ(shown(), (test::Texts{"李四 0.00 0"}));
    EXPECT_EQ(cell(0, 5), "3");

    w.ucDep1_Dept_Changed("02");  // a position that no longer exists stays empty
    EXPECT_EQ(shown(), (test::Texts{"王五 5.00 0"}));
    EXPECT_EQ(cell(2, B::colPosition), "");
    EXPECT_EQ(cell(0, 5), "2");

    // Select-all follows the box, over the rows listed.
    w.CheckAll.setValue(forms::vbChecked);
    EXPECT_EQ(cell(2, B::colTick), "1");
    w.CheckAll.setValue(forms::vbUnchecked);
    EXPECT_EQ(cell(2, B::colTick), "0");
    // The box shows only while the tick column can be seen.
    w.Grid1.LeftColChange(3);
    EXPECT_FALSE(w.CheckAll.Visible());
    w.Grid1.LeftColChange(1);
    EXPECT_TRUE(w.CheckAll.Visible());
}

// The search takes the picker's name and code filters, a quote included;
// with no department chosen neither the search nor select-all does anything.
TEST_P(Editor, SearchesByNameOrCodeAndNeedsAChosenDepartment) {
    openAll(1);  // listed through the handler: the picker has no choice
    w.CheckAll.setValue(forms::vbChecked);
    EXPECT_EQ(shown({B::colTick}), (test::Texts{"0", "0", "0", "0"}));
    w.Com_Zao.click();
    EXPECT_EQ(w.Grid1.Rows(), B::kFirstRow + 4);

    w.ucDep1.selectDepartment("01");
    w.ucDep1.setFilters("张", "", "");
    w.Com_Zao.click();
    EXPECT_EQ(shown({B::colName}), (test::Texts{"张三"}));
    EXPECT_EQ(cell(0, B::colDept), "1");
    w.ucDep1.selectDepartment("02");
    w.ucDep1.setFilters("", "10'5", "");
    w.Com_Zao.click();
    EXPECT_EQ(shown({B::colName}), (test::Texts{"O'Hara"}));
}

TEST_P(Editor, SetsOneAmountForTheTickedRowsInOneTransaction) {
    for (int p : {1, 2, 3}) batchRow(p, 1, 1);
    open(1);
    w.ucDep1_Dept_Changed("");
    ASSERT_EQ(shown(), (test::Texts{"王五 0.00 0", "张三 0.00 0", "李四 0.00 0"}));

    w.Command2.click();
    expectBox("提示:请选中要设置补贴金额的员工,可多选!", platform::vbExclamation);
    tick({2, 4});
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"", "提示:请输入要补贴的金额!"},        {"12,5", "提示:请输入数字"},
        {"-1", "提示:输入要补贴的金额不能为负数!"}, {"5000.01", "提示:输入的补贴金额太大!"}};
    for (const auto& [answer, message] : refused) {
        sv->inputAnswers.push_back(answer);
        w.Command2.click();
        expectBox(message, platform::vbExclamation);
    }
    EXPECT_EQ(stored(), (test::Texts{"1:0:0", "2:0:0", "3:0:0"}));

    sv->inputAnswers.push_back(" 12.345 ");  // whole 10 fen: 1234.5 rounds to 1234, cut to 1230
    w.Command2.click();
    expectBox("恭喜:已为这 [2 ] 个员工成功设置了补贴金额.", platform::vbInformation);
    EXPECT_EQ(stored(), (test::Texts{"1:0:0", "2:1230:0", "3:1230:0"}));
    EXPECT_EQ(shown(), (test::Texts{"王五 12.30 0", "张三 0.00 0", "李四 12.30 0"}));
    EXPECT_EQ(cell(0, B::colJinE), "24.60");

    // A failure at the second row changes no row and no cell.
    test::refuseWrites(*con, engine(), "no_2", "update", "BuTie_OK", "new.Pinfo_ID=2", "locked");
    w.Grid1.Cell(3, B::colTick).setText("1");
    sv->inputAnswers.push_back("5000");
    w.Command2.click();
    expectBox("提示：数据库出错了!", platform::vbExclamation);
    EXPECT_EQ(stored(), (test::Texts{"1:0:0", "2:1230:0", "3:1230:0"}));
    EXPECT_EQ(cell(2, B::colJinE), "12.30");

    test::allowWrites(*con, engine(), "no_2", "BuTie_OK");
    sv->inputAnswers.push_back("0.05");
    w.Command2.click();
    EXPECT_EQ(stored(), (test::Texts{"1:0:0", "2:0:0", "3:0:0"}));
    EXPECT_EQ(cell(0, B::colJinE), "0.00");
}

TEST_P(Editor, SetsTimesAsWholeNumbersZeroIncluded) {
    for (int p : {1, 2}) batchRow(p, 1, 2, -1, 0, 4);
    open(2);
    EXPECT_TRUE(w.Command4.Visible());
    EXPECT_FALSE(w.Command2.Visible());
    w.ucDep1_Dept_Changed("0101");
    w.Command3.click();  // the current list, times still at zero: none
    EXPECT_EQ(shown(), test::Texts{});
    w.ucDep1_Dept_Changed("0101");
    tick({2});
    sv->inputAnswers = {"3000.5", "2.4"};
    w.Command4.click();
    expectBox("提示:输入的补贴次数太大!", platform::vbExclamation);
    w.Command4.click();
    expectBox("恭喜:已为这 [1 ] 个员工成功设置了补贴次数.", platform::vbInformation);
    EXPECT_EQ(stored(), (test::Texts{"1:0:2", "2:0:4"}));
    EXPECT_EQ(cell(0, B::colMark), "6");
    sv->inputAnswers = {"0"};
    w.Command4.click();
    EXPECT_EQ(stored(), (test::Texts{"1:0:0", "2:0:4"}));
    w.Command3.click();
    EXPECT_EQ(shown(), (test::Texts{"张三 0.00 0"}));
}

// Both formats: rows matched by code, the header and blank rows skipped,
// amounts converted as typed ones are (12.34 -> 1230 fen).
TEST_P(Editor, ImportCopiesMatchingRowsAndSavesThemAsTypedAmounts) {
    for (const std::string name : {"book.xlsx", "book.xls"}) {
        SCOPED_TRACE(name);
        con->execute("delete from BuTie_OK");
        if (w.Loaded()) w.Unload();
        openAll(1);
        const std::string file = dir.file(name);
        writeBook(file, {{"姓名", "工号", "金额"},
                         {"张三", 1001.0, 12.34},
                         {"", "", ""},
                         {"O'Hara", "10'5", "5000"},
                         {"某人", "9999", 1.0},
                         {"王五", "1003", 8.0}});
        import(file, "1", "5");  // the last sheet row is outside the range
        expectBox(loaded, platform::vbInformation);
        EXPECT_EQ(imported(B::colJinE), (test::Texts{"10'5 5000 是", "1003 0.00 ", "1001 12.34 是", "1002 0.00 "}));
        EXPECT_EQ(w.Grid1.Cell(2, B::colMark).ForeColor(), 0x0000FFu);
        EXPECT_TRUE(w.Command12.Visible());
        EXPECT_FALSE(w.Picture1.Visible());
        EXPECT_FALSE(w.Pic_1.Visible());
        EXPECT_TRUE(w.Grid1.Enabled());
        EXPECT_EQ(stored(), (test::Texts{"1:0:0", "2:0:0", "3:0:0", "5:0:0"}));

        w.Grid1.Cell(3, B::colJinE).setText("7.77");  // not imported: not stored
        w.Command12.click();
        expectBox("提示:保存成功", platform::vbExclamation);
        EXPECT_EQ(stored(), (test::Texts{"1:1230:0", "2:0:0", "3:0:0", "5:500000:0"}));
        EXPECT_EQ(cell(4, B::colJinE), "12.30");
        EXPECT_EQ(cell(0, B::colJinE), "5020.07");
    }
}

// A sheet saved by a spreadsheet program: a code and an amount typed as
// text match and convert like numbers do, the unknown code is passed over,
// the negative amount stops the import before the row after it.
TEST_P(Editor, ImportsASheetSavedByASpreadsheetProgram) {
    openAll(1);
    import(TOLVENK_TEST_SOURCE_DIR "/subsidy/data/calc-amounts.xls", "2", "8");
    ASSERT_EQ(sv->boxes.size(), 2u);
    EXPECT_EQ(sv->boxes[0].prompt, "提示:输入要补贴的金额不能为负数! (工号: 10'5)");
    EXPECT_EQ(sv->boxes[0].style, platform::vbExclamation);
    sv->boxes.erase(sv->boxes.begin());
    expectBox(loaded, platform::vbInformation);
    EXPECT_EQ(imported(B::colJinE), (test::Texts{"10'5 0.00 ", "1003 8.5 是", "1001 12.34 是", "1002 25 是"}));

    w.Command12.click();
    expectBox("提示:保存成功", platform::vbExclamation);
    // Whole 10 fen: 12.34 -> 1230, 25 -> 2500, 8.5 -> 850.
    EXPECT_EQ(stored(), (test::Texts{"1:1230:0", "2:2500:0", "3:850:0", "5:0:0"}));
    EXPECT_EQ(cell(0, B::colJinE), "45.80");
}

// Workbooks saved by a spreadsheet program, made from the .fods beside them
// (see the README there).
std::string saved(const std::string& name) { return TOLVENK_TEST_SOURCE_DIR "/subsidy/data/" + name; }

// Formulas import their saved results in both formats: numbers, a code and
// an amount worked out as text; a date worked out by a formula is refused
// like a typed one. A file whose formulas were never worked out is refused
// at the first such cell the range reads, a code cell included.
TEST_P(Editor, ImportsTheSavedResultsOfFormulas) {
    const std::string date = "提示:单元格C8中是日期或时间,不是数字! (工号: 1003)";
    for (const std::string file : {"calc-formulas.xls", "calc-formulas.xlsx"}) {
        SCOPED_TRACE(file);
        con->execute("delete from BuTie_OK");
        if (w.Loaded()) w.Unload();
        openAll(1);
        import(saved(file), "1", "5");
        expectBox(loaded, platform::vbInformation);
        EXPECT_EQ(imported(B::colJinE), (test::Texts{"10'5 8.5 是", "1003 30 是", "1001 12.34 是", "1002 24.68 是"}));
        w.Command12.click();
        expectBox("提示:保存成功", platform::vbExclamation);
        // Whole 10 fen: 12.34 -> 1230, 24.68 -> 2460.
        EXPECT_EQ(stored(), (test::Texts{"1:1230:0", "2:2460:0", "3:3000:0", "5:850:0"}));

        for (const auto& [row, message] : std::vector<std::pair<std::string, std::string>>{
                 {"6", "提示:请输入数字 (工号: 1001)"}, {"7", "提示:请输入要补贴的金额! (工号: 1002)"}, {"8", date}}) {
            import(saved(file), row, row);
            ASSERT_EQ(sv->boxes.size(), 2u);
            EXPECT_EQ(sv->boxes[0].prompt, message);
            sv->boxes.clear();
        }
    }

    for (const auto& [range, cell] : std::vector<std::pair<std::string, std::string>>{{"2", "C2"}, {"3", "B3"}}) {
        import(saved("calc-formulas-unsaved.xlsx"), range, "8");
        ASSERT_EQ(sv->boxes.size(), 2u);
        EXPECT_EQ(sv->boxes[0].prompt, "提示:单元格" + cell + "中的公式没有保存计算结果,请先用电子表格程序打开该文件并保存,再导入!");
        sv->boxes.clear();
    }
    EXPECT_EQ(stored(), (test::Texts{"1:1230:0", "2:2460:0", "3:3000:0", "5:850:0"}));
}

// Times from a sheet with a merged title, a hidden row and a second sheet:
// the title and header rows pass over, the hidden row imports, a text
// "3.5" converts; halves go away from zero as typed times do. A date and a
// time are refused by cell, text that is no number as typed text is.
TEST_P(Editor, ImportsTimesAndRefusesDatesFromASavedSheet) {
    for (const std::string file : {"calc-cells.xls", "calc-cells.xlsx"}) {
        SCOPED_TRACE(file);
        con->execute("delete from BuTie_OK");
        if (w.Loaded()) w.Unload();
        openAll(2);
        import(saved(file), "1", "4");
        expectBox(loaded, platform::vbInformation);
        EXPECT_EQ(imported(B::colCi), (test::Texts{"10'5 0 ", "1003 0 ", "1001 2.5 是", "1002 3.5 是"}));
        w.Command12.click();
        EXPECT_EQ(stored(), (test::Texts{"1:0:3", "2:0:4", "3:0:0", "5:0:0"}));

        for (const auto& [row, message] : std::vector<std::pair<std::string, std::string>>{
                 {"5", "提示:单元格C5中是日期或时间,不是数字! (工号: 1003)"},
                 {"6", "提示:单元格C6中是日期或时间,不是数字! (工号: 10'5)"},
                 {"7", "提示:请输入数字 (工号: 1001)"}}) {
            sv->boxes.clear();
            import(saved(file), row, "7");
            ASSERT_EQ(sv->boxes.size(), 2u);
            EXPECT_EQ(sv->boxes[0].prompt, message);
        }
        sv->boxes.clear();
        EXPECT_EQ(imported(B::colCi), (test::Texts{"10'5 0 ", "1003 0 ", "1001 3 是", "1002 4 是"}));  // the refusals left them
    }
}

// Refused values stop the import at their row like a wrong name does;
// what was copied before keeps its mark and is saved.
TEST_P(Editor, ImportStopsAtAWrongNameOrABadValueKeepingEarlierMarks) {
    openAll(1);
    const std::string file = dir.file("book.xlsx");
    writeBook(file, {{"张三", "1001", 10.0}, {"李四", "1002", -5.0}, {"王五", "1003", 3.0}});
    import(file, "1", "3");
    ASSERT_EQ(sv->boxes.size(), 2u);
    EXPECT_EQ(sv->boxes[0].prompt, "提示:输入要补贴的金额不能为负数! (工号: 1002)");
    sv->boxes.erase(sv->boxes.begin());
    expectBox(loaded, platform::vbInformation);
    EXPECT_EQ(imported(B::colJinE), (test::Texts{"10'5 0.00 ", "1003 0.00 ", "1001 10 是", "1002 0.00 "}));

    writeBook(file, {{"王五", "1003", 3.0}, {"张四", "1001", 4.0}, {"李四", "1002", 6.0}});
    import(file, "1", "3");
    ASSERT_EQ(sv->boxes.size(), 2u);
    EXPECT_EQ(sv->boxes[0].prompt, "工号为:1001的员工姓名错误.");
    EXPECT_EQ(sv->boxes[0].style, platform::vbOKOnly);
    EXPECT_EQ(sv->boxes[0].title, "Tolvenk");  // no title of its own: the application's
    sv->boxes.clear();
    EXPECT_EQ(imported(B::colJinE), (test::Texts{"10'5 0.00 ", "1003 3 是", "1001 10 是", "1002 0.00 "}));

    // Changed in the grid after the import: checked again at the save, nothing stored.
    w.Grid1.Cell(3, B::colJinE).setText("abc");
    w.Command12.click();
    expectBox("提示:请输入数字 (工号: 1003)", platform::vbExclamation);
    EXPECT_EQ(stored(), (test::Texts{"1:0:0", "2:0:0", "3:0:0", "5:0:0"}));
    w.Grid1.Cell(3, B::colJinE).setText("3");

    // A save that fails midway stores nothing; the next one stores each row once.
    test::refuseWrites(*con, engine(), "no_1", "update", "BuTie_OK", "new.Pinfo_ID=1", "locked");
    w.Command12.click();
    expectBox("提示：数据库出错了!", platform::vbExclamation);
    EXPECT_EQ(stored(), (test::Texts{"1:0:0", "2:0:0", "3:0:0", "5:0:0"}));
    test::allowWrites(*con, engine(), "no_1", "BuTie_OK");
    w.Command12.click();
    EXPECT_EQ(stored(), (test::Texts{"1:1000:0", "2:0:0", "3:300:0", "5:0:0"}));

    // Loading the grid again drops the marks.
    w.ucDep1_Dept_Changed("02");
    EXPECT_EQ(imported(B::colJinE), (test::Texts{"10'5 0.00 ", "1003 3.00 "}));
}

// Whatever typing refuses the import refuses too, before the row is marked;
// a code listed twice takes its value in both rows.
TEST_P(Editor, ImportRefusesWhatTypingRefusesAndFillsEveryRowOfACode) {
    con->execute("insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,P_Position_ID,Del_YN) "
                 "values (6,3,'02','张三','1001',1,0)");
    const std::string file = dir.file("book.xlsx");
    const auto marks = [&] {
        int n = 0;
        for (int r = B::kFirstRow; r < w.Grid1.Rows(); ++r) n += cell(r, B::colMark) == "是";
        return n;
    };
    using V = test::XlsWriter::Value;
    const std::vector<std::pair<int, std::vector<std::pair<V, std::string>>>> refused = {
        {1, {{5000.01, "提示:输入的补贴金额太大!"}, {std::string("12元"), "提示:请输入数字"},
             {std::string(""), "提示:请输入要补贴的金额!"}}},
        {2, {{-1.0, "提示:输入要补贴的次数不能为负数!"}, {std::string("三次"), "提示:请输入数字"}}}};
    for (const auto& [unit, values] : refused) {
        con->execute("delete from BuTie_OK");
        if (w.Loaded()) w.Unload();
        batchRow(6, 1, unit);
        openAll(unit);
        for (const auto& [value, message] : values) {
            SCOPED_TRACE(message);
            writeBook(file, {{"李四", "1002", value}});
            sv->boxes.clear();
            import(file, "1", "1");
            ASSERT_EQ(sv->boxes.size(), 2u);
            EXPECT_EQ(sv->boxes[0].prompt, message + " (工号: 1002)");
            EXPECT_EQ(marks(), 0);
        }
    }
    EXPECT_EQ(stored(), (test::Texts{"1:0:0", "2:0:0", "3:0:0", "5:0:0", "6:0:0"}));

    con->execute("delete from BuTie_OK");
    w.Unload();
    batchRow(6, 1, 1);
    openAll(1);
    writeBook(file, {{"张三", "1001", 2.5}});
    import(file, "1", "1");
    EXPECT_EQ(marks(), 2);
    w.Command12.click();
    EXPECT_EQ(stored(), (test::Texts{"1:250:0", "2:0:0", "3:0:0", "5:0:0", "6:250:0"}));
}

TEST_P(Editor, ImportTimesAndRangesAndClosingTheWindow) {
    openAll(2);
    const std::string file = dir.file("times.xls");
    writeBook(file, {{"张三", "1001", 2.5}, {"李四", "1002", 3000.5}});
    import(file, "1", "1");  // one sheet row is a range
    expectBox(loaded, platform::vbInformation);
    EXPECT_EQ(imported(B::colCi), (test::Texts{"10'5 0 ", "1003 0 ", "1001 2.5 是", "1002 0 "}));
    w.Command12.click();
    EXPECT_EQ(stored(), (test::Texts{"1:0:3", "2:0:0", "3:0:0", "5:0:0"}));  // halves away from zero, as typed
    sv->boxes.clear();
    import(file, "2", "2");
    EXPECT_EQ(sv->boxes[0].prompt, "提示:输入的补贴次数太大! (工号: 1002)");
    sv->boxes.clear();

    const std::vector<std::pair<std::pair<std::string, std::string>, std::string>> ranges = {
        {{"", "5"}, "提示:获取EXCEL表格的行范围不能为空!"},
        {{"3", " "}, "提示:获取EXCEL表格的行范围不能为空!"},
        {{"3", "2"}, "提示:获取EXCEL表格的行数不能小于等于零!"},
        {{"0", "2"}, "提示:行范围必须是大于零的整数!"},
        {{"1.5", "2"}, "提示:行范围必须是大于零的整数!"}};
    for (const auto& [range, message] : ranges) {
        import(file, range.first, range.second);
        expectBox(message, platform::vbInformation);
        EXPECT_TRUE(w.Picture1.Visible());
    }
    // Past the last row of any worksheet, or of the file's format: an .xls
    // holds 65,536 rows, an .xlsx 1,048,576.
    import(file, "1048577", "1048577");
    expectBox("提示:第1048577行超出了工作表的最大行数(第1048576行),未导入任何数据!", platform::vbExclamation);
    import(file, "2", "65537");
    expectBox("提示:第65537行超出了此格式工作簿的工作表最大行数(第65536行),未导入任何数据!", platform::vbExclamation);
    EXPECT_FALSE(w.Pic_1.Visible());
    const std::string book = dir.file("times.xlsx");
    writeBook(book, {{"张三", "1001", 2.0}});
    import(book, "65537", "65537");
    expectBox(loaded, platform::vbInformation);
    Load_Lan(1);
    import(file, "1", "99999999999");
    sv->expectBox("Prompt:Row 99999999999 is past the last row a worksheet holds (row 1048576); nothing was imported!",
                  platform::vbExclamation, "Prompt");
    Load_Lan(0);
    w.Command10.click();
    EXPECT_FALSE(w.Picture1.Visible());
    EXPECT_TRUE(w.Command1.Enabled());
    EXPECT_EQ(stored(), (test::Texts{"1:0:3", "2:0:0", "3:0:0", "5:0:0"}));

    // Closing the window while the import runs ends it quietly.
    sv->yields = 0;
    sv->onYield = [&] { w.Unload(); };
    import(file, "1", "2");
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(sv->yields, 1);
    EXPECT_TRUE(sv->boxes.empty());
}

// A range up to the sheet's last allowed row reads only the rows up to the
// last that holds a value, however far down a program left an empty cell
// with a look of its own: the rows below match nobody, so the marks are those
// of the data alone. The bar runs from its start to its end over those rows.
TEST_P(Editor, ImportToTheSheetsLastRowReadsOnlyTheRowsWithValues) {
    openAll(1);
    const std::string file = dir.file("far.xlsx");
    lxw_workbook* wb = workbook_new(file.c_str());
    lxw_worksheet* ws = workbook_add_worksheet(wb, "补贴");
    worksheet_write_string(ws, 0, 0, "张三", nullptr);
    worksheet_write_string(ws, 0, 1, "1001", nullptr);
    worksheet_write_number(ws, 0, 2, 2.5, nullptr);
    worksheet_write_string(ws, 2, 0, "李四", nullptr);
    worksheet_write_string(ws, 2, 1, "1002", nullptr);
    worksheet_write_number(ws, 2, 2, 3, nullptr);
    lxw_format* bold = workbook_add_format(wb);
    format_set_bold(bold);
    worksheet_write_blank(ws, 1048575, 1, bold);
    workbook_close(wb);

    // Value and end at each yield of the walk, one per sheet row read; Exit
    // and Instructions stay locked all the while, as while the book is read.
    std::vector<std::pair<int, int>> bar;
    sv->onYield = [&] {
        EXPECT_FALSE(w.Command5.Enabled());
        EXPECT_FALSE(w.Command8.Enabled());
        if (w.Bar_1.Max() < 1000) bar.emplace_back(w.Bar_1.Value(), w.Bar_1.Max());  // not the read's
    };
    import(file, "1", "1048576");
    expectBox(loaded, platform::vbInformation);
    EXPECT_EQ(imported(B::colJinE), (test::Texts{"10'5 0.00 ", "1003 0.00 ", "1001 2.5 是", "1002 3 是"}));
    EXPECT_EQ(bar, (std::vector<std::pair<int, int>>{{1, 2}, {2, 2}, {2, 2}}));
    bar.clear();
    import(file, "4", "1048576");
    expectBox(loaded, platform::vbInformation);
    EXPECT_TRUE(bar.empty());
}

TEST_P(EditorFiles, ImportFilesThatCannotBeReadAreRefused) {
    openAll(1);
    w.Command1.click();
    w.Command9.click();
    expectBox("提示:请选择EXCEL表格文件!", platform::vbInformation);
    test::XlsWriter().row(0, {"张三", "1001", 1.0}).password().save(dir.file("locked.xls"));
    std::ofstream(dir.file("list.csv")) << "张三,1001,1\n";
    test::XlsWriter().save(dir.file("nosheet.xls"));
    const std::vector<std::pair<std::string, std::string>> files = {
        {dir.file("gone.xlsx"), "提示:无法打开该文件!"},
        {dir.file("list.csv"), "提示:该文件不是Excel表格文件!"},
        {dir.file("locked.xls"), "提示:该Excel文件设有密码,请先取消密码再导入!"},
        // Saved with a password by a spreadsheet program: RC4, the CryptoAPI header, an encrypted package.
        {TOLVENK_TEST_SOURCE_DIR "/subsidy/data/calc-locked.xls", "提示:该Excel文件设有密码,请先取消密码再导入!"},
        {TOLVENK_TEST_SOURCE_DIR "/subsidy/data/calc-locked-cryptoapi.xls", "提示:该Excel文件设有密码,请先取消密码再导入!"},
        {TOLVENK_TEST_SOURCE_DIR "/subsidy/data/calc-locked.xlsx", "提示:该Excel文件设有密码,请先取消密码再导入!"},
        {dir.file("nosheet.xls"), "提示:该Excel文件中没有工作表!"}};
    for (const auto& [path, message] : files) {
        import(path, "1", "2");
        expectBox(message, platform::vbExclamation);
        EXPECT_FALSE(w.Pic_1.Visible());
    }
    EXPECT_EQ(stored(), (test::Texts{"1:0:0", "2:0:0", "3:0:0", "5:0:0"}));
}

// In the window's own event loop: the new batch opens the editor, whose
// department, select-all, set-amount and import buttons are reachable.
TEST_P(Editor, ImportOnScreenFromTheNewBatchToTheSavedImport) {
    const std::string file = dir.file("book.xlsx");
    writeBook(file, {{"王五", "1003", 3.5}});
    const QSize screen = QGuiApplication::primaryScreen()->size();
    sv->screen = {screen.width() * 15, screen.height() * 15};  // the editor fits the screen it is on
    BT_ZhunBei batch;
    auto& e = dynamic_cast<BT_ZhunBei_1&>(*windowObject("BT_ZhunBei_1"));
    bool reached = false;
    sv->inputAnswers.push_back("8.88");
    sv->fileAnswers.push_back(file);
    QTimer::singleShot(0, [&] {
        batch.Batch.Combo2.setListIndex(0);
        QTimer::singleShot(0, [&] {
            e.ucDep1.selectDepartment("02");
            test::clickOnScreen(e.Com_Zao);
            test::clickOnScreen(e.CheckAll);
            test::clickOnScreen(e.Command2);
            test::clickOnScreen(e.Command1);
            test::clickOnScreen(e.Command11);
            test::clickOnScreen(e.Command9);
            test::clickOnScreen(e.Command12);
            reached = true;
            e.Unload();
        });
        test::clickOnScreen(batch.Command1);
    });
    batch.Show();
    EXPECT_TRUE(reached);
    EXPECT_FALSE(batch.Loaded());
    ASSERT_EQ(sv->boxes.size(), 4u);
    EXPECT_EQ(sv->boxes[1].prompt, "恭喜:已为这 [2 ] 个员工成功设置了补贴金额.");
    EXPECT_EQ(sv->boxes[3].prompt, "提示:保存成功");
    EXPECT_EQ(stored(), (test::Texts{"1:0:0", "2:0:0", "3:350:0", "5:880:0"}));  // 8.88 in whole 10 fen
}

// Stored amounts are listed and totalled as they are, at any size.
TEST_P(Editor, StoredAmountsAndTheirTotalAreShownExactly) {
    batchRow(1, 1, 1, -1, 1);
    batchRow(2, 1, 1);
    con->execute("update BuTie_OK set B_JinE=9223372036854775807 where Pinfo_ID=2");
    open(1);
    w.ucDep1.selectDepartment("01");
    EXPECT_EQ(shown(), (test::Texts{"张三 0.01 0", "李四 92233720368547758.07 0"}));
    EXPECT_EQ(cell(0, B::colJinE), "92233720368547758.08");
}
