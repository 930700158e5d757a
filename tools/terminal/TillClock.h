#pragma once
// A till's clock, shared by both terminals: the plain one uses nothing of
// the module's own code, so these stand here rather than in the platform.
#include <time.h>

#include <ctime>
#include <functional>
#include <string>

namespace tolvenk::terminal {

// The local time as the tills stamp their rows.
inline std::string nowText() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

inline void pause(int micros) {
    timespec ts{micros / 1000000, static_cast<long>(micros % 1000000) * 1000};
    while (::nanosleep(&ts, &ts) != 0) {
    }
}

// A pause of seconds (a quiet till's) would keep whoever stops the till
// waiting for it: such a pause ends within 50 ms of `stop` saying so.
inline void pauseUnless(int micros, const std::function<bool()>& stop) {
    constexpr int kSlice = 50000;
    while (micros > kSlice) {
        pause(kSlice);
        micros -= kSlice;
        if (stop()) return;
    }
    pause(micros);
}

}  // namespace tolvenk::terminal
