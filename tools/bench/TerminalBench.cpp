// Tills beside each long operation: `tolvenk-terminal` processes, as tills of
// another maker on the engine's own library, write rows while the operation
// runs (a load: three busy tills, a lunch peak of twenty, or one till of a
// quiet evening); their longest commit wait is set beside their longest wait
// while they write for as long with nothing else (the yardstick: what tills
// cost each other), and the operation's time beside them beside its time
// alone. Each run of the operation is traced: how long its writes hold the
// lock and how long they leave it free.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "bench/BenchKit.h"
#include "bench/BusyLoad.h"
#include "bench/PlainClient.h"
#include "cards/YuE_HZ_Cha.h"
#include "data/Globals.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/db/WriteTrace.h"
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

long long monotonicNanos() {
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000 + t.tv_nsec;
}
long long monotonicMicros() { return monotonicNanos() / 1000; }

// ---------------------------------------------------------------- the tills

struct Commit {
    long long at, waited;  // µs: the commit's moment, begin to commit
};

struct Outcome {
    std::vector<Commit> commits;
    long failures = 0;
    std::string firstError;
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
            pid_ = -1;
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

    // Stops it after its current row (or within 50 ms of a long pause) and
    // reads what it did.
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

struct Till {
    int pauseMicros;
    bool randomly;  // pauses drawn from an exponential distribution, as customers come to a till
};

struct Till_Load {
    std::string name, text;
    std::vector<Till> tills;
};

Till_Load tillLoad(const std::string& name) {
    if (name == "harsh")
        return {name, "three tills, a row every 5 ms, every 20 ms and at random about every 10 ms",
                {{5000, false}, {20000, false}, {10000, true}}};
    if (name == "lunch")
        return {name, "a lunch peak, 20 tills each booking a row at random about every 2 s",
                std::vector<Till>(20, Till{2000000, true})};
    if (name == "quiet") return {name, "a quiet evening, one till booking a row every 30 s", {{30000000, false}}};
    throw std::invalid_argument("no till load " + name);
}

// Usable cards of employees in the middle of the company, one a till.
std::vector<std::string> tillCards(std::size_t count) {
    std::vector<std::string> cards;
    for (auto rs = Conn_Main->openRecordset("select Card_No from Card_Info where C_GuaShi=0 and Card_No is not null "
                                            "and Card_No<>'' order by Pinfo_id, Card_No");
         !rs->eof(); rs->moveNext())
        cards.push_back(rs->field(0).toString());
    if (cards.size() < 2 * count) throw std::runtime_error("too few usable cards for the tills");
    return {cards.begin() + static_cast<std::ptrdiff_t>(cards.size() / 2),
            cards.begin() + static_cast<std::ptrdiff_t>(cards.size() / 2 + count)};
}

struct Till_Commit {
    int till;
    long long at, waited;  // µs
};

// What the tills did while a measured stretch ran: every commit under way in
// it counts.
struct Tills_Outcome {
    double longest = 0;
    long commits = 0, over05 = 0, over1 = 0, failures = 0;
    std::string firstError;
    std::vector<Till_Commit> seen;
};

// The tills writing while `during` runs, on the database the module's main
// connection is open on; `during` gives the stretch (µs, monotonic) their
// waits are judged in, begun once every till has committed once.
Tills_Outcome withTills(const Till_Load& load, const std::function<std::pair<long long, long long>()>& during) {
    // The copy just made, or what the operation left unflushed, would
    // otherwise go to the disk under the tills' first commits: their flushes
    // would wait for the bench's own writing.
    ::sync();
    const std::vector<std::string> cards = tillCards(load.tills.size());
    const fs::path folder = fs::temp_directory_path();
    std::vector<std::unique_ptr<TerminalProcess>> tills;
    for (std::size_t i = 0; i < load.tills.size(); ++i)
        tills.push_back(std::make_unique<TerminalProcess>(
            strCN, cards[i], 990 + static_cast<int>(i),
            (folder / ("tolvenk-bench-till-" + std::to_string(i) + "-" + std::to_string(::getpid()))).string(),
            load.tills[i].pauseMicros, load.tills[i].randomly));
    for (auto& t : tills) t->waitForFirstCommit();
    const auto [from, to] = during();
    Tills_Outcome out;
    for (std::size_t i = 0; i < tills.size(); ++i) {
        const Outcome o = tills[i]->finish();
        for (const Commit& c : o.commits) {
            if (c.at < from || c.at - c.waited > to) continue;
            const double waited = static_cast<double>(c.waited) / 1e6;
            out.longest = std::max(out.longest, waited);
            ++out.commits;
            out.over05 += waited > 0.5;
            out.over1 += waited > 1.0;
            out.seen.push_back({static_cast<int>(i), c.at, c.waited});
        }
        out.failures += o.failures;
        if (out.firstError.empty()) out.firstError = o.firstError;
    }
    return out;
}

// The tills with nothing else for `seconds`, judged from `from` (µs, monotonic) on.
Tills_Outcome tillsAlone(const Till_Load& load, double seconds, long long& from) {
    return withTills(load, [&] {
        from = monotonicMicros();
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        return std::pair{from, monotonicMicros()};
    });
}

// ------------------------------------------------- the trace of the writes

struct Event {
    long long at;  // ns, monotonic
    db::Write_Event what;
};

const char* nameOf(db::Write_Event e) {
    switch (e) {
    case db::Write_Event::Locked: return "locked";
    case db::Write_Event::Committing: return "committing";
    case db::Write_Event::Committed: return "committed";
    case db::Write_Event::Copied_Back: return "copied-back";
    case db::Write_Event::Gap_Begun: return "gap-begun";
    case db::Write_Event::Gap_Ended: return "gap-ended";
    }
    return "?";
}

// The module's writes as they tell them, into room taken once: the listener
// runs inside each hold of the lock, so it only stamps and stores.
class Write_Recorder {
public:
    static constexpr std::size_t kRoom = std::size_t{1} << 23;  // pages are touched only as used

