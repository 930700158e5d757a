#pragma once
// The profit/loss correction of an IC card's money chain: each break, where a
// row did not start from the balance the row before it closed with, gets a
// row of kind 201 (money lost) or 202 (money found) one serial and one second
// before it, marked Err_Code 2.
#include <cstdint>
#include <string>

#include "data/BTService.h"
#include "data/XFService.h"

namespace tolvenk::IC_Correction {

// Mends the breaks of one card's chain dated up to `cutoff`. Each break is
// checked again under the write lock before its row is written, so a second
// office correcting the same card meanwhile, or a run over a chain already
// mended, writes nothing. Returns how many rows could not be written; the
// first reason goes to `error`. A lost connection passes (DbError).
int Mend_Card(XFService& XF, BTService& BT, std::int32_t person, const std::string& card, const std::string& cutoff,
              std::string& error);

}  // namespace tolvenk::IC_Correction
