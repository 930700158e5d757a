// Reads of one run that see one committed state of the database while a
// terminal goes on committing beside them, and never hold it up.
#include <gtest/gtest.h>

#include "platform/db/Connection.h"
#include "support/EngineTest.h"
#include "support/Fixtures.h"
#include "support/Terminal.h"

using namespace tolvenk;

namespace {

class ReadSnapshotTest : public test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        if (IsSkipped()) return;
        con->execute("insert into Card_Info(Pinfo_id,Card_No,Card_No_Lng,C_LeiBie,C_YuE_ID) values(1,'T1',1,1,0)");
        options.card = "T1";
    }
    std::int64_t rows(db::Connection& c) { return test::number(c, "select count(*) from Record_XF"); }
    // The terminal is done and wrote every row it said it did, none twice.
    void expectTerminalWhole(test::Terminal& t) {
        const test::TerminalReport r = t.finish();
        EXPECT_EQ(r.failures, 0) << (r.errors.empty() ? "" : r.errors.front());
        EXPECT_EQ(test::terminalRowsProblem(*con, options, r), "");
        EXPECT_EQ(test::integrity(*con), "ok");
    }
    test::TerminalOptions options;
};

using ReadSnapshotJournal = ReadSnapshotTest;

}  // namespace

TOLVENK_ON_BOTH_ENGINES(ReadSnapshotTest);
INSTANTIATE_TEST_SUITE_P(Engines, ReadSnapshotJournal, ::testing::Values(test::Engine::File), test::EngineNames());

// The server, and a file in WAL mode: the snapshot's reads keep the state of
// its start while the terminal commits; the connection it was made like is
// not in its transaction, so a write there is everybody's at once.
TEST_P(ReadSnapshotTest, SeesTheStateOfItsStartWhileATerminalCommits) {
    test::Terminal t(db->connectionString(), options);
    t.waitForCommits(2);
    std::int64_t seen = 0;
    {
        db::ReadSnapshot snap(*con);
        ASSERT_TRUE(snap.oneState());
        EXPECT_FALSE(con->inTransaction());
        seen = rows(snap.connection());
        EXPECT_GE(seen, 2);
        // The terminal's reports may lag behind its commits: wait on the count seen.
        t.waitForCommits(static_cast<std::size_t>(seen) + 3);  // never held up by the snapshot
        con->execute("insert into Sys_Log(Operator_ID,Op_Object) values(1,'beside')");
        auto other = test::connect(db->connectionString());
        EXPECT_GE(rows(*other), seen + 3);
        EXPECT_EQ(test::number(*other, "select count(*) from Sys_Log where Op_Object='beside'"), 1);
        EXPECT_EQ(rows(snap.connection()), seen);
        EXPECT_EQ(test::number(snap.connection(), "select count(*) from Sys_Log"), 0);
    }
    t.waitForCommits(static_cast<std::size_t>(seen) + 4);
    expectTerminalWhole(t);
    EXPECT_GT(rows(*con), seen + 3);
}

// With a rollback journal a read transaction would keep the terminal's
// commits waiting until it ended: none is begun, and each read sees the state
// at its own start.
TEST_P(ReadSnapshotJournal, BeginsNothingOnARollbackJournal) {
    con->executeScript("PRAGMA journal_mode=DELETE");
    ASSERT_EQ(test::text(*con, "PRAGMA journal_mode"), "delete");
    test::Terminal t(db->connectionString(), options);
    t.waitForCommits(2);
    {
        db::ReadSnapshot snap(*con);
        EXPECT_FALSE(snap.oneState());
        EXPECT_FALSE(snap.connection().inTransaction());
        const std::int64_t first = rows(snap.connection());
        t.waitForCommits(static_cast<std::size_t>(first) + 3);
        EXPECT_GE(rows(snap.connection()), first + 3);
    }
    expectTerminalWhole(t);
}
