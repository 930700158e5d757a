// The server texts: where they point, and what the operator is told when the
// server cannot be reached or refuses the login.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "platform/db/ConnectionString.h"
#include "platform/db/DbError.h"
#include "platform/db/PgProvider.h"
#include "support/TestDb.h"

using namespace tolvenk;

namespace {

db::ServerTarget target(const std::string& text) { return db::serverTarget(db::ConnectionString(text)); }

const std::string kLogin = "Provider=SQLOLEDB.1;Password=p w;Persist Security Info=True;User ID=sa;Initial Catalog=TAM08;"
                           "Data Source=";
const std::string kIntegrated =
    "Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;Initial Catalog=TAM08;Data Source=";

// The DbError a connection text gives: its number and message.
std::pair<int, std::string> openError(const std::string& text) {
    try {
        db::Connection con;
        con.open(text);
    } catch (const db::DbError& e) {
        return {e.number(), e.what()};
    }
    return {0, ""};
}

bool mentions(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Skips a test that needs the server when none was named; one that was
// named but does not answer makes the test fail where it connects.
#define NEEDS_TEST_SERVER()                                       \
    if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why; \
    const auto server = test::testServer()

}  // namespace

TEST(ServerTarget, DataSourceIsHostAndPortInEitherForm) {
    db::ServerTarget t = target(kLogin + "db.site.lan,5433");
    EXPECT_EQ(t.host, "db.site.lan");
    EXPECT_EQ(t.port, "5433");
    EXPECT_EQ(t.database, "TAM08");
    EXPECT_EQ(t.user, "sa");
    EXPECT_EQ(t.password, "p w");
    EXPECT_FALSE(t.integrated);
    t = target(kLogin + "10.0.0.7:6543");
    EXPECT_EQ(t.host, "10.0.0.7");
    EXPECT_EQ(t.port, "6543");
    t = target(kLogin + "tcp:srv01 , 1433");
    EXPECT_EQ(t.host, "srv01");
    EXPECT_EQ(t.port, "1433");
    t = target(kLogin + "srv01");
    EXPECT_EQ(t.host, "srv01");
    EXPECT_EQ(t.port, "");
    // This machine: "." and "(local)" are the local socket; localhost with a
    // login goes over the network, where passwords are asked.
    EXPECT_EQ(target(kLogin + ".").host, "");
    EXPECT_EQ(target(kLogin + "(local),5432").host, "");
    EXPECT_EQ(target(kLogin + "localhost").host, "localhost");
    EXPECT_EQ(target(kLogin + "/run/db,5432").host, "/run/db");

    EXPECT_EQ(openError(kLogin + "srv01\\SQLEXPRESS").first, 3049);
    EXPECT_EQ(openError(kLogin + "srv01,15x").first, 3049);
}

TEST(ServerTarget, IntegratedSecurityIsTheOperatingSystemUserOnTheLocalSocket) {
    const passwd* pw = ::getpwuid(::geteuid());
    ASSERT_NE(pw, nullptr);
    for (const char* local : {".", "(local)", "localhost", "LOCALHOST"}) {
        const db::ServerTarget t = target(kIntegrated + local + ";");
        EXPECT_TRUE(t.integrated);
        EXPECT_EQ(t.host, "") << local;
        EXPECT_EQ(t.user, pw->pw_name);
        EXPECT_EQ(t.password, "");
    }
    EXPECT_EQ(target(kIntegrated + "srv01,5433;").host, "srv01");
}

TEST(ServerConnection, NoServerListeningIsAClearErrorAtOnce) {
    test::TempDir dir;  // a socket folder with no server in it
    auto [number, text] = openError(kLogin + dir.path().string() + ",5432");
    EXPECT_EQ(number, 3049);
    EXPECT_TRUE(mentions(text, "on server '" + dir.path().string() + ",5432'")) << text;
    EXPECT_TRUE(mentions(text, ".s.PGSQL.5432")) << text;
}

// A machine that takes the connection but never answers (a server hung, or
// something else on its port): the operator gets the connection error once
// the connect timeout runs out, not a window that never comes.
TEST(ServerConnection, AServerThatNeverAnswersIsAnErrorNotAHang) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(fd, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::listen(fd, 4), 0);  // the kernel completes the handshake; nobody reads
    ASSERT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len), 0);
    const std::string source = "127.0.0.1," + std::to_string(ntohs(addr.sin_port));

    const auto start = std::chrono::steady_clock::now();
    auto [number, text] = openError(kLogin + source);
    const auto waited = std::chrono::steady_clock::now() - start;
    ::close(fd);
    EXPECT_EQ(number, 3049);
    EXPECT_TRUE(mentions(text, "on server '" + source + "'")) << text;
    EXPECT_LT(waited, std::chrono::seconds(45));
}

