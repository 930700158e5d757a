// A session the server ended (a restart, an administrator): told as a lost
// connection, and replaced only where no transaction of the module is open.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/db/DbError.h"
#include "platform/db/Transaction.h"
#include "support/ServerRestart.h"
#include "support/TestDb.h"

using namespace tolvenk;

namespace {

// How a statement ends: "ran", "failed", or "lost" with its session.
std::string outcome(db::Connection& con, const std::string& sql) {
    try {
        con.execute(sql);
        return "ran";
    } catch (const db::DbError& e) {
        return e.connectionLost() ? "lost" : "failed";
    }
}

}  // namespace

// Noticed or not, an ended session is never replaced inside a transaction,
// so that its remaining statements fail rather than run apart from what went
// back with it; once the transaction is over, or when idle, it is, keeping
// the connection's time-out.
TEST(LostSession, AnEndedSessionIsToldAsLostAndReplacedOnlyOutsideATransaction) {
    if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
    test::BusinessDb business(test::Engine::Server);
    const auto end = [&] { ASSERT_EQ(test::endSessions(business.databaseName()), 1); };
    auto con = test::connect(business.connectionString());
    con->setCommandTimeout(7);
    EXPECT_EQ(outcome(*con, "insert into No_Such_Table values(1)"), "failed");
    EXPECT_FALSE(con->reopenIfLost());
    {
        db::Transaction t(*con);
        EXPECT_EQ(outcome(*con, "insert into Sys_Log(ID) values(1)"), "ran");
        EXPECT_EQ(outcome(*con, "insert into Sys_Log(ID) values(1)"), "failed");  // a duplicate key
        end();
        EXPECT_FALSE(con->reopenIfLost());
        EXPECT_EQ(outcome(*con, "insert into Sys_Log(ID) values(2)"), "lost");
        EXPECT_FALSE(con->reopenIfLost());
        EXPECT_EQ(outcome(*con, "insert into Sys_Log(ID) values(3)"), "lost");
    }
    EXPECT_TRUE(con->reopenIfLost());
    EXPECT_EQ(con->openRecordset("show statement_timeout")->field(0).toString(), "7s");
    EXPECT_EQ(test::number(*con, "select count(*) from Sys_Log"), 0);

    end();
    EXPECT_TRUE(con->reopenIfLost());
    EXPECT_EQ(outcome(*con, "insert into Sys_Log(ID) values(4)"), "ran");
    EXPECT_FALSE(con->reopenIfLost());
    end();
    EXPECT_EQ(outcome(*con, "insert into Sys_Log(ID) values(5)"), "lost");  // a statement meets it first
}

// The server's own word that the session ends tells it lost, whether or not
// the socket has been seen closed by then (where results are read as they
// come, that word arrives first): ended by an administrator or a shutdown,
// a crash, a server still starting, a connection failure. Other failures,
// a cancelled statement among them, are the statement's alone. The server
// raises each state here itself, inside a transaction and outside one.
TEST(LostSession, TheStatesOfAnEndingSessionAreToldAsLostAndNoOthers) {
    if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
    test::BusinessDb business(test::Engine::Server);
    auto con = test::connect(business.connectionString());
    con->executeScript("create function fail_with(state text) returns int language plpgsql as "
                       "$$ begin raise exception 'failed with %', state using errcode = state; end $$");
    const std::pair<const char*, const char*> cases[] = {
        {"57P01", "lost"},    // admin_shutdown: pg_terminate_backend, a fast shutdown
        {"57P02", "lost"},    // crash_shutdown
        {"57P03", "lost"},    // cannot_connect_now
        {"08006", "lost"},    // connection_failure
        {"08003", "lost"},    // connection_does_not_exist
        {"57014", "failed"},  // query_canceled: a statement time-out
        {"23505", "failed"},  // unique_violation
        {"40P01", "failed"},  // deadlock_detected
        {"55P03", "failed"},  // lock_not_available
    };
    for (const auto& [state, told] : cases) {
        SCOPED_TRACE(state);
        const std::string sql = std::string("select fail_with('") + state + "')";
        EXPECT_EQ(outcome(*con, sql), told);
        db::Transaction t(*con);
        EXPECT_EQ(outcome(*con, sql), told);
    }
}
