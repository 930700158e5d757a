#include <gtest/gtest.h>

#include "platform/DateText.h"
#include "platform/FenMath.h"
#include "platform/Error.h"
#include "platform/MoneyText.h"
#include "platform/VbNumber.h"
#include "platform/VbText.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "platform/db/Value.h"
#include "support/EngineTest.h"

using namespace tolvenk;

namespace {
class SqlTextOnEngine : public test::EngineTest {};
}  // namespace

TOLVENK_ON_BOTH_ENGINES(SqlTextOnEngine);

TEST(SqlText, EscapeDoublesQuotesOnly) {
    EXPECT_EQ(sqlEscape("O'Brien"), "O''Brien");
    EXPECT_EQ(sqlEscape("x' or '1'='1"), "x'' or ''1''=''1");
    EXPECT_EQ(sqlEscape("张三;--"), "张三;--");
    EXPECT_EQ(sqlEscape(""), "");
}

TEST_P(SqlTextOnEngine, EscapedValuesAreStoredAndFoundExactlyAndTouchNothingElse) {
    con->execute("insert into Sys_User_Info(User_ID,User_Name) values(1,'admin')");
    for (const std::string name : {"O'Brien", "x' or '1'='1", "a''b"}) {
        con->execute("insert into Sys_User_Info(User_Name) values('" + sqlEscape(name) + "')");
        auto rs = con->openRecordset("select User_Name from Sys_User_Info where User_Name='" + sqlEscape(name) + "'");
        ASSERT_EQ(rs->recordCount(), 1) << name;
        EXPECT_EQ(rs->field(0).toString(), name);
    }
    con->execute("update Sys_User_Info set Del_YN=1 where User_Name='" + sqlEscape("x' or '1'='1") + "'");
    EXPECT_EQ(con->openRecordset("select count(*) from Sys_User_Info where Del_YN=1")->field(0).toInt64(), 1);
    EXPECT_EQ(con->openRecordset("select User_Name from Sys_User_Info where User_ID=1")->field(0).toString(), "admin");
    // LIKE operands are taken literally, backslashes and pattern characters included.
    con->execute("insert into Sys_User_Info(User_Name) values('" + sqlEscape("50%_a\\b") + "')");
    for (const std::string part : {"50%_", "a\\b", "%_a"}) {
        auto rs = con->openRecordset("select User_Name from Sys_User_Info where User_Name like '%" + sqlLikeEscape(part) +
                                     "%'" + kLikeEscape);
        ASSERT_EQ(rs->recordCount(), 1) << part;
        EXPECT_EQ(rs->field(0).toString(), "50%_a\\b");
    }
    EXPECT_EQ(con->openRecordset("select count(*) from Sys_User_Info where User_Name like '" + sqlLikeEscape("5_%") +
                                 "%'" + kLikeEscape)->field(0).toInt64(), 0);
}

TEST(SqlText, NumbersAreFormattedFromNumericTypes) {
    EXPECT_EQ(sqlNumber(std::int64_t{-6950}), "-6950");
    EXPECT_EQ(sqlNumber(12.0), "12");
    EXPECT_EQ(sqlNumber(0.5), "0.5");
    EXPECT_EQ(parseNumber(" 42 ").value_or(-1), 42);
    EXPECT_EQ(parseNumber("+500").value_or(-1), 500);
    EXPECT_FALSE(parseNumber("1 or 1=1"));
    EXPECT_FALSE(parseNumber("0x10"));
    EXPECT_FALSE(parseNumber(""));
    EXPECT_FALSE(parseNumber("inf"));
}

TEST(SqlText, ExtremeNumbersStaySafe) {
    EXPECT_FALSE(parseNumber("1e400"));  // would print as "inf"
    EXPECT_THROW(sqlNumberText("1e400"), std::exception);
    EXPECT_GT(vbVal("&HFFFFFFFFFFFFFFFFFFFF"), 1e20);
    EXPECT_EQ(db::Value("1e30").toInt64(), INT64_MAX);
    EXPECT_EQ(db::Value(-1e30).toInt64(), INT64_MIN);
}

TEST(VbNumber, RoundsHalfToEvenAndRefusesOverflow) {
    EXPECT_EQ(vbCInt(7033.5), 7034);
    EXPECT_EQ(vbCInt(2.5), 2);
    EXPECT_EQ(vbCInt(-32768.4), -32768);
    EXPECT_THROW(vbCInt(32767.5), VbError);
    EXPECT_EQ(vbCLng(-2147483648.0), INT32_MIN);
    EXPECT_THROW(vbCLng(2147483647.5), VbError);
}

