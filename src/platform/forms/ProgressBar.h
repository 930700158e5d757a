#pragma once
#include "platform/forms/Control.h"

class QProgressBar;

namespace tolvenk::forms {

// Progress from 0 to Max. A value outside the range is clamped into it, so a
// loop that overshoots its estimate does not stop the window.
class ProgressBar : public Control {
public:
    explicit ProgressBar(Form& form);

    int Max() const { return max_; }
    void setMax(int v);
    int Value() const { return value_; }
    void setValue(int v);

protected:
    void saveOwnDesign() override { design_ = {max_, value_}; }
    void restoreOwnDesign() override;

private:
    void show();
    QProgressBar* bar_;
    int max_ = 100;
    int value_ = 0;
    struct {
        int max = 100, value = 0;
    } design_;
};

}  // namespace tolvenk::forms
