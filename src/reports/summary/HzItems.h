#pragma once
// The summary report's items: one enumeration and one constant row per item,
// which the header, both calculation passes and the row writer read.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tolvenk::hz {

// In header order: income side, then expense side.
enum Item : int {
    PC_Recharge,
    Term_Recharge,
    Subsidy,
    Transfer_Recharge,
    Issue_Fee,
    Change_Fee,
    Income_Sub,
    PC_Withdraw,
    Term_Withdraw,
    Void,
    Clear,
    Return_Fee,
    Meal_1,  // the five meals of XF_Meal_Code, in its order
    Meal_2,
    Meal_3,
    Meal_4,
    Meal_5,
    Meal_Other,  // consumption outside the five meal periods
    Consume,
    Water,
    Meal_Order,
    Expense_Sub,
    Item_Count
};

// The values an item can show, each in a column of its own.
enum Measure : int { Money, Money_Cnt, Times, Times_Cnt, Measure_Count };

enum class Side { Income, Expense };

// Where an item's figures come from.
enum class Source {
    Record_XF,  // sums of YuE_Change / YuCi_Change over its kinds
    Card_Log,   // fees of one card operation
    Subtotal,   // its side's items added up
    Remainder,  // consumption less the five meals
    None        // columns only (meal orders are not summed)
};

// The two passes of a run: the group totals (one query per item and level)
// and the report rows (one query per item and row).
enum Pass { LevelPass, RowPass };

struct ItemDef {
    Item item;
    Side side;
    Source source;
    int meal;   // 1..5 for the meal items, else 0
    Item gate;  // whose column and data decide that this item is computed
    // Header: the P3/P4/P5 flag that shows the item ('3', '4', '5' and the
    // character), the caption of the block it starts (0: it joins the block
    // before), its column captions and which values it has.
    char flagPart;
    int flagIndex;
    int blockLang;
    int moneyLang, timesLang;  // 0: no such column
    bool counted;              // money has a count column
    bool timesCounted;         // times have a count column
    std::vector<int> covered, timesCovered;  // XF_Type kinds of the block
    // Record_XF items: the kind condition of money and of times, per pass.
    std::array<std::string, 2> moneyCond, timesCond;
    // Card_Log items: the operation, the level pass's selected columns and
    // the row pass's fee column.
    int op;
    std::string levelSelect, feeColumn;
    // The XF_Type kinds the money and the times conditions select (with
    // XF_Meal = meal for the meal items), for figures summed in memory.
    std::vector<int> moneyKinds{}, timesKinds{};
};

// Row i is Item i.
const std::array<ItemDef, Item_Count>& items();
inline const ItemDef& def(Item i) { return items()[static_cast<std::size_t>(i)]; }

// The items in the order each pass computes them: the queried ones as their
// statements have always come (gated items follow their gate's money query
// and are not listed), each derived one where its parts are complete, so
// that an error trapped further on leaves it right.
const std::vector<Item>& blockOrder(Pass pass);

// Worked out from other items' values, with no records of its own.
inline bool derived(const ItemDef& d) { return d.source == Source::Subtotal || d.source == Source::Remainder; }

// Whether the item's value at this measure decides if its cell is shown:
// money by its count, times by their count, where the item counts them.
Measure testOf(const ItemDef& d, Measure m);

}  // namespace tolvenk::hz
