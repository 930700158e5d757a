// The granted-subsidy query on both engines, on hand-made batch rows.
#include <algorithm>

#include "SubsidyKit.h"
#include "platform/excel/XlsxReader.h"
#include "subsidy/BT_Cha_FF.h"
#include "support/FormText.h"

using namespace tolvenk;

namespace {

class GrantedQuery : public test::SubsidyKit<BT_Cha_FF> {
protected:
    void seed() override {
        Op_User_Name = "admin";
        // Person 3's position is unknown; operator 99 has no user row.
        con->executeScript(R"(
insert into Sys_Para(Para_Name,P2,P5) values('Sys_Config','1','1');
insert into Sys_User_Info(User_ID,User_Name,Del_YN) values (7,'管理员',0),(8,'已离职',1);
insert into Ren_Positions_Info(ID,Position_Name) values (1,'厨师'),(2,'经理');
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Code,Del_YN) values
 (1,'01','总部','D0',0),(2,'0101','食堂','D1',0),(3,'0102','车间','D2',0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,P_Position_ID,Del_YN) values
 (1,2,'0101','张三','E1',1,0),(2,2,'0101','李四','E2',2,0),(3,3,'0102','王五','E3',9,0);
insert into BuTie_OK(ID,Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_JinE_SJ,B_Ci,B_Ci_SY,B_Year,B_Month,B_Times,
  B_Get_DT,B_SF,B_Unit) values
 (1,1,'2011-07-01 08:00:00',7,1500,1480,0,0,2011,7,1,'2011-07-05 12:00:00',2,1),
 (2,1,'2011-07-02 08:00:00',99,0,0,10,3,2011,7,2,'2011-07-06 12:00:00',0,2),
 (3,2,'2011-07-01 09:00:00',8,-200,50,0,0,2011,7,1,'2011-07-07 12:00:00',4,0),
 (4,3,'2011-07-01 10:00:00',7,0,0,0,0,2011,7,2,null,-1,3),
 (5,1,'2011-07-31 10:00:00',7,-300,0,-2,0,2011,7,-1,null,0,-1),
 (6,1,'2011-06-01 10:00:00',7,900,900,0,0,2011,6,1,'2011-06-02 10:00:00',2,1);
)");
    }
    void query(const std::string& batch, int kind, const std::string& year = "2011", const std::string& dept = "01") {
        if (!w.Loaded()) w.Load();
        w.Combo3.setText(year);
        w.Combo4.setListIndex(6);
        w.Combo6.setListIndex(batch.empty() ? 0 : std::stoi(batch));
        w.Combo5.setListIndex(kind);
        w.ucDep1.selectDepartment(dept);
        w.Command1.click();
    }
    // The grant time names a row; the rows of one employee come in the order of their keys.
    test::Texts row(const std::string& granted) {
        const int g = test::gridRowOf(w.Grid1, BT_Cha_FF::colGrantedAt, granted);
        return g < 0 ? test::Texts{} : test::gridRow(w.Grid1, g, BT_Cha_FF::colPinfo, BT_Cha_FF::colCount - 1);
    }
    // The grant times of the listed rows, sorted.
    test::Texts listed() {
        test::Texts out;
        for (int g = 1; g < w.Grid1.Rows(); ++g) out.push_back(w.Grid1.Cell(g, BT_Cha_FF::colGrantedAt).Text());
        std::sort(out.begin(), out.end());
        return out;
    }
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(GrantedQuery);

TEST_P(GrantedQuery, ListsTheMonthsRowsOfTheChosenEmployees) {
    query("", -1);
    ASSERT_EQ(w.Grid1.Rows(), 5);  // no marker, nothing of June
    // Received amount and taking time only when taken; no position, operator or amount shows as such.
    EXPECT_EQ(row("2011-07-01 10:00:00"), (test::Texts{"3", "王五", "E3", "车间", "D2", "未知", "2", "", "", "0", "0",
                                                       "0", "2011年07月", "", "2011-07-01 10:00:00", "管理员"}));
    EXPECT_EQ(row("2011-07-01 08:00:00"), (test::Texts{"1", "张三", "E1", "食堂", "D1", "厨师", "1", "15.00", "14.80",
                                                       "0", "0", "1", "2011年07月", "2011-07-05 12:00:00",
                                                       "2011-07-01 08:00:00", "管理员"}));
    EXPECT_EQ(row("2011-07-02 08:00:00"), (test::Texts{"1", "张三", "E1", "食堂", "D1", "厨师", "2", "", "", "10", "3",
                                                       "0", "2011年07月", "", "2011-07-02 08:00:00", "未知"}));
    EXPECT_EQ(row("2011-07-01 09:00:00"), (test::Texts{"2", "李四", "E2", "食堂", "D1", "经理", "1", "-2.00", "", "0",
                                                       "0", "0", "2011年07月", "", "2011-07-01 09:00:00", "已离职"}));
    // 张三's two rows in the order of their keys.
    EXPECT_EQ(w.Grid1.Cell(test::gridRowOf(w.Grid1, BT_Cha_FF::colName, "张三") + 1, BT_Cha_FF::colTimes).Text(), "2");
    EXPECT_EQ(test::hiddenColumns(w.Grid1), (std::vector<int>{BT_Cha_FF::colPinfo, BT_Cha_FF::colDeptCode}));

    // Text 3 without a batch: kind 1 only; with batch 2 every kind of batch 2;
    // text 4: kind 2 only.
    query("", 0);
    EXPECT_EQ(listed(), (test::Texts{"2011-07-01 08:00:00"}));
    query("2", 0);
    EXPECT_EQ(listed(), (test::Texts{"2011-07-01 10:00:00", "2011-07-02 08:00:00"}));
    query("", 1);
    EXPECT_EQ(listed(), (test::Texts{"2011-07-02 08:00:00"}));
    query("1", -1);
    EXPECT_EQ(listed(), (test::Texts{"2011-07-01 08:00:00", "2011-07-01 09:00:00"}));

    // In English the month reads 2011Year07Month.
    Load_Lan(1);
    query("1", -1);
    EXPECT_EQ(w.Grid1.Cell(1, BT_Cha_FF::colMonth).Text(), "2011Year07Month");
    Load_Lan(0);

    // Printed with the window's caption and the operator.
    w.Command4(3).click();
    ASSERT_EQ(sv->previews.size(), 1u);
    EXPECT_EQ(w.Grid1.Page_Setup().title, "查询已发放补贴");
    EXPECT_EQ(w.Grid1.Page_Setup().footer, "制表人：admin    制表日期:2026-12-06 10:00:00");

    // In a workbook the times are dates and the taken ticks numbers to sum:
    // 2011-07-01 is day 40725 of a spreadsheet's calendar.
    query("1", -1);
    sv->fileAnswers = {dir.file("granted.xlsx")};
    w.Command4(0).click();
    const excel::Sheet sheet = excel::readFirstSheet(dir.file("granted.xlsx"));
    ASSERT_EQ(sheet.rows(), 3);
    std::vector<double> granted, taken;
    double ticks = 0;
    for (int r = 1; r <= 2; ++r) {
        EXPECT_TRUE(sheet.at(r, BT_Cha_FF::colGrantedAt).date);
        granted.push_back(sheet.at(r, BT_Cha_FF::colGrantedAt).number.value_or(-1));
        if (sheet.at(r, BT_Cha_FF::colTakenAt).number) taken.push_back(*sheet.at(r, BT_Cha_FF::colTakenAt).number);
        ticks += sheet.at(r, BT_Cha_FF::colTaken).number.value_or(-1);
    }
    std::sort(granted.begin(), granted.end());
    EXPECT_EQ(granted, (std::vector<double>{40725 + 8 / 24.0, 40725 + 9 / 24.0}));
    EXPECT_EQ(taken, (std::vector<double>{40729.5}));
    EXPECT_EQ(ticks, 1);
}

// A year that is not a number queries nothing and says so; without the
// times the kind box goes, and every kind is listed.
TEST_P(GrantedQuery, RefusesAYearThatIsNoNumberAndWithoutTimesListsEveryKind) {
    query("", -1);
    ASSERT_EQ(w.Grid1.Rows(), 5);
    for (const char* year : {"", "2011年", "abc"}) {
        query("", -1, year);
        sv->expectBox("提示:请选择要汇总的年份!", platform::vbExclamation);
        EXPECT_EQ(w.Grid1.Rows(), 5);
    }
    con->execute("update Sys_Para set P5='0'");
    w.Unload();
    query("", 0);
    EXPECT_FALSE(w.Combo5.Visible() || w.Label1(4).Visible());
    EXPECT_EQ(w.Grid1.Rows(), 5);

    // An empty table: no year to offer.
    con->execute("delete from BuTie_OK");
    w.Unload();
    w.Load();
    EXPECT_EQ(w.Combo3.ListCount(), 0);
    w.ucDep1.selectDepartment("01");
    w.Command1.click();
    EXPECT_EQ(sv->lastPrompt(), "提示:请选择要汇总的年份!");
}

TEST_P(GrantedQuery, OnScreenQueriesTheChosenDepartment) {
    test::whileShown(w, [&] {
        w.Combo3.setText("2011");
        w.Combo4.setListIndex(6);
        w.ucDep1.selectDepartment("0102");
        test::clickOnScreen(w.Command1);
        EXPECT_EQ(listed(), (test::Texts{"2011-07-01 10:00:00"}));
    });
}
