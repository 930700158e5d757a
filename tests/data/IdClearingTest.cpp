// The ID balance clearing of a click without its window: what each card
// came to, the counts and the log row, figures by hand.
#include "data/IdClearing.h"
#include "support/Fixtures.h"

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
