// The file engine beside another process using the same database: opening one
// more connection never lets the other process write through our locks.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/db/DbError.h"
#include "support/Peer.h"
#include "support/TestDb.h"
#include "support/Terminal.h"

using namespace tolvenk;
namespace fs = std::filesystem;

namespace {

// Runs one statement each time the test says "go": "done" when it ran,
// "busy" when another process held the lock (it does not wait).
TOLVENK_PEER_JOB(Statement) {
    db::Connection con;
    con.open(peer.arg("db"));
    con.setCommandTimeout(std::stoi(peer.arg("timeout", "0")));
    peer.report("ready");
    for (std::string cmd = peer.readCommand(); !cmd.empty(); cmd = peer.readCommand()) {
        try {
            con.execute(peer.arg("sql"));
            peer.report("done");
        } catch (const db::DbError& e) {
            peer.report(std::string("busy ") + e.what());
        }
    }
    return 0;
}

// Holds the write lock with a row written until another connection is seen
// waiting for it, then commits: "holding", then "committed".
TOLVENK_PEER_JOB(HoldUntilWaitedFor) {
    db::Connection con;
    con.open(peer.arg("db"));
    con.beginWriteTrans();
    con.execute(peer.arg("sql"));
    peer.report("holding");
    while (!con.othersWaitToWrite())
        if (peer.finishRequested()) return 1;
    con.commitTrans();
    peer.report("committed");
    return 0;
}

std::string logRow(const std::string& what) {
    return "insert into Sys_Log(Operator_ID,Op_Object) values(1,'" + what + "')";
}

std::int64_t logged(db::Connection& con, const std::string& what) {
    return test::number(con, "select count(*) from Sys_Log where Op_Object='" + what + "'");
}

}  // namespace

// The module holds the file; another connection is opened and closed (any
// window's service does so); a second process writes one row and goes. The
// process closing last must not find the file free and take the WAL away
// from under the module, whose later writes would then be lost.
TEST(FileInCompany, AnotherProcessNeverTakesTheWalFromUnderAnOpenConnection) {
    test::TempDir dir;
    const std::string cs = test::createBusinessDb(dir.file("b.mdb"));
    auto held = test::connect(cs);
    held->execute(logRow("first"));
    test::connect(cs).reset();  // one more connection, opened and closed
    {
        test::Peer other("Statement", {{"db", cs}, {"sql", logRow("other")}, {"timeout", "30"}});
        other.waitFor("ready");
        other.send("go");
        EXPECT_EQ(other.waitFor("done"), "done");
        other.finish();
        EXPECT_EQ(other.wait(), 0);
    }
    EXPECT_TRUE(fs::exists(dir.file("b.mdb-wal")));
    held->beginTrans();
    for (int i = 0; i < 400; ++i) held->execute(logRow("later"));
    held->commitTrans();
    held.reset();

    auto check = test::connect(cs);
    EXPECT_EQ(test::integrity(*check), "ok");
    EXPECT_EQ(logged(*check, "first"), 1);
    EXPECT_EQ(logged(*check, "other"), 1);
    EXPECT_EQ(logged(*check, "later"), 400);
}

// In the rollback-journal mode the module's write transaction keeps every
// other writer out until it commits, however many connections it opens.
TEST(FileInCompany, AWriteTransactionKeepsOtherProcessesOutUntilItCommits) {
    test::TempDir dir;
    const std::string cs = test::createBusinessDb(dir.file("b.mdb"));
    test::connect(cs)->executeScript("PRAGMA journal_mode=DELETE");
    auto mine = test::connect(cs);
    mine->beginWriteTrans();
    mine->execute(logRow("mine"));
    test::connect(cs).reset();

    test::Peer other("Statement", {{"db", cs}, {"sql", logRow("other")}, {"timeout", "1"}});
    other.waitFor("ready");
    other.send("go");
    EXPECT_EQ(other.readLine().rfind("busy", 0), 0u) << "the other process wrote while the module held the lock";
    mine->commitTrans();
    other.send("go");
    EXPECT_EQ(other.readLine(), "done");
    other.finish();
    other.wait();

    auto check = test::connect(cs);
    EXPECT_EQ(test::integrity(*check), "ok");
    EXPECT_EQ(logged(*check, "mine"), 1);
    EXPECT_EQ(logged(*check, "other"), 1);
}

// A terminal beside a write transaction of the module waits for it and goes
// on: it never fails, and each row it committed is there once.
TEST(FileInCompany, ATerminalWaitsForTheModulesWriteAndLosesNothing) {
    for (const char* mode : {"WAL", "DELETE"}) {
        test::TempDir dir;
        const std::string cs = test::createBusinessDb(dir.file("b.mdb"));
        auto con = test::connect(cs);
        con->executeScript(std::string("PRAGMA journal_mode=") + mode +
                           ";insert into Card_Info(Pinfo_id,Card_No,Card_No_Lng,C_LeiBie) values(1,'T1',101,1)");
        test::TerminalOptions o;
        o.card = "T1";
        test::Terminal terminal(cs, o);
        terminal.waitForCommits(3);
        con->beginWriteTrans();
        for (int i = 0; i < 200; ++i) con->execute(logRow("module"));
        con->commitTrans();
        terminal.waitForCommits(terminal.commits() + 3);
        const test::TerminalReport r = terminal.finish();
        EXPECT_EQ(r.failures, 0) << mode << (r.errors.empty() ? "" : r.errors.front());
        EXPECT_EQ(test::terminalRowsProblem(*con, o, r), "") << mode;
        EXPECT_EQ(test::integrity(*con), "ok") << mode;
        EXPECT_EQ(logged(*con, "module"), 200) << mode;
    }
}

// A command time-out of 0 is no limit (a long read asks for it): a write
// behind another process's lock waits for it however long it is held, in
// either journal mode, and is written after it.
TEST(FileInCompany, ACommandTimeOutOfNoneWaitsForTheLock) {
    for (const char* mode : {"WAL", "DELETE"}) {
        test::TempDir dir;
        const std::string cs = test::createBusinessDb(dir.file("b.mdb"));
        auto con = test::connect(cs);
        con->executeScript(std::string("PRAGMA journal_mode=") + mode);
        con->setCommandTimeout(0);
        test::Peer other("HoldUntilWaitedFor", {{"db", cs}, {"sql", logRow("other")}});
        other.waitFor("holding");
        try {
            con->execute(logRow("mine"));
        } catch (const db::DbError& e) {
            FAIL() << mode << ": gave up at once: " << e.what();
        }
        EXPECT_EQ(other.waitFor("committed"), "committed") << mode;
        EXPECT_EQ(other.wait(), 0) << mode;
        EXPECT_EQ(test::column(*con, "select Op_Object from Sys_Log order by ID"), (test::Texts{"other", "mine"}))
            << mode;
    }
}
