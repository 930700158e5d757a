#pragma once
#include <cstdint>

class QColor;

namespace tolvenk::forms {

// Colours as the windows write them: 0x00BBGGRR. With the high bit set the
// low byte names a system colour (button face, window text, ...).
using Colour = std::uint32_t;

QColor toQColor(Colour c);
Colour fromQColor(const QColor& c);

}  // namespace tolvenk::forms
