#pragma once
#include <string>

#include "data/BTService.h"
#include "data/DataList.h"
#include "data/SubsidyClearingRun.h"
#include "data/XFService.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "ui/ucKelmora.h"

namespace tolvenk {

// Month-end subsidy clearing (menu 7031): per employee of a department, the
// ID-card subsidy credited in a month, the month's spending and any earlier
// clearing; the ticked employees' unspent subsidy is taken back.
class BT_QingLing : public forms::Form {
public:
    BT_QingLing();

    // Grid columns.
    enum Column {
        colTick = 1, colName = 2, colSubsidy = 3, colSpent = 4, colSubsidyTimes = 5, colSpentTimes = 6,
        colCleared = 7, colMonth = 8, colPinfo = 9, colClearedMoney = 10, colClearedTimes = 11, colCount = 12
    };

    ucKelmora ucDep1{*this};
    forms::ControlArray<forms::Label> Label1{*this};
    forms::TextBox Text1{*this};
    forms::ComboBox Combo2{*this};
    forms::CommandButton cmd_List{*this};
    forms::CommandButton cmdQingLing{*this};
    forms::CommandButton cmdExit{*this};
    forms::CheckBox CheckAll{*this};
    forms::Grid Grid1{*this};
    forms::ProgressBar pBar1{*this};

    XFService XF;
    BTService BT;

    // The last listing: its employees and month ("YYYY-MM"), and the
    // picker's choice it was made for.
    DataList Emp_List;
    std::string Listed_Month;
    std::string Sel_DeptNo, Sel_Name, Sel_Code, Sel_PNum;

    void Form_Load() override;
    void Form_Resize() override;

    void Init_Grid_QL();
    void List_QingLing();

    void cmd_List_Click();
    void cmdQingLing_Click();
    void CheckAll_Click();
    void cmdExit_Click();

private:
    void layOut();
    void Add_Line(const QL_Line& line);
    bool running_ = false;
};

}  // namespace tolvenk
