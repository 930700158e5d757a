#include "subsidy/BT_Batch_Form.h"

#include <cmath>
#include <optional>

#include "data/Globals.h"
#include "lang/Language.h"
#include "platform/VbText.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "ui/GridOutput.h"
#include "ui/WindowHelpers.h"

namespace tolvenk {

namespace {

constexpr int kDesignWidth = 5400;
constexpr int kDesignHeight = 2820;
constexpr int kBatchesPerMonth = 8;

// A year the batch rows can hold: a whole number from 1 to 9999.
std::optional<std::int32_t> yearOf(const std::string& text) {
    const auto v = parseNumber(vbTrim(text));
    if (!v || *v != std::floor(*v) || *v < 1 || *v > 9999) return std::nullopt;
    return static_cast<std::int32_t>(*v);
}

}  // namespace

BT_Batch_Form::BT_Batch_Form() {
    setBackColor(0x00FFF0E0);
    Text1.setMaxLength(4);
    for (int i = 1; i <= kBatchesPerMonth; ++i) Combo2.AddItem(std::to_string(i));
    setWidth(kDesignWidth);
    setHeight(kDesignHeight);
    layOut();

    Text1.KeyPress = [this](int, int& key) { Text1_KeyPress(key); };
    Command1.Click = [this](int) { Command1_Click(); };
    Command2.Click = [this](int) { Command2_Click(); };
}

// Labels and buttons are wide enough for the longest of the three languages.
void BT_Batch_Form::layOut() {
    Label1.Move(240, 300, 1500, 300);
    Text1.Move(1800, 240, 1200, 345);
    Label2.Move(240, 780, 1500, 300);
    Combo1.Move(1800, 720, 1200, 345);
    Label3.Move(3120, 780, 600, 300);
    Combo2.Move(3720, 720, 600, 345);
    Label4.Move(1800, 1200, 3360, 300);
    Command1.Move(960, 1800, 2880, 420);
    Command2.Move(3960, 1800, 1200, 420);
}

void BT_Batch_Form::Load_Batch_Form(const std::string& caption, const std::string& button) {
    Set_Lan_Font(*this);
    setCaption(caption);
    Command1.setCaption(button);
    Command2.setCaption(L(2));
    Label1.setCaption(L(14));
    Label2.setCaption(L(15));
    Label3.setCaption(L(16));
    Label4.setCaption(L(17));
    BT = BTService();
    BT.Set_strCN(strCN);

    const std::string now = platform::services().clockText();
    Text1.setText(now.substr(0, 4));
    Fill_Month_Combo(Combo1);
    Combo1.setListIndex(std::stoi(now.substr(5, 2)) - 1);
}

void BT_Batch_Form::Text1_KeyPress(int& KeyAscii) { KeyAscii = std::stoi(LimitNum(KeyAscii, "0123456789", true)); }

void BT_Batch_Form::Command2_Click() { Close_Window(*this); }

void BT_Batch_Form::prompt(const std::string& text) {
    platform::services().msgBox(text, platform::vbExclamation, L(43));
}

bool BT_Batch_Form::Check_Batch() {
    const auto year = yearOf(Text1.Text());
    if (!year) {
        prompt(L(108));
        Text1.SetFocus();
        return false;
    }
    if (Combo2.Text().empty()) {
        prompt(L(49));
        Combo2.SetFocus();
        return false;
    }
    Cur_B_Year = *year;
    Cur_B_Month = Combo1.ListIndex() + 1;
    Cur_B_Times = Combo2.Text();
    return true;
}

std::string BT_Batch_Form::Year_Text() const { return std::to_string(Cur_B_Year); }
std::string BT_Batch_Form::Month_Text() const { return std::to_string(Cur_B_Month); }

}  // namespace tolvenk
