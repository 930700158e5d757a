// The IC settlement in company: terminals writing while it runs, one of them
// uploading late rows (dated before the cut-off) to a card being settled; and
// two offices settling the same database at once.
#include <algorithm>
#include <chrono>

#include "InCompany.h"
#include "cards/frmJieSuanIC.h"
#include "data/IcSettlementRun.h"
#include "platform/db/DbError.h"
#include "support/Peer.h"
#include "support/PeerModule.h"
#include "support/Terminal.h"

using namespace tolvenk;
using T = test::Texts;

namespace {

constexpr const char* kCut = "2026-11-01";
constexpr const char* kLate = "2026-10-31 23:00:00";   // before the cut-off
constexpr const char* kToday = "2027-05-31 12:00:00";  // after it

// A second office: the settlement up to kCut when the test says go.
TOLVENK_PEER_JOB(SettleAll) {
    test::PeerModule module(peer.arg("db"));
    module.services().clock = "2027-06-01 10:00:00";
    frmJieSuanIC w;
    w.Load();
    w.dtP.setValue(kCut);
    peer.report("ready");
    peer.readCommand();
    w.Command1.click();
    const auto& boxes = module.services().boxes;
    peer.report("done " + std::to_string(boxes.size()) + (boxes.empty() ? "" : " " + boxes.back().prompt));
    return 0;
}

// A second office whose settlement up to kCut waits at its first card, its
// run under way, until the test says go on.
TOLVENK_PEER_JOB(SettleHeld) {
    test::PeerModule module(peer.arg("db"));
    module.services().clock = "2027-06-01 10:00:00";
    frmJieSuanIC w;
    w.Load();
    w.dtP.setValue(kCut);
    bool held = false;
    module.services().onYield = [&] {
        if (held) return;
        held = true;
        peer.report("holding");
        peer.readCommand();
    };
    w.Command1.click();
    peer.report("done " + std::to_string(module.services().boxes.size()));
    return 0;
}

class SettlementInCompany : public test::InCompany<frmJieSuanIC> {
protected:
    void settle() {
        w.Load();
        w.dtP.setValue(kCut);
        w.Command1.click();
    }
    // A card whose rows, all valid, lie before the cut-off (its holder left),
    // of an employee past the first of the first block of a hundred, so its
    // block is read before its turn comes.
    T lateCard(db::Connection& c) {
        return test::row(c, "select Pinfo_id, Card_No from Record_XF x where Pinfo_id between 2 and 100 and Card_No in "
                            "(select Card_No from Card_Info) group by Pinfo_id, Card_No having max(Date_Time) < '" +
                                std::string(kCut) + "' and max(Err_Code) = 0 and min(Err_Code) = 0 "
                                "order by count(*) desc, Pinfo_id limit 1");
    }
    // Every row of a table but the given card's and the terminal's, as the twin must hold them too.
    std::vector<T> others(db::Connection& c, const std::string& table, const std::string& card, int mach) {
        return test::rows(c, "select * from " + table + " where Card_No <> '" + card + "' and (Mach_ID is null or Mach_ID <> " +
                                 std::to_string(mach) + ") order by ID, Card_LiuShui, Ci_LiuShui");
    }
    std::int64_t count(const std::string& where) { return test::number(*con, "select count(*) from " + where); }
};

TOLVENK_IN_EVERY_JOURNAL(SettlementInCompany);

class SettlementOnTheServer : public SettlementInCompany {};
INSTANTIATE_TEST_SUITE_P(Journals, SettlementOnTheServer, ::testing::Values(test::Journal::Server), test::JournalNames());

}  // namespace

