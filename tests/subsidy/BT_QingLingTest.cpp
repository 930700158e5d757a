// Month-end clearing on both engines: figures per employee from hand-made
// batches and transactions, the clearing's rows read back by plain SQL.
#include "SubsidyKit.h"
#include "data/SubsidyClearingStore.h"
#include "subsidy/BT_QingLing.h"
#include "support/FormText.h"

using namespace tolvenk;

namespace {

class Clearing : public test::SubsidyKit<BT_QingLing> {
protected:
    void seed() override {
        sv->clock = "2026-12-06 10:00:00";
        // 1 and 2 in 0101, 3 and 5 in 0102, all under 01; 4 has left; 6 in 02.
        // 3 has only a lost ID card and an IC card.
        con->executeScript(R"(
insert into Sys_Para(Para_Name,P2,P5) values('Sys_Config','0','1');
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Del_YN) values
 (1,'01','总部',0),(2,'0101','食堂',0),(3,'0102','车间',0),(4,'02','门卫',0),(5,'03','空部门',0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,Del_YN) values
 (1,2,'0101','张三','E1',0),(2,2,'0101','李四','E2',0),(3,3,'0102','王五','E3',0),(4,2,'0101','赵六','E4',1),
 (5,3,'0102','O''Hara','E5',0),(6,4,'02','钱七','E6',0);
insert into Card_Info(ID,Pinfo_id,Card_No,Card_No_Lng,Card_Model,C_GuaShi,C_YuE_ID,C_YuCi_ID,C_LeiBie) values
 (11,1,'C1',1001,1,0,20000,10,3),(12,2,'C2',1002,1,0,5000,0,3),(13,3,'C3',1003,1,1,8000,0,3),
 (14,3,'C4',1004,0,0,8000,0,3),(15,5,'C5',1005,1,0,3000,4,2);
insert into Mach_Info(Mach_ID,Mach_Type,Del_YN,New_Date) values (1,301,0,'2011-03-02 08:00:00'),(2,300,1,'2010-01-01');
insert into BuTie_OK(Pinfo_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,B_SF,B_Unit) values
 (1,10000,0,2011,3,1,2,0),(1,0,5,2011,3,2,2,3),(1,5000,0,2011,3,3,-1,0),(1,3000,0,2011,3,4,4,0),
 (1,4000,0,2011,3,5,0,0),(1,9000,0,2011,4,1,2,0),(2,2000,0,2011,3,1,2,0),(3,1000,0,2011,3,1,2,0),
 (5,1500,0,2011,3,1,2,0);
)");
        // Person 1 in March 2011: 20.00 at a terminal without serial, a meal
        // order of 10.50 and two times; an IC row, a subsidy and April's
        // consumption do not count. Person 2 spends more than his 20.00.
        tx(1, "2011-03-05 12:00:00", 1, -2000, 0, 0);
        tx(1, "2011-03-06 12:00:00", 15, -1050, 0, -1);
        tx(1, "2011-03-07 12:00:00", 1, 0, -2, 0);
        tx(1, "2011-03-08 12:00:00", 1, -9999, 0, 5);
        tx(1, "2011-03-09 12:00:00", 11, 10000, 0, 0);
        tx(1, "2011-04-01 12:00:00", 1, -500, 0, 0);
        tx(2, "2011-03-10 12:00:00", 1, -2500, 0, 0);
    }
    void tx(int person, const char* at, int type, int money, int times, int serial) {
        test::XfRow().person(person).date(at).type(type).money(money).times(times).cardSerial(serial).timesSerial(0)
            .insert(*con);
    }
    void list(int month = 3, const std::string& dept = "01") {
        if (!w.Loaded()) w.Load();
        w.Text1.setText("2011");
        w.Combo2.setListIndex(month - 1);
        w.ucDep1.selectDepartment(dept);
        w.cmd_List.click();
    }
    // The listed row of an employee, by the hidden identifier column.
    int rowOf(int pinfo) { return test::gridRowOf(w.Grid1, BT_QingLing::colPinfo, std::to_string(pinfo)); }
    test::Texts cells(int pinfo) {
        const int g = rowOf(pinfo);
        return g < 0 ? test::Texts{"?"} : test::gridRow(w.Grid1, g, BT_QingLing::colSubsidy, BT_QingLing::colCount - 1);
    }
    void clearAll() {
        w.CheckAll.setValue(forms::vbUnchecked);
        w.CheckAll.setValue(forms::vbChecked);
        w.cmdQingLing.click();
    }
    std::string box() {
        const std::string p = sv->lastPrompt();
        sv->boxes.clear();
        return p;
    }
    // The clearing rows and marker of an employee, as plain SQL sees them.
    test::Texts written(int pinfo) {
        auto out = test::column(
            *con, "select XF_Type||' '||Mach_ID||' '||XF_Dian_ID||' '||YuE_Old||' '||YuE_Change||' '||YuE_New||' '||"
                  "YuCi_Change||' '||YuCi_New||' '||Card_No||' '||Card_No_Lng||' '||C_LeiBie||' '||XF_Unit||' '||"
                  "Operator_id||' '||Rec_Time from Record_XF where XF_Type in (166,168) and Pinfo_id=" +
                      std::to_string(pinfo) + " order by ID");
        for (const auto& m : test::column(*con, "select B_JinE||' '||B_Ci||' '||B_Year||' '||B_Month||' '||B_Unit||' '||"
                                                "ZhunBei_Ren_ID||' '||ZhunBei_DT from BuTie_OK where B_Times=-1 and "
                                                "Pinfo_ID=" + std::to_string(pinfo)))
            out.push_back("marker " + m);
        return out;
    }
    std::string balance(int card) {
        return test::text(*con, "select C_YuE_ID||' '||C_YuCi_ID from Card_Info where ID=" + std::to_string(card));
    }
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(Clearing);

// Credited rows only count as subsidy, ID rows of the spending kinds as
// spending; the clearing takes back the rest from the database's figures.
TEST_P(Clearing, ListsTheMonthAndClearsWhatWasNotSpent) {
    list();
    ASSERT_EQ(w.Grid1.Rows(), 5);  // 1, 2, 3, 5
    //                   subsidy    spent     times spent  cleared month    id   money times
    EXPECT_EQ(cells(1), (test::Texts{"￥100.00", "￥30.50", "5", "-2", "", "2011-03", "1", "0", "0"}));
    EXPECT_EQ(cells(2), (test::Texts{"￥20.00", "￥25.00", "0", "0", "", "2011-03", "2", "0", "0"}));
    EXPECT_EQ(cells(5), (test::Texts{"￥15.00", "￥0.00", "0", "0", "", "2011-03", "5", "0", "0"}));

    // The money column is not what is cleared: the database is.
    w.Grid1.Cell(rowOf(1), BT_QingLing::colSubsidy).setText("￥999.00");
    clearAll();
    EXPECT_EQ(box(), "提示：本次清零成功[3]人,清零失败[1],已经清零过[0]人");
    // 100.00 - 30.50 = 69.50 and 5 - 2 = 3 times, from 200.00 and 10 times.
    EXPECT_EQ(written(1), (test::Texts{"166 36 10 20000 -6950 13050 0 10 C1 1001 3 1 7 2011-03",
                                       "168 36 10 13050 0 13050 -3 7 C1 1001 3 1 7 2011-03",
                                       "marker -6950 -3 2011 3 -1 7 2026-12-06 10:00:00"}));
    EXPECT_EQ(balance(11), "13050 7");
    // Spending above the subsidy: rows and marker of nothing, counted cleared.
    EXPECT_EQ(written(2), (test::Texts{"166 36 10 5000 0 5000 0 0 C2 1002 3 1 7 2011-03",
                                       "168 36 10 5000 0 5000 0 0 C2 1002 3 1 7 2011-03",
                                       "marker 0 0 2011 3 -1 7 2026-12-06 10:00:00"}));
    EXPECT_EQ(balance(12), "5000 0");
    EXPECT_EQ(written(3), test::Texts{});  // no usable ID card: failed, nothing written
    EXPECT_EQ(balance(13), "8000 0");
    EXPECT_EQ(balance(15), "1500 4");
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where Date_Time like '____-__-__ __:__:__' and "
                                 "XF_Type in (166,168)"), 6);

    // Listed again: cleared, with what was cleared.
    EXPECT_EQ(cells(1), (test::Texts{"￥100.00", "￥30.50", "5", "-2", "已清零", "2011-03", "1", "-69.5", "-3"}));
    EXPECT_FALSE(w.pBar1.Visible());

    // A second clearing of the month clears no one again.
    clearAll();
    EXPECT_EQ(box(), "提示：本次清零成功[0]人,清零失败[1],已经清零过[3]人");
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_OK where B_Times=-1"), 3);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where XF_Type in (166,168)"), 6);
    // Nor does the store when a grid has not seen the clearing.
    Clearing_Store::Request r{1, 2011, 3, 7, "2026-12-07 09:00:00"};
    EXPECT_EQ(Clearing_Store::Clear_Employee(cs, r), Clearing_Store::Outcome::Already_Cleared);
    EXPECT_EQ(balance(11), "13050 7");
}

