#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "data/CardService.h"
#include "data/CardTypeRecord.h"
#include "data/XFService.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

namespace tolvenk {

// Card kinds (menu 7001): the live kinds in a list; add, modify and delete
// them with their fees, the largest single amount, one of three limit modes
// (by day, by meal, meal order) and the fixed monthly subsidy.
class Card_Type : public forms::Form {
public:
    Card_Type();

    forms::Grid Grid_Info{*this};
    forms::CommandButton Command2{*this};
    forms::CommandButton Command4{*this};
    forms::CommandButton Command5{*this};
    forms::CommandButton cmdReturn{*this};

    // The editor, built after the list so that it lies above it.
    forms::Frame fraEdit{*this};
    forms::Label Label0{*this};
    forms::Label lblCode{*this};
    forms::TextBox txt_Code{*this};
    forms::Label lblName{*this};
    forms::TextBox txt_Name{*this};
    forms::Label lblSay{*this};
    forms::TextBox txt_Say{*this};
    forms::Label lblS_Money{*this};
    forms::TextBox txt_S_Money{*this};
    forms::Label lblT_Money{*this};
    forms::TextBox txt_T_Money{*this};
    forms::Label lblH_Money{*this};
    forms::TextBox txt_H_Money{*this};
    forms::Label lblMax_Money{*this};
    forms::TextBox txt_Max_Money{*this};
    forms::ControlArray<forms::OptionButton> Option1{*this};
    forms::Frame fra_Tian{*this};
    forms::CheckBox Check_Tian_J{*this};
    forms::TextBox txt_Tian_J{*this};
    forms::CheckBox Check_Tian_C{*this};
    forms::TextBox txt_Tian_C{*this};
    forms::Frame fra_Can{*this};
    forms::Frame Fra_DC{*this};
    // 1-5 meal amounts, 7-11 meal counts, 6 and 12 the monthly subsidy,
    // 18-22 the meal-order amounts.
    forms::ControlArray<forms::CheckBox> Check1{*this};
    // 0-4 meal amounts, 5-9 meal-order amounts.
    forms::ControlArray<forms::TextBox> txt_Can_J{*this};
    forms::ControlArray<forms::TextBox> txt_Can_Ci{*this};
    forms::TextBox Text16{*this};
    forms::TextBox Text17{*this};
    // Unit labels: yuan after every amount box, times after every count box.
    forms::ControlArray<forms::Label> lblYuan{*this};
    forms::ControlArray<forms::Label> lblCi{*this};
    forms::CommandButton Command1{*this};
    forms::CommandButton Command3{*this};

    CardService Card;
    XFService XF;
    std::int16_t Cur_ID = 0;       // key of the kind being modified, 0 while adding
    std::int16_t Cur_LeiBie = 0;   // kind number being edited or added
    Card_Type_Record Type_Rec;

    void Form_Load() override;

    void Set_Type_Captions();
    void Load_Types();
    void Edit_Type(int Mode);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void cmdReturn_Click();
    void Option1_Click(int Index);
    void Check1_Click(int Index);
    void Check_Tian_J_Click();
    void Check_Tian_C_Click();
    // The yuan (or count) text as fen (or as a whole count) into Type_Rec;
    // -1 and a box naming the field when it is negative.
    std::int32_t Check_Money(const char* Column, const std::string& Text, const std::string& FieldName);
    std::int32_t Check_Num(const char* Column, const std::string& Text, const std::string& FieldName);

private:
    void setContainers();
    void layOut();
    void layOutLimits();
    // The row of the list's current cell; 0 when none is chosen.
    int Selected_Row();
    forms::TextBox& Check1_Box(int Index);
    // Limit fields of the record by mode; false when one was refused.
    bool Fill_Limits();
    void Write_Type();
};

// A Card_Type value as the list shows it.
std::string Card_Type_Shown(const std::string& column, const std::string& stored);

}  // namespace tolvenk
