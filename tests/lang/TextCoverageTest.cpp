// No text a window shows is empty, in any language, whatever language an
// earlier call loaded.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "data/XFService.h"
#include "data/XfTypeCode.h"
#include "lang/LangData.h"
#include "lang/LangGlobals.h"
#include "lang/LangTable.h"
#include "lang/Language.h"
#include "reports/statistics/XF_MingxiKinds.h"
#include "reports/summary/GridHead.h"
#include "reports/summary/frmHZ_Format.h"

using namespace tolvenk;

namespace {

// Every text number the sources name outright: L(n) and Lang[n].
std::set<int> namedInSources() {
    const std::regex named(R"(\bL\((\d+)\)|\bLang\[(\d+)\])");
    std::set<int> found;
    for (const auto& e : std::filesystem::recursive_directory_iterator(TOLVENK_SOURCE_DIR "/src")) {
        const auto ext = e.path().extension();
        if (ext != ".cpp" && ext != ".h") continue;
        std::ifstream in(e.path());
        std::stringstream text;
        text << in.rdbuf();
        const std::string s = text.str();
        for (std::sregex_iterator m(s.begin(), s.end(), named), end; m != end; ++m)
            found.insert(std::stoi((*m)[1].matched ? (*m)[1].str() : (*m)[2].str()));
    }
    return found;
}

const char* languageName(int code) { return code == 1 ? "English" : code == 2 ? "Traditional" : "Simplified"; }

}  // namespace

TEST(TextCoverage, EveryTextAWindowUsesReadsInEveryLanguage) {
    const std::set<int> named = namedInSources();
    ASSERT_GT(named.size(), 50u);  // the scan found the windows' texts
    for (int code : {0, 1, 2}) {
        for (int earlier : {-1, 0, 1, 2}) {
            Lang.fill("");
            if (earlier >= 0) Load_Lan(static_cast<std::int16_t>(earlier));
            Load_Lan(static_cast<std::int16_t>(code));
            const std::string where = std::string(languageName(code)) + " after " +
                                      (earlier < 0 ? "nothing" : languageName(earlier));
            for (int n : named) {
                if (code == 1 && n == 609) continue;  // English writes it empty: the label reads on without it
                EXPECT_FALSE(L(n).empty()) << "text " << n << ", " << where;
            }
            if (code == 1) {
                EXPECT_EQ(L(609), "") << where;
            }
            // The texts the windows reach by computed number.
            for (int kind = 0; kind <= 255; ++kind) {
                if (XF_Type_Code::langNumber(kind) < 0) continue;
                EXPECT_FALSE(XF_Type_Code::name(kind).empty()) << "kind " << kind << ", " << where;
            }
            for (int meal = 1; meal <= XF_Meal_Code::Count; ++meal)
                EXPECT_FALSE(XF_Meal_Code::name(meal).empty()) << where;
            XFService xf;
            for (std::int16_t n = 1; n <= 9; ++n)
                EXPECT_FALSE(xf.HZ_Rep_Name(n).empty()) << "report " << n << ", " << where;
            for (int d = 1; d <= 8; ++d) EXPECT_FALSE(Dim_Caption(d).empty()) << "dimension " << d << ", " << where;
            for (int t = 1; t <= 3; ++t) EXPECT_FALSE(frmHZ_Format::Code_Caption(1, t).empty()) << where;
            for (int d = 0; d <= 9; ++d) EXPECT_FALSE(frmHZ_Format::Code_Caption(3, d).empty()) << "code " << d << ", " << where;
            for (const auto& g : mingxi::kindGroups())
                for (const auto& b : g.boxes) EXPECT_FALSE(L(b.text).empty()) << "box " << b.box << ", " << where;
        }
    }
}

TEST(TextCoverage, ALanguageLackingATextShowsTheSimplifiedOne) {
    const auto simplified = parseLangTable(langdata::Simplified);
    const auto english = parseLangTable(langdata::English);
    const auto traditional = parseLangTable(langdata::Traditional);
    Lang.fill("");
    Load_Lan(1);
    for (const auto& [n, text] : simplified) {
        if (auto own = english.find(n); own != english.end()) EXPECT_EQ(L(n), own->second) << n;
        else EXPECT_EQ(L(n), text) << n;
    }
    Load_Lan(2);
    for (const auto& [n, text] : simplified) {
        if (auto own = traditional.find(n); own != traditional.end()) EXPECT_EQ(L(n), own->second) << n;
        else EXPECT_EQ(L(n), text) << n;
    }
    // The Traditional table is made from the whole Simplified one, texts added
    // since included (459 is written by English alone).
    for (const auto& [n, text] : simplified) {
        if (n == 459) continue;
        EXPECT_EQ(traditional.count(n), 1u) << "text " << n << " not in the Traditional table";
    }
    EXPECT_EQ(L(622), "現金收支日報表");
    EXPECT_EQ(L(643), "報表名字不能為空");
    EXPECT_EQ(L(333), "需要訂餐");
}
