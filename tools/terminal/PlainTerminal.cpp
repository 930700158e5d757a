#include "terminal/PlainTerminal.h"

#include <libpq-fe.h>
#include <sqlite3.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "terminal/TillClock.h"

namespace tolvenk::terminal {

namespace {

// What a till knows of its card, and what it books next.
struct Card {
    std::int64_t person = 0, lng = 0, kind = 0;
};
struct Last {
    std::int64_t balance = 0, serial = 0, times = 0;
};

// One engine's session, as another maker's till holds it.
class Session {
public:
    virtual ~Session() = default;
    virtual Card card(const std::string& number) = 0;
    // begin, lock, read the card's last row
    virtual Last begin(const std::string& number) = 0;
    virtual void insert(const std::vector<std::string>& values) = 0;
    virtual void debit(const std::string& number) = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
};

const char* const kInsert =
    "insert into Record_XF(Mach_ID,Pinfo_id,Card_No_Lng,C_LeiBie,XF_Dian_ID,XF_Type,XF_Meal,YuE_Old,YuE_Change,"
    "YuE_New,Card_LiuShui,Mach_LiuShui,Date_Time,Card_No,YuCi_Change,Operator_id,XF_Unit,YuCi_New,Err_Code,Rec_Time) "
    "values(";
// Which of the insert's values are numbers; the others are text.
const bool kNumber[] = {true, true, true, true, true, true, true, true, true, true, true, true, false, false,
                        true, true, true, true, true, false};

// The engine's own library with its standard busy timeout: it sleeps between
// tries, up to 100 ms, as any program on it does.
class FileSession : public Session {
public:
    explicit FileSession(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            const std::string why = db_ ? sqlite3_errmsg(db_) : "cannot open";
            sqlite3_close(db_);
            throw std::runtime_error(why);
        }
        sqlite3_busy_timeout(db_, 60000);
    }
    ~FileSession() override { sqlite3_close_v2(db_); }
    Card card(const std::string& number) override {
        Card c;
        if (!row("select Pinfo_id,Card_No_Lng,C_LeiBie from Card_Info where Card_No=?", {number},
                 {&c.person, &c.lng, &c.kind}))
            throw std::runtime_error("no card " + number);
        return c;
    }
    Last begin(const std::string& number) override {
        exec("BEGIN IMMEDIATE");
        Last l;
        row("select YuE_New,Card_LiuShui,YuCi_New from Record_XF where Card_No=? order by Card_LiuShui desc, ID "
            "desc limit 1",
            {number}, {&l.balance, &l.serial, &l.times});
        return l;
    }
    void insert(const std::vector<std::string>& values) override {
        std::string sql = kInsert;
        for (std::size_t i = 0; i < values.size(); ++i) sql += std::string(i ? "," : "") + "?";
        run(sql + ")", values);
    }
    void debit(const std::string& number) override {
        run("update Card_Info set C_YuE_ID = C_YuE_ID - 1 where Card_No=?", {number});
    }
    void commit() override { exec("COMMIT"); }
    void rollback() override {
        if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }

private:
    void exec(const char* sql) {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(db_));
    }
    sqlite3_stmt* prepare(const std::string& sql, const std::vector<std::string>& values) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
        for (std::size_t i = 0; i < values.size(); ++i)
            sqlite3_bind_text(st, static_cast<int>(i + 1), values[i].c_str(), -1, SQLITE_TRANSIENT);
        return st;
    }
    void run(const std::string& sql, const std::vector<std::string>& values) {
        sqlite3_stmt* st = prepare(sql, values);
        const int rc = sqlite3_step(st);
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db_));
    }
    bool row(const std::string& sql, const std::vector<std::string>& values, const std::vector<std::int64_t*>& out) {
        sqlite3_stmt* st = prepare(sql, values);
        const int rc = sqlite3_step(st);
        if (rc == SQLITE_ROW)
            for (std::size_t i = 0; i < out.size(); ++i) *out[i] = sqlite3_column_int64(st, static_cast<int>(i));
        sqlite3_finalize(st);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db_));
        return rc == SQLITE_ROW;
    }
    sqlite3* db_ = nullptr;
};

