#pragma once
// Times of day as the meal tables keep them: "hh:mm:ss", 24-hour, two digits
// each, so that text order is time order.
#include <optional>
#include <string>

namespace tolvenk {

namespace forms {
class DTPicker;
}

namespace meals {

// "h:mm" or "h:mm:ss" (hours 0-23) as "hh:mm:ss"; nothing for any other text.
std::optional<std::string> timeOfDay(const std::string& text);
// The picker's time of day, "hh:mm:ss".
std::string pickerTime(const forms::DTPicker& picker);
// Sets the picker's time of day, keeping its day. A text that is no time of
// day leaves the picker as it was and gives false.
bool setPickerTime(forms::DTPicker& picker, const std::string& text);

}  // namespace meals
}  // namespace tolvenk
