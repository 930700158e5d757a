// One table for a large site's volume: every window that reads or writes a
// quarter's transactions beside its one-statement baseline (for windows that
// write: the same writes done set-based, a transaction per few hundred
// employees, each on a fresh copy of the database), on either engine.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "bench/BenchKit.h"
#include "bench/BusyLoad.h"
#include "data/Globals.h"
#include "demo_gen/DemoGenerator.h"
#include "lang/Language.h"
#include "platform/db/Connection.h"
#include "platform/services/QtServices.h"

using namespace tolvenk;
using namespace tolvenk::bench;
namespace fs = std::filesystem;

namespace {

const char* const kUsage =
    "usage: tolvenk-bench [--engine sqlite|pg] [--transactions N] [--employees N]\n"
    "                     [--db business.mdb | --server <server text>] [--folder F]\n"
    "                     [--repeat K] [--write-repeat K] [--quick] [--only 7032,7034,...]\n"
    "                     [--journal wal|delete] [--busy]\n"
    "                     [--terminal [--load harsh|lunch|quiet[,...]] [--trace FILE]]\n"
    "Measures every window on a database of the generated quarter 2026-09-01..2026-11-30,\n"
    "made with tolvenk-demo-gen's rows when the file or the server's database is missing.\n"
    "Reads take the median of K runs (3), windows that write K runs on fresh copies (1).\n"
    "--quick: one run of each, the summary reports over one month only; with --terminal the tills'\n"
    "yardstick runs 2 s.\n"
    "--journal: sets the file's journal mode first (and its copies'); delete is a rollback journal.\n"
    "--busy: six spinning processes and three writers of direct I/O into the folder beside the whole run.\n"
    "--terminal: instead, each long operation once alone and once beside tills of another maker\n"
    "(tolvenk-terminal on the engine's own library, its standard busy timeout), then the tills alone for\n"
    "as long: the operation's times, the tills' longest commit wait beside it and alone, their waits over\n"
    "0.5 s and 1 s, failed writes, and the operation's holds of the write lock and gaps, traced.\n"
    "--load: the tills (harsh by default; a list runs each in turn): harsh, three tills writing a row every\n"
    "5 ms, every 20 ms and at random about every 10 ms; lunch, 20 tills each a row at random about every\n"
    "2 s; quiet, one till a row every 30 s.\n"
    "--trace: every write event of the module and every till commit, with its time, into FILE.\n"
    "With --terminal, --only spread (beside the windows or alone): the tills alone for 2 minutes (--quick: 20 s,\n"
    "too short for 20 s stretches), their longest wait in each 2 s and 20 s, and then a plain reader's small\n"
    "reads beside them for 20 s and alone for 10 s.\n";

bool serverHasTables(const std::string& text) {
    try {
        db::Connection probe;
        probe.open(text);
        return probe.openRecordset("select count(*) from information_schema.tables where table_name='record_xf'")
                   ->field(0)
                   .toInt64() > 0;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string engine = "sqlite", journal, file, server, folder = (fs::temp_directory_path() / "tolvenk-bench").string();
    long transactions = 1000000;
    int employees = 3000;
    Settings s;
    bool terminal = false, busy = false;
    Terminal_Settings ts;
    bool loadsGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool more = i + 1 < argc;
        if (a == "--engine" && more) engine = argv[++i];
        else if (a == "--transactions" && more) transactions = std::stol(argv[++i]);
        else if (a == "--employees" && more) employees = std::atoi(argv[++i]);
        else if (a == "--db" && more) file = argv[++i];
        else if (a == "--server" && more) server = argv[++i];
        else if (a == "--folder" && more) folder = argv[++i];
        else if (a == "--repeat" && more) s.repeat = std::max(1, std::atoi(argv[++i]));
        else if (a == "--write-repeat" && more) s.writeRepeat = std::max(1, std::atoi(argv[++i]));
        else if (a == "--quick") s.quick = true;
        else if (a == "--terminal") terminal = true;
        else if (a == "--busy") busy = true;
        else if (a == "--trace" && more) ts.traceFile = argv[++i];
        else if (a == "--load" && more) {
            ts.loads.clear();
            loadsGiven = true;
            std::stringstream list(argv[++i]);
            for (std::string l; std::getline(list, l, ',');) ts.loads.push_back(l);
        }
        else if (a == "--journal" && more) journal = argv[++i];
        else if (a == "--only" && more) {
            std::stringstream list(argv[++i]);
            for (std::string w; std::getline(list, w, ',');) s.only.push_back(w);
        } else {
            std::fputs(kUsage, a == "--help" ? stdout : stderr);
            return a == "--help" ? 0 : 2;
        }
    }
    if (s.quick) s.repeat = s.writeRepeat = 1;
    if ((engine == "pg") == server.empty() || (engine != "pg" && engine != "sqlite")) {
        std::fputs("tolvenk-bench: --engine pg goes with --server, --engine sqlite without it\n", stderr);
        return 2;
    }
    if (!journal.empty() && (engine != "sqlite" || (journal != "wal" && journal != "delete"))) {
        std::fputs("tolvenk-bench: --journal wal|delete is for a file (--engine sqlite)\n", stderr);
        return 2;
    }
    if ((loadsGiven || !ts.traceFile.empty()) && !terminal) {
        std::fputs("tolvenk-bench: --load and --trace go with --terminal\n", stderr);
        return 2;
    }
    for (const std::string& l : ts.loads)
        if (!isTillLoad(l)) {
            std::fprintf(stderr, "tolvenk-bench: no till load '%s' (harsh, lunch, quiet)\n", l.c_str());
            return 2;
        }
    if (ts.loads.empty()) {
        std::fputs("tolvenk-bench: --load names one load at least\n", stderr);
        return 2;
    }
    ts.busy = busy;
    fs::create_directories(folder);

    Target db;
    db.server = engine == "pg";
    db.folder = folder;
    demo::Options o;
    o.transactions = transactions;
    o.employees = employees;
    o.firstDay = s.from;
    o.lastDay = s.to;
    o.everyWindow = true;
    bool missing;
    if (db.server) {
        o.server = db.connection = server;
        missing = !serverHasTables(server);
    } else {
        if (file.empty()) file = (fs::path(folder) / ("BENCH-" + std::to_string(transactions) + ".mdb")).string();
        o.businessPath = file;
        db.connection = db::Connection::fileConnectionString(file);
        missing = !fs::exists(file);
    }
    if (missing) {
        const auto start = Clock::now();
        demo::generate(o);
        std::printf("generated %ld transactions of %d employees in %.1f s\n", transactions, employees, seconds(start));
    }

    if (!journal.empty()) {
        db::Connection con;
        con.open(db.connection);
        con.executeScript("PRAGMA journal_mode=" + journal);
    }
    db.rollbackJournal = journal == "delete";

    platform::QtServices qt;
    platform::setServices(std::make_shared<TimedServices>(qt));
    Money_Sign = "\xEF\xBF\xA5";
    Op_User_Name = "bench";
    Op_User_ID = 1;
    db.open();
    Load_Lan(0);
    std::printf("%s, %ld transactions in the database; reads median of %d, writes %d run(s) on fresh copies\n",
                db.server ? "PostgreSQL" : "SQLite", number("select count(*) from Record_XF"), s.repeat,
                s.writeRepeat);

    // Before the first measurement, and gone whichever way the bench ends
    // (its processes also die with the bench).
    std::unique_ptr<Busy_Load> busyLoad;
    if (busy) {
        const double before = loadAverage();
        try {
            busyLoad = std::make_unique<Busy_Load>(folder);
        } catch (const std::exception& e) {
            std::printf("FAILED: %s\n", e.what());
            closeMain();
            platform::setServices(nullptr);
            return 1;
        }
        std::printf("busy load: %s, in %s (load average %.2f at its start)\n", busyLoad->what().c_str(),
                    folder.c_str(), before);
        std::fflush(stdout);
    }

    Table t;
    if (!terminal && s.wants("7032")) benchReports(s, t);
    // The picker chooses one department and its subtree; a company root "0"
    // above the generated tops makes one choice take in every department.
    const bool addRoot = number("select count(*) from Ren_Dept_Info where Dept_No='0'") == 0;
    if (addRoot)
        Conn_Main->execute("insert into Ren_Dept_Info(Dept_No,Dept_Name,Dept_Level,Del_YN) values ('0','全公司',-1,0)");
    int status = 0;
    try {
        if (terminal) {
            if (benchBesideTerminal(s, db, ts) > 0) status = 1;
        } else {
            benchReadWindows(s, db, t);
            benchWriteWindows(s, db, t);
        }
    } catch (const std::exception& e) {
        std::printf("FAILED: %s\n", e.what());
        status = 1;
        if (!Conn_Main) db.open();
    }
    if (addRoot) Conn_Main->execute("delete from Ren_Dept_Info where Dept_No='0'");
    if (terminal) {
        closeMain();
        platform::setServices(nullptr);
        return status;
    }
    t.print();
    printPlans();
    for (const char* w : {"7032", "7033", "7034", "7044", "7031", "7039", "7036", "7037", "7030", "7040", "7038"}) {
        bool seen = false;
        for (const Line& l : t.lines()) seen = seen || l.window == w;
        if (s.wants(w) && !seen) {
            std::printf("FAILED: no figure for %s\n", w);
            status = 1;
        }
    }
    closeMain();
    platform::setServices(nullptr);
    return status;
}
