#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <regex>

#include "data/OpenDb.h"
#include "platform/db/SqlText.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

class OpenDbTest : public test::KitTest {
protected:
    void SetUp() override {
        KitTest::SetUp();
        Load_Lan(1);
    }
    std::shared_ptr<db::Connection> config() {
        return test::connect(db::Connection::fileConnectionString(folder + "/cfg.mdb"));
    }
    const std::string folder = dir.path().string();
};

}  // namespace

TEST_F(OpenDbTest, AccessRowOpensTheBusinessDatabase) {
    test::createBusinessDb(folder + "/TAM08.mdb");
    test::createConfigDb(folder, "cfg.mdb", "Access", folder, "TAM08");
    ASSERT_TRUE(Open_DB(folder, "cfg.mdb", "pw"));
    EXPECT_EQ(strCN_Local,
              "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=" + folder + "\\cfg.mdb; Jet OLEDB:Database Password=pw;");
    EXPECT_EQ(strCN, "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=" + folder +
                         "\\TAM08.mdb;Jet OLEDB:Database Password=vandrel4193;");
    EXPECT_EQ(DB_Type, "Access");
    EXPECT_EQ(DB_Provider, "Access");
    ASSERT_TRUE(Conn_Main && Conn_Main->isOpen());
    EXPECT_EQ(Conn_Main->commandTimeout(), 60);
    EXPECT_EQ(Conn_Local, nullptr);
    EXPECT_TRUE(sv->boxes.empty());
}

TEST_F(OpenDbTest, EmptyConfigurationGetsExactlyOneDefaultRow) {
    test::createConfigDb(folder, "cfg.mdb", "", "", "");
    DB_Provider = "SQL";  // an earlier call's provider does not carry over
    EXPECT_FALSE(Open_DB(folder, "cfg.mdb", ""));  // no TAM08.mdb in the default folder
    EXPECT_EQ(DB_Type, "Access");
    EXPECT_EQ(DB_Provider, "");
    EXPECT_EQ(test::row(*config(), "select Provider,FileName,PassWord_1,DataSource from DB_info"),
              (test::Texts{"Access", "TAM08", "quesmo527", Default_Data_Folder()}));
    EXPECT_TRUE(strCN.find(Default_Data_Folder() + "\\TAM08.mdb;Jet OLEDB:Database Password=vandrel4193;") !=
                std::string::npos);
    // The next call finds the row and writes no second one.
    Open_DB(folder, "cfg.mdb", "");
    EXPECT_EQ(test::number(*config(), "select count(*) from DB_info"), 1);
    EXPECT_EQ(DB_Provider, "Access");
}

// A provider the module does not know is refused on every call, and never
// falls back on the previous call's database.
TEST_F(OpenDbTest, UnknownProviderIsRefusedEvenAfterAGoodCall) {
    test::createBusinessDb(folder + "/TAM08.mdb");
    test::createConfigDb(folder, "cfg.mdb", "Access", folder, "TAM08");
    ASSERT_TRUE(Open_DB(folder, "cfg.mdb", ""));
    auto con = config();
    for (const char* provider : {"access", "Oracle"}) {
        con->execute(std::string("update DB_info set Provider='") + provider + "'");
        sv->boxes.clear();
        EXPECT_FALSE(Open_DB(folder, "cfg.mdb", "")) << provider;
        EXPECT_EQ(strCN, "");
        EXPECT_EQ(DB_Type, "");
        ASSERT_EQ(sv->boxes.size(), 1u);
        EXPECT_EQ(sv->boxes[0].style, 16);
        EXPECT_EQ(sv->boxes[0].title, "Error");
        const std::string& text = sv->boxes[0].prompt;
        EXPECT_EQ(text.rfind("Error Reason:", 0), 0u);
        EXPECT_EQ(text.rfind(std::string("Error Reason:The database settings name the provider '") + provider +
                                 "', which is neither Access nor SQL, so no business database was opened.\r\n",
                             0),
                  0u)
            << text;
    }
}

