#include "platform/forms/Dispatch.h"
#include "platform/forms/CommandButton.h"

#include <QPushButton>

#include "platform/forms/Form.h"

namespace tolvenk::forms {

CommandButton::CommandButton(Form& form)
    : Control(form, new QPushButton(form.widget())), button_(static_cast<QPushButton*>(widget())) {
    button_->setAutoDefault(false);
    onSignal(button_, &QPushButton::clicked, [this] { click(); });
}

void CommandButton::setCaption(const std::string& c) {
    caption_ = c;
    button_->setText(QString::fromStdString(c));
}

void CommandButton::click() {
    // Nor inside a disabled frame or panel, which a person cannot reach either.
    if (Enabled() && widget()->isEnabled() && Click) Click(Index);
}

}  // namespace tolvenk::forms
