// The condition row in a language whose captions are longer than the design
// allows: it wraps inside its frame, which grows, and what lies below moves down.
#include <initializer_list>

#include "reports/summary/XF_Cha_HZ.h"
#include "ui/CaptionFlow.h"

namespace tolvenk {

void XF_Cha_HZ::Fit_Caption_Rows() {
    const int grow = Flow_Caption_Row({{&Label1(1), &DTPicker1, &Line1, &DTPicker2}, {&Check1}, {&Label1(0), &Combo1}},
                                      120, Frame2.Width() - 120, 420, 60);
    // The month texts lie over their pickers' dates.
    Text1.Move(DTPicker1.Left(), DTPicker1.Top(), Text1.Width(), Text1.Height());
    Text2.Move(DTPicker2.Left(), DTPicker2.Top(), Text2.Width(), Text2.Height());
    if (grow == 0) return;
    Frame2.setHeight(Frame2.Height() + grow);
    for (forms::Control* c : std::initializer_list<forms::Control*>{&Command2, &Command1, &Command4(0), &Command4(1),
                                                                     &Command4(2), &Command4(3), &pBar1, &pBar2, &pBar3})
        c->setTop(c->Top() + grow);
    Grid1.Move(Grid1.Left(), Grid1.Top() + grow, Grid1.Width(), Grid1.Height() - grow);
}

}  // namespace tolvenk