// Money and dates have one home each; their edges are where copies went wrong.
TEST(MoneyAndDateText, EveryValueHasAText) {
    EXPECT_EQ(centsText(std::int64_t{-5}), "-0.05");
    EXPECT_EQ(centsText(std::int64_t{126850}), "1268.50");
    EXPECT_EQ(centsText(INT64_MIN), "-92233720368547758.08");
    EXPECT_EQ(centsText(INT64_MAX), "92233720368547758.07");
    EXPECT_EQ(centsText(-0.4), "0.00");  // never "-0.00"
    EXPECT_EQ(centsText(2.5), "0.03");   // halves away from zero
    EXPECT_EQ(centsText(1e19), kOverflowMark);
    EXPECT_EQ(centsText(-9223372036854775808.0), kOverflowMark);
    // Typed yuan rounded on their decimal digits, not on a binary fraction.
    EXPECT_EQ(yuanToCents("0.125"), 13);
    EXPECT_EQ(yuanToCents("1.005"), 101);
    EXPECT_EQ(yuanToCents("0.1249"), 12);
    EXPECT_EQ(yuanToCents(" 12.5 "), 1250);
    EXPECT_EQ(yuanToCents("-.5"), -50);
    for (const char* bad : {"", ".", "abc", "1e3", "1.2.3", "- 1", "1234567890123456"})
        EXPECT_FALSE(yuanToCents(bad)) << bad;

    EXPECT_EQ(formatDate(*readDate("2026/7/1 08:00:00")), "2026-07-01");
    EXPECT_FALSE(readDate("2026-02-30"));
    EXPECT_FALSE(readDate("2026-07-01x"));
    EXPECT_EQ(formatDate(addDays(*readDate("2026-03-01"), -1)), "2026-02-28");
    EXPECT_EQ(normalDateTime("2011-7-1 6:26:15"), "2011-07-01 06:26:15");
    EXPECT_EQ(vbTrim("  a b  "), "a b");
    EXPECT_EQ(trimChars("\t a\r\n", " \t\r\n"), "a");
}

// Exact sums of stored amounts: wider than 64 bits, taken away and combined
// without wrapping; a value that is no whole number makes the sum the mark.
TEST(MoneyText, ExactSumsAddTakeAwayAndCombineBeyondSixtyFourBits) {
    Exact_Sum a;
    a.add(INT64_MAX);
    a.add(INT64_MAX);
    a.sub(INT64_MIN);  // 3 * 2^63 - 2 = 27670116110564327422
    EXPECT_EQ(a.whole(), "27670116110564327422");
    EXPECT_EQ(a.whole(true), "-27670116110564327422");
    EXPECT_EQ(a.cents(true), "-276701161105643274.22");
    Exact_Sum b;
    b.sub(INT64_MAX);
    b.sub(INT64_MAX);
    b.add(INT64_MIN);  // -(3 * 2^63 - 2)
    b.add(a);
    EXPECT_TRUE(b.isZero());
    b.add(std::int64_t{150});
    EXPECT_EQ(b.plainCents(), "1.5");
    Exact_Sum c;
    c.add(9007199254740993);  // 2^53 + 1: no double holds it
    c.add("9007199254740993");
    EXPECT_EQ(c.whole(), "18014398509481986");
    Exact_Sum bad;
    bad.addUnknown();
    c.add(bad);
    EXPECT_EQ(c.cents(), kOverflowMark);
    EXPECT_EQ(c.plainCents(), kOverflowMark);
    EXPECT_EQ(c.whole(true), kOverflowMark);
}

// A stored amount is read as it is, or not at all: never rounded.
TEST(MoneyText, StoredAmountsAreReadExactlyOrRefused) {
    EXPECT_EQ(storedFen(db::Value()), 0);
    EXPECT_EQ(storedFen(db::Value(INT64_MIN)), INT64_MIN);
    EXPECT_EQ(storedFen(db::Value(std::string("9007199254740993"))), 9007199254740993);
    EXPECT_EQ(storedFen(db::Value(std::string("-9223372036854775808"))), INT64_MIN);
    EXPECT_EQ(storedFen(db::Value(4096.0)), 4096);
    EXPECT_EQ(storedFen(db::Value(-9223372036854775808.0)), INT64_MIN);
    EXPECT_FALSE(storedFen(db::Value(9223372036854775808.0)));  // 2^63
    EXPECT_FALSE(storedFen(db::Value(12.5)));
    EXPECT_FALSE(storedFen(db::Value(std::string("9223372036854775808"))));
    EXPECT_FALSE(storedFen(db::Value(std::string("12.5"))));
    EXPECT_FALSE(storedFen(db::Value(std::string("abc"))));
    EXPECT_EQ(fenNeg(INT64_MAX), -INT64_MAX);
    EXPECT_THROW(fenNeg(INT64_MIN), db::DbError);
}

