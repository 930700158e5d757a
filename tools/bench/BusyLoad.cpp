#include "bench/BusyLoad.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace tolvenk::bench {

Busy_Load::Busy_Load(const std::string& folder, int spinners, int writers) : spinners_(spinners), writers_(writers) {
    const std::string parent = std::to_string(::getpid());
    try {
        for (int i = 0; i < spinners; ++i) start({"spin", parent});
        for (int i = 0; i < writers; ++i) start({"write", folder, parent});
        // A writer that cannot write where it was sent ends at once.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        for (pid_t p : pids_) {
            int status = 0;
            if (::waitpid(p, &status, WNOHANG) == p) throw std::runtime_error("a process of the busy load ended at once");
        }
    } catch (...) {
        stop();
        throw;
    }
}

Busy_Load::~Busy_Load() { stop(); }

void Busy_Load::stop() {
    for (pid_t p : pids_) ::kill(p, SIGKILL);
    for (pid_t p : pids_) ::waitpid(p, nullptr, 0);
    pids_.clear();
}

void Busy_Load::start(const std::vector<std::string>& args) {
    namespace fs = std::filesystem;
    const std::string exe = (fs::read_symlink("/proc/self/exe").parent_path() / "tolvenk-bench-busy").string();
    if (!fs::exists(exe)) throw std::runtime_error("no " + exe + ": build the target tolvenk-bench-busy");
    std::vector<std::string> all = {exe};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("the busy load did not start");
    pids_.push_back(pid);
}

std::string Busy_Load::what() const {
    return std::to_string(spinners_) + " spinning processes and " + std::to_string(writers_) +
           " writers of direct I/O (1 MiB blocks, fdatasync every 16)";
}

double loadAverage() {
    double l[1] = {0};
    return ::getloadavg(l, 1) == 1 ? l[0] : -1;
}

}  // namespace tolvenk::bench
