// The IC settlement run without its window: two cards worked by hand, the
// steps it reports, a stop, an empty card list and a failing card.
#include "data/IcSettlementRun.h"
#include "support/Fixtures.h"
#include "support/XfRow.h"

using namespace tolvenk;
using IC_Settlement::Run_Result;
using IC_Settlement::Run_Step;

namespace {

using T = test::Texts;
constexpr const char* kCut = "2026-06-01 00:00:00";

// A holds serials 1..4, the fourth after the cut-off: serials 2 and 3 become
// one settlement row (-100-200 = -300, balance 700). B holds one counted row
// above serial 1: nothing to collapse.
class IcSettlementRun : public test::WindowTest {
protected:
    void SetUp() override {
        test::WindowTest::SetUp();
        if (IsSkipped()) return;
        con->executeScript(R"(
insert into Sys_Para(Para_Name,P1,P2) values ('JieSuan_Date','2026-01-01 00:00:00','1');
insert into Card_Log(Pinfo_id,Card_No,Op_Type) values (1,'A',0),(2,'B',0);
)");
        money(1, "A", 1, 1000, 1000, "2026-05-01 10:00:00");
        money(1, "A", 2, -100, 900, "2026-05-02 10:00:00");
        money(1, "A", 3, -200, 700, "2026-05-03 10:00:00");
        money(1, "A", 4, -50, 650, "2026-06-02 10:00:00");
        money(2, "B", 1, 500, 500, "2026-05-01 10:00:00");
        money(2, "B", 2, -20, 480, "2026-05-02 10:00:00");
    }
    void money(int person, const std::string& card, int serial, int change, int after, const std::string& date) {
        test::XfRow().person(person).card(card).type(1).cardSerial(serial).timesSerial(0).money(change)
            .balance(after).date(date).err(0).insert(*con);
    }
    Run_Result run(const IC_Settlement::Run_Progress& progress, const std::string& backup = "") {
        return IC_Settlement::Run(*con, *con, kCut, backup, progress);
    }
    // Serial, kind, change, balance of a card's money rows.
    std::vector<T> card(const std::string& c) {
        return test::rows(*con, "select Card_LiuShui,XF_Type,YuE_Change,YuE_New from Record_XF where Card_No='" + c +
                                    "' order by Card_LiuShui");
    }
    T settlementRow() { return test::row(*con, "select P1,P2,P3 from Sys_Para where Para_Name='JieSuan_Date'"); }
};

TOLVENK_ON_BOTH_ENGINES(IcSettlementRun);

TEST_P(IcSettlementRun, SettlesEachListedCardReportsEachStepAndRecordsTheCutoff) {
    std::vector<T> steps;
    const Run_Result r = run([&](const Run_Step& s) {
        steps.push_back({std::to_string(s.done), std::to_string(s.total), std::to_string(s.person), s.card});
        return true;
    });
    EXPECT_EQ(r.state, Run_Result::Settled);
    EXPECT_TRUE(r.left.empty());
    EXPECT_EQ(steps, (std::vector<T>{{"0", "2", "1", "A"}, {"1", "2", "2", "B"}, {"2", "2", "0", ""}}));
    EXPECT_EQ(card("A"), (std::vector<T>{{"1", "1", "1000", "1000"}, {"3", "250", "-300", "700"}, {"4", "1", "-50", "650"}}));
    EXPECT_EQ(card("B").size(), 2u);
    EXPECT_EQ(test::column(*con, "select Card_LiuShui from Record_BF_XF order by Card_LiuShui"), (T{"2", "3"}));
    EXPECT_EQ(settlementRow()[0], kCut);
    EXPECT_EQ(settlementRow()[1], "1");
}

TEST_P(IcSettlementRun, AStopKeepsTheCutoffAndLeavesTheCardsNotReached) {
    const Run_Result r = run([](const Run_Step& s) { return s.card != "B"; });
    EXPECT_EQ(r.state, Run_Result::Stopped);
    EXPECT_EQ(card("A")[1], (T{"3", "250", "-300", "700"}));
    // The run is marked as going to its cut-off, the settled date unchanged.
    EXPECT_EQ(settlementRow(), (T{"2026-01-01 00:00:00", "0", kCut}));

    // Stopped before the first card: nothing of A changes either.
    money(3, "C", 1, 100, 100, "2026-05-01 10:00:00");
    money(3, "C", 2, -1, 99, "2026-05-02 10:00:00");
    money(3, "C", 3, -1, 98, "2026-05-03 10:00:00");
    con->execute("insert into Card_Log(Pinfo_id,Card_No,Op_Type) values (3,'C',0)");
    EXPECT_EQ(run([](const Run_Step&) { return false; }).state, Run_Result::Stopped);
    EXPECT_EQ(card("C").size(), 3u);
}

TEST_P(IcSettlementRun, AnEmptyCardListTouchesNothing) {
    con->execute("delete from Card_Log");
    int steps = 0;
    const Run_Result r = run([&](const Run_Step&) { return ++steps > 0; }, "2026-03-01 00:00:00");
    EXPECT_EQ(r.state, Run_Result::No_Cards);
    EXPECT_EQ(steps, 0);
    EXPECT_EQ(settlementRow(), (T{"2026-01-01 00:00:00", "1", "<null>"}));
    EXPECT_EQ(card("A").size(), 4u);
}

// A failure in a card's turn names that card; the card stays whole.
TEST_P(IcSettlementRun, AFailingCardIsNamedAndLeftWhole) {
    test::refuseWrites(*con, engine(), "boom", "update", "Record_XF", "new.XF_Type=250", "injected");
    try {
        run({});
        FAIL() << "no failure";
    } catch (const IC_Settlement::Card_Failure& e) {
        EXPECT_EQ(e.person, 1);
        EXPECT_EQ(e.card, "A");
        EXPECT_NE(std::string(e.what()).find("injected"), std::string::npos) << e.what();
    }
    EXPECT_EQ(card("A").size(), 4u);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_BF_XF"), 0);
    EXPECT_EQ(settlementRow()[1], "0");
}

// With a backup start, rows before it are not copied and older backups go.
TEST_P(IcSettlementRun, ABackupStartPrunesAndCopiesOnlyLaterRows) {
    con->execute("insert into Record_BF_XF(Pinfo_id,Card_No,Card_LiuShui,Date_Time) values (9,'Z',5,'2026-01-05 00:00:00')");
    EXPECT_EQ(run({}, "2026-05-03 00:00:00").state, Run_Result::Settled);
    EXPECT_EQ(test::column(*con, "select Card_No||Card_LiuShui from Record_BF_XF order by ID"), (T{"A3"}));
}

}  // namespace

