// The ID grant run without its window, on both engines.
#include "data/BTService.h"
#include "data/IdGrantRun.h"
#include "support/Fixtures.h"
#include "support/ModuleState.h"

using namespace tolvenk;

namespace {

// Cards: 1 usable with 12.00 and 3 times; 2 lost only; 3 usable, empty.
class IdGrantRun : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        con->executeScript(R"(
insert into Card_Info(ID,Pinfo_id,Card_No,Card_No_Lng,Card_Model,C_GuaShi,C_YuE_ID,C_YuCi_ID,C_LeiBie) values
 (11,1,'C1',1001,1,0,1200,3,1),(12,2,'C2',1002,1,1,800,0,1),(13,3,'C3',1003,1,0,0,0,2);
)");
        bt.Set_strCN(cs);
    }
    // A row of batch 2026-12-n.
    void batchRow(int pinfo, int times, int unit, int state, int jine, int type = 0) {
        con->execute("insert into BuTie_OK(Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,"
                     "B_Type,B_SF,B_Unit) values(" + std::to_string(pinfo) + ",'2026-12-01 08:00:00',1," +
                     std::to_string(jine) + ",0,2026,12," + std::to_string(times) + "," + std::to_string(type) + "," +
                     std::to_string(state) + "," + std::to_string(unit) + ")");
    }
    ID_Grant::Batch batch(const std::string& times, bool regrant = false) {
        return {2026, 12, times, regrant, 8};
    }
    // Pinfo_ID:B_SF:ZhunBei_Ren_ID of each row of batch n.
    test::Texts states(int times = 1) {
        return test::column(*con, "select Pinfo_ID||':'||B_SF||':'||ZhunBei_Ren_ID from BuTie_OK where B_Times=" +
                                      std::to_string(times) + " order by ID");
    }

    BTService bt;
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(IdGrantRun);

TEST_P(IdGrantRun, RefusesABatchWithNothingToTakeOrOfAnIcKind) {
    batchRow(1, 1, 0, 2, 500);  // credited already
    batchRow(1, 2, 1, -1, 500); // an IC batch
    ID_Grant::Run none(bt, batch("1"));
    EXPECT_EQ(none.refusal(), ID_Grant::Refusal::Nothing_Prepared);
    ID_Grant::Run waiting(bt, batch("1", true));
    EXPECT_EQ(waiting.refusal(), ID_Grant::Refusal::No_Waiting_Rows);
    ID_Grant::Run ic(bt, batch("2"));
    EXPECT_EQ(ic.refusal(), ID_Grant::Refusal::Not_An_ID_Batch);
    EXPECT_EQ(ic.total(), 0);
    // A refused run writes nothing when asked to grant.
    const auto counts = ic.grant({});
    EXPECT_EQ(counts.credited + counts.withoutCard + counts.failed, 0);
    EXPECT_EQ(states(2), (test::Texts{"1:-1:1"}));
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF"), 0);
}

// Every row of the batch is walked, the stopped one left alone: 5.00 to card 1
// (12.00 -> 17.00); 2 has no usable card and waits; the operator is the run's.
TEST_P(IdGrantRun, CreditsPreparedRowsParksThoseWithoutACardAndReportsEachRow) {
    batchRow(1, 1, 0, -1, 500);
    batchRow(2, 1, 0, -1, 300);
    batchRow(3, 1, 0, 4, 999);
    ID_Grant::Run run(bt, batch("1"));
    ASSERT_EQ(run.refusal(), ID_Grant::Refusal::None);
    EXPECT_EQ(run.total(), 3);
    std::vector<std::pair<std::int64_t, std::int64_t>> seen;
    const auto counts = run.grant([&](std::int64_t done, std::int64_t total) {
        seen.emplace_back(done, total);
        return true;
    });
    EXPECT_EQ(seen, (std::vector<std::pair<std::int64_t, std::int64_t>>{{1, 3}, {2, 3}, {3, 3}}));
    EXPECT_EQ(counts.credited, 1);
    EXPECT_EQ(counts.withoutCard, 1);
    EXPECT_EQ(counts.failed, 0);
    EXPECT_FALSE(counts.stopped);
    EXPECT_EQ(states(), (test::Texts{"1:2:8", "2:0:8", "3:4:1"}));
    EXPECT_EQ(test::text(*con, "select C_YuE_ID from Card_Info where ID=11"), "1700");
    EXPECT_EQ(test::row(*con, "select Pinfo_id,XF_Type,YuE_Old,YuE_Change,YuE_New,Operator_id from Record_XF"),
              (test::Texts{"1", "11", "1200", "500", "1700", "1"}));  // the fixed operator 1
}

