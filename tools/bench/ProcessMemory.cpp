#include "bench/ProcessMemory.h"

#include <fstream>

namespace tolvenk::bench {

double statusMb(const std::string& key) {
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(key + ":", 0) == 0) return std::stod(line.substr(key.size() + 1)) / 1024.0;
    return -1;
}

void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

}  // namespace tolvenk::bench
