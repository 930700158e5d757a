#include <gtest/gtest.h>

#include <filesystem>

#include "platform/db/DbError.h"
#include "support/TestDb.h"

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

TEST(Connection, ServerAndUnknownProvidersFailClearly) {
    db::Connection con;
    try {
        con.open("Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;Initial Catalog=x;"
                 "Data Source=srv;");
        FAIL();
    } catch (const db::DbError& e) {
        EXPECT_NE(std::string(e.what()).find("not available"), std::string::npos);
    }
    EXPECT_THROW(con.open("Provider=Other;Data Source=x"), db::DbError);
    EXPECT_THROW(con.open(""), db::DbError);
    EXPECT_THROW(con.execute("select 1"), db::DbError);  // closed
}

TEST(Connection, RollbackLeavesNothingAndCommitKeeps) {
    test::TempDir dir;
    auto con = test::connect(test::createBusinessDb(dir.file("b.mdb")));
    con->beginTrans();
    EXPECT_TRUE(con->inTransaction());
    con->execute("insert into Sys_Log(Operator_ID,Op_Code,Op_Object) values(1,301,'a')");
    con->execute("update Sys_Log set Op_Object='b'");
    con->rollbackTrans();
    EXPECT_FALSE(con->inTransaction());
    EXPECT_EQ(con->openRecordset("select count(*) from Sys_Log")->field(0).toString(), "0");

    con->beginTrans();
    con->execute("insert into Sys_Log(Operator_ID,Op_Code,Op_Object) values(1,301,'c')");
    con->commitTrans();
    // A second connection sees the committed row.
    auto other = test::connect(con->connectionString());
    EXPECT_EQ(other->openRecordset("select Op_Object from Sys_Log")->field(0).toString(), "c");
}

TEST(Connection, ExecuteReportsChangedRowsAndBindsParameters) {
    test::TempDir dir;
    auto con = test::connect(test::createBusinessDb(dir.file("b.mdb")));
    EXPECT_EQ(con->execute("insert into Sys_Log(Operator_ID,Op_Object) values(?,?)", {db::Value(7), "x"}), 1);
    EXPECT_EQ(con->execute("insert into Sys_Log(Operator_ID,Op_Object) values(?,?)", {db::Value(8), "y"}), 1);
    EXPECT_EQ(con->execute("update Sys_Log set Op_Code=1"), 2);
    EXPECT_EQ(con->execute("delete from Sys_Log where Operator_ID=99"), 0);
    EXPECT_THROW(con->execute("select * from No_Such_Table"), db::DbError);
    con->setCommandTimeout(660);
    EXPECT_EQ(con->commandTimeout(), 660);
}

TEST(Connection, ASecondStatementInOneTextIsRefusedNotDropped) {
    test::TempDir dir;
    auto con = test::connect(test::createBusinessDb(dir.file("b.mdb")));
    EXPECT_THROW(con->execute("insert into Sys_Log(Operator_ID,Op_Object) values(1,'a'); delete from Record_XF"),
                 db::DbError);
    EXPECT_THROW(con->openRecordset("select 1; select 2"), db::DbError);
    EXPECT_EQ(con->openRecordset("select count(*) from Sys_Log")->field(0).toString(), "0");
    // A trailing ';' with blanks is still one statement.
    EXPECT_EQ(con->execute("insert into Sys_Log(Operator_ID,Op_Object) values(2,'b') ; "), 1);
}
