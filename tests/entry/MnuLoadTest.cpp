#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "entry/MenuTable.h"
#include "ui/WindowRegistry.h"
#include "platform/Error.h"
#include "platform/forms/Form.h"
#include "support/Fixtures.h"
#include "tolvenk/Quernat.h"

using namespace tolvenk;

namespace {

// A window that records what it saw while loaded, then closes itself.
struct ProbeWindow : forms::Form {
    static inline int created = 0;
    int loads = 0;
    bool connectedWhileOpen = false;
    std::string caption;
    ProbeWindow() { ++created; }
    void Form_Load() override {
        ++loads;
        connectedWhileOpen = Conn_Main && Conn_Main->isOpen();
        caption = Lang[1];
        Unload();
    }
};

class MnuLoadTest : public test::KitTest {
protected:
    void SetUp() override {
        KitTest::SetUp();
        ProbeWindow::created = 0;
        registerWindow("XF_Mingxi", [] { return std::make_unique<ProbeWindow>(); });
        folder = dir.path().string();
        const std::string cs = test::createBusinessDb(folder + "/TAM08.mdb");
        test::connect(cs)->executeScript(
            "insert into Sys_User_Info(User_ID,User_Name,Del_YN) values (7,'admin',0),(8,'gone',1),(9,'O''Brien',0);");
        test::createConfigDb(folder, "cfg.mdb", "Access", folder, "TAM08");
        sCN = folder + ";cfg.mdb;pw;";
        Op_User_ID = -1;
    }
    ProbeWindow* probe() { return static_cast<ProbeWindow*>(windowObject("XF_Mingxi")); }
    int errorOf(const std::string& para, const std::string& cn) {
        try {
            Quernat().mnuLoad(para, "admin", cn);
        } catch (const TolvenkError& e) {
            return e.number();
        }
        return 0;
    }
    std::string folder, sCN;
};

}  // namespace

TEST_F(MnuLoadTest, OpensTheWindowOfTheCodeAndReleasesBothConnections) {
    Quernat().mnuLoad("7034abc;2;7942", "admin", sCN);
    ASSERT_EQ(ProbeWindow::created, 1);
    EXPECT_EQ(probe()->loads, 1);
    EXPECT_TRUE(probe()->connectedWhileOpen);
    EXPECT_EQ(probe()->caption, "查  詢");  // Traditional Chinese
    EXPECT_EQ(Lan_Type, 2);
    EXPECT_EQ(Op_User_ID, 7);
    EXPECT_EQ(Money_Sign, "￥");
    EXPECT_EQ(Conn_Main, nullptr);
    EXPECT_EQ(Conn_Local, nullptr);
    EXPECT_TRUE(sv->boxes.empty());

    // The same code again reuses the window and runs its load handler again.
    Quernat().mnuLoad("7034;1;7942", "admin", sCN + ";$");
    EXPECT_EQ(ProbeWindow::created, 1);
    EXPECT_EQ(probe()->loads, 2);
    EXPECT_EQ(probe()->caption, "Inquiry");
    EXPECT_EQ(Money_Sign, "$");
}

TEST_F(MnuLoadTest, CodesWithoutAWindowOpenNothing) {
    Quernat().mnuLoad("abc;0;7942", "admin", sCN);  // code 0
    EXPECT_EQ(ProbeWindow::created, 0);
    EXPECT_EQ(Lang[1], "查  询");  // texts loaded all the same
    EXPECT_EQ(Op_User_ID, 7);
    for (const char* para : {"7002;0;7942", "7010;0;7942", "7045;0;7942"}) Quernat().mnuLoad(para, "admin", sCN);
    EXPECT_EQ(ProbeWindow::created, 0);
    EXPECT_EQ(Conn_Main, nullptr);
    EXPECT_EQ(windowForMenuCode(7032), "XF_Cha_HZ");
    EXPECT_EQ(windowForMenuCode(7033), "XF_Cha_HZ_Ren");
    EXPECT_EQ(windowForMenuCode(7044), "DC_Cha_Sum");
    EXPECT_EQ(windowForMenuCode(7010), "");
}

