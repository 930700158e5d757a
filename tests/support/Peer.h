#pragma once
// A second process beside the test: a terminal writing transactions, or a
// second office running a window on the same database. Locks belong to
// processes, so only another process shows what the module does in company.
//
// A job is a function registered in a test program by name:
//   TOLVENK_PEER_JOB(GrantBatch) { ...; peer.report("done 3"); return 0; }
// and the test starts it as a fresh copy of its own program:
//   test::Peer p("GrantBatch", {{"db", cs}});  ... p.waitFor("done")
#include <functional>
#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tolvenk::test {

using PeerArgs = std::map<std::string, std::string>;

// What a job sees of its test: its arguments, a report channel, and whether
// the test asked it to finish.
class PeerContext {
public:
    PeerContext(PeerArgs args, int reportFd) : args_(std::move(args)), fd_(reportFd) {}
    const std::string& arg(const std::string& key) const;
    std::string arg(const std::string& key, const std::string& fallback) const;
    // One line to the test; flushed at once.
    void report(const std::string& line) const;
    // True once the test closed the job's input (asked it to finish).
    bool finishRequested() const;
    // Blocks until the test closes the job's input.
    void waitForFinish() const;
    // The next line the test sent; "" once it closed the input.
    std::string readCommand() const;

private:
    PeerArgs args_;
    int fd_;
};

using PeerJob = std::function<int(PeerContext&)>;
bool registerPeerJob(const std::string& name, PeerJob job);

// A running job in a child process.
class Peer {
public:
    Peer(const std::string& job, const PeerArgs& args);
    ~Peer();
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

    // The next line the job reported; "" once it has ended.
    std::string readLine();
    // Reads lines until one starts with `prefix` and returns it; fails the
    // test (throws) when the job ends first.
    std::string waitFor(const std::string& prefix);
    // Sends the job one line (read by PeerContext::readCommand).
    void send(const std::string& line);
    // Asks the job to finish.
    void finish();
    // Waits for the job to end: its exit code (128+signal when killed).
    int wait();
    // Ends the job at once, as a power cut or kill -9 would.
    void kill();
    // Every line read so far.
    const std::vector<std::string>& lines() const { return lines_; }

private:
    pid_t pid_ = -1;
    int in_ = -1;   // the job's input (closed to ask it to finish)
    int out_ = -1;  // the job's reports
    std::string buffer_;
    std::vector<std::string> lines_;
    int status_ = -1;
};

}  // namespace tolvenk::test

#define TOLVENK_PEER_JOB(name)                                                                          \
    static int tolvenkPeerJob_##name(::tolvenk::test::PeerContext& peer);                               \
    [[maybe_unused]] static const bool tolvenkPeerJobRegistered_##name =                                \
        ::tolvenk::test::registerPeerJob(#name, &tolvenkPeerJob_##name);                                \
    static int tolvenkPeerJob_##name([[maybe_unused]] ::tolvenk::test::PeerContext& peer)