// The server's own client library: the till locks its card's row.
class ServerSession : public Session {
public:
    explicit ServerSession(const std::string& conninfo) : pg_(PQconnectdb(conninfo.c_str())) {
        if (PQstatus(pg_) != CONNECTION_OK) {
            const std::string why = PQerrorMessage(pg_);
            PQfinish(pg_);
            throw std::runtime_error(why);
        }
        PQsetNoticeProcessor(pg_, [](void*, const char*) {}, nullptr);
    }
    ~ServerSession() override { PQfinish(pg_); }
    Card card(const std::string& number) override {
        Card c;
        if (!row("select Pinfo_id,Card_No_Lng,C_LeiBie from Card_Info where Card_No=$1", {number},
                 {&c.person, &c.lng, &c.kind}))
            throw std::runtime_error("no card " + number);
        return c;
    }
    Last begin(const std::string& number) override {
        run("begin", {});
        row("select ID from Card_Info where Card_No=$1 for update", {number}, {});
        Last l;
        row("select YuE_New,Card_LiuShui,YuCi_New from Record_XF where Card_No=$1 order by Card_LiuShui desc, ID "
            "desc limit 1",
            {number}, {&l.balance, &l.serial, &l.times});
        return l;
    }
    void insert(const std::vector<std::string>& values) override {
        std::string sql = kInsert;
        for (std::size_t i = 0; i < values.size(); ++i)
            sql += std::string(i ? "," : "") + "$" + std::to_string(i + 1) + (kNumber[i] ? "::bigint" : "");
        run(sql + ")", values);
    }
    void debit(const std::string& number) override {
        run("update Card_Info set C_YuE_ID = C_YuE_ID - 1 where Card_No=$1", {number});
    }
    void commit() override { run("commit", {}); }
    void rollback() override {
        if (PQtransactionStatus(pg_) != PQTRANS_IDLE) PQclear(PQexec(pg_, "rollback"));
    }

private:
    PGresult* exec(const std::string& sql, const std::vector<std::string>& values) {
        std::vector<const char*> v;
        for (const std::string& s : values) v.push_back(s.c_str());
        PGresult* r = PQexecParams(pg_, sql.c_str(), static_cast<int>(v.size()), nullptr, v.data(), nullptr, nullptr, 0);
        const auto status = PQresultStatus(r);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
            const std::string why = PQerrorMessage(pg_);
            PQclear(r);
            throw std::runtime_error(why);
        }
        return r;
    }
    void run(const std::string& sql, const std::vector<std::string>& values) { PQclear(exec(sql, values)); }
    bool row(const std::string& sql, const std::vector<std::string>& values, const std::vector<std::int64_t*>& out) {
        PGresult* r = exec(sql, values);
        const bool found = PQntuples(r) > 0;
        if (found)
            for (std::size_t i = 0; i < out.size(); ++i)
                *out[i] = PQgetisnull(r, 0, static_cast<int>(i)) ? 0 : std::stoll(PQgetvalue(r, 0, static_cast<int>(i)));
        PQclear(r);
        return found;
    }
    PGconn* pg_;
};

}  // namespace

Result runPlain(const Options& o, const std::function<bool()>& stop,
                const std::function<void(std::int64_t, std::int64_t)>& onCommit,
                const std::function<void(const std::string&)>& onError) {
    std::unique_ptr<Session> s;
    if (!o.plainFile.empty()) s = std::make_unique<FileSession>(o.plainFile);
    else s = std::make_unique<ServerSession>(o.plainServer);
    const Card card = s->card(o.card);
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
            const Last last = s->begin(o.card);
            const std::string when = o.date.empty() ? nowText() : o.date;
            const auto n = [](std::int64_t v) { return std::to_string(v); };
            s->insert({n(o.mach), n(card.person), n(card.lng), n(card.kind), "1", "1", "2", n(last.balance), "-1",
                       n(last.balance - 1), n(last.serial + 1), n(r.commits + 1), when, o.card, "0", "0", "1",
                       n(last.times), "0", when});
            if (o.debitIdBalance) s->debit(o.card);
            s->commit();
            ++r.commits;
            const std::int64_t waited =
                std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
            r.longestWaitMicros = std::max(r.longestWaitMicros, waited);
            onCommit(r.commits, waited);
        } catch (const std::exception& e) {
            ++r.failures;
            try {
                s->rollback();
            } catch (const std::exception&) {
            }
            onError(e.what());
        }
        pauseUnless(pauseFor(), stop);
    }
    return r;
}

}  // namespace tolvenk::terminal