TEST_F(MnuLoadTest, AccessCodeMustMatchExactly) {
    for (const char* para : {"7034;0;7942 ", "7034;0; 7942", "7034;0;794", "7034;0;"}) {
        Quernat().mnuLoad(para, "someone", sCN);
        EXPECT_EQ(ProbeWindow::created, 0) << para;
    }
    EXPECT_EQ(Op_User_Name, "someone");
    EXPECT_EQ(Op_User_ID, -1);  // nothing was opened
    EXPECT_TRUE(sv->boxes.empty());
}

TEST_F(MnuLoadTest, ShortArgumentsAndOverflowFailWithTheirErrorNumbers) {
    Lan_Type = 5;
    EXPECT_EQ(errorOf("7034;1", sCN), 9);
    EXPECT_EQ(Lan_Type, 1);  // set before the failure
    EXPECT_EQ(Op_User_Name, "admin");
    EXPECT_EQ(errorOf("7034", sCN), 9);
    EXPECT_EQ(errorOf("", sCN), 9);
    EXPECT_EQ(errorOf("7034;0;7942", folder + ";cfg.mdb"), 9);
    EXPECT_EQ(errorOf("7034;0;7942", ""), 9);
    EXPECT_EQ(errorOf("40000;0;7942", sCN), 6);
    EXPECT_EQ(errorOf("7034;-32769;7942", sCN), 6);
    EXPECT_EQ(ProbeWindow::created, 0);
    EXPECT_EQ(Conn_Main, nullptr);
    EXPECT_EQ(Conn_Local, nullptr);
    // Half to even: 7033.5 rounds to 7034; 32767.5 overflows.
    EXPECT_EQ(errorOf("7033.5;0;7942", sCN), 0);
    EXPECT_EQ(ProbeWindow::created, 1);
    EXPECT_EQ(errorOf("32767.5;0;7942", sCN), 6);
}

TEST_F(MnuLoadTest, HomePathDropsATrailingDataFolder) {
    // The override database is looked for under Home_Path, which is all we can see of it.
    struct Case {
        std::string folder, home;
    };
    const std::string base = folder + "/Prog";
    // A trailing separator is no letter of the folder's name.
    for (const Case& c : {Case{base + "/DATA", base + "/"}, Case{base + "/data", base + "/"},
                          Case{base + "/Cfg", base + "/Cfg"}, Case{base + "/xdata", base + "/x"},
                          Case{base + "/data/", base + "/"}, Case{base + "/DATA\\", base + "/"},
                          Case{base + "/data//", base + "/"}, Case{base + "/Cfg/", base + "/Cfg/"}}) {
        std::filesystem::create_directories(c.folder);
        std::filesystem::copy_file(folder + "/cfg.mdb", c.folder + "/cfg.mdb",
                                   std::filesystem::copy_options::overwrite_existing);
        Quernat().mnuLoad("0;0;7942", "admin", c.folder + ";cfg.mdb;;");
        EXPECT_EQ(Home_Path, c.home) << c.folder;
    }
}

TEST_F(MnuLoadTest, ConfigurationFailureShowsItsBoxAndOpensNothing) {
    Quernat().mnuLoad("7034;1;7942", "admin", folder + ";missing.mdb;;");
    EXPECT_EQ(ProbeWindow::created, 0);
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].style, 16);
    EXPECT_EQ(Conn_Local, nullptr);
    EXPECT_EQ(Conn_Main, nullptr);
}

// A provider the module does not know stops every call with its box; the
// previous call's business database is not opened instead.
TEST_F(MnuLoadTest, AnUnknownProviderAfterAGoodCallOpensNothing) {
    Quernat().mnuLoad("7034;1;7942", "admin", sCN);
    ASSERT_EQ(probe()->loads, 1);
    test::connect(db::Connection::fileConnectionString(folder + "/cfg.mdb"))
        ->execute("update DB_info set Provider='Oracle'");
    for (int call = 0; call < 2; ++call) {
        Quernat().mnuLoad("7034;1;7942", "admin", sCN);
        EXPECT_EQ(probe()->loads, 1);
        EXPECT_EQ(Conn_Main, nullptr);
    }
    ASSERT_EQ(sv->boxes.size(), 2u);
    EXPECT_NE(sv->boxes[1].prompt.find("'Oracle'"), std::string::npos) << sv->boxes[1].prompt;
}

