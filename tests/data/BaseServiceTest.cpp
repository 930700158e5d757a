#include <cctype>

#include "data/BaseService.h"
#include "platform/Error.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

// The 23 values of a Card_Type row in physical order, key first.
std::vector<std::string> cardTypeValues(const std::string& id, const std::string& name) {
    std::vector<std::string> v{id, "3", name, "remark", "1000", "500", "800", "2000", "-1", "0"};
    for (int i = 10; i <= 21; ++i) v.push_back(std::to_string(i * 10));
    v.push_back("0");
    return v;
}

const char* kCardTypeColumns =
    "C_LeiBie,C_Name,C_Remark,C_F_Money,C_T_Money,C_H_Money,Ci_Yuan,Tian_Yuan,Tian_Ci,Zao_Yuan,Zao_Ci,"
    "Zhong_Yuan,Zhong_Ci,Wan_Yuan,Wan_Ci,Ye_Yuan,Ye_Ci,Xiao_Yuan,Xiao_Ci,BT_Money,BT_Ci,Del_YN";

class BaseServiceTest : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        svc.Set_LinkStr(cs);
        DB_Type = "SQL";
    }
    // Every column of Card_Type row `id` as text, in physical order.
    std::vector<std::string> row(int id) { return test::row(*con, "select * from Card_Type where ID=" + std::to_string(id)); }
    long count(const std::string& table) { return static_cast<long>(test::number(*con, "select count(*) from " + table)); }
    BaseService svc;
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(BaseServiceTest);

TEST_P(BaseServiceTest, LinkStringAndTestLink) {
    EXPECT_EQ(svc.Get_LinkStr(), cs);
    EXPECT_TRUE(svc.Test_Link());
    EXPECT_EQ(svc.DB_Con, nullptr);
    BaseService bad;
    bad.Set_LinkStr(onServer() ? test::testServer()->connectionString("tolvenk_no_such_catalog")
                               : db::Connection::fileConnectionString(dir.file("missing.mdb")));
    EXPECT_FALSE(bad.Test_Link());
    EXPECT_EQ(bad.DB_Con, nullptr);
    EXPECT_THROW(bad.Get_DataList("select 1"), db::DbError);
}

TEST_P(BaseServiceTest, BothInsertPathsWriteTheSameRowByPosition) {
    auto v = cardTypeValues("0", "普通卡");
    ASSERT_TRUE(svc.Add_DataByIndex("Card_Type", 1, v, kCardTypeColumns));  // record-set path
    DB_Type = "Access";
    v[2] = "O'Brien's";  // a quote must neither break the statement nor be lost
    ASSERT_TRUE(svc.Add_DataByIndex("Card_Type", 1, v, kCardTypeColumns));  // statement path
    auto first = row(1), second = row(2);
    ASSERT_EQ(first.size(), 23u);
    ASSERT_EQ(second.size(), 23u);
    EXPECT_EQ(first[1], "3");
    EXPECT_EQ(first[2], "普通卡");
    EXPECT_EQ(first[4], "1000");
    EXPECT_EQ(first[8], "-1");
    EXPECT_EQ(first[21], "210");
    EXPECT_EQ(second[2], "O'Brien's");
    for (int i = 3; i < 23; ++i) EXPECT_EQ(first[i], second[i]) << "column " << i;
    EXPECT_EQ(second[0], "2");
}

TEST_P(BaseServiceTest, StartIndexZeroWritesColumnZeroToo) {
    DB_Type = "Access";  // an empty column list always takes the record-set path
    std::vector<std::string> v{"06:00:00", "09:00:00", "11:00:00", "13:00:00", "17:00:00", "19:00:00",
                               "21:00:00", "23:00:00", "00:00:00", "02:00:00", "60000", "10"};
    ASSERT_TRUE(svc.Add_DataByIndex("XF_Can_Time", 0, v, ""));
    DataList d = svc.Get_DataList("select * from XF_Can_Time");
    ASSERT_EQ(d.rowUBound(), 1);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(d(1, i), v[static_cast<std::size_t>(i)]);
}

