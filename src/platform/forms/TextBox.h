#pragma once
#include <functional>
#include <string>

#include "platform/forms/Control.h"

class QKeyEvent;
class QLineEdit;
class QObject;
class QPlainTextEdit;

namespace tolvenk::forms {

class TextBox : public Control {
public:
    explicit TextBox(Form& form, bool multiLine = false);

    std::string Text() const { return text_; }
    // Fires Change when the text differs, as typing does. A single-line box
    // keeps no more than MaxLength characters, from code as from typing.
    void setText(const std::string& t);
    bool Locked() const { return locked_; }
    void setLocked(bool v);
    // 0: no limit. Applies to single-line boxes.
    int MaxLength() const { return maxLength_; }
    void setMaxLength(int n);

    std::function<void(int)> Change;
    // Each typed character before it reaches the box: its code (13 Enter, 8
    // Backspace, Unicode otherwise). Setting keyAscii to 0 drops the key,
    // another value types that character instead.
    std::function<void(int index, int& keyAscii)> KeyPress;

protected:
    void saveOwnDesign() override { design_ = {text_, locked_, maxLength_}; }
    void restoreOwnDesign() override;
    int backRole() const override;

private:
    void typed(const std::string& t);
    void showText(const std::string& t);
    bool keyTyped(QObject* editor, QKeyEvent* e);
    QLineEdit* line_ = nullptr;
    QPlainTextEdit* multi_ = nullptr;
    std::string text_;
    bool locked_ = false;
    int maxLength_ = 0;
    bool retyping_ = false;
    struct {
        std::string text;
        bool locked = false;
        int maxLength = 0;
    } design_;
};

}  // namespace tolvenk::forms
