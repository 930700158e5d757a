#include "bench/BenchKit.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <stdexcept>

#include "data/Globals.h"
#include "demo_gen/SqliteFile.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"

namespace tolvenk::bench {

namespace fs = std::filesystem;

double seconds(Clock::time_point from) { return seconds(from, Clock::now()); }
double seconds(Clock::time_point from, Clock::time_point to) { return std::chrono::duration<double>(to - from).count(); }

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double timedMedian(int repeat, const std::function<void()>& run) {
    std::vector<double> took;
    for (int i = 0; i < std::max(1, repeat); ++i) {
        const auto start = Clock::now();
        run();
        took.push_back(seconds(start));
    }
    return median(took);
}


int TimedServices::msgBox(const std::string& prompt, int style, const std::string& title) {
    std::fprintf(stderr, "box: %s %s\n", title.c_str(), prompt.c_str());
    boxes.push_back(prompt);
    switch (style & 7) {
    case platform::vbYesNo:
    case platform::vbYesNoCancel: return platform::vbYes;
    case platform::vbRetryCancel: return platform::vbCancel;  // a retry would loop unwatched
    case platform::vbAbortRetryIgnore: return platform::vbAbort;
    default: return platform::vbOK;
    }
}

void TimedServices::yield() {
    yields.push_back(Clock::now());
    if (!firstShown && showsRows && showsRows()) firstShown = yields.back();
    qt_.yield();
}

void TimedServices::startWatch() {
    yields.clear();
    boxes.clear();
    firstShown.reset();
}

double TimedServices::longestGap(Clock::time_point start, Clock::time_point end) const {
    double longest = 0;
    Clock::time_point last = start;
    for (const auto& y : yields) longest = std::max(longest, seconds(last, y)), last = y;
    return std::max(longest, seconds(last, end));
}

TimedServices& timed() { return static_cast<TimedServices&>(platform::services()); }

namespace {
std::unique_ptr<PlainClient> plainSession;
bool serverOpen = false;
struct KeptPlan {
    std::string window, what, plan;
};
std::vector<KeptPlan> keptPlans;
}  // namespace

void Target::open() const {
    plainSession.reset();
    plainSession = std::make_unique<PlainClient>(connection);
    serverOpen = server;
    strCN = connection;
    DB_Type = server ? "SQL" : "Access";
    Conn_Main = std::make_shared<db::Connection>();
    Conn_Main->open(connection);
    Conn_Main->setCommandTimeout(3600);  // a baseline at ten million rows may take minutes
}

void closeMain() {
    plainSession.reset();
    if (Conn_Main) Conn_Main->close();
    Conn_Main.reset();
}

namespace {

std::string catalogOf(const std::string& text) {
    std::smatch m;
    return std::regex_search(text, m, std::regex("Initial Catalog=([^;]*)")) ? m[1].str() : std::string();
}

std::string withCatalog(const std::string& text, const std::string& catalog) {
    return std::regex_replace(text, std::regex("Initial Catalog=[^;]*"), "Initial Catalog=" + catalog);
}

// A connection to the server's maintenance database, where databases are
// made and dropped while nobody uses them.
void onServer(const std::string& text, const std::vector<std::string>& statements) {
    db::Connection admin;
    admin.open(withCatalog(text, "postgres"));
    admin.setCommandTimeout(3600);
    for (const std::string& s : statements) admin.execute(s);
}

}  // namespace

Target Target::copy(const std::string& name) const {
    Target c = *this;
    c.sourceName = server ? catalogOf(connection) : connection;
    if (server) {
        const std::string from = catalogOf(connection), to = from + "_" + name;
        // Sessions of this process that ended a moment ago may still be leaving.
        onServer(connection, {"drop database if exists " + to + " with (force)",
                              "select pg_terminate_backend(pid) from pg_stat_activity where datname='" + from +
                                  "' and pid<>pg_backend_pid()",
                              "create database " + to + " template " + from});
        c.connection = withCatalog(connection, to);
    } else {
        std::smatch m;
        std::regex_search(connection, m, std::regex("Data Source=([^;]*)"));
        const fs::path original = m[1].str();
        const fs::path path = fs::path(folder) / ("copy-" + name + ".mdb");
        for (const char* tail : {"", "-wal", "-shm", "-journal", "-settlement.lock"}) fs::remove(path.string() + tail);
        demo::copyDatabase(original.string(), path.string());
        c.connection = db::Connection::fileConnectionString(path.string());
        if (rollbackJournal) {
            db::Connection con;
            con.open(c.connection);
            con.executeScript("PRAGMA journal_mode=DELETE");
        }
    }
    return c;
}

void Target::drop() const {
    if (server) {
        // A session some window left open must not keep the copy.
        onServer(connection, {"drop database if exists " + catalogOf(connection) + " with (force)"});
        return;
    }
    std::smatch m;
    if (std::regex_search(connection, m, std::regex("Data Source=([^;]*)")))
        for (const char* tail : {"", "-wal", "-shm", "-journal", "-settlement.lock"}) fs::remove(m[1].str() + tail);
}

void Table::add(Line l) {
    std::printf("  %-6s %-44s %s\n", l.window.c_str(), l.what.c_str(),
                l.baseline > 0 ? (std::to_string(l.took) + " s against " + std::to_string(l.baseline) + " s").c_str()
                               : (std::to_string(l.took) + " s").c_str());
    std::fflush(stdout);
    lines_.push_back(std::move(l));
}

double timedOnce(const std::function<void()>& run) {
    const auto start = Clock::now();
    run();
    return seconds(start);
}

void Table::print(std::FILE* out) const {
    std::fprintf(out, "\n| window | what | rows | s | baseline s | ratio | goal | notes |\n|---|---|--:|--:|--:|--:|---|---|\n");
    for (const Line& l : lines_) {
        const std::string rows = l.rows >= 0 ? std::to_string(l.rows) : "";
        char took[32], base[32] = "", ratio[32] = "";
        std::snprintf(took, sizeof took, "%.3f", l.took);
        if (l.baseline > 0) {
            std::snprintf(base, sizeof base, "%.3f", l.baseline);
            std::snprintf(ratio, sizeof ratio, "%.2f", l.took / l.baseline);
        }
        std::fprintf(out, "| %s | %s | %s | %s | %s | %s | %s | %s |\n", l.window.c_str(), l.what.c_str(), rows.c_str(),
                    took, base, ratio, l.goal.c_str(), l.note.c_str());
    }
    std::fflush(out);
}

bool Settings::wants(const std::string& window) const {
    return only.empty() || std::find(only.begin(), only.end(), window) != only.end();
}

long readAll(const std::string& sql) {
    const auto rs = Conn_Main->openRecordset(sql);
    long rows = 0;
    const int fields = rs->fieldCount();
    volatile std::size_t touched = 0;  // kept, so that no read is left out
    for (; !rs->eof(); rs->moveNext(), ++rows)
        for (int j = 0; j < fields; ++j) touched = touched + (rs->field(j).isNull() ? 0 : 1);
    return rows;
}

long number(const std::string& sql) { return static_cast<long>(Conn_Main->openRecordset(sql)->field(0).toInt64()); }

PlainClient& plain() {
    if (!plainSession) throw std::runtime_error("no database open for the baselines");
    return *plainSession;
}

bool onServer() { return serverOpen; }

void keepPlan(const std::string& window, const std::string& what, const std::string& plan, const PlanCheck& check,
              std::string& note) {
    std::string why;
    if (!planHas(plan, check.needs, check.refuses, why)) note += std::string(note.empty() ? "" : ", ") + "PLAN: " + why;
    keptPlans.push_back({window, what, plan});
}

double readBaseline(int repeat, const std::string& window, const std::string& what, const std::string& sql,
                    const PlanCheck& check, std::string& note) {
    keepPlan(window, what, "  " + sql + "\n" + plain().plan(sql), check, note);
    return timedMedian(repeat, [&] { plain().read(sql); });
}

double writeBaseline(const std::string& window, const std::string& what, const std::vector<std::string>& statements,
                     std::string& note) {
    plain().takePlans();
    const auto start = Clock::now();
    plain().run(statements);
    const double took = seconds(start);
    keepPlan(window, what, plain().takePlans(), {}, note);
    return took;
}

void printPlans(std::FILE* out) {
    std::fprintf(out, "\nThe baselines' plans (%s):\n", serverOpen ? "EXPLAIN" : "EXPLAIN QUERY PLAN");
    for (const KeptPlan& p : keptPlans) std::fprintf(out, "\n%s %s\n%s", p.window.c_str(), p.what.c_str(), p.plan.c_str());
    std::fflush(out);
}

std::string leftOf(const std::string& column, int n) {
    return serverOpen ? "left(" + column + "," + std::to_string(n) + ")"
                      : "substr(" + column + ",1," + std::to_string(n) + ")";
}

}  // namespace tolvenk::bench
