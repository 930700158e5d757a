// Captions that fit: a control is widened to what its text needs in its font.
#include <QFont>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "platform/forms/Control.h"
#include "platform/forms/Form.h"

namespace tolvenk::forms {

namespace {

bool besideInRow(const QRect& a, const QRect& b) { return a.top() <= b.bottom() && b.top() <= a.bottom(); }

}  // namespace

int Control::CaptionWidth() const { return captionPixels() * kTwipsPerPixel; }

// While the window is up; before, its first resize fits every caption once
// the window's own layout is done.
void Control::captionChanged() {
    if (form_.Showing()) fitCaption();
}

// The controls right of this one in its row move right into the gaps between
// them and the room at the row's end; controls laid over each other by
// design (a text box over a picker) move as one block.
void Control::shiftRowRight(int pixels) {
    QWidget* parent = widget_->parentWidget();
    const QRect me = widget_->geometry();
    std::vector<Control*> row;
    for (Control* c : form_.Controls())
        if (c != this && c->widget_->parentWidget() == parent && besideInRow(me, c->widget_->geometry()) &&
            c->widget_->x() >= me.center().x())
            row.push_back(c);
    std::sort(row.begin(), row.end(), [](Control* a, Control* b) { return a->widget_->x() < b->widget_->x(); });

    // Blocks of overlapping controls, each with the gap before it.
    struct Block {
        int left, right;
        std::vector<Control*> members;
    };
    std::vector<Block> blocks;
    for (Control* c : row) {
        const QRect g = c->widget_->geometry();
        if (!blocks.empty() && g.left() <= blocks.back().right) {
            blocks.back().right = std::max(blocks.back().right, g.right());
            blocks.back().members.push_back(c);
        } else {
            blocks.push_back({g.left(), g.right(), {c}});
        }
    }
    int shift = pixels, edge = me.right();
    for (Block& b : blocks) {
        shift = std::max(0, shift - std::max(0, b.left - edge - 1));
        edge = b.right;
        if (shift == 0) break;
        for (Control* c : b.members) c->Move(c->Left() + shift * kTwipsPerPixel, c->Top(), c->Width(), c->Height());
    }
}

void Control::fitCaption() {
    if (fontPercent_ != 100) {
        widget_->setFont(QFont());
        fontPercent_ = 100;
    }
    int missing = captionPixels() - widget_->width();
    if (missing <= 0) return;
    QWidget* parent = widget_->parentWidget();
    if (!parent) return;

    // The free room: the gaps of the row to the right and the room at its end,
    // and the gap to the left.
    const QRect me = widget_->geometry();
    const QRect inside = parent->contentsRect();
    std::vector<QRect> right;
    int leftLimit = inside.left();
    int fixedRight = inside.right();  // a widget that is not a control does not move
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w == widget_ || w->isWindow() || !besideInRow(me, w->geometry())) continue;
        const QRect g = w->geometry();
        if (g.left() >= me.center().x()) {
            right.push_back(g);
            const bool control = std::any_of(form_.Controls().begin(), form_.Controls().end(),
                                             [&](Control* c) { return c->widget_ == w; });
            if (!control) fixedRight = std::min(fixedRight, g.left() - 1);
        } else if (g.right() < me.center().x()) {
            leftLimit = std::max(leftLimit, g.right() + 1);
        }
    }
    std::sort(right.begin(), right.end(), [](const QRect& a, const QRect& b) { return a.left() < b.left(); });
    int room = 0, edge = me.right();
    for (const QRect& g : right) {
        if (g.left() > fixedRight) break;
        room += std::max(0, g.left() - edge - 1);
        edge = std::max(edge, g.right());
    }
    room += std::max(0, fixedRight - edge);

    const int toRight = std::min(missing, room);
    if (toRight > 0) shiftRowRight(toRight);
    missing -= toRight;
    const int toLeft = std::min(missing, std::max(0, me.left() - leftLimit));
    missing -= toLeft;
    Move(Left() - toLeft * kTwipsPerPixel, Top(), Width() + (toRight + toLeft) * kTwipsPerPixel, Height());

    // No room left: a smaller font, never a cut-off caption.
    while (missing > 0 && fontPercent_ > 60) {
        fontPercent_ -= 5;
        QFont f = parent->font();
        f.setPointSizeF(f.pointSizeF() * fontPercent_ / 100.0);
        widget_->setFont(f);
        missing = captionPixels() - widget_->width();
    }
}

void Form::fitCaptions() {
    for (Control* c : controls_) c->fitCaption();
}

}  // namespace tolvenk::forms
