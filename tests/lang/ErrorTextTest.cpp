// A caught error as a clerk reads it: a plain sentence in the opening's
// language, then the engine's own message for support, on both engines.
#include "platform/ErrorText.h"
#include "platform/db/SqlText.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

// The sentence and the detail below it.
std::pair<std::string, std::string> lines(const std::string& text) {
    const auto cut = text.find('\n');
    if (cut == std::string::npos) return {text, ""};
    return {text.substr(0, cut), text.substr(cut + 1)};
}

class ErrorText : public test::DbTest {
protected:
    // The error the statement raises on this engine, as the engine put it.
    db::DbError failing(const std::string& sql) {
        try {
            con->execute(sql);
        } catch (const db::DbError& e) {
            return e;
        }
        ADD_FAILURE() << "ran: " << sql;
        return db::DbError("");
    }
};

}  // namespace

TEST_P(ErrorText, AnEngineFaultIsToldInTheOpeningsLanguageWithTheEnginesMessageBelow) {
    const db::DbError e = failing("select Card_No from Card_Info where");
    Load_Lan(0);
    EXPECT_EQ(lines(platform::errorText(e)), std::make_pair(std::string("数据库未能完成这一步操作。"), std::string(e.what())));
    Load_Lan(1);
    EXPECT_EQ(lines(platform::errorText(e)),
              std::make_pair(std::string("The database could not carry out this step."), std::string(e.what())));
    Load_Lan(2);
    EXPECT_EQ(lines(platform::errorText(e)).first, "數據庫未能完成這一步操作。");

    // A missing table is named in the sentence; the statement stays below for support.
    const db::DbError missing = failing("select * from Card_Gone");
    Load_Lan(0);
    EXPECT_EQ(lines(platform::errorText(missing)),
              std::make_pair(std::string("数据库中没有这一步需要的表 Card_Gone。"), std::string(missing.what())));
}

using PlainErrorText = test::KitTest;

TEST_F(PlainErrorText, AFailureAlreadyToldPlainlyAndTheClassicErrorsCarryNoEnglish) {
    Load_Lan(0);
    try {
        (void)sqlEscape(std::string("a\0b", 3));
        ADD_FAILURE() << "a NUL was taken";
    } catch (const db::DbError& e) {
        EXPECT_EQ(platform::errorText(e), "文字中有一个无法查找、也无法保存的字符。请删除该字符后再试。");
    }
    EXPECT_EQ(platform::errorText(VbError(6, "Overflow")), "有一个数字太大，无法显示。\n错误号 6");
    EXPECT_EQ(platform::errorText(VbError(13, "Type mismatch")), "有一个值的类型与这里需要的不符。\n错误号 13");
    EXPECT_EQ(platform::errorText(VbError(9, "Subscript out of range")), "发生了意外错误，这一步没有完成。\n错误号 9");
    EXPECT_EQ(platform::errorText(VbError(94, "Invalid use of Null")), "数据库中有一个这里需要的值是空的。\n错误号 94");
    Load_Lan(1);
    EXPECT_EQ(platform::errorText(VbError(6, "Overflow")), "A figure is too large to be shown.\nError number 6");
    // A database that cannot be opened says so, whatever the engine's words.
    db::Connection none;
    try {
        none.open(db::Connection::fileConnectionString(dir.file("nowhere/none.mdb")));
        ADD_FAILURE() << "opened a missing file";
    } catch (const db::DbError& e) {
        EXPECT_EQ(lines(platform::errorText(e)).first, "The database could not be opened.");
    }
}

TOLVENK_ON_BOTH_ENGINES(ErrorText);
