#include "data/CardHistory.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "data/TableColumns.h"
#include "platform/db/AsciiCase.h"
#include "platform/db/SqlText.h"

namespace tolvenk::Card_History {

namespace {

// A stored whole number; text that is not one is read by its leading number.
std::int64_t whole(const std::string& text) {
    std::int64_t v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec == std::errc() && end == text.data() + text.size()) return v;
    const double d = std::nearbyint(vbVal(text));
    return std::fabs(d) < 9.2e18 ? static_cast<std::int64_t>(d) : 0;
}

// A stored amount or count, exactly: empty is 0.
Exact_Sum amount(const std::string& text) {
    Exact_Sum s;
    if (!text.empty()) s.add(text);
    return s;
}

std::int16_t code16(const std::string& text) {
    const std::int64_t v = whole(text);
    return v >= INT16_MIN && v <= INT16_MAX ? static_cast<std::int16_t>(v) : std::int16_t{-1};
}

// A look-up list: the name of the last row whose key is the same text.
class LookUp {
public:
    LookUp(const DataList& list, const char* keyCol, const char* nameCol)
        : list_(list), k_(list.rowUBound() >= 1 ? list.col(keyCol) : 0),
          n_(list.rowUBound() >= 1 ? list.col(nameCol) : 0) {}
    std::string operator()(const std::string& key) const {
        std::string name;
        for (int r = 1; r <= list_.rowUBound(); ++r)
            if (list_(r, k_) == key) name = list_(r, n_);
        return name;
    }

private:
    const DataList& list_;
    int k_, n_;
};

}  // namespace

bool Lines(const DataList& list, bool ic, const Names& names, Running& running, const Line_Sink& sink) {
    const int n = list.rowUBound();
    if (n < 1) return true;
    namespace X = col::Record_XF;
    const int cId = list.col(X::ID), cMach = list.col(X::Mach_ID), cCashier = list.col(X::Shou_Kuan),
              cDian = list.col(X::XF_Dian_ID), cType = list.col(X::XF_Type), cMeal = list.col(X::XF_Meal),
              cChange = list.col(X::YuE_Change), cNew = list.col(X::YuE_New), cSerial = list.col(X::Card_LiuShui),
              cDate = list.col(X::Date_Time), cCiChange = list.col(X::YuCi_Change), cUnit = list.col(X::XF_Unit),
              cCiSerial = list.col(X::Ci_LiuShui), cCiNew = list.col(X::YuCi_New), cErr = list.col(X::Err_Code);
    const LookUp dianName(names.dian, col::XF_Dian_Info::XF_Dian_ID, col::XF_Dian_Info::XF_Dian_Name);
    const LookUp unitName(names.unit, col::XF_Unit_Info::XF_Unit_ID, col::XF_Unit_Info::XF_Unit_Name);
    const LookUp machName(names.mach, col::Mach_Info::Mach_ID, col::Mach_Info::Mach_Name);
    std::string lastDate;
    for (int k = 1; k <= n; ++k) {
        Line l;
        l.id = list(k, cId);
        l.date = list(k, cDate);
        l.earlier = k > 1 && l.date < lastDate;
        lastDate = l.date;
        l.type = code16(list(k, cType));
        l.change = amount(list(k, cChange));
        l.ciChange = amount(list(k, cCiChange));
        if (ic) {
            l.after = amount(list(k, cNew));
            l.ciAfter = amount(list(k, cCiNew));
            l.money = vbVal(list(k, cSerial)) > 0;
            l.times = vbVal(list(k, cCiSerial)) > 0;
        } else {
            // The count moves by the record's change, as the money does.
            running.money.add(l.change);
            running.times.add(l.ciChange);
            l.after = running.money;
            l.ciAfter = running.times;
        }
        l.serial = list(k, cSerial);
        l.ciSerial = list(k, cCiSerial);
        l.meal = code16(list(k, cMeal));
        l.cashier = list(k, cCashier);
        l.err = list(k, cErr);
        l.uncertain = vbVal(l.err) != 0;
        l.dian = dianName(list(k, cDian));
        l.unit = unitName(list(k, cUnit));
        l.mach = machName(list(k, cMach));
        if (sink && !sink(l, k, n)) return false;
    }
    return true;
}

// A card issued again to the same person comes once per issue; its history
// is listed once, or its amounts would count twice.
std::vector<Card> Listed_Cards(const DataList& cards) {
    std::vector<Card> out;
    if (cards.rowUBound() < 1) return out;
    const int no = cards.col(col::Card_Log::Card_No), number = cards.col(col::Card_Log::Card_Number);
    for (int c = 1; c <= cards.rowUBound(); ++c) {
        bool seen = false;
        for (const Card& l : out) seen = seen || equalsNoCase(l.no, cards(c, no));
        if (!seen) out.push_back({cards(c, no), cards(c, number)});
    }
    return out;
}

}  // namespace tolvenk::Card_History
