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
    // A caption that looks like markup shows as written, too.
    label_->setTextFormat(Qt::PlainText);
}

void Label::setCaption(const std::string& c) {
    caption_ = c;
    label_->setText(QString::fromStdString(c));
    captionChanged();
}

int Label::captionPixels() const {
    if (caption_.empty()) return 0;
    // Frame and margins besides the text, and as wide as keeps the wrapping
    // label's text on one line.
    int w = label_->fontMetrics().horizontalAdvance(label_->text()) + label_->width() - label_->contentsRect().width();
    const int oneLine = label_->heightForWidth(100000);
    for (int more = 0; more < 16 && label_->heightForWidth(w) > oneLine; ++more) ++w;
    return w;
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
