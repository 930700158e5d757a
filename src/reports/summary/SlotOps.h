#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "reports/summary/LevelAccumulator.h"

namespace tolvenk {

namespace forms {
class Grid;
}

// Maintenance of the slots and the writer that turns one slot of every shown
// item into a grid row.
class SlotOps : public LevelAccumulator {
public:
    SlotOps(HzReportState& st, forms::Grid& grid) : LevelAccumulator(st), Grid1(grid) {}

    forms::Grid& Grid1;
    // The run's loop indexes into Group_Conds1..3; they keep their last values.
    std::int16_t Idx1 = 0, Idx2 = 0, Idx3 = 0;

    // Slot k of every accumulator to 0 (the other meal slot 6 excepted).
    void Clear_Slot(std::int16_t k);
    // Slot 4 += slot 3 everywhere (the other meal slot 6 excepted).
    void Roll_Up_Slot();
    // Where slot a and slot b of an item count different records, slot c
    // gets a - b; then, if any did, writes slot c as the "其他" row.
    void Diff_Slots(std::int16_t a, std::int16_t b, std::int16_t Caption_Col, std::int16_t c);
    // Appends slot k as a row. Show_Zero -1 shows values whose test is 0;
    // Force -1 adds the row even when every test is 0.
    void Make_Row_Text(std::int16_t k, std::int16_t Show_Zero, std::int16_t Force);

    // How a column shows its value.
    enum class Shown { Income_Money, Expense_Money, Count, Times };
    struct Item_Col {
        std::int32_t col;
        Slots* value;
        Slots* test;  // the value itself, or its record count
        Shown shown;
        int meal;  // 1..6 for the meal columns, 0 otherwise
    };
    // Every item column in header order (meal order left out).
    std::vector<Item_Col> Item_Cols();

protected:
    // Money in hundredths as "<sign>12.34".
    static std::string Money_Text(std::int64_t fen);
};

}  // namespace tolvenk
