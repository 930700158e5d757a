#include "platform/forms/Dispatch.h"
#include "platform/forms/CommandButton.h"

#include <QPushButton>
#include <QStyle>

#include "platform/forms/Form.h"
#include "platform/forms/LiteralCaption.h"

namespace tolvenk::forms {

CommandButton::CommandButton(Form& form)
    : Control(form, new QPushButton(form.widget())), button_(static_cast<QPushButton*>(widget())) {
    button_->setAutoDefault(false);
    onSignal(button_, &QPushButton::clicked, [this] { click(); });
}

void CommandButton::setCaption(const std::string& c) {
    caption_ = c;
    button_->setText(literalCaption(c));
    captionChanged();
}

int CommandButton::captionPixels() const {
    if (caption_.empty()) return 0;
    return button_->fontMetrics().horizontalAdvance(QString::fromStdString(caption_)) +
           2 * button_->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button_);
}

void CommandButton::click() {
    // Nor inside a disabled frame or panel, which a person cannot reach either.
    if (Enabled() && widget()->isEnabled() && Click) Click(Index);
}

}  // namespace tolvenk::forms
