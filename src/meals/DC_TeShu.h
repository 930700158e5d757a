#pragma once
#include "data/DCService.h"
#include "data/DataList.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

namespace tolvenk {

// Special ordering days (menu 7043): the dates on which each meal's ordering
// requirement departs from the weekly plan; lists them, adds a day (replacing
// an entry of the same date) and deletes the selected one.
class DC_TeShu : public forms::Form {
public:
    DC_TeShu();

    forms::Grid Grid1{*this};
    forms::CommandButton Command1{*this};
    forms::CommandButton Command3{*this};
    forms::CommandButton Command2{*this};
    // The add panel, built after the grid so that it lies above it.
    forms::PictureBox Picture1{*this};
    forms::Label Label1{*this};
    forms::Label Label2{*this};
    forms::DTPicker DTPicker1{*this};
    forms::Label Label3{*this}, Label4{*this}, Label5{*this}, Label6{*this}, Label7{*this};
    forms::ComboBox Combo1{*this}, Combo2{*this}, Combo3{*this}, Combo4{*this}, Combo5{*this};
    forms::CommandButton Command4{*this};
    forms::CommandButton Command5{*this};

    DCService DC;
    DataList TS;  // the rows of the last load

    void Form_Load() override;
    void Reset_TeShu_Grid();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();

    // The list of meal 1..5.
    forms::ComboBox& Meal_Combo(int meal);
    forms::Label& Meal_Label(int meal);

private:
    void layOut();
};

}  // namespace tolvenk
