#include "support/Peer.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace tolvenk::test {

namespace {

constexpr char kJobVar[] = "TOLVENK_PEER_JOB";
constexpr char kArgsVar[] = "TOLVENK_PEER_ARGS";
constexpr char kSep = '\x1e';
constexpr int kReportFd = 3;
// A job that says nothing for this long is taken as hung: the test fails
// instead of waiting for ever.
constexpr int kSilenceLimitMs = 180000;

std::map<std::string, PeerJob>& jobs() {
    static std::map<std::string, PeerJob> all;
    return all;
}

std::string encode(const PeerArgs& args) {
    std::string out;
    for (const auto& [k, v] : args) {
        if (v.find(kSep) != std::string::npos) throw std::invalid_argument("peer argument holds the separator");
        out += k + "=" + v + kSep;
    }
    return out;
}

PeerArgs decode(const char* text) {
    PeerArgs out;
    std::string s = text ? text : "";
    std::size_t at = 0;
    while (at < s.size()) {
        const std::size_t end = s.find(kSep, at);
        const std::string item = s.substr(at, end - at);
        const std::size_t eq = item.find('=');
        out[item.substr(0, eq)] = eq == std::string::npos ? "" : item.substr(eq + 1);
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return out;
}

void writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

bool registerPeerJob(const std::string& name, PeerJob job) {
    jobs()[name] = std::move(job);
    return true;
}

const std::string& PeerContext::arg(const std::string& key) const {
    const auto it = args_.find(key);
    if (it == args_.end()) throw std::invalid_argument("peer job without argument '" + key + "'");
    return it->second;
}

std::string PeerContext::arg(const std::string& key, const std::string& fallback) const {
    const auto it = args_.find(key);
    return it == args_.end() ? fallback : it->second;
}

void PeerContext::report(const std::string& line) const { writeAll(fd_, line + "\n"); }

bool PeerContext::finishRequested() const {
    pollfd p{STDIN_FILENO, POLLIN, 0};
    if (::poll(&p, 1, 0) <= 0) return false;
    char c;
    return ::read(STDIN_FILENO, &c, 1) <= 0;  // end of input: the test closed it
}

void PeerContext::waitForFinish() const {
    char c;
    while (::read(STDIN_FILENO, &c, 1) > 0) {
    }
}

std::string PeerContext::readCommand() const {
    std::string line;
    char c;
    while (::read(STDIN_FILENO, &c, 1) == 1) {
        if (c == '\n') return line.empty() ? " " : line;
        line += c;
    }
    return line;
}

Peer::Peer(const std::string& job, const PeerArgs& args) {
    // A job that ended early must not take the test with it on the next send.
    ::signal(SIGPIPE, SIG_IGN);
    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&fa, out[1], kReportFd);
    posix_spawn_file_actions_addopen(&fa, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "TOLVENK_PEER_", 13) != 0) env.emplace_back(*e);
    env.push_back(std::string(kJobVar) + "=" + job);
    env.push_back(std::string(kArgsVar) + "=" + encode(args));
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string self = "/proc/self/exe", filter = "--gtest_filter=PeerProcess.DISABLED_RunsItsJob",
                disabled = "--gtest_also_run_disabled_tests";
    char* argv[] = {self.data(), filter.data(), disabled.data(), nullptr};
    const int rc = posix_spawn(&pid_, "/proc/self/exe", &fa, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&fa);
    ::close(in[0]);
    ::close(out[1]);
    in_ = in[1];
    out_ = out[0];
    if (rc != 0) {
        pid_ = -1;
        throw std::runtime_error(std::string("cannot start the peer process: ") + std::strerror(rc));
    }
}

Peer::~Peer() {
    if (pid_ > 0 && status_ < 0) {
        // A job still busy after its test ended is not waited for.
        ::kill(pid_, SIGKILL);
        wait();
    }
    if (in_ >= 0) ::close(in_);
    if (out_ >= 0) ::close(out_);
}

std::string Peer::readLine() {
    for (;;) {
        if (const std::size_t nl = buffer_.find('\n'); nl != std::string::npos) {
            std::string line = buffer_.substr(0, nl);
            buffer_.erase(0, nl + 1);
            lines_.push_back(line);
            return line;
        }
        if (out_ < 0) return "";
        pollfd p{out_, POLLIN, 0};
        const int ready = ::poll(&p, 1, kSilenceLimitMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) throw std::runtime_error("the peer process said nothing for three minutes");
        char chunk[4096];
        const ssize_t n = ::read(out_, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ::close(out_);
            out_ = -1;
            if (buffer_.empty()) return "";
            std::string rest;
            rest.swap(buffer_);
            lines_.push_back(rest);
            return rest;
        }
        buffer_.append(chunk, static_cast<std::size_t>(n));
    }
}

std::string Peer::waitFor(const std::string& prefix) {
    for (;;) {
        std::string line = readLine();
        if (out_ < 0 && line.empty() && buffer_.empty())
            throw std::runtime_error("the peer process ended before it reported '" + prefix + "'");
        if (line.rfind(prefix, 0) == 0) return line;
    }
}

void Peer::send(const std::string& line) {
    if (in_ >= 0) writeAll(in_, line + "\n");
}

void Peer::finish() {
    if (in_ >= 0) {
        ::close(in_);
        in_ = -1;
    }
}

int Peer::wait() {
    if (status_ >= 0 || pid_ <= 0) return status_;
    finish();
    int st = 0;
    while (::waitpid(pid_, &st, 0) < 0 && errno == EINTR) {
    }
    status_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    return status_;
}

void Peer::kill() {
    if (pid_ > 0 && status_ < 0) ::kill(pid_, SIGKILL);
    wait();
}

}  // namespace tolvenk::test

// The entry of a peer process: the test program started again, running the
// one job its environment names. It ends with the job's code, without the
// test program's own teardown.
TEST(PeerProcess, DISABLED_RunsItsJob) {
    const char* name = std::getenv("TOLVENK_PEER_JOB");
    if (!name) GTEST_SKIP() << "run only as a peer process";
    using namespace tolvenk::test;
    PeerContext peer(decode(std::getenv("TOLVENK_PEER_ARGS")), kReportFd);
    int code = 2;
    const auto it = jobs().find(name);
    if (it == jobs().end()) {
        peer.report(std::string("FAIL no job named ") + name);
    } else {
        try {
            code = it->second(peer);
        } catch (const std::exception& e) {
            peer.report(std::string("FAIL ") + e.what());
            code = 3;
        }
    }
    std::fflush(nullptr);
    ::_exit(code);
}
