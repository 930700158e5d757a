#pragma once
#include <string>

#include "platform/forms/Control.h"

class QGroupBox;

namespace tolvenk::forms {

// A captioned container; controls put into it with setContainer move, hide
// and are disabled with it (Qt passes that on to child widgets).
class Frame : public Control {
public:
    explicit Frame(Form& form);

    std::string Caption() const { return caption_; }
    void setCaption(const std::string& c);

protected:
    void saveOwnDesign() override { designCaption_ = caption_; }
    void restoreOwnDesign() override { setCaption(designCaption_); }

private:
    QGroupBox* box_;
    std::string caption_, designCaption_;
};

}  // namespace tolvenk::forms
