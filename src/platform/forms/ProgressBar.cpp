#include "platform/forms/ProgressBar.h"

#include <QProgressBar>
#include <algorithm>

#include "platform/forms/Form.h"

namespace tolvenk::forms {

ProgressBar::ProgressBar(Form& form)
    : Control(form, new QProgressBar(form.widget())), bar_(static_cast<QProgressBar*>(widget())) {
    bar_->setTextVisible(false);
    show();
}

void ProgressBar::show() {
    // A range of 0..0 would make Qt show a busy bar instead of an empty one.
    bar_->setRange(0, std::max(max_, 1));
    bar_->setValue(value_);
}

void ProgressBar::setMax(int v) {
    max_ = std::max(v, 0);
    value_ = std::min(value_, max_);
    show();
}

void ProgressBar::setValue(int v) {
    value_ = std::clamp(v, 0, max_);
    show();
}

void ProgressBar::restoreOwnDesign() {
    max_ = design_.max;
    value_ = design_.value;
    show();
}

}  // namespace tolvenk::forms
