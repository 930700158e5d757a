#include <regex>

#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

class SqliteFunctions : public test::DbTest {
protected:
    db::Value one(const std::string& expr) { return con->openRecordset("select " + expr)->field(0); }
};

}  // namespace

TEST_F(SqliteFunctions, ValReadsTheLeadingNumberOnly) {
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

TEST_F(SqliteFunctions, TextFunctionsCountCharactersNotBytes) {
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
    EXPECT_THROW(one("mid('abc',0,2)"), db::DbError);
    // As on the server: a start of 0 counts one place before the first character.
    EXPECT_EQ(one("SUBSTRING('2026-11-30 08:00:00',0,11)").toString(), "2026-11-30");
}

TEST_F(SqliteFunctions, ClockFunctionsGiveLocalTimeText) {
    const std::regex form(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2})");
    EXPECT_TRUE(std::regex_match(one("now()").toString(), form));
    EXPECT_TRUE(std::regex_match(one("getdate()").toString(), form));
}

TEST_F(SqliteFunctions, LikeIgnoresAsciiCaseOnly) {
    EXPECT_EQ(one("'ABC' like 'a%'").toString(), "1");
    EXPECT_EQ(one("'abc' like 'AB_'").toString(), "1");
    EXPECT_EQ(one("'中文' like '中%'").toString(), "1");
    EXPECT_EQ(one("'Ä' like 'ä'").toString(), "0");
}

// The range form the provider uses for left(Date_Time,n) op 'L' must select
// exactly the rows the prefix form selects, edge values included.
TEST_F(SqliteFunctions, DatePrefixRangesSelectTheSameRows) {
    con->executeScript(R"(
insert into Record_XF(ID,Date_Time) values
 (1,'2026-10-31 23:59:59'),(2,'2026-11-01 00:00:00'),(3,'2026-11-30 23:59:59'),(4,'2026-12-01 00:00:00'),
 (5,'2026-11'),(6,'2026-1'),(7,'2026-11x'),(8,NULL),(9,''),(10,'2026-12'),(11,'2026-119'),(12,'2026-10-31Z');
)");
    auto ids = [&](const std::string& where) {
        return test::column(*con, "select ID from Record_XF where " + where + " order by ID");
    };
    for (const char* op : {"=", "<>", ">=", "<=", ">", "<"}) {
        for (const char* lit : {"2026-11", "2026-10", "2026-12"}) {
            const std::string rewritten = std::string("left(Date_Time,7)") + op + "'" + lit + "'";
            // The same comparison through a column expression the rewrite leaves alone.
            const std::string plain = std::string("vb_left(Date_Time,7)") + op + "'" + lit + "'";
            EXPECT_EQ(ids(rewritten), ids(plain)) << rewritten;
        }
    }
    EXPECT_EQ(ids("left(Date_Time,7)='2026-11'"), (test::Texts{"2", "3", "5", "7", "11"}));
}
