#include "support/XfFixture.h"
#include "data/BTService.h"
#include "platform/Error.h"

#include <algorithm>

using namespace tolvenk;

namespace {
class BtTest : public test::XfFixture {
protected:
    void SetUp() override {
        XfFixture::SetUp();
        if (IsSkipped()) return;
        bt.Set_strCN(cs);
        con->executeScript(R"(
update Ren_Dept_Info set Dept_Code='D'||Dept_ID;
insert into Ren_Positions_Info(ID,Position_Name) values (2,'厨师'),(1,'经理');
insert into Mach_Info(Mach_ID,Mach_Name,Mach_No,Mach_XF_Type,Card_BuTie,XF_Dian_ID,Del_YN,New_Date) values
 (21,'补贴机A','M21',27,0,1,0,'2025-03-01'),(22,'补贴机B','M22',25,1,1,0,'2025-01-01'),(23,'旧补贴机','M23',27,0,1,1,'2024-01-01'),
 (24,'不补贴','M24',25,0,1,0,'2025-02-01'),(25,'次补贴机','M25',28,0,2,0,'2025-04-01'),(26,'旧次机','M26',26,1,2,1,'2024-06-01');
insert into XF_Dian_Info(XF_Dian_ID,XF_Dian_Name) values (1,'一食堂'),(2,'超市');
insert into BuTie_OK(ID,Pinfo_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,B_SF,B_Unit,B_Type,ZhunBei_Ren_ID) values
 (1,1,1000,0,2026,11,1,-1,1,0,7),(2,2,1000,0,2026,11,1,-1,1,0,7),(3,3,1000,0,2026,11,1,0,1,0,7),
 (4,1,0,5,2026,11,2,-1,2,0,8),(5,1,500,0,2026,10,1,2,0,0,7),(6,1,-500,0,2026,10,-1,0,-1,0,7),
 (7,2,800,0,2026,11,1,1,1,0,9),(8,3,0,0,2026,11,1,3,1,0,7);
)");
    }
    V states(int month, int times) {
        return test::column(*con, "select B_SF from BuTie_OK where B_Year=2026 and B_Month=" + std::to_string(month) +
                                      " and B_Times=" + std::to_string(times) + " order by ID");
    }
    BTService bt;
};
}  // namespace

TOLVENK_ON_BOTH_ENGINES(BtTest);

TEST_P(BtTest, SubsidyTerminalListsShowLiveTerminalsOnly) {
    EXPECT_EQ(ids(bt.Get_Mach_J()), (V{"21", "22"}));  // 23 is deleted, 24 takes no subsidy
    EXPECT_EQ(ids(bt.Get_Mach_Ci()), (V{"25"}));
    EXPECT_EQ(ids(bt.Cha_Time()), (V{"22"}));  // earliest New_Date among live terminals
    EXPECT_EQ(bt.Cha_Time()(1, 44), "2025-01-01");
    EXPECT_EQ(ids(bt.Get_ZhiWei(), 1), (V{"经理", "厨师"}));
}

TEST_P(BtTest, EmployeeListsByDepartment) {
    const DataList all = bt.Get_Emp_Check_All("01", "", "", "");
    EXPECT_EQ(all.colUBound(), 5);
    // By department name, then code: 出纳(3) < 总部(4) < 财务(1) in byte order.
    EXPECT_EQ(ids(all), (V{"3", "4", "1"}));
    EXPECT_EQ(ids(bt.Get_Emp_Check_All("", "三", "", "")), (V{"1"}));
    EXPECT_EQ(ids(bt.Get_Emp_Check_All("", "", "E", "2")), (V{"2"}));
    EXPECT_EQ(ids(bt.Get_Emp_Check_All_ID("", "张", "", "")), V{});
    EXPECT_EQ(ids(bt.Get_Emp_Check_All_ID("", "O'Brien", "E3", "")), (V{"3"}));
    // Live departments only, deleted employees kept.
    EXPECT_EQ(ids(bt.Get_Emp_Check("", "", "", "")).size(), 4u);
    EXPECT_EQ(ids(bt.Get_Emp_Check_All("", "", "", "")).size(), 5u);
    // Live employees of the subtree, joined on Dept_ID, by Dept_No.
    EXPECT_EQ(ids(bt.Get_Emp_ByDept("01")), (V{"1", "3"}));
    EXPECT_EQ(bt.Get_Emp_ByDept("01")(1, 4), "D2");
    EXPECT_EQ(ids(bt.Get_All_Emp()), (V{"1", "2", "3", "5"}));
    // The subtree form matches; an exact parent number narrows it.
    EXPECT_EQ(ids(bt.Get_Dept_No("01", "")), (V{"1", "2", "5"}));
    con->execute("update Ren_Dept_Info set Last_DeptNo='01' where Dept_ID=2");
    EXPECT_EQ(ids(bt.Get_Dept_No("", "01")), (V{"2"}));
    EXPECT_EQ(ids(bt.Get_Dept_No("", "")), (V{"1", "2", "5", "3"}));
}

