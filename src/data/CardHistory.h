#pragma once
// The lines of the personal card history: each record of a card read into
// amounts, names and marks, with the running balances an ID installation
// keeps per employee. Only the window turns them into text and colour.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/DataList.h"
#include "platform/MoneyText.h"

namespace tolvenk::Card_History {

// The look-up lists the lines are named from (XF_Dian_Info, XF_Unit_Info,
// Mach_Info rows, as the services list them).
struct Names {
    DataList dian, unit, mach;
};

// Running money (fen) and count of one employee on an ID installation,
// exact at any size.
struct Running {
    Exact_Sum money;
    Exact_Sum times;
};

struct Line {
    std::string id, date;
    bool earlier = false;     // dated before the line above it in the list
    std::int16_t type = -1;   // XF_Type; -1 when it reads as none
    // Fen and counts as stored, exactly: a value that is no whole 64-bit
    // number leaves its sum inexact (the overflow mark on screen).
    Exact_Sum change, after;
    Exact_Sum ciChange, ciAfter;
    // IC: a serial of 0 or less carries no amount (or count) of its kind.
    bool money = true, times = true;
    std::string serial, ciSerial;
    std::int16_t meal = -1;
    std::string cashier;
    std::string err;          // Err_Code as stored
    bool uncertain = false;   // Err_Code other than 0
    std::string dian, unit, mach;
};

// The card's lines in list order; false when `sink` (told the line and how
// many of how many) stopped it. IC takes the stored balances, ID runs
// `running` on by each change.
using Line_Sink = std::function<bool(const Line& line, int done, int total)>;
bool Lines(const DataList& list, bool ic, const Names& names, Running& running, const Line_Sink& sink);

// The card numbers of an employee's card list (Card_Log rows) to list, each
// once however often it was issued: Card_No and the first issue's Card_Number.
struct Card {
    std::string no, number;
};
std::vector<Card> Listed_Cards(const DataList& cards);

}  // namespace tolvenk::Card_History
