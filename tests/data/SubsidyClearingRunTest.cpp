// The month-end clearing's listing and clearing runs without a window, on
// both engines; figures by hand from the rows written here.
#include "data/SubsidyClearingRun.h"
#include "data/XFService.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

// March 2011. 张三 (1): 100.00 and 5 times credited, a prepared row that is
// no subsidy yet; 20.00 and 2 times spent at terminals without a serial, an
// IC row that is not his ID spending. 李四 (2): 20.00 credited, nothing
// spent. 王五 (3): 10.00 credited, only a lost ID card.
class ClearingRun : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        sv->clock = "2026-12-06 10:00:00";
        con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Del_YN) values (1,'01','总部',0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,Del_YN) values
 (1,1,'01','张三','E1',0),(2,1,'01','李四','E2',0),(3,1,'01','王五','E3',0);
insert into Card_Info(ID,Pinfo_id,Card_No,Card_No_Lng,Card_Model,C_GuaShi,C_YuE_ID,C_YuCi_ID,C_LeiBie) values
 (11,1,'C1',1001,1,0,20000,10,3),(12,2,'C2',1002,1,0,5000,0,3),(13,3,'C3',1003,1,1,8000,0,3);
insert into BuTie_OK(Pinfo_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,B_SF,B_Unit) values
 (1,10000,0,2011,3,1,2,0),(1,0,5,2011,3,2,2,3),(1,5000,0,2011,3,3,-1,0),(2,2000,0,2011,3,1,2,0),
 (3,1000,0,2011,3,1,2,0);
)");
        tx(1, "2011-03-05 12:00:00", -2000, 0, 0);
        tx(1, "2011-03-07 12:00:00", 0, -2, 0);
        tx(1, "2011-03-08 12:00:00", -9999, 0, 5);
        xf.Set_strCN(cs);
    }
    void tx(int person, const char* at, int money, int times, int serial) {
        test::XfRow().person(person).date(at).type(1).money(money).times(times).cardSerial(serial).timesSerial(0)
            .insert(*con);
    }
    Clearing_Store::Counts clear(const std::vector<Clearing_Store::Listed>& lines,
                                 const Clearing_Store::Progress& progress = {}) {
        return Clearing_Store::Clear_Listed(cs, 2011, 3, 9, lines, progress);
    }
    std::string balance(int card) {
        return test::text(*con, "select C_YuE_ID||' '||C_YuCi_ID from Card_Info where ID=" + std::to_string(card));
    }

    XFService xf;
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(ClearingRun);

TEST_P(ClearingRun, ListsEachEmployeesMonthInTheListsOrder) {
    const DataList employees = xf.Get_Emp_Check2("01", "", "");
    std::vector<std::string> seen;
    std::vector<QL_Figures> figures;
    QL_List(xf, employees, "2011-03", [&](const QL_Line& line, std::int64_t done, std::int64_t total) {
        seen.push_back(line.pinfo + " " + line.name + " " + std::to_string(done) + "/" + std::to_string(total));
        figures.push_back(line.figures);
        return true;
    });
    ASSERT_EQ(seen, (std::vector<std::string>{"1 张三 1/3", "2 李四 2/3", "3 王五 3/3"}));
    EXPECT_EQ(figures[0].subsidyFen, 10000);
    EXPECT_EQ(figures[0].subsidyTimes, 5);
    EXPECT_EQ(figures[0].spentFen, -2000);
    EXPECT_EQ(figures[0].spentTimes, -2);
    EXPECT_FALSE(figures[0].cleared);
    EXPECT_EQ(figures[1].subsidyFen, 2000);
    EXPECT_EQ(figures[1].spentFen, 0);

    // The sink stops the listing.
    seen.clear();
    QL_List(xf, employees, "2011-03", [&](const QL_Line& line, std::int64_t, std::int64_t) {
        seen.push_back(line.pinfo);
        return false;
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"1"}));
}

// Ticked lines only; one cleared when listed is counted so without a
// statement, one without a usable card fails and the others go on. 张三:
// 100.00 - 20.00 = 80.00 and 5 - 2 = 3 times from 200.00 and 10 times; 李四:
// 20.00 from 50.00.
TEST_P(ClearingRun, ClearsTheTickedLinesOneByOneAndCountsThem) {
    std::vector<std::int64_t> seen;
    const auto counts = clear({{1, true, false}, {2, false, false}, {3, true, false}, {2, true, true}},
                              [&](std::int64_t done, std::int64_t total) {
                                  seen.push_back(done * 10 + total);
                                  return true;
                              });
    EXPECT_EQ(seen, (std::vector<std::int64_t>{14, 24, 34, 44}));
    EXPECT_EQ((std::vector<int>{counts.cleared, counts.noCard, counts.failed, counts.before}),
              (std::vector<int>{1, 1, 0, 1}));
    EXPECT_FALSE(counts.stopped);
    EXPECT_EQ(balance(11), "12000 7");
    EXPECT_EQ(balance(12), "5000 0");
    EXPECT_EQ(balance(13), "8000 0");
    EXPECT_EQ(test::column(*con, "select Pinfo_ID||' '||B_JinE||' '||B_Ci||' '||ZhunBei_Ren_ID||' '||ZhunBei_DT "
                                 "from BuTie_OK where B_Times=-1"),
              (test::Texts{"1 -8000 -3 9 2026-12-06 10:00:00"}));

    // Listed before the clearing, cleared meanwhile: found cleared, not cleared twice.
    const auto again = clear({{1, true, false}, {2, true, false}});
    EXPECT_EQ((std::vector<int>{again.cleared, again.noCard, again.failed, again.before}),
              (std::vector<int>{1, 0, 0, 1}));
    EXPECT_EQ(balance(11), "12000 7");
    EXPECT_EQ(balance(12), "3000 0");
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where XF_Type in (166,168)"), 4);
}

