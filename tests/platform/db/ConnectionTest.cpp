#include <gtest/gtest.h>

#include <filesystem>

#include "platform/db/DbError.h"
#include "platform/db/Transaction.h"
#include "support/EngineTest.h"

using namespace tolvenk;

TEST(Connection, MissingFileIsAClearErrorAndIsNotCreated) {
    test::TempDir dir;
    const std::string path = dir.file("nowhere.mdb");
    db::Connection con;
    try {
        con.open("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=" + path + ";Jet OLEDB:Database Password=x;");
        FAIL() << "opened a missing file";
    } catch (const db::DbError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(con.isOpen());
}

TEST(Connection, JetStyleTextWithBackslashesOpensTheFile) {
    test::TempDir dir;
    test::createBusinessDb(dir.file("TAM08.mdb"));
    db::Connection con;
    // The folder and file are joined with '\' in the module's texts.
    con.open("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=" + dir.path().string() +
             "\\TAM08.mdb; Jet OLEDB:Database Password=vandrel4193;");
    EXPECT_TRUE(con.isOpen());
    EXPECT_EQ(con.openRecordset("select count(*) from Record_XF")->field(0).toString(), "0");
}

TEST(Connection, UnknownProvidersAndClosedConnectionsFailClearly) {
    db::Connection con;
    EXPECT_THROW(con.open("Provider=Other;Data Source=x"), db::DbError);
    EXPECT_THROW(con.open(""), db::DbError);
    EXPECT_THROW(con.execute("select 1"), db::DbError);  // closed
}

namespace {

class ConnectionTest : public test::EngineTest {};

std::string errorOf(const std::function<void()>& f, int* number = nullptr) {
    try {
        f();
    } catch (const db::DbError& e) {
        if (number) *number = e.number();
        return e.what();
    }
    return "";
}

}  // namespace

TOLVENK_ON_BOTH_ENGINES(ConnectionTest);

TEST_P(ConnectionTest, RollbackLeavesNothingAndCommitKeeps) {
    con->beginTrans();
    EXPECT_TRUE(con->inTransaction());
    con->execute("insert into Sys_Log(Operator_ID,Op_Code,Op_Object) values(1,301,'a')");
    con->execute("update Sys_Log set Op_Object='b'");
    con->rollbackTrans();
    EXPECT_FALSE(con->inTransaction());
    EXPECT_EQ(con->openRecordset("select count(*) from Sys_Log")->field(0).toString(), "0");

    con->beginTrans();
    con->execute("insert into Sys_Log(Operator_ID,Op_Code,Op_Object) values(1,301,'c')");
    // Uncommitted work is not seen by a second connection.
    auto other = test::connect(con->connectionString());
    EXPECT_EQ(other->openRecordset("select count(*) from Sys_Log")->field(0).toInt64(), 0);
    con->commitTrans();
    EXPECT_EQ(other->openRecordset("select Op_Object from Sys_Log")->field(0).toString(), "c");
}

TEST_P(ConnectionTest, AFailedStatementEndsOnlyItselfInsideATransaction) {
    con->beginTrans();
    EXPECT_THROW(con->beginTrans(), db::DbError);  // no nesting
    con->execute("insert into Sys_Log(Operator_ID,Op_Object) values(1,'kept')");
    EXPECT_THROW(con->execute("insert into Sys_Log(Operator_ID,Op_Object) values('x','lost')"), db::DbError);
    EXPECT_THROW(con->openRecordset("select * from No_Such_Table"), db::DbError);
    EXPECT_TRUE(con->inTransaction());
    con->execute("insert into Sys_Log(Operator_ID,Op_Object) values(2,'also kept')");
    con->commitTrans();
    EXPECT_EQ(con->openRecordset("select count(*) from Sys_Log")->field(0).toInt64(), 2);
    EXPECT_THROW(con->commitTrans(), db::DbError);
    EXPECT_THROW(con->rollbackTrans(), db::DbError);
}

TEST_P(ConnectionTest, ExecuteReportsChangedRowsAndBindsParameters) {
    EXPECT_EQ(con->execute("insert into Sys_Log(Operator_ID,Op_Object) values(?,?)", {db::Value(7), "x"}), 1);
    EXPECT_EQ(con->execute("insert into Sys_Log(Operator_ID,Op_Object) values(?,?)", {db::Value(8), "y"}), 1);
    EXPECT_EQ(con->execute("update Sys_Log set Op_Code=1"), 2);
    EXPECT_EQ(con->execute("delete from Sys_Log where Operator_ID=99"), 0);
    EXPECT_EQ(con->execute("select * from Sys_Log"), 0);
    EXPECT_THROW(con->execute("select * from No_Such_Table"), db::DbError);
    EXPECT_THROW(con->execute("delete from Sys_Log where Operator_ID=?", {}), db::DbError);
    // The same text again, with other values (the server prepares it then).
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(con->execute("update Sys_Log set Op_Code=? where Operator_ID=?", {db::Value(i), db::Value(7)}), 1);
    EXPECT_EQ(con->openRecordset("select Op_Code from Sys_Log where Operator_ID=7")->field(0).toInt64(), 2);
    // A text bound to a number column is read as that number, or refused.
    EXPECT_EQ(con->execute("update Sys_Log set Op_Code=? where Op_Object=?", {"42", "Y"}), 1);
    EXPECT_EQ(con->openRecordset("select Op_Code from Sys_Log where Operator_ID=8")->field(0).toInt64(), 42);
    EXPECT_THROW(con->execute("update Sys_Log set Op_Code=?", {"4x"}), db::DbError);
    con->setCommandTimeout(660);
    EXPECT_EQ(con->commandTimeout(), 660);
}

TEST_P(ConnectionTest, ASecondStatementInOneTextIsRefusedNotDropped) {
    int number = 0;
    EXPECT_NE(errorOf([&] { con->execute("insert into Sys_Log(Operator_ID,Op_Object) values(1,'a'); delete from Record_XF"); },
                      &number).find("Characters found after end of SQL statement"),
              std::string::npos);
    EXPECT_EQ(number, 3142);
    EXPECT_THROW(con->openRecordset("select 1; select 2"), db::DbError);
    EXPECT_EQ(con->openRecordset("select count(*) from Sys_Log")->field(0).toString(), "0");
    // A trailing ';' with blanks is still one statement, and ';' inside a text is text.
    EXPECT_EQ(con->execute("insert into Sys_Log(Operator_ID,Op_Object) values(2,'b; c') ; "), 1);
    EXPECT_EQ(con->openRecordset("select Op_Object from Sys_Log")->field(0).toString(), "b; c");
}

// A write that waits for another session's lock gives up after the command
// time-out with the engine's reason; the waiting connection stays usable.
TEST_P(ConnectionTest, AWriteBlockedByAnotherTransactionFailsAfterTheCommandTimeout) {
    con->execute("insert into Sys_Log(Operator_ID,Op_Object) values(1,'a')");
    auto holder = test::connect(db->connectionString());
    holder->beginTrans();
    holder->execute("update Sys_Log set Op_Object='held'");
    auto waiter = test::connect(db->connectionString());
    waiter->setCommandTimeout(1);
    int number = 0;
    const std::string err = errorOf([&] { waiter->execute("update Sys_Log set Op_Object='waited'"); }, &number);
    EXPECT_FALSE(err.empty());
    EXPECT_EQ(number, 3146) << err;
    holder->rollbackTrans();
    EXPECT_EQ(waiter->execute("update Sys_Log set Op_Object='later'"), 1);

    // A write transaction that cannot take the write lock in time is not
    // begun: the session stays fit for the next one.
    holder->beginWriteTrans();
    EXPECT_FALSE(errorOf([&] { waiter->beginWriteTrans(); }).empty());
    EXPECT_FALSE(waiter->inTransaction());
    holder->rollbackTrans();
    {
        db::Transaction t(*waiter);
        waiter->execute("update Sys_Log set Op_Object='after'");
        t.commit();
    }
    EXPECT_EQ(test::text(*con, "select Op_Object from Sys_Log"), "after");
}
