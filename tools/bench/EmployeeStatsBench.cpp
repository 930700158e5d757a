// Times the employee statistics window on a generated database: all
// departments over one month as a month report, a day report and a period
// summary, shown in its own event loop, with the longest stretch between two
// yields after the query (how long the window would not answer) and the
// process's peak memory.
// Usage: tolvenk-bench-employee [--transactions N] [--folder F] [--db business.mdb]
// Adds a company root department "0" to the database when it has none.
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/Globals.h"
#include "demo_gen/DemoGenerator.h"
#include "lang/Language.h"
#include "platform/db/Connection.h"
#include "platform/services/QtServices.h"
#include "data/XFService.h"
#include "reports/statistics/XF_Cha_HZ_Ren.h"

using namespace tolvenk;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

namespace {

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double statusMb(const std::string& key) {
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(key + ":", 0) == 0) return std::stod(line.substr(key.size() + 1)) / 1024.0;
    return -1;
}
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

// The Qt services with the time of every yield noted; boxes only printed.
class TimedServices : public platform::Services {
public:
    explicit TimedServices(platform::Services& qt) : qt_(qt) {}
    std::vector<Clock::time_point> yields;
    int msgBox(const std::string& p, int, const std::string& t) override {
        std::fprintf(stderr, "box: %s %s\n", t.c_str(), p.c_str());
        return platform::vbOK;
    }
    std::string inputBox(const std::string&, const std::string&, const std::string& d) override { return d; }
    std::string openFileName(const std::string&, const std::string&) override { return {}; }
    std::string saveFileName(const std::string&, const std::string&, const std::string&) override { return {}; }
    void printPreview(const platform::PrintDocument&, int) override {}
    platform::ScreenSize screenSize() override { return qt_.screenSize(); }
    std::string clockText() override { return "2026-11-30 18:00:00"; }
    void yield() override {
        yields.push_back(Clock::now());
        qt_.yield();
    }
    bool yieldDue() override { return qt_.yieldDue(); }
    void beep() override {}

private:
    platform::Services& qt_;
};

struct Run {
    const char* name;
    int mode;
    const char* from;
    const char* to;
};

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    long transactions = 1000000;
    std::string folder = (fs::temp_directory_path() / "tolvenk-bench").string(), business;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--transactions" && i + 1 < argc) transactions = std::stol(argv[++i]);
        else if (a == "--folder" && i + 1 < argc) folder = argv[++i];
        else if (a == "--db" && i + 1 < argc) business = argv[++i];
    }
    if (business.empty()) {
        fs::create_directories(folder);
        business = (fs::path(folder) / ("BENCH-" + std::to_string(transactions) + ".mdb")).string();
        if (!fs::exists(business)) {
            demo::Options o;
            o.firstDay = "2026-09-01";  // a fixed period: the data does not depend on the day
            o.lastDay = "2026-11-30";
            o.transactions = transactions;
            o.businessPath = business;
            const auto start = Clock::now();
            demo::generate(o);
            std::printf("generated %ld transactions in %.1f s\n", transactions, seconds(Clock::now() - start));
        }
    }
    strCN = db::Connection::fileConnectionString(business);

    platform::QtServices qt;
    auto timed = std::make_shared<TimedServices>(qt);
    platform::setServices(timed);
    Conn_Main = std::make_shared<db::Connection>();
    Conn_Main->open(strCN);
    DB_Type = "Access";
    Load_Lan(0);
    // The picker chooses one department and its subtree; the generated
    // departments have several tops ("01".."04"), so a company root "0" above
    // them makes one choice take in every department.
    if (Conn_Main->openRecordset("select count(*) from Ren_Dept_Info where Dept_No='0'")->field(0).toInt64() == 0)
        Conn_Main->execute("insert into Ren_Dept_Info(Dept_No,Dept_Name,Dept_Level,Del_YN) values ('0','全公司',-1,0)");
    const std::string top = "0";
    const long people = Conn_Main
                            ->openRecordset("select count(*) from Ren_Per_Info,Ren_Dept_Info where "
                                            "Ren_Per_Info.Dept_No=Ren_Dept_Info.Dept_No and Ren_Dept_Info.Del_YN=0")
                            ->field(0)
                            .toInt64();
    const long month = Conn_Main
                           ->openRecordset("select count(*) from Record_XF where Date_Time>='2026-10-01' and "
                                           "Date_Time<='2026-10-31 24'")
                           ->field(0)
                           .toInt64();
    // The one statement of a run, which cannot yield while it reads.
    XFService xf;
    xf.Set_strCN(strCN);
    xf.Get_XF_Info5("2026-10-01", "2026-10-31 24");  // warm
    const auto q = Clock::now();
    xf.Get_XF_Info5("2026-10-01", "2026-10-31 24");
    const double queryTime = seconds(Clock::now() - q);
    std::printf("\nemployee statistics, all departments (%ld employees), October 2026 (%ld transactions), shown\n",
                people, month);
    std::printf("the period query alone: %.3f s\n", queryTime);
    std::printf("%-14s %8s %8s %8s %10s %12s %9s\n", "report", "seconds", "rows", "yields", "first (s)",
                "longest (s)", "peak MB");

    XF_Cha_HZ_Ren w;
    const Run runs[] = {{"month report", 1, "2026-10-01", "2026-10-31"},
                        {"day report", 0, "2026-10-01", "2026-10-31"},
                        {"period summary", 2, "2026-10-01", "2026-10-31"}};
    for (int pass = 0; pass < 2; ++pass)  // the first pass warms the file's pages
        for (const Run& r : runs) {
            Clock::time_point start, end;
            resetPeak();
            QTimer::singleShot(0, [&] {
                w.ucDep1.selectDepartment(top);
                w.Option1(r.mode).setValue(true);
                w.DTPicker1.setValue(r.from);
                w.DTPicker2.setValue(r.to);
                timed->yields.clear();
                start = Clock::now();
                w.Command1_Click();
                end = Clock::now();
                w.Hide();
            });
            w.Show();
            if (pass == 0) continue;
            // The stretch up to the first yield holds the query; the longest
            // is taken over the stretches after it.
            double longest = 0;
            Clock::time_point last = timed->yields.empty() ? start : timed->yields.front();
            for (const auto& y : timed->yields) longest = std::max(longest, seconds(y - last)), last = y;
            longest = std::max(longest, seconds(end - last));
            const double first = timed->yields.empty() ? 0 : seconds(timed->yields.front() - start);
            std::printf("%-14s %8.3f %8d %8zu %10.3f %12.3f %9.0f\n", r.name, seconds(end - start), w.Grid1.Rows() - 1,
                        timed->yields.size(), first, longest, statusMb("VmHWM"));
        }
    w.Unload();
    Conn_Main.reset();
    platform::setServices(nullptr);
    return 0;
}
