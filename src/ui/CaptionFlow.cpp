#include "ui/CaptionFlow.h"

#include <algorithm>

#include "platform/forms/Control.h"

namespace tolvenk {

namespace {
int neededWidth(const forms::Control& c) { return std::max(c.Width(), c.CaptionWidth()); }
}  // namespace

int Flow_Caption_Row(const Caption_Row& groups, int left, int right, int rowStep, int gap, int down) {
    bool fits = true;
    for (const auto& g : groups)
        for (const forms::Control* c : g)
            if (c->Visible() && (c->CaptionWidth() > c->Width() || c->Left() + c->Width() > right)) fits = false;
    if (fits) {
        if (down != 0)
            for (const auto& g : groups)
                for (forms::Control* c : g) c->setTop(c->Top() + down);
        return 0;
    }
    int x = left, line = 0;
    for (const auto& g : groups) {
        int width = 0;
        for (const forms::Control* c : g) width += (c->Visible() ? neededWidth(*c) + gap : 0);
        if (width == 0) continue;
        if (x > left && x + width - gap > right) {
            ++line;
            x = left;
        }
        for (forms::Control* c : g) {
            if (!c->Visible()) {
                c->setTop(c->Top() + down + line * rowStep);
                continue;
            }
            c->Move(x, c->Top() + down + line * rowStep, neededWidth(*c), c->Height());
            x += c->Width() + gap;
        }
    }
    return line * rowStep;
}

}  // namespace tolvenk
