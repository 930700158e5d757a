#pragma once
// A server that goes away under the module: every session of one test
// database ended by the server, as a restart ends them, while the sessions
// of the other tests running beside go on.
#include <string>
#include <vector>

namespace tolvenk::test {

class TestServices;

// Ends every session on the test server's `database` but the caller's own and
// waits until each has gone; returns how many it ended.
int endSessions(const std::string& database);

// Ends the sessions of `database` once, just before the `nth` statement the
// module runs whose text holds `marker`: deterministically midway through a
// run. The statement observer is the object's while it lives.
class SessionsEndAt {
public:
    SessionsEndAt(std::string database, std::string marker, int nth = 1);
    ~SessionsEndAt();
    SessionsEndAt(const SessionsEndAt&) = delete;
    SessionsEndAt& operator=(const SessionsEndAt&) = delete;
    // How many sessions it ended (0 until it fired).
    int ended() const { return ended_; }

private:
    std::string database_, marker_;
    int left_;
    int ended_ = 0;
};

// The database's clock now, as the module stamps rows with it.
std::string serverClock(const std::string& connectionString);
// Those of `times` not between `from` and the database's clock now: rows not
// stamped by the server while the test ran.
std::vector<std::string> notStampedSince(const std::string& connectionString, const std::string& from,
                                         const std::vector<std::string>& times);

// The one box shown since the last look, as its first line and whether a
// second (the engine's reason) follows; then forgotten. How many, when not one.
std::vector<std::string> oneBox(TestServices& sv);

}  // namespace tolvenk::test
