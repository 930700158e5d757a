#include "subsidy/BatchPicker.h"

#include <string>

#include "data/Globals.h"
#include "data/SubsidyBatch.h"
#include "lang/Language.h"
#include "platform/VbText.h"
#include "platform/services/Services.h"
#include "ui/GridOutput.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

void refuse(const std::string& text, forms::Control& focus) {
    Prompt(text);
    focus.SetFocus();
}

}  // namespace

// Labels and lists are wide enough for the longest of the three languages.
Batch_Picker::Batch_Picker(forms::Form& form)
    : Label1(form), Text1(form), Label2(form), Combo1(form), Label3(form), Combo2(form), Label4(form) {
    Text1.setMaxLength(4);
    for (int i = 1; i <= BT_Batches_Per_Month; ++i) Combo2.AddItem(std::to_string(i));
    Label1.Move(240, 300, 1500, 300);
    Text1.Move(1800, 240, 1200, 345);
    Label2.Move(240, 780, 1500, 300);
    Combo1.Move(1800, 720, 1200, 345);
    // "第 [n] 次补贴" reads as one line of its own, laid out on Load.
    Label3.Move(1800, 1260, 600, 300);
    Combo2.Move(2460, 1200, 600, 345);
    Label4.Move(3120, 1260, 2040, 300);
    Text1.KeyPress = [this](int, int& key) { Text1_KeyPress(key); };
}

void Batch_Picker::Load() {
    Label1.setCaption(L(14));
    Label2.setCaption(L(15));
    Label3.setCaption(L(16));
    Label4.setCaption(L(17));
    // Each part as wide as its text in this language, the next just after it.
    constexpr int kGap = 60;
    Label3.setWidth(Label3.CaptionWidth());
    Combo2.setLeft(Label3.Left() + Label3.Width() + kGap);
    Label4.Move(Combo2.Left() + Combo2.Width() + kGap, Label4.Top(), Label4.CaptionWidth(), Label4.Height());
    const std::string now = platform::services().clockText();
    Text1.setText(now.substr(0, 4));
    Fill_Month_Combo(Combo1);
    Combo1.setListIndex(std::stoi(now.substr(5, 2)) - 1);
}

void Batch_Picker::Text1_KeyPress(int& KeyAscii) { KeyAscii = std::stoi(LimitNum(KeyAscii, "0123456789", true)); }

bool Batch_Picker::Check() {
    const auto year = Typed_Year(Text1.Text());
    if (!year) {
        refuse(L(108), Text1);
        return false;
    }
    if (Combo2.Text().empty()) {
        refuse(L(49), Combo2);
        return false;
    }
    Cur_B_Year = *year;
    Cur_B_Month = Combo1.ListIndex() + 1;
    Cur_B_Times = Combo2.Text();
    return true;
}

}  // namespace tolvenk
