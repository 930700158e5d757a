// The ID grant and the month-end clearing of a generated database while a
// terminal process books on one of the cards and takes its ID balance down,
// in both journal modes of the file engine and on the server: the file stays
// whole, no terminal row is lost, and every employee's money comes out exact.
#include <algorithm>
#include <map>
#include <thread>

#include "data/BTService.h"
#include "data/IdGrantRun.h"
#include "data/SubsidyClearingRun.h"
#include "demo_gen/DemoGenerator.h"
#include "platform/db/Connection.h"
#include "subsidy/BT_ID_FF.h"
#include "subsidy/BT_QingLing.h"
#include "support/Fixtures.h"
#include "support/Terminal.h"
#include "support/ModuleState.h"

using namespace tolvenk;

namespace {

struct Mode {
    test::Engine engine;
    bool journal;  // the file in rollback-journal mode rather than WAL
};

struct ModeNames {
    std::string operator()(const ::testing::TestParamInfo<Mode>& info) const {
        return info.param.engine == test::Engine::Server ? "Server" : info.param.journal ? "FileJournal" : "FileWal";
    }
};

constexpr int kMach = 990;
// The live employees of department 02 and its teams, about half of them.
const std::string kDept02 = "Dept_No like '02%' and Del_YN=0";

std::int64_t toNumber(const std::string& s) { return std::stoll(s); }

// A generated database (300 employees, 20,000 transactions from September to
// November 2026) whose cards are ID cards holding 200.00 and the employee's
// number in fen; every tenth one is lost.
class BesideTerminal : public test::KitTest, public ::testing::WithParamInterface<Mode> {
protected:
    void SetUp() override {
        KitTest::SetUp();
        demo::Options o;
        o.firstDay = "2026-09-01";  // a fixed period: the data does not depend on the day
        o.lastDay = "2026-11-30";
        o.transactions = 20000;
        if (GetParam().engine == test::Engine::Server) {
            if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
            server_ = std::make_unique<test::BusinessDb>(test::Engine::Server, false);
            o.server = cs = server_->connectionString();
        } else {
            o.businessPath = dir.file("g.mdb");
            cs = db::Connection::fileConnectionString(o.businessPath);
        }
        demo::generate(o);
        con = test::connect(cs);
        if (GetParam().journal) {
            con->executeScript("PRAGMA journal_mode=DELETE");
            ASSERT_EQ(test::text(*con, "PRAGMA journal_mode"), "delete");
        }
        strCN = cs;
        Conn_Main = con;
        DB_Type = GetParam().engine == test::Engine::Server ? "SQL" : "Access";
        Money_Sign = "￥";
        Load_Lan(0);
        Op_User_ID = 7;
        con->execute("update Card_Info set Card_Model=1,C_YuE_ID=20000+Pinfo_id,C_YuCi_ID=0");
        con->execute("update Card_Info set C_GuaShi=1 where Pinfo_id % 10 = 3");
        mark = test::number(*con, "select max(ID) from Record_XF");
        for (const auto& r : test::rows(*con, "select Card_No,C_YuE_ID from Card_Info"))
            start[r[0]] = toNumber(r[1]);
    }

    // The usable ID card of the live employee in the middle of `who`.
    std::string middleCard(const std::string& who) {
        const test::Texts cards = test::column(
            *con, "select Card_No from Card_Info where Card_Model=1 and C_GuaShi=0 and Pinfo_id in (select Pinfo_ID "
                  "from Ren_Per_Info where " + who + ") order by Pinfo_id");
        return cards.at(cards.size() / 2);
    }

