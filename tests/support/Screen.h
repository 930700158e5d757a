#pragma once
// Working a window as a person does: shown in its own modal event loop, with
// mouse clicks where its controls show and checks of what the pointer reaches.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QImage>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QWidget>

#include <exception>
#include <functional>

#include "platform/forms/Control.h"
#include "platform/forms/Form.h"

namespace tolvenk::test {

// Shows the window as the module does and runs `steps` inside its modal loop,
// at the screen's top left so that every control lies on the screen; the
// window is closed afterwards, also when a step throws.
inline void whileShown(forms::Form& w, const std::function<void()>& steps) {
    QMetaObject::invokeMethod(
        qApp,
        [&] {
            w.widget()->move(0, 0);
            QApplication::processEvents();
            try {
                steps();
            } catch (const std::exception& e) {
                ADD_FAILURE() << "a step threw: " << e.what();
            }
            if (w.Loaded()) w.Unload();
            else w.Hide();
        },
        Qt::QueuedConnection);
    w.Show();
}

// What the pointer at `local` (in `target`'s coordinates) lands on is the
// target or something inside it, not a control drawn over it.
inline bool reachable(QWidget* target, QPoint local) {
    QWidget* hit = QApplication::widgetAt(target->mapToGlobal(local));
    return hit && (hit == target || target->isAncestorOf(hit));
}
inline bool reachable(const forms::Control& c) { return reachable(c.widget(), c.widget()->rect().center()); }

inline void click(QWidget* target, QPoint local) {
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, local);
}
inline void click(const forms::Control& c) { click(c.widget(), c.widget()->rect().center()); }

// A tick box or option clicked on its box, where a person aims.
inline void clickBox(const forms::Control& c) {
    QWidget* w = c.widget();
    QStyleOptionButton opt;
    opt.initFrom(w);
    click(w, w->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &opt, w).center());
}

// A row of a list as a person clicks it.
inline void clickRow(QAbstractItemView* view, const QModelIndex& index) {
    click(view->viewport(), view->visualRect(index).center());
}

// The window shows over the panel's place exactly what the panel alone
// shows: nothing beneath shines through and nothing lies on top of it.
inline bool coversItsPlace(const forms::Control& panel) {
    QWidget* p = panel.widget();
    const QRect place(p->mapTo(p->window(), QPoint(0, 0)), p->size());
    return p->window()->grab(place).toImage() == p->grab().toImage();
}

}  // namespace tolvenk::test