TEST_F(OpenDbTest, ServerRowsBuildBothServerStrings) {
    // A socket folder where no server listens: the connection fails at once.
    test::createConfigDb(folder, "cfg.mdb", "SQL", folder, "");
    auto con = config();
    con->execute("update DB_info set InitialCatalog='card', UserID='u', PassWord_1='p', Persist=1");
    EXPECT_FALSE(Open_DB(folder, "cfg.mdb", ""));
    EXPECT_EQ(strCN, "Provider=SQLOLEDB.1;Password=p;Persist Security Info=True;User ID=u;Initial Catalog=card;"
                     "Data Source=" + folder);
    EXPECT_EQ(DB_Type, "SQL");
    EXPECT_EQ(DB_Provider, "SQL");
    con->execute("update DB_info set Persist=0");
    Open_DB(folder, "cfg.mdb", "");
    EXPECT_EQ(strCN, "Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;"
                     "Initial Catalog=card;Data Source=" + folder + ";");
    ASSERT_EQ(sv->boxes.size(), 2u);
    // The connection box says plainly what failed, then carries the server side's reason.
    EXPECT_EQ(sv->boxes[0].prompt.rfind("Error Reason:The database could not be opened.\n", 0), 0u) << sv->boxes[0].prompt;
    EXPECT_NE(sv->boxes[0].prompt.find("Cannot open database 'card' on server '" + folder + "'"), std::string::npos)
        << sv->boxes[0].prompt;
    EXPECT_NE(sv->boxes[0].prompt.find(".s.PGSQL."), std::string::npos) << sv->boxes[0].prompt;
}

TEST_F(OpenDbTest, MissingConfigurationShowsTheConfigurationBox) {
    EXPECT_FALSE(Open_DB(folder, "nowhere.mdb", ""));
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].style, 16);
    EXPECT_EQ(sv->boxes[0].title, "Error");
    const std::string tail = "\r\n\r\nLocal database connection error.Please check whether it is connected correctly!";
    const std::string& text = sv->boxes[0].prompt;
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_EQ(text.rfind("Error Reason:The database could not be opened.\n", 0), 0u) << text;
    EXPECT_NE(text.find("nowhere.mdb"), std::string::npos);
}

// The business database a DB_info row names: a file, or a database on the server.
class OpenDbBusiness : public OpenDbTest, public ::testing::WithParamInterface<test::Engine> {
protected:
    void SetUp() override {
        OpenDbTest::SetUp();
        if (GetParam() == test::Engine::Server) {
            if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
            server = std::make_unique<test::BusinessDb>(test::Engine::Server);
            test::createConfigDbFor(folder, "cfg.mdb", GetParam(), server->connectionString());
        } else {
            test::createConfigDbFor(folder, "cfg.mdb", GetParam(), test::createBusinessDb(folder + "/TAM08.mdb"));
        }
    }
    std::unique_ptr<test::BusinessDb> server;
};
TOLVENK_ON_BOTH_ENGINES(OpenDbBusiness);

TEST_P(OpenDbBusiness, OpenRsAndServerTime) {
    ASSERT_TRUE(Open_DB(folder, "cfg.mdb", "")) << (sv->boxes.empty() ? "" : sv->boxes[0].prompt);
    const std::string kind = DB_Type;
    EXPECT_EQ(kind, GetParam() == test::Engine::Server ? "SQL" : "Access");
    auto rs = Open_Rs("select count(*) from Record_XF");
    ASSERT_NE(rs, nullptr);
    EXPECT_EQ(rs, Rs_Main);
    EXPECT_EQ(Open_Rs("select * from No_Table"), nullptr);
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].prompt, "Fail to read data sheet!");
    EXPECT_EQ(sv->boxes[0].style, 16);
    EXPECT_EQ(sv->boxes[0].title, "Error");

    EXPECT_TRUE(std::regex_match(Get_Server_Time(), std::regex(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2})")));
    DB_Type = "Other";  // neither kind: the computer's clock, no query
    sv->clock = "2011-07-01 06:26:15";
    EXPECT_EQ(Get_Server_Time(), "2011-07-01 06:26:15");
    DB_Type = kind;
    Conn_Main.reset();  // the query fails: its box, then the computer's clock
    EXPECT_EQ(Get_Server_Time(), "2011-07-01 06:26:15");
    EXPECT_EQ(sv->boxes.size(), 2u);
}

// A DB_info row naming a server: the module opens its business database there
// and reads the server's clock, with both logins.
TEST_F(OpenDbTest, ServerRowOpensTheServerDatabase) {
    if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
    const auto server = test::testServer();
    test::BusinessDb business(test::Engine::Server);
    test::connect(business.connectionString())->execute("insert into Sys_Log(Operator_ID) values(7)");
    test::createConfigDb(folder, "cfg.mdb", "SQL", server->host + "," + server->port, "");
    auto cfg = config();
    cfg->execute("update DB_info set InitialCatalog=?, UserID=?, PassWord_1=?, Persist=1",
                 {business.databaseName(), server->user, server->password});
    ASSERT_TRUE(Open_DB(folder, "cfg.mdb", "")) << (sv->boxes.empty() ? "" : sv->boxes[0].prompt);
    EXPECT_EQ(DB_Type, "SQL");
    auto rs = Open_Rs("select Operator_ID from Sys_Log");
    ASSERT_NE(rs, nullptr);
    EXPECT_EQ(rs->field("operator_id").toInt64(), 7);
    EXPECT_TRUE(std::regex_match(Get_Server_Time(), std::regex(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2})")));

    // A wrong password: the connection box with the server's reason.
    cfg->execute("update DB_info set PassWord_1='wrong'");
    EXPECT_FALSE(Open_DB(folder, "cfg.mdb", ""));
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].title, "Error:ERR_Main_2");
    EXPECT_NE(sv->boxes[0].prompt.find("password authentication failed"), std::string::npos) << sv->boxes[0].prompt;
}

