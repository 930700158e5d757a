// Opening a file database while a terminal commits into it: with a rollback
// journal the terminal's commit holds readers out for a moment, and an open
// then waits for it as any statement does instead of failing.
#include <gtest/gtest.h>

#include <string>

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "support/Terminal.h"
#include "support/TestDb.h"

using namespace tolvenk;

TEST(OpenBesideTerminal, AnOpenWaitsForATerminalsCommitOnARollbackJournal) {
    test::TempDir dir;
    const std::string cs = test::createBusinessDb(dir.file("b.mdb"));
    {
        auto con = test::connect(cs);
        con->executeScript("PRAGMA journal_mode=DELETE");
        con->execute("insert into Card_Info(Pinfo_id,Card_No,Card_No_Lng,C_LeiBie,C_YuE_ID) values(1,'T1',1,1,0)");
    }
    test::TerminalOptions o;
    o.card = "T1";
    test::Terminal t(cs, o);
    t.waitForCommits(1);
    // Most of these meet a commit: the terminal pauses for less time than it holds readers out.
    int failed = 0;
    std::string why;
    for (int i = 0; i < 50; ++i) {
        try {
            db::Connection c;
            c.open(cs);
        } catch (const db::DbError& e) {
            ++failed;
            why = e.what();
        }
    }
    t.waitForCommits(t.commits() + 3);
    const test::TerminalReport r = t.finish();
    EXPECT_EQ(failed, 0) << why;
    EXPECT_EQ(r.failures, 0);
    auto con = test::connect(cs);
    EXPECT_EQ(test::terminalRowsProblem(*con, o, r), "");
    EXPECT_EQ(test::integrity(*con), "ok");
}