// Cards A, B and C in one batch, C's collapse refused: A's settlement is
// committed before C's failure passes, C stays whole, and the progress is
// told only before A, where no batch held the lock yet.
TEST_P(IcSettlementRun, AFailingCardInABatchKeepsTheCardsSettledBeforeIt) {
    sv->yieldAlways = false;
    money(3, "C", 1, 100, 100, "2026-05-01 10:00:00");
    money(3, "C", 2, -1, 99, "2026-05-02 10:00:00");
    money(3, "C", 3, -1, 98, "2026-05-03 10:00:00");
    con->execute("insert into Card_Log(Pinfo_id,Card_No,Op_Type) values (3,'C',0)");
    test::refuseWrites(*con, engine(), "no_c", "update", "Record_XF", "new.XF_Type=250 and new.Card_No='C'", "no C");
    std::vector<std::string> told;
    try {
        run([&](const Run_Step& s) {
            told.push_back(s.card);
            return true;
        });
        FAIL() << "no failure";
    } catch (const IC_Settlement::Card_Failure& e) {
        EXPECT_EQ(e.card, "C");
    }
    EXPECT_EQ(told, (std::vector<std::string>{"A"}));
    EXPECT_EQ(card("A"), (std::vector<T>{{"1", "1", "1000", "1000"}, {"3", "250", "-300", "700"}, {"4", "1", "-50", "650"}}));
    EXPECT_EQ(card("C"), (std::vector<T>{{"1", "1", "100", "100"}, {"2", "1", "-1", "99"}, {"3", "1", "-1", "98"}}));
    EXPECT_EQ(test::column(*con, "select Card_No||Card_LiuShui from Record_BF_XF order by Card_No,Card_LiuShui"),
              (T{"A2", "A3"}));
    EXPECT_EQ(settlementRow()[1], "0");
}
