#include "support/Terminal.h"

#include <time.h>

#include <chrono>
#include <stdexcept>

#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "support/TestDb.h"

namespace tolvenk::test {

namespace {

std::string nowText() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

void pause(int micros) {
    timespec ts{micros / 1000000, static_cast<long>(micros % 1000000) * 1000};
    while (::nanosleep(&ts, &ts) != 0) {
    }
}

}  // namespace

// The terminal itself: one row per transaction, the chain read and written
// under the engine's write lock, waiting (never failing) while another
// writer holds it.
TOLVENK_PEER_JOB(Terminal) {
    db::Connection con;
    con.open(peer.arg("db"));
    con.setCommandTimeout(60);
    const std::string card = sqlEscape(peer.arg("card"));
    const int mach = std::stoi(peer.arg("mach"));
    const int pauseMicros = std::stoi(peer.arg("pause"));
    const bool debitId = peer.arg("debit_id") == "1";
    const std::string fixedDate = peer.arg("date", "");
    const auto info = con.openRecordset("select Pinfo_id, Card_No_Lng, C_LeiBie from Card_Info where Card_No='" +
                                        card + "'");
    if (info->eof()) throw std::runtime_error("no card " + peer.arg("card"));
    const std::int64_t person = info->field("Pinfo_id").toInt64(), lng = info->field("Card_No_Lng").toInt64(),
                       kind = info->field("C_LeiBie").toInt64();
    std::int64_t serial = 0, failures = 0, longest = 0;
    while (!peer.finishRequested()) {
        const auto start = std::chrono::steady_clock::now();
        try {
            con.beginWriteTrans();
            const auto last = con.openRecordset(
                "select top 1 YuE_New, Card_LiuShui, YuCi_New from Record_XF where Card_No='" + card +
                "' order by Card_LiuShui desc, ID desc");
            const std::int64_t balance = last->eof() ? 0 : last->field("YuE_New").toInt64();
            const std::int64_t cardSerial = last->eof() ? 1 : last->field("Card_LiuShui").toInt64() + 1;
            const std::int64_t times = last->eof() ? 0 : last->field("YuCi_New").toInt64();
            const std::string when = fixedDate.empty() ? nowText() : fixedDate;
            con.execute(
                "insert into Record_XF(Mach_ID,Pinfo_id,Card_No_Lng,C_LeiBie,XF_Dian_ID,XF_Type,XF_Meal,YuE_Old,"
                "YuE_Change,YuE_New,Card_LiuShui,Mach_LiuShui,Date_Time,Card_No,YuCi_Change,Operator_id,XF_Unit,"
                "YuCi_New,Err_Code,Rec_Time) values(?,?,?,?,1,1,2,?,-1,?,?,?,?,?,0,0,1,?,0,?)",
                {db::Value(std::int64_t{mach}), db::Value(person), db::Value(lng), db::Value(kind), db::Value(balance),
                 db::Value(balance - 1), db::Value(cardSerial), db::Value(serial + 1), db::Value(when),
                 db::Value(peer.arg("card")), db::Value(times), db::Value(when)});
            if (debitId) con.execute("update Card_Info set C_YuE_ID = C_YuE_ID - 1 where Card_No='" + card + "'");
            con.commitTrans();
            ++serial;
            const auto waited =
                std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
            if (waited > longest) longest = waited;
            peer.report("C " + std::to_string(serial));
        } catch (const std::exception& e) {
            ++failures;
            if (con.inTransaction()) {
                try {
                    con.rollbackTrans();
                } catch (const std::exception&) {
                }
            }
            peer.report(std::string("E ") + e.what());
        }
        pause(pauseMicros);
    }
    peer.report("END " + std::to_string(serial) + " " + std::to_string(failures) + " " + std::to_string(longest));
    return failures == 0 ? 0 : 1;
}

Terminal::Terminal(const std::string& connectionString, const TerminalOptions& o)
    : peer_("Terminal", {{"db", connectionString},
                         {"card", o.card},
                         {"mach", std::to_string(o.mach)},
                         {"pause", std::to_string(o.pauseMicros)},
                         {"debit_id", o.debitIdBalance ? "1" : "0"},
                         {"date", o.date}}) {}

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
