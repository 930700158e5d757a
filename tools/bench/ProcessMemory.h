#pragma once
// This process's memory as the kernel counts it, for the benchmarks' figures.
#include <string>

namespace tolvenk::bench {

// A /proc/self/status figure in MB ("VmRSS", "VmHWM"); -1 when missing.
double statusMb(const std::string& key);
// Starts a new peak (VmHWM) from the present size.
void resetPeak();

}  // namespace tolvenk::bench