// The amounts are counted when the clearing runs, not when the list was made.
TEST_P(Clearing, CountsTheSpendingAtTheMomentOfClearing) {
    list();
    tx(5, "2011-03-20 12:00:00", 48, -400, 0, 0);
    w.Grid1.Cell(rowOf(5), BT_QingLing::colTick).setText("1");
    w.cmdQingLing.click();
    EXPECT_EQ(box(), "提示：本次清零成功[1]人,清零失败[0],已经清零过[0]人");
    EXPECT_EQ(test::text(*con, "select YuE_Change from Record_XF where XF_Type=166"), "-1100");
    EXPECT_EQ(balance(15), "1900 4");
}

// A failure midway leaves that employee as he was and the others cleared; the
// retry clears him once.
TEST_P(Clearing, AFailedEmployeeIsLeftWholeAndTheRetryClearsHimOnce) {
    test::refuseWrites(*con, engine(), "no_times_row", "insert", "Record_XF",
                       "new.XF_Type=168 and new.Pinfo_id=5");
    list();
    clearAll();
    // One without a usable card, one refused by the database: told apart.
    EXPECT_EQ(box(), "提示：本次清零成功[2]人,清零失败[1],已经清零过[0]人,因数据库出错未清零[1]人");
    EXPECT_EQ(written(5), test::Texts{});
    EXPECT_EQ(balance(15), "3000 4");
    EXPECT_EQ(written(1).size(), 3u);
    EXPECT_EQ(cells(5)[4], "");

    test::allowWrites(*con, engine(), "no_times_row", "Record_XF");
    clearAll();
    EXPECT_EQ(box(), "提示：本次清零成功[1]人,清零失败[1],已经清零过[2]人");
    EXPECT_EQ(written(5), (test::Texts{"166 36 10 3000 -1500 1500 0 4 C5 1005 2 1 7 2011-03",
                                       "168 36 10 1500 0 1500 0 4 C5 1005 2 1 7 2011-03",
                                       "marker -1500 0 2011 3 -1 7 2026-12-06 10:00:00"}));
    EXPECT_EQ(balance(15), "1500 4");
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where XF_Type=166"), 3);

    // A failing marker or balance update undoes the employee's rows as well.
    con->execute("delete from BuTie_OK where B_Times=-1 and Pinfo_ID=2");
    con->execute("delete from Record_XF where Pinfo_id=2 and XF_Type in (166,168)");
    test::refuseWrites(*con, engine(), "no_balance", "update", "Card_Info", "new.ID=12");
    list();
    w.Grid1.Cell(rowOf(2), BT_QingLing::colTick).setText("1");
    w.cmdQingLing.click();
    EXPECT_EQ(box(), "提示：本次清零成功[0]人,清零失败[0],已经清零过[0]人,因数据库出错未清零[1]人");
    EXPECT_EQ(written(2), test::Texts{});
}

