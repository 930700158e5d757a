// Measures the two long reads of the statistics on a business database that
// exists already (nothing is generated or written but a company root
// department "0" when it has none): the transaction detail (7034) of every
// department over a period, and the employee statistics (7033) of every
// department as a day, month or period report. For each: the time to the
// first rows on screen, to the end, the longest stretch without a yield,
// the process's peak memory and its memory after the window closed.
// Usage: tolvenk-bench-stream --db business.mdb | --server "<server text>" [--from yyyy-MM-dd] [--to yyyy-MM-dd]
//                             [--only detail|employees] [--mode day|month|range]
#include <QAbstractItemModel>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench/ProcessMemory.h"
#include "data/Globals.h"
#include "data/XFService.h"
#include "lang/Language.h"
#include "platform/db/Connection.h"
#include "platform/services/QtServices.h"
#include "reports/statistics/XF_Cha_HZ_Ren.h"
#include "reports/statistics/XF_Mingxi.h"

using namespace tolvenk;
using bench::resetPeak;
using bench::statusMb;
using Clock = std::chrono::steady_clock;

namespace {

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }


// The Qt services with every yield timed; the first yield at which the
// grid's view holds rows is when they can first be seen.
class TimedServices : public platform::Services {
public:
    explicit TimedServices(platform::Services& qt) : qt_(qt) {}
    std::vector<Clock::time_point> yields;
    std::optional<Clock::time_point> firstShown;
    const forms::Grid* watched = nullptr;
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
        if (!firstShown && watched && watched->view()->model()->rowCount() > 1) firstShown = yields.back();
        qt_.yield();
    }
    bool yieldDue() override { return qt_.yieldDue(); }
    void beep() override {}

private:
    platform::Services& qt_;
};

struct Timing {
    double total = 0, first = 0, longest = 0, longestAfter = 0;  // after: past the first yield
    bool shown = false;
};

// Runs `click` inside the window's own modal loop and times its yields.
template <class Window, class Click>
Timing timed(Window& w, TimedServices& sv, Click click) {
    Clock::time_point start, end;
    QTimer::singleShot(0, [&] {
        sv.yields.clear();
        sv.firstShown.reset();
        sv.watched = &w.Grid1;
        start = Clock::now();
        try {
            click();
        } catch (const std::exception& e) {
            std::printf("  FAILED: %s\n", e.what());
        }
        end = Clock::now();
        w.Hide();
    });
    w.Show();
    sv.watched = nullptr;
    Timing t;
    t.total = seconds(end - start);
    t.shown = sv.firstShown.has_value();
    t.first = seconds(sv.firstShown.value_or(end) - start);
    Clock::time_point last = start;
    for (const auto& y : sv.yields) {
        t.longest = std::max(t.longest, seconds(y - last));
        if (last != start) t.longestAfter = std::max(t.longestAfter, seconds(y - last));
        last = y;
    }
    t.longest = std::max(t.longest, seconds(end - last));
    t.longestAfter = std::max(t.longestAfter, seconds(end - last));
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string business, server, from = "2026-09-01", to = "2026-11-30", only, mode = "day";
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--db" && i + 1 < argc) business = argv[++i];
        else if (a == "--server" && i + 1 < argc) server = argv[++i];
        else if (a == "--from" && i + 1 < argc) from = argv[++i];
        else if (a == "--to" && i + 1 < argc) to = argv[++i];
        else if (a == "--only" && i + 1 < argc) only = argv[++i];
        else if (a == "--mode" && i + 1 < argc) mode = argv[++i];
    }
    if (business.empty() && server.empty()) {
        std::fprintf(stderr, "usage: tolvenk-bench-stream --db business.mdb [--from D] [--to D] [--only detail|employees] [--mode day|month|range]\n");
        return 2;
    }
    strCN = server.empty() ? db::Connection::fileConnectionString(business) : server;
    DB_Type = server.empty() ? "Access" : "SQL";
    platform::QtServices qt;
    auto sv = std::make_shared<TimedServices>(qt);
    platform::setServices(sv);
    Conn_Main = std::make_shared<db::Connection>();
    Conn_Main->open(strCN);
    Load_Lan(0);
    if (Conn_Main->openRecordset("select count(*) from Ren_Dept_Info where Dept_No='0'")->field(0).toInt64() == 0)
        Conn_Main->execute("insert into Ren_Dept_Info(Dept_No,Dept_Name,Dept_Level,Del_YN) values ('0','全公司',-1,0)");
    std::printf("%s, %s to %s\n", server.empty() ? business.c_str() : "the server", from.c_str(), to.c_str());

    if (only.empty() || only == "detail") {
        // The one statement alone, read to its end.
        XFService xf;
        xf.Set_strCN(strCN);
        const auto s = Clock::now();
        long long n = 0;
        auto rows = xf.Get_XF_Info7_Rows(false, "0", {}, from + " 00:00:00", to + " 23:59:59", 0, 0, 0, 0, "", "", "", "");
        while (rows->next()) ++n;
        rows.reset();
        const double statement = seconds(Clock::now() - s);

        const double before = statusMb("VmRSS");
        resetPeak();
        auto d = std::make_unique<XF_Mingxi>();
        d->Load();
        const Timing t = timed(*d, *sv, [&] {
            d->ucDep1.selectDepartment("0");
            d->optType(0).setValue(true);
            d->DTPicker1(0).setValue(from);
            d->DTPicker1(1).setValue(from + " 00:00:00");
            d->DTPicker2(0).setValue(to);
            d->DTPicker2(1).setValue(to + " 23:59:59");
            d->Command1_Click();
        });
        const double peak = statusMb("VmHWM");
        const int gridRows = d->Grid1.Rows() - 1;
        d->Unload();
        const double after = statusMb("VmRSS");
        std::printf("\ntransaction detail, every department: %d grid rows (total row included); the statement alone "
                    "%lld rows in %.3f s\n", gridRows, n, statement);
        std::printf("  first rows on screen %.3f s%s, complete %.3f s (%.2fx the statement), longest without a yield "
                    "%.3f s, after the first %.3f s\n", t.first, t.shown ? "" : " (not before the end)", t.total,
                    t.total / statement, t.longest, t.longestAfter);
        std::printf("  memory before %.0f MB, peak %.0f MB, after closing %.0f MB\n", before, peak, after);
    }

    if (only.empty() || only == "employees") {
        const double before = statusMb("VmRSS");
        resetPeak();
        auto w = std::make_unique<XF_Cha_HZ_Ren>();
        w->Load();
        const int option = mode == "month" ? 1 : mode == "range" ? 2 : 0;
        const Timing t = timed(*w, *sv, [&] {
            w->ucDep1.selectDepartment("0");
            w->Option1(option).setValue(true);
            w->DTPicker1.setValue(from);
            w->DTPicker2.setValue(to);
            w->Command1_Click();
        });
        const double peak = statusMb("VmHWM");
        const int gridRows = w->Grid1.Rows() - 1;
        w->Unload();
        const double after = statusMb("VmRSS");
        std::printf("\nemployee statistics, every department, %s report: %d grid rows (total row included)\n",
                    mode.c_str(), gridRows);
        std::printf("  complete %.3f s, first rows on screen %.3f s%s, longest without a yield %.3f s\n", t.total,
                    t.first, t.shown ? "" : " (not before the end)", t.longest);
        std::printf("  memory before %.0f MB, peak %.0f MB, after closing %.0f MB\n", before, peak, after);
    }
    Conn_Main.reset();
    platform::setServices(nullptr);
    return 0;
}