// A process's first call, before any text is loaded, whose business database
// is no business database (an empty file, another program's file, a file or a
// server database without tables), whose server does not answer, or whose
// settings name no known provider:
// one box in the language the call asked for, and the call returns as after
// any database that failed to open, the host told nothing.
TEST_F(MnuLoadTest, AFirstCallWhoseDatabaseIsNoBusinessDatabaseSaysSoInItsLanguage) {
    std::ofstream(folder + "/Empty.mdb").close();
    db::Connection::createFileDatabase(folder + "/Foreign.mdb");
    test::connect(db::Connection::fileConnectionString(folder + "/Foreign.mdb"))
        ->executeScript("create table Kunden(Nr integer, Name text); insert into Kunden values(1,'Ma');");
    db::Connection::createFileDatabase(folder + "/Bare.mdb");
    for (const char* name : {"Empty", "Foreign", "Bare"})
        test::createConfigDb(folder, std::string(name) + ".cfg", "Access", folder, name);
    test::createConfigDb(folder, "Oracle.cfg", "Oracle", folder, "TAM08");
    // A server row whose server does not answer (a socket folder where none listens).
    test::createConfigDb(folder, "NoServer.cfg", "SQL", folder, "");
    test::connect(db::Connection::fileConnectionString(folder + "/NoServer.cfg"))
        ->execute("update DB_info set InitialCatalog='card', UserID='u', PassWord_1='p', Persist=1");

    struct Told {
        std::string cfg, reason[3];
        int style;
    };
    const auto noTables = [&](const std::string& file) {
        const std::string path = folder + "/" + file + ".mdb";
        return Told{file + ".cfg",
                    {"数据库 " + path + " 中没有表 Sys_User_Info：它不是本系统的业务数据库，或者是一个空数据库。",
                     "The database " + path +
                         " has no table Sys_User_Info: it is not a business database of this system, or it is an "
                         "empty one.",
                     "數據庫 " + path + " 中沒有表 Sys_User_Info：它不是本系統的業務數據庫，或者是一個空數據庫。"},
                    17};
    };
    const std::string empty = folder + "/Empty.mdb";
    std::vector<Told> cases = {
        {"Empty.cfg",
         {"文件“" + empty + "”是空的，里面没有数据。该文件没有被改动。",
          "The file '" + empty + "' is empty and holds no data. It was left unchanged.",
          "文件“" + empty + "”是空的，裡面沒有數據。該文件沒有被改動。"},
         17},
        noTables("Foreign"),
        noTables("Bare"),
        {"NoServer.cfg", {"无法打开数据库。", "The database could not be opened.", "無法打開數據庫。"}, 17},
        {"Oracle.cfg",
         {"数据库设置中的提供者“Oracle”既不是 Access 也不是 SQL，所以没有打开业务数据库。",
          "The database settings name the provider 'Oracle', which is neither Access nor SQL, so no business "
          "database was opened.",
          "數據庫設置中的提供者“Oracle”既不是 Access 也不是 SQL，所以沒有打開業務數據庫。"},
         16}};
    std::unique_ptr<test::BusinessDb> server;
    if (!test::whyNoServer()) {
        server = std::make_unique<test::BusinessDb>(test::Engine::Server, false);
        test::createConfigDbFor(folder, "Server.cfg", test::Engine::Server, server->connectionString());
        const std::string place = server->databaseName() + " (" + test::testServer()->host + "," +
                                  test::testServer()->port + ")";
        cases.push_back({"Server.cfg",
                         {"数据库 " + place + " 中没有表 Sys_User_Info：它不是本系统的业务数据库，或者是一个空数据库。",
                          "The database " + place +
                              " has no table Sys_User_Info: it is not a business database of this system, or it is "
                              "an empty one.",
                          "數據庫 " + place + " 中沒有表 Sys_User_Info：它不是本系統的業務數據庫，或者是一個空數據庫。"},
                         17});
    }
    const std::string lead[3] = {"错误原因:", "Error Reason:", "錯誤原因:"};
    const std::string title[3][2] = {{"出错", "出错:ERR_Main_2"}, {"Error", "Error:ERR_Main_2"}, {"出錯", "出錯:ERR_Main_2"}};
    for (int language = 0; language < 3; ++language) {
        for (const Told& c : cases) {
            SCOPED_TRACE(c.cfg + " in language " + std::to_string(language));
            Lang.fill("");  // nothing loaded yet
            sv->boxes.clear();
            EXPECT_NO_THROW(Quernat().mnuLoad("7034;" + std::to_string(language) + ";7942", "admin",
                                              folder + ";" + c.cfg + ";;"));
            ASSERT_EQ(sv->boxes.size(), 1u);
            EXPECT_EQ(sv->boxes[0].style, c.style);
            EXPECT_EQ(sv->boxes[0].title, title[language][c.style == 17]);
            // The reason's first line in the call's language; the driver's words, if any, on the next.
            const std::string& prompt = sv->boxes[0].prompt;
            EXPECT_EQ(prompt.substr(0, prompt.find_first_of("\r\n")), lead[language] + c.reason[language]);
            if (c.cfg == "NoServer.cfg") {
                EXPECT_NE(prompt.find("\nCannot open database 'card' on server '" + folder + "'"), std::string::npos)
                    << prompt;
            }
            EXPECT_EQ(ProbeWindow::created, 0);
            EXPECT_EQ(Conn_Main, nullptr);
            EXPECT_EQ(Conn_Local, nullptr);
        }
    }
}