TEST_P(Clearing, RefusesWhatCannotBeListedOrCleared) {
    w.Load();
    w.cmd_List.click();  // no month chosen
    EXPECT_EQ(box(), "提示：请输入年月");
    w.Combo2.setListIndex(2);
    for (const char* year : {"", "20a1"}) {
        w.Text1.setText(year);
        w.cmd_List.click();
        sv->expectBox("提示：请输入年月", platform::vbInformation);
    }
    list(3, "03");
    EXPECT_EQ(box(), "提示：没有员工");
    w.cmdQingLing.click();
    EXPECT_EQ(box(), "无清零的的记录");

    // The earliest live terminal came on 2011-03-02: March can be cleared,
    // April cannot; from 2011-03-01 on, February can and March cannot.
    list(4);
    clearAll();
    EXPECT_TRUE(sv->shown("错误", platform::vbInformation));
    EXPECT_EQ(box(), "提示:日期选择错误!");
    con->execute("update Mach_Info set New_Date='2011-03-01 07:00:00' where Mach_ID=1");
    list(3);
    clearAll();
    EXPECT_EQ(box(), "提示:日期选择错误!");
    list(2);
    clearAll();
    EXPECT_EQ(box(), "提示：本次清零成功[3]人,清零失败[1],已经清零过[0]人");
    con->execute("update Mach_Info set Del_YN=1");
    list(1);
    clearAll();
    EXPECT_EQ(box(), "提示:日期选择错误!");
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_OK where B_Times=-1 and B_Month<>2"), 0);

    // Select-all needs a department chosen; without the times the times columns go.
    list(3);
    w.ucDep1.selectDepartment("");
    w.CheckAll.setValue(forms::vbUnchecked);
    w.CheckAll.setValue(forms::vbChecked);
    ASSERT_EQ(w.Grid1.Rows(), 5);
    for (int g = 1; g < w.Grid1.Rows(); ++g) EXPECT_EQ(w.Grid1.Cell(g, BT_QingLing::colTick).Text(), "0");
    con->execute("update Sys_Para set P5='0'");
    w.Unload();
    w.Load();
    for (int c : {BT_QingLing::colSubsidyTimes, BT_QingLing::colSpentTimes}) EXPECT_EQ(w.Grid1.Column(c).Width(), 0);
    EXPECT_GT(w.Grid1.Column(BT_QingLing::colSubsidy).Width(), 0);
}

