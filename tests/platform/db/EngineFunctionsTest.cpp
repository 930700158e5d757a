#include <gtest/gtest.h>

#include <regex>

#include "platform/db/DbError.h"
#include "support/EngineTest.h"

using namespace tolvenk;

// The classic functions and text rules the module's statements rely on, with
// the same results on both engines.
namespace {

class EngineFunctions : public test::EngineTest {
protected:
    db::Value one(const std::string& expr) {
        auto rs = con->openRecordset("select " + expr);
        return rs->field(0);
    }
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(EngineFunctions);

TEST_P(EngineFunctions, ValReadsTheLeadingNumberOnly) {
    EXPECT_EQ(one("val('12abc')").toString(), "12");
    EXPECT_EQ(one("val('abc')").toString(), "0");
    EXPECT_EQ(one("val('')").toString(), "0");
    EXPECT_EQ(one("val(' 1 2 3')").toString(), "123");  // blanks are skipped anywhere
    EXPECT_EQ(one("val('-3.5e2x')").toString(), "-350");
    EXPECT_EQ(one("val('2.5')").toString(), "2.5");
    EXPECT_EQ(one("val('&H1F')").toString(), "31");
    EXPECT_EQ(one("val('1e')").toString(), "1");
    EXPECT_TRUE(one("val(NULL)").isNull());
    EXPECT_EQ(one("val(7)").toString(), "7");
    // Numeric, so '10' sorts after '9'.
    EXPECT_EQ(one("val('10') > val('9')").toString(), "1");
}

TEST_P(EngineFunctions, TextFunctionsCountCharactersNotBytes) {
    EXPECT_EQ(one("len('中文ab')").toString(), "4");
    EXPECT_EQ(one("len('')").toString(), "0");
    EXPECT_TRUE(one("len(NULL)").isNull());
    EXPECT_EQ(one("left('中文ab',1)").toString(), "中");
    EXPECT_EQ(one("left('2026-11-30 08:00:00',7)").toString(), "2026-11");
    EXPECT_EQ(one("left('abc',10)").toString(), "abc");
    EXPECT_EQ(one("mid('abcdef',2,3)").toString(), "bcd");
    EXPECT_EQ(one("mid('abcdef',5)").toString(), "ef");
    EXPECT_EQ(one("mid('中文字',2,1)").toString(), "文");
    EXPECT_EQ(one("mid('abc',9,2)").toString(), "");
    if (!onServer()) {
        EXPECT_THROW(one("mid('abc',0,2)"), db::DbError);
    }
    // As on the classic server: a start of 0 counts one place before the first character.
    EXPECT_EQ(one("SUBSTRING('2026-11-30 08:00:00',0,11)").toString(), "2026-11-30");
    EXPECT_EQ(one("substring('abc',0,2)").toString(), "a");
    // Numbers are read as their text.
    EXPECT_EQ(one("len(12345)").toString(), "5");
    EXPECT_EQ(one("left(2026,2)").toString(), "20");
}

TEST_P(EngineFunctions, CastAsIntReadsTextAsTheClassicServerDoes) {
    EXPECT_EQ(one("cast('101' as int)").toString(), "101");
    EXPECT_EQ(one("cast(' 7 ' as int) + 1").toString(), "8");
    EXPECT_TRUE(one("cast(NULL as int)").isNull());
    if (onServer()) {
        EXPECT_EQ(one("cast('' as int)").toString(), "0");
        EXPECT_EQ(one("cast(12.7 as int)").toString(), "12");
        EXPECT_THROW(one("cast('abc' as int)"), db::DbError);
    }
    con->executeScript("insert into Sys_Para(Para_Name,SubParaName) values ('HZ_Rep_Format','101'),"
                       "('HZ_Rep_Format','9'),('HZ_Rep_Format','100')");
    auto rs = con->openRecordset("select SubParaName from Sys_Para where Para_Name='HZ_Rep_Format' and "
                                 "cast(subParaName as int )<=100 order by cast(SubParaName as int)");
    ASSERT_EQ(rs->recordCount(), 2);
    EXPECT_EQ(rs->field(0).toString(), "9");
}

// Names, codes and card numbers compare and sort without regard to ASCII case;
// other text (dates, passwords) byte for byte; LIKE ignores ASCII case always.
TEST_P(EngineFunctions, TextComparesAsTheInstallationsEnginesDo) {
    con->executeScript(
        "insert into Sys_User_Info(User_ID,User_Name,User_Pass) values (1,'admin','Secret'),(2,'Bob','x'),"
        "(3,'alice','y'),(4,'张三','z'),(5,'ÄRGER','w');"
        "insert into Record_XF(ID,Card_No,Date_Time) values (1,'AB01','2026-11-01 08:00:00'),"
        "(2,'ab02','2026-11-01 8:00:00'),(3,'Ab01','2026-10-31 23:59:59');");
    auto names = [&](const std::string& sql) {
        std::string out;
        for (auto rs = con->openRecordset(sql); !rs->eof(); rs->moveNext()) out += rs->field(0).toString() + ",";
        return out;
    };
    EXPECT_EQ(names("select User_ID from Sys_User_Info where User_Name='ADMIN'"), "1,");
    EXPECT_EQ(names("select User_ID from Sys_User_Info where User_Name='ärger'"), "");  // ASCII only
    EXPECT_EQ(names("select User_ID from Sys_User_Info where User_Pass='secret'"), "");
    EXPECT_EQ(names("select User_Name from Sys_User_Info order by User_Name"), "admin,alice,Bob,ÄRGER,张三,");
    EXPECT_EQ(names("select User_ID from Sys_User_Info where User_Name like 'A%' order by User_ID"), "1,3,");
    EXPECT_EQ(names("select User_ID from Sys_User_Info where User_Pass like 's%'"), "1,");
    EXPECT_EQ(names("select ID from Record_XF where Card_No='ab01' order by ID"), "1,3,");
    EXPECT_EQ(names("select count(distinct Card_No) from Record_XF"), "2,");
    // Date texts in byte order: '8:' sorts after '08'.
    EXPECT_EQ(names("select ID from Record_XF order by Date_Time"), "3,1,2,");
    EXPECT_EQ(names("select ID from Record_XF where Date_Time>'2026-11-01 09' order by ID"), "2,");
    EXPECT_EQ(names("select ID from Record_XF where Date_Time like '2026-11%' order by ID"), "1,2,");
    // Results are read by name whatever case the statement or the table wrote it in.
    auto rs = con->openRecordset("select sum(ID) as Total_Sum, count(*) as N from Record_XF");
    EXPECT_EQ(rs->field("TOTAL_SUM").toString(), "6");
    EXPECT_TRUE(rs->field("total_sum").isInteger());
    EXPECT_EQ(rs->field("n").toInt64(), 3);
}

TEST_P(EngineFunctions, ClockFunctionsGiveLocalTimeText) {
    const std::regex form(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2})");
    EXPECT_TRUE(std::regex_match(one("now()").toString(), form));
    EXPECT_TRUE(std::regex_match(one("getdate()").toString(), form));
}

TEST_P(EngineFunctions, LikeIgnoresAsciiCaseOnly) {
    EXPECT_EQ(one("'ABC' like 'a%'").toString(), "1");
    EXPECT_EQ(one("'abc' like 'AB_'").toString(), "1");
    EXPECT_EQ(one("'中文' like '中%'").toString(), "1");
    EXPECT_EQ(one("'Ä' like 'ä'").toString(), "0");
}

// The range form the provider uses for left(Date_Time,n) op 'L' must select
// exactly the rows the prefix form selects, edge values included.
TEST_P(EngineFunctions, DatePrefixRangesSelectTheSameRows) {
    con->executeScript(R"(
insert into Record_XF(ID,Date_Time) values
 (1,'2026-10-31 23:59:59'),(2,'2026-11-01 00:00:00'),(3,'2026-11-30 23:59:59'),(4,'2026-12-01 00:00:00'),
 (5,'2026-11'),(6,'2026-1'),(7,'2026-11x'),(8,NULL),(9,''),(10,'2026-12'),(11,'2026-119'),(12,'2026-10-31Z');
)");
    auto ids = [&](const std::string& where) {
        std::string out;
        for (auto rs = con->openRecordset("select ID from Record_XF where " + where + " order by ID"); !rs->eof();
             rs->moveNext())
            out += rs->field(0).toString() + ",";
        return out;
    };
    for (const char* op : {"=", "<>", ">=", "<=", ">", "<"}) {
        for (const char* lit : {"2026-11", "2026-10", "2026-12"}) {
            const std::string rewritten = std::string("left(Date_Time,7)") + op + "'" + lit + "'";
            // The same comparison through a column expression the rewrite leaves alone.
            const std::string plain = std::string("substr(Date_Time,1,7)") + op + "'" + lit + "'";
            EXPECT_EQ(ids(rewritten), ids(plain)) << rewritten;
        }
    }
    EXPECT_EQ(ids("left(Date_Time,7)='2026-11'"), "2,3,5,7,11,");
}