// Stopped after the first row: the second is left prepared for a later run.
TEST_P(IdGrantRun, AStopLeavesTheRestAsItWas) {
    batchRow(1, 1, 0, -1, 500);
    batchRow(3, 1, 0, -1, 250);
    ID_Grant::Run run(bt, batch("1"));
    const auto counts = run.grant([](std::int64_t, std::int64_t) { return false; });
    EXPECT_TRUE(counts.stopped);
    EXPECT_EQ(counts.credited, 1);
    EXPECT_EQ(states(), (test::Texts{"1:2:8", "3:-1:1"}));
}

// The re-grant takes the waiting rows to the card issued since; a group
// recharge is booked as a transfer recharge (174).
TEST_P(IdGrantRun, RegrantsWaitingRowsAndBooksAGroupRechargeAsATransfer) {
    batchRow(2, 1, 0, 0, 300, 1);
    batchRow(3, 1, 0, -1, 250, 1);  // prepared: no part of a re-grant
    con->execute("insert into Card_Info(ID,Pinfo_id,Card_No,Card_No_Lng,Card_Model,C_GuaShi,C_YuE_ID,C_YuCi_ID,"
                 "C_LeiBie) values (22,2,'C2b',2002,1,0,50,0,1)");
    ID_Grant::Run run(bt, batch("1", true));
    ASSERT_EQ(run.refusal(), ID_Grant::Refusal::None);
    EXPECT_EQ(run.total(), 1);
    EXPECT_EQ(run.grant({}).credited, 1);
    EXPECT_EQ(states(), (test::Texts{"2:2:8", "3:-1:1"}));
    EXPECT_EQ(test::row(*con, "select Pinfo_id,Card_No,XF_Type,YuE_Old,YuE_Change,YuE_New from Record_XF"),
              (test::Texts{"2", "C2b", "174", "50", "300", "350"}));
}

// Employees 21 to 28 with cards of 1.00, granted in batches of three: 10 fen
// times the number each, 25's refused. The progress is told after each full
// batch only (rows 3 and 7: 25 holds no place in the second); 25 alone is
// left as he was. A second batch of 1 fen each, stopped at the first chance:
// the first three are credited whole, the others untouched.
TEST_P(IdGrantRun, InBatchesAFailureLeavesOneAloneAndAStopKeepsTheBatchesDone) {
    test::batchesOf(3);
    sv->yieldAlways = false;
    for (int p = 21; p <= 28; ++p) {
        con->execute("insert into Card_Info(ID,Pinfo_id,Card_No,Card_No_Lng,Card_Model,C_GuaShi,C_YuE_ID,C_YuCi_ID,"
                     "C_LeiBie) values (" + std::to_string(100 + p) + "," + std::to_string(p) + ",'K" +
                     std::to_string(p) + "'," + std::to_string(5000 + p) + ",1,0,100,0,1)");
        batchRow(p, 5, 0, -1, 10 * p);
        batchRow(p, 6, 0, -1, 1);
    }
    test::refuseWrites(*con, engine(), "no_25", "insert", "Record_XF", "new.Pinfo_id=25");
    ID_Grant::Run run(bt, batch("5"));
    std::vector<std::int64_t> seen;
    const auto counts = run.grant([&](std::int64_t done, std::int64_t) {
        seen.push_back(done);
        return true;
    });
    EXPECT_EQ(seen, (std::vector<std::int64_t>{3, 7}));
    EXPECT_EQ(counts.credited, 7);
    EXPECT_EQ(counts.failed, 1);
    EXPECT_EQ(states(5), (test::Texts{"21:2:8", "22:2:8", "23:2:8", "24:2:8", "25:-1:1", "26:2:8", "27:2:8", "28:2:8"}));
    EXPECT_EQ(test::column(*con, "select C_YuE_ID from Card_Info where ID>120 order by ID"),
              (test::Texts{"310", "320", "330", "340", "100", "360", "370", "380"}));
    EXPECT_EQ(test::column(*con, "select Pinfo_id||':'||YuE_Old||':'||YuE_New from Record_XF order by Pinfo_id"),
              (test::Texts{"21:100:310", "22:100:320", "23:100:330", "24:100:340", "26:100:360", "27:100:370",
                           "28:100:380"}));

    test::allowWrites(*con, engine(), "no_25", "Record_XF");
    ID_Grant::Run stopped(bt, batch("6"));
    const auto part = stopped.grant([](std::int64_t, std::int64_t) { return false; });
    EXPECT_TRUE(part.stopped);
    EXPECT_EQ(part.credited, 3);
    EXPECT_EQ(states(6), (test::Texts{"21:2:8", "22:2:8", "23:2:8", "24:-1:1", "25:-1:1", "26:-1:1", "27:-1:1",
                                      "28:-1:1"}));
    EXPECT_EQ(test::column(*con, "select C_YuE_ID from Card_Info where ID>120 order by ID"),
              (test::Texts{"311", "321", "331", "340", "100", "360", "370", "380"}));
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where YuE_Change=1"), 3);
}

