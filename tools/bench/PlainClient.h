#pragma once
// A session of the engine's own client library (sqlite3 or libpq) on the
// database under test, as a user at the engine's command-line program has
// it: none of the module's functions, record sets or statement rewriting.
// The baselines run through it, and their plans come from it.
#include <string>
#include <vector>

struct sqlite3;
struct pg_conn;

namespace tolvenk::bench {

class PlainClient {
public:
    // `connection` is the module's connection text of a file or a server database.
    explicit PlainClient(const std::string& connection);
    ~PlainClient();
    PlainClient(const PlainClient&) = delete;
    PlainClient& operator=(const PlainClient&) = delete;

    bool server() const { return pg_ != nullptr; }
    // Runs one statement and reads every field of every row; the rows read.
    long read(const std::string& sql);
    // Runs statements that give no rows, one after the other; each one's plan
    // is kept first when `planned`.
    void run(const std::vector<std::string>& statements, bool planned = true);
    void run(const std::string& statement) { run(std::vector<std::string>{statement}); }
    // The engine's plan of a statement, a line per step.
    std::string plan(const std::string& sql);
    // The plans `run` kept since the last call, each under its statement's first words.
    std::string takePlans();

private:
    void exec(const std::string& sql);
    sqlite3* file_ = nullptr;
    pg_conn* pg_ = nullptr;
    std::string plans_;
};

// Whether every one of `needed` is in the plan and none of `refused`; the
// first that fails is told in `why`.
bool planHas(const std::string& plan, const std::vector<std::string>& needed, const std::vector<std::string>& refused,
             std::string& why);

}  // namespace tolvenk::bench
