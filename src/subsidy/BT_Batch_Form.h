#pragma once
#include <string>

#include "data/BTService.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "subsidy/BatchPicker.h"

namespace tolvenk {

// The small windows that act on one batch named by year, month and n-th
// subsidy (grant to the IC terminals, modify, delete, stop): the batch
// picker, one BTService and two buttons. Each says what its button does.
class BT_Batch_Form : public forms::Form {
public:
    BT_Batch_Form();

    Batch_Picker Batch{*this};  // Label1..4, Text1, Combo1, Combo2
    forms::CommandButton Command1{*this};
    forms::CommandButton Command2{*this};

    BTService BT;

    virtual void Command1_Click() = 0;
    void Command2_Click();

protected:
    // The load steps, with the window's caption and its button's text.
    void Load_Batch_Form(const std::string& caption, const std::string& button);
    // The year and n-th checked, the current-batch globals set; false after
    // the refusal was shown.
    bool Check_Batch() { return Batch.Check(); }
    // Year, month and n-th of the current batch as the services take them.
    std::string Year_Text() const;
    std::string Month_Text() const;
};

}  // namespace tolvenk
