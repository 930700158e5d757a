// The editing panel in a language whose captions are longer than the design
// allows: the tick boxes wrap, and their frames and the panel grow.
#include "reports/summary/frmHZ_Format.h"
#include "ui/CaptionFlow.h"

namespace tolvenk {

namespace {

// The boxes as one row from the first one's top, when any of them does not fit.
template <class Boxes>
int flowBoxes(Boxes& boxes, int count, int right, int rowStep, int designRows) {
    bool fits = true;
    for (int i = 0; i < count; ++i) fits = fits && boxes(i).CaptionWidth() <= boxes(i).Width();
    if (fits) return 0;
    Caption_Row row;
    for (int i = 0; i < count; ++i) {
        boxes(i).setTop(boxes(0).Top());
        row.push_back({&boxes(i)});
    }
    return Flow_Caption_Row(row, 120, right, rowStep, 60) - (designRows - 1) * rowStep;
}

}  // namespace

void frmHZ_Format::Fit_Caption_Rows() {
    const int grow1 = std::max(0, flowBoxes(Check1, 4, Picture1.Width() - 120, 350, 1));
    Frame3.setTop(Frame3.Top() + grow1);
    itemRowsGrow_ = std::max(0, flowBoxes(Check2, 8, Frame3.Width() - 120, 400, 2));
    Frame4.setTop(Frame4.Top() + itemRowsGrow_);
    Frame4.setHeight(Frame4.Height() + std::max(0, flowBoxes(Check3, 6, Frame4.Width() - 120, 350, 2)));
}

}  // namespace tolvenk