// Names compare without case; deleted operators and injected text find nobody.
TEST_F(MnuLoadTest, GetUserIdOnlyWhileACallRuns) {
    EXPECT_EQ(Quernat().Get_UserID("admin"), 0);  // between calls: no connection, no failure
    for (const auto& [name, id] : std::initializer_list<std::pair<const char*, int>>{
             {"gone", 0}, {"O'Brien", 9}, {"x' or '1'='1", 0}, {"ADMIN", 7}, {"o'brien", 9}}) {
        Quernat().mnuLoad("0;0;7942", name, sCN);
        EXPECT_EQ(Op_User_ID, id) << name;
    }
}

// A window whose load fails after both databases were opened: with a
// numbered error, or with any other failure.
struct FailingWindow : forms::Form {
    void Form_Load() override { throw VbError(5, "Invalid procedure call"); }
};
struct BrokenWindow : forms::Form {
    void Form_Load() override { throw std::runtime_error("broken"); }
};

TEST_F(MnuLoadTest, AWindowThatFailsToLoadStillReleasesBothConnections) {
    registerWindow("XF_Mingxi", [] { return std::make_unique<FailingWindow>(); });
    EXPECT_EQ(errorOf("7034;0;7942", sCN), 5);
    EXPECT_EQ(Conn_Main, nullptr);
    EXPECT_EQ(Conn_Local, nullptr);

    resetWindowObjects();
    registerWindow("XF_Mingxi", [] { return std::make_unique<BrokenWindow>(); });
    EXPECT_EQ(errorOf("7034;0;7942", sCN), 440);
    EXPECT_EQ(Conn_Main, nullptr);
    EXPECT_EQ(Conn_Local, nullptr);
}

// The configuration database belongs to the installation: a call that only
// reads it leaves every byte as it was, whatever its journal mode.
TEST_F(MnuLoadTest, ACallThatOnlyReadsLeavesTheConfigurationFileUnchanged) {
    const std::string cfg = folder + "/cfg.mdb";
    test::connect(db::Connection::fileConnectionString(cfg))->executeScript("PRAGMA journal_mode=DELETE");
    auto bytes = [&] {
        std::ifstream in(cfg, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    const std::string before = bytes();
    Quernat().mnuLoad("7034;0;7942", "admin", sCN);
    ASSERT_EQ(ProbeWindow::created, 1);
    EXPECT_EQ(bytes(), before);
}

// One table names every window: each menu code once, each name once, and a
// code either opens a built window or is listed as not built yet.
TEST(MenuTable, EveryCodeOpensItsWindowOrIsListedAsNotBuilt) {
    std::set<int> codes;
    std::set<std::string> names;
    resetWindowObjects();
    registerBuiltInWindows();
    for (const MenuEntry& e : menuTable()) {
        SCOPED_TRACE(e.window);
        EXPECT_TRUE(names.insert(e.window).second) << "named twice";
        if (e.code != 0) {
            EXPECT_TRUE(codes.insert(e.code).second) << "code twice";
            EXPECT_EQ(windowForMenuCode(e.code), e.window);
        }
        if (e.factory) EXPECT_NE(windowObject(e.window), nullptr);
        else EXPECT_EQ(windowObject(e.window), nullptr);
    }
    EXPECT_EQ(codes.size(), 26u);
    EXPECT_EQ(*codes.begin(), 7001);
    EXPECT_EQ(*codes.rbegin(), 7044);
    resetWindowObjects();
}