TEST_P(BtTest, BatchRowsByState) {
    EXPECT_EQ(ids(bt.Get_BT_bydate("2026", "11", "1", "")), (V{"1", "2"}));
    EXPECT_EQ(ids(bt.Get_BT_bydate("2026", "11", "1", "selectAll")), (V{"1", "2", "3", "7", "8"}));
    EXPECT_EQ(ids(bt.Get_BT_bydate_ID("2026", "11", "1")), (V{"3"}));
    EXPECT_EQ(ids(bt.select_BuTie_OK("1", 2026, 11, "2", "", "")), (V{"4"}));
    EXPECT_EQ(ids(bt.select_BuTie_OK("1", 2026, 11, "2", "", "zero")), V{});
    EXPECT_EQ(ids(bt.select_BT_OK_2("1", 0, 0, "", 0)), (V{"1", "4", "5"}));  // the clearing marker never shows
    EXPECT_EQ(ids(bt.select_BT_OK_2("1", 2026, 11, "", 2)), (V{"4"}));
    EXPECT_EQ(ids(bt.select_BT_OK_3(2026, 8, 0, "")), (V{"4"}));
    EXPECT_EQ(ids(bt.select_BT_OK_3(2026, 9, 0, "")), (V{"7"}));
    EXPECT_EQ(ids(bt.select_BT_OK_3(2026, 0, 11, "1")), (V{"1", "2", "3", "7", "8"}));
    EXPECT_EQ(ids(bt.Get_HZ(2026, 11, "1")), (V{"3", "7"}));  // prepared rows and empty amounts are left out
    EXPECT_EQ(bt.Get_Year().rowUBound(), 1);
    EXPECT_THROW(bt.Get_BT_bydate("2026", "11", "1 or 1=1", ""), db::DbError);
}

TEST_P(BtTest, PreparingEditingAndDeletingABatch) {
    EXPECT_TRUE(bt.Insert_info("5", "2026-12-01 08:00:00", 7, 1200, 0, 2026, 12, 1, 0, -1, 1));
    const DataList row = bt.select_BuTie_OK("5", 2026, 12, "1", "", "");
    ASSERT_EQ(row.rowUBound(), 1);
    EXPECT_EQ(row(1, 1), "1200");
    const std::string id = row(1, 0);
    // Times back to 0 must be storable: the form says which amount changes.
    EXPECT_TRUE(bt.Update_info("4", "2026-12-01 09:00:00", 9, 999, 0, BtAmount::Times));
    EXPECT_TRUE(bt.Update_info(id, "2026-12-01 09:00:00", 9, 1500, 7, BtAmount::Money));
    EXPECT_EQ(test::row(*con, "select B_JinE,B_Ci,ZhunBei_Ren_ID from BuTie_OK where ID=4"), (V{"0", "0", "9"}));
    EXPECT_EQ(test::row(*con, "select B_JinE,B_Ci from BuTie_OK where ID=" + id), (V{"1500", "0"}));  // times untouched
    EXPECT_TRUE(bt.Delete_BT_OK(2026, 11, "1"));
    EXPECT_EQ(states(11, 1), (V{"0", "1", "3"}));  // only the prepared rows went
    EXPECT_TRUE(bt.Delete_BT_OK(2026, 11, "9"));   // nothing to delete is no failure
}

TEST_P(BtTest, IcGrantHandsRowsToTheEmployeesTerminals) {
    EXPECT_EQ(bt.Update_FF("2026-12-02 10:00:00", 7, 2026, 11, "1", "1"), 1);  // no terminals assigned yet
    EXPECT_EQ(states(11, 1), (V{"-1", "-1", "0", "1", "3"}));
    con->executeScript("insert into BuTie_DuiYing(Pinfo_ID,Mach_ID,B_Type) values (1,21,1),(1,25,2),(3,22,1);");
    EXPECT_EQ(bt.Update_FF("2026-12-02 10:00:00", 7, 2026, 11, "1", "1"), 2);
    EXPECT_EQ(test::row(*con, "select B_SF,Mach_ID,Mach_No,ZhunBei_DT from BuTie_OK where ID=1"),
              (V{"0", "21", "M21", "2026-12-02 10:00:00"}));
    EXPECT_EQ(states(11, 1), (V{"0", "-1", "0", "1", "3"}));  // employee 2 has no terminal
    EXPECT_EQ(states(11, 2), (V{"-1"}));                      // the times batch is another batch
}

