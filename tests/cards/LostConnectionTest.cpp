// The IC settlement and the IC balance correction on a server that ends
// their sessions midway through a run, or between opening the window and
// running it: one box, whole batches, the rows stamped with the server's time.
#include "CardsFixture.h"
#include "cards/YuE_HZ_Cha.h"
#include "cards/frmJieSuanIC.h"
#include "data/WriteBatch.h"
#include "support/ServerRestart.h"

using namespace tolvenk;
using T = test::Texts;

namespace {

template <class W>
class OnAServer : public test::CardsWindow<W> {
protected:
    // Card k of employee k: 10.00, -1.00 and then -2.00, the last one at `third`.
    void chains(int cards, const std::string& third) {
        for (int k = 1; k <= cards; ++k) {
            const std::string c = "C" + std::to_string(k);
            this->con->execute("insert into Card_Log(Pinfo_id,Card_No,Op_Type,Date_Time) values (" + std::to_string(k) +
                               ",'" + c + "',0,'2026-01-01')");
            const int change[] = {1000, -100, -200}, after[] = {1000, 900, 700};
            for (int s = 1; s <= 3; ++s)
                test::XfRow().person(k).card(c).kind(2).type(1).cardSerial(s).timesSerial(0).money(change[s - 1])
                    .balance(after[s - 1]).date(s < 3 ? "2026-05-0" + std::to_string(s) + " 12:00:00" : third)
                    .err(0).insert(*this->con);
        }
    }
    std::shared_ptr<db::Connection> check() { return test::connect(this->cs); }
    std::string serverNow() { return test::text(*check(), "select getdate()"); }
    T theBox() {
        const auto boxes = this->sv->takeBoxes();
        if (boxes.size() != 1) return {std::to_string(boxes.size()) + " boxes"};
        const auto cut = boxes[0].find('\n');
        return {boxes[0].substr(0, cut), cut == std::string::npos ? "" : "a reason"};
    }
};

class LostSettlement : public OnAServer<frmJieSuanIC> {
protected:
    void settle() {
        if (!w.Loaded()) w.Load();
        w.dtP.setValue("2026-06-01");
        w.Command1.click();
    }
    // Each card's money rows as serial:kind:change:balance.
    T cards() {
        return test::column(*check(), "select Card_No||' '||Card_LiuShui||':'||XF_Type||':'||YuE_Change||':'||YuE_New "
                                      "from Record_XF order by Card_No,Card_LiuShui");
    }
};

class LostCorrection : public OnAServer<YuE_HZ_Cha> {
protected:
    void query() {
        if (!w.Loaded()) w.Load();
        w.Query.ucDep1.selectDepartment("0");
        w.Query.DTPicker1.setValue("2026-11-30");
        w.Check1.setValue(forms::vbChecked);
        w.Query.Command1.click();
    }
    T mended() {
        return test::column(*check(), "select Card_No||':'||XF_Type||':'||YuE_Change from Record_XF where Err_Code=2 "
                                      "order by Card_No");
    }
};

INSTANTIATE_TEST_SUITE_P(Server, LostSettlement, ::testing::Values(test::Engine::Server), test::EngineNames());
INSTANTIATE_TEST_SUITE_P(Server, LostCorrection, ::testing::Values(test::Engine::Server), test::EngineNames());

}  // namespace

