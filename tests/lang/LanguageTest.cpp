#include "lang/LangTable.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/Form.h"
#include "support/Fixtures.h"
#include "Schemas.h"

using namespace tolvenk;

namespace {

class LanguageTest : public test::KitTest {
protected:
    void SetUp() override {
        KitTest::SetUp();
        Home_Path = dir.path().string() + "/";
    }
    // Creates data/sLan_Sendral.mdb under Home_Path with the given rows.
    void overrides(const std::string& inserts) {
        std::filesystem::create_directories(dir.path() / "data");
        const std::string path = dir.file("data/sLan_Sendral.mdb");
        db::Connection::createFileDatabase(path);
        auto con = test::connect(db::Connection::fileConnectionString(path));
        con->executeScript(schema::LangOverride);
        con->executeScript(inserts);
    }
};

}  // namespace

TEST_F(LanguageTest, SharedTextsInEachLanguage) {
    Load_Lan(0);
    EXPECT_EQ(Lang[1], "查  询");
    EXPECT_EQ(Lang[43], "提示");
    EXPECT_EQ(Lang[443], "出错:ERR_Main_2");
    EXPECT_EQ(Lang[456], "十二月");
    Load_Lan(1);
    EXPECT_EQ(Lang[1], "Inquiry");
    EXPECT_EQ(Lang[17], ") th(st/nd) subsidy");
    EXPECT_EQ(Lang[441], "Database connection error.Click 'OK' to re-select database connection.");
    Load_Lan(2);
    EXPECT_EQ(Lang[1], "查  詢");
    EXPECT_EQ(Lang[112], "出錯");
    for (std::int16_t code : {0, 3, -1}) {  // any other code is Simplified Chinese
        Lang.fill("");
        Load_Lan(code);
        EXPECT_EQ(Lang[2], "退  出") << code;
    }
}

TEST_F(LanguageTest, EveryLanguageWritesTheWholeTableOnlyEnglishWrites459) {
    Lang[459] = "earlier";
    Lang[560] = "earlier";
    Lang[700] = "never written";
    Load_Lan(0);  // Simplified: 0..644 without 459
    EXPECT_EQ(Lang[459], "earlier");
    EXPECT_EQ(Lang[560], "输出到XML");
    Load_Lan(1);  // English writes an empty 459 and 609, and its own 633..644
    EXPECT_EQ(Lang[459], "");
    EXPECT_EQ(Lang[609], "");
    EXPECT_EQ(Lang[642], "Uncertain Records");
    Lang[640] = "earlier";
    Load_Lan(2);  // Traditional has its own 472..644 now
    EXPECT_EQ(Lang[560], "輸出到XML");
    EXPECT_EQ(Lang[640], "請選擇需要修改的報表");
    EXPECT_EQ(Lang[700], "never written");
}

TEST_F(LanguageTest, OverridesApplyOnlyWhenInForceAndInRange) {
    overrides(
        "insert into Lan(N,F1,CN) values (1,1,'Search'),(2,0,'not in force'),(0,1,'zero'),(645,1,'too far'),"
        "(43,1,'first'),(43,1,'second'),(5,1,NULL);");
    Lang[0] = "kept";
    Load_Lan(0);
    EXPECT_EQ(Lang[1], "Search");
    EXPECT_EQ(Lang[2], "退  出");
    EXPECT_EQ(Lang[0], "查询员工所对应的补贴机(金额)");  // the built-in text, never the override
    EXPECT_EQ(Lang[645], "");
    EXPECT_EQ(Lang[43], "second");  // the later row wins
    EXPECT_EQ(Lang[5], "");
    EXPECT_EQ(Lan_Charset, 0);  // no charset row
}

TEST_F(LanguageTest, CharsetRowAndBothFormsOfHomePath) {
    overrides("insert into Lan(N,F1,CN) values (-1,134,''),(1,1,'X');");
    Load_Lan(1);
    EXPECT_EQ(Lan_Charset, 134);
    EXPECT_EQ(Lang[1], "X");
    Home_Path = dir.path().string();  // without the trailing separator: same file
    Lang[1].clear();
    Load_Lan(1);
    EXPECT_EQ(Lang[1], "X");
    EXPECT_EQ(Lan_Charset, 134);
    // An installation may keep the override on a read-only folder: it still applies.
    std::filesystem::permissions(dir.path() / "data", std::filesystem::perms::owner_read |
                                                          std::filesystem::perms::owner_exec);
    Lang[1].clear();
    Load_Lan(1);
    EXPECT_EQ(Lang[1], "X");
    std::filesystem::permissions(dir.path() / "data", std::filesystem::perms::owner_all);
}

TEST_F(LanguageTest, ABrokenOverrideEndsQuietly) {
    Lan_Charset = 5;
    Load_Lan(0);  // no override file at all
    EXPECT_EQ(Lan_Charset, 0);
    EXPECT_EQ(Lang[1], "查  询");
    overrides("insert into Lan(N,F1,CN) values (-1,99999,''),(1,1,'applied');");
    Load_Lan(0);  // a charset beyond 16 bits cannot be converted
    EXPECT_EQ(Lang[1], "applied");
    EXPECT_EQ(Lan_Charset, 0);
}

TEST_F(LanguageTest, AnOverrideNumberBeyondTheTableEndsQuietly) {
    // An installation's own table may hold N as text, which passes the range check as text.
    std::filesystem::create_directories(dir.path() / "data");
    const std::string path = dir.file("data/sLan_Sendral.mdb");
    db::Connection::createFileDatabase(path);
    auto con = test::connect(db::Connection::fileConnectionString(path));
    con->executeScript("CREATE TABLE Lan (N TEXT, F1 INTEGER, CN TEXT);"
                       "insert into Lan(N,F1,CN) values ('1',1,'applied'),('5000000',1,'far'),('2',1,'after');");
    Load_Lan(0);
    EXPECT_EQ(Lang[1], "applied");
    EXPECT_EQ(Lang[2], "退  出");
    // The table ends at 1000 for an override, though the module's own texts go on past it.
    con->executeScript("delete from Lan; insert into Lan(N,F1,CN) values ('1',1,'again'),('1001',1,'own'),('2',1,'after');");
    Load_Lan(0);
    EXPECT_EQ(Lang[1], "again");
    EXPECT_EQ(Lang[2], "退  出");
    EXPECT_EQ(Lang[1001], Built_In_Text(0, 1001));
}

TEST_F(LanguageTest, MonthListAndFontStep) {
    Load_Lan(1);
    forms::Form window;
    forms::ComboBox months(window);
    months.AddItem("old");
    Fill_Month_Combo(months);
    ASSERT_EQ(months.ListCount(), 12);
    EXPECT_EQ(months.List(0), "Jan.");
    EXPECT_EQ(months.List(11), "Dec.");
    Lan_Charset = 134;
    EXPECT_NO_THROW(Set_Lan_Font(window));
    EXPECT_EQ(Lan_Charset, 134);
}

TEST(LangTable, ParsesTabSeparatedEntriesWithEscapes) {
    const auto t = parseLangTable("# comment\n1\tA  B\n2\tline\\nbreak\r\nbad line\n3\t\nx\ty\n");
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t.at(1), "A  B");
    EXPECT_EQ(t.at(2), "line\nbreak");
    EXPECT_EQ(t.at(3), "");
}
