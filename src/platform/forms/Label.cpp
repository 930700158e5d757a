#include "platform/forms/Label.h"

#include <QApplication>
#include <QLabel>

#include "platform/forms/Form.h"

namespace tolvenk::forms {

namespace {
void paintText(QLabel* label, const QColor& c) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, c);
    label->setPalette(p);
}
}  // namespace

Label::Label(Form& form) : Control(form, new QLabel(form.widget())), label_(static_cast<QLabel*>(widget())) {
    label_->setWordWrap(true);
}

void Label::setCaption(const std::string& c) {
    caption_ = c;
    label_->setText(QString::fromStdString(c));
}

Colour Label::ForeColor() const { return fore_ ? *fore_ : fromQColor(label_->palette().color(QPalette::WindowText)); }

void Label::setForeColor(Colour c) {
    fore_ = c;
    paintText(label_, toQColor(c));
}

void Label::restoreOwnDesign() {
    setCaption(design_.caption);
    if (design_.fore) setForeColor(*design_.fore);
    else if (fore_) paintText(label_, QApplication::palette(label_).color(QPalette::WindowText));
    fore_ = design_.fore;
}

}  // namespace tolvenk::forms
