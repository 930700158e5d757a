#include "platform/forms/Colour.h"

#include <QApplication>
#include <QColor>
#include <QPalette>

namespace tolvenk::forms {

namespace {
// The system colours the windows are likely to name, by their classic index.
QPalette::ColorRole systemRole(unsigned index) {
    switch (index) {
    case 0x05: return QPalette::Base;             // window background
    case 0x08: return QPalette::Text;             // window text
    case 0x0D: return QPalette::Highlight;
    case 0x0E: return QPalette::HighlightedText;
    case 0x12: return QPalette::ButtonText;
    default: return QPalette::Button;             // button face and the rest
    }
}
}  // namespace

QColor toQColor(Colour c) {
    if (c & 0x80000000u) return QApplication::palette().color(systemRole(c & 0xFFu));
    return QColor(static_cast<int>(c & 0xFFu), static_cast<int>((c >> 8) & 0xFFu), static_cast<int>((c >> 16) & 0xFFu));
}

Colour fromQColor(const QColor& c) {
    return static_cast<Colour>(c.red()) | static_cast<Colour>(c.green()) << 8 | static_cast<Colour>(c.blue()) << 16;
}

}  // namespace tolvenk::forms
