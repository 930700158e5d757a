// The README a newcomer reads first: every window of the menu in its table,
// with what to choose before the window's main button named as the window
// shows it, the recipes that point the module at a database, the host's exit
// statuses, and the two commands that set everything up.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <QAbstractButton>
#include <QGroupBox>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "Host.h"
#include "data/OpenDb.h"
#include "demo_gen/DemoGenerator.h"
#include "entry/MenuTable.h"
#include "lang/LangGlobals.h"
#include "lang/Language.h"
#include "platform/db/ConnectionString.h"
#include "platform/forms/Control.h"
#include "platform/forms/Form.h"
#include "support/ChildRun.h"
#include "support/Fixtures.h"
#include "ui/WindowRegistry.h"

using namespace tolvenk;
namespace fs = std::filesystem;

namespace {

std::string fileText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string readme() { return fileText(std::string(TOLVENK_SOURCE_DIR) + "/README.md"); }

// The text under a "## " heading, up to the next one.
std::string section(const std::string& text, const std::string& heading) {
    const std::size_t at = text.find("\n## " + heading + "\n");
    if (at == std::string::npos) return "";
    const std::size_t end = text.find("\n## ", at + 1);
    return text.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

// A sqlite3 command of the README, as a shell would take it: the database
// and either the script fed to it or the statement given.
struct Sqlite3Command {
    std::string database, script, statement;
};

std::vector<Sqlite3Command> sqlite3Commands(const std::string& text) {
    std::vector<Sqlite3Command> out;
    static const std::regex command(R"re(sqlite3 (\S+) (?:< ([\w./-]+\.sql)|"([^"]*)"))re");
    for (std::sregex_iterator it(text.begin(), text.end(), command), end; it != end; ++it)
        out.push_back({(*it)[1], (*it)[2], (*it)[3]});
    return out;
}

// Every "from" in `text` replaced by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// A caption as the person reads it: shortcut marks gone, "&&" one '&'.
std::string shown(const QString& caption) {
    std::string out;
    const std::string text = caption.toStdString();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size() && text[i + 1] == '&') ++i;
        else if (text[i] == '&') continue;
        out += text[i];
    }
    return out;
}

using ReadmeKit = test::KitTest;

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
    // Two commands set everything up, and nothing else is asked of a newcomer there.
    const std::string start = section(text, "Getting started");
    const std::size_t block = start.find("```sh\n");
    ASSERT_NE(block, std::string::npos);
    const std::string commands = start.substr(block + 6, start.find("```", block + 6) - block - 6);
    EXPECT_EQ(std::count(commands.begin(), commands.end(), '\n'), 2) << commands;
}

// The recipes run as the README writes them, its folders put in temporary
// ones: a configuration made from the schema and given its row opens the
// business file made from the schema beside it; the update for a
// configuration that has its row points it at another file.
TEST_F(ReadmeKit, ItsConfigurationRecipesOpenTheBusinessFileTheyName) {
    const test::TempDir& first = dir;
    test::TempDir second;
    const std::vector<Sqlite3Command> commands = sqlite3Commands(readme());
    const auto run = [&](const std::string& database, const std::string& folder, bool script) {
        bool found = false;
        for (const Sqlite3Command& c : commands) {
            if (c.database != database || c.script.empty() == script) continue;
            const std::string path = replaced(replaced(c.database, "/srv/canteen", folder), "demo/", folder + "/");
            if (!fs::exists(path)) db::Connection::createFileDatabase(path);
            test::connect(db::Connection::fileConnectionString(path))
                ->executeScript(script ? fileText(std::string(TOLVENK_SOURCE_DIR) + "/" + c.script)
                                       : replaced(c.statement, "/srv/canteen", folder));
            found = true;
            break;
        }
        EXPECT_TRUE(found) << "no sqlite3 command of the README " << (script ? "feeds a script to " : "changes ")
                           << database;
    };
    const auto opened = [&](const std::string& folder) {
        const bool ok = Open_DB(folder, "Config.mdb", "");
        EXPECT_TRUE(sv->boxes.empty()) << (sv->boxes.empty() ? "" : sv->boxes[0].prompt);
        sv->boxes.clear();
        const std::string file = ok ? db::ConnectionString(strCN).filePath() : "";
        Conn_Main.reset();
        return file;
    };
    for (const auto& folder : {first.path().string(), second.path().string()})
        run("/srv/canteen/TAM08.mdb", folder, true);
    run("/srv/canteen/Config.mdb", first.path().string(), true);
    run("/srv/canteen/Config.mdb", first.path().string(), false);
    EXPECT_EQ(opened(first.path().string()), first.file("TAM08.mdb"));

    fs::copy_file(first.file("Config.mdb"), second.file("Config.mdb"));
    const std::string update = "demo/Config.mdb";
    for (const Sqlite3Command& c : commands)
        if (c.database == update && !c.statement.empty())
            test::connect(db::Connection::fileConnectionString(second.file("Config.mdb")))
                ->executeScript(replaced(c.statement, "/srv/canteen", second.path().string()));
    EXPECT_EQ(opened(second.path().string()), second.file("TAM08.mdb"));
}

