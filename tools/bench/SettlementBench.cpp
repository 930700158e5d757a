// Times the IC settlement and the balance queries on a generated database of
// a million transactions (or as many as told) and prints one table.
// Usage: tolvenk-bench-settlement [folder] [transactions] [employees]
// The generated database (300 employees unless told) is kept in the folder as
// CARDS-source.mdb and reused as it is; each run settles a fresh copy of it,
// CARDS-run.mdb.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cards/YuE_HZ_Cha.h"
#include "cards/YuE_ID_Cha.h"
#include "cards/frmJieSuanIC.h"
#include "data/Globals.h"
#include "demo_gen/DemoGenerator.h"
#include "demo_gen/SqliteFile.h"
#include "lang/Language.h"
#include "platform/db/Connection.h"
#include "platform/services/ScriptedServices.h"

using namespace tolvenk;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

namespace {

double seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// Yields when 100 ms have passed, as the real services do, and keeps the
// longest stretch a run went without one.
class TimedServices : public platform::ScriptedServices {
public:
    bool yieldDue() override { return Clock::now() - last_ >= std::chrono::milliseconds(100); }
    void yield() override {
        ++yields;
        const auto now = Clock::now();
        longest = std::max(longest, std::chrono::duration<double>(now - last_).count());
        last_ = now;
    }
    void start() {
        yields = 0;
        longest = 0;
        last_ = Clock::now();
    }
    double finish() {
        yield();
        --yields;
        return longest;
    }
    double longest = 0;

private:
    Clock::time_point last_ = Clock::now();
};

std::int64_t number(const std::string& sql) { return Conn_Main->openRecordset(sql)->field(0).toInt64(); }

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const fs::path folder = argc > 1 ? argv[1] : fs::temp_directory_path() / "tolvenk-bench-settlement";
    const long transactions = argc > 2 ? std::stol(argv[2]) : 1000000;
    const int employees = argc > 3 ? std::stoi(argv[3]) : demo::Options{}.employees;
    fs::create_directories(folder);
    const fs::path source = folder / "CARDS-source.mdb", run = folder / "CARDS-run.mdb";
    if (!fs::exists(source)) {
        demo::Options o;
        o.firstDay = "2026-09-01";  // a fixed period: the data does not depend on the day
        o.lastDay = "2026-11-30";
        o.businessPath = source.string();
        o.transactions = transactions;
        o.employees = employees;
        const auto start = Clock::now();
        demo::generate(o);
        std::printf("generated %ld transactions of %d employees in %.1f s\n", transactions, employees, seconds(start));
    }
    for (const char* tail : {"", "-wal", "-shm"}) fs::remove(run.string() + tail);
    demo::copyDatabase(source.string(), run.string());

    auto sv = std::make_shared<TimedServices>();
    sv->clock = "2027-06-01 10:00:00";  // the demo's months lie far enough back to settle
    platform::setServices(sv);
    strCN = db::Connection::fileConnectionString(run.string());
    Conn_Main = std::make_shared<db::Connection>();
    Conn_Main->open(strCN);
    DB_Type = "Access";
    Money_Sign = "￥";
    Load_Lan(0);

    const std::int64_t rows = number("select count(*) from Record_XF");
    const std::int64_t cards = number("select count(*) from (select distinct Card_No,Pinfo_ID from Card_Log where Pinfo_ID>0)");
    std::vector<std::string> tops;
    for (auto rs = Conn_Main->openRecordset("select Dept_No from Ren_Dept_Info where Dept_Level=0 order by Dept_No");
         !rs->eof(); rs->moveNext())
        tops.push_back(rs->field(0).toString());
    std::printf("%lld transactions, %lld cards, %zu top departments\n\n", static_cast<long long>(rows),
                static_cast<long long>(cards), tops.size());
    std::printf("%-46s %10s %12s %10s\n", "step", "seconds", "longest gap", "rows");

    // The balance at a date for every employee, department by department.
    {
        YuE_HZ_Cha w;
        w.Load();
        w.Query.DTPicker1.setValue("2026-11-15");
        double spent = 0;
        int shown = 0;
        sv->start();
        for (const std::string& d : tops) {
            w.Query.ucDep1.selectDepartment(d);
            const auto start = Clock::now();
            w.Command1_Click();
            spent += seconds(start);
            shown += w.Query.Grid1.Rows() - 2;
        }
        std::printf("%-46s %10.3f %12.3f %10d\n", "IC balance query, every employee (7036)", spent, sv->finish(), shown);
        w.Unload();
    }
    {
        YuE_ID_Cha w;
        w.Load();
        w.Query.DTPicker1.setValue("2026-11-15");
        double spent = 0;
        int shown = 0;
        sv->start();
        for (const std::string& d : tops) {
            w.Query.ucDep1.selectDepartment(d);
            const auto start = Clock::now();
            w.Command1_Click();
            spent += seconds(start);
            shown += w.Query.Grid1.Rows() - 2;
        }
        std::printf("%-46s %10.3f %12.3f %10d\n", "ID balance query, every employee (7039)", spent, sv->finish(), shown);
        w.Unload();
    }

    // The settlement of everything before 1 November, then a later cut-off on top of it.
    for (const char* cutoff : {"2026-11-01", "2026-11-20"}) {
        frmJieSuanIC w;
        w.Load();
        w.dtP.setValue(cutoff);
        const std::int64_t backupBefore = number("select count(*) from Record_BF_XF");
        sv->start();
        const auto start = Clock::now();
        w.Command1_Click();
        const double spent = seconds(start);
        const double gap = sv->finish();
        const std::string label = std::string("settlement before ") + cutoff + " (7038)";
        std::printf("%-46s %10.3f %12.3f %10lld\n", label.c_str(), spent, gap,
                    static_cast<long long>(number("select count(*) from Record_BF_XF") - backupBefore));
        const auto p1 = Conn_Main->openRecordset("select P1,P2 from Sys_Para where Para_Name='JieSuan_Date'");
        std::printf("%-46s %s, P2 %s; %zu boxes; %lld rows left, %lld settlement rows\n", "  cut-off recorded",
                    p1->field(0).toString().c_str(), p1->field(1).toString().c_str(), sv->boxes.size(),
                    static_cast<long long>(number("select count(*) from Record_XF")),
                    static_cast<long long>(number("select count(*) from Record_XF where XF_Type=250")));
        w.Unload();
    }
    Conn_Main.reset();
    platform::setServices(nullptr);
    return 0;
}