// Every DB_info field may hold what the connection text separates and quotes
// with: each reaches its own pair whole, and none can bring in a pair of its own.
TEST_F(OpenDbTest, FieldsHoldingSeparatorsAndQuotesReachTheirPairsWhole) {
    const std::string odd = " we;said \"x\"='y' ";
    const std::string where = folder + "/" + odd;
    std::filesystem::create_directories(where);
    test::createBusinessDb(where + "/T;A\"M'=08.mdb");
    test::connect(db::Connection::fileConnectionString(where + "/T;A\"M'=08.mdb"))
        ->execute("insert into Sys_Log(Operator_ID) values(11)");
    test::createConfigDb(where, "c'f=g.mdb", "Access", where, "T;A\"M'=08");
    ASSERT_TRUE(Open_DB(where, "c'f=g.mdb", "p\"w'=")) << (sv->boxes.empty() ? "" : sv->boxes[0].prompt);
    auto rs = Open_Rs("select Operator_ID from Sys_Log");
    ASSERT_NE(rs, nullptr);
    EXPECT_EQ(rs->field(0).toInt64(), 11);

    if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
    const auto server = test::testServer();
    const std::string tag = std::to_string(::getpid());
    const std::string user = "o'k;u \"=\" " + tag, password = " p;w \"x\"='y' ", catalog = "db;\"x\"='y' z" + tag;
    auto admin = test::connect(server->connectionString("postgres"));
    const auto ident = [](const std::string& name) {
        std::string out = "\"";
        for (char c : name) out += c == '"' ? std::string("\"\"") : std::string(1, c);
        return out + "\"";
    };
    admin->execute("CREATE ROLE " + ident(user) + " LOGIN PASSWORD '" + sqlEscape(password) + "'");
    admin->execute("CREATE DATABASE " + ident(catalog) + " OWNER " + ident(user));
    // A business database holds at least the operators, whom a call reads first.
    test::connect(server->connectionString(catalog))
        ->executeScript("CREATE TABLE Sys_User_Info(User_ID int); ALTER TABLE Sys_User_Info OWNER TO " + ident(user));
    struct Drop {
        std::function<void()> f;
        ~Drop() { f(); }
    } drop{[&] {
        Conn_Main.reset();
        admin->execute("DROP DATABASE IF EXISTS " + ident(catalog) + " WITH (FORCE)");
        admin->execute("DROP ROLE IF EXISTS " + ident(user));
    }};
    const std::string source = server->host + "," + server->port;
    test::createConfigDb(folder, "s.mdb", "SQL", source, "");
    auto cfg = test::connect(db::Connection::fileConnectionString(folder + "/s.mdb"));
    cfg->execute("update DB_info set InitialCatalog=?, UserID=?, PassWord_1=?, Persist=1", {catalog, user, password});
    ASSERT_TRUE(Open_DB(folder, "s.mdb", "")) << (sv->boxes.empty() ? "" : sv->boxes[0].prompt);
    rs = Open_Rs("select current_database() as d, current_user as u");
    ASSERT_NE(rs, nullptr);
    EXPECT_EQ(rs->field("d").toString(), catalog);
    EXPECT_EQ(rs->field("u").toString(), user);

    // Pairs written into a field stay that field's text: the login fails
    // instead of reaching the database they name.
    cfg->execute("update DB_info set PassWord_1=?", {"x;Initial Catalog=postgres;Password=" + password});
    sv->boxes.clear();
    EXPECT_FALSE(Open_DB(folder, "s.mdb", ""));
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_NE(sv->boxes[0].prompt.find("password authentication failed"), std::string::npos) << sv->boxes[0].prompt;
    cfg->execute("update DB_info set PassWord_1=?, DataSource=?", {password, source + ";Initial Catalog=postgres"});
    sv->boxes.clear();
    EXPECT_FALSE(Open_DB(folder, "s.mdb", ""));
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_NE(sv->boxes[0].prompt.find("is not a number"), std::string::npos) << sv->boxes[0].prompt;
}
