#include "platform/forms/Dispatch.h"
#include "platform/forms/CheckBox.h"

#include <QCheckBox>
#include <QSignalBlocker>

#include "platform/Error.h"
#include "platform/forms/Form.h"
#include "platform/forms/LiteralCaption.h"

namespace tolvenk::forms {

CheckBox::CheckBox(Form& form)
    : Control(form, new QCheckBox(form.widget())), box_(static_cast<QCheckBox*>(widget())) {
    // A click cycles between ticked and unticked only; grey is set from code.
    onSignal(box_, &QCheckBox::clicked, [this] { setValue(value_ == vbChecked ? vbUnchecked : vbChecked); });
}

void CheckBox::setCaption(const std::string& c) {
    caption_ = c;
    box_->setText(literalCaption(c));
    captionChanged();
}

// The box and the text beside it.
int CheckBox::captionPixels() const { return caption_.empty() ? 0 : box_->sizeHint().width(); }

void CheckBox::show() {
    const QSignalBlocker block(box_);
    box_->setTristate(value_ == vbGrayed);
    box_->setCheckState(value_ == vbChecked ? Qt::Checked : value_ == vbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
}

void CheckBox::setValue(int v) {
    if (v < vbUnchecked || v > vbGrayed) throw VbError(380, "Invalid property value");
    const bool changed = v != value_;
    value_ = v;
    show();
    if (changed && Click) Click(Index);
}

void CheckBox::restoreOwnDesign() {
    setCaption(design_.caption);
    value_ = design_.value;
    show();
}

}  // namespace tolvenk::forms
