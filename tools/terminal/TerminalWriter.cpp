#include "terminal/TerminalWriter.h"

#include <time.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <random>
#include <stdexcept>

#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/PgProvider.h"
#include "platform/db/SqlText.h"
#include "terminal/TillClock.h"

namespace tolvenk::terminal {

void usePlainLibrary(Options& o) {
    const db::ConnectionString cs(o.db);
    if (cs.kind() != db::ConnectionString::Kind::Server) {
        o.plainFile = cs.filePath();
        return;
    }
    const db::ServerTarget t = db::serverTarget(cs);
    // libpq's own quoting: a value in single quotes, its quotes and backslashes escaped.
    const auto add = [&](const char* key, const std::string& v) {
        if (v.empty()) return;
        std::string q;
        for (char c : v) q += c == '\'' || c == '\\' ? std::string("\\") + c : std::string(1, c);
        o.plainServer += std::string(o.plainServer.empty() ? "" : " ") + key + "='" + q + "'";
    };
    add("host", t.host);
    add("port", t.port);
    add("dbname", t.database);
    add("user", t.user);
    add("password", t.password);
}

Result run(const Options& o, const std::function<bool()>& stop,
           const std::function<void(std::int64_t, std::int64_t)>& onCommit,
           const std::function<void(const std::string&)>& onError) {
    db::Connection con;
    con.open(o.db);
    con.setCommandTimeout(60);
    const std::string card = sqlEscape(o.card);
    const auto info =
        con.openRecordset("select Pinfo_id, Card_No_Lng, C_LeiBie from Card_Info where Card_No='" + card + "'");
    if (info->eof()) throw std::runtime_error("no card " + o.card);
    const std::int64_t person = info->field("Pinfo_id").toInt64(), lng = info->field("Card_No_Lng").toInt64(),
                       kind = info->field("C_LeiBie").toInt64();
    const bool server = o.db.find("SQLOLEDB") != std::string::npos;
    Result r;
    // Customers come at random: the time to the next one is exponential
    // about the mean, cut at ten means so that a run always writes.
    std::mt19937 random(static_cast<unsigned>(o.mach));
    std::exponential_distribution<double> nextCustomer(1.0);
    const auto pauseFor = [&] {
        if (!o.randomPause) return o.pauseMicros;
        return static_cast<int>(std::min(10.0, nextCustomer(random)) * o.pauseMicros);
    };
    while (!stop()) {
        const auto start = std::chrono::steady_clock::now();
        try {
            // A terminal knows nothing of the module's own lock: on a file it
            // takes the file's write lock, on a server the row of its card.
            if (server) con.beginTrans();
            else con.beginWriteTrans();
            con.lockRows("Card_Info", "Card_No='" + card + "'");
            const auto last = con.openRecordset(
                "select top 1 YuE_New, Card_LiuShui, YuCi_New from Record_XF where Card_No='" + card +
                "' order by Card_LiuShui desc, ID desc");
            const std::int64_t balance = last->eof() ? 0 : last->field("YuE_New").toInt64();
            const std::int64_t cardSerial = last->eof() ? 1 : last->field("Card_LiuShui").toInt64() + 1;
            const std::int64_t times = last->eof() ? 0 : last->field("YuCi_New").toInt64();
            const std::string when = o.date.empty() ? nowText() : o.date;
            con.execute(
                "insert into Record_XF(Mach_ID,Pinfo_id,Card_No_Lng,C_LeiBie,XF_Dian_ID,XF_Type,XF_Meal,YuE_Old,"
                "YuE_Change,YuE_New,Card_LiuShui,Mach_LiuShui,Date_Time,Card_No,YuCi_Change,Operator_id,XF_Unit,"
                "YuCi_New,Err_Code,Rec_Time) values(?,?,?,?,1,1,2,?,-1,?,?,?,?,?,0,0,1,?,0,?)",
                {db::Value(std::int64_t{o.mach}), db::Value(person), db::Value(lng), db::Value(kind),
                 db::Value(balance), db::Value(balance - 1), db::Value(cardSerial), db::Value(r.commits + 1),
                 db::Value(when), db::Value(o.card), db::Value(times), db::Value(when)});
            if (o.debitIdBalance)
                con.execute("update Card_Info set C_YuE_ID = C_YuE_ID - 1 where Card_No='" + card + "'");
            con.commitTrans();
            ++r.commits;
            const std::int64_t waited =
                std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
            if (waited > r.longestWaitMicros) r.longestWaitMicros = waited;
            onCommit(r.commits, waited);
        } catch (const std::exception& e) {
            ++r.failures;
            if (con.inTransaction()) {
                try {
                    con.rollbackTrans();
                } catch (const std::exception&) {
                }
            }
            onError(e.what());
        }
        pauseUnless(pauseFor(), stop);
    }
    return r;
}

}  // namespace tolvenk::terminal
