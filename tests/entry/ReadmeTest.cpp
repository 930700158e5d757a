// The README a newcomer reads first: every window of the menu in its table,
// with what to choose before the window's main button, and the setting that
// points the module at a file database.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "entry/MenuTable.h"

using namespace tolvenk;

namespace {

std::string readme() {
    std::ifstream in(std::string(TOLVENK_SOURCE_DIR) + "/README.md");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(Readme, TableHoldsEveryMenuCodeWithItsWindowAndWhatToChoose) {
    const std::string text = readme();
    ASSERT_FALSE(text.empty());
    std::set<int> inMenu;
    for (const MenuEntry& e : menuTable()) {
        if (e.code == 0) continue;
        inMenu.insert(e.code);
        const std::string start = "| " + std::to_string(e.code) + " | `" + e.window + "` | ";
        const std::size_t at = text.find(start);
        ASSERT_NE(at, std::string::npos) << start;
        // Four cells, none of them empty.
        const std::string row = text.substr(at, text.find('\n', at) - at);
        EXPECT_TRUE(std::regex_match(row, std::regex(R"(\|( [^|]*[^ |][^|]* \|){4})"))) << row;
    }
    // No row for a code the menu does not have.
    std::set<int> inTable;
    const std::regex code(R"(\n\| (\d{4}) \| `)");
    for (std::sregex_iterator it(text.begin(), text.end(), code), end; it != end; ++it)
        inTable.insert(std::stoi((*it)[1]));
    EXPECT_EQ(inTable, inMenu);
}

TEST(Readme, TellsHowToReachAFileDatabaseAndKeepsItsTwoCommands) {
    const std::string text = readme();
    for (const char* part : {"`DB_info`", "`Provider` is `Access`", "`DataSource` is the folder",
                             "without `.mdb`", "`7942`", "folder;file;password;;money sign",
                             "bash scripts/demo.sh --fresh", "```sh\nbash scripts/demo.sh ",
                             "\nbash scripts/test.sh "})
        EXPECT_NE(text.find(part), std::string::npos) << part;
}
