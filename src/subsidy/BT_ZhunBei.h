#pragma once
#include <cstdint>

#include "data/BTService.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "subsidy/BatchPicker.h"

namespace tolvenk {

// New subsidy batch (menu 7021): the year, month, n-th subsidy and kind of a
// batch; creates one prepared row per live employee and hands over to the
// batch editor.
class BT_ZhunBei : public forms::Form {
public:
    BT_ZhunBei();

    Batch_Picker Batch{*this};  // Label1..4, Text1, Combo1, Combo2
    forms::Label Label5{*this};
    forms::ComboBox Combo3{*this};
    forms::CommandButton Command1{*this};
    forms::CommandButton Command2{*this};

    BTService BT;

    // Item values of the kind list beyond the B_Unit codes: the group
    // transfer recharge of an IC and of an ID installation.
    static constexpr std::int32_t kGroupRechargeIC = 4;
    static constexpr std::int32_t kGroupRechargeID = 5;

    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();

private:
    void layOut();
    void Fill_Kinds();
    // The batch's rows for every live employee; false after a refusal was shown.
    bool Create_Rows(std::int16_t type, bool idBatch);
};

}  // namespace tolvenk
