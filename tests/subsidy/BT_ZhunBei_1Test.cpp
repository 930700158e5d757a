#include "SubsidyFixture.h"
#include "subsidy/BT_ZhunBei_1.h"

using namespace tolvenk;

namespace {

class Editor : public test::SubsidyFixture<BT_ZhunBei_1> {
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
    std::string cell(int r, int c) { return w.Grid1.Cell(r, c).Text(); }
    // Name, amount and times of each employee row.
    test::Texts shown() {
        test::Texts out;
        for (int r = B::kFirstRow; r < w.Grid1.Rows(); ++r)
            out.push_back(cell(r, B::colName) + " " + cell(r, B::colJinE) + " " + cell(r, B::colCi));
        return out;
    }
    void tick(std::initializer_list<int> rows) {
        for (int r : rows) w.Grid1.Cell(r, B::colTick).setText("1");
    }
};

}  // namespace

// Only prepared rows of this batch; the totals count every listed employee,
// with or without a row; filters keep the rows still at zero.
TEST_F(Editor, ListsThePreparedRowsOfTheBatchWithTheirTotals) {
    batchRow(1, 1, 1, -1, 1230);
    batchRow(2, 1, 1);
    batchRow(3, 1, 1, -1, 500);
    batchRow(5, 1, 1, 2, 900);  // credited: not editable
    batchRow(2, 2, 1, -1, 700); // another batch
    open(1);
    EXPECT_EQ(w.Grid1.Rows(), 2);
    EXPECT_EQ(cell(1, B::colJinE), "补贴金额");
    EXPECT_EQ(cell(1, B::colMark), "是否EXCLE导入");

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

TEST_F(Editor, SetsOneAmountForTheTickedRowsInOneTransaction) {
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
    con->execute("create trigger fail2 before update on BuTie_OK when new.Pinfo_ID=2 "
                 "begin select raise(abort,'locked'); end");
    w.Grid1.Cell(3, B::colTick).setText("1");
    sv->inputAnswers.push_back("5000");
    w.Command2.click();
    expectBox("提示：数据库出错了!", platform::vbExclamation);
    EXPECT_EQ(stored(), (test::Texts{"1:0:0", "2:1230:0", "3:1230:0"}));
    EXPECT_EQ(cell(2, B::colJinE), "12.30");

    con->execute("drop trigger fail2");
    sv->inputAnswers.push_back("0.05");
    w.Command2.click();
    EXPECT_EQ(stored(), (test::Texts{"1:0:0", "2:0:0", "3:0:0"}));
    EXPECT_EQ(cell(0, B::colJinE), "0.00");
}

TEST_F(Editor, SetsTimesAsWholeNumbersZeroIncluded) {
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
