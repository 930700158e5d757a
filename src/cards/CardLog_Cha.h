#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "data/BTService.h"
#include "data/BaseService.h"
#include "data/CardLogLines.h"
#include "data/CardService.h"
#include "data/DataList.h"
#include "data/XFService.h"
#include "platform/db/Recordset.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "ui/ucKelmora.h"

namespace tolvenk {

// The card-management log (menu 7037): the card operations of a period for
// the employees of the chosen department, operator, card kind and
// operations, with the fees and the money and times involved.
class CardLog_Cha : public forms::Form {
public:
    CardLog_Cha();

    ucKelmora ucDep1{*this};
    forms::Label Label1{*this};
    forms::DTPicker DT1{*this};
    forms::DTPicker DT2{*this};
    forms::Label Label2{*this};
    forms::ComboBox Combo2{*this};
    forms::Label Label3{*this};
    forms::ComboBox Combo3{*this};
    forms::Frame fraType{*this};
    forms::ControlArray<forms::CheckBox> chkType{*this};
    forms::CommandButton Command1{*this};
    forms::ProgressBar pBar1{*this};
    forms::Grid Grid1{*this};
    forms::Frame Frame1{*this};
    forms::ControlArray<forms::CommandButton> Command4{*this};

    BTService BT;
    XFService XF;
    CardService Card;
    DataList User_List, Type_List, Sys_Config, Emp_List;
    // The last query's rows, open on the connection of their own service.
    BaseService Log_Base;
    std::shared_ptr<db::Recordset> Rs_Log;

    void Form_Load() override;
    void Form_Resize() override;
    void Command1_Click();

    void Set_Log_Head();
    static std::string Get_OpTypeName(std::int64_t Code);
    std::string Find_Code_Name(std::int64_t ID);
    std::string Get_CardType_Name(std::int64_t Kind);

private:
    void layOut();
    void Fill_Row(const Card_Log_Lines::Line& line);
    void Lay_Columns();
    // The names a run shows, by the number vbVal reads from the lists, each
    // the first row's as Find_Code_Name and Get_CardType_Name find them.
    void Name_Maps();
    std::unordered_map<double, std::string> userNames_, kindNames_;
    int nameCol_ = 0, codeCol_ = 0, deptCol_ = 0;
    bool running_ = false;
};

}  // namespace tolvenk
