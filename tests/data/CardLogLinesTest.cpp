// The card-management log's lines without its window: rows sorted to the
// employees given, the amounts each operation shows, worked out by hand.
#include "data/CardLogLines.h"
#include "data/OpTypeCode.h"
#include "data/TableColumns.h"
#include "platform/db/Recordset.h"
#include "platform/db/Value.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

using T = test::Texts;

class CardLogLines : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        // Person 1: an issue and a return; person 2: a change; person 9 is
        // not asked for; one row belongs to nobody.
        con->executeScript(R"(
insert into Card_Log(Pinfo_id,Card_No,Card_Number,Date_Time,Op_Type,C_LeiBie,Operator_ID,FaKa_GBF,Card_YuE,Card_YuCi,
                     Huan_GBF,Huan_Number,ZY_JinE,ZY_Ci,Tui_GBF) values
 (1,'A','NA','2026-05-01 08:00:00',0,2,7,1000,5000,3,0,null,0,0,0),
 (2,'B','NB','2026-05-02 08:00:00',3,1,8,0,0,0,500,'NB2',2000,4,0),
 (1,'A','NA','2026-05-03 08:00:00',4,2,7,0,0,0,0,null,3000,0,200),
 (9,'Z','NZ','2026-05-04 08:00:00',0,1,7,0,0,0,0,null,0,0,0),
 (null,'Y','NY','2026-05-05 08:00:00',0,1,7,0,0,0,0,null,0,0,0);
)");
    }
    // Employees 2 then 1, as a department list orders them.
    static DataList emps() {
        DataList d(2, {col::Ren_Per_Info::Pinfo_ID});
        d(1, 0) = "2";
        d(2, 0) = "1";
        return d;
    }
    static std::string amount(const std::optional<Card_Log_Lines::Amount>& a) {
        if (!a) return "-";
        return a->null ? std::string("null") : a->fen.whole();
    }
    std::vector<T> lines(int stopAt = 0, bool* finished = nullptr) {
        auto rs = con->openRecordset("select * from Card_Log order by Date_Time");
        std::vector<T> out;
        const bool done = Card_Log_Lines::Lines(*rs, emps(), [&](const Card_Log_Lines::Line& l, std::int64_t n,
                                                                 std::int64_t total) {
            out.push_back({std::to_string(l.emp), l.cardNumber, std::to_string(l.op), std::to_string(l.kind),
                           std::to_string(l.operatorId), l.newCard.value_or("-"), l.times.value_or("-"),
                           amount(l.money), amount(l.fee), amount(l.total), std::to_string(n) + "/" + std::to_string(total)});
            return n != stopAt;
        });
        if (finished) *finished = done;
        return out;
    }
};

TOLVENK_ON_BOTH_ENGINES(CardLogLines);

TEST_P(CardLogLines, EachEmployeesOperationsInTimeOrderWithTheirAmounts) {
    bool finished = false;
    EXPECT_EQ(lines(0, &finished),
              (std::vector<T>{
                  // The change: the moved money out, the change fee, no total.
                  {"1", "NB", "3", "1", "8", "NB2", "4", "-2000", "500", "-", "1/5"},
                  // The issue: balance, count, fee and their sum 1000 + 5000.
                  {"2", "NA", "0", "2", "7", "-", "3", "5000", "1000", "6000", "2/5"},
                  // The return: money back less the fee, 3000 - 200.
                  {"2", "NA", "4", "2", "7", "-", "-", "3000", "-200", "2800", "3/5"}}));
    EXPECT_TRUE(finished);
}

TEST_P(CardLogLines, TheSinkStopsTheLinesAndNoEmployeeListsNothing) {
    bool finished = true;
    EXPECT_EQ(lines(1, &finished).size(), 1u);
    EXPECT_FALSE(finished);
    auto rs = con->openRecordset("select * from Card_Log");
    int seen = 0;
    EXPECT_TRUE(Card_Log_Lines::Lines(*rs, DataList(), [&](const auto&, auto, auto) { return ++seen > 0; }));
    EXPECT_EQ(seen, 0);
}

// A NULL amount stays NULL for the window to show as the sign alone, and
// counts as 0 in a total.
TEST_P(CardLogLines, ANullAmountIsKeptAndCountsAsNothingInTheTotal) {
    con->execute("update Card_Log set Card_YuE=null where Card_No='A' and Op_Type=0");
    const auto l = lines();
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[1][7], "null");
    EXPECT_EQ(l[1][9], "1000");
}

}  // namespace
