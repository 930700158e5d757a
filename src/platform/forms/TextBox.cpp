#include "platform/forms/TextBox.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

#include "platform/forms/Form.h"

namespace tolvenk::forms {

namespace {
QWidget* makeEditor(Form& form, bool multiLine) {
    if (multiLine) return new QPlainTextEdit(form.widget());
    return new QLineEdit(form.widget());
}
}  // namespace

TextBox::TextBox(Form& form, bool multiLine) : Control(form, makeEditor(form, multiLine)) {
    if (multiLine) {
        multi_ = static_cast<QPlainTextEdit*>(widget());
        QObject::connect(multi_, &QPlainTextEdit::textChanged,
                         [this] { typed(multi_->toPlainText().toStdString()); });
    } else {
        line_ = static_cast<QLineEdit*>(widget());
        QObject::connect(line_, &QLineEdit::textEdited, [this](const QString& t) { typed(t.toStdString()); });
    }
}

void TextBox::typed(const std::string& t) {
    if (t == text_) return;
    text_ = t;
    if (Change) Change(Index);
}

void TextBox::setText(const std::string& t) {
    {
        const QSignalBlocker block(widget());
        if (line_) line_->setText(QString::fromStdString(t));
        else multi_->setPlainText(QString::fromStdString(t));
    }
    typed(t);
}

void TextBox::setLocked(bool v) {
    locked_ = v;
    if (line_) line_->setReadOnly(v);
    else multi_->setReadOnly(v);
}

void TextBox::restoreOwnDesign() {
    text_ = design_.text;
    const QSignalBlocker block(widget());
    if (line_) line_->setText(QString::fromStdString(text_));
    else multi_->setPlainText(QString::fromStdString(text_));
    setLocked(design_.locked);
}

}  // namespace tolvenk::forms
