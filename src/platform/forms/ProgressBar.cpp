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

// A run that sets the bar for every row it reads would spend more time on
// the bar than on the rows: the widget takes only steps one can see (a
// thousandth of the range), and the ends.
void ProgressBar::setValue(int v) {
    value_ = std::clamp(v, 0, max_);
    const int shown = bar_->value(), step = std::max(max_ / 1000, 1);
    if (value_ == 0 || value_ == max_ || value_ < shown || value_ - shown >= step) show();
}

void ProgressBar::restoreOwnDesign() {
    max_ = design_.max;
    value_ = design_.value;
    show();
}

}  // namespace tolvenk::forms
