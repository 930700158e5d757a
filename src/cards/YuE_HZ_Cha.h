#pragma once
#include <cstdint>
#include <string>

#include "cards/BalanceQueryPart.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

namespace tolvenk {

// IC balance query (menu 7036): each chosen employee's IC balance at the end
// of a day, from his last valid card transaction up to it, with a total row;
// optionally the profit/loss correction of every card he was issued.
class YuE_HZ_Cha : public forms::Form {
public:
    YuE_HZ_Cha();

    Balance_Query_Part Query{*this};
    forms::CheckBox Check1{*this};

    void Form_Load() override;
    void Form_Resize() override;
    void Command1_Click();
};

}  // namespace tolvenk
