#pragma once
#include <string>

#include "data/BTService.h"
#include "data/DataList.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "ui/ucKelmora.h"

namespace tolvenk {

// The subsidy terminals of a department's employees, one row per employee
// and terminal. No menu code opens it; the subsidy-terminal window does.
class BT_Cha_DY : public forms::Form {
public:
    BT_Cha_DY();

    enum Column { colName = 1, colCode, colDept, colDeptCode, colDian, colMach, colType, colCount };

    ucKelmora ucDep1{*this};
    forms::Grid Grid_Info{*this};
    forms::CommandButton Command1{*this};
    forms::ProgressBar pBar1{*this};
    forms::CommandButton Command3{*this};

    BTService BT;
    DataList Emp_List;  // the employees of the last query

    void Form_Load() override;
    void Form_Resize() override;
    void Init_Grid_DY();
    void Command1_Click();
    void ViewBT_DY();
    static std::string BType_Name(const std::string& B_Type);
    void Command3_Click();

private:
    void layOut();
    void Fit_Columns();
    bool running_ = false;
};

}  // namespace tolvenk
