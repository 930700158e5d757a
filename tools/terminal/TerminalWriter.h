#pragma once
// A card terminal as the business database sees it: one consumption row per
// write transaction, continuing the card's chain, at a steady rate, waiting
// (never failing) while another writer holds the database. Tests and
// benchmarks run it in a process of its own beside the module.
#include <cstdint>
#include <functional>
#include <string>

namespace tolvenk::terminal {

struct Options {
    std::string db;             // the module's connection text
    std::string card;           // Card_Info.Card_No it books on
    int mach = 990;             // Mach_ID of its rows; Mach_LiuShui counts them
    int pauseMicros = 2000;     // between one commit and the next write
    bool randomPause = false;   // pauses drawn at random about pauseMicros, as customers come
    bool debitIdBalance = false;// also takes the fen off Card_Info.C_YuE_ID
    std::string date;           // Date_Time of its rows; the clock's when empty
    // For runPlain: the database file, or else the server's libpq connection text.
    std::string plainFile, plainServer;
};

struct Result {
    std::int64_t commits = 0;
    std::int64_t failures = 0;
    std::int64_t longestWaitMicros = 0;  // begin to commit, lock waits included
};

// Fills plainFile or plainServer from the module's connection text in `db`.
void usePlainLibrary(Options& options);

// Writes until `stop` says so. `onCommit(serial, waitMicros)` after each
// commit, `onError(message)` after each failed row (rolled back).
Result run(const Options& options, const std::function<bool()>& stop,
           const std::function<void(std::int64_t, std::int64_t)>& onCommit,
           const std::function<void(const std::string&)>& onError);

}  // namespace tolvenk::terminal
