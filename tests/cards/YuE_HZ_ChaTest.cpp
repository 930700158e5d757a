#include <QTimer>

#include <map>

#include "CardsFixture.h"
#include "cards/YuE_HZ_Cha.h"

using namespace tolvenk;

namespace {

class IcBalance : public test::CardsWindow<YuE_HZ_Cha> {
protected:
    void SetUp() override {
        CardsWindow::SetUp();
        if (IsSkipped()) return;
        addPeople();
        // The earliest live terminal was read on 1 December: its New_Date is the correction's cut-off.
        con->executeScript(R"(
insert into Sys_Para(Para_Name,P1,P2) values ('JieSuan_Date','2026-03-01 00:00:00','1');
insert into Mach_Info(Mach_ID,Mach_Name,Mach_Type,Del_YN,New_Date) values
 (1,'一号机',301,0,'2026-12-01 06:00:00'),(2,'旧机',301,1,'2026-01-01 06:00:00');
insert into Card_Log(Pinfo_id,Card_No,Op_Type,Date_Time) values (1,'X',0,'2026-01-01'),(1,'Y',0,'2026-02-01'),(4,'W',0,'2026-01-01');
)");
    }
    void row(int person, const std::string& card, int serial, int change, int after, const std::string& date,
             int err = 0) {
        test::XfRow().person(person).card(card).kind(2).type(1).cardSerial(serial).money(change).balance(after)
            .timesLeft(serial).date(date).err(err).insert(*con);
    }
    void query(const std::string& dept, const std::string& day, bool correct = false) {
        if (!w.Loaded()) w.Load();
        w.Query.ucDep1.selectDepartment(dept);
        w.Query.DTPicker1.setValue(day);
        w.Check1.setValue(correct ? forms::vbChecked : forms::vbUnchecked);
        w.Query.Command1.click();
    }
    test::Texts gridRow(int r) {
        test::Texts out;
        for (int c = 1; c <= 7; ++c) out.push_back(cell(r, c));
        return out;
    }
    using T = test::Texts;
};

TOLVENK_ON_BOTH_ENGINES(IcBalance);

TEST_P(IcBalance, BalanceAtTheEndOfTheDayFromTheLastValidRecord) {
    row(1, "X", 1, 1000, 1000, "2026-11-20 10:00:00");
    row(1, "Y", 1, 500, 800, "2026-11-25 23:59:59");   // his other card, later: it gives the balance
    row(1, "X", 2, -100, 900, "2026-11-25 12:00:00", 1);
    row(1, "Y", 2, -100, 700, "2026-11-26 00:00:00");  // the next day
    row(2, "Z", 1, 50, 50, "2026-11-01 10:00:00", 2);  // a correction row never gives the balance
    row(4, "W", 1, 250, 250, "2026-11-02 10:00:00");
    w.Load();
    EXPECT_EQ(w.Caption(), "IC卡余额查询");
    EXPECT_EQ(w.Query.Label1.Caption(), "查询日期:");
    EXPECT_EQ(w.Query.Command4(1).Caption(), "输出到HTML");
    EXPECT_EQ(w.Query.DTPicker1.MinDate(), "2026-03-01");
    EXPECT_EQ(w.Query.DTPicker1.MaxDate(), "2026-11-30");  // the day before the live terminal was read
    EXPECT_EQ(w.Query.DTPicker1.Date_Value(), "2026-11-30");
    EXPECT_TRUE(w.Check1.Visible());
    EXPECT_EQ(gridRow(0), (T{"员工姓名", "员工工号", "部门名称", "截止日期", "卡上余额", "次数余额", "截止日期"}));

    // No department chosen: the header alone.
    w.Query.Command1.click();
    EXPECT_EQ(w.Query.Grid1.Rows(), 1);

    query("0", "2026-11-25");
    ASSERT_EQ(w.Query.Grid1.Rows(), 6);
    EXPECT_EQ(gridRow(1), (T{"张三丰", "E2", "总部", "", "", "", ""}));
    EXPECT_EQ(gridRow(2), (T{"张三", "E1", "财务", "2026-11-25 23:59:59", "￥8.00", "1", "2026-11-25 23:59:59"}));
    EXPECT_EQ(gridRow(3), (T{"李四", "E3", "食堂", "", "", "", ""}));  // deleted employees are listed
    EXPECT_EQ(gridRow(4), (T{"王五", "E4", "食堂", "2026-11-02 10:00:00", "￥2.50", "1", "2026-11-02 10:00:00"}));
    EXPECT_EQ(cell(5, 1), "总计:");
    EXPECT_EQ(cell(5, 5), "￥10.50");
    EXPECT_EQ(w.Query.Grid1.Column(5).Alignment(), 14);
    EXPECT_EQ(w.Query.Grid1.Cell(5, 5).Alignment(), 10);
    EXPECT_FALSE(w.Query.Pic_1.Visible());

    query("09", "2026-11-26");
    ASSERT_EQ(w.Query.Grid1.Rows(), 2);
    EXPECT_EQ(cell(1, 5), "￥0.00");
    query("01", "2026-11-26", false);
    EXPECT_EQ(cell(2, 5), "￥7.00");
}

// The worked examples: money lost (201) and found (202) bridge their breaks
// one serial and one second before; a break after the cut-off stays; the
// next query finds nothing more to bridge. An insert that fails is counted.
// Each balance is shown as stored and the total is their exact sum, never
// a wrapped one.
TEST_P(IcBalance, TheTotalOfTheLargestBalancesIsExact) {
    test::XfRow().person(1).card("X").kind(2).type(1).cardSerial(1).money(1).balance(INT64_MAX)
        .date("2026-11-20 10:00:00").insert(*con);
    test::XfRow().person(4).card("W").kind(2).type(1).cardSerial(1).money(1).balance(INT64_MAX)
        .date("2026-11-20 10:00:00").insert(*con);
    test::XfRow().person(2).card("Z").kind(2).type(1).cardSerial(1).money(1).balance(9007199254740993)
        .date("2026-11-20 10:00:00").insert(*con);
    query("0", "2026-11-25");
    ASSERT_EQ(w.Query.Grid1.Rows(), 6);
    EXPECT_EQ(cell(1, 5), "￥90071992547409.93");
    EXPECT_EQ(cell(2, 5), "￥92233720368547758.07");
    // 2 * (2^63 - 1) + 2^53 + 1 = 18446744073709551614 + 9007199254740993 = 18455751272964292607.
    EXPECT_EQ(cell(5, 5), "￥184557512729642926.07");

    // A negative largest one: 2 (2^63 - 1) - 2^63 = 2^63 - 2.
    con->execute("update Record_XF set YuE_New=" + std::to_string(INT64_MIN) + " where Pinfo_id=2");
    query("0", "2026-11-25");
    EXPECT_EQ(cell(1, 5), "￥-92233720368547758.08");
    EXPECT_EQ(cell(5, 5), "￥92233720368547758.06");
}

TEST_P(IcBalance, CorrectionsBridgeEachBreakAndFailedInsertsAreReported) {
    row(1, "X", 1, 100, 100, "2026-11-01 10:00:00");
    row(1, "X", 2, -30, 50, "2026-11-02 10:00:00");   // started from 80, not 100
    row(1, "X", 3, -10, 70, "2026-11-03 00:00:00");   // started from 80, not 50
    row(1, "X", 4, -10, 10, "2026-12-02 10:00:00");   // after the cut-off
    row(1, "Y", 1, 100, 100, "2026-11-01 10:00:00");  // a card whose chain holds
    row(1, "Y", 2, -10, 90, "2026-11-02 10:00:00");
    row(4, "W", 1, 40, 40, "2026-11-01 10:00:00");
    row(4, "W", 2, -10, 20, "2026-11-02 10:00:00");   // started from 30
    con->execute("update Record_XF set Rec_Time='R'||Card_LiuShui");
    test::refuseWrites(*con, engine(), "boom", "insert", "Record_XF", "new.Card_No='W'", "injected");
    query("0", "2026-11-30", true);
    const auto rows = test::rows(*con, "select Pinfo_id,Card_No,C_LeiBie,XF_Type,YuE_Old,YuE_Change,YuE_New,Card_LiuShui,"
                                       "Mach_LiuShui,Date_Time,Err_Code,DC_Date from Record_XF where Err_Code=2 order by Card_LiuShui");
    EXPECT_EQ(rows, (std::vector<T>{{"1", "X", "2", "201", "0", "-20", "80", "1", "-3", "2026-11-02 09:59:59", "2", "R1"},
                                    {"1", "X", "2", "202", "0", "30", "80", "2", "-3", "2026-11-02 23:59:59", "2", "R2"}}));
    EXPECT_EQ(cell(2, 5), "￥0.70");  // read before the corrections, which never give a balance
    ASSERT_EQ(sv->boxes.size(), 1u);
    // The reason in plain words; the engine's own below for support.
    EXPECT_EQ(sv->boxes[0].prompt.rfind("有 1 条损益记录未能写入：数据库未能完成这一步操作。\n", 0), 0u) << sv->boxes[0].prompt;
    EXPECT_NE(sv->boxes[0].prompt.find("injected"), std::string::npos);
    EXPECT_EQ(sv->boxes[0].style, platform::vbCritical);

    test::allowWrites(*con, engine(), "boom", "Record_XF");
    query("0", "2026-11-30", true);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where Err_Code=2"), 3);
    EXPECT_EQ(test::text(*con, "select YuE_Change||','||YuE_New||','||Date_Time from Record_XF where Err_Code=2 and Card_No='W'"),
              "-10,30,2026-11-02 09:59:59");
    query("0", "2026-11-30", true);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where Err_Code=2"), 3);
    EXPECT_EQ(sv->boxes.size(), 1u);
}

TEST_P(IcBalance, WithoutLiveTerminalsTheServerDayIsTheLastAndNoCorrectionIsOffered) {
    con->execute("update Mach_Info set Del_YN=1");
    w.Load();
    EXPECT_FALSE(w.Check1.Visible());
    EXPECT_EQ(w.Query.DTPicker1.MaxDate().size(), 10u);
    EXPECT_EQ(w.Query.DTPicker1.Date_Value(), w.Query.DTPicker1.MaxDate());
}

// On a generated database, clean and with a real site's dirt: every
// employee's balance at a day against the latest valid IC row found by
// walking all rows here; of rows in the same second, the one written last.
class GeneratedIcBalance : public IcBalance {
protected:
    void balancesMatchAWalkOverAllRows(bool dirty) {
        useGenerated(20000, dirty);
        const std::string bound = "2026-10-20 24:00:00";
        struct Latest {
            std::string when;
            std::int64_t id = 0;
            std::string balance;
        };
        std::map<std::string, Latest> latest;  // by employee code
        int ties = 0;
        for (const auto& r : test::rows(*con, "select p.P_Code,x.Date_Time,x.ID,x.YuE_New from Record_XF x join Ren_Per_Info p "
                                              "on p.Pinfo_ID=x.Pinfo_id where x.Card_LiuShui<>0 and x.Err_Code=0")) {
            if (r[1] > bound) continue;
            Latest& l = latest[r[0]];
            const std::int64_t id = std::stoll(r[2]);
            if (r[1] < l.when || (r[1] == l.when && id < l.id)) continue;
            if (r[1] == l.when && r[3] != l.balance) ++ties;
            l = {r[1], id, r[3]};
        }
        w.Load();
        w.Query.DTPicker1.setValue("2026-10-20");
        std::int64_t shownTotal = 0, gridTotals = 0;
        int listed = 0;
        for (const auto& d : test::column(*con, "select Dept_No from Ren_Dept_Info where Dept_Level=0")) {
            w.Query.ucDep1.selectDepartment(d);
            w.Query.Command1.click();
            for (int r = 1; r < w.Query.Grid1.Rows() - 1; ++r, ++listed) {
                const Latest& l = latest[cell(r, 2)];
                EXPECT_EQ(cell(r, 4), l.when) << cell(r, 2);
                if (l.when.empty()) continue;
                const std::int64_t fen = std::llround(std::stod(cell(r, 5).substr(3)) * 100);
                EXPECT_EQ(std::to_string(fen), l.balance) << cell(r, 2);
                shownTotal += fen;
            }
            gridTotals += std::llround(std::stod(cell(w.Query.Grid1.Rows() - 1, 5).substr(3)) * 100);
        }
        // The dirt adds an employee without a card and one whose card is never used.
        EXPECT_EQ(listed, dirty ? 302 : 300);
        EXPECT_EQ(gridTotals, shownTotal);
        EXPECT_GT(shownTotal, 0);
        if (dirty) {
            EXPECT_GT(ties, 0);
        }
    }
};
TOLVENK_ON_FILE_ONLY(GeneratedIcBalance);

TEST_P(GeneratedIcBalance, BalancesOfAGeneratedDatabaseMatchAWalkOverAllRows) { balancesMatchAWalkOverAllRows(false); }
TEST_P(GeneratedIcBalance, BalancesOfADirtyDatabaseMatchAWalkOverAllRows) { balancesMatchAWalkOverAllRows(true); }

TEST_P(IcBalance, CaptionsFitInEveryLanguage) {
    EXPECT_EQ(test::badCaptionsInEveryLanguage({&w}), T{});
}

TEST_P(IcBalance, OnScreenTheQueryButtonListsTheBalances) {
    row(4, "W", 1, 250, 250, "2026-11-02 10:00:00");
    QTimer::singleShot(0, [&] {
        w.Query.ucDep1.selectDepartment("02");
        test::clickOnScreen(w.Query.Command1);
        EXPECT_EQ(w.Query.Grid1.Rows(), 4);
        EXPECT_EQ(cell(2, 5), "￥2.50");
        EXPECT_EQ(cell(3, 5), "￥2.50");
        w.Unload();
    });
    w.Show();
}

}  // namespace

