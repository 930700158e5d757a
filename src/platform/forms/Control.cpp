#include "platform/forms/Control.h"

#include <QWidget>

#include "platform/forms/Form.h"

namespace tolvenk::forms {

Control::Control(Form& form, QWidget* widget) : widget_(widget) {
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

void Control::setContainer(Control& container) {
    widget_->setParent(container.widget());
    Move(geo_.left, geo_.top, geo_.width, geo_.height);
    widget_->setVisible(visible_);
}

void Control::saveDesign() {
    designGeo_ = geo_;
    designEnabled_ = enabled_;
    designVisible_ = visible_;
    saveOwnDesign();
}

void Control::restoreDesign() {
    Move(designGeo_.left, designGeo_.top, designGeo_.width, designGeo_.height);
    setEnabled(designEnabled_);
    setVisible(designVisible_);
    restoreOwnDesign();
}

}  // namespace tolvenk::forms
