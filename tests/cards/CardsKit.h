#pragma once
// What the card windows' tests share: a person's click on the screen and the
// check that every caption fits its control.
#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

namespace tolvenk::test {

// A person's click on a control, once the control is proven to be the one
// under that point of the screen: a button at its middle, a check box or an
// option on its box, the part that takes clicks.
inline void clickOnScreen(forms::Control& c) {
    QWidget* widget = c.widget();
    const bool boxed = qobject_cast<QAbstractButton*>(widget) && !dynamic_cast<forms::CommandButton*>(&c);
    const QPoint at = boxed ? QPoint(6, widget->height() / 2) : widget->rect().center();
    QWidget* top = QApplication::widgetAt(widget->mapToGlobal(at));
    ASSERT_EQ(top, widget) << "covered or hidden by " << (top ? top->metaObject()->className() : "nothing");
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
}

// The captions (labels, boxes, options, buttons, frame titles) wider than
// their control, and those left empty, as "text: needed > width" lines.
inline std::vector<std::string> badCaptions(const forms::Form& w) {
    std::vector<std::string> out;
    for (forms::Control* c : w.Controls()) {
        QWidget* widget = c->widget();
        QString text;
        int needed = 0;
        if (auto* l = qobject_cast<QLabel*>(widget)) {
            text = l->text();
            needed = l->sizeHint().width();
        } else if (auto* b = qobject_cast<QAbstractButton*>(widget)) {
            text = b->text();
            // Boxes and options need their indicator; buttons a margin each side.
            needed = dynamic_cast<forms::CommandButton*>(c) ? QFontMetrics(b->font()).horizontalAdvance(text) + 8
                                                              : b->sizeHint().width();
        } else if (auto* g = qobject_cast<QGroupBox*>(widget)) {
            text = g->title();
            if (text.isEmpty()) continue;  // a plain frame around buttons
            needed = QFontMetrics(g->font()).horizontalAdvance(text) + 16;
        } else {
            continue;
        }
        if (text.trimmed().isEmpty()) out.push_back("(empty caption)");
        else if (needed > widget->width())
            out.push_back(text.toStdString() + ": " + std::to_string(needed) + " > " + std::to_string(widget->width()));
    }
    return out;
}

}  // namespace tolvenk::test
