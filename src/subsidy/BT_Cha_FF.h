#pragma once
#include <string>

#include "data/BTService.h"
#include "data/DataList.h"
#include "data/GrantedSubsidyQuery.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "ui/ucKelmora.h"

namespace tolvenk {

// Granted-subsidy query (menu 7026): every batch row of a month, optionally
// of one batch number or kind, for the employees chosen in the picker, with
// whether and when it was taken and who granted it. Reads only.
class BT_Cha_FF : public forms::Form {
public:
    BT_Cha_FF();

    // Grid columns.
    enum Column {
        colPinfo = 1, colName = 2, colCode = 3, colDept = 4, colDeptCode = 5, colPosition = 6, colTimes = 7,
        colJinE = 8, colReceived = 9, colCi = 10, colCiAfter = 11, colTaken = 12, colMonth = 13, colTakenAt = 14,
        colGrantedAt = 15, colOperator = 16, colCount = 17
    };

    ucKelmora ucDep1{*this};
    forms::ControlArray<forms::Label> Label1{*this};
    forms::ComboBox Combo3{*this, forms::ComboBox::DropdownCombo};
    forms::ComboBox Combo4{*this};
    forms::Label Label3{*this};
    forms::ComboBox Combo6{*this};
    forms::Label Label4{*this};
    forms::ComboBox Combo5{*this};
    forms::CommandButton Command1{*this};
    forms::ControlArray<forms::CommandButton> Command4{*this};
    forms::CommandButton Command2{*this};
    forms::Grid Grid1{*this};

    BTService BT;
    DataList Sys_Config;

    void Form_Load() override;
    void Form_Resize() override;

    void Init_Grid_FF();
    void Command1_Click();
    void Command2_Click();

    // An amount in fen as stored to yuan: "0" and "" give "".
    static std::string Fen_To_Yuan(const std::string& fen);

private:
    void layOut();
    void Add_Row(const Granted_Subsidy::Row& row);
};

}  // namespace tolvenk
