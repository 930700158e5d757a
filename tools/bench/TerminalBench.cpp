// Tills beside each long operation: three `tolvenk-terminal` processes, as
// tills of another maker on the engine's own library, write a row every 5 ms,
// every 20 ms and at random moments about every 10 ms while the operation
// runs; their longest commit wait is set beside their longest wait while they
// write for as long with nothing else (the yardstick: what tills cost each
// other), and the operation's time beside them beside its time alone.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "bench/BenchKit.h"
#include "cards/YuE_HZ_Cha.h"
#include "data/Globals.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "terminal/TerminalWriter.h"

extern char** environ;

namespace tolvenk::bench {

namespace {

namespace fs = std::filesystem;

// The tills alone for as long as the operation ran beside them: the longest
// of their waits grows with the time they run, a second or so in some
// minutes on a slow disk.
constexpr double kLongestYardstick = 900;    // seconds
const char* const kTerminalDate = "2026-12-31 12:00:00";  // after every period the windows read

long long monotonicMicros() {
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

struct Commit {
    long long at, waited;  // µs: the commit's moment, begin to commit
};

struct Outcome {
    std::vector<Commit> commits;
    long failures = 0;
    std::string firstError;

    // The longest wait of a commit that was under way between `from` and `to`.
    double longestWait(long long from, long long to) const {
        long long longest = 0;
        for (const Commit& c : commits)
            if (c.at >= from && c.at - c.waited <= to) longest = std::max(longest, c.waited);
        return static_cast<double>(longest) / 1e6;
    }
};

// tolvenk-terminal in a process of its own, its lines into a file (a pipe
// left unread while the operation runs would fill and hold the terminal up).
class TerminalProcess {
public:
    TerminalProcess(const std::string& connection, const std::string& card, int mach, const std::string& out,
                    int pauseMicros, bool randomly)
        : out_(out) {
        const std::string exe = (fs::read_symlink("/proc/self/exe").parent_path() / "tolvenk-terminal").string();
        if (!fs::exists(exe)) throw std::runtime_error("no " + exe + ": build the target tolvenk-terminal");
        int p[2];
        // Not inherited by a second terminal: its input would then never close.
        if (::pipe2(p, O_CLOEXEC) != 0) throw std::runtime_error("no pipe for the terminal");
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, p[0], 0);
        posix_spawn_file_actions_addclose(&fa, p[1]);
        posix_spawn_file_actions_addopen(&fa, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const std::string pause = std::to_string(pauseMicros), machText = std::to_string(mach);
        // Another maker's till: the engine's own library alone, with its standard busy timeout.
        terminal::Options plain;
        plain.db = connection;
        terminal::usePlainLibrary(plain);
        std::vector<std::string> args = {exe,        connection, card,     "--pause-us", pause,
                                         "--mach",   machText,   "--date", kTerminalDate};
        if (plain.plainFile.empty()) args.insert(args.end(), {"--plain-server", plain.plainServer});
        else args.insert(args.end(), {"--plain-file", plain.plainFile});
        if (randomly) args.push_back("--random-pause");
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        const int rc = posix_spawn(&pid_, exe.c_str(), &fa, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&fa);
        ::close(p[0]);
        input_ = p[1];
        if (rc != 0) {
            ::close(input_);
            throw std::runtime_error("the terminal did not start");
        }
    }
    ~TerminalProcess() {
        if (pid_ > 0) finish();
    }
    TerminalProcess(const TerminalProcess&) = delete;
    TerminalProcess& operator=(const TerminalProcess&) = delete;

    // Waits until it has committed a row: connected, its statements ready.
    void waitForFirstCommit() {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (std::chrono::steady_clock::now() < until) {
            std::ifstream in(out_);
            for (std::string line; std::getline(in, line);) {
                if (line.rfind("C ", 0) == 0) return;
                if (line.rfind("FAIL", 0) == 0) throw std::runtime_error("the terminal failed: " + line);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        throw std::runtime_error("the terminal wrote nothing in two minutes");
    }

    // Stops it after its current row and reads what it did.
    Outcome finish() {
        ::close(input_);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        Outcome o;
        std::ifstream in(out_);
        for (std::string line; std::getline(in, line);) {
            std::istringstream fields(line);
            std::string kind;
            fields >> kind;
            if (kind == "C") {
                long long serial = 0, waited = 0, at = 0;
                fields >> serial >> waited >> at;
                o.commits.push_back({at, waited});
            } else if (kind == "E" || kind == "FAIL") {
                ++o.failures;
                if (o.firstError.empty()) o.firstError = line;
            }
        }
        fs::remove(out_);
        return o;
    }

private:
    std::string out_;
    pid_t pid_ = -1;
    int input_ = -1;
};

struct Beside {
    std::string window, what, journal;
    double alone = 0, took = 0, module = 0, yardstick = 0;
    long failedModule = 0, failedYardstick = 0;
    std::string note;
};

std::string journalOf() {
    if (DB_Type == "SQL") return "server";
    const auto rs = Conn_Main->openRecordset("PRAGMA journal_mode");
    const std::string mode = rs->eof() ? "" : rs->field(0).toString();
    return mode == "wal" ? "WAL" : "rollback journal (" + mode + ")";
}

// The tills: a row every 5 ms, every 20 ms, and at random about every 10 ms.
struct Till {
    int pauseMicros;
    bool randomly;
};
constexpr Till kTills[] = {{5000, false}, {20000, false}, {10000, true}};
constexpr int kTillCount = sizeof kTills / sizeof kTills[0];

// Usable cards of employees in the middle of the company, one a till.
std::vector<std::string> tillCards() {
    std::vector<std::string> cards;
    for (auto rs = Conn_Main->openRecordset("select Card_No from Card_Info where C_GuaShi=0 and Card_No is not null "
                                            "and Card_No<>'' order by Pinfo_id, Card_No");
         !rs->eof(); rs->moveNext())
        cards.push_back(rs->field(0).toString());
    if (cards.size() < kTillCount) throw std::runtime_error("too few usable cards for the tills");
    return {cards.begin() + static_cast<std::ptrdiff_t>(cards.size() / 2),
            cards.begin() + static_cast<std::ptrdiff_t>(cards.size() / 2 + kTillCount)};
}

// The tills writing while `during` runs, on the database the module's main
// connection is open on: their longest wait, their failures and their first
// error, from the moment every till has committed once.
struct Tills_Outcome {
    double longest = 0, took = 0;
    long failures = 0;
    std::string firstError;
};
Tills_Outcome withTills(const std::function<void()>& during) {
    // The copy just made, or what the operation left unflushed, would
    // otherwise go to the disk under the tills' first commits: their flushes
    // would wait for the bench's own writing.
    ::sync();
    const std::vector<std::string> cards = tillCards();
    const fs::path folder = fs::temp_directory_path();
    std::vector<std::unique_ptr<TerminalProcess>> tills;
    for (int i = 0; i < kTillCount; ++i)
        tills.push_back(std::make_unique<TerminalProcess>(
            strCN, cards[static_cast<std::size_t>(i)], 990 + i,
            (folder / ("tolvenk-bench-till-" + std::to_string(i) + "-" + std::to_string(::getpid()))).string(),
            kTills[i].pauseMicros, kTills[i].randomly));
    for (auto& t : tills) t->waitForFirstCommit();
    const long long from = monotonicMicros();
    during();
    const long long to = monotonicMicros();
    Tills_Outcome out;
    out.took = static_cast<double>(to - from) / 1e6;
    for (auto& t : tills) {
        const Outcome o = t->finish();
        out.longest = std::max(out.longest, o.longestWait(from, to));
        out.failures += o.failures;
        if (out.firstError.empty()) out.firstError = o.firstError;
    }
    return out;
}

// The operation alone (`alone`, on a database of its own), beside the tills,
// then the tills with nothing else for as long; on the database the
// module's main connection is open on (a copy for windows that write, which
// the tills' rows then go to).
Beside measure(const Settings& s, const std::string& window, const std::string& what,
               const std::function<void()>& operation, const std::function<double()>& alone) {
    Beside b;
    b.window = window;
    b.what = what;
    b.journal = journalOf();
    b.alone = alone();
    const Tills_Outcome beside = withTills([&] {
        try {
            operation();
        } catch (const std::exception& e) {
            b.note = std::string("FAILED: ") + e.what();
        }
    });
    b.took = beside.took;
    b.module = beside.longest;
    b.failedModule = beside.failures;
    if (!beside.firstError.empty()) b.note += (b.note.empty() ? "" : "; ") + beside.firstError;
    const double span = std::clamp(b.took, 2.0, s.quick ? 2.0 : kLongestYardstick);
    const Tills_Outcome yardstick =
        withTills([&] { std::this_thread::sleep_for(std::chrono::duration<double>(span)); });
    b.yardstick = yardstick.longest;
    b.failedYardstick = yardstick.failures;
    if (!yardstick.firstError.empty()) b.note += (b.note.empty() ? "" : "; ") + yardstick.firstError;
    std::printf("  %-6s %-40s %s: %.3f s alone, %.3f s beside the tills; their longest wait %.3f s beside it, "
                "%.3f s beside each other; failed writes %ld / %ld\n",
                b.window.c_str(), b.what.c_str(), b.journal.c_str(), b.alone, b.took, b.module, b.yardstick,
                b.failedModule, b.failedYardstick);
    std::fflush(stdout);
    return b;
}

Beside measure(const Settings& s, const std::string& window, const std::string& what,
               const std::function<void()>& operation) {
    return measure(s, window, what, operation, [&] { return timedOnce(operation); });
}

// An operation on a copy of the database, with the tills on that copy; alone
// on a copy of its own.
Beside measureOnCopy(const Settings& s, const Target& db, const std::string& window, const std::string& what,
                     const std::function<void()>& prepare, const std::function<void()>& operation) {
    const double alone = onCopy(db, "alone_" + window, prepare, [&] {
        ::sync();  // the copy on the disk before the clock starts
        return timedOnce(operation);
    });
    Beside b;
    onCopy(db, "terminal_" + window, prepare, [&] {
        b = measure(s, window, what, operation, [alone] { return alone; });
        return b.took;
    });
    return b;
}

void runIcCorrection() {
    YuE_HZ_Cha w;
    w.Load();
    w.Query.ucDep1.selectDepartment("0");
    w.Check1.setValue(forms::vbChecked);
    w.Command1_Click();
    w.Unload();
}

}  // namespace

void benchBesideTerminal(const Settings& s, const Target& db) {
    std::vector<Beside> lines;
    const std::string clock = timed().clock;
    if (s.wants("7032"))
        lines.push_back(measure(s, "7032", "every summary report, 3 months", [&] { runSummaryReports(s.from, s.to); }));
    if (s.wants("7034"))
        lines.push_back(measure(s, "7034", "detail, every department, a quarter", [&] { runDetail(s.from, s.to); }));
    if (s.wants("7030"))
        lines.push_back(measureOnCopy(s, db, "7030", "ID grant, every employee", prepareIdGrant, [] { runIdGrant(); }));
    if (s.wants("7031"))
        lines.push_back(measureOnCopy(s, db, "7031", "month-end clearing, every employee", prepareIdInstallation, [] {
            runMonthEndClearing([](const std::function<void()>& clear) { clear(); });
        }));
    if (s.wants("7040"))
        lines.push_back(
            measureOnCopy(s, db, "7040", "ID balance clearing, every card", prepareIdInstallation, [] {
                runIdClearing([](const std::function<void()>& clear) { clear(); });
            }));
    timed().clock = "2027-06-01 10:00:00";  // the quarter lies far enough back to settle
    if (s.wants("7038"))
        lines.push_back(measureOnCopy(s, db, "7038", "IC settlement before 2026-11-01", [] {},
                                      [] { runIcSettlement("2026-11-01"); }));
    if (s.wants("7036"))
        lines.push_back(measureOnCopy(s, db, "7036", "IC balances with the correction, every employee", [] {},
                                      runIcCorrection));
    timed().clock = clock;

    std::printf("\nThree tills of another maker (the engine's own library, its standard busy timeout), a row every "
                "5 ms, every 20 ms and at random about every 10 ms: their longest commit wait beside each operation "
                "and, for as long (2 s to %.0f s), beside each other only\n\n",
                kLongestYardstick);
    std::printf("| window | operation | engine | operation s alone | operation s beside the tills | tills' longest "
                "wait beside it s | beside each other s | failed till writes beside it / beside each other | notes "
                "|\n|---|---|---|--:|--:|--:|--:|--:|---|\n");
    for (const Beside& b : lines)
        std::printf("| %s | %s | %s | %.1f | %.1f | %.3f | %.3f | %ld / %ld | %s |\n", b.window.c_str(),
                    b.what.c_str(), b.journal.c_str(), b.alone, b.took, b.module, b.yardstick, b.failedModule,
                    b.failedYardstick, b.note.c_str());
    std::fflush(stdout);
}

}  // namespace tolvenk::bench
