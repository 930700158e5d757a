#include "platform/forms/Dispatch.h"
#include "platform/forms/TextBox.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QSignalBlocker>

#include "platform/forms/EventHook.h"
#include "platform/forms/Form.h"
#include "platform/services/Services.h"

namespace tolvenk::forms {

namespace {
QWidget* makeEditor(Form& form, bool multiLine) {
    if (multiLine) return new QPlainTextEdit(form.widget());
    return new QLineEdit(form.widget());
}

constexpr int kNoLimit = 32767;  // QLineEdit's own default
}  // namespace

TextBox::TextBox(Form& form, bool multiLine) : Control(form, makeEditor(form, multiLine)) {
    if (multiLine) {
        multi_ = static_cast<QPlainTextEdit*>(widget());
        onSignal(multi_, &QPlainTextEdit::textChanged, [this] { typed(multi_->toPlainText().toStdString()); });
    } else {
        line_ = static_cast<QLineEdit*>(widget());
        onSignal(line_, &QLineEdit::textEdited, [this](const QString& t) { typed(t.toStdString()); });
    }
    new EventHook(widget(), [this](QObject* o, QEvent* e) {
        return e->type() == QEvent::KeyPress && keyTyped(o, static_cast<QKeyEvent*>(e));
    });
}

bool TextBox::keyTyped(QObject* editor, QKeyEvent* e) {
    if (!KeyPress || retyping_) return false;
    const QList<uint> chars = e->text().toUcs4();
    if (chars.size() != 1) return false;  // arrows, function keys: no character typed
    const int typed = static_cast<int>(chars.front());
    int key = typed;
    KeyPress(Index, key);
    if (key == typed) return false;
    if (key != 0) {
        const char32_t replacement = static_cast<char32_t>(key);
        QKeyEvent again(QEvent::KeyPress, e->key(), e->modifiers(), QString::fromUcs4(&replacement, 1));
        retyping_ = true;
        QCoreApplication::sendEvent(editor, &again);
        retyping_ = false;
    }
    return true;
}

void TextBox::typed(const std::string& t) {
    if (t == text_) return;
    // A NUL (pasted, or set from elsewhere) can be neither searched for nor
    // stored: the box keeps what it had, as a key filter refuses a key.
    if (t.find('\0') != std::string::npos) {
        showText(text_);
        platform::services().beep();
        return;
    }
    text_ = t;
    if (Change) Change(Index);
}

void TextBox::showText(const std::string& t) {
    const QSignalBlocker block(widget());
    if (line_) line_->setText(QString::fromStdString(t));
    else multi_->setPlainText(QString::fromStdString(t));
}

void TextBox::setText(const std::string& t) {
    showText(t);
    // The line edit may have cut the text to MaxLength.
    typed(line_ ? line_->text().toStdString() : t);
}

void TextBox::setLocked(bool v) {
    locked_ = v;
    if (line_) line_->setReadOnly(v);
    else multi_->setReadOnly(v);
}

void TextBox::setMaxLength(int n) {
    maxLength_ = n < 0 ? 0 : n;
    if (!line_) return;
    {
        const QSignalBlocker block(line_);
        line_->setMaxLength(maxLength_ == 0 ? kNoLimit : maxLength_);
    }
    typed(line_->text().toStdString());
}

int TextBox::backRole() const { return QPalette::Base; }

void TextBox::restoreOwnDesign() {
    maxLength_ = design_.maxLength;
    if (line_) {
        const QSignalBlocker block(line_);
        line_->setMaxLength(maxLength_ == 0 ? kNoLimit : maxLength_);
    }
    text_ = design_.text;
    showText(text_);
    setLocked(design_.locked);
}

}  // namespace tolvenk::forms
