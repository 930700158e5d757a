#include "bench/PlainClient.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "platform/db/ConnectionString.h"
#include "platform/db/PgProvider.h"

namespace tolvenk::bench {

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Statements the engines can explain: reads and writes, not transaction control.
bool explainable(const std::string& sql) {
    const std::string s = lower(sql.substr(sql.find_first_not_of(" \n\t") == std::string::npos
                                               ? 0
                                               : sql.find_first_not_of(" \n\t")));
    for (const char* w : {"select", "insert", "update", "delete", "with"})
        if (s.rfind(w, 0) == 0) return true;
    return s.rfind("create", 0) == 0 && s.find(" as select") != std::string::npos;
}

std::string headOf(const std::string& sql) {
    std::string h = sql.substr(0, 70);
    std::replace(h.begin(), h.end(), '\n', ' ');
    return h + (sql.size() > 70 ? "..." : "");
}

}  // namespace

PlainClient::PlainClient(const std::string& connection) {
    const db::ConnectionString cs(connection);
    if (cs.kind() == db::ConnectionString::Kind::Server) {
        const db::ServerTarget t = db::serverTarget(cs);
        std::vector<const char*> keys, values;
        const auto set = [&](const char* k, const std::string& v) {
            if (!v.empty()) keys.push_back(k), values.push_back(v.c_str());
        };
        set("host", t.host);
        set("port", t.port);
        set("dbname", t.database);
        set("user", t.user);
        set("password", t.password);
        keys.push_back(nullptr);
        values.push_back(nullptr);
        pg_ = PQconnectdbParams(keys.data(), values.data(), 0);
        if (PQstatus(pg_) != CONNECTION_OK) {
            const std::string why = PQerrorMessage(pg_);
            PQfinish(pg_);
            throw std::runtime_error("plain client: " + why);
        }
        PQsetNoticeProcessor(pg_, [](void*, const char*) {}, nullptr);
        return;
    }
    if (sqlite3_open_v2(cs.filePath().c_str(), &file_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const std::string why = file_ ? sqlite3_errmsg(file_) : "cannot open";
        sqlite3_close(file_);
        throw std::runtime_error("plain client: " + why);
    }
    sqlite3_busy_timeout(file_, 60000);
}

PlainClient::~PlainClient() {
    if (pg_) PQfinish(pg_);
    if (file_) sqlite3_close_v2(file_);
}

long PlainClient::read(const std::string& sql) {
    long rows = 0;
    volatile std::size_t touched = 0;  // kept, so that no read is left out
    if (pg_) {
        PGresult* r = PQexec(pg_, sql.c_str());
        if (PQresultStatus(r) != PGRES_TUPLES_OK) {
            const std::string why = PQresultErrorMessage(r);
            PQclear(r);
            throw std::runtime_error(why + " [" + sql + "]");
        }
        rows = PQntuples(r);
        const int fields = PQnfields(r);
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < fields; ++j) touched = touched + static_cast<std::size_t>(PQgetlength(r, i, j));
        PQclear(r);
        return rows;
    }
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(file_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string(sqlite3_errmsg(file_)) + " [" + sql + "]");
    const int fields = sqlite3_column_count(st);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        ++rows;
        for (int j = 0; j < fields; ++j) switch (sqlite3_column_type(st, j)) {
            case SQLITE_INTEGER: touched = touched + static_cast<std::size_t>(sqlite3_column_int64(st, j)); break;
            case SQLITE_FLOAT: touched = touched + static_cast<std::size_t>(sqlite3_column_double(st, j) != 0); break;
            case SQLITE_NULL: break;
            default: touched = touched + static_cast<std::size_t>(sqlite3_column_bytes(st, j) + (sqlite3_column_text(st, j) != nullptr));
            }
    }
    const std::string why = rc == SQLITE_DONE ? "" : sqlite3_errmsg(file_);
    sqlite3_finalize(st);
    if (!why.empty()) throw std::runtime_error(why + " [" + sql + "]");
    return rows;
}

void PlainClient::exec(const std::string& sql) {
    if (pg_) {
        PGresult* r = PQexec(pg_, sql.c_str());
        const auto status = PQresultStatus(r);
        const std::string why = PQresultErrorMessage(r);
        PQclear(r);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) throw std::runtime_error(why + " [" + sql + "]");
        return;
    }
    char* error = nullptr;
    if (sqlite3_exec(file_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string why = error ? error : "failed";
        sqlite3_free(error);
        throw std::runtime_error(why + " [" + sql + "]");
    }
}

void PlainClient::run(const std::vector<std::string>& statements, bool planned) {
    for (const std::string& s : statements) {
        if (planned && explainable(s)) plans_ += "  " + headOf(s) + "\n" + plan(s);
        exec(s);
    }
}

std::string PlainClient::plan(const std::string& sql) {
    std::string out;
    if (pg_) {
        PGresult* r = PQexec(pg_, ("EXPLAIN " + sql).c_str());
        if (PQresultStatus(r) != PGRES_TUPLES_OK) {
            const std::string why = PQresultErrorMessage(r);
            PQclear(r);
            throw std::runtime_error(why + " [EXPLAIN " + sql + "]");
        }
        for (int i = 0; i < PQntuples(r); ++i) out += std::string("    ") + PQgetvalue(r, i, 0) + "\n";
        PQclear(r);
        return out;
    }
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(file_, ("EXPLAIN QUERY PLAN " + sql).c_str(), -1, &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string(sqlite3_errmsg(file_)) + " [EXPLAIN QUERY PLAN " + sql + "]");
    // Each step under its parent, indented by its depth.
    std::vector<std::pair<int, int>> depth;  // id, depth
    while (sqlite3_step(st) == SQLITE_ROW) {
        const int id = sqlite3_column_int(st, 0), parent = sqlite3_column_int(st, 1);
        int d = 0;
        for (const auto& [i, di] : depth)
            if (i == parent) d = di + 1;
        depth.emplace_back(id, d);
        out += std::string(4 + 2 * static_cast<std::size_t>(d), ' ') +
               reinterpret_cast<const char*>(sqlite3_column_text(st, 3)) + "\n";
    }
    sqlite3_finalize(st);
    return out;
}

std::string PlainClient::takePlans() {
    std::string p;
    p.swap(plans_);
    return p;
}

bool planHas(const std::string& plan, const std::vector<std::string>& needed, const std::vector<std::string>& refused,
             std::string& why) {
    for (const std::string& n : needed)
        if (plan.find(n) == std::string::npos) return why = "no \"" + n + "\" in the plan", false;
    for (const std::string& r : refused)
        if (plan.find(r) != std::string::npos) return why = "\"" + r + "\" in the plan", false;
    return true;
}

}  // namespace tolvenk::bench
