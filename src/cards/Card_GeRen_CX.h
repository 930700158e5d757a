#pragma once
#include <cstdint>
#include <string>

#include "data/BTService.h"
#include "data/CardHistory.h"
#include "data/DataList.h"
#include "data/XFService.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

namespace tolvenk {

// Personal card history (menu 7011): the employees found by code, name or
// card number, and for every card issued to each of them the card's whole
// transaction history, uncertain records included, in one grid; on an ID
// installation with running money and count balances per employee.
class Card_GeRen_CX : public forms::Form {
public:
    Card_GeRen_CX();

    forms::Label Label1{*this};
    forms::TextBox Text1{*this};
    forms::Label Label2{*this};
    forms::TextBox Text2{*this};
    forms::Label Label3{*this};
    forms::TextBox Text3{*this};
    forms::CommandButton Command2{*this};
    forms::CommandButton cmdExcell{*this};
    forms::ProgressBar pBar1{*this};
    forms::Grid Grid1{*this};

    XFService XF;
    BTService BT;
    std::int16_t Card_Sys_Mode = 0;  // 1 IC, anything else ID
    DataList Emp_List, Dian_List, Unit_List, Mach_List, Card_List, XF_List, Ci_List;
    // Running balances of the current employee (ID).
    Card_History::Running Running_;

    void Form_Load() override;
    void Form_Resize() override;
    void Command2_Click();
    void cmdExcell_Click();

    void Set_XF_Head();
    void Fill_XF_Rows(const DataList& List, std::int16_t EmpIndex, const std::string& CardNo,
                      const std::string& CardNumber, const std::string& BianHao);
    std::string Get_XF_TypeName(std::int16_t Code);
    std::string Get_MealName(std::int16_t Code);
    std::string Get_ErrName(const std::string& Flag);

private:
    void layOut();
    void listEmployee(int e);
    void Show_Line(int r, const Card_History::Line& line, const std::string& cardNumber);
    void Show_Kind(int r, const Card_History::Line& line);
    bool running_ = false;
};

}  // namespace tolvenk
