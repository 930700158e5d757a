// A window opened in one language shows that language only: every text the
// sources name is in each table, English holds no Chinese, Traditional no
// Simplified, and the only Chinese written in code is what the windows show in
// every language.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <vector>

#include "lang/LangData.h"
#include "lang/LangGlobals.h"
#include "lang/LangTable.h"
#include "lang/Language.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/Error.h"
#include "platform/forms/Dispatch.h"
#include "support/TestDb.h"
#include "support/TestServices.h"

using namespace tolvenk;

namespace {

std::string fileText(const std::filesystem::path& p) {
    std::ifstream in(p);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

template <class F>
void eachSource(F&& f) {
    for (const auto& e : std::filesystem::recursive_directory_iterator(TOLVENK_SOURCE_DIR "/src")) {
        const auto ext = e.path().extension();
        if (ext == ".cpp" || ext == ".h") f(e.path(), fileText(e.path()));
    }
}

// Text numbers the sources name: L(n), Lang[n], Lf(n, ...) and the platform's
// shownText(n, ...) and numberedText(n, ...).
std::set<int> namedTexts() {
    const std::regex named(R"(\b(?:L|Lf|shownText|numberedText)\(\s*(\d+)[,)]|\bLang\[(\d+)\])");
    std::set<int> found;
    eachSource([&](const std::filesystem::path&, const std::string& s) {
        for (std::sregex_iterator m(s.begin(), s.end(), named), end; m != end; ++m)
            found.insert(std::stoi((*m)[1].matched ? (*m)[1].str() : (*m)[2].str()));
    });
    return found;
}

// Whether the UTF-8 text holds a CJK ideograph or punctuation (U+3000 to
// U+9FFF) or a full-width form (U+FF00 to U+FFEF).
bool hasChinese(const std::string& s) {
    for (std::size_t i = 0; i + 2 < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        const auto c = static_cast<unsigned char>(s[i + 1]);
        if ((b >= 0xE3 && b <= 0xE9) || (b == 0xEF && c >= 0xBC && c <= 0xBF)) return true;
    }
    return false;
}

// The string literals of a source, comments left out.
std::vector<std::string> literals(const std::string& s) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s.compare(i, 2, "//") == 0) {
            i = s.find('\n', i);
            if (i == std::string::npos) break;
        } else if (s.compare(i, 2, "/*") == 0) {
            i = s.find("*/", i);
            if (i == std::string::npos) break;
            ++i;
        } else if (s[i] == '\'') {
            for (++i; i < s.size() && s[i] != '\''; ++i)
                if (s[i] == '\\') ++i;
        } else if (s[i] == '"') {
            std::string lit;
            for (++i; i < s.size() && s[i] != '"'; ++i) {
                if (s[i] == '\\') lit += s[i++];
                lit += s[i];
            }
            out.push_back(lit);
        }
    }
    return out;
}

// Characters that only Simplified Chinese writes.
const std::string kSimplifiedOnly = "们这询数设选择记录发补贴项额统计类时间员账删输结对异没变导门钱机应单击关闭开报说请错误认页";

bool hasSimplifiedOnly(const std::string& s) {
    for (std::size_t i = 0; i + 3 <= kSimplifiedOnly.size(); i += 3)
        if (s.find(kSimplifiedOnly.substr(i, 3)) != std::string::npos) return true;
    return false;
}

}  // namespace

TEST(OneLanguage, EveryNamedTextIsInEachTableInItsOwnScript) {
    const std::set<int> named = namedTexts();
    ASSERT_GT(named.size(), 300u);  // the scan found the windows' texts
    ASSERT_TRUE(named.count(127) && named.count(992) && named.count(993));
    const auto simplified = parseLangTable(langdata::Simplified);
    const auto english = parseLangTable(langdata::English);
    const auto traditional = parseLangTable(langdata::Traditional);
    // English writes 459 and 609 as empty texts (the label after the backup
    // date reads on without one); 459 is English's alone.
    EXPECT_EQ(english.at(459), "");
    EXPECT_EQ(english.at(609), "");
    for (int n : named) {
        if (n == 459) continue;
        for (const auto* table : {&simplified, &english, &traditional}) {
            if (table == &english && n == 609) continue;
            const auto it = table->find(n);
            const char* name = table == &english ? "English" : table == &traditional ? "Traditional" : "Simplified";
            EXPECT_TRUE(it != table->end() && !it->second.empty()) << "text " << n << " missing from " << name;
        }
        if (auto e = english.find(n); e != english.end()) {
            EXPECT_FALSE(hasChinese(e->second)) << "English text " << n << ": " << e->second;
        }
        // 461..471 keep the Simplified texts the Traditional table always had.
        if (auto t = traditional.find(n); t != traditional.end() && (n < 461 || n > 471)) {
            EXPECT_FALSE(hasSimplifiedOnly(t->second)) << "Traditional text " << n << ": " << t->second;
        }
    }
    // The check itself tells the scripts apart.
    EXPECT_TRUE(hasSimplifiedOnly(simplified.at(644)));
    EXPECT_FALSE(hasSimplifiedOnly(traditional.at(644)));
    EXPECT_TRUE(hasChinese(simplified.at(644)) && hasChinese("：") && !hasChinese("Clear Balance"));
}

