// The summary report on a server that ends its sessions midway through a
// run, or before its window opens: one box instead of a trapped error per
// cell, and a window that opens and runs on a new session.
#include "reports/summary/XF_Cha_HZ.h"
#include "support/Fixtures.h"
#include "support/ServerRestart.h"

using namespace tolvenk;

namespace {

class LostSummary : public test::WindowOf<XF_Cha_HZ> {
protected:
    void SetUp() override {
        WindowOf::SetUp();
        if (IsSkipped()) return;
        sv->clock = "2026-07-15 09:30:00";
        Money_Sign = "¥";
        // Recharges of 10.00 at the computer on the first and 7.00 at a terminal on the second.
        con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values (1,'01','总部',0,0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,Del_YN) values (1,1,'01','张三',0);
insert into Card_Type(ID,C_LeiBie,C_Name,Del_YN) values (1,1,'',0);
)");
        test::XfRow().date("2026-07-01 08:00:00").person(1).kind(1).type(161).meal(0).money(1000).times(0).err(0)
            .insert(*con);
        test::XfRow().date("2026-07-02 08:00:00").person(1).kind(1).type(5).meal(0).money(700).times(0).err(0)
            .insert(*con);
    }
    // The daily cash report over both days; its last line.
    std::string run(bool perCell) {
        if (!w.Loaded()) {
            w.Load();
            w.Form_Activate();
        }
        w.Per_Cell_Statements = perCell;
        w.List1.setListIndex(0);
        w.DTPicker1.setValue("2026-07-01");
        w.DTPicker2.setValue("2026-07-02");
        w.Command1.click();
        return w.Grid1.Cell(w.Grid1.Rows() - 1, 1).Text();
    }
};

INSTANTIATE_TEST_SUITE_P(Server, LostSummary, ::testing::Values(test::Engine::Server), test::EngineNames());

}  // namespace

// Ended midway, by the figures read once (as the card log's are read, after
// the transactions') or per cell (at the third cell): one box, not one per
// trapped cell. The next run reads on new sessions and gives the figures.
TEST_P(LostSummary, EndedMidwayIsOneBoxAndTheNextRunIsWhole) {
    for (bool perCell : {false, true}) {
        SCOPED_TRACE(perCell ? "statements per cell" : "figures read once");
        {
            test::SessionsEndAt end(server->databaseName(), perCell ? "Record_XF" : "Card_Log", perCell ? 3 : 1);
            run(perCell);
            ASSERT_GT(end.ended(), 0);
        }
        ASSERT_EQ(sv->boxes.size(), 1u);
        EXPECT_EQ(sv->boxes[0].title, "出错:ERR_XF_Cha_HZ_1");
        EXPECT_EQ(sv->boxes[0].prompt.rfind("与数据库的连接已断开，报表没有完成：显示的行不完整。请重新查询。\n", 0), 0u)
            << sv->boxes[0].prompt;
        sv->boxes.clear();
        EXPECT_EQ(run(perCell), "收支情况：¥17.00");
        EXPECT_TRUE(sv->boxes.empty());
    }
}

// Every session ended (a restart) while the module held its main one: the
// window loads and runs on new ones.
TEST_P(LostSummary, AWindowOpenedAfterARestartReconnects) {
    ASSERT_GT(test::endSessions(server->databaseName()), 0);
    EXPECT_EQ(run(false), "收支情况：¥17.00");
    EXPECT_TRUE(sv->boxes.empty());
}
