// The IC settlement and the IC balance correction on a server that ends
// their sessions midway through a run, or between opening the window and
// running it: one box, whole batches, rows stamped with the server's time.
#include "CardsFixture.h"
#include "cards/IDYuE_QingLing.h"
#include "cards/YuE_HZ_Cha.h"
#include "cards/frmJieSuanIC.h"
#include "support/ServerRestart.h"
#include "support/ModuleState.h"

using namespace tolvenk;
using T = test::Texts;

namespace {

// Card Ck of employee k: 10.00, -1.00 and -2.00 in May 2026; written in
// batches of two.
template <class W>
class OnAServer : public test::CardsWindow<W> {
protected:
    void chains(int cards) {
        for (int k = 1; k <= cards; ++k) {
            const std::string c = "C" + std::to_string(k);
            this->con->execute("insert into Card_Log(Pinfo_id,Card_No,Op_Type,Date_Time) values (" + std::to_string(k) +
                               ",'" + c + "',0,'2026-01-01')");
            const int change[] = {1000, -100, -200}, after[] = {1000, 900, 700};
            for (int s = 1; s <= 3; ++s)
                test::XfRow().person(k).card(c).kind(2).type(1).cardSerial(s).timesSerial(0).money(change[s - 1])
                    .balance(after[s - 1]).date("2026-05-0" + std::to_string(s) + " 12:00:00").err(0).insert(*this->con);
        }
        test::batchesOf(2);
        this->sv->yieldAlways = false;
    }
    T read(const std::string& sql) { return test::column(*test::connect(this->cs), sql); }
};

class LostSettlement : public OnAServer<frmJieSuanIC> {
protected:
    // Six cards, the last settlement to 2026-01-01.
    void sixCards() {
        con->executeScript("insert into Sys_Para(Para_Name,P1,P2) values ('Sys_Config',null,'1'),"
                           "('JieSuan_Date','2026-01-01 00:00:00','1');");
        chains(6);
    }
    void settle() {
        if (!w.Loaded()) w.Load();
        w.dtP.setValue("2026-06-01");
        w.Command1.click();
    }
    // Settled, the sessions ending as the `nth` read of card rows starts.
    void settleUntilSessionsEnd(int nth) {
        test::SessionsEndAt end(server->databaseName(), "(Card_LiuShui > 0 or Ci_LiuShui > 0)", nth);
        settle();
        ASSERT_GT(end.ended(), 0);
    }
    // The one box of a run whose sessions ended with `done` of six cards done.
    static T lostBox(int done) {
        return {"与数据库的连接已断开：6 张卡中已处理 " + std::to_string(done) +
                    " 张，其余的卡未作任何改动，结算日期也没有记录。请再次结算以完成。",
                "and a reason"};
    }
    // Each card's money rows as card serial:kind:change:balance, cards up to `settledUpTo` settled.
    T cards(int settledUpTo) {
        T out;
        for (int k = 1; k <= 6; ++k) {
            const std::string c = "C" + std::to_string(k) + " ";
            if (k <= settledUpTo) out.insert(out.end(), {c + "1:1:1000:1000", c + "3:250:-300:700"});
            else out.insert(out.end(), {c + "1:1:1000:1000", c + "2:1:-100:900", c + "3:1:-200:700"});
        }
        return out;
    }
    T rows(const std::string& where = "") {
        return read("select Card_No||' '||Card_LiuShui||':'||XF_Type||':'||YuE_Change||':'||YuE_New from Record_XF " +
                    where + " order by Card_No,Card_LiuShui");
    }
    T cutoff() { return read("select P1||' '||P2||' '||P3 from Sys_Para where Para_Name='JieSuan_Date'"); }
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
    T mended() { return read("select Card_No||':'||XF_Type||':'||YuE_Change from Record_XF where Err_Code=2 order by Card_No"); }
};

INSTANTIATE_TEST_SUITE_P(Server, LostSettlement, ::testing::Values(test::Engine::Server), test::EngineNames());
INSTANTIATE_TEST_SUITE_P(Server, LostCorrection, ::testing::Values(test::Engine::Server), test::EngineNames());

using LostIdClearing = OnAServer<IDYuE_QingLing>;
INSTANTIATE_TEST_SUITE_P(Server, LostIdClearing, ::testing::Values(test::Engine::Server), test::EngineNames());

}  // namespace

// The sessions end as the third set of cards is read (one card, one, then
// two, batches of two): the first batch's two settled, the next set read
// before any batch took it, the cut-off not recorded. Settled again: the
// four left, the two done not touched twice, the cut-off recorded.
TEST_P(LostSettlement, EndedMidwayKeepsTheWholeBatchesAndTheCutoffWaits) {
    sixCards();
    settleUntilSessionsEnd(3);
    if (HasFatalFailure()) return;
    EXPECT_EQ(test::oneBox(*sv), lostBox(2));
    EXPECT_EQ(rows(), cards(2));
    EXPECT_EQ(cutoff(), T{"2026-01-01 00:00:00 0 2026-06-01 00:00:00"});

    settle();
    EXPECT_EQ(sv->takeBoxes(), T{});
    EXPECT_EQ(rows(), cards(6));
    EXPECT_EQ(cutoff(), T{"2026-06-01 00:00:00 1 "});
}

