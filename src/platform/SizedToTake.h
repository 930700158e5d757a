#pragma once
// Work done in pieces sized by time: the next piece as large as the last
// one's pace says will take about the time aimed at, growing by a few times
// at most at once (one quick piece says little of the next one's rows).
#include <algorithm>
#include <chrono>
#include <cstdint>

namespace tolvenk::platform {

// `count` took `took`; `least` <= the result <= max(least, most).
inline std::int64_t sizedToTake(std::int64_t count, std::chrono::duration<double> took,
                                std::chrono::duration<double> aim, double growth, std::int64_t least,
                                std::int64_t most) {
    const double ratio = took.count() > 0 ? aim / took : growth;
    const double n = static_cast<double>(count) * std::min(ratio, growth);
    const double capped = std::min(n, static_cast<double>(std::max(least, most)));
    return std::max(least, static_cast<std::int64_t>(capped));
}

}  // namespace tolvenk::platform