    Write_Recorder() : events_(new Event[kRoom]) {}
    void start() {
        count_.store(0);
        db::listenToWrites([this](db::Write_Event e) {
            const std::size_t i = count_.fetch_add(1, std::memory_order_relaxed);
            if (i < kRoom) events_[i] = {monotonicNanos(), e};
        });
    }
    void stop() { db::listenToWrites({}); }
    std::vector<Event> events() const {
        return {events_.get(), events_.get() + std::min(count_.load(), kRoom)};
    }
    std::size_t dropped() const { return count_.load() > kRoom ? count_.load() - kRoom : 0; }

private:
    std::unique_ptr<Event[]> events_;
    std::atomic<std::size_t> count_{0};
};

Write_Recorder& recorder() {
    static Write_Recorder r;
    return r;
}

// What the trace of one run says, seconds.
struct Trace_Summary {
    long holds = 0, unclosed = 0, unopened = 0, copies = 0, gaps = 0;
    double longest = 0, p99 = 0, longestWrites = 0, longestCommit = 0, longestCopy = -1;
    double held = 0, copyTotal = 0, gapTotal = 0, gapLongest = 0, gapMean = 0, share = 0;
    std::size_t dropped = 0;
};

// A hold is Locked, Committing, Committed, perhaps Copied_Back after it. A
// Locked with no commit before the next was rolled back (`unclosed`); a
// commit with no Locked before it was begun without the lock (`unopened`).
Trace_Summary summarize(const std::vector<Event>& events, double took, std::size_t dropped) {
    struct Hold {
        long long locked, committing = -1, committed = -1, copied = -1;
    };
    std::vector<Hold> holds;
    Trace_Summary t;
    t.dropped = dropped;
    bool open = false, lastClosed = false;
    long long gapFrom = -1;
    const auto s = [](long long ns) { return static_cast<double>(ns) / 1e9; };
    for (const Event& e : events) {
        switch (e.what) {
        case db::Write_Event::Locked:
            if (open) ++t.unclosed, holds.pop_back();
            holds.push_back({e.at});
            open = true;
            lastClosed = false;
            break;
        case db::Write_Event::Committing:
            if (open && holds.back().committing < 0) holds.back().committing = e.at;
            else if (!open) ++t.unopened;
            break;
        case db::Write_Event::Committed:
            if (open && holds.back().committing >= 0) {
                holds.back().committed = e.at;
                open = false;
                lastClosed = true;
            }
            break;
        case db::Write_Event::Copied_Back:
            if (lastClosed && holds.back().copied < 0) {
                holds.back().copied = e.at;
                ++t.copies;
                t.copyTotal += s(e.at - holds.back().committed);
            }
            break;
        case db::Write_Event::Gap_Begun: gapFrom = e.at; break;
        case db::Write_Event::Gap_Ended:
            if (gapFrom >= 0) {
                const double g = s(e.at - gapFrom);
                ++t.gaps;
                t.gapTotal += g;
                t.gapLongest = std::max(t.gapLongest, g);
                gapFrom = -1;
            }
            break;
        }
    }
    if (open) ++t.unclosed, holds.pop_back();
    std::vector<double> lengths;
    for (const Hold& h : holds) {
        const double l = s(h.committed - h.locked);
        lengths.push_back(l);
        t.held += l;
        if (l >= t.longest) {
            t.longest = l;
            t.longestWrites = s(h.committing - h.locked);
            t.longestCommit = s(h.committed - h.committing);
            t.longestCopy = h.copied < 0 ? -1 : s(h.copied - h.committed);
        }
    }
    t.holds = static_cast<long>(holds.size());
    if (!lengths.empty()) {
        std::sort(lengths.begin(), lengths.end());
        const auto at = static_cast<std::size_t>(std::ceil(0.99 * static_cast<double>(lengths.size()))) - 1;
        t.p99 = lengths[std::min(at, lengths.size() - 1)];
    }
    t.gapMean = t.gaps ? t.gapTotal / static_cast<double>(t.gaps) : 0;
    t.share = took > 0 ? t.held / took : 0;
    return t;
}

std::string describe(const Trace_Summary& t) {
    char line[512];
    if (t.holds == 0) {
        std::snprintf(line, sizeof line, "no hold of the lock");
    } else {
        char copy[32] = "none";
        if (t.longestCopy >= 0) std::snprintf(copy, sizeof copy, "%.4f", t.longestCopy);
        std::snprintf(line, sizeof line,
                      "holds %ld, longest %.4f s (writes %.4f, commit %.4f, copy-back %s), 99th pct %.4f s; "
                      "lock held %.1f%% of the time (%.3f s)",
                      t.holds, t.longest, t.longestWrites, t.longestCommit, copy, t.p99, 100 * t.share, t.held);
    }
    std::string out = line;
    if (t.copies) {
        std::snprintf(line, sizeof line, "; copy-backs %ld, %.3f s in all", t.copies, t.copyTotal);
        out += line;
    }
    if (t.gaps) {
        std::snprintf(line, sizeof line, "; gaps %ld, %.3f s in all, longest %.4f s, mean %.4f s", t.gaps, t.gapTotal,
                      t.gapLongest, t.gapMean);
        out += line;
    } else {
        out += "; no gap";
    }
    if (t.unclosed) out += "; " + std::to_string(t.unclosed) + " holds rolled back";
    if (t.unopened) out += "; " + std::to_string(t.unopened) + " commits without a lock told";
    if (t.dropped) out += "; TRACE FULL, " + std::to_string(t.dropped) + " events lost";
    return out;
}

// ------------------------------------------------------ one run, measured

struct Phase {
    double took = 0, loadStart = 0, loadEnd = 0;
    double stretch = -1;  // the longest without a yield, when watched
    long long from = 0, to = 0;  // ns, monotonic
    Trace_Summary trace;
    std::vector<Event> events;  // for the trace file
    std::vector<long long> yields;  // ns, monotonic: the window's, when watched
    std::string failed;
};

struct Run_Context {
    const Settings& s;
    std::FILE* traceFile = nullptr;
};

// The operation once, traced; the services' yields watched when asked.
Phase runPhase(const Run_Context& c, const std::function<void()>& operation, bool watchYields) {
    Phase p;
    p.loadStart = loadAverage();
    if (watchYields) timed().startWatch();
    recorder().start();
    const auto start = Clock::now();
    p.from = monotonicNanos();
    try {
        operation();
    } catch (const std::exception& e) {
        p.failed = e.what();
    }
    p.to = monotonicNanos();
    const auto end = Clock::now();
    recorder().stop();
    p.took = static_cast<double>(p.to - p.from) / 1e9;
    if (watchYields) {
        p.stretch = timed().longestGap(start, end);
        for (const auto& y : timed().yields)
            p.yields.push_back(std::chrono::duration_cast<std::chrono::nanoseconds>(y.time_since_epoch()).count());
    }
    p.events = recorder().events();
    p.trace = summarize(p.events, p.took, recorder().dropped());
    if (!c.traceFile) p.events.clear();
    p.loadEnd = loadAverage();
    return p;
}

void writeTrace(const Run_Context& c, const std::string& heading, const Phase& p, const std::vector<Till_Commit>& tills) {
    if (!c.traceFile) return;
    std::FILE* f = c.traceFile;
    std::fprintf(f, "# %s: %.3f s, from %.6f s on the monotonic clock\n", heading.c_str(), p.took,
                 static_cast<double>(p.from) / 1e9);
    // Events and the tills' commits in one order, by time from the operation's start.
    struct Line {
        long long at;
        std::string text;
    };
    std::vector<Line> lines;
    for (const Event& e : p.events) lines.push_back({e.at, nameOf(e.what)});
    char text[96];
    for (const Till_Commit& t : tills) {
        std::snprintf(text, sizeof text, "till %d began, waited %.6f s to its commit", t.till,
                      static_cast<double>(t.waited) / 1e6);
        lines.push_back({(t.at - t.waited) * 1000, text});
    }
    for (long long y : p.yields) lines.push_back({y, "the window yields"});
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.at < b.at; });
    for (const Line& l : lines) std::fprintf(f, "%.6f %s\n", static_cast<double>(l.at - p.from) / 1e9, l.text.c_str());
    std::fprintf(f, "%.6f end\n\n", static_cast<double>(p.to - p.from) / 1e9);
    std::fflush(f);
}

