#include "meals/MealTimes.h"

#include <cctype>
#include <cstdio>

#include "platform/forms/DTPicker.h"

namespace tolvenk::meals {

namespace {

// One or two digits at `i` below `limit`; -1 when there are none or too many.
int part(const std::string& t, std::size_t& i, int limit, bool oneDigitAllowed) {
    const auto digit = [&](std::size_t k) { return k < t.size() && std::isdigit(static_cast<unsigned char>(t[k])); };
    if (!digit(i)) return -1;
    int v = t[i++] - '0';
    if (digit(i)) v = v * 10 + (t[i++] - '0');
    else if (!oneDigitAllowed) return -1;
    return v < limit ? v : -1;
}

}  // namespace

std::optional<std::string> timeOfDay(const std::string& text) {
    std::size_t i = 0;
    const int h = part(text, i, 24, true);
    if (h < 0 || i >= text.size() || text[i++] != ':') return std::nullopt;
    const int m = part(text, i, 60, false);
    if (m < 0) return std::nullopt;
    int s = 0;
    if (i < text.size()) {
        if (text[i++] != ':') return std::nullopt;
        s = part(text, i, 60, false);
        if (s < 0 || i != text.size()) return std::nullopt;
    }
    char buf[40];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", h, m, s);
    return std::string(buf);
}

std::string pickerTime(const forms::DTPicker& picker) { return picker.DateTime_Value().substr(11, 8); }

bool setPickerTime(forms::DTPicker& picker, const std::string& text) {
    const auto t = timeOfDay(text);
    if (!t) return false;
    picker.setValue(picker.Date_Value() + " " + *t);
    return true;
}

}  // namespace tolvenk::meals
