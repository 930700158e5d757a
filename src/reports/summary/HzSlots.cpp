#include "reports/summary/HzSlots.h"

#include <limits>

#include "lang/LangGlobals.h"
#include "platform/Error.h"
#include "platform/VbNumber.h"
#include "platform/db/SqlText.h"
#include "platform/db/Value.h"
#include "platform/services/Services.h"

namespace tolvenk {

namespace {

std::int32_t toLong(std::int64_t v) {
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        throw VbError(6, "Overflow");
    return static_cast<std::int32_t>(v);
}

}  // namespace

std::int32_t& Slots::operator[](int k) {
    if (k < 0 || k > 8) throw VbError(9, "Subscript out of range");
    return v_[static_cast<std::size_t>(k)];
}

std::int32_t Slots::operator[](int k) const {
    if (k < 0 || k > 8) throw VbError(9, "Subscript out of range");
    return v_[static_cast<std::size_t>(k)];
}

bool HzValues::Level_Empty() const {
    for (const hz::ItemDef& d : hz::items())
        if ((d.source == hz::Source::Record_XF || d.source == hz::Source::Card_Log) &&
            Has[static_cast<std::size_t>(d.item)])
            return false;
    return true;
}

std::int32_t Long_Add(std::int32_t a, std::int32_t b) { return toLong(std::int64_t{a} + b); }
std::int32_t Long_Of(std::int64_t v) { return toLong(v); }
std::int32_t Long_Sub(std::int32_t a, std::int32_t b) { return toLong(std::int64_t{a} - b); }

std::int32_t CLng(const db::Value& v) {
    if (v.isNull()) throw VbError(94, "Invalid use of Null");
    if (v.isInteger()) return toLong(v.asInteger());
    double d = 0;
    if (v.isReal()) {
        d = v.asReal();
    } else {
        const auto parsed = parseNumber(v.asText());
        if (!parsed) throw VbError(13, "Type mismatch");
        d = *parsed;
    }
    return vbCLng(d);
}

std::string Kind_In(XF_Kind_Group::Kinds kinds, bool blank) {
    return std::string(blank ? "XF_Type in (" : "XF_Type in(") + XF_Kind_Group::sqlList(kinds) + ")";
}

std::string Kind_Is(int code) { return "XF_Type=" + std::to_string(code); }

void Show_Trap(const std::exception& e, const char* where) {
    platform::services().msgBox(e.what(), platform::vbCritical, Lang[112] + ":" + where);
}

}  // namespace tolvenk
