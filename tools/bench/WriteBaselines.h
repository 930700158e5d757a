#pragma once
// The writes of each window that writes, as a user would type them: a few
// set-based statements in one transaction, each one's amounts computed once,
// covering every row the window writes (of the same tables, with the same
// figures for the usual rows: one ID card per employee, no rows of a
// terminal meanwhile). A measure of cost beside the window, not a second
// implementation whose figures anyone reads.
#include <string>
#include <vector>

namespace tolvenk::bench {

// The ID grant of the prepared batch year/month/times: the credit row, the
// card's balance, the batch row's state (credited, or waiting for a card).
std::vector<std::string> idGrantWrites(bool server, int year, int month, int times, const std::string& now);

// The month-end clearing of every live employee with an ID card not yet
// cleared that month: the two clearing rows, the marker and the card.
std::vector<std::string> clearingWrites(bool server, int year, int month, const std::string& now);

// The ID balance clearing of every ID card: the voids of the balances not at
// 0, the card log's balances, the cards and the click's log row with the
// count and the sum.
std::vector<std::string> idClearingWrites(const std::string& now);

// The IC settlement before `cutoff` of both serial chains of every card
// logged to an employee: the backup copies, the rows below each card's
// top serial gone, the top row holding their sum, and the cut-off recorded.
std::vector<std::string> settlementWrites(bool server, const std::string& cutoff);

// The statements that open and close the one transaction on each engine.
std::vector<std::string> inOneTransaction(bool server, std::vector<std::string> writes);

}  // namespace tolvenk::bench