    // Every card's ID balance walked over its rows written since the set-up,
    // in the order they were committed: a terminal row took 1 fen off; every
    // other row starts from the balance left before it and ends at its own
    // change. "" when each walk ends at the card's balance.
    std::string chainProblem() {
        std::map<std::string, std::int64_t> balance = start;
        for (const auto& r : test::rows(*con, "select Card_No,ID,Mach_ID,YuE_Old,YuE_Change,YuE_New from Record_XF "
                                              "where ID>" + std::to_string(mark) + " order by ID")) {
            std::int64_t& b = balance[r[0]];
            if (toNumber(r[2]) == kMach) {
                --b;
                continue;
            }
            if (toNumber(r[3]) != b || toNumber(r[5]) != toNumber(r[3]) + toNumber(r[4]))
                return "row " + r[1] + " of " + r[0] + " reads " + r[3] + r[4] + "=" + r[5] + " after " +
                       std::to_string(b);
            b = toNumber(r[5]);
        }
        for (const auto& r : test::rows(*con, "select Card_No,C_YuE_ID from Card_Info"))
            if (balance[r[0]] != toNumber(r[1]))
                return "card " + r[0] + " holds " + r[1] + ", its rows make " + std::to_string(balance[r[0]]);
        return "";
    }

    // The terminal was left whole and the file too.
    void expectTerminalKept(const test::TerminalOptions& o, const test::TerminalReport& r) {
        EXPECT_EQ(test::integrity(*con), "ok");
        EXPECT_EQ(test::terminalRowsProblem(*con, o, r), "");
        EXPECT_EQ(r.failures, 0) << (r.errors.empty() ? "" : r.errors.front());
    }

    std::unique_ptr<test::BusinessDb> server_;
    std::string cs;
    std::shared_ptr<db::Connection> con;
    std::int64_t mark = 0;
    std::map<std::string, std::int64_t> start;  // Card_No -> C_YuE_ID at the start
};

INSTANTIATE_TEST_SUITE_P(Modes, BesideTerminal,
                         ::testing::Values(Mode{test::Engine::File, false}, Mode{test::Engine::File, true},
                                           Mode{test::Engine::Server, false}),
                         ModeNames());

}  // namespace

// A batch of 5.00 to 5.80 for every live employee of department 02, granted
// while the terminal books on one of their cards: the employees with a usable
// card are credited once each, the others wait, and every card ends at its
// start plus its subsidy less what the terminal took.
TEST_P(BesideTerminal, TheIdGrantCreditsEveryoneOnce) {
    con->execute("insert into BuTie_OK(Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,B_Type,"
                 "B_SF,B_Unit) select Pinfo_ID,'2026-11-01 08:00:00',1,500+10*(Pinfo_ID % 9),0,2026,11,1,0,-1,0 "
                 "from Ren_Per_Info where " + kDept02);
    const std::int64_t rows = test::number(*con, "select count(*) from BuTie_OK");
    const std::int64_t usable = test::number(
        *con, "select count(*) from BuTie_OK where Pinfo_ID in (select Pinfo_id from Card_Info where C_GuaShi=0)");
    ASSERT_GT(usable, 40);
    ASSERT_LT(usable, rows);
    std::map<std::string, std::int64_t> expected = start;
    for (const auto& r : test::rows(*con, "select Card_Info.Card_No,BuTie_OK.B_JinE from BuTie_OK,Card_Info where "
                                          "BuTie_OK.Pinfo_ID=Card_Info.Pinfo_id and Card_Info.C_GuaShi=0"))
        expected[r[0]] += toNumber(r[1]);

    const test::TerminalOptions o{middleCard(kDept02), kMach, 2000, true, ""};
    test::Terminal terminal(cs, o);
    terminal.waitForCommits(5);
    BT_ID_FF w;
    w.Load();
    w.Combo1.setListIndex(10);
    w.Combo2.setText("1");
    w.Command1.click();
    terminal.waitForCommits(terminal.commits() + 3);
    const test::TerminalReport r = terminal.finish();

    sv->expectBox("提示：成功发放" + std::to_string(usable) + "人,无法发放" + std::to_string(rows - usable) + "人",
                  platform::vbExclamation);
    expectTerminalKept(o, r);
    expected[o.card] -= static_cast<std::int64_t>(r.serials.size());
    std::int64_t off = 0;
    for (const auto& row : test::rows(*con, "select Card_No,C_YuE_ID from Card_Info"))
        off += expected[row[0]] != toNumber(row[1]);
    EXPECT_EQ(off, 0) << "cards whose balance is not start + subsidy - terminal";
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_OK where B_SF=2"), usable);
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_OK where B_SF=0"), rows - usable);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF,BuTie_OK where Record_XF.XF_Type=11 and "
                                 "Record_XF.ID>" + std::to_string(mark) +
                                     " and Record_XF.Pinfo_id=BuTie_OK.Pinfo_ID and "
                                     "Record_XF.YuE_Change=BuTie_OK.B_JinE"),
              usable);
    EXPECT_EQ(chainProblem(), "");
}

