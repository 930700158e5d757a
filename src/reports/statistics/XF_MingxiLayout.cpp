// The window's rows in a language whose captions are longer than the design
// allows: a row that does not fit wraps, and what lies below it moves down.
#include <algorithm>

#include "reports/statistics/XF_Mingxi.h"
#include "reports/statistics/XF_MingxiKinds.h"
#include "ui/CaptionFlow.h"

namespace tolvenk {

namespace {
constexpr int kMargin = 255;  // right of the controls, as the separator line ends
constexpr int kGap = 45;
}  // namespace

// Laid out for the window's width when it opens: on a wide window the rows
// keep their design, on a narrow one a row wraps rather than being cut off.
void XF_Mingxi::Fit_Caption_Rows() {
    const int right = ScaleWidth() - kMargin;
    int down = Flow_Caption_Row({{&Label1(0), &DTPicker1(0), &DTPicker1(1), &Line3, &DTPicker2(0), &DTPicker2(1)},
                                 {&chkErr}},
                                3420, right, 420, kGap);
    down += Flow_Caption_Row({{&Label2(4), &Combo4}, {&Label2(5), &Combo5}, {&Label2(2), &Combo3}}, 3600, right,
                             420, kGap, down);
    Caption_Row options{{&Label1(4)}};
    for (int i = 0; i < mingxi::kOptionCount; ++i) options.push_back({&optType(i)});
    down += Flow_Caption_Row(options, 3600, right, 330, kGap, down);

    // The kind boxes share their frame's width by what their captions need;
    // when they need more than one line, they wrap and the frame grows.
    int framesGrow = 0;
    for (const auto& g : mingxi::kindGroups()) {
        forms::Frame& frame = fraType(g.option - 1);
        frame.setTop(frame.Top() + down);
        Caption_Row boxes;
        int needed = 0;
        for (int box : g.shown) {
            boxes.push_back({&chkType(box)});
            needed += chkType(box).CaptionWidth();
        }
        const int inner = frame.Width() - 120;
        if (needed <= inner) {
            const int share = (inner - needed) / static_cast<int>(boxes.size());
            bool fits = true;
            for (const auto& b : boxes) fits = fits && b[0]->CaptionWidth() <= b[0]->Width();
            int x = 60;
            for (const auto& b : boxes) {
                if (fits) break;  // as designed
                const int w = b[0]->CaptionWidth() + share;
                b[0]->Move(x, b[0]->Top(), w, b[0]->Height());
                x += w;
            }
            continue;
        }
        const int grow = Flow_Caption_Row(boxes, 60, frame.Width() - 60, 300, 0);
        frame.setHeight(frame.Height() + grow);
        framesGrow = std::max(framesGrow, grow);
    }
    down += framesGrow;
    if (down == 0) return;

    Line1.setPoints(Line1.X1(), Line1.Y1() + down, Line1.X2(), Line1.Y2() + down);
    for (forms::Control* c : std::initializer_list<forms::Control*>{&Command1, &Command4(0), &Command4(1), &Command4(2),
                                                                     &Command4(3), &cmdExit})
        c->setTop(c->Top() + down);
    Grid1.Move(Grid1.Left(), Grid1.Top() + down, Grid1.Width(), std::max(Grid1.Height() - down, 600));
}

}  // namespace tolvenk