// Stopped after the first line: the second employee is left as he was.
TEST_P(ClearingRun, AStopLeavesTheRestAsTheyWere) {
    const auto counts = clear({{1, true, false}, {2, true, false}}, [](std::int64_t, std::int64_t) { return false; });
    EXPECT_TRUE(counts.stopped);
    EXPECT_EQ(counts.cleared, 1);
    EXPECT_EQ(balance(12), "5000 0");
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_OK where B_Times=-1"), 1);
}

// A write refused for one employee leaves him whole and is counted failed.
TEST_P(ClearingRun, AFailureLeavesThatEmployeeWholeAndTheOthersGoOn) {
    test::refuseWrites(*con, engine(), "no_marker_1", "insert", "BuTie_OK", "new.Pinfo_ID=1");
    const auto counts = clear({{1, true, false}, {2, true, false}});
    EXPECT_EQ((std::vector<int>{counts.cleared, counts.noCard, counts.failed, counts.before}),
              (std::vector<int>{1, 0, 1, 0}));
    EXPECT_EQ(balance(11), "20000 10");
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where Pinfo_id=1 and XF_Type in (166,168)"), 0);
    EXPECT_EQ(balance(12), "3000 0");
}

// 李四 spent 3.00 before the run and 5.00 between its first and second set,
// after the month's sums were read: both count, 20.00 - 8.00 = 12.00 go.
TEST_P(ClearingRun, SpendingBookedWhileTheRunGoesOnIsCounted) {
    tx(2, "2011-03-10 12:00:00", -300, 0, 0);
    bool booked = false;
    const auto counts = clear({{1, true, false}, {2, true, false}}, [&](std::int64_t done, std::int64_t) {
        if (done == 1 && !booked) {
            booked = true;
            tx(2, "2011-03-20 12:00:00", -500, 0, 0);
        }
        return true;
    });
    EXPECT_TRUE(booked);
    EXPECT_EQ(counts.cleared, 2);
    EXPECT_EQ(balance(11), "12000 7");
    EXPECT_EQ(balance(12), "3800 0");
}

// The month's spending read in pieces of two rows on a rollback-journal
// file: four rows of one second, the month's first and last second, and the
// seconds just outside it. 张三 -20.00 and -2 times as before (his IC row is
// no ID spending); 李四 4 x -1.00 - 0.07 - 0.11 = -4.18.
TEST_P(ClearingRun, TheMonthsSpendingReadInPiecesHoldsEveryRowOnce) {
    for (int i = 0; i < 4; ++i) tx(2, "2011-03-15 12:00:00", -100, 0, 0);
    tx(2, "2011-03-01 00:00:00", -7, 0, 0);
    tx(2, "2011-03-31 23:59:59", -11, 0, 0);
    tx(2, "2011-04-01 00:00:00", -1000, 0, 0);
    tx(3, "2011-02-28 23:59:59", -500, 0, 0);
    if (engine() == test::Engine::File) con->executeScript("PRAGMA journal_mode=DELETE");
    db::ReadPieces::standardRows() = 2;
    const auto m = Clearing_Store::Month_Spent::read(*con, 2011, 3);
    EXPECT_TRUE(m.known);
    EXPECT_EQ(m.spent, (std::map<std::int64_t, std::pair<std::int64_t, std::int64_t>>{{1, {-2000, -2}}, {2, {-418, 0}}}));
}

// 张三 has a second usable ID card (14) and is listed twice in one call: he
// is cleared once, on his first card (11) as one at a time would, 80.00 and
// 3 times as above; the second line finds him cleared. 李四 as above.
TEST_P(ClearingRun, TwoCardsAndTwoLinesClearAnEmployeeOnceOnHisFirstCard) {
    con->execute("insert into Card_Info(ID,Pinfo_id,Card_No,Card_No_Lng,Card_Model,C_GuaShi,C_YuE_ID,C_YuCi_ID,"
                 "C_LeiBie) values (14,1,'C1b',1004,1,0,30000,6,3)");
    const auto counts = clear({{1, true, false}, {1, true, false}, {2, true, false}});
    EXPECT_EQ((std::vector<int>{counts.cleared, counts.noCard, counts.failed, counts.before}),
              (std::vector<int>{2, 0, 0, 1}));
    EXPECT_EQ(balance(11), "12000 7");
    EXPECT_EQ(balance(14), "30000 6");
    EXPECT_EQ(balance(12), "3000 0");
    EXPECT_EQ(test::column(*con, "select Pinfo_ID||' '||B_JinE||' '||B_Ci from BuTie_OK where B_Times=-1 order by ID"),
              (test::Texts{"1 -8000 -3", "2 -2000 0"}));
    EXPECT_EQ(test::column(*con, "select Card_No||' '||XF_Type||' '||YuE_Change||' '||YuCi_Change from Record_XF "
                                 "where XF_Type in (166,168) order by Card_No,XF_Type"),
              (test::Texts{"C1 166 -8000 0", "C1 168 0 -3", "C2 166 -2000 0", "C2 168 0 0"}));
}