// Department 02's month of November cleared while the terminal books on one
// of its cards (rows of the month, with a card serial: never spending of the
// subsidy). Each employee gives back his credited 8.00 to 9.20 less what he
// spent without a card serial (3.00 for every third, 20.00 for every
// seventh, more than he got), once, from the balance the terminal left.
TEST_P(BesideTerminal, TheClearingTakesBackWhatEachEmployeeLeft) {
    con->execute("insert into BuTie_OK(Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,B_Type,"
                 "B_SF,B_Unit) select Pinfo_ID,'2026-11-01 08:00:00',1,800+10*(Pinfo_ID % 13),0,2026,11,1,0,2,0 "
                 "from Ren_Per_Info where " + kDept02);
    std::map<std::string, std::int64_t> expected = start, cleared;
    int ok = 0, noCard = 0;
    for (const auto& r : test::rows(*con, "select BuTie_OK.Pinfo_ID,Card_No,B_JinE,C_GuaShi from BuTie_OK,Card_Info "
                                          "where BuTie_OK.Pinfo_ID=Card_Info.Pinfo_id")) {
        const std::int64_t p = toNumber(r[0]), subsidy = toNumber(r[2]);
        const std::int64_t spent = p % 7 == 0 ? 2000 : p % 3 == 0 ? 300 : 0;
        if (spent > 0)
            test::XfRow().person(static_cast<int>(p)).card(r[1]).date("2026-11-15 12:00:00").type(1).money(
                static_cast<int>(-spent)).cardSerial(0).timesSerial(0).insert(*con);
        if (r[3] == "1") {
            ++noCard;
            continue;
        }
        ++ok;
        cleared[r[1]] = std::max<std::int64_t>(0, subsidy - spent);
        expected[r[1]] -= cleared[r[1]];
    }
    ASSERT_GT(ok, 40);
    ASSERT_GT(noCard, 0);
    mark = test::number(*con, "select max(ID) from Record_XF");

    BT_QingLing w;
    w.Load();
    w.Text1.setText("2026");
    w.Combo2.setListIndex(10);
    w.ucDep1.selectDepartment("02");
    w.cmd_List.click();
    w.CheckAll.setValue(forms::vbChecked);
    const test::TerminalOptions o{middleCard(kDept02), kMach, 2000, true, "2026-11-28 12:00:00"};
    test::Terminal terminal(cs, o);
    terminal.waitForCommits(5);
    w.cmdQingLing.click();
    terminal.waitForCommits(terminal.commits() + 3);
    const test::TerminalReport r = terminal.finish();

    sv->expectBox("提示：本次清零成功[" + std::to_string(ok) + "]人,清零失败[" + std::to_string(noCard) +
                      "],已经清零过[0]人",
                  platform::vbInformation);
    expectTerminalKept(o, r);
    expected[o.card] -= static_cast<std::int64_t>(r.serials.size());
    int off = 0;
    for (const auto& row : test::rows(*con, "select Card_No,C_YuE_ID from Card_Info"))
        off += expected[row[0]] != toNumber(row[1]);
    EXPECT_EQ(off, 0) << "cards whose balance is not start - cleared - terminal";
    std::map<std::string, std::int64_t> written;
    for (const auto& row : test::rows(*con, "select Card_No,YuE_Change from Record_XF where XF_Type=166"))
        written[row[0]] += -toNumber(row[1]);
    EXPECT_EQ(written, cleared);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where XF_Type=168"), ok);
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_OK,Card_Info where BuTie_OK.B_Times=-1 and "
                                 "BuTie_OK.Pinfo_ID=Card_Info.Pinfo_id and BuTie_OK.B_JinE=(select YuE_Change from "
                                 "Record_XF where XF_Type=166 and Record_XF.Card_No=Card_Info.Card_No)"),
              ok);
    EXPECT_EQ(chainProblem(), "");
}

