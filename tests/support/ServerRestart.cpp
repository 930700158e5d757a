#include "support/ServerRestart.h"

#include <stdexcept>

#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"
#include "support/TestDb.h"

namespace tolvenk::test {

int endSessions(const std::string& database) {
    const auto server = testServer();
    if (!server) throw std::runtime_error("no test database server: TOLVENK_PG is not set");
    db::Connection admin;
    admin.open(server->connectionString("postgres"));
    // The sessions are chosen first (the server may weigh conditions in any
    // order); the wait (in ms) makes each end certain before the test goes on.
    return static_cast<int>(admin
                                .openRecordset("with chosen as materialized (select pid from pg_stat_activity where "
                                               "datname='" + sqlEscape(database) +
                                               "' and pid<>pg_backend_pid()) select count(*) from chosen where "
                                               "pg_terminate_backend(pid, 10000)")
                                ->field(0)
                                .toInt64());
}

SessionsEndAt::SessionsEndAt(std::string database, std::string marker, int nth)
    : database_(std::move(database)), marker_(std::move(marker)), left_(nth) {
    db::setStatementObserver([this](const std::string& sql) {
        if (left_ <= 0 || sql.find(marker_) == std::string::npos || --left_ > 0) return;
        ended_ = endSessions(database_);  // its own statements come here too: left_ is spent
    });
}

SessionsEndAt::~SessionsEndAt() { db::setStatementObserver(nullptr); }

}  // namespace tolvenk::test
