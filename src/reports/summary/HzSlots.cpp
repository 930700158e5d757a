#include "reports/summary/HzSlots.h"

#include <charconv>
#include <cmath>

#include "lang/LangGlobals.h"
#include "platform/Error.h"
#include "platform/VbNumber.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "platform/db/Value.h"
#include "platform/ErrorText.h"
#include "platform/services/Services.h"

namespace tolvenk {

namespace {

[[noreturn]] void overflow() { throw VbError(6, "Overflow"); }

}  // namespace

std::int64_t& Slots::operator[](int k) {
    if (k < 0 || k > 8) throw VbError(9, "Subscript out of range");
    return v_[static_cast<std::size_t>(k)];
}

std::int64_t Slots::operator[](int k) const {
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

std::int64_t Slot_Add(std::int64_t a, std::int64_t b) {
    std::int64_t r;
    if (__builtin_add_overflow(a, b, &r)) overflow();
    return r;
}

std::int64_t Slot_Sub(std::int64_t a, std::int64_t b) {
    std::int64_t r;
    if (__builtin_sub_overflow(a, b, &r)) overflow();
    return r;
}

std::int64_t Slot_Neg(std::int64_t a) { return Slot_Sub(0, a); }

std::int64_t Whole_Of(const db::Value& v) {
    if (v.isNull()) throw VbError(94, "Invalid use of Null");
    if (v.isInteger()) return v.asInteger();
    double d = 0;
    if (v.isReal()) {
        d = v.asReal();
    } else {
        const std::string& text = v.asText();
        std::int64_t exact = 0;
        const char* end = text.data() + text.size();
        if (const auto [at, ec] = std::from_chars(text.data(), end, exact); ec == std::errc() && at == end)
            return exact;
        const auto parsed = parseNumber(text);
        if (!parsed) throw VbError(13, "Type mismatch");
        d = *parsed;
    }
    d = std::nearbyint(d);  // halves to even, as the classic conversion
    if (!(d >= -9223372036854775808.0 && d < 9223372036854775808.0)) overflow();
    return static_cast<std::int64_t>(d);
}

std::string Kind_In(XF_Kind_Group::Kinds kinds, bool blank) {
    return std::string(blank ? "XF_Type in (" : "XF_Type in(") + XF_Kind_Group::sqlList(kinds) + ")";
}

std::string Kind_Is(int code) { return "XF_Type=" + std::to_string(code); }

void Show_Trap(const std::exception& e, const char* where) {
    platform::services().msgBox(Trap_Text(e), platform::vbCritical, Lang[112] + ":" + where);
}

std::string Trap_Text(const std::exception& e) {
    constexpr int kMissingTableText = 1005;
    const auto* db = dynamic_cast<const db::DbError*>(&e);
    return db && !db->missingTable().empty() ? Lf(kMissingTableText, {db->missingTable()}) : platform::errorText(e);
}

}  // namespace tolvenk
