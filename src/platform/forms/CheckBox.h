#pragma once
#include <functional>
#include <string>

#include "platform/forms/Control.h"

class QCheckBox;

namespace tolvenk::forms {

enum CheckValue { vbUnchecked = 0, vbChecked = 1, vbGrayed = 2 };

class CheckBox : public Control {
public:
    explicit CheckBox(Form& form);

    std::string Caption() const { return caption_; }
    void setCaption(const std::string& c);
    int Value() const { return value_; }
    // Fires Click when the value changes, from code as from a person.
    void setValue(int v);

    std::function<void(int)> Click;

protected:
    int captionPixels() const override;
    void saveOwnDesign() override { design_ = {caption_, value_}; }
    void restoreOwnDesign() override;

private:
    void show();
    QCheckBox* box_;
    std::string caption_;
    int value_ = vbUnchecked;
    struct {
        std::string caption;
        int value = 0;
    } design_;
};

}  // namespace tolvenk::forms
