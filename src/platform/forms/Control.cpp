#include "platform/forms/Control.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QWidget>

#include "platform/forms/Form.h"

namespace tolvenk::forms {

Control::Control(Form& form, QWidget* widget) : form_(form), widget_(widget) {
    form.registerControl(this);
    Move(geo_.left, geo_.top, geo_.width, geo_.height);
}

Control::~Control() = default;  // the widget belongs to its parent widget

void Control::Move(int left, int top, int width, int height) {
    geo_ = {left, top, width < 0 ? 0 : width, height < 0 ? 0 : height};
    widget_->setGeometry(left / kTwipsPerPixel, top / kTwipsPerPixel, geo_.width / kTwipsPerPixel,
                         geo_.height / kTwipsPerPixel);
}

void Control::setEnabled(bool v) {
    enabled_ = v;
    widget_->setEnabled(v);
}

void Control::setVisible(bool v) {
    visible_ = v;
    widget_->setVisible(v);
}

int Control::backRole() const { return QPalette::Window; }

Colour Control::BackColor() const {
    if (back_) return *back_;
    return fromQColor(widget_->palette().color(static_cast<QPalette::ColorRole>(backRole())));
}

void Control::setBackColor(Colour c) {
    back_ = c;
    const auto role = static_cast<QPalette::ColorRole>(backRole());
    QPalette p = widget_->palette();
    p.setColor(role, toQColor(c));
    widget_->setPalette(p);
    // Labels, boxes and frames paint no background of their own otherwise.
    if (role == QPalette::Window) widget_->setAutoFillBackground(true);
}

void Control::Refresh() { widget_->repaint(); }

void Control::SetFocus() { widget_->setFocus(); }

void Control::ZOrder() { widget_->raise(); }

void Control::setContainer(Control& container) {
    widget_->setParent(container.widget());
    Move(geo_.left, geo_.top, geo_.width, geo_.height);
    widget_->setVisible(visible_);
}

void Control::saveDesign() {
    designGeo_ = geo_;
    designEnabled_ = enabled_;
    designVisible_ = visible_;
    designBack_ = back_;
    designFill_ = widget_->autoFillBackground();
    saveOwnDesign();
}

void Control::restoreDesign() {
    Move(designGeo_.left, designGeo_.top, designGeo_.width, designGeo_.height);
    setEnabled(designEnabled_);
    setVisible(designVisible_);
    if (designBack_) {
        setBackColor(*designBack_);
    } else if (back_) {
        const auto role = static_cast<QPalette::ColorRole>(backRole());
        QPalette p = widget_->palette();
        p.setColor(role, QApplication::palette(widget_).color(role));
        widget_->setPalette(p);
        widget_->setAutoFillBackground(designFill_);
        back_.reset();
    }
    restoreOwnDesign();
    if (fontPercent_ != 100) {
        widget_->setFont(QFont());  // the container's font again
        fontPercent_ = 100;
    }
}

}  // namespace tolvenk::forms
