// The IC and ID balance queries without their windows: balances worked out
// by hand from the rows inserted here.
#include "data/BalanceQuery.h"
#include "support/Fixtures.h"
#include "support/XfRow.h"

using namespace tolvenk;

namespace {

using T = test::Texts;

// Person 1 (E1): +1000, -300, an uncertain -100 and, after the day, -50;
// person 2 (E2) has no record.
class BalanceQuery : public test::WindowTest {
protected:
    void SetUp() override {
        test::WindowTest::SetUp();
        if (IsSkipped()) return;
        con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values (1,'01','总部',0,0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,P_Num,Del_YN) values
 (1,1,'01','张三','E1','N1',0),(2,1,'01','李四','E2','N2',0);
)");
        rec(1, 1000, 1000, "2026-05-01 10:00:00");
        rec(2, -300, 700, "2026-05-02 10:00:00");
        rec(3, -100, 600, "2026-05-02 12:00:00", 1);
        rec(4, -50, 650, "2026-05-04 10:00:00");
        XF.Set_strCN(cs);
        BT.Set_strCN(cs);
    }
    void rec(int serial, int change, int after, const std::string& date, int err = 0) {
        test::XfRow().person(1).card("C1").type(1).cardSerial(serial).timesSerial(0).money(change).balance(after)
            .timesLeft(7).date(date).err(err).insert(*con);
    }
    // Name, found, date, balance of every row handed on, with done/total.
    Balance_Query::Row_Sink collect(std::vector<T>& out, int stopAt = 0) {
        return [&out, stopAt](const Balance_Query::Row& r, std::int64_t done, std::int64_t total) {
            out.push_back({r.name, r.found ? "found" : "-", r.date, r.counted ? r.balance.whole() : "none",
                           r.times, std::to_string(done) + "/" + std::to_string(total)});
            return done != stopAt;
        };
    }
    XFService XF;
    BTService BT;
};

TOLVENK_ON_BOTH_ENGINES(BalanceQuery);

TEST_P(BalanceQuery, IcBalanceIsTheLastValidRecordsUpToTheEndOfTheDay) {
    std::vector<T> rows;
    const auto r = Balance_Query::IC_Balances(XF, BT, {"01", "", ""}, "2026-05-03", std::nullopt, collect(rows));
    EXPECT_EQ(rows, (std::vector<T>{{"张三", "found", "2026-05-02 10:00:00", "700", "7", "1/2"},
                                    {"李四", "-", "", "none", "", "2/2"}}));
    EXPECT_EQ(r.total.whole(), "700");
    EXPECT_FALSE(r.stopped);
    // The whole last day counts.
    rows.clear();
    EXPECT_EQ(Balance_Query::IC_Balances(XF, BT, {"01", "", ""}, "2026-05-04", std::nullopt, collect(rows)).total.whole(), "650");
}

// Several rows of one card in its last second, as a terminal uploads them
// (and not in the order of their IDs): the balance is that of the row written
// last, the highest ID, 8.30 with 3 times left; an uncertain row and an ID
// row of that second, and a row after the day, do not count.
TEST_P(BalanceQuery, OfSeveralRowsInTheLastSecondTheOneWrittenLastGivesTheBalance) {
    const auto ic = [&](int id, int serial, int change, int after, int timesLeft, const char* at, int err = 0) {
        test::XfRow().id(id).person(2).card("C2").type(1).cardSerial(serial).timesSerial(0).money(change)
            .balance(after).timesLeft(timesLeft).date(at).err(err).insert(*con);
    };
    ic(10, 1, 1000, 1000, 6, "2026-05-01 09:00:00");
    ic(11, 2, -120, 880, 5, "2026-05-02 18:30:05");
    ic(13, 4, -30, 830, 3, "2026-05-02 18:30:05");
    ic(12, 3, -20, 860, 4, "2026-05-02 18:30:05");
    ic(14, 5, -10, 820, 2, "2026-05-02 18:30:05", 1);
    test::XfRow().id(15).person(2).card("C2").type(5).cardSerial(0).timesSerial(0).money(500).balance(1330)
        .date("2026-05-02 18:30:05").err(0).insert(*con);
    ic(16, 6, -30, 800, 1, "2026-05-04 08:00:00");
    std::vector<T> rows;
    const auto r = Balance_Query::IC_Balances(XF, BT, {"01", "", ""}, "2026-05-03", std::nullopt, collect(rows));
    EXPECT_EQ(rows, (std::vector<T>{{"张三", "found", "2026-05-02 10:00:00", "700", "7", "1/2"},
                                    {"李四", "found", "2026-05-02 18:30:05", "830", "3", "2/2"}}));
    EXPECT_EQ(r.total.whole(), "1530");
}

