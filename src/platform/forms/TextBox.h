#pragma once
#include <functional>
#include <string>

#include "platform/forms/Control.h"

class QLineEdit;
class QPlainTextEdit;

namespace tolvenk::forms {

class TextBox : public Control {
public:
    explicit TextBox(Form& form, bool multiLine = false);

    std::string Text() const { return text_; }
    // Fires Change when the text differs, as typing does.
    void setText(const std::string& t);
    bool Locked() const { return locked_; }
    void setLocked(bool v);

    std::function<void(int)> Change;

protected:
    void saveOwnDesign() override { design_ = {text_, locked_}; }
    void restoreOwnDesign() override;

private:
    void typed(const std::string& t);
    QLineEdit* line_ = nullptr;
    QPlainTextEdit* multi_ = nullptr;
    std::string text_;
    bool locked_ = false;
    struct {
        std::string text;
        bool locked = false;
    } design_;
};

}  // namespace tolvenk::forms
