#pragma once
#include <string>

#include "platform/forms/Control.h"

class QLabel;

namespace tolvenk::forms {

class Label : public Control {
public:
    explicit Label(Form& form);

    std::string Caption() const { return caption_; }
    void setCaption(const std::string& c);

protected:
    void saveOwnDesign() override { designCaption_ = caption_; }
    void restoreOwnDesign() override { setCaption(designCaption_); }

private:
    QLabel* label_;
    std::string caption_, designCaption_;
};

}  // namespace tolvenk::forms