// In one set: two rows for 1 add both amounts to card 11 (12.00 + 5.00 +
// 2.50 = 19.50), each row from the balance the one before left; 3 has a
// second usable card (14), and is credited on his first (13) as one at a
// time would.
TEST_P(IdGrantRun, EachRowOfASetAddsToTheEmployeesFirstUsableCard) {
    con->execute("insert into Card_Info(ID,Pinfo_id,Card_No,Card_No_Lng,Card_Model,C_GuaShi,C_YuE_ID,C_YuCi_ID,"
                 "C_LeiBie) values (14,3,'C3b',1004,1,0,100,0,2)");
    batchRow(1, 1, 0, -1, 500);
    batchRow(3, 1, 0, -1, 400);
    batchRow(1, 1, 0, -1, 250);
    ID_Grant::Run run(bt, batch("1"));
    EXPECT_EQ(run.grant({}).credited, 3);
    EXPECT_EQ(test::column(*con, "select ID||' '||C_YuE_ID from Card_Info where ID<>12 order by ID"),
              (test::Texts{"11 1950", "13 400", "14 100"}));
    EXPECT_EQ(test::column(*con, "select Card_No||' '||YuE_Old||' '||YuE_Change||' '||YuE_New from Record_XF "
                                 "order by ID"),
              (test::Texts{"C1 1200 500 1700", "C3 0 400 400", "C1 1700 250 1950"}));
}

// Employees 31 to 39 with cards, granted in one batch: 39's credit undoes
// the whole transaction (at once on the file, at the commit on the server),
// so each of the nine rows is counted failed and left prepared.
TEST_P(IdGrantRun, ABatchLostWholeCountsEachOfItsRowsFailed) {
    test::batchesOf(100);
    for (int p = 31; p <= 39; ++p) {
        con->execute("insert into Card_Info(ID,Pinfo_id,Card_No,Card_No_Lng,Card_Model,C_GuaShi,C_YuE_ID,C_YuCi_ID,"
                     "C_LeiBie) values (" + std::to_string(100 + p) + "," + std::to_string(p) + ",'K" +
                     std::to_string(p) + "'," + std::to_string(5000 + p) + ",1,0,100,0,1)");
        batchRow(p, 7, 0, -1, 10);
    }
    test::loseTransactions(*con, engine(), "lose_39", "insert", "Record_XF", "new.Pinfo_id=39");
    ID_Grant::Run run(bt, batch("7"));
    const auto counts = run.grant({});
    EXPECT_EQ(counts.credited, 0);
    EXPECT_EQ(counts.failed, 9);
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_OK where B_Times=7 and B_SF=-1"), 9);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF"), 0);
    EXPECT_EQ(test::number(*con, "select sum(C_YuE_ID) from Card_Info where ID>130"), 900);
}

// A set that fails is granted row by row, the refused row left as it was:
// 3 is then credited on his first usable card (13) too, though 13 was
// written after 14 (handed to another employee and back), and a server may
// list it last.
TEST_P(IdGrantRun, ARowGrantedAloneGoesToTheFirstUsableCardToo) {
    con->execute("insert into Card_Info(ID,Pinfo_id,Card_No,Card_No_Lng,Card_Model,C_GuaShi,C_YuE_ID,C_YuCi_ID,"
                 "C_LeiBie) values (14,3,'C3b',1004,1,0,100,0,2)");
    con->execute("update Card_Info set PInfo_id=99 where ID=13");
    con->execute("update Card_Info set PInfo_id=3 where ID=13");
    batchRow(1, 1, 0, -1, 500);
    batchRow(3, 1, 0, -1, 400);
    test::refuseWrites(*con, engine(), "no_1", "insert", "Record_XF", "new.Pinfo_id=1");
    ID_Grant::Run run(bt, batch("1"));
    const auto counts = run.grant({});
    EXPECT_EQ(counts.credited, 1);
    EXPECT_EQ(counts.failed, 1);
    EXPECT_EQ(test::column(*con, "select ID||' '||C_YuE_ID from Card_Info where ID<>12 order by ID"),
              (test::Texts{"11 1200", "13 400", "14 100"}));
    EXPECT_EQ(states(), (test::Texts{"1:-1:1", "3:2:8"}));
}
