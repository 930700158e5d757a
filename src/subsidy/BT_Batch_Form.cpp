#include "subsidy/BT_Batch_Form.h"

#include "data/Globals.h"
#include "lang/Language.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"

namespace tolvenk {

namespace {

constexpr int kDesignWidth = 5400;
constexpr int kDesignHeight = 2820;

}  // namespace

BT_Batch_Form::BT_Batch_Form() {
    setBackColor(0x00FFF0E0);
    setWidth(kDesignWidth);
    setHeight(kDesignHeight);
    // Buttons wide enough for the longest of the three languages.
    Command1.Move(960, 1800, 2880, 420);
    Command2.Move(3960, 1800, 1200, 420);

    Command1.Click = [this](int) { Command1_Click(); };
    Command2.Click = [this](int) { Command2_Click(); };
}

void BT_Batch_Form::Load_Batch_Form(const std::string& caption, const std::string& button) {
    Set_Lan_Font(*this);
    setCaption(caption);
    Command1.setCaption(button);
    Command2.setCaption(L(2));
    BT = BTService();
    Batch.Load();
}

void BT_Batch_Form::Command2_Click() { Close_Window(*this); }


std::string BT_Batch_Form::Year_Text() const { return std::to_string(Cur_B_Year); }
std::string BT_Batch_Form::Month_Text() const { return std::to_string(Cur_B_Month); }

}  // namespace tolvenk
