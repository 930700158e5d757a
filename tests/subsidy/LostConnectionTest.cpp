// The ID grant and the month-end clearing on a server that ends their
// sessions midway through a run, or between opening the window and running
// it: one box, whole batches, rows stamped with the server's time.
#include "SubsidyKit.h"
#include "subsidy/BT_ID_FF.h"
#include "subsidy/BT_QingLing.h"
#include "support/ServerRestart.h"
#include "support/ModuleState.h"

using namespace tolvenk;
using T = test::Texts;

namespace {

// Employees 21..30 of 0101, each with an ID card of 1.00 (ID 100 + n), and
// the batch or month of each window in batches of three.
template <class W>
class OnAServer : public test::SubsidyKit<W> {
protected:
    void seed() override {
        this->con->executeScript("insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Del_YN) values (1,'01','总部',0);"
                                 "insert into Mach_Info(Mach_ID,Mach_Type,Del_YN,New_Date) values "
                                 "(1,301,0,'2011-04-02 08:00:00');");
        for (int p = 21; p <= 30; ++p) {
            const std::string n = std::to_string(p);
            this->con->execute("insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,Del_YN) values (" + n +
                               ",1,'01','E" + n + "','" + n + "',0)");
            this->con->execute("insert into Card_Info(ID,Pinfo_id,Card_No,Card_No_Lng,Card_Model,C_GuaShi,C_YuE_ID,"
                               "C_YuCi_ID,C_LeiBie) values (" + std::to_string(100 + p) + "," + n + ",'K" + n + "'," +
                               std::to_string(5000 + p) + ",1,0,100,0,1)");
        }
        test::batchesOf(3);
        this->sv->yieldAlways = false;
    }
    T read(const std::string& sql) { return test::column(*test::connect(this->cs), sql); }
    T balances() { return read("select C_YuE_ID from Card_Info order by ID"); }
};

class LostGrant : public OnAServer<BT_ID_FF> {
protected:
    void seed() override {
        OnAServer::seed();
        config(0, "1");
        for (int p = 21; p <= 30; ++p) batchRow(p, 1, 0, -1, 10 * p);
    }
    void run() {
        w.Load();
        w.Combo2.setText("1");
        w.Command1.click();
    }
    T stamps() { return read("select Date_Time from Record_XF union all select ZhunBei_DT from BuTie_OK"); }
};

class LostClearing : public OnAServer<BT_QingLing> {
protected:
    void seed() override {
        OnAServer::seed();
        con->executeScript("insert into Sys_Para(Para_Name,P2,P5) values('Sys_Config','0','1');"
                           "update Ren_Per_Info set Del_YN=1 where Pinfo_ID>28;");
        for (int p = 21; p <= 28; ++p)  // a subsidy of n fen in March 2011, nothing spent
            con->execute("insert into BuTie_OK(Pinfo_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,B_SF,B_Unit) values(" +
                         std::to_string(p) + "," + std::to_string(p) + ",0,2011,3,1,2,0)");
    }
    void clearAll() {
        if (!w.Loaded()) w.Load();
        w.Text1.setText("2011");
        w.Combo2.setListIndex(2);
        w.ucDep1.selectDepartment("01");
        w.cmd_List.click();
        w.CheckAll.setValue(forms::vbUnchecked);
        w.CheckAll.setValue(forms::vbChecked);
        w.cmdQingLing.click();
    }
};

INSTANTIATE_TEST_SUITE_P(Server, LostGrant, ::testing::Values(test::Engine::Server), test::EngineNames());
INSTANTIATE_TEST_SUITE_P(Server, LostClearing, ::testing::Values(test::Engine::Server), test::EngineNames());

}  // namespace

// The sessions end as the third set of three (27..29) is credited: 21..26
// are granted, 27 goes back with its batch. The next grant takes the four
// left, once each.
TEST_P(LostGrant, EndedMidwayStopsAfterTheWholeBatchesWithOneBox) {
    const std::string from = test::serverClock(cs);
    {
        test::SessionsEndAt end(server->databaseName(), "update BuTie_OK set ZhunBei_DT", 3);
        run();
        ASSERT_GT(end.ended(), 0);
    }
    EXPECT_EQ(test::oneBox(*sv), (T{"与数据库的连接已断开：共 10 人，已成功发放 6 人，无法发放 0 人；其余人员未作任何改动。"
                                    "请再次发放该次补贴以完成。",
                                    "and a reason"}));
    EXPECT_EQ(read("select B_SF from BuTie_OK order by Pinfo_ID"), (T{"2", "2", "2", "2", "2", "2", "-1", "-1", "-1", "-1"}));
    EXPECT_EQ(balances(), (T{"310", "320", "330", "340", "350", "360", "100", "100", "100", "100"}));

    run();
    EXPECT_EQ(test::oneBox(*sv), (T{"提示：成功发放4人,无法发放0人", ""}));
    EXPECT_EQ(balances(), (T{"310", "320", "330", "340", "350", "360", "370", "380", "390", "400"}));
    EXPECT_EQ(read("select count(distinct Pinfo_id)*100+count(*) from Record_XF"), T{"1010"});
    EXPECT_EQ(test::notStampedSince(cs, from, stamps()), T{});
}

// Every session, the window's main one too, ended after it opened: the grant
// runs whole, one box, each row stamped with the server's time.
TEST_P(LostGrant, ARestartBetweenOpeningAndRunningIsNoMatter) {
    w.Load();
    const std::string from = test::serverClock(cs);
    ASSERT_GT(test::endSessions(server->databaseName()), 0);
    run();
    EXPECT_EQ(test::oneBox(*sv), (T{"提示：成功发放10人,无法发放0人", ""}));
    EXPECT_EQ(test::notStampedSince(cs, from, stamps()), T{});
}

// The sessions end as the third set of three (the seventh and eighth
// employees) adds its spending to the month's sums read as the run began:
// six cleared, the rest back with their batch. Listed and cleared again: the
// two left, once.
TEST_P(LostClearing, EndedMidwayStopsAfterTheWholeBatchesWithOneBox) {
    const std::string from = test::serverClock(cs);
    {
        test::SessionsEndAt end(server->databaseName(), "and +Pinfo_id in", 3);
        clearAll();
        ASSERT_GT(end.ended(), 0);
    }
    EXPECT_EQ(test::oneBox(*sv), (T{"与数据库的连接已断开：选中的 8 人中，已清零 6 人，清零失败 0 人；其余人员未作任何改动。"
                                    "请重新列出后再次清零以完成。",
                                    "and a reason"}));
    EXPECT_EQ(balances(), (T{"79", "78", "77", "76", "75", "74", "100", "100", "100", "100"}));
    EXPECT_EQ(read("select count(*) from BuTie_OK where B_Times=-1"), T{"6"});

    clearAll();
    EXPECT_EQ(test::oneBox(*sv), (T{"提示：本次清零成功[2]人,清零失败[0],已经清零过[6]人", ""}));
    EXPECT_EQ(balances(), (T{"79", "78", "77", "76", "75", "74", "73", "72", "100", "100"}));
    EXPECT_EQ(read("select count(*) from Record_XF where XF_Type in (166,168)"), T{"16"});
    EXPECT_EQ(test::notStampedSince(cs, from, read("select Date_Time from Record_XF union all select ID_YuE_Now "
                                                   "from Card_Info where ID<129")),
              T{});
}