// An employee with two terminals of the kind gets the one assigned last (the
// higher key), whatever order the engine keeps the rows in: here the later
// assignment was stored first.
TEST_P(BtTest, IcGrantGivesTheTerminalAssignedLastOnBothEngines) {
    con->executeScript("insert into BuTie_DuiYing(ID,Pinfo_ID,Mach_ID,B_Type) values (9,1,22,1),(4,1,21,1);");
    EXPECT_EQ(bt.Update_FF("2026-12-02 10:00:00", 7, 2026, 11, "1", "1"), 2);
    EXPECT_EQ(test::row(*con, "select Mach_ID,Mach_No from BuTie_OK where ID=1"), (V{"22", "M22"}));
}

TEST_P(BtTest, StoppingTouchesOnlyStoppableRowsOfTheBatch) {
    EXPECT_TRUE(bt.Stop_FF_BT(9, "2026-12-03 10:00:00", 2026, 11, "1"));
    EXPECT_EQ(states(11, 1), (V{"-1", "-1", "4", "4", "4"}));
    EXPECT_EQ(states(10, 1), (V{"2"}));
    EXPECT_EQ(states(11, 2), (V{"-1"}));
    EXPECT_TRUE(bt.Update_FF_ID("2", "2026-12-03 11:00:00", 9, 2026, 11, "1", "2"));
    // Whatever their state: employee 2 has two rows in this batch (IDs 2 and 7).
    EXPECT_EQ(states(11, 1), (V{"-1", "2", "4", "2", "4"}));
}

TEST_P(BtTest, SubsidyTerminalAssignments) {
    con->executeScript("insert into BuTie_DuiYing(Pinfo_ID,Mach_ID,B_Type) values (1,21,1),(1,25,2),(2,22,1);");
    const DataList dy = bt.Get_BT_DY("1");
    ASSERT_EQ(dy.rowUBound(), 2);
    V seen;
    for (int r = 1; r <= 2; ++r) seen.push_back(dy(r, 0) + "/" + dy(r, 1) + "/" + dy(r, 2));
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (V{"一食堂/补贴机A/1", "超市/次补贴机/2"}));
    gSelPInfoIDs = {1, 3};
    EXPECT_EQ(bt.select_DY(1).rowUBound(), 2);
    EXPECT_TRUE(bt.Delete_DY(1, 2));  // only the times terminal of employee 1
    EXPECT_EQ(ids(bt.select_DY(1), 2), (V{"21"}));
    EXPECT_TRUE(bt.Insert_DY(22, 1, 1));
    EXPECT_EQ(bt.select_DY(1).rowUBound(), 3);
    gSelPInfoIDs = {5};
    EXPECT_TRUE(bt.Delete_DY(0, 0));  // nobody has one: nothing to delete
    EXPECT_THROW(bt.select_DY(3), VbError);

    // Replacing is all or nothing: a failing insert leaves the old assignments.
    gSelPInfoIDs = {1, 2};
    EXPECT_TRUE(bt.Replace_DY(1, 0, {{21, 1}, {25, 2}}));
    EXPECT_EQ(bt.select_DY(1).rowUBound(), 4);
    test::refuseWrites(*con, engine(), "no_99", "insert", "BuTie_DuiYing", "new.Mach_ID=99");
    EXPECT_THROW(bt.Replace_DY(1, 0, {{22, 1}, {99, 2}}), db::DbError);
    EXPECT_EQ(bt.select_DY(1).rowUBound(), 4);
    EXPECT_THROW(bt.Insert_DY(99, 2, 1), db::DbError);
    EXPECT_EQ(bt.select_DY(1).rowUBound(), 4);
}

