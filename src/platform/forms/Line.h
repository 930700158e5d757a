#pragma once
#include "platform/forms/Control.h"

class QWidget;

namespace tolvenk::forms {

// A straight line between two points, in twips of its container. The control's
// box follows the points; the widget lets clicks through to what lies below.
class Line : public Control {
public:
    explicit Line(Form& form);

    int X1() const { return x1_; }
    int Y1() const { return y1_; }
    int X2() const { return x2_; }
    int Y2() const { return y2_; }
    void setX1(int v) { setPoints(v, y1_, x2_, y2_); }
    void setY1(int v) { setPoints(x1_, v, x2_, y2_); }
    void setX2(int v) { setPoints(x1_, y1_, v, y2_); }
    void setY2(int v) { setPoints(x1_, y1_, x2_, v); }
    void setPoints(int x1, int y1, int x2, int y2);

    Colour BorderColor() const { return colour_; }
    void setBorderColor(Colour c);

protected:
    void saveOwnDesign() override { design_ = {x1_, y1_, x2_, y2_, colour_}; }
    void restoreOwnDesign() override;

private:
    friend class LineWidget;
    int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    Colour colour_ = 0;
    struct {
        int x1, y1, x2, y2;
        Colour colour;
    } design_{};
};

}  // namespace tolvenk::forms