// Closing the window stops a run after the employee in hand, without a message.
TEST_P(Clearing, ClosingTheWindowStopsTheRun) {
    list(3, "0101");
    w.CheckAll.setValue(forms::vbChecked);
    sv->onYield = [&] { w.Unload(); };
    w.cmdQingLing.click();
    EXPECT_FALSE(w.Loaded());
    EXPECT_TRUE(sv->boxes.empty());
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_OK where B_Times=-1"), 1);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where XF_Type in (166,168)"), 2);
    sv->yields = 0;
    list();
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(sv->yields, 1);
}

TEST_P(Clearing, OnScreenListsTicksAndClears) {
    test::whileShown(w, [&] {
        w.Text1.setText("2011");
        w.Combo2.setListIndex(2);
        w.ucDep1.selectDepartment("0101");
        test::clickOnScreen(w.cmd_List);
        ASSERT_EQ(w.Grid1.Rows(), 3);
        test::clickOnScreen(w.CheckAll);
        EXPECT_EQ(w.Grid1.Cell(1, BT_QingLing::colTick).Text(), "1");
        test::clickOnScreen(w.cmdQingLing);
        EXPECT_EQ(box(), "提示：本次清零成功[2]人,清零失败[0],已经清零过[0]人");
        EXPECT_EQ(cells(1)[4], "已清零");
    });
    EXPECT_EQ(balance(11), "13050 7");
}

// A deduction of 7.00 (a negative subsidy) left a balance of 5.00 from
// 12.00: the month ends with it given back, 12.00 again, never taken twice.
// Balances at the edge of 64 bits are booked exactly, or refused whole.
TEST_P(Clearing, ANegativeSubsidyIsGivenBackAndEdgeBalancesAreExact) {
    con->executeScript(R"(
insert into Card_Info(ID,Pinfo_id,Card_No,Card_No_Lng,Card_Model,C_GuaShi,C_YuE_ID,C_YuCi_ID,C_LeiBie) values
 (16,6,'C6',1006,1,0,500,0,3);
insert into BuTie_OK(Pinfo_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,B_SF,B_Unit) values (6,-700,0,2011,3,1,2,0);
)");
    tx(6, "2011-03-05 12:00:00", 1, -100, 0, 0);  // spending is no part of a deduction
    Clearing_Store::Request r{6, 2011, 3, 7, "2026-12-07 09:00:00"};
    EXPECT_EQ(Clearing_Store::Clear_Employee(cs, r), Clearing_Store::Outcome::Cleared);
    EXPECT_EQ(test::text(*con, "select YuE_Old||' '||YuE_Change||' '||YuE_New from Record_XF where XF_Type=166"),
              "500 700 1200");
    EXPECT_EQ(balance(16), "1200 0");
    EXPECT_EQ(test::text(*con, "select B_JinE from BuTie_OK where B_Times=-1"), "700");

    // 10.00 to take back from a balance near the largest amount: exact.
    con->execute("update Card_Info set C_YuE_ID=9223372036854775500 where ID=12");
    con->execute("update BuTie_OK set B_JinE=3500 where Pinfo_ID=2 and B_SF=2");  // 35.00 - 25.00 spent
    Clearing_Store::Request two{2, 2011, 3, 7, "2026-12-07 09:00:00"};
    EXPECT_EQ(Clearing_Store::Clear_Employee(cs, two), Clearing_Store::Outcome::Cleared);
    EXPECT_EQ(test::text(*con, "select YuE_Old||' '||YuE_Change||' '||YuE_New from Record_XF where XF_Type=166 and "
                               "Pinfo_id=2"),
              "9223372036854775500 -1000 9223372036854774500");
    EXPECT_EQ(balance(12), "9223372036854774500 0");

    // Taking 69.50 from the smallest balance cannot be booked: refused whole.
    con->execute("update Card_Info set C_YuE_ID=-9223372036854775800 where ID=11");
    Clearing_Store::Request one{1, 2011, 3, 7, "2026-12-07 09:00:00"};
    EXPECT_THROW(Clearing_Store::Clear_Employee(cs, one), db::DbError);
    EXPECT_EQ(written(1), test::Texts{});
    EXPECT_EQ(balance(11), "-9223372036854775800 10");
}
