#include "support/Terminal.h"

#include <stdexcept>

#include "platform/db/DbError.h"
#include "support/TestDb.h"
#include "terminal/PlainTerminal.h"

namespace tolvenk::test {

// The terminal itself, in the peer process.
TOLVENK_PEER_JOB(Terminal) {
    terminal::Options o;
    o.db = peer.arg("db");
    o.card = peer.arg("card");
    o.mach = std::stoi(peer.arg("mach"));
    o.pauseMicros = std::stoi(peer.arg("pause"));
    o.debitIdBalance = peer.arg("debit_id") == "1";
    o.date = peer.arg("date", "");
    o.randomPause = peer.arg("random", "0") == "1";
    const bool plain = peer.arg("plain", "0") == "1";
    if (plain) terminal::usePlainLibrary(o);
    const terminal::Result r = (plain ? terminal::runPlain : terminal::run)(
        o, [&] { return peer.finishRequested(); },
        [&](std::int64_t serial, std::int64_t) { peer.report("C " + std::to_string(serial)); },
        [&](const std::string& e) { peer.report("E " + e); });
    peer.report("END " + std::to_string(r.commits) + " " + std::to_string(r.failures) + " " +
                std::to_string(r.longestWaitMicros));
    return r.failures == 0 ? 0 : 1;
}

Terminal::Terminal(const std::string& connectionString, const TerminalOptions& o)
    : peer_("Terminal", {{"db", connectionString},
                         {"card", o.card},
                         {"mach", std::to_string(o.mach)},
                         {"pause", std::to_string(o.pauseMicros)},
                         {"debit_id", o.debitIdBalance ? "1" : "0"},
                         {"date", o.date},
                         {"plain", o.plain ? "1" : "0"},
                         {"random", o.randomly ? "1" : "0"}}) {}

void Terminal::take(const std::string& line) {
    if (line.rfind("C ", 0) == 0) serials_.push_back(std::stoll(line.substr(2)));
    else if (line.rfind("E ", 0) == 0 || line.rfind("FAIL", 0) == 0) report_.errors.push_back(line);
}

void Terminal::waitForCommits(std::size_t n) {
    while (serials_.size() < n) {
        const std::string line = peer_.readLine();
        if (line.empty() && peer_.lines().empty()) throw std::runtime_error("the terminal ended before it wrote");
        if (line.rfind("END", 0) == 0 || line.rfind("FAIL", 0) == 0)
            throw std::runtime_error("the terminal ended early: " + line);
        take(line);
    }
}

TerminalReport Terminal::finish() {
    peer_.finish();
    for (;;) {
        const std::string line = peer_.readLine();
        if (line.rfind("END ", 0) == 0) {
            std::size_t a = 4, b = line.find(' ', a), c = line.find(' ', b + 1);
            report_.failures = std::stoi(line.substr(b + 1, c - b - 1));
            report_.longestWaitMicros = std::stoll(line.substr(c + 1));
            break;
        }
        if (line.empty()) {
            report_.errors.push_back("the terminal ended without its report");
            ++report_.failures;
            break;
        }
        take(line);
    }
    peer_.wait();
    report_.serials = serials_;
    return report_;
}

std::string terminalRowsProblem(db::Connection& con, const TerminalOptions& o, const TerminalReport& r) {
    const std::string where = "from Record_XF where Mach_ID=" + std::to_string(o.mach);
    const std::int64_t rowsThere = number(con, "select count(*) " + where);
    const std::int64_t distinct = number(con, "select count(distinct Mach_LiuShui) " + where);
    if (rowsThere != static_cast<std::int64_t>(r.serials.size()) || distinct != rowsThere)
        return "the terminal committed " + std::to_string(r.serials.size()) + " rows; the table holds " +
               std::to_string(rowsThere) + " of its rows, " + std::to_string(distinct) + " distinct";
    if (!r.serials.empty() &&
        number(con, "select count(*) " + where + " and Mach_LiuShui between 1 and " +
                        std::to_string(r.serials.back())) != rowsThere)
        return "rows of the terminal with serials it never committed";
    return "";
}

std::string integrity(db::Connection& con) {
    if (con.connectionString().find("SQLOLEDB") != std::string::npos) return "ok";
    return text(con, "PRAGMA integrity_check");
}

}  // namespace tolvenk::test
