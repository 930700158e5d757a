#pragma once
#include <QString>

#include <string>

namespace tolvenk::forms {

// A caption for a Qt control that reads '&' as the mark of a shortcut key
// (buttons, tick boxes, options, frame titles): each '&' doubled, so the
// caption shows as written ("Recharge & Withdrawal", not an underlined W).
QString literalCaption(const std::string& caption);

}  // namespace tolvenk::forms
