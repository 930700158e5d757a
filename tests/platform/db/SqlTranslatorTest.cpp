#include <gtest/gtest.h>

#include "platform/db/DbError.h"
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

// ---------------------------------------------------------------- the server

using tolvenk::db::translateForPostgres;

TEST(SqlTranslatorPg, TopPlaceholdersAndQuotedNames) {
    EXPECT_EQ(translateForPostgres("select top 1 * from Card_Type"), "select * from Card_Type LIMIT 1");
    EXPECT_EQ(translateForPostgres("select * from A where ID in (select top 2 ID from B order by ID) and X=1"),
              "select * from A where ID in (select ID from B order by ID NULLS FIRST LIMIT 2) and X=1");
    int n = -1;
    EXPECT_EQ(translateForPostgres("insert into T(a,b) values(?, '?'||?)", &n), "insert into T(a,b) values($1, '?'||$2)");
    EXPECT_EQ(n, 2);
    EXPECT_EQ(translateForPostgres("select [P_Name], \"Dept_No\" from T"), "select \"p_name\", \"dept_no\" from T");
    const std::string text = "select * from T where P_Name='select top 5 len(x) like ?' and \"top\"=1";
    EXPECT_EQ(translateForPostgres(text), "select * from T where P_Name='select top 5 len(x) like ?' and \"top\"=1");
}

TEST(SqlTranslatorPg, ClassicFunctionsBecomeBuiltInExpressions) {
    EXPECT_EQ(translateForPostgres("select * from S where len(SubParaName)>=3"),
              "select * from S where length(CAST(SubParaName AS text))>=3");
    EXPECT_EQ(translateForPostgres("select mid(P_Code,2,3), Mid(x, 2), left(DC_Date,7) from T"),
              "select substr(CAST(P_Code AS text),2,3), substr(CAST(x AS text), 2), left(CAST(DC_Date AS text),7) from T");
    EXPECT_EQ(translateForPostgres(" select getdate() "), " select to_char(clock_timestamp(), 'YYYY-MM-DD HH24:MI:SS') ");
    EXPECT_EQ(translateForPostgres("select NOW ( )"), "select to_char(clock_timestamp(), 'YYYY-MM-DD HH24:MI:SS')");
    EXPECT_EQ(translateForPostgres("select SUBSTRING(Date_Time,0,11) from R"),
              "select substring(CAST(Date_Time AS text),0,11) from R");
    EXPECT_EQ(translateForPostgres("where cast(subParaName as int )<=100"),
              "where CAST(trunc(CAST(regexp_replace(btrim(CAST(subParaName  AS text)), '^$', '0') AS numeric)) AS int)<=100");
    // Calls inside calls, and forms the rewrite must leave alone.
    EXPECT_EQ(translateForPostgres("select len(mid(a,1,2))"), "select length(CAST(substr(CAST(a AS text),1,2) AS text))");
    EXPECT_EQ(translateForPostgres("select cast(a as text), T.len(a), x LEFT JOIN y on 1=1"),
              "select cast(a as text), T.len(a), x LEFT JOIN y on 1=1");
    const std::string val = translateForPostgres("select val(P1) from T");
    EXPECT_EQ(val.find("val("), std::string::npos) << val;
    EXPECT_NE(val.find("CAST(P1 AS text)"), std::string::npos) << val;
}

TEST(SqlTranslatorPg, LikeIgnoresCaseAndDatePrefixesBecomeRanges) {
    EXPECT_EQ(translateForPostgres("select * from P where Dept_No like '01%' escape '\\' and P_Name not LIKE '%a%'"),
              "select * from P where Dept_No ILIKE '01%' COLLATE \"C\" escape '\\' and P_Name not ILIKE '%a%' COLLATE \"C\"");
    EXPECT_EQ(translateForPostgres("select 1 from R where left(Date_Time,7)='2026-11' and X=1"),
              "select 1 from R where (Date_Time >= '2026-11' AND Date_Time < '2026-12') and X=1");
}

TEST(SqlTranslatorPg, ASecondStatementIsRefused) {
    EXPECT_THROW(translateForPostgres("delete from A; delete from B"), tolvenk::db::DbError);
    EXPECT_THROW(translateForPostgres("select 1;;select 2"), tolvenk::db::DbError);
    EXPECT_EQ(translateForPostgres("delete from A where x='a;b' ; "), "delete from A where x='a;b' ; ");
}

TEST(SqlTranslatorPg, EverySortKeyHoldsNullAsTheSmallestValue) {
    EXPECT_EQ(translateForPostgres("select * from P order by  Ren_Dept_Info.Dept_Name,Ren_Per_Info.P_Code"),
              "select * from P order by  Ren_Dept_Info.Dept_Name NULLS FIRST,Ren_Per_Info.P_Code NULLS FIRST");
    EXPECT_EQ(translateForPostgres("select top 1 * from R where X=1 order by Date_Time Desc "),
              "select * from R where X=1 order by Date_Time Desc NULLS LAST LIMIT 1 ");
    EXPECT_EQ(translateForPostgres("select * from R ORDER BY a asc , b DESC, c nulls last, left(d,7);"),
              "select * from R ORDER BY a asc NULLS FIRST , b DESC NULLS LAST, c nulls last, "
              "left(CAST(d AS text),7) NULLS FIRST;");
    // Sub-selects, with top N, and sort keys that are expressions or sub-selects.
    EXPECT_EQ(translateForPostgres("select * from A where ID in (select top 2 ID from B order by New_Date desc) "
                                   "order by (select max(x) from C order by 1), -ID desc"),
              "select * from A where ID in (select ID from B order by New_Date desc NULLS LAST LIMIT 2) "
              "order by (select max(x) from C order by 1 NULLS FIRST) NULLS FIRST, -ID desc NULLS LAST");
    EXPECT_EQ(translateForPostgres("select a from T union select b from U order by 1 desc limit 3 offset 1"),
              "select a from T union select b from U order by 1 desc NULLS LAST limit 3 offset 1");
    EXPECT_EQ(translateForPostgres("select row_number() over (order by x desc) from T order by y"),
              "select row_number() over (order by x desc NULLS LAST) from T order by y NULLS FIRST");
    // Words only: nothing inside quotes, and "order" that is no ORDER BY.
    EXPECT_EQ(translateForPostgres("select [order] from T where x='order by y' order by \"order\""),
              "select \"order\" from T where x='order by y' order by \"order\" NULLS FIRST");
}
