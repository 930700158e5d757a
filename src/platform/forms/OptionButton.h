#pragma once
#include <functional>
#include <string>

#include "platform/forms/Control.h"

class QRadioButton;

namespace tolvenk::forms {

// Options in one container exclude each other: setting one clears the others.
class OptionButton : public Control {
public:
    explicit OptionButton(Form& form);

    std::string Caption() const { return caption_; }
    void setCaption(const std::string& c);
    bool Value() const { return value_; }
    // Setting true fires Click when it was false, from code as from a person.
    void setValue(bool v);

    std::function<void(int)> Click;

protected:
    int captionPixels() const override;
    void saveOwnDesign() override { design_ = {caption_, value_}; }
    void restoreOwnDesign() override;

private:
    void show();
    Form& form_;
    QRadioButton* radio_;
    std::string caption_;
    bool value_ = false;
    struct {
        std::string caption;
        bool value = false;
    } design_;
};

}  // namespace tolvenk::forms
