#include <gtest/gtest.h>

#include "platform/db/SqlTranslator.h"

using tolvenk::db::translateForSqlite;

TEST(SqlTranslator, TopBecomesLimitAtTheEndOfItsSelect) {
    EXPECT_EQ(translateForSqlite("select top 1 * from Card_Type"), "select * from Card_Type LIMIT 1");
    EXPECT_EQ(translateForSqlite("SELECT TOP 10 ID from T where A=1 order by ID desc ;"),
              "SELECT ID from T where A=1 order by ID desc LIMIT 10 ;");
    EXPECT_EQ(translateForSqlite("select distinct top 3 Dept_No from Ren_Dept_Info"),
              "select distinct Dept_No from Ren_Dept_Info LIMIT 3");
}

TEST(SqlTranslator, TopInsideASubqueryStaysInsideIt) {
    EXPECT_EQ(translateForSqlite("select * from A where ID in (select top 2 ID from B order by ID) and X=1"),
              "select * from A where ID in (select ID from B order by ID LIMIT 2) and X=1");
    EXPECT_EQ(translateForSqlite("select top 1 a from (select top 5 a from B) order by a"),
              "select a from (select a from B LIMIT 5) order by a LIMIT 1");
}

TEST(SqlTranslator, QuotedTextAndNamesAreNeverTouched) {
    const std::string sql = "select * from T where P_Name='select top 5 x' and \"top\"=1";
    EXPECT_EQ(translateForSqlite(sql), sql);
    const std::string doubled = "select 'it''s top 1 (' from T";
    EXPECT_EQ(translateForSqlite(doubled), doubled);
}

TEST(SqlTranslator, StatementsWithoutTopPassUnchanged) {
    const std::string sql = "update Record_XF set Err_Code=0 where Date_Time>='2026-01-01' and top_x=2";
    EXPECT_EQ(translateForSqlite(sql), sql);
    EXPECT_EQ(translateForSqlite("select topic from T"), "select topic from T");
}

TEST(SqlTranslator, LeftAsACallIsRenamedButLeftJoinIsNot) {
    EXPECT_EQ(translateForSqlite("select * from A where left(DC_Date,7)='2026-11'"),
              "select * from A where vb_left(DC_Date,7)='2026-11'");
    EXPECT_EQ(translateForSqlite("select * from A LEFT JOIN B on A.x=B.x where LEFT (y, 2)='ab'"),
              "select * from A LEFT JOIN B on A.x=B.x where vb_left (y, 2)='ab'");
    EXPECT_EQ(translateForSqlite("select 'left(' from A"), "select 'left(' from A");
}

TEST(SqlTranslator, DatePrefixComparisonsBecomeRanges) {
    EXPECT_EQ(translateForSqlite("select * from R where left(Date_Time,7)='2026-11' and X=1"),
              "select * from R where (Date_Time >= '2026-11' AND Date_Time < '2026-12') and X=1");
    EXPECT_EQ(translateForSqlite("select * from R where Err_Code=0 and left(Record_XF.Date_Time,10)>='2026-11-01'"),
              "select * from R where Err_Code=0 and (Record_XF.Date_Time >= '2026-11-01')");
    EXPECT_EQ(translateForSqlite("select 1 from R where left(Date_Time,4)<='2026'"),
              "select 1 from R where (Date_Time < '2027')");
    EXPECT_EQ(translateForSqlite("select 1 from R where (left(Date_Time,4)>'2025')"),
              "select 1 from R where ((Date_Time >= '2026'))");
    EXPECT_EQ(translateForSqlite("select 1 from R where left(Date_Time,4)<>'2025' order by ID"),
              "select 1 from R where (Date_Time < '2025' OR Date_Time >= '2026') order by ID");
}

TEST(SqlTranslator, DatePrefixRewriteOnlyWhereItIsEquivalent) {
    // The literal must have exactly n characters.
    EXPECT_EQ(translateForSqlite("select 1 from R where left(Date_Time,7)='2026-1'"),
              "select 1 from R where vb_left(Date_Time,7)='2026-1'");
    // Another column, a tighter operator after it, or an expression before it.
    EXPECT_EQ(translateForSqlite("select 1 from R where left(DC_Date,4)='2026'"),
              "select 1 from R where vb_left(DC_Date,4)='2026'");
    EXPECT_EQ(translateForSqlite("select 1 from R where left(Date_Time,2)='20' || 'x'"),
              "select 1 from R where vb_left(Date_Time,2)='20' || 'x'");
    EXPECT_EQ(translateForSqlite("select 1 from R where 'a' || left(Date_Time,2)='20'"),
              "select 1 from R where 'a' || vb_left(Date_Time,2)='20'");
    EXPECT_EQ(translateForSqlite("select left(Date_Time,7) from R"), "select vb_left(Date_Time,7) from R");
}

TEST(SqlTranslator, DatePrefixAfterBetweenIsLeftAlone) {
    EXPECT_EQ(translateForSqlite("select 1 from R where X between 0 and left(Date_Time,4)='2026'"),
              "select 1 from R where X between 0 and vb_left(Date_Time,4)='2026'");
    EXPECT_EQ(translateForSqlite("select 1 from R where X between 0 and 5 and left(Date_Time,4)='2026'"),
              "select 1 from R where X between 0 and 5 and (Date_Time >= '2026' AND Date_Time < '2027')");
    EXPECT_EQ(translateForSqlite("select 1 from R where left(Date_Time,99999999999)='2026'"),
              "select 1 from R where vb_left(Date_Time,99999999999)='2026'");
}
