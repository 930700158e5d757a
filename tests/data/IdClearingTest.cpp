// The ID balance clearing of a click without its window: what each card
// came to, the counts and the log row, figures by hand.
#include "data/IdClearing.h"


#include "support/Fixtures.h"
#include "support/ModuleState.h"

using namespace tolvenk;

namespace {

using T = test::Texts;

class IdClearing : public test::WindowTest {
protected:
    void SetUp() override {
        test::WindowTest::SetUp();
        if (IsSkipped()) return;
        con->executeScript(R"(
insert into Card_Info(Pinfo_id,Card_No,Card_Model,C_YuE_ID,Card_Type,C_LeiBie) values
 (1,'C1',1,1234,9,3),(1,'C2',1,0,9,4),(2,'C3',1,500,9,5);
insert into Card_Log(Pinfo_id,Card_No,Op_Type,Card_YuE) values (1,'C1',0,1234),(1,'C2',0,0),(2,'C3',0,500);
)");
        Card.Set_strCN(cs);
    }
    ID_Clearing::Result clear(const std::vector<ID_Clearing::Card>& cards, std::vector<std::string>* states = nullptr) {
        return ID_Clearing::Clear(Card, cards, 7, "2027-06-01 10:00:00",
                                  [&](std::size_t i, const CardService::QL_Result& r) {
                                      if (states)
                                          states->push_back(cards[i].cardNo + ":" + std::to_string(r.state) + ":" +
                                                            std::to_string(r.amount));
                                  });
    }
    T logRows() { return test::column(*con, "select Op_Code||' '||Operator_ID||' '||Op_Object from Sys_Log order by ID"); }
    CardService Card;
};

TOLVENK_ON_BOTH_ENGINES(IdClearing);

// The log row counts every card the click took, one already at 0 too.
TEST_P(IdClearing, EachCardIsClearedOrCountedAndTheClickIsLoggedWithEveryCardItTook) {
    std::vector<std::string> states;
    const auto r = clear({{1, "C1"}, {1, "C2"}, {2, "C3"}, {3, "NONE"}}, &states);
    EXPECT_EQ(states, (std::vector<std::string>{"C1:0:-1234", "C2:1:0", "C3:0:-500", "NONE:2:0"}));
    EXPECT_EQ(r.cleared, 2);
    EXPECT_EQ(r.voided, -1734);  // -1234 - 500
    EXPECT_EQ(r.zero, 1);
    EXPECT_EQ(r.failed, 1);
    EXPECT_TRUE(r.logError.empty());
    EXPECT_EQ(logRows(), (T{"301 7 3,-1734"}));
    EXPECT_EQ(test::column(*con, "select C_YuE_ID from Card_Info order by ID"), (T{"0", "0", "0"}));
}

// One set, each card as its own turn would find it: an employee's second
// card voided on its own with its own kind; a card listed again (once in
// another case, which the card number's column ignores) finds 0 and is
// counted each time; a number held by two rows is voided once for their sum
// with the first row's kind; a card no longer there fails alone, named so.
TEST_P(IdClearing, ASetClearsEachCardAsItsOwnTurnWould) {
    con->executeScript(R"(
insert into Card_Info(Pinfo_id,Card_No,Card_Model,C_YuE_ID,Card_Type,C_LeiBie) values
 (1,'C5',1,250,9,6),(2,'D',1,70,9,7),(2,'D',1,30,9,8);
insert into Card_Log(Pinfo_id,Card_No,Op_Type,Card_YuE) values (1,'C5',0,250),(2,'D',0,100);
)");
    const std::vector<ID_Clearing::Card> cards{{1, "C1"}, {1, "C5"}, {1, "c1"}, {2, "D"}, {9, "GONE"}, {1, "C1"}};
    T states;
    const auto r = ID_Clearing::Clear(Card, cards, 7, "2027-06-01 10:00:00", [&](std::size_t i, const CardService::QL_Result& q) {
        states.push_back(cards[i].cardNo + ":" + std::to_string(q.state) + ":" + std::to_string(q.amount) + q.error);
    });
    EXPECT_EQ(states, (T{"C1:0:-1234", "C5:0:-250", "c1:1:0", "D:0:-100", "GONE:2:0该卡已不在卡片信息中", "C1:1:0"}));
    EXPECT_EQ(r.cleared, 3);
    EXPECT_EQ(r.voided, -1584);  // -1234 - 250 - 100
    EXPECT_EQ(r.zero, 2);
    EXPECT_EQ(r.failed, 1);
    EXPECT_EQ(logRows(), (T{"301 7 5,-1584"}));
    EXPECT_EQ(test::rows(*con, "select Pinfo_id,Card_No,C_LeiBie,YuE_Old,YuE_Change,YuE_New from Record_XF order by ID"),
              (std::vector<T>{{"1", "C1", "3", "1234", "-1234", "0"},
                              {"1", "C5", "6", "250", "-250", "0"},
                              {"2", "D", "7", "100", "-100", "0"}}));
    EXPECT_EQ(test::column(*con, "select C_YuE_ID from Card_Info order by ID"), (T{"0", "0", "500", "0", "0", "0"}));
    EXPECT_EQ(test::column(*con, "select Card_YuE from Card_Log order by ID"), (T{"0", "0", "500", "0", "0"}));
}

// Cards two to a batch. The first batch is lost whole, C3 refused (by a
// rollback on the file, by its commit on the server): C1's void goes with it,
// and so does the log row written with it. C4 in the next batch starts the
// log afresh; the log tells C4 alone, as the voids do.
TEST_P(IdClearing, ABatchLostWholeTakesItsLogWithItAndTheNextStartsAfresh) {
    test::batchesOf(2);
    con->executeScript(R"(
insert into Card_Info(Pinfo_id,Card_No,Card_Model,C_YuE_ID,Card_Type,C_LeiBie) values (2,'C4',1,300,9,5);
insert into Card_Log(Pinfo_id,Card_No,Op_Type,Card_YuE) values (2,'C4',0,300);
)");
    test::loseTransactions(*con, engine(), "lose_c3", "update", "Card_Info", "new.Card_No='C3'");
    std::vector<std::string> states;
    const auto r = clear({{1, "C1"}, {2, "C3"}, {2, "C4"}}, &states);
    EXPECT_EQ(states, (std::vector<std::string>{"C1:2:0", "C3:2:0", "C4:0:-300"}));
    EXPECT_EQ(r.cleared, 1);
    EXPECT_EQ(r.voided, -300);
    EXPECT_EQ(r.failed, 2);
    EXPECT_EQ(logRows(), (T{"301 7 1,-300"}));
    EXPECT_EQ(test::rows(*con, "select Card_No,YuE_Change from Record_XF"), (std::vector<T>{{"C4", "-300"}}));
    EXPECT_EQ(test::column(*con, "select C_YuE_ID from Card_Info order by ID"), (T{"1234", "0", "500", "0"}));
}

// The batch is lost at the click's last card: C1 went with it and C3 failed
// itself, with no batch after it to tell. Each is told once, failed, and
// the click is logged as one that took no card.
TEST_P(IdClearing, ABatchLostAtTheLastCardTellsEveryCardOnce) {
    test::loseTransactions(*con, engine(), "lose_c3", "update", "Card_Info", "new.Card_No='C3'");
    std::vector<std::string> states;
    const auto r = clear({{1, "C1"}, {2, "C3"}}, &states);
    EXPECT_EQ(states, (std::vector<std::string>{"C1:2:0", "C3:2:0"}));
    EXPECT_EQ(r.failed, 2);
    EXPECT_EQ(r.cleared, 0);
    EXPECT_EQ(logRows(), (T{"301 7 0,0"}));
    EXPECT_EQ(test::column(*con, "select C_YuE_ID from Card_Info order by ID"), (T{"1234", "0", "500"}));
}

// A click whose cards are all at 0 logs them with a total of 0; one that
// takes none is still logged, as "0,0"; its log failing is told, not thrown.
TEST_P(IdClearing, AClickThatClearsNothingIsLoggedWithTheCardsItTook) {
    con->execute("update Card_Info set C_YuE_ID=0");
    const auto r = clear({{1, "C1"}, {2, "C3"}});
    EXPECT_EQ(r.cleared, 0);
    EXPECT_EQ(r.zero, 2);
    EXPECT_EQ(logRows(), (T{"301 7 2,0"}));
    clear({});
    EXPECT_EQ(logRows(), (T{"301 7 2,0", "301 7 0,0"}));

    test::refuseWrites(*con, engine(), "nolog", "insert", "Sys_Log", "", "no log");
    const auto failed = clear({});
    EXPECT_NE(failed.logError.find("no log"), std::string::npos) << failed.logError;
    EXPECT_EQ(logRows().size(), 2u);
}

}  // namespace