struct Beside {
    std::string window, what, journal, load;
    Phase alone, beside;
    Tills_Outcome tills, yardstick;
    double yardstickSpan = 0, yardLoadStart = 0, yardLoadEnd = 0;
    std::string note;
    bool watched = false;
};

std::string journalOf() {
    if (DB_Type == "SQL") return "server";
    const auto rs = Conn_Main->openRecordset("PRAGMA journal_mode");
    const std::string mode = rs->eof() ? "" : rs->field(0).toString();
    return mode == "wal" ? "WAL" : "rollback journal (" + mode + ")";
}

std::string seconds3(double v) {
    char t[32];
    std::snprintf(t, sizeof t, "%.3f", v);
    return t;
}

// No commit under way in the stretch: no wait to tell.
std::string waitCell(const Tills_Outcome& t) { return t.commits ? seconds3(t.longest) : "-"; }

std::string ratioText(const Beside& b) {
    char r[32] = "-";
    if (b.alone.took > 0) std::snprintf(r, sizeof r, "%.2f", b.beside.took / b.alone.took);
    return r;
}

void printAlone(const Beside& b) {
    std::printf("  %-6s %-40s %s, %s load: alone %.3f s (load average %.2f -> %.2f)", b.window.c_str(),
                b.what.c_str(), b.journal.c_str(), b.load.c_str(), b.alone.took, b.alone.loadStart, b.alone.loadEnd);
    if (b.watched) std::printf("; longest without a yield %.3f s", b.alone.stretch);
    if (!b.alone.failed.empty()) std::printf("; FAILED: %s", b.alone.failed.c_str());
    std::printf("\n         alone:  %s\n", describe(b.alone.trace).c_str());
    std::fflush(stdout);
}

