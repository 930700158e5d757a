// Times the runs that write per employee or card (ID grant, month-end
// clearing, ID balance clearing, IC settlement) on a generated database, each
// against the same writes done set-based in one transaction through the
// engine's own client, on a fresh copy of the database each, and prints one
// table. The runs yield every 100 ms, as a window does.
// Usage: tolvenk-bench-batch [folder] [employees] [transactions]
// The generated database is kept in the folder as BATCH-source.mdb and reused;
// with TOLVENK_BENCH_PG naming a server as TOLVENK_PG does, it is the server's
// database tolvenk_bench_batch_source, copied for each run.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "bench/PlainClient.h"
#include "bench/WriteBaselines.h"
#include "data/BTService.h"
#include "data/CardService.h"
#include "data/Globals.h"
#include "data/IcSettlementRun.h"
#include "data/IdClearing.h"
#include "data/IdGrantRun.h"
#include "data/SubsidyClearingRun.h"
#include "demo_gen/DemoGenerator.h"
#include "demo_gen/SqliteFile.h"
#include "lang/Language.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/services/ScriptedServices.h"

using namespace tolvenk;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

namespace {

// Yields when 100 ms have passed, as the real services do.
class TimedServices : public platform::ScriptedServices {
public:
    bool yieldDue() override { return Clock::now() - last_ >= std::chrono::milliseconds(100); }
    void yield() override {
        ++yields;
        last_ = Clock::now();
    }

private:
    Clock::time_point last_ = Clock::now();
};

double timed(const std::function<void()>& run) {
    const auto start = Clock::now();
    run();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The window's step between rows: a yield when one is due.
bool windowStep() {
    auto& sv = platform::services();
    if (sv.yieldDue()) sv.yield();
    return true;
}

std::int64_t number(db::Connection& con, const std::string& sql) {
    return con.openRecordset(sql)->field(0).toInt64();
}

std::vector<std::string> column(db::Connection& con, const std::string& sql) {
    std::vector<std::string> out;
    for (auto rs = con.openRecordset(sql); !rs->eof(); rs->moveNext()) out.push_back(rs->field(0).toString());
    return out;
}

// Where the databases are: files in a folder, or databases of a server
// named as TOLVENK_PG names the test server ("host=.. port=.. user=.. password=..").
struct Place {
    fs::path source, run;
    std::string host, port, user, password;  // a server when host is set
    bool server() const { return !host.empty(); }
    std::string serverText(const std::string& catalog) const {
        return "Provider=SQLOLEDB.1;Password=" + password + ";Persist Security Info=True;User ID=" + user +
               ";Initial Catalog=" + catalog + ";Data Source=" + host + "," + port;
    }
};
Place place;
const char* const kSourceDb = "tolvenk_bench_batch_source";
const char* const kRunDb = "tolvenk_bench_batch_run";

// A fresh copy of the source, open on Conn_Main and strCN.
void freshCopy() {
    Conn_Main.reset();
    if (place.server()) {
        db::Connection admin;
        admin.open(place.serverText("postgres"));
        admin.execute(std::string("DROP DATABASE IF EXISTS ") + kRunDb + " WITH (FORCE)");
        // The sessions the generator left idle would keep the source from being copied.
        admin.execute(std::string("select pg_terminate_backend(pid) from pg_stat_activity where datname='") +
                      kSourceDb + "' and pid<>pg_backend_pid()");
        admin.execute(std::string("CREATE DATABASE ") + kRunDb + " TEMPLATE " + kSourceDb);
        strCN = place.serverText(kRunDb);
    } else {
        for (const char* tail : {"", "-wal", "-shm", "-journal"}) fs::remove(place.run.string() + tail);
        demo::copyDatabase(place.source.string(), place.run.string());
        strCN = db::Connection::fileConnectionString(place.run.string());
    }
    Conn_Main = std::make_shared<db::Connection>();
    Conn_Main->open(strCN);
}

// Every card an ID card of 50.00; a prepared ID batch 2026-12-1 of 5.00 for
// every live employee, and November's subsidy of 8.00 credited to each.
void prepareIdMoney(db::Connection& con) {
    con.executeScript(
        "update Card_Info set Card_Model=1, C_GuaShi=0, C_YuE_ID=5000;"
        "insert into BuTie_OK(Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,B_Type,B_SF,"
        "B_Unit) select Pinfo_ID,'2026-12-01 08:00:00',1,500,0,2026,12,1,0,-1,0 from Ren_Per_Info where Del_YN=0;"
        "insert into BuTie_OK(Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,B_Type,B_SF,"
        "B_Unit) select Pinfo_ID,'2026-11-01 08:00:00',1,800,0,2026,11,9,0,2,0 from Ren_Per_Info where Del_YN=0;"
        "delete from BuTie_OK where B_Year=2026 and B_Month=11 and B_Times<=0;"
        "analyze;");
}

// A baseline: the writes through the engine's own client, in one transaction.
double setBased(const std::vector<std::string>& writes) {
    bench::PlainClient plain(strCN);
    return timed([&] { plain.run(bench::inOneTransaction(place.server(), writes), false); });
}

struct Line {
    const char* name;
    double run, setBased;
    std::string what;
};

// Every operation unless the environment's TOLVENK_BENCH_ONLY names one menu code.
bool wanted(const char* menu) {
    const char* only = std::getenv("TOLVENK_BENCH_ONLY");
    return !only || std::string(only) == menu;
}


}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const fs::path folder = argc > 1 ? argv[1] : fs::temp_directory_path() / "tolvenk-bench-batch";
    const int employees = argc > 2 ? std::stoi(argv[2]) : 3000;
    const long transactions = argc > 3 ? std::stol(argv[3]) : 200000;
    fs::create_directories(folder);
    place.source = folder / "BATCH-source.mdb";
    place.run = folder / "BATCH-run.mdb";
    if (const char* pg = std::getenv("TOLVENK_BENCH_PG"); pg && *pg) {
        std::istringstream in(pg);
        for (std::string pair; in >> pair;) {
            const std::size_t eq = pair.find('=');
            const std::string key = pair.substr(0, eq), value = eq == std::string::npos ? "" : pair.substr(eq + 1);
            if (key == "host") place.host = value;
            if (key == "port") place.port = value;
            if (key == "user") place.user = value;
            if (key == "password") place.password = value;
        }
    }
    bool generate = !fs::exists(place.source);
    if (place.server()) {
        db::Connection admin;
        admin.open(place.serverText("postgres"));
        generate = number(admin, std::string("select count(*) from pg_database where datname='") + kSourceDb + "'") == 0;
        if (generate) admin.execute(std::string("CREATE DATABASE ") + kSourceDb);
    }
    if (generate) {
        demo::Options o;
        o.firstDay = "2026-09-01";  // a fixed period: the data does not depend on the day
        o.lastDay = "2026-11-30";
        if (place.server()) o.server = place.serverText(kSourceDb);
        else o.businessPath = place.source.string();
        o.employees = employees;
        o.transactions = transactions;
        o.everyWindow = true;
        demo::generate(o);
    }
    auto sv = std::make_shared<TimedServices>();
    sv->clock = "2027-06-01 10:00:00";
    platform::setServices(sv);
    DB_Type = place.server() ? "SQL" : "Access";
    Money_Sign = "￥";
    Op_User_ID = 1;
    Load_Lan(0);
    std::vector<Line> lines;

