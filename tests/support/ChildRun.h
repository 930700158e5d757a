#pragma once
// A program run as a child process, as a person runs it from a shell.
#include <cstdio>
#include <string>

namespace tolvenk::test {

struct ChildRun {
    int status = -1;     // as waitpid gives it
    std::string output;  // standard output and standard error, in order
};

// Runs a shell command line and collects what it prints, with its wait status.
inline ChildRun runChild(const std::string& command) {
    ChildRun run;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return run;
    char buf[512];
    while (std::fgets(buf, sizeof buf, pipe)) run.output += buf;
    run.status = pclose(pipe);
    return run;
}

}  // namespace tolvenk::test
