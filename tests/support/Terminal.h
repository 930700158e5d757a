#pragma once
// A card terminal in a process of its own, writing consumption rows into the
// business database at a steady rate while the module works beside it, as
// the terminals of an installation do all day.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/db/Connection.h"
#include "support/Peer.h"

namespace tolvenk::test {

struct TerminalOptions {
    std::string card;           // the card it books on (Card_Info.Card_No)
    int mach = 990;             // Mach_ID of its rows, to tell them apart
    int pauseMicros = 2000;     // between one commit and the next write
    bool debitIdBalance = false;// also takes the amount off Card_Info.C_YuE_ID
    std::string date;           // Date_Time of its rows; the clock's when empty
    bool plain = false;         // another maker's till: the engine's own library alone
    bool randomly = false;      // its pauses drawn at random about pauseMicros, as customers come
};

struct TerminalReport {
    std::vector<std::int64_t> serials;  // Mach_LiuShui of every committed row
    int failures = 0;
    std::int64_t longestWaitMicros = 0;  // begin to commit, lock waits included
    std::vector<std::string> errors;
};

class Terminal {
public:
    Terminal(const std::string& connectionString, const TerminalOptions& options);
    // Blocks until the terminal has committed at least `n` rows in all.
    void waitForCommits(std::size_t n);
    std::size_t commits() const { return serials_.size(); }
    // Stops the terminal after its current row and tells what it did.
    TerminalReport finish();

private:
    void take(const std::string& line);
    Peer peer_;
    std::vector<std::int64_t> serials_;
    TerminalReport report_;
};

// Every row the terminal reported committed is in Record_XF exactly once, and
// no other row carries its terminal number: "" when so, else what is wrong.
std::string terminalRowsProblem(db::Connection& con, const TerminalOptions& options, const TerminalReport& report);

// "ok" from the file engine's own check; the server keeps its own and says "ok".
std::string integrity(db::Connection& con);

}  // namespace tolvenk::test
