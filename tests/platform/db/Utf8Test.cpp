#include <gtest/gtest.h>

#include "platform/db/SqlText.h"
#include "platform/db/Utf8.h"
#include "platform/grid/GridModel.h"
#include "support/TestDb.h"

using namespace tolvenk;

namespace {
const std::string kMark = "\xEF\xBF\xBD";  // U+FFFD
std::string marks(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += kMark;
    return s;
}
}  // namespace

// Each case's marks counted by hand: one per byte that cannot start a
// sequence, one per cut-short start of a sequence.
TEST(Utf8, InvalidSequencesBecomeReplacementMarks) {
    EXPECT_TRUE(isValidUtf8("张三 abc \xF0\x9F\x98\x80"));
    EXPECT_EQ(validUtf8("张三 abc"), "张三 abc");
    EXPECT_EQ(validUtf8("\xD5\xC5\xC8\xFD"), marks(4));           // "张三" in GBK
    EXPECT_EQ(validUtf8("ab\xE4\xB8"), "ab" + marks(1));          // "中" cut after two bytes
    EXPECT_EQ(validUtf8("\xE4\xB8x\xE4\xB8\xAD"), marks(1) + "x中");
    EXPECT_EQ(validUtf8("\xC0\xAF"), marks(2));                   // an overlong "/"
    EXPECT_EQ(validUtf8("\xED\xA0\x80"), marks(3));               // a surrogate
    EXPECT_EQ(validUtf8("\xF4\x90\x80\x80"), marks(4));           // past U+10FFFF
    EXPECT_EQ(validUtf8("\x80z"), marks(1) + "z");                // a stray continuation byte
    EXPECT_FALSE(isValidUtf8("\xF0\x9F\x98"));
    std::string s = "A\xFF";
    makeValidUtf8(s);
    EXPECT_EQ(s, "A" + marks(1));
}

// A card number or code stored by another program in GBK keeps its bytes
// through a read, so that it still finds its row as a key; the grid shows it
// as valid text.
TEST(Utf8, TextReadFromTheDatabaseKeepsItsBytesAndIsShownValid) {
    test::TempDir dir;
    auto con = test::connect(test::createBusinessDb(dir.file("b.mdb")));
    con->executeScript(
        "insert into Ren_Per_Info(Pinfo_ID,Dept_No,P_Name,P_Code) values"
        " (1,'01',CAST(X'D5C5C8FD' AS TEXT),'E001'),(2,'01','王五','E' || CAST(X'C0EECBC4' AS TEXT));");
    auto rs = con->openRecordset("select P_Name,P_Code from Ren_Per_Info order by Pinfo_ID");
    EXPECT_EQ(rs->field("P_Name").toString(), "\xD5\xC5\xC8\xFD");
    rs->moveNext();
    const std::string code = rs->field("P_Code").toString();
    EXPECT_EQ(code, "E\xC0\xEE\xCB\xC4");
    EXPECT_EQ(test::number(*con, "select Pinfo_ID from Ren_Per_Info where P_Code='" + sqlEscape(code) + "'"), 2);
    grid::GridModel g;
    g.setRows(1);
    g.setCols(1);
    g.setText(0, 0, code);
    EXPECT_EQ(g.text(0, 0), "E" + marks(4));
}
