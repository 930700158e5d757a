#pragma once
#include <string>
#include <vector>

#include "data/DCService.h"
#include "data/DataList.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

namespace tolvenk {

// Normal ordering days (menu 7042): for each weekday and meal whether the meal
// must be ordered in advance; the one row of DC_ZhengChangRi, edited in a grid
// of drop-down cells.
class DC_ZhengChang : public forms::Form {
public:
    DC_ZhengChang();

    forms::Grid Grid1{*this};
    forms::Label Label1{*this};
    forms::CommandButton Command1{*this};
    forms::CommandButton Command2{*this};

    DCService DC;
    DataList ZC;  // the rows read at load: the save updates the first when there was one
    // Entry 0 the loaded row's ID; 1..35 the flags, filled by the save.
    std::vector<std::string> Values = std::vector<std::string>(36);

    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();

    // Position of the flag of weekday row r (1 Monday .. 7 Sunday) and meal column c (2..6).
    static int Flag_Pos(int r, int c) { return (r - 1) * 5 + (c - 1); }

private:
    void layOut();
};

}  // namespace tolvenk
