#pragma once
#include <optional>
#include <string>

#include "platform/forms/Control.h"

class QLabel;

namespace tolvenk::forms {

class Label : public Control {
public:
    explicit Label(Form& form);

    std::string Caption() const { return caption_; }
    void setCaption(const std::string& c);
    Colour ForeColor() const;
    void setForeColor(Colour c);

protected:
    int captionPixels() const override;
    void saveOwnDesign() override { design_ = {caption_, fore_}; }
    void restoreOwnDesign() override;

private:
    QLabel* label_;
    std::string caption_;
    std::optional<Colour> fore_;
    struct {
        std::string caption;
        std::optional<Colour> fore;
    } design_;
};

}  // namespace tolvenk::forms