    if (wanted("7030")) {
        Line l{"ID grant (7030)", 0, 0, ""};
        freshCopy();
        prepareIdMoney(*Conn_Main);
        BTService bt;
        bt.Set_strCN(strCN);
        ID_Grant::Run r(bt, {2026, 12, "1", false, 1});
        ID_Grant::Counts c;
        l.run = timed([&] { c = r.grant([](std::int64_t, std::int64_t) { return windowStep(); }); });
        l.what = std::to_string(c.credited) + " credited, " + std::to_string(c.withoutCard) + " without card";
        freshCopy();
        prepareIdMoney(*Conn_Main);
        l.setBased = setBased(bench::idGrantWrites(place.server(), 2026, 12, 1, "2026-12-07 10:00:00"));
        lines.push_back(l);
    }
    if (wanted("7031")) {
        Line l{"month-end clearing (7031)", 0, 0, ""};
        freshCopy();
        prepareIdMoney(*Conn_Main);
        std::vector<Clearing_Store::Listed> listed;
        for (const std::string& p : column(*Conn_Main, "select Pinfo_ID from Ren_Per_Info where Del_YN=0 order by Pinfo_ID"))
            listed.push_back({std::stoi(p), true, false});
        Clearing_Store::Counts c;
        l.run = timed([&] {
            c = Clearing_Store::Clear_Listed(strCN, 2026, 11, 1, listed,
                                             [](std::int64_t, std::int64_t) { return windowStep(); });
        });
        l.what = std::to_string(c.cleared) + " cleared, " + std::to_string(c.noCard) + " without card, " +
                 std::to_string(c.failed) + " failed";
        freshCopy();
        prepareIdMoney(*Conn_Main);
        l.setBased = setBased(bench::clearingWrites(place.server(), 2026, 11, "2026-12-07 10:00:00"));
        lines.push_back(l);
    }
    if (wanted("7040")) {
        Line l{"ID balance clearing (7040)", 0, 0, ""};
        freshCopy();
        prepareIdMoney(*Conn_Main);
        std::vector<ID_Clearing::Card> cards;
        for (auto rs = Conn_Main->openRecordset("select Pinfo_id,Card_No from Card_Info where Card_Model=1 order by "
                                                "Pinfo_id,Card_No");
             !rs->eof(); rs->moveNext())
            cards.push_back({static_cast<std::int32_t>(rs->field(0).toInt64()), rs->field(1).toString()});
        CardService service;
        service.Set_strCN(strCN);
        ID_Clearing::Result res;
        l.run = timed([&] { res = ID_Clearing::Clear(service, cards, 1, "2026-12-07 10:00:00", {}); });
        l.what = std::to_string(res.cleared) + " cleared, " + std::to_string(res.failed) + " failed";
        freshCopy();
        prepareIdMoney(*Conn_Main);
        l.setBased = setBased(bench::idClearingWrites("2026-12-07 10:00:00"));
        lines.push_back(l);
    }
    if (wanted("7038")) {
        Line l{"IC settlement before 2026-11-01 (7038)", 0, 0, ""};
        freshCopy();
        db::Connection own;
        own.open(strCN);
        IC_Settlement::Run_Result res;
        l.run = timed([&] {
            res = IC_Settlement::Run(own, *Conn_Main, "2026-11-01 00:00:00", "",
                                     [](const IC_Settlement::Run_Step&) { return windowStep(); });
        });
        l.what = "state " + std::to_string(static_cast<int>(res.state)) + ", " +
                 std::to_string(number(*Conn_Main, "select count(*) from Record_XF where XF_Type=250")) +
                 " settlement rows, " + std::to_string(res.fellBack) + " sets settled again card by card";
        freshCopy();
        l.setBased = setBased(bench::settlementWrites(place.server(), "2026-11-01 00:00:00"));
        // A run that left cards did less than the set-based statements: no ratio.
        if (res.state != IC_Settlement::Run_Result::Settled) {
            l.what += "; not settled, " + std::to_string(res.left.size()) + " cards left";
            l.setBased = 0;
        }
        lines.push_back(l);
    }
    Conn_Main.reset();

    std::printf("%d employees, %ld transactions generated\n", employees, transactions);
    std::printf("%-40s %10s %12s %7s  %s\n", "operation", "run s", "set-based s", "ratio", "outcome");
    for (const Line& l : lines)
        std::printf("%-40s %10.3f %12.3f %7.2f  %s\n", l.name, l.run, l.setBased,
                    l.setBased > 0 ? l.run / l.setBased : 0.0, l.what.c_str());
    platform::setServices(nullptr);
    return 0;
}