TEST_P(BaseServiceTest, ModifyWritesPhysicalColumnsFromStartIndexOrNothing) {
    ASSERT_TRUE(svc.Add_DataByIndex("Card_Type", 1, cardTypeValues("0", "A"), ""));
    ASSERT_TRUE(svc.Add_DataByIndex("Card_Type", 1, cardTypeValues("0", "B"), ""));
    auto v = cardTypeValues("2", "B2");
    v[4] = "1500";
    EXPECT_TRUE(svc.Mod_DataByIndex("Card_Type", "ID", 1, v, 1));
    EXPECT_EQ(row(2)[2], "B2");
    EXPECT_EQ(row(2)[4], "1500");
    EXPECT_EQ(row(1)[2], "A");  // other rows untouched

    // One value too many: 23 values after the key for 22 columns after StartIndex 1.
    v = cardTypeValues("1", "changed");
    v.push_back("extra");
    const auto before = row(1);
    EXPECT_FALSE(svc.Mod_DataByIndex("Card_Type", "ID", 1, v, 1));
    EXPECT_EQ(row(1), before);
}

TEST_P(BaseServiceTest, ModifyKeysAreNeverPastedRaw) {
    con->executeScript(
        "insert into XF_ShouKuan(SK_ID,SK_Name) values('1','甲'),('x'' or ''1''=''1','乙');");
    // Text key (ColType 0) with a quote finds exactly its row.
    EXPECT_TRUE(svc.Mod_DataByIndex("XF_ShouKuan", "SK_ID", 2, {"x' or '1'='1", "丙"}, 0));
    DataList d = svc.Get_DataList("select SK_ID,SK_Name from XF_ShouKuan order by ID");
    EXPECT_EQ(d(1, 1), "甲");
    EXPECT_EQ(d(2, 1), "丙");
    // A numeric key that is not a number is refused before any SQL runs.
    EXPECT_THROW(svc.Mod_DataByIndex("XF_ShouKuan", "ID", 2, {"1 or 1=1", "丁"}, 1), db::DbError);
    // A key that matches no row is the provider's missing-record error.
    EXPECT_THROW(svc.Mod_DataByIndex("XF_ShouKuan", "ID", 2, {"77", "丁"}, 1), db::DbError);
    EXPECT_EQ(svc.Get_DataList("select count(*) from XF_ShouKuan where SK_Name='丁'")(1, 0), "0");
}

TEST_P(BaseServiceTest, ExecSqlRunsAndErrorsPass) {
    EXPECT_TRUE(svc.Exec_Sql("insert into Sys_Log(Operator_ID,Op_Code,Op_Object) values(1,301,'3,500')"));
    EXPECT_TRUE(svc.Exec_Sql("delete from Sys_Log where Op_Code=999"));  // ran, changed nothing: no failure
    EXPECT_EQ(count("Sys_Log"), 1);
    EXPECT_THROW(svc.Exec_Sql("insert into No_Such(x) values(1)"), db::DbError);
    auto failed = svc.DB_Con;
    ASSERT_NE(failed, nullptr);
    svc.Exec_Sql("delete from Sys_Log where 1=0");
    EXPECT_FALSE(failed->isOpen()) << "the failed operation's connection is closed by the next one";
}

TEST_P(BaseServiceTest, ExtraTimeoutRaisesTheCommandTimeout) {
    Extra_Timeout = 600;
    auto rs = svc.Get_DataList_ADO("select * from Record_XF");
    ASSERT_NE(svc.DB_Con, nullptr);
    EXPECT_EQ(svc.DB_Con->commandTimeout(), 660);
    Extra_Timeout = 32767;
    try {
        svc.Open_DB_Con();
        FAIL() << "60 + 32767 does not fit 16 bits";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), 6);
    }
}

