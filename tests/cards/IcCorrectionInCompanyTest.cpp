// The IC balance correction in company: two offices running it over the same
// department at once mend every break with exactly one correction row; a
// terminal writing to a card with breaks while it runs changes nothing of it.
#include <sqlite3.h>

#include "CardsFixture.h"
#include "InCompany.h"
#include "cards/YuE_HZ_Cha.h"
#include "data/BalanceQuery.h"
#include "platform/db/ConnectionString.h"
#include "support/Peer.h"
#include "support/PeerModule.h"
#include "support/Terminal.h"

using namespace tolvenk;
using T = test::Texts;

namespace {

constexpr int kCards = 120;

// A second office: the correction over department 01 when the test says go.
TOLVENK_PEER_JOB(CorrectDepartment) {
    test::PeerModule module(peer.arg("db"));
    module.services().clock = "2027-06-01 10:00:00";
    YuE_HZ_Cha w;
    w.Load();
    w.Query.ucDep1.selectDepartment("01");
    w.Query.DTPicker1.setValue("2026-11-30");
    w.Check1.setValue(forms::vbChecked);
    peer.report("ready");
    peer.readCommand();
    w.Query.Command1.click();
    peer.report("done " + std::to_string(module.services().boxes.size()));
    return 0;
}

class IcCorrectionInCompany : public test::CardsWindow<YuE_HZ_Cha> {
protected:
    // kCards people of department 01, each with one card whose chain breaks
    // twice: 1.00 in, then a payment that started from 0.80 (lost 0.20), then
    // one that started from 0.60 while 0.50 was left (found 0.10).
    void SetUp() override {
        CardsWindow::SetUp();
        if (IsSkipped()) return;
        std::string sql =
            "insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values (1,'01','总部',0,0);"
            "insert into Mach_Info(Mach_ID,Mach_Name,Mach_Type,Del_YN,New_Date) values "
            "(1,'一号机',301,0,'2026-12-01 06:00:00');"
            "insert into Sys_Para(Para_Name,P1,P2) values ('JieSuan_Date','2026-03-01 00:00:00','1');";
        for (int p = 1; p <= kCards; ++p) {
            const std::string id = std::to_string(p), card = "'K" + id + "'";
            sql += "insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,Del_YN) values (" + id +
                   ",1,'01','P" + id + "','E" + id + "',0);";
            sql += "insert into Card_Log(Pinfo_id,Card_No,Op_Type,Date_Time) values (" + id + "," + card +
                   ",0,'2026-01-01');";
            sql += "insert into Record_XF(Pinfo_id,Card_No,C_LeiBie,XF_Type,Card_LiuShui,YuE_Change,YuE_New,Date_Time,"
                   "Err_Code) values (" +
                   id + "," + card + ",1,5,1,100,100,'2026-11-01 10:00:00',0),(" + id + "," + card +
                   ",1,1,2,-30,50,'2026-11-02 10:00:00',0),(" + id + "," + card +
                   ",1,1,3,-10,50,'2026-11-03 10:00:00',0);";
        }
        con->executeScript(sql);
    }
    void query() {
        w.Load();
        w.Query.ucDep1.selectDepartment("01");
        w.Query.DTPicker1.setValue("2026-11-30");
        w.Check1.setValue(forms::vbChecked);
        w.Query.Command1.click();
    }
};

TOLVENK_ON_BOTH_ENGINES(IcCorrectionInCompany);

}  // namespace

TEST_P(IcCorrectionInCompany, TwoOfficesAtOnceMendEachBreakOnce) {
    test::Peer a("CorrectDepartment", {{"db", cs}}), b("CorrectDepartment", {{"db", cs}});
    a.waitFor("ready");
    b.waitFor("ready");
    a.send("go");
    b.send("go");
    EXPECT_EQ(a.waitFor("done"), "done 0");
    EXPECT_EQ(b.waitFor("done"), "done 0");
    EXPECT_EQ(a.wait(), 0);
    EXPECT_EQ(b.wait(), 0);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where Err_Code=2"), 2 * kCards);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where Err_Code=2 and XF_Type=201 and "
                                 "YuE_Change=-20 and YuE_New=80 and Card_LiuShui=1"),
              kCards);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where Err_Code=2 and XF_Type=202 and "
                                 "YuE_Change=10 and YuE_New=60 and Card_LiuShui=2"),
              kCards);
    // A third run over the mended chains writes nothing.
    query();
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where Err_Code=2"), 2 * kCards);
}

// A run over chains already mended finds that from what it read: it asks
// the write lock for no row (each check under it is a write transaction a
// till would wait for). The cards were issued with 0.50 on them, so their
// last balance is never the sum of their changes and each chain is read.
TEST_P(IcCorrectionInCompany, ARunOverMendedChainsAsksNoWriteLock) {
    con->execute("update Record_XF set YuE_New = YuE_New + 50");
    query();
    ASSERT_EQ(test::number(*con, "select count(*) from Record_XF where Err_Code=2"), 2 * kCards);
    int writes = 0;
    db::setStatementObserver([&](const std::string& sql) {
        writes += sql.starts_with("insert") || sql.find("Err_Code=2 and Date_Time=") != std::string::npos;
    });
    query();
    db::setStatementObserver(nullptr);
    EXPECT_EQ(writes, 0);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where Err_Code=2"), 2 * kCards);
}

