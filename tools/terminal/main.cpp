// tolvenk-terminal: a card terminal writing beside the module until its input
// closes. Prints "C <serial> <wait µs> <commit µs>" per commit (the commit's
// moment on the system's monotonic clock, which every process shares),
// "E <message>" per failed row and "END <commits> <failures> <longest wait µs>"
// at the end.
#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "terminal/PlainTerminal.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: tolvenk-terminal <connection text> <card> [--pause-us N] [--random-pause] [--mach N] [--debit-id] "
                     "[--date \"yyyy-MM-dd hh:mm:ss\"] [--plain-file PATH | --plain-server LIBPQ-TEXT]\n"
                     "--plain-file, --plain-server: writes through the engine's own library alone, as a till of\n"
                     "another maker, with the standard busy timeout, instead of the module's connection.\n");
        return 2;
    }
    tolvenk::terminal::Options o;
    o.db = argv[1];
    o.card = argv[2];
    for (int i = 3; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--debit-id") o.debitIdBalance = true;
        else if (a == "--random-pause") o.randomPause = true;
        else if (a == "--pause-us" && i + 1 < argc) o.pauseMicros = std::stoi(argv[++i]);
        else if (a == "--mach" && i + 1 < argc) o.mach = std::stoi(argv[++i]);
        else if (a == "--date" && i + 1 < argc) o.date = argv[++i];
        else if (a == "--plain-file" && i + 1 < argc) o.plainFile = argv[++i];
        else if (a == "--plain-server" && i + 1 < argc) o.plainServer = argv[++i];
    }
    const auto inputClosed = [] {
        pollfd p{STDIN_FILENO, POLLIN, 0};
        if (::poll(&p, 1, 0) <= 0) return false;
        char c;
        return ::read(STDIN_FILENO, &c, 1) <= 0;
    };
    try {
        const bool plain = !o.plainFile.empty() || !o.plainServer.empty();
        const auto r = (plain ? tolvenk::terminal::runPlain : tolvenk::terminal::run)(
            o, inputClosed,
            [](std::int64_t serial, std::int64_t waited) {
                timespec now{};
                ::clock_gettime(CLOCK_MONOTONIC, &now);
                const long long at = static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
                std::printf("C %lld %lld %lld\n", static_cast<long long>(serial), static_cast<long long>(waited), at);
                std::fflush(stdout);
            },
            [](const std::string& e) {
                std::printf("E %s\n", e.c_str());
                std::fflush(stdout);
            });
        std::printf("END %lld %lld %lld\n", static_cast<long long>(r.commits), static_cast<long long>(r.failures),
                    static_cast<long long>(r.longestWaitMicros));
        return r.failures == 0 ? 0 : 1;
    } catch (const std::exception& e) {
        std::printf("FAIL %s\n", e.what());
        return 3;
    }
}
