#pragma once
// The arithmetic of the summary run: nine 64-bit slots per item value, and
// the kind conditions the items are written with.
#include <array>
#include <cstdint>
#include <exception>
#include <string>

#include "data/XfTypeCode.h"
#include "reports/summary/HzItems.h"

namespace tolvenk {

namespace db {
class Value;
}

// Nine slots of one item value, numbered as the run uses them:
// 1 report, 2 outer group, 3 middle group, 4 running sum of 3, 5 listed rows,
// 6 current row, 7 = 3 - 5 and 8 = 2 - 4 (the "other" rows); 0 is unused.
class Slots {
public:
    // Error 9 outside 0..8.
    std::int64_t& operator[](int k);
    std::int64_t operator[](int k) const;

private:
    std::array<std::int64_t, 9> v_{};
};

// Every value of every item, and whether the last group total found records.
struct HzValues {
    std::array<std::array<Slots, hz::Measure_Count>, hz::Item_Count> Acc;
    std::array<bool, hz::Item_Count> Has{};

    Slots& operator()(hz::Item i, hz::Measure m) { return Acc[static_cast<std::size_t>(i)][static_cast<std::size_t>(m)]; }
    // No queried item found records.
    bool Level_Empty() const;
};

// Sums of a large site's money and counts pass 32 bits within a month: the
// accumulators are 64-bit, checked, and a figure beyond even that is error 6
// ("Overflow") rather than a wrapped one.
std::int64_t Slot_Add(std::int64_t a, std::int64_t b);
std::int64_t Slot_Sub(std::int64_t a, std::int64_t b);
std::int64_t Slot_Neg(std::int64_t a);
// A database value as a whole number (halves to even); error 94 for NULL, 6
// beyond 64 bits, 13 for text that is no number.
std::int64_t Whole_Of(const db::Value& v);

// Type conditions written from the kind codes: "XF_Type in(1,2)", or with
// the blank some queries write, "XF_Type in (1,2)"; "XF_Type=11".
std::string Kind_In(XF_Kind_Group::Kinds kinds, bool blank = false);
std::string Kind_Is(int code);

// A department condition less its leading " Record_XF", so that "Card_Log"
// in front of it names the same person on the card log.
inline std::string Less_Record_XF(const std::string& cond) { return cond.size() > 10 ? cond.substr(10) : std::string(); }

// The box of a trapped error: its description, critical icon, "出错:<where>".
void Show_Trap(const std::exception& e, const char* where);
// What a trap's box says: the error's description, or for a table the
// database does not hold, its name and what the report leaves out.
std::string Trap_Text(const std::exception& e);

}  // namespace tolvenk
