#include "platform/forms/Dispatch.h"
#include "platform/forms/OptionButton.h"

#include <QRadioButton>
#include <QSignalBlocker>

#include "platform/forms/Form.h"
#include "platform/forms/LiteralCaption.h"

namespace tolvenk::forms {

OptionButton::OptionButton(Form& form)
    : Control(form, new QRadioButton(form.widget())), form_(form), radio_(static_cast<QRadioButton*>(widget())) {
    radio_->setAutoExclusive(false);  // exclusion is ours, so code and clicks agree
    onSignal(radio_, &QRadioButton::clicked, [this] { setValue(true); });
}

void OptionButton::setCaption(const std::string& c) {
    caption_ = c;
    radio_->setText(literalCaption(c));
    captionChanged();
}

// The box and the text beside it.
int OptionButton::captionPixels() const { return caption_.empty() ? 0 : radio_->sizeHint().width(); }

void OptionButton::show() {
    const QSignalBlocker block(radio_);
    radio_->setChecked(value_);
}

void OptionButton::setValue(bool v) {
    const bool changed = v != value_;
    value_ = v;
    show();
    if (!v || !changed) return;
    for (Control* c : form_.Controls()) {
        auto* other = dynamic_cast<OptionButton*>(c);
        if (other && other != this && other->widget()->parentWidget() == widget()->parentWidget() && other->value_) {
            other->value_ = false;
            other->show();
        }
    }
    if (Click) Click(Index);
}

void OptionButton::restoreOwnDesign() {
    setCaption(design_.caption);
    value_ = design_.value;
    show();
}

}  // namespace tolvenk::forms