TEST(ServerConnection, LoginAndIntegratedFormsOpenTheCatalog) {
    NEEDS_TEST_SERVER();
    test::BusinessDb db(test::Engine::Server);
    auto login = test::connect(db.connectionString());
    EXPECT_EQ(login->openRecordset("select current_user, current_database()")->field(1).toString(), db.databaseName());

    // A site grants the operating-system logins their rights on the tables.
    login->executeScript("GRANT SELECT ON ALL TABLES IN SCHEMA public TO PUBLIC");
    auto own = test::connect(server->integratedConnectionString(db.databaseName()));
    const passwd* pw = ::getpwuid(::geteuid());
    EXPECT_EQ(own->openRecordset("select current_user")->field(0).toString(), pw->pw_name);
    // The module's own reads work for this login too.
    EXPECT_EQ(own->openRecordset("select count(*) from Record_XF")->field(0).toInt64(), 0);
}

TEST(ServerConnection, RefusedLoginAndMissingDatabaseCarryTheServersReason) {
    NEEDS_TEST_SERVER();
    test::TestServer wrong = *server;
    wrong.password = "not-the-password";
    auto [number, text] = openError(wrong.connectionString("postgres"));
    EXPECT_EQ(number, 3049);
    EXPECT_TRUE(mentions(text, "password authentication failed")) << text;

    std::tie(number, text) = openError(server->connectionString("tolvenk_no_such_catalog"));
    EXPECT_EQ(number, 3024);
    EXPECT_TRUE(mentions(text, "tolvenk_no_such_catalog") && mentions(text, "does not exist")) << text;

    // Nothing listens on the server's port plus one hundred on this machine's loopback.
    test::TestServer down = *server;
    down.host = "127.0.0.1";
    down.port = std::to_string(std::stoi(server->port) + 100);
    std::tie(number, text) = openError(down.connectionString("postgres"));
    EXPECT_EQ(number, 3049);
    EXPECT_TRUE(mentions(text, "127.0.0.1")) << text;
}

// The library reads a value up to its first NUL: the right password, a NUL
// and anything after it must not log in, nor a login or catalog cut short
// open the account or database named before the NUL.
TEST(ServerConnection, AFieldHoldingANulIsRefusedNotCutShort) {
    NEEDS_TEST_SERVER();
    const std::string junk = std::string(1, '\0') + "junk";
    struct Fields {
        std::string password, user, catalog;
    };
    for (const Fields& f : {Fields{server->password + junk, server->user, "postgres"},
                            Fields{server->password, server->user + junk, "postgres"},
                            Fields{server->password, server->user, "postgres" + junk}}) {
        test::TestServer cut = *server;
        cut.password = f.password;
        cut.user = f.user;
        const auto [number, text] = openError(cut.connectionString(f.catalog));
        EXPECT_EQ(number, 3049) << text;
        EXPECT_TRUE(mentions(text, "NUL")) << text;
    }
}

TEST(ServerConnection, AReadOnlySessionRefusesWritesAsAReadOnlyFileDoes) {
    NEEDS_TEST_SERVER();
    test::BusinessDb db(test::Engine::Server);
    auto con = test::connect(db.connectionString());
    con->executeScript("SET default_transaction_read_only = on");
    try {
        con->execute("insert into Sys_Log(Operator_ID) values(1)");
        FAIL() << "wrote in a read-only session";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.number(), 3027) << e.what();
    }
    EXPECT_EQ(con->openRecordset("select count(*) from Sys_Log")->field(0).toInt64(), 0);
}

// A session that ended idle is handed to the next connection with the same
// text, reset: nothing the last user set or left behind carries over, and one
// the server ended meanwhile is replaced by a new session.
TEST(ServerConnection, AKeptSessionComesBackAsNewAndADeadOneIsReplaced) {
    NEEDS_TEST_SERVER();
    test::BusinessDb db(test::Engine::Server);
    std::int64_t first = 0;
    {
        auto con = test::connect(db.connectionString());
        first = con->openRecordset("select pg_backend_pid()")->field(0).toInt64();
        con->executeScript("SET default_transaction_read_only = on; CREATE TEMP TABLE Left_Behind(a int)");
        con->setCommandTimeout(1);
        con->openRecordset("select 1");  // sends the time-out
    }
    {
        auto con = test::connect(db.connectionString());
        EXPECT_EQ(con->openRecordset("select pg_backend_pid()")->field(0).toInt64(), first);
        EXPECT_EQ(con->openRecordset("show default_transaction_read_only")->field(0).toString(), "off");
        EXPECT_EQ(con->openRecordset("select count(*) from pg_class where relname='left_behind'")->field(0).toInt64(), 0);
        EXPECT_EQ(con->openRecordset("show statement_timeout")->field(0).toString(),
                  con->commandTimeout() > 0 ? std::to_string(con->commandTimeout()) + "s" : "0");
        con->execute("insert into Sys_Log(Operator_ID) values(1)");
    }
    // The server ends the kept session; the next connection gets a new one that works.
    auto admin = test::connect(server->connectionString("postgres"));
    admin->openRecordset("select pg_terminate_backend(" + std::to_string(first) + ")");
    auto con = test::connect(db.connectionString());
    EXPECT_NE(con->openRecordset("select pg_backend_pid()")->field(0).toInt64(), first);
    EXPECT_EQ(con->openRecordset("select count(*) from Sys_Log")->field(0).toInt64(), 1);
}
