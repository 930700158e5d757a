#include "reports/summary/HzReportState.h"

#include "platform/Error.h"

namespace tolvenk {

namespace {
[[noreturn]] void outOfRange() { throw VbError(9, "Subscript out of range"); }
}  // namespace

std::string& Group_Cond::field(int f) {
    return const_cast<std::string&>(static_cast<const Group_Cond&>(*this).field(f));
}

const std::string& Group_Cond::field(int f) const {
    switch (f) {
    case 0: return Caption;
    case 1: return Cond;
    case 2: return Cond2;
    case 3: return Bound;
    default: outOfRange();
    }
}

Group_Conds Group_Conds::Single_Empty() {
    Group_Conds g;
    g.Add();
    return g;
}

Group_Cond& Group_Conds::operator()(int i) {
    return const_cast<Group_Cond&>(static_cast<const Group_Conds&>(*this)(i));
}

const Group_Cond& Group_Conds::operator()(int i) const {
    if (i < 1 || i > UBound()) outOfRange();
    return entries_[static_cast<std::size_t>(i)];
}

Group_Cond& Group_Conds::Add() {
    if (entries_.empty()) entries_.emplace_back();
    return entries_.emplace_back();
}

void Clear_Item_Cols(HzReportState& st) { static_cast<HzItemCols&>(st) = HzItemCols{}; }

}  // namespace tolvenk