// Chinese written in code is shown in every language: the windows' own total
// labels, fixed headers and fixed messages, and designer captions that each
// load replaces from the table. Anything else belongs in the text table.
TEST(OneLanguage, ChineseInCodeIsOnlyTheTextsFixedForEveryLanguage) {
    const std::set<std::string> fixed = {
        // print footer of every output
        "制表人：", "    制表日期:",
        // ordering summary: the grid's headers, total label and date message
        "早餐", "中餐", "晚餐", "夜餐", "宵夜", "订餐数", "预扣款", "就餐数", "退回预扣款", "预扣款盈余", "日期",
        "提示:汇总日期选择错误!", "合计：",
        // card-management log: the grid's headers and the default card kind; the operation names
        "姓名", "工号", "部门", "卡类别", "卡编号", "卡号", "操作类型", "新卡卡号", "操作金额", "操作次数", "工本费",
        "合计", "操作员", "普通卡", "发卡", "挂失", "取消挂失", "换卡", "退卡", "金额转移", "强行退卡", "销卡",
        // IC and ID balance queries
        "是否损益", "次数余额", "截止日期", "总计:", "ID卡余额查询",
        // card types: the meal-order frame
        "早餐限额:", "中餐限额:", "晚餐限额:", "夜餐限额:", "夜宵限额:", "订餐限制",
        // settlement: designer caption, grid headers, progress and its messages
        "结算", "正在准备数据，请稍候......", "异常", "员工ID", "总金额", "余额", "差额", "提示:输出成功.",
        "提示:输出失败.", "  卡号：", "  员工ID：", "没有卡需要结算。", "提示", "结算出错：", "错误",
        // subsidies: the cleared-month refusal and the import's name check
        "该月份的补贴已经清零，不能再发补贴", "工号为:", "的员工姓名错误.",
        // terminal and computer summary: group titles, fixed headers, labels
        "收费点", "收费机", "收款员", "业主", "卡类型", "按操作员汇总", "按卡类型汇总", "按部门汇总", "按日期汇总",
        "电脑充值", "电脑取款", "电脑充次", "实收合计", "电脑转款(水控)", "转款机转款", "其它", "小计：", "总计：",
        // employee statistics
        "汇总表", "笔数", "水控转款",
        // transaction detail: total labels and units, designer texts
        "合计消费:", "合计次数:", " 次", "合计笔数:", " 笔", "合计电脑充值:", "合计电脑取款:", "合计电脑充次:",
        "合计机器充值:", "合计机器取款:", "合计机器充次:", "合计补贴:", "不确定记录", "操作后次数",
        // summary reports: title line, total and balance labels, designer captions the load replaces;
        // the output buttons also of the granted-subsidy query and the subsidy statistics, in every language
        "日期:   ", "收支情况：", "小计:", "消费汇总统计", "汇总条件:", "汇总日期:", "定义报表格式", "取消", "选择报表",
        "汇  总", "输出到EXCEL", "输出到HTML", "输出到XML", "打印", " 以下为自定义报表", "：", "系统默认", "、",
    };
    std::set<std::string> seen;
    eachSource([&](const std::filesystem::path& p, const std::string& s) {
        if (p.string().find("/src/lang/") != std::string::npos) return;
        for (const std::string& lit : literals(s)) {
            if (!hasChinese(lit)) continue;
            seen.insert(lit);
            EXPECT_TRUE(fixed.count(lit)) << p.filename().string() << ": \"" << lit << "\" belongs in the text table";
        }
    });
    // The list names nothing the code no longer writes.
    for (const std::string& f : fixed) EXPECT_TRUE(seen.count(f)) << "\"" << f << "\" is no longer in the code";
}

TEST(OneLanguage, AFileFaultIsToldInTheLanguageOfTheOpening) {
    test::TempDir dir;
    const std::string empty = dir.file("empty.mdb");
    std::ofstream(empty).close();
    const auto refusal = [&] {
        try {
            db::Connection con;
            con.open(db::Connection::fileConnectionString(empty));
        } catch (const db::DbError& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    Load_Lan(0);
    EXPECT_EQ(refusal(), "文件“" + empty + "”是空的，里面没有数据。该文件没有被改动。");
    Load_Lan(1);
    EXPECT_EQ(refusal(), "The file '" + empty + "' is empty and holds no data. It was left unchanged.");
    Load_Lan(2);
    EXPECT_EQ(refusal(), "文件“" + empty + "”是空的，裡面沒有數據。該文件沒有被改動。");
}

TEST(OneLanguage, AServerThatOnlyReadsIsToldInTheLanguageOfTheOpening) {
    if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
    test::BusinessDb db(test::Engine::Server);
    auto con = test::connect(db.connectionString());
    con->executeScript("SET default_transaction_read_only = on");
    for (std::int16_t code : {0, 1}) {
        Load_Lan(code);
        try {
            con->execute("insert into Sys_Log(Operator_ID) values(1)");
            ADD_FAILURE() << "wrote in a read-only session";
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.number(), 3027);
            EXPECT_EQ(std::string(e.what()), code == 1 ? "The database server only allows reading at the moment, so "
                                                         "this change was not saved. Ask your administrator."
                                                       : "数据库服务器现在只允许读取，这次的修改没有保存。请联系管理员。");
        }
    }
}

TEST(OneLanguage, AnErrorNoWindowHandlesIsBoxedInTheLanguageOfTheOpening) {
    test::ServicesScope sv;
    for (std::int16_t code : {0, 1, 2}) {
        Load_Lan(code);
        forms::dispatch([] { throw VbError(5, "x"); });
    }
    ASSERT_EQ(sv->boxes.size(), 3u);
    // The runtime's own English ("x") is left out; its number stays for support.
    EXPECT_EQ(sv->boxes[0].prompt, "发生了意外错误，这一步没有完成。\n错误号 5");
    EXPECT_EQ(sv->boxes[1].prompt, "An unexpected error stopped this step.\nError number 5");
    EXPECT_EQ(sv->boxes[2].prompt, "發生了意外錯誤，這一步沒有完成。\n錯誤號 5");
}