TEST_P(BalanceQuery, IdBalanceIsTheSumOfValidChangesAndNothingCountedIsNoBalance) {
    std::vector<T> rows;
    const auto r = Balance_Query::ID_Balances(XF, BT, {"01", "", ""}, "2026-05-03", collect(rows));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (T{"张三", "found", "2026-05-02 10:00:00", "700", "", "1/2"}));
    EXPECT_EQ(rows[1][3], "none");
    EXPECT_EQ(r.total.whole(), "700");
}

// The choice is summed together; a sum past 64 bits, and one whose rows
// could have passed them on the way, still come out exact beside it.
TEST_P(BalanceQuery, IdSumsNearAndPastSixtyFourBitsStayExactBesideOrdinaryOnes) {
    con->execute("insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,P_Num,Del_YN) values "
                 "(3,1,'01','王五','E3','N3',0)");
    const auto id = [&](int person, std::int64_t change, const char* at) {
        test::XfRow().person(person).type(5).money(change).date(at).err(0).insert(*con);
    };
    id(2, 4611686018427387904, "2026-05-01 08:00:00");  // 2^62
    id(2, 4611686018427387903, "2026-05-02 08:00:00");  // 2^62 - 1
    id(3, INT64_MAX, "2026-05-01 09:00:00");
    id(3, 1, "2026-05-03 09:00:00");
    std::vector<T> rows;
    const auto r = Balance_Query::ID_Balances(XF, BT, {"01", "", ""}, "2026-05-03", collect(rows));
    EXPECT_EQ(rows, (std::vector<T>{{"张三", "found", "2026-05-02 10:00:00", "700", "", "1/3"},
                                    {"李四", "found", "2026-05-02 08:00:00", "9223372036854775807", "", "2/3"},
                                    {"王五", "found", "2026-05-03 09:00:00", "9223372036854775808", "", "3/3"}}));
    // 700 + (2^63 - 1) + 2^63 = 2^64 + 699.
    EXPECT_EQ(r.total.whole(), "18446744073709552315");
}

TEST_P(BalanceQuery, TheSinkStopsTheQuery) {
    std::vector<T> rows;
    const auto r = Balance_Query::ID_Balances(XF, BT, {"01", "", ""}, "2026-05-03", collect(rows, 1));
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(rows.size(), 1u);
}

// A break in person 2's chain (1000 - 100 should leave 900, 800 was
// written) is mended before his balance is handed on, and only once.
TEST_P(BalanceQuery, TheCorrectionMendsEachBreakOnce) {
    test::XfRow().person(2).card("C9").type(5).cardSerial(1).timesSerial(0).money(1000).balance(1000)
        .date("2026-05-01 10:00:00").err(0).insert(*con);
    test::XfRow().person(2).card("C9").type(1).cardSerial(2).timesSerial(0).money(-100).balance(800)
        .date("2026-05-02 10:00:00").err(0).insert(*con);
    con->execute("insert into Card_Log(Pinfo_id,Card_No,Op_Type) values (2,'C9',0)");
    std::vector<T> rows;
    const auto r = Balance_Query::IC_Balances(XF, BT, {"01", "", ""}, "2026-05-03", std::string("2026-12-31 00:00:00"),
                                              collect(rows));
    EXPECT_EQ(r.failedCorrections, 0) << r.firstError;
    EXPECT_EQ(rows[1][3], "800");  // read before the correction, which never changes a balance
    EXPECT_EQ(test::rows(*con, "select XF_Type,YuE_Change,YuE_New,Card_LiuShui,Date_Time from Record_XF where Err_Code=2"),
              (std::vector<T>{{"201", "-100", "900", "1", "2026-05-02 09:59:59"}}));
    Balance_Query::IC_Balances(XF, BT, {"01", "", ""}, "2026-05-03", std::string("2026-12-31 00:00:00"), {});
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where Err_Code=2"), 1);
    EXPECT_EQ(Balance_Query::Correction_Cutoff(BT), "");
}

}  // namespace