void printBeside(const Beside& b) {
    std::printf("  %-6s %-40s %s, %s load: %.3f s beside the tills (%s x alone; load average %.2f -> %.2f)",
                b.window.c_str(), b.what.c_str(), b.journal.c_str(), b.load.c_str(), b.beside.took,
                ratioText(b).c_str(), b.beside.loadStart, b.beside.loadEnd);
    if (b.watched) std::printf("; longest without a yield %.3f s", b.beside.stretch);
    std::printf("\n         tills:  %ld commits, longest wait %s s beside it, %s s alone for %.1f s (%ld commits; "
                "load average %.2f -> %.2f); waits over 0.5 s %ld, over 1 s %ld (alone %ld, %ld); failed writes "
                "%ld / %ld\n",
                b.tills.commits, waitCell(b.tills).c_str(), waitCell(b.yardstick).c_str(), b.yardstickSpan, b.yardstick.commits,
                b.yardLoadStart, b.yardLoadEnd, b.tills.over05, b.tills.over1, b.yardstick.over05,
                b.yardstick.over1, b.tills.failures, b.yardstick.failures);
    std::printf("         beside: %s\n", describe(b.beside.trace).c_str());
    if (!b.note.empty()) std::printf("         note:   %s\n", b.note.c_str());
    std::fflush(stdout);
}

