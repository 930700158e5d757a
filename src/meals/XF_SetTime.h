#pragma once
#include "data/DataList.h"
#include "data/XFService.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

namespace tolvenk {

// Meal periods and card limits (menu 7035): the five meal periods by which the
// terminals tell the meals apart, and the largest balance and number of times
// a card may hold, kept in the one row of XF_Can_Time.
class XF_SetTime : public forms::Form {
public:
    XF_SetTime();

    forms::ControlArray<forms::Frame> Frame1{*this};
    forms::ControlArray<forms::DTPicker> DTPicker1{*this};  // period starts, meals 0..4
    forms::ControlArray<forms::DTPicker> DTPicker2{*this};  // period ends
    forms::ControlArray<forms::Label> Label1{*this};
    forms::ControlArray<forms::TextBox> Text1{*this};  // 0 largest balance (yuan), 1 largest times
    forms::CommandButton Command1{*this};
    forms::CommandButton Command2{*this};

    XFService XF;
    // The row read at load: the save updates it when there was one, else inserts.
    DataList Can_Time;

    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();

private:
    void layOut();
    void refuse(int textNo, forms::Control& focus);
};

}  // namespace tolvenk