// One terminal uploads late rows to card X while the run goes on, and keeps
// going while X waits its turn after its block of serials was read, and a
// little after X's turn; another writes today's rows to card Y. X is settled
// with every row it had when its turn came; the rows uploaded after its turn
// are settled before the run records the cut-off, so none before it is left.
TEST_P(SettlementInCompany, TerminalsBesideTheRunLoseNothingAndEachCardIsSettledWhole) {
    const T x = lateCard(*con);
    ASSERT_EQ(x.size(), 2u);
    const std::string y = test::text(*con, "select Card_No from Card_Info where Pinfo_id = 150");
    ASSERT_GT(test::number(*con, "select count(*) from Record_XF where Card_No='" + y + "' and Date_Time >= '" + kCut + "'"), 0);

    use(*twin);
    settle();
    ASSERT_TRUE(sv->boxes.empty());
    const std::string twinCount = w.Label3.Caption();
    // X settled alone: its serial N0, summed change S0 and balance B0.
    const T alone = test::row(*twinCon, "select Card_LiuShui, YuE_Change, YuE_New from Record_XF where XF_Type=250 and Card_No='" + x[1] + "'");
    ASSERT_EQ(alone.size(), 3u);
    const std::int64_t n0 = std::stoll(alone[0]), s0 = std::stoll(alone[1]), b0 = std::stoll(alone[2]);

    use(*live);
    const test::TerminalOptions late{x[1], 990, 2000, false, kLate}, today{y, 991, 2000, false, kToday};
    test::Terminal lt(live->cs, late), tt(live->cs, today);
    lt.waitForCommits(3);
    tt.waitForCommits(3);
    // At the second card the first block of serials has been read: X's turn
    // waits for three late rows more than the table held then; three more
    // come after its turn, then the late terminal stops.
    std::int64_t afterBlock = -1;
    sv->yields = 0;
    std::size_t beforeTurn = 0;  // late rows committed before X's turn
    test::TerminalReport lr;
    bool lateDone = false;
    sv->onYield = [&] {
        if (sv->yields == 2) afterBlock = count("Record_XF where Mach_ID=990");
        if (beforeTurn && !lateDone) {
            lt.waitForCommits(beforeTurn + 3);
            lr = lt.finish();
            lateDone = true;
        }
        if (w.Label12.Caption() != "ID=" + x[0] + " : " + x[1] || beforeTurn) return;
        lt.waitForCommits(static_cast<std::size_t>(afterBlock) + 3);
        beforeTurn = lt.commits();
    };
    settle();
    sv->onYield = nullptr;
    tt.waitForCommits(tt.commits() + 3);
    const test::TerminalReport tr = tt.finish();
    ASSERT_TRUE(lateDone);

    RecordProperty("terminal_longest_wait_us", std::to_string(std::max(lr.longestWaitMicros, tr.longestWaitMicros)));
    EXPECT_TRUE(sv->boxes.empty()) << sv->lastPrompt();
    EXPECT_EQ(w.Label3.Caption(), twinCount);
    EXPECT_EQ(test::integrity(*con), "ok");
    EXPECT_EQ(lr.failures + tr.failures, 0) << (lr.errors.empty() ? "" : lr.errors[0]) << (tr.errors.empty() ? "" : tr.errors[0]);
    ASSERT_GT(afterBlock, 0);
    ASSERT_GT(beforeTurn, 0u);

    // Today's rows are kept as they were written.
    EXPECT_EQ(test::terminalRowsProblem(*con, today, tr), "");
    EXPECT_EQ(count("Record_XF where Mach_ID=991 and (XF_Type<>1 or YuE_Change<>-1 or Date_Time<>'" + std::string(kToday) + "')"), 0);
    EXPECT_EQ(count("Record_BF_XF where Mach_ID=991"), 0);
    // Everything but X (Y's own rows included) is as the run alone left it.
    EXPECT_EQ(others(*con, "Record_XF", x[1], 991), others(*twinCon, "Record_XF", x[1], 991));
    EXPECT_EQ(others(*con, "Record_BF_XF", x[1], 991), others(*twinCon, "Record_BF_XF", x[1], 991));
    EXPECT_EQ(test::rows(*con, "select P1, P2 from Sys_Para where Para_Name='JieSuan_Date'"),
              (std::vector<T>{{std::string(kCut) + " 00:00:00", "1"}}));

    // X: every late row, those after its turn too, settled with it and copied
    // as written; nothing before the cut-off is left beside its settlement row.
    const auto n = static_cast<std::int64_t>(lr.serials.size());
    ASSERT_GE(n, static_cast<std::int64_t>(beforeTurn) + 3);
    EXPECT_EQ(test::row(*con, "select count(distinct Mach_LiuShui), min(Mach_LiuShui), max(Mach_LiuShui) from Record_BF_XF where Mach_ID=990"),
              (T{std::to_string(n), "1", std::to_string(n)}));
    EXPECT_EQ(count("Record_BF_XF where Mach_ID=990 and (XF_Type<>1 or YuE_Change<>-1 or Date_Time<>'" + std::string(kLate) +
                    "' or Card_LiuShui<>" + std::to_string(n0) + "+Mach_LiuShui or YuE_New<>" + std::to_string(b0) + "-Mach_LiuShui)"),
              0);
    EXPECT_EQ(count("Record_XF where Mach_ID=990 and XF_Type=1"), 0);
    EXPECT_EQ(test::rows(*con, "select Card_LiuShui, YuE_Change, YuE_New, Mach_LiuShui from Record_XF where XF_Type=250 and Card_No='" + x[1] + "'"),
              (std::vector<T>{{std::to_string(n0 + n), std::to_string(s0 - n), std::to_string(b0 - n), std::to_string(n)}}));
    EXPECT_EQ(count("Record_XF where Card_No='" + x[1] + "'"), 2);
    // Its own rows were backed up as the run alone backed them up.
    EXPECT_EQ(test::rows(*con, "select * from Record_BF_XF where Card_No='" + x[1] + "' and Mach_ID<>990 order by ID"),
              test::rows(*twinCon, "select * from Record_BF_XF where Card_No='" + x[1] + "' order by ID"));
}

