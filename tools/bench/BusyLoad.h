#pragma once
// A load of the bench's own beside the measurements: spinning processes and
// writers of direct I/O (tolvenk-bench-busy), as other work on a shared
// machine puts on it.
#include <sys/types.h>

#include <string>
#include <vector>

namespace tolvenk::bench {

class Busy_Load {
public:
    // Starts them, the writers' files in `folder`; throws when one fails to.
    Busy_Load(const std::string& folder, int spinners = 6, int writers = 3);
    ~Busy_Load();  // kills each of them
    Busy_Load(const Busy_Load&) = delete;
    Busy_Load& operator=(const Busy_Load&) = delete;

    std::string what() const;

private:
    void start(const std::vector<std::string>& args);
    void stop();
    std::vector<pid_t> pids_;
    int spinners_, writers_;
};

// The machine's load average over the last minute.
double loadAverage();

}  // namespace tolvenk::bench
