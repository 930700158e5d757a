#include "support/ServerRestart.h"

#include <stdexcept>

#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"
#include "support/TestDb.h"
#include "support/TestServices.h"

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

std::string serverClock(const std::string& connectionString) {
    return text(*connect(connectionString), "select getdate()");
}

std::vector<std::string> notStampedSince(const std::string& connectionString, const std::string& from,
                                         const std::vector<std::string>& times) {
    const std::string to = serverClock(connectionString);
    std::vector<std::string> out;
    for (const auto& t : times)
        if (t < from || t > to) out.push_back(t);
    return out;
}

std::vector<std::string> oneBox(TestServices& sv) {
    const auto boxes = sv.takeBoxes();
    if (boxes.size() != 1) return {std::to_string(boxes.size()) + " boxes"};
    const auto cut = boxes[0].find('\n');
    return {boxes[0].substr(0, cut), cut == std::string::npos ? "" : "and a reason"};
}

}  // namespace tolvenk::test
