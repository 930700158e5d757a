#pragma once
#include <string>

#include "cards/BalanceQueryPart.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

namespace tolvenk {

// ID balance query (menu 7039): each chosen employee's ID balance at the end
// of a day, the sum of his valid money changes up to it, with a total row;
// its button opens the ID balance clearing.
class YuE_ID_Cha : public forms::Form {
public:
    YuE_ID_Cha();

    Balance_Query_Part Query{*this};
    forms::CommandButton Command2{*this};

    void Form_Load() override;
    void Form_Resize() override;
    void Command1_Click();
    void Command2_Click();
};

}  // namespace tolvenk