// A break on a row stamped in the same second as the row before it: the
// correction, dated a second earlier, still mends it, and running the
// correction again on the chain it left writes nothing.
TEST_P(IcBalance, ACorrectionMendsABreakWithinOneSecondAndAReRunWritesNothing) {
    row(1, "X", 1, 100, 150, "2026-11-01 10:00:00");  // a card opened with 0.50 on it
    row(1, "X", 2, -30, 50, "2026-11-02 10:00:00");   // started from 80, not 150
    row(1, "X", 3, -10, 40, "2026-11-02 10:00:00");   // the same second: holds
    row(1, "X", 4, -10, 20, "2026-11-02 10:00:00");  // started from 30, not 40
    for (int run = 0; run < 3; ++run) query("0", "2026-11-30", true);
    EXPECT_EQ(test::rows(*con, "select XF_Type,YuE_Change,YuE_New,Card_LiuShui,Date_Time from Record_XF "
                               "where Err_Code=2 order by Card_LiuShui"),
              (std::vector<T>{{"201", "-70", "80", "1", "2026-11-02 09:59:59"},
                              {"201", "-10", "30", "3", "2026-11-02 09:59:59"}}));
    EXPECT_TRUE(sv->boxes.empty());
}

// A terminal offline uploads serial 3 after the correction bridged its gap:
// the bridge no longer mends a break between the terminals' rows, so it
// gets its reverse once, and the card's balance is again the sum of its
// changes. A correction row at a break's serial and second that bridges to
// another balance is no mend of that break: the break gets its row, and the
// stray row its reverse.
TEST_P(IcBalance, ABridgeALateUploadMadeNeedlessIsReversedOnce) {
    row(1, "X", 1, 5000, 5000, "2026-11-01 08:00:00");
    row(1, "X", 2, -1000, 4000, "2026-11-02 12:00:00");
    row(1, "X", 4, -100, 1800, "2026-11-04 12:00:00");  // started from 1900: serial 3 is missing
    row(4, "W", 1, 300, 300, "2026-11-01 08:00:00");
    row(4, "W", 2, -50, 200, "2026-11-02 08:00:00");       // started from 250
    row(4, "W", 1, -999, 7, "2026-11-02 07:59:59", 2);    // at the break's serial and second, to 7
    const auto corrections = [&] {
        return test::rows(*con, "select Card_No,XF_Type,YuE_Change,YuE_New,Card_LiuShui,Date_Time from Record_XF "
                                "where Err_Code=2 order by Card_No,Date_Time,Card_LiuShui,YuE_Change");
    };
    const auto sumIsBalance = [&](const char* card) {
        return test::number(*con, std::string("select sum(YuE_Change) from Record_XF where Card_No='") + card + "'") ==
               test::number(*con, std::string("select YuE_New from Record_XF where Card_No='") + card +
                                      "' and Err_Code<>2 order by Card_LiuShui desc limit 1");
    };
    query("0", "2026-11-30", true);
    const std::vector<T> bridged{{"W", "202", "999", "1006", "0", "2026-11-02 07:59:58"},
                                 {"W", "1", "-999", "7", "1", "2026-11-02 07:59:59"},
                                 {"W", "201", "-50", "250", "1", "2026-11-02 07:59:59"},
                                 {"X", "201", "-2100", "1900", "3", "2026-11-04 11:59:59"}};
    EXPECT_EQ(corrections(), bridged);
    row(1, "X", 3, -2100, 1900, "2026-11-03 12:00:00");  // the late upload
    std::vector<T> reversed = bridged;
    reversed.insert(reversed.end() - 1, {"X", "202", "2100", "4000", "2", "2026-11-04 11:59:58"});
    for (int run = 0; run < 3; ++run) {
        query("0", "2026-11-30", true);
        EXPECT_EQ(corrections(), reversed) << "run " << run + 1;
        EXPECT_TRUE(sumIsBalance("X"));
        EXPECT_TRUE(sumIsBalance("W"));
    }
    EXPECT_TRUE(sv->boxes.empty());
}

