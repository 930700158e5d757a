#pragma once
#include <vector>

namespace tolvenk {

namespace forms {
class Control;
}

// A row of controls as the window lays it out: groups (a label and its
// field) that stay together, left to right.
using Caption_Row = std::vector<std::vector<forms::Control*>>;

// Lays a row again when a caption in it does not fit its control in the
// language in use: every captioned control as wide as its caption needs (at
// least as designed), `gap` twips apart, a group that would pass `right`
// starting a new row `rowStep` lower. `down` first moves the whole row down.
// A row whose captions fit, and that ends before `right`, keeps its design. Returns how much lower the
// row's last line now ends (0 when it still takes one line).
int Flow_Caption_Row(const Caption_Row& groups, int left, int right, int rowStep, int gap, int down = 0);

}  // namespace tolvenk
