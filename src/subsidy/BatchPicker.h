#pragma once
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

namespace tolvenk {

// The choice of one batch by year, month and n-th subsidy at the top of the
// new-batch window and of the small batch windows: its controls, their
// places, captions and check. The window holds it and names its controls.
class Batch_Picker {
public:
    explicit Batch_Picker(forms::Form& form);
    Batch_Picker(const Batch_Picker&) = delete;
    Batch_Picker& operator=(const Batch_Picker&) = delete;

    forms::Label Label1;
    forms::TextBox Text1;
    forms::Label Label2;
    forms::ComboBox Combo1;
    forms::Label Label3;
    forms::ComboBox Combo2;
    forms::Label Label4;

    // Load step: captions, and this year and month from the clock.
    void Load();
    void Text1_KeyPress(int& KeyAscii);
    // The year and n-th checked and the current-batch globals set; false
    // after the refusal was shown, the focus on the box to mend.
    bool Check();
};

}  // namespace tolvenk
