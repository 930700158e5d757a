// Subsidy statistics on both engines: figures worked out by hand from the
// batch rows below, and the printed signature line.
#include "SubsidyKit.h"
#include "subsidy/BT_Sum.h"
#include "support/FormText.h"

using namespace tolvenk;

namespace {

class Statistics : public test::SubsidyKit<BT_Sum> {
protected:
    void seed() override {
        Op_User_Name = "admin";
        // Departments: 01 holds 0101 and person 5 directly; 03 has no one; 04 is deleted.
        // Person 4 has left; operator 9 is deleted and 12 has no user row.
        con->executeScript(R"(
insert into Sys_User_Info(User_ID,User_Name,Del_YN) values (7,'管理员',0),(8,'出纳员',0),(9,'离职者',1);
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Del_YN) values
 (1,'01','总部',0),(2,'0101','食堂',0),(3,'02','车间',0),(4,'03','空部门',0),(5,'04','撤销部',1);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,Del_YN) values
 (1,2,'0101','张三',0),(2,2,'0101','李四',0),(3,3,'02','王五',0),(4,2,'0101','赵六',1),(5,1,'01','钱七',0);
insert into BuTie_OK(Pinfo_ID,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,B_SF,B_Unit) values
 (1,7,10000,0,2011,7,1,2,0),(1,7,0,5,2011,7,2,0,3),(2,8,5000,0,2011,7,1,4,0),(3,8,123450,0,2011,7,1,2,0),
 (4,9,700,0,2011,7,1,2,0),(5,7,900,0,2011,7,1,-1,0),(5,12,0,0,2011,7,1,1,0),(1,7,-500,-2,2011,7,-1,0,-1),
 (1,7,800,0,2011,6,1,2,0),(2,7,0,0,2011,9,1,2,0);
)");
    }
    void sum(int option, const std::string& batch = "", int month = 7, const std::string& year = "2011") {
        if (!w.Loaded()) w.Load();
        w.Combo3.setText(year);
        w.Combo4.setListIndex(month - 1);
        w.Combo1.setListIndex(batch.empty() ? 0 : std::stoi(batch));
        w.Option1(option).setValue(true);
        w.Command1.click();
    }
    test::Texts line(int g) { return g < 0 ? test::Texts{} : test::gridRow(w.Grid1, g, 2, BT_Sum::kCols - 1); }
    // The data line whose column 2 names it.
    test::Texts line(const std::string& name) { return line(test::gridRowOf(w.Grid1, 2, name, BT_Sum::kHeadRows)); }
    std::string cell(int r, int c) { return w.Grid1.Cell(r, c).Text(); }
    std::string signature() { return "打印操作员:admin         出纳:                 会计:"; }
    // Exactly one signature line, the grid's last three rows.
    void expectFooterAt(int lines) {
        const int n = BT_Sum::kHeadRows + lines;
        ASSERT_EQ(w.Grid1.Rows(), n + 3);
        EXPECT_EQ(cell(n + 2, 1), signature());
        EXPECT_EQ(cell(n, 1), "");
        const auto merged = w.Grid1.model().mergeAt(n + 2, 1);
        ASSERT_TRUE(merged);
        EXPECT_EQ(merged->col2, 8);
    }
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(Statistics);

// A department's line holds its sub-departments; stopped rows are issued and
// not taken; prepared rows, markers and other months never count.
TEST_P(Statistics, ByDepartmentIncludingSubDepartments) {
    sum(0);
    EXPECT_EQ((test::Texts{cell(1, 3), cell(2, 3), cell(3, 3)}), (test::Texts{"2011年7月", "部门", "2026-12-06"}));
    // 01: persons 1, 2 and 5: 100.00 taken; 0 + 5 times, 50.00 stopped and a 0 row waiting.
    EXPECT_EQ(line(BT_Sum::kHeadRows), (test::Texts{"总部", "4", "150.00", "5", "3", "50.00", "5", "1", "100.00", "0"}));
    EXPECT_EQ(line(7), (test::Texts{"食堂", "3", "150.00", "5", "2", "50.00", "5", "1", "100.00", "0"}));
    EXPECT_EQ(line(8), (test::Texts{"车间", "1", "1234.50", "0", "0", "0.00", "0", "1", "1234.50", "0"}));
    EXPECT_EQ(line(9), (test::Texts{"空部门", "0", "0.00", "0", "0", "0.00", "0", "0", "0.00", "0"}));
    expectFooterAt(4);

    // Batch 2 alone: person 1's times.
    sum(0, "2");
    EXPECT_EQ(line("食堂"), (test::Texts{"食堂", "1", "0.00", "5", "1", "0.00", "5", "0", "0.00", "0"}));
    expectFooterAt(4);
}

