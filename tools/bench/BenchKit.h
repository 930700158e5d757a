#pragma once
// What every part of the one benchmark shares: timing, memory, services that
// note each yield, the database under test (and fresh copies of it for the
// windows that write) and the table everything ends in.
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench/PlainClient.h"
#include "bench/ProcessMemory.h"
#include "data/IcSettlementRun.h"
#include "platform/services/Services.h"

namespace tolvenk::bench {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from);
double seconds(Clock::time_point from, Clock::time_point to);
double median(std::vector<double> v);
// Times `run` `repeat` times and gives the median.
double timedMedian(int repeat, const std::function<void()>& run);

// The Qt services with every yield noted; boxes go to stderr and are kept,
// and a question gets its first button, as a clerk going on would answer.
class TimedServices : public platform::Services {
public:
    explicit TimedServices(platform::Services& qt) : qt_(qt) {}
    std::vector<Clock::time_point> yields;
    std::vector<std::string> boxes;
    // Whether the window shows rows at a yield; the first yield at which it
    // does is when rows can first be painted.
    std::function<bool()> showsRows;
    std::optional<Clock::time_point> firstShown;
    std::string clock = "2026-11-30 18:00:00";

    int msgBox(const std::string& prompt, int style, const std::string& title) override;
    std::string inputBox(const std::string&, const std::string&, const std::string& d) override { return d; }
    std::string openFileName(const std::string&, const std::string&) override { return {}; }
    std::string saveFileName(const std::string&, const std::string&, const std::string&) override { return {}; }
    void printPreview(const platform::PrintDocument&, int) override {}
    platform::ScreenSize screenSize() override { return qt_.screenSize(); }
    std::string clockText() override { return clock; }
    void yield() override;
    bool yieldDue() override { return qt_.yieldDue(); }
    void beep() override {}

    void startWatch();
    // The longest stretch without a yield from the start of the watch to `end`.
    double longestGap(Clock::time_point start, Clock::time_point end) const;

private:
    platform::Services& qt_;
};
TimedServices& timed();

// The database under test: a file or a database on a server.
struct Target {
    bool server = false;
    std::string connection;  // the module's connection text
    std::string folder;      // copies, exports

    // Opens it as the module's main connection.
    void open() const;
    // A copy for a window that writes, made while nothing holds the original.
    Target copy(const std::string& name) const;
    void drop() const;
    std::string sourceName;  // a copy's original, for drop()
    bool rollbackJournal = false;  // a file whose copies are set to a rollback journal too
};
void closeMain();

// One line of the table.
struct Line {
    std::string window, what;
    long rows = -1;
    double took = 0, baseline = 0;
    std::string goal, note;
};

class Table {
public:
    void add(Line l);
    void print(std::FILE* out = stdout) const;
    const std::vector<Line>& lines() const { return lines_; }

private:
    std::vector<Line> lines_;
};

// What a run measures, and how.
struct Settings {
    int repeat = 3;
    int writeRepeat = 1;  // each run of a window that writes needs two fresh copies
    bool quick = false;
    std::string from = "2026-09-01", to = "2026-11-30";  // the generated quarter
    std::vector<std::string> only;                       // window numbers; empty: all
    bool wants(const std::string& window) const;
};

// The parts, each adding its lines.
void benchReports(const Settings& s, Table& t);
void benchReadWindows(const Settings& s, const Target& db, Table& t);
void benchWriteWindows(const Settings& s, const Target& db, Table& t);
// How --terminal runs: under which loads of tills, and where the trace of
// the module's writes goes.
struct Terminal_Settings {
    std::vector<std::string> loads = {"harsh"};  // harsh, lunch, quiet
    std::string traceFile;                       // none when empty
    bool busy = false;                           // told in the headings only
};
bool isTillLoad(const std::string& name);
// Each long operation alone and beside the tills, and the tills alone for as
// long; prints tables of its own. The count of operations that failed.
int benchBesideTerminal(const Settings& s, const Target& db, const Terminal_Settings& t);

// How long one run of `run` takes, s.
double timedOnce(const std::function<void()>& run);

// Runs `prepare` and then `run` on a fresh copy, the module's main connection
// on it; `run` gives the time it took. The original is open again after it.
double onCopy(const Target& db, const std::string& name, const std::function<void()>& prepare,
              const std::function<double()>& run);

// The windows that write as the benchmark runs them, on a copy: what the copy
// needs first and the click. The month-end clearing's list is made before
// `around` is given the clearing itself; it gives the closing box.
void prepareIdInstallation();
void prepareIdGrant();
std::string runIdGrant();
std::string runMonthEndClearing(const std::function<void(const std::function<void()>&)>& around);
// The ID balance clearing of every card listed under the root "0": the list
// is made before `around` is given the clearing; it gives the closing box.
std::string runIdClearing(const std::function<void(const std::function<void()>&)>& around);
IC_Settlement::Run_Result runIcSettlement(const std::string& cutoff);
// Every summary report over the period, headless; the detail of every
// department (a root "0" above the tops) over the period, headless.
void runSummaryReports(const std::string& from, const std::string& to);
void runDetail(const std::string& from, const std::string& to);

// Rows of a statement read to the end, each field touched.
long readAll(const std::string& sql);
long number(const std::string& sql);

// The baselines' own session, on the database Target::open() opened last.
PlainClient& plain();
bool onServer();

// What a baseline's plan must show, and must not, on the engine under test.
struct PlanCheck {
    std::vector<std::string> needs, refuses;
};
// Notes a baseline's plan for the list after the table; a plan that fails
// its check is told in `note`.
void keepPlan(const std::string& window, const std::string& what, const std::string& plan, const PlanCheck& check,
              std::string& note);
// A read baseline: `sql` through the plain client, read to the end, the
// median of `repeat` runs; its plan kept and checked.
double readBaseline(int repeat, const std::string& window, const std::string& what, const std::string& sql,
                    const PlanCheck& check, std::string& note);
// A write baseline: `statements` through the plain client, each one's plan
// kept; the time they took.
double writeBaseline(const std::string& window, const std::string& what, const std::vector<std::string>& statements,
                     std::string& note);
void printPlans(std::FILE* out = stdout);

// The first `n` characters of a column as each engine's own functions take
// them (the server keeps statistics of left(Date_Time, n)).
std::string leftOf(const std::string& column, int n);

}  // namespace tolvenk::bench
