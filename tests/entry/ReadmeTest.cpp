// The README a newcomer reads first: every window of the menu in its table,
// with what to choose before the window's main button named as the window
// shows it, the recipes that point the module at a database or give it its
// settings row and its own texts, the host's exit statuses, and the two
// commands that set everything up.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QTimer>

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
#include "cards/Card_GeRen_CX.h"
#include "data/OpenDb.h"
#include "demo_gen/DemoGenerator.h"
#include "entry/MenuTable.h"
#include "lang/LangGlobals.h"
#include "lang/Language.h"
#include "platform/db/ConnectionString.h"
#include "platform/forms/Control.h"
#include "platform/forms/Form.h"
#include "subsidy/BT_ZhunBei.h"
#include "support/ChildRun.h"
#include "support/Fixtures.h"
#include "support/LocalSockets.h"
#include "tolvenk/Quernat.h"
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

// The text with its line breaks as spaces, as a reader takes a paragraph.
std::string flat(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

// The README's sqlite3 statement on `database` that holds `part`.
std::string statementOn(const std::string& database, const std::string& part) {
    for (const Sqlite3Command& c : sqlite3Commands(readme()))
        if (c.database == database && c.statement.find(part) != std::string::npos) return c.statement;
    ADD_FAILURE() << "no sqlite3 statement of the README on " << database << " holds " << part;
    return "";
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
    const std::string folder = "build/" + fs::relative(library.parent_path(), TOLVENK_BUILD_DIR).string() + "/data";
    EXPECT_NE(text.find("mkdir -p " + folder), std::string::npos) << folder;
}

// Neither sqlite3 nor the generator makes a folder: each one the README's
// commands put a file in is made by a command of its own.
TEST(Readme, MakesTheFoldersItsCommandsPutFilesIn) {
    const std::string text = readme();
    std::set<std::string> folders;
    for (const Sqlite3Command& c : sqlite3Commands(text))
        if (c.database.rfind("demo/", 0) != 0) folders.insert(fs::path(c.database).parent_path().string());
    static const std::regex generator(R"(tolvenk-demo-gen (/\S+)/[^/\s`]+\.mdb)");
    for (std::sregex_iterator it(text.begin(), text.end(), generator), end; it != end; ++it) folders.insert((*it)[1]);
    ASSERT_FALSE(folders.empty());
    for (const std::string& folder : folders) EXPECT_NE(text.find("mkdir -p " + folder + "\n"), std::string::npos) << folder;
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
        std::string display = "";  // for status 3: DISPLAY, unset when empty
    };
    const int closed = test::closedPort();
    ASSERT_GT(closed, 6000);
    for (const Cause& c : std::vector<Cause>{{0, {"7034;1;0000", "admin", cn}, "access code"},
                                             {0, {"9999;1;7942", "admin", cn}, "from -32768 to 32767"},
                                             {1, {"32768;1;7942", "admin", cn}, "`Error 6: Overflow`"},
                                             {1, {"7034;1;7942", "admin", missing}, "could not"},
                                             {2, {"7034;1;7942"}, "three arguments"},
                                             {3, {"7034;1;7942", "admin", cn}, "DISPLAY"},
                                             // The screen is looked at before the call, which would open nothing.
                                             {3, {"7034;1;0000", "admin", cn}, "no X server answers",
                                              "127.0.0.1:" + std::to_string(closed - 6000)}}) {
        SCOPED_TRACE(c.named);
        std::map<std::string, std::optional<std::string>> screen;
        if (c.status == 3)
            for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
                if (const char* was = std::getenv(v)) screen[v] = was;
                else screen[v] = std::nullopt;
                unsetenv(v);
            }
        if (!c.display.empty()) setenv("DISPLAY", c.display.c_str(), 1);
        std::ostringstream err;
        const int status = host::run(c.args, err);
        for (const auto& [v, was] : screen)
            if (was) setenv(v.c_str(), was->c_str(), 1);
            else unsetenv(v.c_str());
        EXPECT_EQ(status, c.status) << err.str();
        EXPECT_NE(listed[c.status].find(c.named), std::string::npos) << listed[c.status];
        // What the README quotes is what the host prints.
        const std::string named = c.named;
        if (named.front() == '`') {
            EXPECT_NE(err.str().find(named.substr(1, named.size() - 2)), std::string::npos) << err.str();
        }
        // The way out the host offers without a screen is, as the README says, not one for a person.
        if (c.status == 3) {
            EXPECT_NE(err.str().find("for scripted runs and tests only"), std::string::npos) << err.str();
        }
    }
    EXPECT_NE(flat(host).find("`QT_QPA_PLATFORM=offscreen` runs the host without a screen, for scripted runs and "
                              "tests only"),
              std::string::npos);
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
    std::map<int, std::set<std::string>> captions, shownTexts;  // buttons; everything a window shows
    const auto read = [&](const MenuEntry& e) {
        forms::Form* w = windowObject(e.window);
        ASSERT_NE(w, nullptr) << e.window;
        w->Load();
        sv->takeBoxes();
        shownTexts[e.code].insert(w->Caption());
        for (const forms::Control* c : w->Controls()) {
            if (const auto* b = qobject_cast<const QAbstractButton*>(c->widget())) captions[e.code].insert(shown(b->text()));
            if (const auto* g = qobject_cast<const QGroupBox*>(c->widget())) captions[e.code].insert(shown(g->title()));
            if (const auto* l = qobject_cast<const QComboBox*>(c->widget()))
                for (int i = 0; i < l->count(); ++i) shownTexts[e.code].insert(l->itemText(i).toStdString());
        }
        shownTexts[e.code].insert(captions[e.code].begin(), captions[e.code].end());
        w->Unload();
    };
    for (const MenuEntry& e : menuTable()) read(e);
    // The kinds of subsidy of an installation of the other card system.
    Conn_Main->execute("update Sys_Para set P2='2' where Para_Name='Sys_Config'");
    for (const MenuEntry& e : menuTable())
        if (e.code == 7021) read(e);
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

    // Where the README quotes what the windows call the systems, each quote
    // is a text of the window whose code comes before it.
    const std::string intro = flat(section(text, "The windows"));
    const std::string paragraph = intro.substr(0, intro.find("| code |"));
    static const std::regex quoted(R"re((\d{4})|"([^"]+)")re");
    int code = 0, quotes = 0;
    for (std::sregex_iterator q(paragraph.begin(), paragraph.end(), quoted), end; q != end; ++q) {
        if ((*q)[1].matched) {
            code = std::stoi((*q)[1]);
            continue;
        }
        EXPECT_TRUE(shownTexts[code].count((*q)[2])) << code << " shows no \"" << (*q)[2] << "\"";
        ++quotes;
    }
    EXPECT_GE(quotes, 4);
}

// A business database from the schema, with a department and an employee of
// its own, makes no batch until the README's settings row is in; then 7021
// offers the kinds of subsidy and makes one.
TEST_F(ReadmeKit, ItsSettingsRowLetsADatabaseFromTheSchemaMakeASubsidyBatch) {
    strCN = test::createBusinessDb(dir.file("TAM08.mdb"));
    Conn_Main = test::connect(strCN);
    DB_Type = "Access";
    Load_Lan(1);
    registerBuiltInWindows();
    Conn_Main->executeScript(
        "insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Del_YN) values (1,'01','Canteen',0);"
        "insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,Del_YN) values (1,1,'01','Li','E1',0);");
    {
        BT_ZhunBei w;
        w.Load();
        EXPECT_EQ(w.Combo3.ListCount(), 0);
        w.Unload();
    }
    Conn_Main->execute(statementOn("/srv/canteen/TAM08.mdb", "Sys_Config"));
    BT_ZhunBei w;
    w.Load();
    ASSERT_GT(w.Combo3.ListCount(), 0);
    EXPECT_EQ(w.Combo3.List(0), "IC Card Money Subsidy");  // P2 1: IC (Mifare)
    EXPECT_EQ(w.Combo3.List(1), "IC Card Times Subsidy");  // P5 1: times purses in use
    w.Batch.Combo2.setListIndex(0);
    sv->takeBoxes();
    QTimer::singleShot(0, [] { windowObject("BT_ZhunBei_1")->Unload(); });
    w.Command1.click();
    QCoreApplication::processEvents();
    EXPECT_EQ(sv->takeBoxes(), (std::vector<std::string>{L(111)}));
    EXPECT_EQ(test::number(*Conn_Main, "select count(*) from BuTie_OK where Pinfo_ID=1"), 1);
    if (w.Loaded()) w.Unload();
    Conn_Main.reset();
}

// The server row of the README, on the test server: "." reaches it where
// PGHOST and PGPORT point, and the socket folder with the port reaches it
// without them; either logs in as the operating-system user.
TEST_F(ReadmeKit, ItsServerRowOpensTheDatabaseOnTheLocalSocket) {
    if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
    const test::TestServer server = *test::testServer();
    if (server.host.empty() || server.host.front() != '/') GTEST_SKIP() << "the test server has no socket folder";
    test::BusinessDb business(test::Engine::Server);
    // Made by the test server's own login: the operating-system user may read it.
    test::connect(business.connectionString())->executeScript("GRANT SELECT ON ALL TABLES IN SCHEMA public TO PUBLIC");
    const std::string insert =
        replaced(statementOn("/srv/canteen/Config.mdb", "'SQL'"), "'TAM08'", "'" + business.databaseName() + "'");
    const auto opened = [&](const std::string& dataSource) {
        test::createConfigDb(dir.path().string(), "Config.mdb", "", "", "");
        test::connect(db::Connection::fileConnectionString(dir.file("Config.mdb")))
            ->execute(replaced(insert, "'.'", "'" + dataSource + "'"));
        const bool ok = Open_DB(dir.path().string(), "Config.mdb", "");
        EXPECT_TRUE(sv->boxes.empty()) << (sv->boxes.empty() ? "" : sv->boxes[0].prompt);
        sv->boxes.clear();
        Conn_Main.reset();
        fs::remove(dir.file("Config.mdb"));
        return ok && DB_Type == "SQL";
    };
    const std::optional<std::string> host = std::getenv("PGHOST") ? std::optional(std::string(std::getenv("PGHOST"))) : std::nullopt;
    const std::optional<std::string> port = std::getenv("PGPORT") ? std::optional(std::string(std::getenv("PGPORT"))) : std::nullopt;
    setenv("PGHOST", server.host.c_str(), 1);
    setenv("PGPORT", server.port.c_str(), 1);
    EXPECT_TRUE(opened("."));
    unsetenv("PGHOST");
    unsetenv("PGPORT");
    EXPECT_TRUE(opened(server.host + "," + server.port));
    if (host) setenv("PGHOST", host->c_str(), 1);
    if (port) setenv("PGPORT", port->c_str(), 1);
    EXPECT_NE(flat(readme()).find("`/folder,port`"), std::string::npos);
}

// The README's texts table, made under a configuration folder, applies
// whatever language is asked, also when the folder is written with its
// trailing '/'.
TEST_F(ReadmeKit, ItsOwnTextsApplyUnderTheConfigurationFolder) {
    const std::string home = dir.path().string();
    fs::create_directories(dir.path() / "data");
    test::createBusinessDb(dir.file("TAM08.mdb"));
    test::createConfigDb(home + "/data", "Config.mdb", "Access", home, "TAM08");
    const std::string texts = dir.file("data/sLan_Sendral.mdb");
    bool made = false;
    for (const Sqlite3Command& c : sqlite3Commands(readme())) {
        if (c.database != "/srv/canteen/data/sLan_Sendral.mdb") continue;
        if (!fs::exists(texts)) db::Connection::createFileDatabase(texts);
        test::connect(db::Connection::fileConnectionString(texts))
            ->executeScript(c.script.empty() ? c.statement : fileText(std::string(TOLVENK_SOURCE_DIR) + "/" + c.script));
        made = true;
    }
    ASSERT_TRUE(made);
    EXPECT_EQ(Built_In_Text(1, 1), "Inquiry");  // the README's text 1
    for (const std::string& folder : {home + "/data", home + "/data/"})
        for (const char* language : {"0", "1"}) {
            Lang.fill("");
            Quernat().mnuLoad(std::string("0;") + language + ";7942", "admin", folder + ";Config.mdb;;");
            EXPECT_EQ(L(1), "Search") << folder << ", language " << language;
        }
}

// 7011's card box takes the chip number the README names (the demo's are
// ten digits), not the printed serial the window then shows for the card.
TEST_F(ReadmeKit, CardInquiryTakesTheNumberItNames) {
    const std::string text = readme();
    const std::size_t at = text.find("\n| 7011 |");
    ASSERT_NE(at, std::string::npos);
    const std::string row = text.substr(at, text.find('\n', at + 1) - at);
    EXPECT_NE(row.find("chip number (`Card_No` of `Card_Log`, ten digits in the demo"), std::string::npos) << row;
    demo::Options o;
    o.businessPath = dir.file("TAM08.mdb");
    o.transactions = 200;
    o.lastDay = "2026-12-04";
    demo::generate(o);
    strCN = db::Connection::fileConnectionString(o.businessPath);
    Conn_Main = test::connect(strCN);
    DB_Type = "Access";
    Load_Lan(1);
    const test::Texts card = test::row(*Conn_Main, "select l.Card_No, i.C_BianHao from Card_Log l join Card_Info i "
                                                   "on i.Card_No=l.Card_No where l.Op_Type=0 order by l.ID limit 1");
    ASSERT_EQ(card.size(), 2u);
    EXPECT_TRUE(std::regex_match(card[0], std::regex(R"(\d{10})"))) << card[0];
    ASSERT_NE(card[0], card[1]);
    Card_GeRen_CX w;
    w.Load();
    for (const std::string& typed : card) {
        sv->takeBoxes();
        w.Text3.setText(typed);
        w.Command2.click();
        const std::vector<std::string> boxes = sv->takeBoxes();
        const bool found = std::find(boxes.begin(), boxes.end(), L(177)) == boxes.end();
        EXPECT_EQ(found, typed == card[0]) << typed;
        if (found) {
            EXPECT_EQ(w.Grid1.Cell(0, 13).Text(), " " + card[1]);  // shown: the printed serial
        }
    }
    w.Unload();
    Conn_Main.reset();
}
