#include "platform/forms/Line.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

#include "platform/forms/Form.h"

namespace tolvenk::forms {

class LineWidget : public QWidget {
public:
    LineWidget(QWidget* parent, const Line& line) : QWidget(parent), line_(line) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(toQColor(line_.colour_));
        const int left = std::min(line_.x1_, line_.x2_), top = std::min(line_.y1_, line_.y2_);
        p.drawLine((line_.x1_ - left) / kTwipsPerPixel, (line_.y1_ - top) / kTwipsPerPixel,
                   (line_.x2_ - left) / kTwipsPerPixel, (line_.y2_ - top) / kTwipsPerPixel);
    }

private:
    const Line& line_;
};

Line::Line(Form& form) : Control(form, new LineWidget(form.widget(), *this)) { setPoints(0, 0, 0, 0); }

void Line::setPoints(int x1, int y1, int x2, int y2) {
    x1_ = x1, y1_ = y1, x2_ = x2, y2_ = y2;
    // One pixel more than the span, so a horizontal or vertical line has room.
    Move(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + kTwipsPerPixel, std::abs(y2 - y1) + kTwipsPerPixel);
    widget()->update();
}

void Line::setBorderColor(Colour c) {
    colour_ = c;
    widget()->update();
}

void Line::restoreOwnDesign() {
    colour_ = design_.colour;
    setPoints(design_.x1, design_.y1, design_.x2, design_.y2);
}

}  // namespace tolvenk::forms
