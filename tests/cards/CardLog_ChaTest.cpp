// The card-management log on a small business database; every cell below is
// read off the Card_Log rows inserted in SetUp.
#include "cards/CardLog_Cha.h"
#include "platform/excel/XlsxReader.h"
#include "support/Fixtures.h"
#include "support/FormText.h"
#include "support/Screen.h"

using namespace tolvenk;

namespace {

using V = std::vector<std::string>;

class CardLogWindow : public test::WindowOf<CardLog_Cha> {
protected:
    void SetUp() override {
        WindowOf::SetUp();
        if (IsSkipped()) return;
        sv->clock = "2026-12-03 10:00:00";
        // Department "0" holds everyone; 财务 sorts before 食堂; person 4 has left.
        con->executeScript(R"(
insert into Sys_Para(Para_Name,P2,P5) values ('Sys_Config','1','1');
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values
 (9,'0','全公司',0,0),(1,'0101','财务',1,0),(2,'02','食堂',1,0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,Del_YN) values
 (1,1,'0101','张三','E1',0),(2,1,'0101','O''Brien','E2',0),(3,2,'02','李四','E3',0),(4,1,'0101','离职','E0',1);
insert into Sys_User_Info(User_ID,User_Name,Del_YN) values (1,'admin',0),(2,'clerk',0),(3,'gone',1);
insert into Card_Type(ID,C_LeiBie,C_Name,Del_YN) values (1,1,'',0),(2,2,'Staff',0),(3,3,'Old',1);
insert into Card_Log(ID,Pinfo_id,Card_No,Card_Number,Date_Time,Op_Type,C_LeiBie,Operator_ID,
                     FaKa_GBF,Huan_GBF,Tui_GBF,Card_YuE,Card_YuCi,Huan_Number,ZY_JinE,ZY_Ci) values
 (1,1,'C1','N1','2026-12-01 09:00:00',0,1,1,1000,0,0,5000,10,null,0,0),
 (2,1,'C1','N1','2026-12-02 10:00:00',1,1,2,0,0,0,0,0,null,0,0),
 (3,1,'C1','N1','2026-12-03 11:00:00',3,1,2,0,300,0,0,0,'N9',3000,4),
 (4,2,'C2','N2','2026-12-01 08:00:00',4,2,3,0,0,500,0,0,null,2000,0),
 (5,3,'C3','N3','2026-12-03 23:59:59',6,3,1,0,0,0,0,0,null,null,0),
 (6,1,'C1','N1','2026-11-30 23:59:59',0,1,1,100,0,0,100,0,null,0,0),
 (7,4,'C4','N4','2026-12-02 12:00:00',7,2,1,0,0,0,0,0,null,0,0),
 (8,9,'C9','N9','2026-12-02 12:00:00',0,2,1,0,0,0,0,0,null,0,0),
 (9,1,'C1','N1','2026-12-04 00:00:00',0,1,1,0,0,0,0,0,null,0,0);
)");
    }
    // The period 1 to 3 December and department `dept`, then the query.
    void query(const std::string& dept = "0", const std::string& name = "") {
        if (!w.Loaded()) w.Load();
        w.DT1.setValue("2026-12-01");
        w.DT2.setValue("2026-12-03");
        w.ucDep1.selectDepartment(dept);
        w.ucDep1.setFilters(name, "", "");
        w.Command1.click();
    }
    void tick(std::initializer_list<int> codes) {
        for (int i = 0; i < 8; ++i) w.chkType(i).setValue(forms::vbUnchecked);
        for (int i : codes) w.chkType(i).setValue(forms::vbChecked);
    }
    std::string cell(int r, int c) { return w.Grid1.Cell(r, c).Text(); }
    V row(int r) { return test::gridRow(w.Grid1, r, 1, 14); }
    std::vector<int> hidden() { return test::hiddenColumns(w.Grid1); }
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(CardLogWindow);

TEST_P(CardLogWindow, EveryOperationOfThePeriodByEmployeeWithItsFeesAndTotals) {
    w.Load();
    ASSERT_EQ(w.Combo3.ListCount(), 3);  // all, the unnamed system kind, Staff
    EXPECT_EQ(w.Combo3.List(1), "普通卡");
    EXPECT_EQ(w.Combo2.List(2), "clerk");

    query();
    ASSERT_EQ(w.Grid1.Rows(), 7);
    // People by department name, then code; each person's rows in time order.
    EXPECT_EQ(row(1), (V{"离职", "E0", "财务", "Staff", "C4", "N4", "2026-12-02 12:00:00", "销卡", "", "", "", "", "",
                         "admin"}));
    EXPECT_EQ(row(2), (V{"张三", "E1", "财务", "普通卡", "C1", "N1", "2026-12-01 09:00:00", "发卡", "", "￥50.00", "10",
                         "￥10.00", "￥60.00", "admin"}));
    EXPECT_EQ(row(3)[7], "挂失");
    EXPECT_EQ(row(3)[9], "");
    EXPECT_EQ(row(4), (V{"张三", "E1", "财务", "普通卡", "C1", "N1", "2026-12-03 11:00:00", "换卡", "N9", "￥-30.00",
                         "4", "￥3.00", "", "clerk"}));
    // A return: fee back out, money paid out; an operator no longer live has no name.
    EXPECT_EQ(row(5), (V{"O'Brien", "E2", "财务", "Staff", "C2", "N2", "2026-12-01 08:00:00", "退卡", "", "￥20.00", "",
                         "￥-5.00", "￥15.00", ""}));
    // The last second of the last day counts; a deleted kind has no name; no amount shows the sign alone.
    EXPECT_EQ(row(6), (V{"李四", "E3", "食堂", "", "C3", "N3", "2026-12-03 23:59:59", "强行退卡", "", "￥", "", "￥0.00",
                         "￥0.00", "admin"}));
    // Nothing ticked: every operation, and the amount columns hidden.
    EXPECT_EQ(hidden(), (std::vector<int>{5, 9, 10, 11, 12, 13}));
}

// Amounts at the ends of the stored range: shown, negated and totalled exactly.
TEST_P(CardLogWindow, TheLargestAmountsAndTheirTotalsAreExact) {
    con->execute("update Card_Log set FaKa_GBF=" + std::to_string(INT64_MAX) + ",Card_YuE=1 where ID=1");
    con->execute("update Card_Log set ZY_JinE=" + std::to_string(INT64_MIN) + " where ID in (3,4)");
    con->execute("update Card_Log set Tui_GBF=1 where ID=4");
    query();
    ASSERT_EQ(w.Grid1.Rows(), 7);
    // Issue: 1 + 2^63 - 1 = 2^63.
    const V issue = row(2), back = row(5);
    EXPECT_EQ(V(issue.begin() + 9, issue.begin() + 13),
              (V{"￥0.01", "10", "￥92233720368547758.07", "￥92233720368547758.08"}));
    // Change: the money moved is shown negated, 2^63.
    EXPECT_EQ(row(4)[9], "￥92233720368547758.08");
    // Return: -2^63 - 1.
    EXPECT_EQ(V(back.begin() + 9, back.begin() + 13),
              (V{"￥-92233720368547758.08", "", "￥-0.01", "￥-92233720368547758.09"}));
}

TEST_P(CardLogWindow, OperatorKindAndOperationsNarrowTheRowsAndChooseTheColumns) {
    w.Load();
    tick({3});
    query();
    ASSERT_EQ(w.Grid1.Rows(), 2);
    EXPECT_EQ(cell(1, 8), "换卡");
    EXPECT_EQ(hidden(), (std::vector<int>{5, 13}));

    tick({4, 6});
    query();
    ASSERT_EQ(w.Grid1.Rows(), 3);
    EXPECT_EQ((V{cell(1, 1), cell(2, 1)}), (V{"O'Brien", "李四"}));
    EXPECT_EQ(hidden(), (std::vector<int>{5, 9}));

    tick({1});
    query();
    EXPECT_EQ(w.Grid1.Rows(), 2);
    EXPECT_EQ(hidden(), (std::vector<int>{5, 9, 10, 11, 12, 13}));

    tick({});
    w.Combo2.setListIndex(2);  // clerk
    query();
    EXPECT_EQ(w.Grid1.Rows(), 3);
    EXPECT_EQ((V{cell(1, 8), cell(2, 8)}), (V{"挂失", "换卡"}));
    w.Combo2.setListIndex(0);
    w.Combo3.setListIndex(2);  // Staff
    query();
    EXPECT_EQ((V{cell(1, 5), cell(2, 5)}), (V{"C4", "C2"}));

    // A name typed into the picker is matched literally, quotes and all.
    w.Combo3.setListIndex(0);
    query("0", "O'B");
    ASSERT_EQ(w.Grid1.Rows(), 2);
    EXPECT_EQ(cell(1, 1), "O'Brien");
    query("0", "%");
    EXPECT_EQ(w.Grid1.Rows(), 1);
    query("02");
    EXPECT_EQ(w.Grid1.Rows(), 2);

    // No department chosen: nothing is listed.
    w.ucDep1.Init(0, ucKelmora::kDepartmentMode, "", strCN, 0);
    w.Command1.click();
    EXPECT_EQ(w.Grid1.Rows(), 1);
    EXPECT_TRUE(sv->boxes.empty());
}

TEST_P(CardLogWindow, TheTimesSwitchOffHidesTheTimesColumnAndTheGridExports) {
    Conn_Main->execute("update Sys_Para set P5='0'");
    w.Load();
    tick({0, 3});
    query();
    ASSERT_EQ(w.Grid1.Rows(), 3);
    EXPECT_EQ(hidden(), (std::vector<int>{5, 11}));

    sv->fileAnswers = {dir.file("log.xlsx")};
    w.Command4(0).click();
    EXPECT_EQ(sv->lastPrompt(), "提示:输出成功.");
    const excel::Sheet sheet = excel::readFirstSheet(dir.file("log.xlsx"));
    ASSERT_EQ(sheet.rows(), 3);
    EXPECT_EQ(sheet.text(2, 8), "换卡");
    EXPECT_EQ(sheet.at(2, 10).number, -30.0);  // money goes out as a number
}

TEST_P(CardLogWindow, ClosingTheWindowStopsTheFill) {
    w.Load();
    sv->onYield = [&] { w.Unload(); };
    query();
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(sv->yields, 1);
    EXPECT_EQ(w.Grid1.Rows(), 1);  // back as designed
}

TEST_P(CardLogWindow, OnScreenAQueryListsTheDepartmentsOperations) {
    test::whileShown(w, [&] {
        w.DT1.setValue("2026-12-01");
        w.ucDep1.selectDepartment("02");
        test::clickOnScreen(w.chkType(6));
        test::clickOnScreen(w.Command1);
        EXPECT_EQ(w.Grid1.Rows(), 2);
        EXPECT_EQ(cell(1, 13), "￥0.00");
        EXPECT_FALSE(w.pBar1.Visible());
        EXPECT_TRUE(w.Command1.Enabled());
    });
}
