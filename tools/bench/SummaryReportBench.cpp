// Times the summary report run against one hand-written GROUP BY query that
// computes the same day totals, on a generated database of a million rows.
// Usage: tolvenk-bench-summary [folder] [transactions]   (prints the figures)
//        tolvenk-bench-summary --server <server text> [transactions]
// With --server the data goes to (and is read from) a PostgreSQL database named
// by the module's server text; it is generated when the database is missing.
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <string>

#include "data/Globals.h"
#include "demo_gen/DemoGenerator.h"
#include "lang/Language.h"
#include "platform/db/Connection.h"
#include "platform/services/ScriptedServices.h"
#include "reports/summary/XF_Cha_HZ.h"

using namespace tolvenk;
using Clock = std::chrono::steady_clock;

namespace {

double seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// Runs report `row` of the window's list over [from, to]; returns seconds.
double runReport(XF_Cha_HZ& w, int row, const std::string& from, const std::string& to) {
    w.List1.setListIndex(row);
    w.DTPicker1.setValue(from);
    w.DTPicker2.setValue(to);
    const auto start = Clock::now();
    w.Command1_Click();
    return seconds(start);
}

// The same totals in one statement: per day and kind, money, count and times.
double groupByQuery(const std::string& from, const std::string& to, int width, long& groups) {
    const auto start = Clock::now();
    auto rs = Conn_Main->openRecordset(
        "select substr(Date_Time,1," + std::to_string(width) +
        ") as d, XF_Type, sum(YuE_Change), count(*), sum(YuCi_Change) from Record_XF where Date_Time>='" + from +
        " 00:00:00' and Date_Time<='" + to + " 23:59:59' and Err_Code=0 group by d, XF_Type");
    auto fees = Conn_Main->openRecordset(
        "select substr(Date_Time,1," + std::to_string(width) +
        ") as d, Op_Type, sum(FaKa_GBF), sum(Huan_GBF), sum(Tui_GBF), count(*) from Card_Log where Date_Time>='" +
        from + " 00:00:00' and Date_Time<='" + to + " 23:59:59' group by d, Op_Type");
    groups = rs->recordCount() + fees->recordCount();
    return seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);  // headless unless told otherwise
    const bool server = argc > 2 && std::string(argv[1]) == "--server";
    const long transactions = argc > (server ? 3 : 2) ? std::stol(argv[server ? 3 : 2]) : 1000000;
    demo::Options o;
    o.transactions = transactions;
    o.firstDay = "2026-09-01";
    o.lastDay = "2026-11-30";
    bool missing;
    if (server) {
        o.server = strCN = argv[2];
        db::Connection probe;
        try {
            probe.open(strCN);
            missing = probe.openRecordset("select count(*) from information_schema.tables where table_name='record_xf'")
                          ->field(0)
                          .toInt64() == 0;
        } catch (const std::exception&) {
            missing = true;
        }
    } else {
        const std::filesystem::path folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path() / "tolvenk-bench";
        std::filesystem::create_directories(folder);
        o.businessPath = (folder / "BENCH.mdb").string();
        strCN = db::Connection::fileConnectionString(o.businessPath);
        missing = !std::filesystem::exists(o.businessPath);
    }
    if (missing) {
        const auto start = Clock::now();
        demo::generate(o);
        std::printf("generated %ld transactions in %.1f s\n", transactions, seconds(start));
    }

    platform::setServices(std::make_shared<platform::ScriptedServices>());
    Conn_Main = std::make_shared<db::Connection>();
    Conn_Main->open(strCN);
    DB_Type = server ? "SQL" : "Access";
    Load_Lan(0);

    XF_Cha_HZ w;
    w.Load();
    w.Form_Activate();

    struct Case {
        const char* name;
        int row;  // list row of the built-in report
        const char* from;
        const char* to;
        int width;  // characters of Date_Time that make one report row
    };
    const Case cases[] = {{"daily cash report, one month (1)", 0, "2026-10-01", "2026-10-31", 10},
                          {"monthly cash report, three months (2)", 1, "2026-09-01", "2026-11-30", 7},
                          {"daily ledger report, one month (4)", 4, "2026-10-01", "2026-10-31", 10},
                          {"monthly ledger report, three months (5)", 5, "2026-09-01", "2026-11-30", 7},
                          {"daily consumption report, one month (7)", 8, "2026-10-01", "2026-10-31", 10}};
    for (const Case& c : cases) {
        long groups = 0;
        const double query = groupByQuery(c.from, c.to, c.width, groups);
        const double report = runReport(w, c.row, c.from, c.to);
        std::printf("%-42s report %.3f s, GROUP BY %.3f s (%ld groups), ratio %.2f, grid %d rows\n", c.name, report,
                    query, groups, query > 0 ? report / query : 0.0, w.Grid1.Rows());
    }
    Conn_Main.reset();
    platform::setServices(nullptr);
    return 0;
}
