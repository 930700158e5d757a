#pragma once
#include <array>
#include <string>
#include <vector>

#include "data/DCService.h"
#include "data/DataList.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

namespace tolvenk {

// Ordering periods (menu 7041): per meal whether ordering is open, the time
// window in which an order is taken and the amount it pre-deducts, and the
// state assumed for an employee who neither ordered nor cancelled; the one
// row of DC_ShiDuan. The canteen's meal periods are shown beside each meal.
class DC_ShiDuan : public forms::Form {
public:
    DC_ShiDuan();

    forms::Frame Frame1{*this};
    forms::CheckBox Check1{*this}, Check2{*this}, Check3{*this}, Check4{*this}, Check5{*this};
    forms::DTPicker DTPicker1{*this}, DTPicker2{*this}, DTPicker3{*this}, DTPicker4{*this}, DTPicker5{*this},
        DTPicker6{*this}, DTPicker7{*this}, DTPicker8{*this}, DTPicker9{*this}, DTPicker10{*this};
    forms::TextBox Text1{*this}, Text2{*this}, Text3{*this}, Text4{*this}, Text5{*this};
    forms::Label Label2{*this}, Label3{*this}, Label4{*this}, Label5{*this}, Label6{*this};
    forms::ControlArray<forms::Label> Label7{*this};
    forms::Label Label1{*this};
    forms::ControlArray<forms::OptionButton> Option1{*this};
    forms::CommandButton Command1{*this};
    forms::CommandButton Command2{*this};

    DCService DC;
    DataList CD_Time;  // the canteen's meal periods
    DataList ShiD;     // the rows read at load: the save updates when there was one
    // Entry 0 the loaded row's ID; 1..16 filled by the save.
    std::vector<std::string> Values = std::vector<std::string>(17);

    void Form_Load() override;
    // The tick box of meal 1..5 clicked.
    void Check_Click(int meal);
    void Command1_Click();
    void Command2_Click();

    // The controls of one meal (1..5).
    struct Meal_Row {
        forms::CheckBox* tick;
        forms::DTPicker* start;
        forms::DTPicker* end;
        forms::TextBox* amount;
        forms::Label* period;
        int periodText;
    };
    const Meal_Row& Meal(int meal) const { return meals_[static_cast<std::size_t>(meal - 1)]; }

private:
    void layOut();
    std::array<Meal_Row, 5> meals_;
};

}  // namespace tolvenk