// A row before the cut-off that turns up at each of the run's looks for
// cards written to after their turn (a terminal uploading late as the run
// ends): once a pass leaves as many cards as the one before, the cut-off is
// not recorded, the card is named, and the run counts as unfinished.
TEST_P(SettlementInCompany, RowsLeftBeforeTheCutoffKeepItWhereItWas) {
    const T x = lateCard(*con);
    ASSERT_EQ(x.size(), 2u);
    use(*live);
    int looks = 0;
    db::setStatementObserver([&](const std::string& sql) {
        if (sql.find("select distinct Pinfo_ID,Card_No from Record_XF") == std::string::npos) return;
        ++looks;
        // Beside the run: a late row continuing X's chain.
        test::Terminal lt(live->cs, {x[1], 990, 2000, false, kLate});
        lt.waitForCommits(1);
        lt.finish();
    });
    settle();
    db::setStatementObserver(nullptr);
    EXPECT_EQ(looks, 2);
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_NE(sv->boxes[0].prompt.find(x[1] + " (" + x[0] + ")"), std::string::npos) << sv->boxes[0].prompt;
    EXPECT_EQ(sv->boxes[0].prompt.rfind("有 1 张卡在截止日期之前仍有未结算的记录", 0), 0u) << sv->boxes[0].prompt;
    EXPECT_EQ(test::row(*con, "select P2, P3 from Sys_Para where Para_Name='JieSuan_Date'"),
              (T{"0", std::string(kCut) + " 00:00:00"}));
    EXPECT_NE(test::text(*con, "select P1 from Sys_Para where Para_Name='JieSuan_Date'"), std::string(kCut) + " 00:00:00");

    // The next run settles it and records the cut-off.
    sv->boxes.clear();
    settle();
    EXPECT_TRUE(sv->boxes.empty()) << sv->lastPrompt();
    EXPECT_EQ(test::row(*con, "select P1, P2 from Sys_Para where Para_Name='JieSuan_Date'"),
              (T{std::string(kCut) + " 00:00:00", "1"}));
    EXPECT_EQ(count("Record_XF where Mach_ID=990 and XF_Type=1"), 0);
}

