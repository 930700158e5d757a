// The card windows on the server engine: settlement, correction, both
// balance queries and the ID clearing run their statements there as well.
#include "CardsFixture.h"
#include "cards/frmJieSuanIC.h"
#include "cards/IDYuE_QingLing.h"
#include "cards/YuE_HZ_Cha.h"
#include "cards/YuE_ID_Cha.h"

using namespace tolvenk;

namespace {
using CardsOnServer = test::KitTest;
}  // namespace

TEST_F(CardsOnServer, SettlementQueriesAndClearingRunOnTheServer) {
    if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
    sv->clock = "2027-06-01 10:00:00";
    test::BusinessDb bdb(test::Engine::Server);
    strCN = bdb.connectionString();
    Conn_Main = test::connect(strCN);
    DB_Type = "SQL";
    Money_Sign = "￥";
    Load_Lan(0);
    auto& con = *Conn_Main;
    con.executeScript(R"(
insert into Sys_Para(Para_Name,P1,P2) values ('Sys_Config',null,'1'),('JieSuan_Date','2026-01-01 00:00:00','1');
insert into Card_Log(Pinfo_id,Card_No,Op_Type,Card_YuE,Date_Time) values (1,'A',0,100,'2026-01-01');
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values (1,'01','总部',0,0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,P_Num,Del_YN) values (1,1,'01','张三','E1','N1',0);
insert into Card_Info(Pinfo_id,Card_No,Card_Model,C_YuE_ID,Card_Type,C_LeiBie) values (1,'A',1,1234,9,3);
insert into Mach_Info(Mach_Name,Mach_Type,Del_YN,New_Date) values ('m',301,0,'2026-12-01 06:00:00');
)");
    int bal = 0;
    for (int s = 1; s <= 5; ++s) {
        bal += s == 1 ? 1000 : -10;
        test::XfRow().person(1).card("A").type(1).cardSerial(s).timesSerial(0).money(s == 1 ? 1000 : -10).balance(bal)
            .date("2026-05-0" + std::to_string(s) + " 10:00:00").err(0).insert(con);
    }
    {
        frmJieSuanIC w;
        w.Load();
        w.dtP.setValue("2026-06-01");
        w.Command1.click();
        for (auto& b : sv->boxes) ADD_FAILURE() << b.prompt;
        EXPECT_EQ(test::rows(con, "select Card_LiuShui,XF_Type,YuE_Change,YuE_New from Record_XF order by Card_LiuShui"),
                  (std::vector<test::Texts>{{"1", "1", "1000", "1000"}, {"5", "250", "-40", "960"}}));
        EXPECT_EQ(test::number(con, "select count(*) from Record_BF_XF"), 4);
        EXPECT_EQ(test::text(con, "select P1||' '||P2 from Sys_Para where Para_Name='JieSuan_Date'"), "2026-06-01 00:00:00 1");
        w.Unload();
    }
    {
        YuE_HZ_Cha w;
        w.Load();
        w.ucDep1.selectDepartment("01");
        w.DTPicker1.setValue("2026-11-30");
        w.Check1.setValue(forms::vbChecked);
        w.Command1.click();
        for (auto& b : sv->boxes) ADD_FAILURE() << b.prompt;
        EXPECT_EQ(w.Grid1.Cell(1, 5).Text(), "￥9.60");
        w.Unload();
    }
    {
        YuE_ID_Cha w;
        w.Load();
        w.ucDep1.selectDepartment("01");
        w.DTPicker1.setValue("2026-11-30");
        w.Command1.click();
        EXPECT_EQ(w.Grid1.Cell(1, 5).Text(), "￥9.60");
        w.Unload();
    }
    {
        IDYuE_QingLing w;
        w.Load();
        w.ucDep1.selectDepartment("01");
        w.CheckAll.setValue(forms::vbChecked);
        w.Command1.click();
        EXPECT_EQ(test::text(con, "select C_YuE_ID from Card_Info"), "0");
        EXPECT_EQ(test::text(con, "select Op_Object from Sys_Log"), "1,-1234");
        EXPECT_EQ(sv->lastPrompt().rfind("提示：成功！", 0), 0u) << sv->lastPrompt();
        w.Unload();
    }
    Conn_Main.reset();  // before the server database is dropped
}