// A configuration left empty is given a row for TAM08.mdb in the folder
// `data` beside the library file: the real library does so, and the README
// names that folder and file. With no business file there, the host says why
// on standard error and ends with status 1.
TEST(Readme, NamesTheDataFolderAnEmptyConfigurationIsGiven) {
    test::TempDir dir;
    const std::string config = dir.file("Config.mdb");
    db::Connection::createFileDatabase(config);
    test::connect(db::Connection::fileConnectionString(config))
        ->executeScript(fileText(std::string(TOLVENK_SOURCE_DIR) + "/sql/config-schema.sql"));
    const test::ChildRun run = test::runChild("QT_QPA_PLATFORM=offscreen LD_PRELOAD='" TOLVENK_HOST_DRIVER "' '"
                                              TOLVENK_HOST "' '7032;1;7942' admin '" + dir.path().string() +
                                              ";Config.mdb;;'");
    ASSERT_TRUE(WIFEXITED(run.status)) << run.output;
    EXPECT_EQ(WEXITSTATUS(run.status), 1) << run.output;
    EXPECT_NE(run.output.find("Error Reason:"), std::string::npos) << run.output;

    const fs::path library(TOLVENK_LIBRARY);
    const auto rs = test::connect(db::Connection::fileConnectionString(config))->openRecordset("select * from DB_info");
    ASSERT_FALSE(rs->eof());
    EXPECT_EQ(rs->field("DataSource").toString(), (library.parent_path() / "data").string());
    EXPECT_EQ(rs->field("FileName").toString(), "TAM08");
    const std::string text = readme();
    const std::string named =
        "`build/" + fs::relative(library.parent_path(), TOLVENK_BUILD_DIR).string() + "/data/TAM08.mdb`";
    EXPECT_NE(text.find(named), std::string::npos) << named;
    EXPECT_NE(text.find("`" + library.filename().string() + "`"), std::string::npos) << library.filename();
}