// C3 is booked beside the run as C2 is settled (a row of neither serial,
// dated after the cut-off), so the set [C3, C4] is written C3 apart between
// two commits and C4 in a batch of its own; the sessions end before that
// batch commits. C4 is not counted done: three cards, not four.
TEST_P(LostSettlement, ACardAfterABookedOneInItsSetIsNotCountedBeforeItsBatchCommits) {
    sixCards();
    con->executeScript(
        "create function book_c3() returns trigger language plpgsql as $$ begin "
        "insert into Record_XF(Mach_ID,Pinfo_ID,Card_No,Card_LiuShui,Ci_LiuShui,XF_Type,YuE_Change,YuE_New,Date_Time,"
        "Err_Code) values (9,3,'C3',0,0,1,0,0,'2026-06-05 12:00:00',0); return new; end $$; "
        "create trigger book_c3 after update on Record_XF for each row when (new.Card_No='C2' and new.XF_Type=250 "
        "and old.XF_Type<>250) execute function book_c3();");
    settleUntilSessionsEnd(5);
    if (HasFatalFailure()) return;
    EXPECT_EQ(test::oneBox(*sv), lostBox(3));
    EXPECT_EQ(rows("where Card_LiuShui > 0"), cards(3));
}

// Each card's third row started from 8.00 where the second left 9.00: a 201
// row of -1.00 mends it. The sessions end as the third employee's is
// written: 张三丰 (2) and 张三 (1), listed first, are mended; one box. Opened
// anew and every session ended again, the query mends the two left, with no
// box, each row stamped with the server's time.
TEST_P(LostCorrection, EndedMidwayStopsWithOneBoxAndARestartIsNoMatter) {
    addPeople();
    con->executeScript("insert into Sys_Para(Para_Name,P1,P2) values ('JieSuan_Date','2026-03-01 00:00:00','1');"
                       "insert into Mach_Info(Mach_ID,Mach_Type,Del_YN,New_Date) values (1,301,0,'2026-12-01 06:00:00');");
    chains(4);
    con->execute("update Record_XF set YuE_New=600 where Card_LiuShui=3");
    const std::string from = test::serverClock(cs);
    {
        test::SessionsEndAt end(server->databaseName(), "Shui_Change,Is_ShuiKong", 3);
        query();
        ASSERT_GT(end.ended(), 0);
    }
    EXPECT_EQ(test::oneBox(*sv), (T{"与数据库的连接已断开：4 名员工中已列出 2 名，需要损益的已对其卡做了损益；其余员工没有处理。"
                                    "请再次查询以完成。",
                                    "and a reason"}));
    EXPECT_EQ(mended(), (T{"C1:201:-100", "C2:201:-100"}));

    w.Unload();
    w.Load();
    ASSERT_GT(test::endSessions(server->databaseName()), 0);
    query();
    EXPECT_EQ(sv->takeBoxes(), T{});
    EXPECT_EQ(mended(), (T{"C1:201:-100", "C2:201:-100", "C3:201:-100", "C4:201:-100"}));
    EXPECT_EQ(test::notStampedSince(cs, from, read("select Rec_Time from Record_XF where Err_Code=2")), T{});
}

// Six ID cards of 1.00 each, cleared two to a batch; the sessions end as the
// third set (the fifth and sixth cards) is set to 0: four cleared and logged
// as such, the last two back with their batch, and one box says so.
TEST_P(LostIdClearing, EndedMidwayStopsWithOneBox) {
    addPeople();
    for (int k = 1; k <= 6; ++k)
        con->execute("insert into Card_Info(Pinfo_id,Card_No,Card_Model,C_YuE_ID,Card_Type,C_LeiBie) values (" +
                     std::to_string(k % 2 ? 1 : 2) + ",'D" + std::to_string(k) + "',1,100,9,3)");
    test::batchesOf(2);
    sv->yieldAlways = false;
    w.Load();
    w.ucDep1.selectDepartment("0");
    ASSERT_EQ(w.Grid1.Rows(), 7);
    w.CheckAll.setValue(forms::vbChecked);
    {
        test::SessionsEndAt end(server->databaseName(), "update Card_Info set C_YuE_ID=0", 3);
        w.Command1.click();
        ASSERT_GT(end.ended(), 0);
    }
    EXPECT_EQ(test::oneBox(*sv), (T{"与数据库的连接已断开：选中的 6 张卡中已清零或本来为 0 的有 4 张；其余的没有动，也没有为它们写"
                                    "操作日志。请重新查询并清零以完成。",
                                    "and a reason"}));
    EXPECT_EQ(read("select C_YuE_ID from Card_Info order by C_YuE_ID"), (T{"0", "0", "0", "0", "100", "100"}));
    EXPECT_EQ(read("select count(*)||' '||sum(YuE_Change) from Record_XF where XF_Type=175"), T{"4 -400"});
    EXPECT_EQ(read("select Op_Object from Sys_Log where Op_Code=301"), T{"4,-400"});
}
