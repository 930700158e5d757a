#include "platform/forms/Frame.h"

#include <QGroupBox>

#include "platform/forms/Form.h"
#include "platform/forms/LiteralCaption.h"

namespace tolvenk::forms {

Frame::Frame(Form& form) : Control(form, new QGroupBox(form.widget())), box_(static_cast<QGroupBox*>(widget())) {
    box_->setAutoFillBackground(true);  // a frame hides what lies under it
}

void Frame::setCaption(const std::string& c) {
    caption_ = c;
    box_->setTitle(literalCaption(c));
}

}  // namespace tolvenk::forms
