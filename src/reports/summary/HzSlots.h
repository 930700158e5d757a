#pragma once
// The arithmetic of the summary run: nine 32-bit slots per item value, and
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

// Nine 32-bit slots of one item value, numbered as the run uses them:
// 1 report, 2 outer group, 3 middle group, 4 running sum of 3, 5 listed rows,
// 6 current row, 7 = 3 - 5 and 8 = 2 - 4 (the "other" rows); 0 is unused.
class Slots {
public:
    // Error 9 outside 0..8.
    std::int32_t& operator[](int k);
    std::int32_t operator[](int k) const;

private:
    std::array<std::int32_t, 9> v_{};
};

// Every value of every item, and whether the last group total found records.
struct HzValues {
    std::array<std::array<Slots, hz::Measure_Count>, hz::Item_Count> Acc;
    std::array<bool, hz::Item_Count> Has{};

    Slots& operator()(hz::Item i, hz::Measure m) { return Acc[static_cast<std::size_t>(i)][static_cast<std::size_t>(m)]; }
    // No queried item found records.
    bool Level_Empty() const;
};

// 32-bit arithmetic of the accumulators: error 6 when the result leaves the range.
std::int32_t Long_Add(std::int32_t a, std::int32_t b);
std::int32_t Long_Sub(std::int32_t a, std::int32_t b);
// A 64-bit total as a 32-bit one: error 6 when it does not fit.
std::int32_t Long_Of(std::int64_t v);
// A database value as a 32-bit whole number (halves to even); error 94 for
// NULL, 6 out of range, 13 for text that is no number.
std::int32_t CLng(const db::Value& v);

// Type conditions written from the kind codes: "XF_Type in(1,2)", or with
// the blank some queries write, "XF_Type in (1,2)"; "XF_Type=11".
std::string Kind_In(XF_Kind_Group::Kinds kinds, bool blank = false);
std::string Kind_Is(int code);

// A department condition less its leading " Record_XF", so that "Card_Log"
// in front of it names the same person on the card log.
inline std::string Less_Record_XF(const std::string& cond) { return cond.size() > 10 ? cond.substr(10) : std::string(); }

// The box of a trapped error: its description, critical icon, "出错:<where>".
void Show_Trap(const std::exception& e, const char* where);

}  // namespace tolvenk