TEST_P(BtTest, IdCardsAndTheirRows) {
    con->executeScript(R"(
insert into Card_Info(ID,Pinfo_id,Card_No,Card_No_Lng,Card_Model,C_GuaShi,C_YuE_ID,C_YuCi_ID,C_LeiBie) values
 (1,2,'C2',1002,1,0,5000,3,1),(2,2,'C2b',1003,1,1,0,0,1),(3,2,'C2c',1004,0,0,0,0,1);
insert into Sys_User_Info(User_ID,User_Name,Del_YN) values (7,'admin',0),(8,'old',1);
)");
    const DataList card = bt.IS_ID("2");
    ASSERT_EQ(card.rowUBound(), 1);
    EXPECT_EQ(card(1, 3), "C2");
    EXPECT_EQ(card(1, 4), "1002");
    EXPECT_EQ(card(1, 8), "5000");
    EXPECT_TRUE(bt.Update_ID_BT_J("1", "6000"));
    EXPECT_TRUE(bt.Update_ID_BT_Ci("1", "8"));
    EXPECT_EQ(bt.IS_ID("2")(1, 8), "6000");
    EXPECT_EQ(bt.IS_ID("2")(1, 9), "8");
    EXPECT_EQ(bt.Get_CZ_Name("8")(1, 0), "old");  // deleted users are named too
    EXPECT_EQ(ids(bt.All_CZ_Name()), (V{"7"}));

    std::vector<std::string> para{"", "0", "2", "1002", "", "1", "0", "11", "0", "5000", "+1000", "6000", "0", "0",
                                  "0", "2026-12-01 10:00:00", "C2", "0", "7", "1", "0", "0", "0", "0"};
    EXPECT_TRUE(bt.Add_XF_BT_ID(para));
    // Columns past Err_Code are not written.
    EXPECT_EQ(test::rows(*con, "select YuE_Change,Rec_Time from Record_XF where Card_No='C2' and XF_Type=11"),
              (std::vector<V>{{"1000", "<null>"}}));
}

TEST_P(BtTest, CorrectionRowAndCardHistory) {
    const BTService::CorrectionRow r{.PinfoID = 1, .c_leibie = 2, .XF_Type = 202, .YuE_Change = 300, .YuE_New = 10200,
                                     .C_QuHao = 1, .Card_Liushui = 8, .Date_Time = "2026-12-01 00:00:00", .CardNo = "C1",
                                     .Operator_id = 7, .Ci_QuHao = 2, .Err_Code = 2, .Rec_Time = "2026-12-06 10:00:00",
                                     .DC_Date = "2026-11-30 23:59:59"};
    EXPECT_TRUE(bt.insert_RecordXF(r));
    EXPECT_EQ(test::rows(*con, "select YuE_Old,Mach_LiuShui,Err_Code,Shou_Kuan,DC_Date from Record_XF where XF_Type=202"),
              (std::vector<V>{{"0", "-3", "2", "<null>", "2026-11-30 23:59:59"}}));

    // The card's IC rows up to serial 7 in serial order.
    EXPECT_EQ(ids(bt.Cha_Ka(1, "C1", "7")), (V{"7", "1", "2", "8"}));
    EXPECT_EQ(bt.Is_Ci().rowUBound(), 0);
    con->execute("insert into Sys_Para(Para_Name,P2,P5) values('Sys_Config','1','0')");
    EXPECT_EQ(bt.Is_Ci()(1, 10), "0");
    EXPECT_EQ(bt.Is_Ci()(1, 7), "1");
}

// The credit itself holds the rule that a row is granted once: a second
// office whose list still shows the row prepared credits nothing.
TEST_P(BtTest, ACreditOfARowNoLongerInItsStateWritesNothing) {
    con->executeScript(R"(
insert into Card_Info(ID,Pinfo_id,Card_No,Card_No_Lng,Card_Model,C_GuaShi,C_YuE_ID,C_YuCi_ID,C_LeiBie) values
 (1,1,'C1',1001,1,0,5000,3,1);
)");
    BTService::ID_Credit c;
    c.BT_ID = "1";
    c.From_SF = -1;
    c.B_Unit = 1;
    c.XF_Type = 11;
    c.Card_ID = "1";
    c.Pinfo_id = "1";
    c.Card_No = "C1";
    c.Card_No_Lng = "1001";
    c.C_LeiBie = "1";
    c.ZB_DT = "2026-11-05 10:00:00";
    c.ZB_Ren_ID = 7;
    EXPECT_EQ(bt.Credit_ID_BT(c), BTService::ID_Credit_Result::Credited);
    EXPECT_EQ(bt.Credit_ID_BT(c), BTService::ID_Credit_Result::Not_In_State);
    EXPECT_EQ(test::number(*con, "select C_YuE_ID from Card_Info where ID=1"), 6000);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where Card_No='C1' and Date_Time='2026-11-05 10:00:00'"), 1);
    EXPECT_EQ(test::text(*con, "select B_SF from BuTie_OK where ID=1"), "2");
}
