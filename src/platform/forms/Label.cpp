#include "platform/forms/Label.h"

#include <QLabel>

#include "platform/forms/Form.h"

namespace tolvenk::forms {

Label::Label(Form& form) : Control(form, new QLabel(form.widget())), label_(static_cast<QLabel*>(widget())) {
    label_->setWordWrap(true);
}

void Label::setCaption(const std::string& c) {
    caption_ = c;
    label_->setText(QString::fromStdString(c));
}

}  // namespace tolvenk::forms
