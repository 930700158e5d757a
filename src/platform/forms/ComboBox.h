#pragma once
#include <string>

#include "platform/forms/ListControl.h"

class QComboBox;

namespace tolvenk::forms {

class ComboBox : public ListControl {
public:
    enum Style { DropdownCombo = 0, DropdownList = 2 };
    explicit ComboBox(Form& form, Style style = DropdownList);

    // The chosen item's text; in an editable combo, whatever is typed.
    std::string Text() const;
    void setText(const std::string& t);

protected:
    void syncItems() override;
    void syncIndex() override;
    void syncInserted(int at) override;

private:
    QComboBox* combo_;
    Style style_;
    std::string typed_;
};

}  // namespace tolvenk::forms