TEST_P(BaseServiceTest, LiveRecordSetOutlivesItsReplacedConnection) {
    con->executeScript("insert into Sys_User_Info(User_Name) values('admin'),('clerk');");
    auto rs = svc.Get_DataList_ADO("select User_Name from Sys_User_Info order by User_ID");
    auto first = svc.DB_Con;
    ASSERT_TRUE(first && first->isOpen());
    svc.Exec_Sql("update Sys_User_Info set Del_YN=0");
    EXPECT_FALSE(first->isOpen()) << "the replaced connection is closed";
    ASSERT_EQ(rs->recordCount(), 2);
    EXPECT_EQ(rs->field("user_name").toString(), "admin");
    rs->moveNext();
    EXPECT_EQ(rs->field(0).toString(), "clerk");
}

TEST_P(BaseServiceTest, AFailedStatementUndoesTheWholeTransactionAndPassesItsOwnError) {
    const std::vector<std::string> sqls{"insert into Sys_Log(Operator_ID,Op_Code,Op_Object) values(1,301,'a')",
                                        "insert into Card_Type(ID,C_Name) values(1,'x')",
                                        "insert into Card_Type(ID,C_Name) values(1,'y')",
                                        "insert into Sys_Log(Operator_ID,Op_Code,Op_Object) values(1,302,'b')"};
    std::size_t failed = 99;
    try {
        svc.Exec_Sql_Trans(sqls, &failed);
        FAIL() << "the duplicate key was accepted";
    } catch (const db::DbError& e) {
        std::string why = e.what();
        for (char& c : why) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_NE(why.find("unique"), std::string::npos) << e.what();  // either engine's wording
    }
    EXPECT_EQ(failed, 2u);
    EXPECT_EQ(svc.DB_Con, nullptr) << "the failed transaction's connection is closed";
    EXPECT_EQ(count("Sys_Log"), 0);
    EXPECT_EQ(count("Card_Type"), 0);
}

// "or rollback" is the file engine's way to end the transaction itself, as a full disk does.
class BaseServiceFileTest : public BaseServiceTest {};
TOLVENK_ON_FILE_ONLY(BaseServiceFileTest);

TEST_P(BaseServiceFileTest, TransactionEndedByTheEngineStillPassesTheStatementsOwnError) {
    const std::vector<std::string> sqls{"insert into Sys_Log(Operator_ID,Op_Code,Op_Object) values(1,301,'a')",
                                        "insert or rollback into Card_Type(ID,C_Name) values(1,'x')",
                                        "insert or rollback into Card_Type(ID,C_Name) values(1,'y')"};
    std::size_t failed = 99;
    try {
        svc.Exec_Sql_Trans(sqls, &failed);
        FAIL() << "the duplicate key was accepted";
    } catch (const db::DbError& e) {
        EXPECT_NE(std::string(e.what()).find("UNIQUE"), std::string::npos) << e.what();
    }
    EXPECT_EQ(failed, 2u);
    EXPECT_EQ(svc.DB_Con, nullptr) << "the failed transaction's connection is closed";
    EXPECT_EQ(count("Sys_Log"), 0);
    EXPECT_EQ(count("Card_Type"), 0);
}

// A body that fails midway undoes what it wrote before the failure.
TEST_P(BaseServiceTest, AWriteTransactionThatFailsMidwayLeavesNothingWritten) {
    try {
        svc.Run_Write_Trans([](db::Connection& c) {
            c.execute("insert into Sys_Log(Operator_ID,Op_Code,Op_Object) values(1,301,'a')");
            c.execute("insert into Card_Type(ID,C_Name) values(1,'x')");
            c.execute("insert into Card_Type(ID,C_Name) values(1,'y')");
        });
        FAIL() << "the duplicate key was accepted";
    } catch (const db::DbError&) {
    }
    EXPECT_EQ(svc.DB_Con, nullptr) << "the failed transaction's connection is closed";
    EXPECT_EQ(count("Sys_Log"), 0);
    EXPECT_EQ(count("Card_Type"), 0);
}