// Money read back from the screen at the ends of 64 bits: -2^63 fen is the
// smallest amount and reads back exactly; 2^63 fen is one past the largest
// and is refused, also when rounding reaches it, never taken for -2^63.
TEST(MoneyText, ShownMoneyAtTheEndsOfSixtyFourBitsReadsBackOrIsRefused) {
    EXPECT_EQ(shownToCents("-92233720368547758.08"), INT64_MIN);
    EXPECT_EQ(shownToCents(centsText(INT64_MIN)), INT64_MIN);
    EXPECT_EQ(shownToCents("92233720368547758.07"), INT64_MAX);
    EXPECT_EQ(shownToCents("92233720368547758.074"), INT64_MAX);
    EXPECT_EQ(shownToCents("-92233720368547758.075"), INT64_MIN);
    for (const char* past : {"92233720368547758.08", "+92233720368547758.08", "92233720368547758.075",
                             "-92233720368547758.09", "-92233720368547758.085", "184467440737095516.16"})
        EXPECT_FALSE(shownToCents(past)) << past;
}

// A stored number that is no whole number of fen is booked as the nearest
// fen (a half as the even one, as the engines' own rounding to whole numbers
// does), never cut off towards 0; from the text either engine gives for it.
TEST_P(SqlTextOnEngine, AStoredFractionOfAFenIsBookedAsTheNearestFen) {
    EXPECT_EQ(fenOf("99.99999"), 100);
    EXPECT_EQ(fenOf("-99.99999"), -100);
    EXPECT_EQ(fenOf("12.5"), 12);
    EXPECT_EQ(fenOf("13.5"), 14);
    EXPECT_EQ(fenOf("-13.5"), -14);
    EXPECT_EQ(fenOf("0.6"), 1);
    EXPECT_EQ(fenOf("-0.4"), 0);
    EXPECT_EQ(fenOf("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(fenOf(""), 0);
    EXPECT_THROW(fenOf("1e19"), db::DbError);
    EXPECT_THROW(fenOf("12 fen"), db::DbError);
    const auto rs = con->openRecordset("select 99.99999 as A,12.5 as B,13.5 as C,-99.99999 as D");
    std::vector<std::int64_t> fen;
    for (const char* c : {"A", "B", "C", "D"}) fen.push_back(fenOf(rs->field(c).toString()));
    EXPECT_EQ(fen, (std::vector<std::int64_t>{100, 12, 14, -100}));
}

// Whole sums come back whole from either engine, to the last of 64 bits.
TEST_P(SqlTextOnEngine, SumsNearTheLargestAmountComeBackWhole) {
    con->executeScript("insert into Record_XF(Pinfo_id,YuE_Change,Date_Time) values"
                       " (1,9223372036854775000,'2026-01-01'),(1,800,'2026-01-01'),(1,7,'2026-01-01'),"
                       " (2,-9223372036854775807,'2026-01-01'),(2,-1,'2026-01-01');");
    const auto rs = con->openRecordset("select Pinfo_id,sum(YuE_Change) as S from Record_XF group by Pinfo_id"
                                       " order by Pinfo_id");
    ASSERT_TRUE(rs->field("S").isInteger());
    EXPECT_EQ(rs->field("S").asInteger(), INT64_MAX);
    rs->moveNext();
    ASSERT_TRUE(rs->field("S").isInteger());
    EXPECT_EQ(rs->field("S").asInteger(), INT64_MIN);
}

// No statement is built around a NUL; it is refused saying why.
TEST(SqlText, ANulIsRefusedBeforeItReachesAStatement) {
    for (const auto& quote : {sqlEscape, sqlLikeEscape}) {
        try {
            quote(std::string_view("a\0b", 3));
            ADD_FAILURE() << "a NUL went into SQL";
        } catch (const db::DbError& e) {
            EXPECT_NE(std::string(e.what()).find("NUL"), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(sqlEscape("a\tb\x01"), "a\tb\x01");
}