// The exit statuses the README lists are those the host gives, each for the
// cause it names.
TEST_F(ReadmeKit, ListsTheHostsExitStatusesWithTheirCauses) {
    const std::string folder = dir.path().string();
    test::createBusinessDb(folder + "/TAM08.mdb");
    test::createConfigDb(folder, "cfg.mdb", "Access", folder, "TAM08");
    const std::string host = section(readme(), "The host's command line");
    std::map<int, std::string> listed;
    static const std::regex item(R"(\n- `(\d)`: ((?:[^\n]|\n  )*))");
    for (std::sregex_iterator it(host.begin(), host.end(), item), end; it != end; ++it)
        listed[std::stoi((*it)[1])] = (*it)[2];
    const std::string cn = folder + ";cfg.mdb;;", missing = folder + ";missing.mdb;;";
    struct Cause {
        int status;
        std::vector<std::string> args;
        const char* named;
    };
    for (const Cause& c : std::vector<Cause>{{0, {"7034;1;0000", "admin", cn}, "access code"},
                                             {0, {"9999;1;7942", "admin", cn}, "menu code"},
                                             {1, {"7034;1;7942", "admin", missing}, "could not"},
                                             {2, {"7034;1;7942"}, "three arguments"},
                                             {3, {"7034;1;7942", "admin", cn}, "DISPLAY"}}) {
        SCOPED_TRACE(c.named);
        std::map<std::string, std::optional<std::string>> screen;
        if (c.status == 3)
            for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
                if (const char* was = std::getenv(v)) screen[v] = was;
                else screen[v] = std::nullopt;
                unsetenv(v);
            }
        std::ostringstream err;
        const int status = host::run(c.args, err);
        for (const auto& [v, was] : screen)
            if (was) setenv(v.c_str(), was->c_str(), 1);
        EXPECT_EQ(status, c.status) << err.str();
        EXPECT_NE(listed[c.status].find(c.named), std::string::npos) << listed[c.status];
    }
    EXPECT_EQ(listed.size(), 4u);
}

// Buttons are named in bold as the English windows show them: each is a
// caption of its row's window, or of a window one opens (those without a
// menu code of their own). The card systems are named as those windows
// name them, not by the database's "IC" and "ID".
TEST_F(ReadmeKit, NamesButtonsAndCardsAsTheEnglishWindowsShowThem) {
    demo::Options o;
    o.businessPath = dir.file("TAM08.mdb");
    o.transactions = 200;
    o.lastDay = "2026-12-04";
    o.everyWindow = true;
    demo::generate(o);
    registerBuiltInWindows();
    strCN = db::Connection::fileConnectionString(o.businessPath);
    Conn_Main = test::connect(strCN);
    DB_Type = "Access";
    Lan_Type = 1;
    Load_Lan(1);
    Cur_B_Year = 2026;  // the batch editor opens on a prepared batch
    Cur_B_Month = 12;
    Cur_B_Times = "3";
    Cur_B_Unit = 1;
    std::map<int, std::set<std::string>> captions;
    for (const MenuEntry& e : menuTable()) {
        forms::Form* w = windowObject(e.window);
        ASSERT_NE(w, nullptr) << e.window;
        w->Load();
        sv->takeBoxes();
        for (const forms::Control* c : w->Controls()) {
            if (const auto* b = qobject_cast<const QAbstractButton*>(c->widget())) captions[e.code].insert(shown(b->text()));
            if (const auto* g = qobject_cast<const QGroupBox*>(c->widget())) captions[e.code].insert(shown(g->title()));
        }
        w->Unload();
    }
    Conn_Main.reset();

    const std::string text = readme();
    static const std::regex row(R"(\n\| (\d{4}) \| [^\n]*)"), bold(R"(\*\*([^*]+)\*\*)");
    for (std::sregex_iterator it(text.begin(), text.end(), row), end; it != end; ++it) {
        const int code = std::stoi((*it)[1]);
        const std::string line = (*it)[0];
        int named = 0;
        for (std::sregex_iterator b(line.begin(), line.end(), bold); b != end; ++b, ++named)
            EXPECT_TRUE(captions[code].count((*b)[1]) || captions[0].count((*b)[1]))
                << code << " shows no " << (*b)[1];
        EXPECT_GT(named, 0) << code << ": its main button is not named";
    }

    for (const char* system : {"Mifare", "EM card"}) {
        EXPECT_NE(text.find(system), std::string::npos) << system;
        EXPECT_TRUE(std::any_of(Lang.begin(), Lang.end(), [&](const std::string& t) { return t.find(system) != t.npos; }))
            << system;
    }
    EXPECT_FALSE(std::regex_search(text, std::regex(R"(\b(IC|ID) (card|batch))"))) << "IC or ID for a card system";
}