// Six cards settled two to a batch; the sessions end as the fifth card's
// turn begins: the first four are settled, the fifth went back with its
// batch, the cut-off stays. Settled again, the two left are, and the
// cut-off is recorded; the four done before are not touched twice.
TEST_P(LostSettlement, EndedMidwayKeepsTheWholeBatchesAndTheCutoffWaits) {
    con->executeScript("insert into Sys_Para(Para_Name,P1,P2) values ('Sys_Config',null,'1'),"
                       "('JieSuan_Date','2026-01-01 00:00:00','1');");
    chains(6, "2026-05-03 12:00:00");
    Write_Batch::standard() = {2, std::chrono::hours(1)};
    sv->yieldAlways = false;
    {
        test::SessionsEndAt end(server->databaseName(), "select max(Card_LiuShui)", 5);
        settle();
        ASSERT_GT(end.ended(), 0);
    }
    EXPECT_EQ(theBox(), (T{"与数据库的连接已断开：6 张卡中已处理 4 张，其余的卡未作任何改动，结算日期也没有记录。请再次结算以完成。",
                           "a reason"}));
    T settled, untouched;
    for (int k = 1; k <= 6; ++k) {
        const std::string c = "C" + std::to_string(k) + " ";
        (k <= 4 ? settled : untouched).push_back(c + "1:1:1000:1000");
        if (k <= 4) settled.push_back(c + "3:250:-300:700");
        else untouched.insert(untouched.end(), {c + "2:1:-100:900", c + "3:1:-200:700"});
    }
    T both = settled;
    both.insert(both.end(), untouched.begin(), untouched.end());
    EXPECT_EQ(cards(), both);
    EXPECT_EQ(test::row(*check(), "select P1,P2,P3 from Sys_Para where Para_Name='JieSuan_Date'"),
              (T{"2026-01-01 00:00:00", "0", "2026-06-01 00:00:00"}));

    settle();
    EXPECT_EQ(sv->takeBoxes(), T{});
    for (int k = 5; k <= 6; ++k) {
        const std::string c = "C" + std::to_string(k) + " ";
        settled.insert(settled.end(), {c + "1:1:1000:1000", c + "3:250:-300:700"});
    }
    EXPECT_EQ(cards(), settled);
    EXPECT_EQ(test::row(*check(), "select P1,P2 from Sys_Para where Para_Name='JieSuan_Date'"),
              (T{"2026-06-01 00:00:00", "1"}));
}

// Four employees, a card each whose third row started from 8.00 where the
// second left 9.00: a 201 row of -1.00 mends it. The sessions end as the
// third employee's row is written: two listed and mended, one box. Opened
// anew after the server ended every session again, the query mends the two
// left, each row stamped with the server's time, with no box.
TEST_P(LostCorrection, EndedMidwayStopsWithOneBoxAndARestartIsNoMatter) {
    addPeople();
    con->executeScript("insert into Sys_Para(Para_Name,P1,P2) values ('JieSuan_Date','2026-03-01 00:00:00','1');"
                       "insert into Mach_Info(Mach_ID,Mach_Name,Mach_Type,Del_YN,New_Date) values "
                       "(1,'一号机',301,0,'2026-12-01 06:00:00');");
    chains(4, "2026-05-03 12:00:00");
    con->execute("update Record_XF set YuE_New=YuE_New-100 where Card_LiuShui=3");
    const std::string from = serverNow();
    {
        test::SessionsEndAt end(server->databaseName(), "Shui_Change,Is_ShuiKong", 3);
        query();
        ASSERT_GT(end.ended(), 0);
    }
    EXPECT_EQ(theBox(), (T{"与数据库的连接已断开：4 名员工中已列出 2 名，需要损益的已对其卡做了损益；其余员工没有处理。"
                           "请再次查询以完成。",
                           "a reason"}));
    EXPECT_EQ(mended(), (T{"C1:201:-100", "C2:201:-100"}));  // 张三丰 (2) and 张三 (1) come first

    w.Unload();
    w.Load();
    ASSERT_GT(test::endSessions(server->databaseName()), 0);
    query();
    EXPECT_EQ(sv->takeBoxes(), T{});
    EXPECT_EQ(mended(), (T{"C1:201:-100", "C2:201:-100", "C3:201:-100", "C4:201:-100"}));
    const std::string to = serverNow();
    for (const auto& t : test::column(*check(), "select Rec_Time from Record_XF where Err_Code=2"))
        EXPECT_TRUE(t >= from && t <= to) << t;
}