TEST_P(Statistics, ByKindAndByOperator) {
    // Every row but the prepared one, the left employee's and operator 12's included.
    sum(1);
    EXPECT_EQ(cell(5, 1), "");
    EXPECT_EQ(line(BT_Sum::kHeadRows), (test::Texts{"", "6", "1391.5", "5", "3", "50", "5", "3", "1341.5", "0"}));
    expectFooterAt(1);

    // Stopped rows count for no operator; the deleted one and 12 have no line.
    sum(2);
    EXPECT_EQ(line("管理员"), (test::Texts{"管理员", "2", "100.00", "5", "1", "0.00", "5", "1", "100.00", "0"}));
    EXPECT_EQ(line("出纳员"), (test::Texts{"出纳员", "1", "1234.50", "0", "0", "0.00", "0", "1", "1234.50", "0"}));
    EXPECT_EQ(cell(BT_Sum::kHeadRows + 2, 0), "所有操作员汇总:");
    EXPECT_EQ(line(BT_Sum::kHeadRows + 2), (test::Texts{"", "3", "1334.50", "5", "1", "0.00", "5", "2", "1334.50", "0"}));
    expectFooterAt(3);
}

// Granted amounts are summed as stored, past 64 bits and past what a double
// holds exactly.
TEST_P(Statistics, TheLargestAmountsAreSummedExactly) {
    con->execute("update BuTie_OK set B_JinE=9223372036854775807 where B_JinE in (10000,123450)");
    con->execute("update BuTie_OK set B_JinE=9007199254740993 where B_JinE=5000");
    sum(0);
    // 总部 issued: 2^63 - 1 + 2^53 + 1 = 9232379236109516800; waiting 2^53 + 1; taken 2^63 - 1.
    EXPECT_EQ(line(BT_Sum::kHeadRows), (test::Texts{"总部", "4", "92323792361095168.00", "5", "3", "90071992547409.93",
                                                    "5", "1", "92233720368547758.07", "0"}));
    // Every line: 2 (2^63 - 1) + 2^53 + 1 + 700 = 18455751272964293307; taken 2 (2^63 - 1) + 700.
    sum(1);
    EXPECT_EQ(line(BT_Sum::kHeadRows), (test::Texts{"", "6", "184557512729642933.07", "5", "3", "90071992547409.93",
                                                    "5", "3", "184467440737095523.14", "0"}));
}

TEST_P(Statistics, RefusesAMissingYearAndAMonthWithoutGrantedData) {
    sum(0);
    for (const char* year : {"", "二〇一一", "20.11"}) {
        sum(0, "", 7, year);
        sv->expectBox("提示:请选择要汇总的年份!", platform::vbExclamation);
        expectFooterAt(4);  // the last report stays
    }
    // August has nothing; September only rows of no amount.
    sum(1, "", 8);
    EXPECT_EQ(sv->lastPrompt(), "提示: [2011年8月] 并没有可供汇总的已发放补贴数据!");
    EXPECT_EQ(w.Grid1.Rows(), BT_Sum::kHeadRows);
    sum(1, "", 9);
    EXPECT_EQ(sv->lastPrompt(), "提示: [2011年9月] 并没有可供汇总的已发放补贴数据!");
    // No option chosen: nothing runs.
    w.Unload();
    w.Load();
    w.Combo3.setText("2011");
    w.Combo4.setListIndex(6);
    w.Command1.click();
    EXPECT_EQ(w.Grid1.Rows(), BT_Sum::kHeadRows);
}

// The printed report ends with the signature line; the page carries the
// window's caption and the operator.
TEST_P(Statistics, PrintsTheSignatureLine) {
    test::whileShown(w, [&] {
        w.Combo3.setText("2011");
        w.Combo4.setListIndex(6);
        test::clickOnScreen(w.Option1(2));
        EXPECT_TRUE(w.Option1(2).Value());
        test::clickOnScreen(w.Command1);
        EXPECT_EQ(line("出纳员")[2], "1234.50");
    });
    sv->previewPdf = dir.file("sum.pdf");
    w.Load();
    sum(2);
    w.Command4(3).click();
    ASSERT_EQ(sv->previews.size(), 1u);
    EXPECT_TRUE(sv->previews[0].landscape);  // 80 + 7 x 100 + 3 x 80 pixels across
    EXPECT_EQ(w.Grid1.Page_Setup().title, "统计已发放补贴");
    EXPECT_EQ(w.Grid1.Page_Setup().footer, "制表人：admin    制表日期:2026-12-06 10:00:00");
    const std::string text = test::pdfText(dir.file("sum.pdf"));
    EXPECT_NE(text.find("已发放补贴汇总报表"), std::string::npos) << text;
    const auto signedAt = text.find("打印操作员:admin");
    ASSERT_NE(signedAt, std::string::npos) << text;
    EXPECT_NE(text.find("出纳:", signedAt), std::string::npos);
    EXPECT_NE(text.find("会计:", signedAt), std::string::npos);
}