// Two offices settle at once: the database ends as one run leaves it.
TEST_P(SettlementInCompany, TwoOfficesAtOnceSettleEachCardOnce) {
    use(*twin);
    settle();
    ASSERT_TRUE(sv->boxes.empty());
    ASSERT_GT(test::number(*twinCon, "select count(*) from Record_XF where XF_Type=250"), 200);

    test::Peer a("SettleAll", {{"db", live->cs}}), b("SettleAll", {{"db", live->cs}});
    a.waitFor("ready");
    b.waitFor("ready");
    a.send("go");
    b.send("go");
    // The one that came second, if they met, was told and started nothing.
    const std::vector<std::string> done = {a.waitFor("done"), b.waitFor("done")};
    if (done[0] != done[1]) {
        EXPECT_EQ(std::count(done.begin(), done.end(), "done 0"), 1) << done[0] << "/" << done[1];
        EXPECT_EQ(std::count(done.begin(), done.end(), "done 1 " + L(1091)), 1) << done[0] << "/" << done[1];
    } else {
        EXPECT_EQ(done[0], "done 0");
    }
    EXPECT_EQ(a.wait(), 0);
    EXPECT_EQ(b.wait(), 0);

    EXPECT_EQ(test::integrity(*con), "ok");
    const std::string all = " order by ID, Card_LiuShui, Ci_LiuShui";
    EXPECT_EQ(test::rows(*con, "select * from Record_XF" + all), test::rows(*twinCon, "select * from Record_XF" + all));
    EXPECT_EQ(test::rows(*con, "select * from Record_BF_XF" + all), test::rows(*twinCon, "select * from Record_BF_XF" + all));
    EXPECT_EQ(test::rows(*con, "select P1, P2 from Sys_Para where Para_Name='JieSuan_Date'"),
              (std::vector<T>{{std::string(kCut) + " 00:00:00", "1"}}));
}

// A row before the cut-off that a terminal uploads after a set's rows were
// read and before the set takes the lock: the set is read again under the
// lock and X is settled once, the late row its settlement row, not first at
// its old top and then again by the run's last look.
TEST_P(SettlementInCompany, ALateRowBetweenTheSetsReadAndItsLockIsSettledWithTheSet) {
    const T x = lateCard(*con);
    ASSERT_EQ(x.size(), 2u);
    const std::string oldTop = test::text(*con, "select ID from Record_XF where Card_No='" + x[1] + "' and Date_Time < '" +
                                                    kCut + "' order by Card_LiuShui desc, ID desc limit 1");
    const std::int64_t sum = test::number(*con, "select sum(YuE_Change) from Record_XF where Card_No='" + x[1] +
                                                    "' and Card_LiuShui > 1");
    use(*live);
    bool uploaded = false;
    int atOldTop = 0;  // statements that made X's old top a settlement row
    db::setStatementObserver([&](const std::string& sql) {
        if (sql.rfind("update Record_XF set", 0) == 0 && sql.find(" when " + oldTop + " then ") != std::string::npos)
            ++atOldTop;
        // The set's read of rows written since the run began: its serial rows are read by now.
        const std::size_t at = sql.find("+Pinfo_ID in (");
        if (uploaded || at == std::string::npos ||
            ("," + sql.substr(at + 14, sql.find(')', at) - at - 14) + ",").find("," + x[0] + ",") == std::string::npos)
            return;
        uploaded = true;
        test::Terminal lt(live->cs, {x[1], 990, 2000, false, kLate});
        lt.waitForCommits(1);
        EXPECT_EQ(lt.finish().failures, 0);
    });
    settle();
    db::setStatementObserver(nullptr);
    ASSERT_TRUE(uploaded);
    EXPECT_TRUE(sv->boxes.empty()) << sv->lastPrompt();
    EXPECT_EQ(atOldTop, 0);
    // Its serial 1 and one settlement row: the last late row, with every change above serial 1.
    const std::int64_t late = test::number(*con, "select count(*) from Record_BF_XF where Mach_ID=990");
    ASSERT_GE(late, 1);
    EXPECT_EQ(count("Record_XF where Card_No='" + x[1] + "'"), 2);
    EXPECT_EQ(test::row(*con, "select Card_LiuShui, Mach_ID, YuE_Change from Record_XF where XF_Type=250 and Card_No='" + x[1] + "'"),
              (T{test::text(*con, "select max(Card_LiuShui) from Record_BF_XF where Mach_ID=990"), "990",
                 std::to_string(sum - late)}));
}

