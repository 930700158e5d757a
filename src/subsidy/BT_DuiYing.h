#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "data/BTService.h"
#include "data/DataList.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "ui/ucKelmora.h"

namespace tolvenk {

// Subsidy terminals per employee (menu 7028): the money and times subsidy
// terminal of the ticked employees, replaced in one transaction per save.
class BT_DuiYing : public forms::Form {
public:
    BT_DuiYing();

    forms::Frame Frame1{*this};
    forms::Label Label2{*this};
    forms::ComboBox Combo_BT{*this, forms::ComboBox::DropdownCombo};
    forms::Label Label3{*this};
    forms::ComboBox Combo_BT_Ci{*this, forms::ComboBox::DropdownCombo};
    // Behind the picker, which is built after it.
    forms::Frame Frame2{*this};
    ucKelmora ucSP1{*this};
    forms::CommandButton Command1{*this};
    forms::CommandButton Command3{*this};
    forms::CommandButton Command2{*this};

    BTService BT;
    // The money and the times subsidy terminals, all columns.
    DataList Mach_J, Mach_Ci;

    void Form_Load() override;
    void Form_Resize() override;
    void Load_Mach_BT();
    void Command1_Click();
    void Command3_Click();
    void Command2_Click();

    // Mach_ID of the last listed terminal shown as `text`; nothing when no
    // listed terminal is.
    static std::optional<std::int32_t> Find_Mach(const DataList& list, const std::string& text);

private:
    void layOut();
};

}  // namespace tolvenk