// The operation alone (`alone` gives that run), beside the tills, then the
// tills with nothing else for as long; on the database the module's main
// connection is open on (a copy for windows that write, which the tills'
// rows then go to).
Beside measure(const Run_Context& c, const Till_Load& load, const std::string& window, const std::string& what,
               const std::function<void()>& operation, const std::function<Phase()>& alone) {
    Beside b;
    b.window = window;
    b.what = what;
    b.load = load.name;
    b.watched = window == "7038";
    b.alone = alone();
    b.journal = journalOf();
    printAlone(b);
    writeTrace(c, window + " " + what + " | " + b.journal + " | alone", b.alone, {});
    std::vector<Event>().swap(b.alone.events);
    if (!b.alone.failed.empty()) b.note = "FAILED alone: " + b.alone.failed;
    b.tills = withTills(load, [&] {
        b.beside = runPhase(c, operation, b.watched);
        return std::pair{b.beside.from / 1000, b.beside.to / 1000};
    });
    if (!b.beside.failed.empty()) b.note += (b.note.empty() ? "" : "; ") + ("FAILED beside: " + b.beside.failed);
    if (!b.tills.firstError.empty()) b.note += (b.note.empty() ? "" : "; ") + b.tills.firstError;
    writeTrace(c, window + " " + what + " | " + b.journal + " | " + load.name + " load | beside the tills", b.beside,
               b.tills.seen);
    std::vector<Event>().swap(b.beside.events);
    std::vector<Till_Commit>().swap(b.tills.seen);
    b.yardstickSpan = std::clamp(b.beside.took, 2.0, c.s.quick ? 2.0 : kLongestYardstick);
    b.yardLoadStart = loadAverage();
    long long from = 0;
    b.yardstick = tillsAlone(load, b.yardstickSpan, from);
    b.yardLoadEnd = loadAverage();
    if (!b.yardstick.firstError.empty()) b.note += (b.note.empty() ? "" : "; ") + b.yardstick.firstError;
    printBeside(b);
    return b;
}