// A terminal on the server locks its card's row, not the module's lock: the
// card's row stays locked while the rows its set's walks did not read yet are
// read and the set is collapsed, so no late row of the terminal falls
// between the two.
TEST_P(SettlementOnTheServer, TheCardRowIsLockedWhileItsRowsAreWalkedAndCollapsed) {
    const T x = lateCard(*con);
    ASSERT_EQ(x.size(), 2u);
    const std::string top = test::text(*con, "select ID from Record_XF where Card_No='" + x[1] + "' and Date_Time < '" +
                                                 kCut + "' order by Card_LiuShui desc, ID desc limit 1");
    use(*live);
    // The reads of rows written since a set was read that take in X's
    // employee, and the statement that writes X's settlement row.
    const auto readsX = [&](const std::string& sql) {
        const std::size_t at = sql.find("+Pinfo_ID in ("), end = sql.find(')', at);
        return at != std::string::npos &&
               ("," + sql.substr(at + 14, end - at - 14) + ",").find("," + x[0] + ",") != std::string::npos;
    };
    const auto settlesX = [&](const std::string& sql) {
        return sql.rfind("update Record_XF set", 0) == 0 && sql.find(" when " + top + " then ") != std::string::npos;
    };
    std::vector<std::string> seen;  // what another session met, trying the row as each was run
    db::setStatementObserver([&](const std::string& sql) {
        const bool settles = settlesX(sql);
        if (!settles && !readsX(sql)) return;
        std::string met = settles ? "settles: free" : "reads: free";
        try {
            con->openRecordset("select 1 from Card_Info where Card_No='" + x[1] + "' for update nowait");
        } catch (const db::DbError& e) {
            met = (settles ? "settles: " : "reads: ") + std::string(e.what());
        }
        seen.push_back(met);
    });
    settle();
    db::setStatementObserver(nullptr);
    // The read just before the collapse is the one under the lock.
    const auto collapse = std::find_if(seen.begin(), seen.end(), [](const std::string& m) { return m.rfind("settles", 0) == 0; });
    ASSERT_TRUE(collapse != seen.end() && collapse != seen.begin());
    EXPECT_NE(collapse[-1].find("reads: could not obtain lock"), std::string::npos) << collapse[-1];
    EXPECT_NE(collapse->find("settles: could not obtain lock"), std::string::npos) << *collapse;
    EXPECT_TRUE(sv->boxes.empty()) << sv->lastPrompt();
}

// While one office settles, another is told so as its window opens, and its
// own click starts nothing; when the run is over, nothing is said.
TEST_P(SettlementInCompany, ASecondOfficeIsToldASettlementIsRunningAndStartsNothing) {
    use(*live);
    const std::vector<T> before = test::rows(*con, "select * from Record_XF order by ID");
    test::Peer a("SettleHeld", {{"db", live->cs}});
    a.waitFor("holding");
    w.Load();
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].prompt, Lf(1090, {kCut}));
    w.dtP.setValue(kCut);
    w.Command1.click();
    ASSERT_EQ(sv->boxes.size(), 2u);
    EXPECT_EQ(sv->boxes[1].prompt, L(1091));
    EXPECT_TRUE(w.Command1.Enabled());
    EXPECT_EQ(test::rows(*con, "select * from Record_XF order by ID"), before);

    a.send("go on");
    EXPECT_EQ(a.waitFor("done"), "done 0");
    EXPECT_EQ(a.wait(), 0);
    EXPECT_EQ(test::row(*con, "select P1, P2 from Sys_Para where Para_Name='JieSuan_Date'"),
              (T{std::string(kCut) + " 00:00:00", "1"}));
    w.Unload();
    sv->boxes.clear();
    w.Load();
    EXPECT_TRUE(sv->boxes.empty()) << sv->lastPrompt();
}

// A run whose process dies lets the settlement go: the next office is told
// the last run did not finish, and its own run finishes it.
TEST_P(SettlementInCompany, ARunWhoseProcessDiesIsToldUnfinishedAndTheNextRunFinishesIt) {
    use(*live);
    test::Peer a("SettleHeld", {{"db", live->cs}});
    a.waitFor("holding");
    a.kill();
    a.wait();
    // The server ends the dead process's session when it finds its socket closed.
    for (const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
         con->lockHeldElsewhere(IC_Settlement::kRunLock) && std::chrono::steady_clock::now() < until;) {
    }
    w.Load();
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].prompt, Lf(986, {kCut}));
    w.Command1.click();
    EXPECT_EQ(sv->boxes.size(), 1u) << sv->lastPrompt();
    EXPECT_EQ(test::row(*con, "select P1, P2 from Sys_Para where Para_Name='JieSuan_Date'"),
              (T{std::string(kCut) + " 00:00:00", "1"}));
    EXPECT_GT(count("Record_XF where XF_Type=250"), 200);
}
