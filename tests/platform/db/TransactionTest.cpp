// The transaction guard: what a scope writes stays only when it commits, and
// a guard inside another undoes its own part alone.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/db/Transaction.h"
#include "support/EngineTest.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

class TransactionTest : public test::EngineTest {
protected:
    void log(const std::string& what) {
        con->execute("insert into Sys_Log(Operator_ID,Op_Object) values(1,'" + what + "')");
    }
    test::Texts logged() { return test::column(*con, "select Op_Object from Sys_Log order by Op_Object"); }
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(TransactionTest);

TEST_P(TransactionTest, OnlyACommitKeepsTheWritesAndAnyOtherExitUndoesThem) {
    {
        db::Transaction t(*con);
        log("a");
        t.commit();
    }
    {
        db::Transaction t(*con);
        log("b");
    }  // left without a commit
    EXPECT_THROW(
        {
            db::Transaction t(*con);
            log("c");
            throw std::runtime_error("midway");
        },
        std::runtime_error);
    {
        db::Transaction t(*con, db::Transaction::Lock::Deferred);
        log("d");
        t.rollback();
        EXPECT_FALSE(con->inTransaction());
    }
    EXPECT_FALSE(con->inTransaction());
    EXPECT_EQ(logged(), (test::Texts{"a"}));
}

TEST_P(TransactionTest, ANestedGuardUndoesItsOwnPartAndTheOuterDecidesTheRest) {
    {
        db::Transaction outer(*con);
        log("outer");
        {
            db::Transaction kept(*con);
            log("kept");
            kept.commit();
        }
        {
            db::Transaction undone(*con);
            log("undone");
        }
        // A failed statement inside a nested guard: on the server the whole
        // transaction would be unusable unless the savepoint is rolled back.
        EXPECT_ANY_THROW({
            db::Transaction failing(*con);
            log("failing");
            con->execute("insert into No_Such_Table values(1)");
        });
        EXPECT_TRUE(con->inTransaction());
        log("after");
        outer.commit();
    }
    EXPECT_EQ(logged(), (test::Texts{"after", "kept", "outer"}));

    {
        db::Transaction outer(*con);
        log("lost");
        db::Transaction inner(*con);
        log("lost too");
        inner.commit();
    }  // the outer is left: its savepoint's commit goes with it
    EXPECT_EQ(logged(), (test::Texts{"after", "kept", "outer"}));
}

// A named lock is held by one session at a time, seen from the others, and
// let go by its release or by the session's end; other names are apart.
TEST_P(TransactionTest, ANamedLockHasOneHolderAndGoesWithItsSession) {
    auto other = test::connect(db->connectionString());
    EXPECT_FALSE(other->lockHeldElsewhere("run"));
    ASSERT_TRUE(con->tryHoldLock("run"));
    EXPECT_TRUE(con->tryHoldLock("run"));  // its holder asking again
    EXPECT_FALSE(con->lockHeldElsewhere("run"));
    EXPECT_TRUE(other->lockHeldElsewhere("run"));
    EXPECT_FALSE(other->tryHoldLock("run"));
    EXPECT_TRUE(other->tryHoldLock("another"));
    con->releaseLock("run");
    EXPECT_FALSE(other->lockHeldElsewhere("run"));
    ASSERT_TRUE(other->tryHoldLock("run"));
    EXPECT_FALSE(con->tryHoldLock("run"));
    other.reset();  // its session ends (or idles, reset, for the next one)
    EXPECT_FALSE(test::connect(db->connectionString())->lockHeldElsewhere("run"));
    EXPECT_TRUE(con->tryHoldLock("run"));
    EXPECT_TRUE(con->tryHoldLock("another"));
}

namespace {
class ServerTransaction : public TransactionTest {
protected:
    std::string timeout() { return test::text(*con, "show statement_timeout"); }
};
INSTANTIATE_TEST_SUITE_P(Engines, ServerTransaction, ::testing::Values(test::Engine::Server), test::EngineNames());
}  // namespace

// A transaction the server has already failed (a cursor's rows could not be
// computed: a zero where the statement divides) can only end in a rollback:
// its commit is refused in plain words, and what it wrote is gone, not
// reported kept.
TEST_P(ServerTransaction, ACommitOfATransactionTheServerFailedIsRefused) {
    con->execute("insert into Sys_Log(Operator_ID,Op_Code,Op_Object) values(1,0,'zero')");
    db::Transaction t(*con);
    log("thrown away");
    EXPECT_THROW(con->openCursor("select 100/Op_Code from Sys_Log"), db::DbError);
    try {
        t.commit();
        ADD_FAILURE() << "committed a transaction the server had failed";
    } catch (const db::DbError& e) {
        EXPECT_TRUE(e.told());
        EXPECT_EQ(e.toldText(), "The transaction could not be committed and was rolled back.");
    }
    EXPECT_FALSE(con->inTransaction());
    EXPECT_EQ(logged(), (test::Texts{"zero"}));
}

// A time-out set inside a transaction or a savepoint went back with its
// rollback on the server: the next statement still runs with the time-out
// asked for, not the one the rollback restored.
TEST_P(ServerTransaction, ATimeOutSetInsideARollbackIsSentAgain) {
    con->setCommandTimeout(60);
    EXPECT_EQ(timeout(), "1min");
    {
        db::Transaction t(*con);
        con->setCommandTimeout(2);
        EXPECT_EQ(timeout(), "2s");
    }  // rolled back
    EXPECT_EQ(timeout(), "2s");
    {
        db::Transaction outer(*con);
        {
            db::Transaction inner(*con);
            con->setCommandTimeout(3);
            EXPECT_EQ(timeout(), "3s");
        }  // back to the savepoint
        EXPECT_EQ(timeout(), "3s");
        outer.commit();
    }
    EXPECT_EQ(timeout(), "3s");
}

namespace {
class FileTransaction : public TransactionTest {};
INSTANTIATE_TEST_SUITE_P(Engines, FileTransaction, ::testing::Values(test::Engine::File), test::EngineNames());
}  // namespace

// A savepoint whose delete touches tens of megabytes of pages (a heavy
// card's rows at a large site lie on every page) keeps all their undo
// records: the delete is done, and a rollback of the savepoint brings every
// row back.
TEST_P(FileTransaction, ASavepointOverTensOfMegabytesOfPagesWritesAndGoesBackWhole) {
    con->execute("with recursive n(i) as (select 1 union all select i+1 from n where i<300000) "
                 "insert into Record_XF(Card_No,Card_LiuShui,Shou_Kuan) select 'C'||(i%20),i,hex(randomblob(60)) "
                 "from n");
    const auto card = [&] { return test::number(*con, "select count(*) from Record_XF where Card_No='C0'"); };
    db::Transaction outer(*con);
    {
        db::Transaction undone(*con);
        con->execute("delete from Record_XF where Card_No='C0'");
        EXPECT_EQ(card(), 0);
    }
    EXPECT_EQ(card(), 15000);
    {
        db::Transaction kept(*con);
        con->execute("delete from Record_XF where Card_No='C0'");
        kept.commit();
    }
    outer.commit();
    EXPECT_EQ(card(), 0);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF"), 285000);
}

// Statements sent together run as each would alone (the file engine's
// dialect translated for the server); one that fails is an error the
// caller's savepoint undoes with the others, and the transaction goes on.
TEST_P(TransactionTest, StatementsSentTogetherWriteAsEachAloneAndFailAsOne) {
    db::Transaction outer(*con);
    con->executeEach({"insert into Sys_Log(Operator_ID,Op_Object) values(1,left('abz',2))",
                      "update Sys_Log set Op_Object=Op_Object || 'c' where Op_Object='ab'"});
    EXPECT_ANY_THROW({
        db::Transaction set(*con);
        con->executeEach({"insert into Sys_Log(Operator_ID,Op_Object) values(1,'lost')",
                          "insert into No_Such_Table values(1)", "insert into Sys_Log(Operator_ID,Op_Object) values(1,'x')"});
    });
    log("after");
    outer.commit();
    EXPECT_EQ(logged(), (test::Texts{"abc", "after"}));
}
