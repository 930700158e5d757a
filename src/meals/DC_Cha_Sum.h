#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "data/DCService.h"
#include "data/MealOrderSums.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

namespace tolvenk {

// Meal-order summary (menu 7044): for every day of a range and each meal, the
// meals ordered, the amount pre-deducted for them, the meals taken, the amount
// returned for those and what remains; for one card type or all, with a total row.
class DC_Cha_Sum : public forms::Form {
public:
    DC_Cha_Sum();

    forms::ControlArray<forms::Label> Label1{*this};
    forms::DTPicker DTPicker1{*this};
    forms::DTPicker DTPicker2{*this};
    forms::ComboBox Combo1{*this};
    forms::CheckBox Check1{*this};
    forms::CheckBox Check2{*this};
    forms::CommandButton Command1{*this};
    forms::ControlArray<forms::CommandButton> Command4{*this};
    forms::Grid Grid1{*this};
    // The busy panel, built after the grid so that it lies above it.
    forms::PictureBox Pic_1{*this};
    forms::Label Label2{*this};
    forms::ProgressBar Bar1{*this};

    DCService DC;

    using Meal_Order = Meal_Order_Sums;
    std::array<Meal_Order, 5> Day_Sum{}, Total_Sum{};

    void Form_Load() override;
    void Form_Resize() override;
    void Command1_Click();

    void Init_Sum_Grid();
    // Adds a day's figures of a meal (1..5) to the day's and the run's figures of the meal.
    void Sum_Meal(int meal, const Meal_Order& day_figures);
    // The meal's cells of the last grid row, from R; column 1 gets t.
    void Write_Meal(int meal, const Meal_Order& R, const std::string& t);
    void Show_Columns();

private:
    void layOut();
    bool running_ = false;
};

}  // namespace tolvenk