// The same grant in batches of ten: between two batches the run holds no
// lock, so the terminal commits a row there each time before the run goes
// on; every employee is credited once all the same.
TEST_P(BesideTerminal, BetweenTwoBatchesOfTheGrantTheTerminalGetsThrough) {
    test::batchesOf(10);
    sv->yieldAlways = false;
    con->execute("insert into BuTie_OK(Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,B_Type,"
                 "B_SF,B_Unit) select Pinfo_ID,'2026-11-01 08:00:00',1,500,0,2026,11,1,0,-1,0 "
                 "from Ren_Per_Info where " + kDept02);
    const std::int64_t usable = test::number(
        *con, "select count(*) from BuTie_OK where Pinfo_ID in (select Pinfo_id from Card_Info where C_GuaShi=0)");
    const test::TerminalOptions o{middleCard(kDept02), kMach, 2000, true, ""};
    test::Terminal terminal(cs, o);
    terminal.waitForCommits(3);
    BTService bt;
    bt.Set_strCN(cs);
    ID_Grant::Run run(bt, {2026, 11, "1", false, 7});
    int between = 0;
    const ID_Grant::Counts counts = run.grant([&](std::int64_t, std::int64_t) {
        terminal.waitForCommits(terminal.commits() + 1);
        ++between;
        return true;
    });
    const test::TerminalReport r = terminal.finish();

    // And more where a batch gave way to the waiting terminal; on the server
    // its own employee is granted apart, between two commits, which leaves
    // one batch short of ten.
    EXPECT_GE(between, run.total() / 10 - (GetParam().engine == test::Engine::Server ? 1 : 0));
    EXPECT_EQ(counts.credited, usable);
    EXPECT_EQ(counts.failed, 0);
    expectTerminalKept(o, r);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where XF_Type=11 and ID>" + std::to_string(mark)),
              usable);
    EXPECT_EQ(chainProblem(), "");
}

// The clearing of department 02 in batches of ten, the terminal committing a
// row between each two: every employee is cleared once or found without a
// card, and the terminal loses nothing.
TEST_P(BesideTerminal, BetweenTwoBatchesOfTheClearingTheTerminalGetsThrough) {
    test::batchesOf(10);
    sv->yieldAlways = false;
    con->execute("insert into BuTie_OK(Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,B_Type,"
                 "B_SF,B_Unit) select Pinfo_ID,'2026-11-01 08:00:00',1,800,0,2026,11,1,0,2,0 "
                 "from Ren_Per_Info where " + kDept02);
    std::vector<Clearing_Store::Listed> lines;
    for (const std::string& p : test::column(*con, "select Pinfo_ID from Ren_Per_Info where " + kDept02 + " order by Pinfo_ID"))
        lines.push_back({std::stoi(p), true, false});
    const std::int64_t usable = test::number(
        *con, "select count(*) from BuTie_OK where Pinfo_ID in (select Pinfo_id from Card_Info where C_GuaShi=0)");
    const test::TerminalOptions o{middleCard(kDept02), kMach, 2000, true, ""};
    test::Terminal terminal(cs, o);
    terminal.waitForCommits(3);
    int between = 0;
    const Clearing_Store::Counts counts =
        Clearing_Store::Clear_Listed(cs, 2026, 11, 7, lines, [&](std::int64_t, std::int64_t) {
            terminal.waitForCommits(terminal.commits() + 1);
            ++between;
            return true;
        });
    const test::TerminalReport r = terminal.finish();

    // And more where a batch gave way; on the server the terminal's own
    // employee is cleared apart, which leaves one batch short of ten.
    EXPECT_GE(between, static_cast<int>(lines.size() / 10) - (GetParam().engine == test::Engine::Server ? 1 : 0));
    EXPECT_EQ(counts.cleared, usable);
    EXPECT_EQ(counts.cleared + counts.noCard, static_cast<int>(lines.size()));
    EXPECT_EQ(counts.failed, 0);
    expectTerminalKept(o, r);
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_OK where B_Times=-1"), usable);
    EXPECT_EQ(test::number(*con, "select count(distinct Pinfo_id) from Record_XF where XF_Type=166"), usable);
}

