#include "platform/db/PgProvider.h"

#include <libpq-fe.h>
#include <poll.h>
#include <pwd.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <charconv>
#include <cstring>
#include <list>
#include <map>
#include <mutex>
#include <vector>

#include "platform/ShownText.h"
#include "platform/db/AsciiCase.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/WriteTrace.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "platform/db/SqlTranslator.h"

namespace tolvenk::db {

namespace {

constexpr std::size_t kCacheLimit = 128;
constexpr const char* kConnectTimeout = "15";  // seconds; a server that does not answer is an error, not a hang

// Type numbers of the server's built-in types that arrive as numbers.
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700, kFloat8 = 701,
              kNumeric = 1700;

bool allDigits(const std::string& s) {
    if (s.empty()) return false;
    for (unsigned char c : s)
        if (!std::isdigit(c)) return false;
    return true;
}

std::string operatingSystemUser() {
    if (const passwd* pw = ::getpwuid(::geteuid())) return pw->pw_name;
    return {};
}

std::string trimmed(std::string s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
    return s;
}

// Names the module writes are plain words, which the server folds to lower
// case as it did when the tables were made; anything else is quoted.
std::string columnName(const std::string& name) {
    bool plain = !name.empty() && !std::isdigit(static_cast<unsigned char>(name[0]));
    for (unsigned char c : name) plain = plain && (std::isalnum(c) || c == '_');
    if (plain) return name;
    std::string out = "\"";
    for (char c : name) {
        out += c;
        if (c == '"') out += '"';
    }
    return out + "\"";
}

Value cellValue(const PGresult* res, int row, int col) {
    if (PQgetisnull(res, row, col)) return {};
    const char* text = PQgetvalue(res, row, col);
    switch (PQftype(res, col)) {
    case kInt2:
    case kInt4:
    case kInt8:
    case kOid: return Value(static_cast<std::int64_t>(std::strtoll(text, nullptr, 10)));
    case kBool: return Value(text[0] == 't' ? 1 : 0);
    case kFloat4:
    case kFloat8: return Value(std::strtod(text, nullptr));
    case kNumeric: {
        // Sums of whole numbers arrive as numeric; keep them whole, as the file engine does.
        // Every one that fits 64 bits, to the last: a sum near the largest
        // amount is still exact.
        const char* end = text + std::strlen(text);
        std::int64_t v = 0;
        if (const auto [at, ec] = std::from_chars(text, end, v); ec == std::errc() && at == end) return Value(v);
        return Value(std::strtod(text, nullptr));
    }
    default: return Value(std::string(text, static_cast<std::size_t>(PQgetlength(res, row, col))));
    }
}

// Whether the server ended the session while it was idle: a server that
// stops or ends a session sends its last words and closes the socket, and
// libpq notices only when it reads. Reads what is waiting without blocking.
bool sessionEnded(PGconn* conn) {
    for (int reads = 0; reads < 8 && PQstatus(conn) == CONNECTION_OK; ++reads) {
        pollfd waiting{PQsocket(conn), POLLIN, 0};
        if (waiting.fd < 0 || ::poll(&waiting, 1, 0) <= 0) break;
        if (!PQconsumeInput(conn)) break;
    }
    return PQstatus(conn) != CONNECTION_OK;
}

// The states a session ends with: the connection failed (08...), the server
// ended it (57P01 shutdown or terminated, 57P02 crash, 57P03 starting up).
bool sessionState(const std::string& state) {
    return state.rfind("08", 0) == 0 || state == "57P01" || state == "57P02" || state == "57P03";
}

}  // namespace

// ------------------------------------------------------------------ the target

// Data Source is the host, with an optional port written "host,port" (the
// classic form) or "host:port". "." and "(local)", an empty value, and with
// integrated security also "localhost", mean this machine's local socket,
// where the server can recognise the operating-system user (peer login). A
// path starting with '/' is a socket folder. Integrated security logs in as
// the operating-system user with no password.
ServerTarget serverTarget(const ConnectionString& cs) {
    ServerTarget t;
    t.dataSource = cs.get("data source");
    t.database = cs.get("initial catalog");
    const std::string integrated = cs.get("integrated security");
    t.integrated = equalsNoCase(integrated, "sspi") || equalsNoCase(integrated, "true") || equalsNoCase(integrated, "yes");

    std::string host = t.dataSource;
    if (host.size() > 4 && equalsNoCase(host.substr(0, 4), "tcp:")) host = host.substr(4);
    std::size_t cut = host.rfind(',');
    if (cut == std::string::npos && host.rfind(':') != std::string::npos && allDigits(host.substr(host.rfind(':') + 1)))
        cut = host.rfind(':');
    if (cut != std::string::npos) {
        t.port = host.substr(cut + 1);
        host = host.substr(0, cut);
        while (!host.empty() && host.back() == ' ') host.pop_back();
        while (!t.port.empty() && t.port.front() == ' ') t.port.erase(0, 1);
        if (!allDigits(t.port))
            throw DbError("Cannot open database '" + t.database + "' on server '" + t.dataSource +
                              "': the port '" + t.port + "' is not a number.",
                          3049);
    }
    if (host.find('\\') != std::string::npos)
        throw DbError("Cannot open database '" + t.database + "' on server '" + t.dataSource +
                          "': named server instances are not known here; write the server's port as host,port.",
                      3049);
    if (host == "." || equalsNoCase(host, "(local)") || (t.integrated && equalsNoCase(host, "localhost"))) host.clear();
    t.host = host;
    if (t.integrated) {
        t.user = operatingSystemUser();
    } else {
        t.user = cs.get("user id");
        t.password = cs.get("password");
    }
    return t;
}

// ------------------------------------------------------------------ results

class PgProvider::Result {
public:
    explicit Result(PGresult* r = nullptr) : r_(r) {}
    ~Result() { PQclear(r_); }
    Result(Result&& o) noexcept : r_(o.r_) { o.r_ = nullptr; }
    Result& operator=(Result&& o) noexcept {
        std::swap(r_, o.r_);
        return *this;
    }
    PGresult* get() const { return r_; }
    bool ok() const {
        const ExecStatusType s = PQresultStatus(r_);
        return s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK;
    }

private:
    PGresult* r_;
};

// ------------------------------------------------------------------ idle sessions

namespace {

// The services open a session per operation, and a new one costs the server
// its authentication and start-up (about 10 ms, more than most of a small
// report's statements). A session that ends idle is kept for the next one
// opened with the same parameters, and reset before it is handed out again.
struct IdleSessions {
    std::mutex lock;
    std::map<std::string, std::vector<PGconn*>> idle;
};
constexpr std::size_t kIdleKept = 4;

// Never destroyed: kept sessions end with the process.
IdleSessions& idleSessions() {
    static auto* sessions = new IdleSessions;
    return *sessions;
}

// A kept session for `key`, reset to how it started (settings, prepared
// statements, cursors, temporary tables); none when every kept one is gone
// (the server ended it meanwhile, say).
PGconn* takeIdle(const std::string& key) {
    for (;;) {
        PGconn* conn = nullptr;
        {
            IdleSessions& s = idleSessions();
            std::lock_guard<std::mutex> held(s.lock);
            auto& kept = s.idle[key];
            if (kept.empty()) return nullptr;
            conn = kept.back();
            kept.pop_back();
        }
        if (sessionEnded(conn)) {
            PQfinish(conn);
            continue;
        }
        PGresult* reset = PQexec(conn, "DISCARD ALL");
        const bool ok = reset && PQresultStatus(reset) == PGRES_COMMAND_OK;
        PQclear(reset);
        if (ok && PQtransactionStatus(conn) == PQTRANS_IDLE) return conn;
        PQfinish(conn);
    }
}

// Keeps a session that ends idle; ends any other.
void giveBack(const std::string& key, PGconn* conn) {
    if (!conn) return;
    if (!sessionEnded(conn) && PQtransactionStatus(conn) == PQTRANS_IDLE) {
        IdleSessions& s = idleSessions();
        std::lock_guard<std::mutex> held(s.lock);
        auto& kept = s.idle[key];
        if (kept.size() < kIdleKept) {
            kept.push_back(conn);
            return;
        }
    }
    PQfinish(conn);
}

}  // namespace

// ------------------------------------------------------------------ session

PgProvider::PgProvider(const ServerTarget& target, int commandTimeoutSeconds) {
    const std::string timeout = std::to_string(commandTimeoutSeconds > 0 ? commandTimeoutSeconds * 1000 : 0);
    const std::string options = "-c statement_timeout=" + timeout;
    std::vector<const char*> keys, values;
    std::list<std::string> held;  // the texts the pointers point into
    // A NUL in a name would end the message there: it is shown as \0.
    const auto shown = [](std::string v) {
        for (std::size_t at = v.find('\0'); at != std::string::npos; at = v.find('\0', at + 2)) v.replace(at, 1, "\\0");
        return v;
    };
    const std::string where = "database '" + shown(target.database) + "' on server '" + shown(target.dataSource) + "'";
    auto set = [&](const char* k, const std::string& v) {
        if (v.empty()) return;
        // The library reads each value up to its first NUL: what followed
        // would be dropped unseen, and a password cut short could log in.
        if (v.find('\0') != std::string::npos)
            throw DbError("Cannot open " + where + ": the connection's " + k + " holds a NUL character.", 3049);
        keys.push_back(k);
        values.push_back(held.emplace_back(v).c_str());
    };
    set("host", target.host);
    set("port", target.port);
    set("dbname", target.database);
    set("user", target.user);
    set("password", target.password);
    set("connect_timeout", kConnectTimeout);
    // A server that goes away in the middle of a statement is noticed within a minute or so.
    set("keepalives_idle", "30");
    set("keepalives_interval", "10");
    set("keepalives_count", "3");
    set("client_encoding", "UTF8");
    set("application_name", "Tolvenk");
    set("options", options);
    for (std::size_t i = 0; i < keys.size(); ++i) (key_ += keys[i]) += '=', (key_ += values[i]) += '\n';
    keys.push_back(nullptr);
    values.push_back(nullptr);
    if ((conn_ = takeIdle(key_))) {
        timeout_ = timeoutSent_ = commandTimeoutSeconds;
        return;
    }
    conn_ = PQconnectdbParams(keys.data(), values.data(), 0);
    if (!conn_ || PQstatus(conn_) != CONNECTION_OK) {
        const std::string reason = conn_ ? trimmed(PQerrorMessage(conn_)) : "out of memory";
        PQfinish(conn_);
        conn_ = nullptr;
        // A missing database is told apart as a missing file is on the file side.
        if (reason.find("database \"") != std::string::npos && reason.find("does not exist") != std::string::npos)
            throw DbError("Could not find " + where + ": " + reason, 3024);
        // Met in the middle of a run, no session is to be had: as lost as one that ended.
        throw DbError::lostConnection("Cannot open " + where + ": " + reason, 3049);
    }
    // The server's notices (an object that already exists, ...) are not the operator's business.
    PQsetNoticeProcessor(conn_, [](void*, const char*) {}, nullptr);
    timeout_ = timeoutSent_ = commandTimeoutSeconds;
}

PgProvider::~PgProvider() {
    // A kept session must not go on holding this one's locks while it idles.
    if (!heldLocks_.empty() && conn_) {
        PGresult* r = PQexec(conn_, "SELECT pg_advisory_unlock_all()");
        PQclear(r);
    }
    giveBack(key_, conn_);
}

void PgProvider::fail(PGresult* res, const std::string& context) {
    std::string msg;
    lastState_.clear();
    int number = 3146;
    if (res) {
        const char* primary = PQresultErrorField(res, PG_DIAG_MESSAGE_PRIMARY);
        msg = primary ? primary : trimmed(PQresultErrorMessage(res));
        const char* state = PQresultErrorField(res, PG_DIAG_SQLSTATE);
        lastState_ = state ? state : "";
        if (lastState_ == "25006") number = 3027;  // a read-only session or server
    }
    if (msg.empty()) msg = trimmed(PQerrorMessage(conn_));
    if (msg.empty()) msg = "the server did not answer";
    // 42P01: relation "x" does not exist.
    std::string table;
    if (lastState_ == "42P01") {
        const auto a = msg.find('"'), b = msg.find('"', a + 1);
        if (a != std::string::npos && b != std::string::npos) table = msg.substr(a + 1, b - a - 1);
        // The server folds the name; the statement has it as the module spells it.
        std::string lower = context;
        for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        const auto at = table.empty() ? std::string::npos : lower.find(table);
        if (at != std::string::npos) table = context.substr(at, table.size());
    }
    if (!context.empty()) msg += " [" + context + "]";
    if (!table.empty()) throw DbError::missingTable(msg, table);
    if (PQstatus(conn_) != CONNECTION_OK || sessionState(lastState_)) throw DbError::lostConnection(msg, number);
    // A read-only server is told in the clerk's words, as a read-only file is.
    if (number == 3027) throw DbError::told(platform::numberedText(1003, msg, {}), number);
    throw DbError(msg, number);
}

PgProvider::Result PgProvider::simple(const std::string& sql) {
    Result r(PQexec(conn_, sql.c_str()));
    if (!r.ok()) fail(r.get(), sql);
    return r;
}

PgProvider::Result PgProvider::waitedFor(const std::string& sql, const std::function<bool()>& waiting, bool& stopped) {
    if (!waiting) return simple(sql);
    if (!PQsendQuery(conn_, sql.c_str())) fail(nullptr, sql);
    while (PQconsumeInput(conn_) && PQisBusy(conn_)) {
        pollfd ready{PQsocket(conn_), POLLIN, 0};
        if (::poll(&ready, 1, 20) > 0) continue;
        if (stopped || waiting()) continue;
        stopped = true;
        // The window is gone: the server stops the statement, its error ends it.
        if (PGcancel* cancel = PQgetCancel(conn_)) {
            char why[256];
            PQcancel(cancel, why, sizeof why);
            PQfreeCancel(cancel);
        }
    }
    Result last;
    while (PGresult* r = PQgetResult(conn_)) last = Result(r);
    if (stopped) return Result();
    if (!last.get() || !last.ok()) fail(last.get(), sql);
    return last;
}

PgProvider::Statement& PgProvider::statement(const std::string& sql) {
    if (auto it = cache_.find(sql); it != cache_.end()) return it->second;
    Statement st;
    st.text = translateForPostgres(sql, &st.parameters);
    if (cache_.size() >= kCacheLimit) {
        bool prepared = false;
        for (const auto& [text, old] : cache_) prepared = prepared || !old.name.empty();
        if (prepared) simple("DEALLOCATE ALL");
        cache_.clear();
    }
    return cache_.emplace(sql, std::move(st)).first->second;
}

// One statement: sent with its text the first time; prepared once it comes
// again on this session, as the data services send the same texts often.
PgProvider::Result PgProvider::runOnce(Statement& st, const std::vector<Value>& params) {
    std::vector<std::string> texts(params.size());
    std::vector<const char*> ptrs(params.size());
    for (std::size_t i = 0; i < params.size(); ++i) {
        const Value& v = params[i];
        if (v.isNull()) {
            ptrs[i] = nullptr;
            continue;
        }
        // Sent as text, the server reads it as the column's type; numbers in
        // the form the file engine would store as text.
        texts[i] = v.toString();
        ptrs[i] = texts[i].c_str();
    }
    const int n = static_cast<int>(params.size());
    if (st.name.empty() && st.seen) {
        const std::string name = "tolvenk_" + std::to_string(++nextName_);
        Result prep(PQprepare(conn_, name.c_str(), st.text.c_str(), 0, nullptr));
        if (prep.ok()) st.name = name;
        else return prep;
    }
    st.seen = true;
    if (st.name.empty())
        return Result(PQexecParams(conn_, st.text.c_str(), n, nullptr, ptrs.data(), nullptr, nullptr, 0));
    return Result(PQexecPrepared(conn_, st.name.c_str(), n, ptrs.data(), nullptr, nullptr, 0));
}

PgProvider::Result PgProvider::run(const std::string& sql, const std::vector<Value>& params) {
    Statement& st = statement(sql);
    if (static_cast<int>(params.size()) != st.parameters) throw DbError("Wrong number of parameters [" + sql + "]");
    for (bool retried = false;; retried = true) {
        Result r;
        const bool prepared = !st.name.empty();
        try {
            runInSavepoint([&] {
                r = runOnce(st, params);
                if (!r.ok()) fail(r.get(), sql);
            });
            return r;
        } catch (const DbError&) {
            // A prepared text whose table changed shape under it: prepare it anew, once.
            if (retried || !prepared || lastState_ != "0A000") throw;
            simple("DEALLOCATE " + st.name);
            st.name.clear();
            st.seen = false;
        }
    }
}

void PgProvider::runInSavepoint(const std::function<void()>& work) {
    if (PQtransactionStatus(conn_) != PQTRANS_INTRANS) {
        work();
        return;
    }
    simple("SAVEPOINT tolvenk_statement");
    try {
        work();
    } catch (...) {
        // A failed statement ends only itself; the transaction goes on.
        Result back(PQexec(conn_, "ROLLBACK TO SAVEPOINT tolvenk_statement; RELEASE SAVEPOINT tolvenk_statement"));
        throw;
    }
    simple("RELEASE SAVEPOINT tolvenk_statement");
}

QueryResult PgProvider::query(const std::string& sql, const std::vector<Value>& params) {
    applyTimeout();
    Result r = run(sql, params);
    QueryResult out;
    PGresult* res = r.get();
    const int cols = PQnfields(res), rows = PQntuples(res);
    out.columns.reserve(static_cast<std::size_t>(cols));
    for (int c = 0; c < cols; ++c) out.columns.emplace_back(PQfname(res, c));
    out.rows.reserve(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        std::vector<Value> row;
        row.reserve(static_cast<std::size_t>(cols));
        for (int c = 0; c < cols; ++c) row.push_back(cellValue(res, i, c));
        out.rows.push_back(std::move(row));
    }
    return out;
}

namespace {
// Rows of a cursor's first FETCH, which also waits for the statement's start.
constexpr std::size_t kFirstRows = 100;
}  // namespace

// A server-side cursor in a transaction of its own, read a batch at a time.
// The first FETCH runs the statement (a grouped one its whole range): the
// server is waited on through its socket, the waiting function told meanwhile.
class PgProvider::Cursor : public CursorSource {
public:
    Cursor(PgProvider& p, std::string name, bool ownTransaction, Result first, bool stopped)
        : p_(p), name_(std::move(name)), own_(ownTransaction), first_(std::move(first)) {
        stopped_ = stopped;
    }
    ~Cursor() override {
        // The session may be gone with the server: nothing to give back then.
        Result close(PQexec(p_.conn_, ("CLOSE " + name_).c_str()));
        if (own_) Result end(PQexec(p_.conn_, "COMMIT"));
    }
    void setWaiting(std::function<bool()> waiting) override {
        waiting_ = waiting;
        CursorSource::setWaiting(std::move(waiting));
    }
    void fetch(std::vector<std::vector<Value>>& rows, std::size_t most) override {
        if (stopped_) return;
        Result r;
        if (first_.get()) {
            r = std::move(first_);
        } else {
            // A FETCH is one wait for the server: as many rows as it gives in
            // about the cursor's patience, a sparse filter's few, others' many.
            const auto asked = std::min(most, count_);
            const auto start = Clock::now();
            r = p_.waitedFor("FETCH " + std::to_string(asked) + " FROM " + name_, waiting_, stopped_);
            if (stopped_) return;
            const auto took = Clock::now() - start;
            if (took > RowCursor::patience()) count_ = std::max<std::size_t>(asked / 2, 1);
            else if (took < RowCursor::patience() / 4) count_ = std::min<std::size_t>(asked * 2, 1u << 16);
        }
        PGresult* res = r.get();
        const int cols = PQnfields(res), n = PQntuples(res);
        for (int i = 0; i < n; ++i) {
            std::vector<Value> row;
            row.reserve(static_cast<std::size_t>(cols));
            for (int c = 0; c < cols; ++c) row.push_back(cellValue(res, i, c));
            rows.push_back(std::move(row));
        }
    }

private:
    PgProvider& p_;
    std::string name_;
    bool own_;
    Result first_;
    std::function<bool()> waiting_;
    std::size_t count_ = kFirstRows;
};

std::unique_ptr<CursorSource> PgProvider::openCursor(const std::string& sql, std::vector<std::string>& columns,
                                                     const std::function<bool()>& waiting) {
    applyTimeout();
    const std::string text = statement(sql).text;
    const bool own = PQtransactionStatus(conn_) != PQTRANS_INTRANS;
    if (own) simple("BEGIN READ ONLY");
    const std::string name = "tolvenk_cursor_" + std::to_string(++nextName_);
    try {
        // A cursor is read to its end: planned for all its rows, as the
        // statement alone would be, not for a quick first tenth.
        simple("SET LOCAL cursor_tuple_fraction = 1");
        // Rows handed over as they come gain nothing from compiling the
        // statement first: for a company's quarter the compiling held the
        // first rows a quarter of a second.
        simple("SET LOCAL jit = off");
        simple("DECLARE " + name + " NO SCROLL CURSOR FOR " + text);
        // The first FETCH runs the statement (a grouped one its whole range):
        // its failure is the opening's, and a reader told meanwhile may stop it.
        bool stopped = false;
        Result first = waitedFor("FETCH " + std::to_string(kFirstRows) + " FROM " + name, waiting, stopped);
        columns.clear();
        if (stopped) {
            Result described(PQdescribePortal(conn_, name.c_str()));
            for (int c = 0; described.ok() && c < PQnfields(described.get()); ++c)
                columns.emplace_back(PQfname(described.get(), c));
        } else {
            for (int c = 0; c < PQnfields(first.get()); ++c) columns.emplace_back(PQfname(first.get(), c));
        }
        return std::make_unique<Cursor>(*this, name, own, std::move(first), stopped);
    } catch (...) {
        if (own) Result back(PQexec(conn_, "ROLLBACK"));
        throw;
    }
}

// The row identity is the row's physical place (ctid). It changes when the
// row is written, so an update hands back the new one; a row that another
// session changed meanwhile is no longer found, as with an optimistic lock.
bool PgProvider::queryForUpdate(const std::string& table, const std::string& head, const std::string& tail,
                                QueryResult& out) {
    const std::string sql = head + " ctid AS tolvenk_rowkey, * from " + table + tail;
    try {
        out = query(sql, {});
    } catch (const DbError&) {
        // No row identity here (a view): the caller reads it plainly. Other
        // failures (a missing table, a timeout) are the caller's to see.
        if (lastState_ != "42703") throw;
        return false;
    }
    out.columns.erase(out.columns.begin());
    out.rowKeys.reserve(out.rows.size());
    for (auto& row : out.rows) {
        out.rowKeys.push_back(row.front());
        row.erase(row.begin());
    }
    return true;
}

long long PgProvider::execute(const std::string& sql, const std::vector<Value>& params) {
    applyTimeout();
    Result r = run(sql, params);
    const char* n = PQcmdTuples(r.get());
    return n && *n && PQresultStatus(r.get()) == PGRES_COMMAND_OK ? std::atoll(n) : 0;
}

void PgProvider::executeScript(const std::string& sql) {
    applyTimeout();
    runInSavepoint([&] { simple(sql); });
}

// Sent as one script: one round trip and one savepoint, where each statement
// alone costs three round trips with its savepoint.
void PgProvider::executeEach(const std::vector<std::string>& statements) {
    std::string script;
    for (const std::string& sql : statements) {
        int parameters = 0;
        script += translateForPostgres(sql, &parameters) + ";";
        if (parameters != 0) throw DbError("Wrong number of parameters [" + sql + "]");
    }
    executeScript(script);
}

void PgProvider::insertRow(const std::string& table, const std::vector<std::string>& columns,
                           const std::vector<Value>& values) {
    execute(insertRowStatement(table, columns, columnName), values);
}

long long PgProvider::updateRow(const std::string& table, Value& rowKey, const std::vector<std::string>& columns,
                                const std::vector<Value>& values) {
    if (columns.empty()) return 0;
    std::string sql = "UPDATE " + columnName(table) + " SET ";
    for (std::size_t i = 0; i < columns.size(); ++i) sql += (i ? "," : "") + columnName(columns[i]) + "=?";
    sql += " WHERE ctid=? RETURNING ctid";
    std::vector<Value> params = values;
    params.push_back(rowKey);
    applyTimeout();
    Result r = run(sql, params);
    const int rows = PQntuples(r.get());
    if (rows == 1) rowKey = Value(std::string(PQgetvalue(r.get(), 0, 0)));
    return rows;
}

void PgProvider::begin() {
    if (inTransaction()) throw DbError("cannot start a transaction within a transaction");
    simple("BEGIN");
    askedWaiting_ = {};  // a new transaction asks at once
}

void PgProvider::beginWrite() {
    begin();
    // The module's writers that must not interleave share one transaction lock.
    try {
        simple("SELECT pg_advisory_xact_lock(7032001)");
    } catch (...) {
        // Not taken in time: no transaction was begun, and the session stays
        // fit for the next one instead of refusing every later statement.
        Result back(PQexec(conn_, "ROLLBACK"));
        throw;
    }
    tellWrite(Write_Event::Locked);
}

void PgProvider::lockRows(const std::string& table, const std::string& where) {
    query("select 1 from " + table + " where " + where + " for update", {});
}

// The server keeps the rows' older versions for it: no writer waits, and a
// read-only transaction takes no lock a writer of rows would meet.
bool PgProvider::beginSnapshot() {
    if (inTransaction()) throw DbError("cannot start a transaction within a transaction");
    simple("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
    try {
        simple("SELECT 1");  // the state is taken by the first statement: take it now
    } catch (...) {
        Result back(PQexec(conn_, "ROLLBACK"));
        throw;
    }
    return true;
}

void PgProvider::commit() {
    if (!inTransaction()) throw DbError("cannot commit - no transaction is active");
    const std::string waited = std::move(waiters_);
    waiters_.clear();
    tellWrite(Write_Event::Committing);
    Result r = simple("COMMIT");
    tellWrite(Write_Event::Committed);
    // A transaction the server had already failed ends in a rollback, not a commit.
    if (std::strcmp(PQcmdStatus(r.get()), "ROLLBACK") == 0)
        throw DbError::told(
            platform::numberedText(1002, "The transaction could not be committed and was rolled back.", {}), 3146);
    letWaitersIn(waited);
}

void PgProvider::savepointControl(const std::string& sql) {
    if (!inTransaction()) throw DbError("no transaction is active [" + sql + "]");
    simple(sql);
    // A time-out set after the savepoint went back with it.
    if (sql.rfind("ROLLBACK", 0) == 0) timeoutSent_ = -1;
}

void PgProvider::rollback() {
    if (!inTransaction()) throw DbError("cannot rollback - no transaction is active");
    simple("ROLLBACK");
    waiters_.clear();
    // A time-out set inside the transaction was undone with it.
    timeoutSent_ = -1;
}

bool PgProvider::lost() { return sessionEnded(conn_); }

bool PgProvider::inTransaction() const {
    const PGTransactionStatusType s = PQtransactionStatus(conn_);
    return s == PQTRANS_INTRANS || s == PQTRANS_INERROR;
}

void PgProvider::setCommandTimeout(int seconds) { timeout_ = seconds; }

// Sessions waiting for a lock this one holds, from the server's lock table,
// which every login may read. Asked at once in a transaction, then at most
// every 10 ms.
bool PgProvider::othersWaitToWrite() {
    constexpr std::chrono::milliseconds kEvery{10};
    const auto now = std::chrono::steady_clock::now();
    if (!inTransaction() || now - askedWaiting_ < kEvery) return false;
    askedWaiting_ = now;
    try {
        waiters_.clear();
        for (const auto& row : query("select distinct pid from pg_locks where not granted and "
                                     "pg_backend_pid() = any(pg_blocking_pids(pid))",
                                     {})
                                   .rows)
            waiters_ += (waiters_.empty() ? "" : ",") + std::to_string(row.at(0).toInt64());
        return !waiters_.empty();
    } catch (const DbError&) {
        return false;  // a question of courtesy: never a reason to stop writing
    }
}

// The sessions seen waiting for this transaction's locks get them before the
// session takes any again. Its commit wakes them, and where they wait for a
// row it updated they look for the row's new version, which a transaction
// it began at once could lock first: a terminal would then wait behind the
// next batch too. From the server's lock table, which every login may read:
// until each has locked a row (it holds its own transaction ID), ended its
// transaction or waits for another session; a little while at most.
void PgProvider::letWaitersIn(const std::string& pids) {
    constexpr std::chrono::milliseconds kLongest{20};
    if (pids.empty()) return;
    const std::string coming =
        "select 1 from pg_locks l where l.pid = any(cast('{" + pids +
        "}' as int array)) and cardinality(pg_blocking_pids(l.pid)) = 0 and not exists (select 1 from pg_locks m "
        "where m.pid = l.pid and m.locktype = 'transactionid' and m.mode = 'ExclusiveLock' and m.granted) limit 1";
    const auto until = std::chrono::steady_clock::now() + kLongest;
    try {
        while (std::chrono::steady_clock::now() < until && !query(coming, {}).rows.empty()) {
        }
    } catch (const DbError&) {
        // a question of courtesy again
    }
}

// The server's advisory lock of this database under a key made from the
// name: held by the session, so a process that dies lets it go with its session.
std::string PgProvider::lockKey(const std::string& name) const {
    std::uint32_t h = 2166136261u;  // FNV-1a
    for (const unsigned char c : name) h = (h ^ c) * 16777619u;
    return "1416391798," + std::to_string(h & 0x7fffffffu);
}

bool PgProvider::tryHoldLock(const std::string& name) {
    if (heldLocks_.count(name)) return true;
    const QueryResult r = query("select pg_try_advisory_lock(" + lockKey(name) + ")", {});
    const bool held = !r.rows.empty() && r.rows[0][0].toInt64() != 0;
    if (held) heldLocks_.insert(name);
    return held;
}

void PgProvider::releaseLock(const std::string& name) {
    if (!heldLocks_.count(name)) return;
    // Forgotten only once let go: a session kept idle must not hold it on.
    query("select pg_advisory_unlock(" + lockKey(name) + ")", {});
    heldLocks_.erase(name);
}

bool PgProvider::lockHeldElsewhere(const std::string& name) {
    const std::string key = lockKey(name);
    const QueryResult r = query("select count(*) from pg_locks where locktype = 'advisory' and granted and "
                                "database = (select oid from pg_database where datname = current_database()) and "
                                "classid = " + key.substr(0, key.find(',')) + " and objid = " +
                                    key.substr(key.find(',') + 1) + " and objsubid = 2 and pid <> pg_backend_pid()",
                                {});
    return !r.rows.empty() && r.rows[0][0].toInt64() > 0;
}

// The command time-out bounds every statement, lock waits included; 0 waits
// without limit. Sent only when it changed.
void PgProvider::applyTimeout() {
    if (timeout_ == timeoutSent_) return;
    simple("SET statement_timeout = " + std::to_string(timeout_ > 0 ? timeout_ * 1000LL : 0));
    timeoutSent_ = timeout_;
}

}  // namespace tolvenk::db