Beside measure(const Run_Context& c, const Till_Load& load, const std::string& window, const std::string& what,
               const std::function<void()>& operation) {
    return measure(c, load, window, what, operation, [&] { return runPhase(c, operation, window == "7038"); });
}

// An operation on a copy of the database, with the tills on that copy; alone
// on a copy of its own.
Beside measureOnCopy(const Run_Context& c, const Till_Load& load, const Target& db, const std::string& window,
                     const std::string& what, const std::function<void()>& prepare,
                     const std::function<void()>& operation) {
    Phase alone;
    onCopy(db, "alone_" + window, prepare, [&] {
        ::sync();  // the copy on the disk before the clock starts
        alone = runPhase(c, operation, window == "7038");
        return alone.took;
    });
    Beside b;
    onCopy(db, "terminal_" + window, prepare, [&] {
        b = measure(c, load, window, what, operation, [&] { return alone; });
        return b.beside.took;
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

// ------------------------------------------------- the yardstick's own spread

// The tills alone, nothing else about, for `span` s: their longest wait in
// each stretch as long as a short window takes (2 s) and as the settlement
// (20 s), stretches with no commit left out, and in how many ordered pairs
// of them the first's is over 1.5 times the second's: how often the tills
// beside an operation would seem kept waiting by it with the operation doing
// nothing. Then a plain reader's small reads beside the tills, and without
// them: what the tills' own commits cost a reader.
void printSpread(const Till_Load& load, double span) {
    const auto rs = Conn_Main->openRecordset("select max(ID) from Record_XF");
    const long long top = rs->eof() || rs->field(0).isNull() ? 1 : std::max<long long>(1, rs->field(0).toInt64());
    PlainClient reader(strCN);
    constexpr long long kIds = 200;
    const auto readFor = [&reader, top](double secs) {
        std::vector<double> took;
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(secs);
        for (long long i = 0; std::chrono::steady_clock::now() < end; ++i) {
            const long long from = i * 7919 * kIds % top;  // apart, so that the reads are not of one cached page
            const auto t = std::chrono::steady_clock::now();
            reader.read("select count(*), sum(YuE_Change) from Record_XF where ID >= " + std::to_string(from) +
                        " and ID < " + std::to_string(from + kIds));
            took.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count() * 1000);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        std::sort(took.begin(), took.end());
        return took;
    };
    long long from = 0;
    const Tills_Outcome tills = tillsAlone(load, span, from);
    std::printf("\n%s load, the tills alone for %.0f s (%ld commits, %ld failed%s%s):\n", load.name.c_str(), span,
                tills.commits, tills.failures, tills.firstError.empty() ? "" : "; ", tills.firstError.c_str());
    for (const double stretch : {2.0, 20.0}) {
        const auto count = static_cast<std::size_t>(span / stretch);
        std::vector<double> longest(count, -1);  // -1: no commit in it
        for (const Till_Commit& t : tills.seen) {
            const auto k = static_cast<std::size_t>(std::max(0.0, static_cast<double>(t.at - from) / 1e6 / stretch));
            if (k < count) longest[k] = std::max(longest[k], static_cast<double>(t.waited) / 1e6);
        }
        std::erase(longest, -1.0);
        if (longest.size() < 2) {
            std::printf("  %.0f s stretches: fewer than two with a commit\n", stretch);
            continue;
        }
        long over = 0, pairs = 0;
        for (std::size_t a = 0; a < longest.size(); ++a)
            for (std::size_t b = 0; b < longest.size(); ++b)
                if (a != b) ++pairs, over += longest[a] > 1.5 * longest[b];
        std::sort(longest.begin(), longest.end());
        std::printf("  longest wait in each %.0f s (%zu of %zu with a commit): least %.3f, median %.3f, most %.3f s; "
                    "the first's over 1.5 times the second's in %.0f%% of ordered pairs\n",
                    stretch, longest.size(), count, longest.front(), longest[longest.size() / 2], longest.back(),
                    100.0 * static_cast<double>(over) / static_cast<double>(pairs));
    }
    std::vector<double> beside;
    withTills(load, [&] {
        const long long at = monotonicMicros();
        beside = readFor(20);
        return std::pair{at, monotonicMicros()};
    });
    const std::vector<double> alone = readFor(10);
    const auto said = [](const std::vector<double>& ms) {
        if (ms.empty()) return std::string("none");
        double sum = 0;
        for (const double v : ms) sum += v;
        char text[160];
        std::snprintf(text, sizeof text, "%zu reads, mean %.2f ms, median %.2f, 99th pct %.2f, longest %.1f ms",
                      ms.size(), sum / static_cast<double>(ms.size()), ms[ms.size() / 2], ms[ms.size() * 99 / 100],
                      ms.back());
        return std::string(text);
    };
    std::printf("  a plain reader summing the rows of 200 IDs every 5 ms: beside the tills %s; alone %s\n",
                said(beside).c_str(), said(alone).c_str());
    std::fflush(stdout);
}

std::vector<Beside> underLoad(const Run_Context& c, const Till_Load& load, const Target& db) {
    const Settings& s = c.s;
    std::vector<Beside> lines;
    std::printf("\n%s load: %s\n", load.name.c_str(), load.text.c_str());
    std::fflush(stdout);
    const std::string clock = timed().clock;
    if (s.wants("7032"))
        lines.push_back(
            measure(c, load, "7032", "every summary report, 3 months", [&] { runSummaryReports(s.from, s.to); }));
    if (s.wants("7034"))
        lines.push_back(measure(c, load, "7034", "detail, every department, a quarter", [&] { runDetail(s.from, s.to); }));
    if (s.wants("7030"))
        lines.push_back(
            measureOnCopy(c, load, db, "7030", "ID grant, every employee", prepareIdGrant, [] { runIdGrant(); }));
    if (s.wants("7031"))
        lines.push_back(measureOnCopy(c, load, db, "7031", "month-end clearing, every employee", prepareIdInstallation,
                                      [] { runMonthEndClearing([](const std::function<void()>& clear) { clear(); }); }));
    if (s.wants("7040"))
        lines.push_back(measureOnCopy(c, load, db, "7040", "ID balance clearing, every card", prepareIdInstallation,
                                      [] { runIdClearing([](const std::function<void()>& clear) { clear(); }); }));
    timed().clock = "2027-06-01 10:00:00";  // the quarter lies far enough back to settle
    if (s.wants("7038"))
        lines.push_back(measureOnCopy(c, load, db, "7038", "IC settlement before 2026-11-01", [] {},
                                      [] { runIcSettlement("2026-11-01"); }));
    if (s.wants("7036"))
        lines.push_back(measureOnCopy(c, load, db, "7036", "IC balances with the correction, every employee", [] {},
                                      runIcCorrection));
    timed().clock = clock;
    // Asked for by name only: two minutes of the tills alone.
    if (std::find(s.only.begin(), s.only.end(), "spread") != s.only.end()) printSpread(load, s.quick ? 20 : 120);
    return lines;
}

std::string holdCell(const Trace_Summary& t) {
    if (t.holds == 0) return "-";
    char cell[128];
    std::snprintf(cell, sizeof cell, "%.4f (%.4f / %.4f / %s)", t.longest, t.longestWrites, t.longestCommit,
                  t.longestCopy < 0 ? "-" : seconds3(t.longestCopy).c_str());
    return cell;
}

void printTables(const Terminal_Settings& ts, const std::vector<Beside>& lines) {
    std::printf("\nTills of another maker (the engine's own library, its standard busy timeout) beside each "
                "operation, and alone for as long (2 s to %.0f s)%s. Loads: ",
                kLongestYardstick, ts.busy ? ", with the busy load beside the whole run" : "");
    for (std::size_t i = 0; i < ts.loads.size(); ++i)
        std::printf("%s%s: %s", i ? "; " : "", ts.loads[i].c_str(), tillLoad(ts.loads[i]).text.c_str());
    std::printf(".\n\n| window | operation | engine | load | operation s alone | operation s beside the tills | ratio "
                "| till commits beside it | tills' longest wait beside it s | tills alone for as long s | till waits "
                "over 0.5 s / over 1 s beside it | failed till writes beside it / alone | longest without a yield "
                "alone s | notes |\n|---|---|---|---|--:|--:|--:|--:|--:|--:|--:|--:|--:|---|\n");
    for (const Beside& b : lines)
        std::printf("| %s | %s | %s | %s | %.3f | %.3f | %s | %ld | %s | %s | %ld / %ld | %ld / %ld | %s | %s |\n",
                    b.window.c_str(), b.what.c_str(), b.journal.c_str(), b.load.c_str(), b.alone.took, b.beside.took,
                    ratioText(b).c_str(), b.tills.commits, waitCell(b.tills).c_str(), waitCell(b.yardstick).c_str(),
                    b.tills.over05,
                    b.tills.over1, b.tills.failures, b.yardstick.failures,
                    b.watched ? seconds3(b.alone.stretch).c_str() : "", b.note.c_str());
    std::printf("\nThe operation's holds of the write lock (locked to committed) and the gaps it left, from its own "
                "trace; the longest hold split into writes / commit / copy-back after it\n\n| window | load | run | "
                "load average start -> end | holds | longest hold s (writes / commit / copy-back) | 99th pct hold s | "
                "gaps | gaps in all s | longest gap s | mean gap s | lock held, share of the time |\n"
                "|---|---|---|---|--:|--:|--:|--:|--:|--:|--:|--:|\n");
    for (const Beside& b : lines)
        for (const auto& [run, p] : {std::pair<const char*, const Phase*>{"alone", &b.alone}, {"beside", &b.beside}}) {
            const Trace_Summary& t = p->trace;
            std::printf("| %s | %s | %s | %.2f -> %.2f | %ld | %s | %.4f | %ld | %.3f | %.4f | %.4f | %.1f%%%s |\n",
                        b.window.c_str(), b.load.c_str(), run, p->loadStart, p->loadEnd, t.holds, holdCell(t).c_str(),
                        t.p99, t.gaps, t.gapTotal, t.gapLongest, t.gapMean, 100 * t.share,
                        t.dropped ? " (trace full)" : "");
        }
    std::fflush(stdout);
}

}  // namespace

bool isTillLoad(const std::string& name) { return name == "harsh" || name == "lunch" || name == "quiet"; }

int benchBesideTerminal(const Settings& s, const Target& db, const Terminal_Settings& t) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> trace(nullptr, std::fclose);
    if (!t.traceFile.empty()) {
        trace.reset(std::fopen(t.traceFile.c_str(), "w"));
        if (!trace) throw std::runtime_error("cannot write the trace to " + t.traceFile);
        std::fprintf(trace.get(), "# The module's write events and the tills' commits, seconds from each run's "
                                  "start\n\n");
    }
    const Run_Context c{s, trace.get()};
    std::vector<Beside> lines;
    for (const std::string& name : t.loads) {
        const std::vector<Beside> some = underLoad(c, tillLoad(name), db);
        lines.insert(lines.end(), some.begin(), some.end());
    }
    printTables(t, lines);
    int failed = 0;
    for (const Beside& b : lines) failed += !b.alone.failed.empty() || !b.beside.failed.empty();
    return failed;
}

}  // namespace tolvenk::bench
