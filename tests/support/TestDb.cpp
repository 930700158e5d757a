#include "support/TestDb.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <stdexcept>

#include "Schemas.h"
#include "platform/db/ConnectionString.h"

namespace tolvenk::test {

TempDir::TempDir() : TempDir(std::filesystem::temp_directory_path()) {}

TempDir::TempDir(const std::filesystem::path& base) {
    static std::atomic<int> counter{0};
    std::random_device rd;
    path_ = base /
            ("tolvenk-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
             std::to_string(rd()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::filesystem::path memoryFolder(std::uintmax_t bytes) {
    const std::filesystem::path shm = "/dev/shm";
    std::error_code ec;
    const auto space = std::filesystem::space(shm, ec);
    if (!ec && std::filesystem::is_directory(shm, ec) && space.available >= bytes) return shm;
    return std::filesystem::temp_directory_path();
}

std::string createBusinessDb(const std::string& path) {
    db::Connection::createFileDatabase(path);
    const std::string cs = db::Connection::fileConnectionString(path);
    db::Connection con;
    con.open(cs);
    con.executeScript(schema::Business);
    return cs;
}

void createConfigDb(const std::string& folder, const std::string& file, const std::string& provider,
                    const std::string& dataSource, const std::string& fileName) {
    const std::string path = folder + "/" + file;
    db::Connection::createFileDatabase(path);
    db::Connection con;
    con.open(db::Connection::fileConnectionString(path));
    con.executeScript(schema::Config);
    if (!provider.empty())
        con.execute("insert into DB_info(DB_Name,Provider,DataSource,FileName,UserID,PassWord_1,Persist) "
                    "values('Server',?,?,?,'sa','x',0)",
                    {provider, dataSource, fileName});
}

const char* engineName(Engine engine) { return engine == Engine::File ? "File" : "Server"; }

std::string TestServer::connectionString(const std::string& database) const {
    using db::ConnectionString;
    return "Provider=SQLOLEDB.1;Password=" + ConnectionString::quoted(password) +
           ";Persist Security Info=True;User ID=" + ConnectionString::quoted(user) +
           ";Initial Catalog=" + ConnectionString::quoted(database) + ";Data Source=" + host + "," + port;
}

std::string TestServer::integratedConnectionString(const std::string& database) const {
    return "Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;Initial Catalog=" +
           db::ConnectionString::quoted(database) + ";Data Source=" + host + "," + port + ";";
}

std::optional<TestServer> testServer() {
    const char* env = std::getenv("TOLVENK_PG");
    if (!env || !*env) return std::nullopt;
    TestServer s;
    std::istringstream in(env);
    for (std::string pair; in >> pair;) {
        const std::size_t eq = pair.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = pair.substr(0, eq), value = pair.substr(eq + 1);
        if (key == "host") s.host = value;
        else if (key == "port") s.port = value;
        else if (key == "user") s.user = value;
        else if (key == "password") s.password = value;
    }
    return s;
}

std::optional<std::string> whyNoServer() {
    if (testServer()) return std::nullopt;
    const char* ci = std::getenv("CI");
    if (ci && *ci) throw std::runtime_error("no test database server in a CI run: TOLVENK_PG is not set");
    return "No test database server: TOLVENK_PG is not set (scripts/test.sh starts one and sets it).";
}

BusinessDb::BusinessDb(Engine engine, bool schema) : engine_(engine) {
    if (engine == Engine::File) {
        dir_ = std::make_unique<TempDir>();
        if (schema) {
            text_ = createBusinessDb(dir_->file("b.mdb"));
        } else {
            db::Connection::createFileDatabase(dir_->file("b.mdb"));
            text_ = db::Connection::fileConnectionString(dir_->file("b.mdb"));
        }
        return;
    }
    const auto server = testServer();
    if (!server) throw std::runtime_error("no test database server: TOLVENK_PG is not set");
    static std::atomic<int> counter{0};
    std::random_device rd;
    name_ = "tolvenk_t_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + "_" +
            std::to_string(rd() % 1000000);
    connect(server->connectionString("postgres"))->execute("CREATE DATABASE " + name_);
    text_ = server->connectionString(name_);
    if (schema) connect(text_)->executeScript(schema::BusinessServer);
}

BusinessDb::~BusinessDb() {
    if (name_.empty()) return;
    try {
        connect(testServer()->connectionString("postgres"))->execute("DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
    } catch (...) {
        // A throwaway server: a database left behind goes with it.
    }
}

void createConfigDbFor(const std::string& folder, const std::string& file, Engine engine,
                       const std::string& businessConnectionString) {
    if (engine == Engine::File) {
        // "...;Data Source=<folder>/<name>.mdb": the row names the folder and the bare name.
        const std::string path = businessConnectionString.substr(businessConnectionString.find("Data Source=") + 12);
        const std::filesystem::path p(path.substr(0, path.find(';')));
        createConfigDb(folder, file, "Access", p.parent_path().string(), p.stem().string());
        return;
    }
    const auto s = testServer();
    if (!s) throw std::runtime_error("no test database server: TOLVENK_PG is not set");
    const std::string key = "Initial Catalog=";
    const std::size_t at = businessConnectionString.find(key) + key.size();
    const std::string catalog = businessConnectionString.substr(at, businessConnectionString.find(';', at) - at);
    createConfigDb(folder, file, "SQL", s->host + "," + s->port, "");
    connect(db::Connection::fileConnectionString(folder + "/" + file))
        ->execute("update DB_info set InitialCatalog=?, UserID=?, PassWord_1=?, Persist=1", {catalog, s->user, s->password});
}

void refuseWrites(db::Connection& con, Engine engine, const std::string& name, const std::string& event,
                  const std::string& table, const std::string& when, const std::string& message) {
    const std::string text = "'" + message + "'";  // the tests' own words, no quotes in them
    if (engine == Engine::File) {
        con.executeScript("create trigger " + name + " before " + event + " on " + table +
                          (when.empty() ? "" : " when " + when) + " begin select raise(abort, " + text + "); end;");
        return;
    }
    con.executeScript("create function " + name + "() returns trigger language plpgsql as $$ begin " +
                      (when.empty() ? "raise exception " + text + ";"
                                    : "if " + when + " then raise exception " + text + "; end if;") +
                      " return new; end $$; create trigger " + name + " before " + event + " on " + table +
                      " for each row execute function " + name + "();");
}

void allowWrites(db::Connection& con, Engine engine, const std::string& name, const std::string& table) {
    if (engine == Engine::File) con.executeScript("drop trigger " + name + ";");
    else con.executeScript("drop trigger " + name + " on " + table + "; drop function " + name + "();");
}

void loseTransactions(db::Connection& con, Engine engine, const std::string& name, const std::string& event,
                      const std::string& table, const std::string& when, const std::string& message) {
    const std::string text = "'" + message + "'";
    if (engine == Engine::File) {
        con.executeScript("create trigger " + name + " before " + event + " on " + table + " when " + when +
                          " begin select raise(rollback, " + text + "); end;");
        return;
    }
    con.executeScript("create function " + name + "() returns trigger language plpgsql as $$ begin if " + when +
                      " then raise exception " + text + "; end if; return new; end $$; create constraint trigger " +
                      name + " after " + event + " on " + table +
                      " deferrable initially deferred for each row execute function " + name + "();");
}

std::shared_ptr<db::Connection> connect(const std::string& connectionString) {
    auto con = std::make_shared<db::Connection>();
    con->open(connectionString);
    return con;
}

void addReportFormat(db::Connection& con, const std::string& key, const std::string& name, const std::string& p2,
                     const std::string& p3, const std::string& p4, const std::string& p5) {
    con.execute("insert into Sys_Para(Para_Name,SubParaName,P1,P2,P3,P4,P5) values('HZ_Rep_Format',?,?,?,?,?,?)",
                {key, name, p2, p3, p4, p5});
}

std::vector<Texts> rows(db::Connection& con, const std::string& sql) {
    std::vector<Texts> out;
    for (auto rs = con.openRecordset(sql); !rs->eof(); rs->moveNext()) {
        Texts r;
        for (int i = 0; i < rs->fieldCount(); ++i) r.push_back(rs->field(i).isNull() ? "<null>" : rs->field(i).toString());
        out.push_back(std::move(r));
    }
    return out;
}

Texts row(db::Connection& con, const std::string& sql) {
    auto all = rows(con, sql);
    return all.empty() ? Texts{} : all.front();
}

Texts column(db::Connection& con, const std::string& sql) {
    Texts out;
    for (const Texts& r : rows(con, sql)) out.push_back(r.at(0));
    return out;
}

std::int64_t number(db::Connection& con, const std::string& sql) {
    auto rs = con.openRecordset(sql);
    return rs->eof() ? -1 : rs->field(0).toInt64();
}

std::string text(db::Connection& con, const std::string& sql) {
    auto rs = con.openRecordset(sql);
    return rs->eof() ? std::string("<no row>") : rs->field(0).toString();
}

std::string pdfText(const std::string& path) {
    std::string out;
    FILE* pipe = popen(("pdftotext -enc UTF-8 '" + path + "' -").c_str(), "r");
    char buf[4096];
    for (std::size_t n; pipe && (n = fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
    if (pipe) pclose(pipe);
    return out;
}

}  // namespace tolvenk::test