namespace {

// Whether the terminal now waits for a lock the module holds: on a file it
// has marked its wait at the write lock; on the server a session waits
// behind one that is in the middle of a transaction (the module's, stopped
// in the observer).
bool terminalWaits(db::Connection& probe, bool server) {
    if (server)
        return test::number(probe, "select count(*) from pg_stat_activity w where w.datname=current_database() and "
                                   "w.wait_event_type='Lock' and exists (select 1 from pg_stat_activity h where "
                                   "h.pid=any(pg_blocking_pids(w.pid)) and h.state='idle in transaction')") > 0;
    return probe.othersWaitToWrite();
}

}  // namespace

// Six rows of one employee's subsidy in the batch (a sheet imported six
// times), granted a row to a transaction while a terminal books on his card
// and debits its ID balance as fast as it can: each credit holds what the
// terminal needs (the file, or on the server the card's row) and goes on only
// once the terminal waits behind it. The run gives way each time: in the
// order written, a terminal row lies between every two credits.
TEST_P(BesideTerminal, ATerminalWaitingBehindTheGrantWritesBetweenEveryTwoOfItsTransactions) {
    test::batchesOf(1);
    const std::string card = middleCard(kDept02);
    const std::string person = test::text(*con, "select Pinfo_id from Card_Info where Card_No='" + card + "'");
    for (int i = 1; i <= 6; ++i)
        con->execute("insert into BuTie_OK(Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,"
                     "B_Type,B_SF,B_Unit) values(" + person + ",'2026-11-01 08:00:00',1," + std::to_string(100 * i) +
                     ",0,2026,11,1,0,-1,0)");
    const test::TerminalOptions o{card, kMach, 0, true, ""};
    test::Terminal terminal(cs, o);
    terminal.waitForCommits(3);
    const auto probe = test::connect(cs);
    const bool server = GetParam().engine == test::Engine::Server;
    int credits = 0;
    db::setStatementObserver([&](const std::string& sql) {
        if (sql.rfind("insert into Record_XF(", 0) != 0) return;  // a credit's row, written under its lock
        ++credits;
        while (!terminalWaits(*probe, server)) std::this_thread::yield();
    });
    BTService bt;
    bt.Set_strCN(cs);
    ID_Grant::Run run(bt, {2026, 11, "1", false, 7});
    const ID_Grant::Counts counts = run.grant({});
    db::setStatementObserver(nullptr);
    const test::TerminalReport r = terminal.finish();

    EXPECT_EQ(counts.credited, 6);
    EXPECT_EQ(credits, 6);
    expectTerminalKept(o, r);
    std::string order;  // C a credit, T a terminal row
    for (const std::string& m : test::column(*con, "select Mach_ID from Record_XF where Card_No='" + card +
                                                       "' and ID>" + std::to_string(mark) + " order by ID"))
        order += m == std::to_string(kMach) ? 'T' : 'C';
    EXPECT_EQ(std::count(order.begin(), order.end(), 'C'), 6) << order;
    EXPECT_EQ(order.find("CC"), std::string::npos) << order;
    EXPECT_EQ(chainProblem(), "");
}
