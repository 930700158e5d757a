#pragma once
// The profit/loss correction of an IC card's money chain: each break, where a
// row did not start from the balance the row before it closed with, gets a
// row of kind 201 (money lost) or 202 (money found) one serial and one second
// before it, marked Err_Code 2.
#include <cstdint>
#include <string>
#include <vector>

#include "data/BTService.h"
#include "data/XFService.h"

namespace tolvenk::IC_Correction {

// A correction row a card's chain wants: the nth row alike of those it
// wants, written only while fewer than nth stand.
struct Mend {
    BTService::CorrectionRow row;
    std::int64_t nth;
};

// The rows that would mend the breaks of one card's chain dated up to
// `cutoff`, read on `On`; rows the chain as read already holds are left
// out. Nothing is written here.
std::vector<Mend> Mends_Wanted(db::Connection& On, std::int32_t person, const std::string& card,
                               const std::string& cutoff);

// Writes the rows. Each is checked again under the write lock before it is
// written, so a second office correcting the same card meanwhile, or a run
// over a chain already mended, writes nothing. Returns how many rows could
// not be written; the first reason goes to `error`. A lost connection
// passes (DbError).
int Write_Mends(BTService& BT, const std::vector<Mend>& mends, std::string& error);

}  // namespace tolvenk::IC_Correction
