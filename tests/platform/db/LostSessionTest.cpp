// A session the server ended (a restart, an administrator): told as a lost
// connection, and replaced where no transaction of the module is open on it.
#include <gtest/gtest.h>

#include "platform/db/DbError.h"
#include "platform/db/Transaction.h"
#include "support/ServerRestart.h"
#include "support/TestDb.h"

using namespace tolvenk;

namespace {

class LostSession : public ::testing::Test {
protected:
    void SetUp() override {
        if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
        business = std::make_unique<test::BusinessDb>(test::Engine::Server);
        con = test::connect(business->connectionString());
        con->setCommandTimeout(7);
    }
    std::int64_t pid() { return con->openRecordset("select pg_backend_pid()")->field(0).toInt64(); }
    // Whether the statement failed as a lost connection ("no" when it ran).
    std::string failure(const std::string& sql) {
        try {
            con->execute(sql);
            return "ran";
        } catch (const db::DbError& e) {
            return e.connectionLost() ? "lost" : "failed";
        }
    }
    void end() { ASSERT_EQ(test::endSessions(business->databaseName()), 1); }

    std::unique_ptr<test::BusinessDb> business;
    std::shared_ptr<db::Connection> con;
};

}  // namespace

TEST_F(LostSession, OnlyAnEndedSessionIsALostConnection) {
    EXPECT_EQ(failure("insert into No_Such_Table values(1)"), "failed");
    EXPECT_EQ(failure("insert into Sys_Log(ID) values(1)"), "ran");
    EXPECT_EQ(failure("insert into Sys_Log(ID) values(1)"), "failed");  // a duplicate key
    end();
    EXPECT_EQ(failure("insert into Sys_Log(ID) values(2)"), "lost");
    EXPECT_EQ(failure("insert into Sys_Log(ID) values(3)"), "lost");
    EXPECT_EQ(test::number(*test::connect(business->connectionString()), "select count(*) from Sys_Log"), 1);
}

// Replaced when idle, with the connection's time-out; inside a transaction
// never, noticed or not, so that its remaining statements fail rather than
// run apart from what went back with the session.
TEST_F(LostSession, AnEndedSessionIsReplacedOnlyOutsideATransaction) {
    const std::int64_t first = pid();
    EXPECT_FALSE(con->reopenIfLost());
    EXPECT_EQ(pid(), first);
    {
        db::Transaction t(*con);
        con->execute("insert into Sys_Log(ID) values(1)");
        end();
        EXPECT_FALSE(con->reopenIfLost());
        EXPECT_EQ(failure("insert into Sys_Log(ID) values(2)"), "lost");
        EXPECT_FALSE(con->reopenIfLost());
        EXPECT_EQ(failure("insert into Sys_Log(ID) values(3)"), "lost");
    }
    EXPECT_TRUE(con->reopenIfLost());
    EXPECT_NE(pid(), first);
    EXPECT_EQ(con->openRecordset("show statement_timeout")->field(0).toString(), "7s");
    EXPECT_EQ(test::number(*con, "select count(*) from Sys_Log"), 0);

    end();  // idle: replaced before any statement fails on it
    EXPECT_TRUE(con->reopenIfLost());
    EXPECT_EQ(failure("insert into Sys_Log(ID) values(4)"), "ran");
    EXPECT_FALSE(con->reopenIfLost());
}