// A row stamped exactly at the cut-off is not after it: it is checked.
TEST_P(IcBalance, ARowExactlyAtTheCutoffIsChecked) {
    row(1, "X", 1, 100, 100, "2026-11-01 10:00:00");
    row(1, "X", 2, -30, 50, "2026-12-01 06:00:00");  // started from 80
    row(1, "X", 3, -10, 40, "2026-11-30 10:00:00");  // uploaded late, dated before
    query("0", "2026-11-30", true);
    EXPECT_EQ(test::rows(*con, "select XF_Type,YuE_Change,YuE_New,Card_LiuShui,Date_Time from Record_XF "
                               "where Err_Code=2"),
              (std::vector<T>{{"201", "-20", "80", "1", "2026-12-01 05:59:59"}}));
}

// A site's dirt on one card: serial 1 uploaded twice; serial 2 re-sent in
// the same second with another amount; the card reissued under its number
// in lower case, its purse starting again at serial 1. Each break between
// two rows the terminals wrote gets one row (worked out by hand below, the
// same on both engines), and further runs write nothing: the corrections
// stand among the rows where their serials put them, not always beside
// their breaks, and close no break twice.
TEST_P(IcBalance, ACardsDirtIsCorrectedOnceAndNeverAgain) {
    con->execute("insert into Card_Log(Pinfo_id,Card_No,Op_Type,Date_Time) values (1,'x',0,'2026-03-01')");
    row(1, "X", 1, 5000, 5000, "2026-11-01 08:00:00");
    row(1, "X", 1, 5000, 5000, "2026-11-01 08:00:00");   // uploaded twice
    row(1, "X", 2, -1750, 3250, "2026-11-02 12:00:00");
    row(1, "X", 2, -1800, 3200, "2026-11-02 12:00:00");  // re-sent with another amount
    row(1, "X", 3, -200, 3050, "2026-11-03 12:00:00");   // goes on from the first
    row(1, "x", 1, 1000, 1000, "2026-11-10 08:00:00");   // the reissued card's purse
    row(1, "x", 2, -100, 900, "2026-11-11 12:00:00");
    // In the order of serial, time and upload: 1 1 1' | 2 2 2' | 3.
    const std::vector<T> once{{"201", "-5000", "0", "0", "2026-11-01 07:59:59"},   // 1 after 1
                              {"202", "1750", "5000", "1", "2026-11-02 11:59:59"},  // 2 (-1800) after 2
                              {"202", "4000", "5000", "1", "2026-11-02 11:59:59"},  // 2 after 1'
                              {"202", "2350", "3250", "2", "2026-11-03 11:59:59"},  // 3 after 2'
                              {"201", "-5000", "0", "0", "2026-11-10 07:59:59"},   // 1' after 1
                              {"201", "-2200", "1000", "1", "2026-11-11 11:59:59"}};  // 2' after 2 (-1800)
    for (int run = 0; run < 3; ++run) {
        query("0", "2026-11-30", true);
        EXPECT_EQ(test::rows(*con, "select XF_Type,YuE_Change,YuE_New,Card_LiuShui,Date_Time from Record_XF where "
                                   "Err_Code=2 order by Date_Time,YuE_Change"),
                  once)
            << "run " << run + 1;
    }
    EXPECT_TRUE(sv->boxes.empty());
}
