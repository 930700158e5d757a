#include "platform/forms/PictureBox.h"

#include <QFrame>

#include "platform/forms/Form.h"

namespace tolvenk::forms {

PictureBox::PictureBox(Form& form) : Control(form, new QFrame(form.widget())) {
    static_cast<QFrame*>(widget())->setFrameShape(QFrame::NoFrame);
    widget()->setAutoFillBackground(true);  // a panel hides what lies under it
}

}  // namespace tolvenk::forms
