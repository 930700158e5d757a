#pragma once
#include <functional>
#include <string>

#include "platform/forms/Control.h"

class QPushButton;

namespace tolvenk::forms {

class CommandButton : public Control {
public:
    explicit CommandButton(Form& form);

    std::string Caption() const { return caption_; }
    void setCaption(const std::string& c);

    // Set by the window; receives the control's Index (-1 when single).
    std::function<void(int)> Click;
    // As a person's click: does nothing while the button (or its container) is disabled.
    void click();

protected:
    int captionPixels() const override;
    void saveOwnDesign() override { designCaption_ = caption_; }
    void restoreOwnDesign() override { setCaption(designCaption_); }

private:
    QPushButton* button_;
    std::string caption_, designCaption_;
};

}  // namespace tolvenk::forms