// On a file whose readers keep every writer out, the correction reads its
// employees ahead in short read transactions, none of them open while the
// rows are handed on (the window then takes its events): a till that
// commits between two employees gets in without waiting.
TEST_P(IcCorrectionInCompany, OnARollbackJournalATillBetweenTwoEmployeesGetsInAtOnce) {
    if (onServer()) GTEST_SKIP() << "a file's locks";
    con->executeScript("PRAGMA journal_mode=DELETE");
    ASSERT_EQ(test::text(*con, "PRAGMA journal_mode"), "delete");
    sqlite3* till = nullptr;
    ASSERT_EQ(sqlite3_open_v2(db::ConnectionString(cs).filePath().c_str(), &till, SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    sqlite3_busy_timeout(till, 0);
    XFService xf;
    BTService bt;
    xf.Set_strCN(cs);
    bt.Set_strCN(cs);
    int listed = 0, refused = 0;
    const auto result = Balance_Query::IC_Balances(
        xf, bt, {"01", "", ""}, "2026-11-30", "2026-12-01 06:00:00",
        [&](const Balance_Query::Row&, std::int64_t, std::int64_t) {
            ++listed;
            refused += sqlite3_exec(till, "insert into Sys_Para(Para_Name,P1) values ('till','x')", nullptr, nullptr,
                                    nullptr) != SQLITE_OK;
            return true;
        });
    sqlite3_close(till);
    EXPECT_EQ(listed, kCards);
    EXPECT_EQ(refused, 0);
    EXPECT_EQ(result.failedCorrections, 0) << result.firstError;
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where Err_Code=2"), 2 * kCards);
    EXPECT_EQ(test::number(*con, "select count(*) from Sys_Para where Para_Name='till'"), kCards);
}

namespace {

// Every column a correction row is written with but its ID and the server
// time it was written at.
constexpr const char* kCorrectionCols =
    "Mach_ID,Pinfo_id,Card_No_Lng,C_LeiBie,XF_Dian_ID,XF_Type,XF_Meal,YuE_Old,YuE_Change,YuE_New,C_QuHao,Card_LiuShui,"
    "Mach_LiuShui,Date_Time,Card_No,YuCi_Change,Operator_id,XF_Unit,Ci_QuHao,Ci_LiuShui,YuCi_New,Err_Code,DC_Date";

class IcCorrectionBesideATerminal : public test::InCompany<YuE_HZ_Cha> {
protected:
    // Breaks in the generated chains, the same on both databases: every 53rd
    // row after a card's first claims a change 0.07 smaller than it made.
    void SetUp() override {
        InCompany::SetUp();
        if (IsSkipped()) return;
        for (auto* c : {twinCon.get(), con.get()})
            c->execute("update Record_XF set YuE_Change = YuE_Change - 7 where Card_LiuShui > 1 and ID % 53 = 0");
    }
    void correct() {
        w.Load();
        w.Query.ucDep1.selectDepartment("01");
        w.Check1.setValue(forms::vbChecked);
        w.Query.Command1.click();
    }
    std::vector<T> grid() {
        std::vector<T> out;
        for (int r = 0; r < w.Query.Grid1.Rows(); ++r) {
            T row;
            for (int c = 0; c < w.Query.Grid1.Cols(); ++c) row.push_back(w.Query.Grid1.Cell(r, c).Text());
            out.push_back(row);
        }
        return out;
    }
    std::vector<T> corrections(db::Connection& c) {
        return test::rows(c, std::string("select ") + kCorrectionCols +
                                 " from Record_XF where Err_Code=2 order by Pinfo_id, Card_No, Card_LiuShui, Date_Time");
    }
};

TOLVENK_IN_EVERY_JOURNAL(IcCorrectionBesideATerminal);

}  // namespace

// The terminal writes today's rows to a card of the department whose chain
// breaks: the corrections and the balances shown are those of the run alone.
TEST_P(IcCorrectionBesideATerminal, ATerminalWritingToACardWithBreaksLosesNothingAndChangesNoCorrection) {
    const std::string x = test::text(*con, "select x.Card_No from Record_XF x join Ren_Per_Info p on p.Pinfo_ID=x.Pinfo_id "
                                           "join Card_Info i on i.Card_No=x.Card_No where p.Dept_No like '01%' and "
                                           "x.Card_LiuShui > 1 and x.ID % 53 = 0 order by x.Pinfo_id limit 1");
    use(*twin);
    correct();
    EXPECT_TRUE(sv->boxes.empty());
    const std::vector<T> aloneGrid = grid();
    ASSERT_GT(test::number(*twinCon, "select count(*) from Record_XF where Err_Code=2"), 20);
    ASSERT_GT(test::number(*twinCon, "select count(*) from Record_XF where Err_Code=2 and Card_No='" + x + "'"), 0);

    use(*live);
    const test::TerminalOptions terminal{x, 990, 2000, false, "2027-05-31 12:00:00"};
    test::Terminal t(live->cs, terminal);
    t.waitForCommits(3);
    correct();
    t.waitForCommits(t.commits() + 3);
    const test::TerminalReport r = t.finish();
    RecordProperty("terminal_longest_wait_us", std::to_string(r.longestWaitMicros));

    EXPECT_EQ(test::integrity(*con), "ok");
    EXPECT_EQ(r.failures, 0) << (r.errors.empty() ? "" : r.errors[0]);
    EXPECT_EQ(test::terminalRowsProblem(*con, terminal, r), "");
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where Mach_ID=990 and (XF_Type<>1 or YuE_Old<>YuE_New+1)"), 0);
    EXPECT_TRUE(sv->boxes.empty());
    EXPECT_EQ(grid(), aloneGrid);
    EXPECT_EQ(corrections(*con), corrections(*twinCon));
    // The terminal's chain went on from the card's last row and opened no break.
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF a join Record_XF b on a.Card_No=b.Card_No and "
                                 "b.Card_LiuShui=a.Card_LiuShui+1 where a.Card_No='" + x + "' and b.Mach_ID=990 and b.YuE_Old<>a.YuE_New"),
              0);
}
