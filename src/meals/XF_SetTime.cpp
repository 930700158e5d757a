#include "meals/XF_SetTime.h"

#include <cctype>
#include <exception>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "data/Globals.h"
#include "lang/Language.h"
#include "meals/MealColumns.h"
#include "meals/MealTimes.h"
#include "platform/MoneyText.h"
#include "platform/VbText.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

constexpr int kMeals = 5;
// The pickers until a row is read: periods that a first save accepts.
const char* const kDesignTimes[kMeals][2] = {
    {"06:00:00", "09:00:00"}, {"10:30:00", "13:30:00"}, {"16:30:00", "19:30:00"},
    {"20:00:00", "22:00:00"}, {"22:00:00", "23:59:00"}};
// The largest balance a card may hold, in fen, and the largest number of times.
constexpr std::int64_t kMinBalance = 100 * 100;
constexpr std::int64_t kMaxBalance = 6000 * 100;
constexpr long kMaxTimes = 60000;

// A whole number of times as typed, blanks around allowed; -1 when it is none.
long wholeTimes(const std::string& text) {
    const std::string t = trimChars(text, " \t");
    if (t.empty() || t.size() > 9) return -1;
    for (char c : t)
        if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
    return std::stol(t);
}

}  // namespace

XF_SetTime::XF_SetTime() {
    for (int k = 0; k < kMeals; ++k) {
        forms::Frame& frame = Frame1.add(k);
        for (forms::DTPicker* p : {&DTPicker1.add(k), &DTPicker2.add(k)}) {
            p->setContainer(frame);
            p->setCustomFormat("HH:mm");
        }
        meals::setPickerTime(DTPicker1(k), kDesignTimes[k][0]);
        meals::setPickerTime(DTPicker2(k), kDesignTimes[k][1]);
    }
    for (int i = 0; i <= 3; ++i) Label1.add(i);
    Text1.add(0).setText("6000");
    Text1.add(1).setText("5000");
    setWidth(6000);
    setHeight(6750);
    layOut();

    Command1.Click = [this](int) { Command1_Click(); };
    Command2.Click = [this](int) { Command2_Click(); };
}

void XF_SetTime::layOut() {
    for (int k = 0; k < kMeals; ++k) {
        Frame1(k).Move(240, 120 + k * 780, 5400, 720);
        DTPicker1(k).Move(360, 270, 2000, 330);
        DTPicker2(k).Move(2880, 270, 2000, 330);
    }
    Label1(0).Move(240, 4110, 2760, 300);
    Text1(0).Move(3000, 4050, 1560, 330);
    Label1(1).Move(4620, 4110, 960, 300);
    Label1(2).Move(240, 4590, 2760, 300);
    Text1(1).Move(3000, 4530, 1560, 330);
    Label1(3).Move(4620, 4590, 960, 300);
    Command1.Move(1440, 5250, 1500, 420);
    Command2.Move(3240, 5250, 1500, 420);
}

void XF_SetTime::Form_Load() {
    Set_Lan_Font(*this);
    setCaption(L(422));
    for (int k = 0; k < kMeals; ++k) Frame1(k).setCaption(L(423 + k));
    Label1(0).setCaption(L(428) + ":");
    Label1(1).setCaption(L(238));
    Label1(2).setCaption(L(429) + ":");
    Label1(3).setCaption(L(242));
    Command1.setCaption(L(430));
    Command2.setCaption(L(2));

    XF = XFService();
    Can_Time = XF.Get_Can_Time();
    if (Can_Time.rowUBound() < 1) return;

    // Shown to the minute; a stored text that is no time leaves the picker as it was.
    for (int k = 0; k < kMeals; ++k) {
        const meals::Meal_Columns& c = meals::columns(k + 1);
        for (auto [picker, name] : {std::pair{&DTPicker1(k), c.periodStart}, std::pair{&DTPicker2(k), c.periodEnd}}) {
            if (const auto t = meals::timeOfDay(Can_Time(1, Can_Time.col(name))))
                meals::setPickerTime(*picker, t->substr(0, 5));
        }
    }
    Text1(0).setText(centsText(vbVal(Can_Time(1, Can_Time.col(col::XF_Can_Time::Max_Money)))));
    Text1(1).setText(Can_Time(1, Can_Time.col(col::XF_Can_Time::Max_Ci)));
}

void XF_SetTime::refuse(int textNo, forms::Control& focus) {
    platform::services().msgBox(L(textNo), platform::vbExclamation, L(43));
    focus.SetFocus();
}

void XF_SetTime::Command1_Click() {
    std::string start[kMeals], end[kMeals];
    for (int k = 0; k < kMeals; ++k) {
        start[k] = meals::pickerTime(DTPicker1(k));
        end[k] = meals::pickerTime(DTPicker2(k));
    }
    for (int k = 0; k < kMeals; ++k)
        if (start[k] >= end[k]) return refuse(431, DTPicker2(k));
    // Periods may touch and need not follow the meal order, but never overlap.
    for (int i = 1; i < kMeals; ++i)
        for (int j = 0; j < i; ++j)
            if (start[i] < end[j] && start[j] < end[i]) return refuse(432, DTPicker1(i));

    const auto balance = yuanToCents(Text1(0).Text());
    if (!balance || *balance < kMinBalance || *balance > kMaxBalance) return refuse(433, Text1(0));
    const long times = wholeTimes(Text1(1).Text());
    if (times < 0 || times > kMaxTimes) return refuse(434, Text1(1));

    std::vector<std::string> record;
    for (int k = 0; k < kMeals; ++k) {
        record.push_back(start[k]);
        record.push_back(end[k]);
    }
    record.push_back(std::to_string(*balance));
    record.push_back(std::to_string(times));

    auto& sv = platform::services();
    try {
        if (Can_Time.rowUBound() >= 1) {
            if (!XF.Update_Can_Time(record)) {
                sv.msgBox(L(436), platform::vbExclamation, L(43));
                return;
            }
            sv.msgBox(L(133), platform::vbExclamation, L(43));
            sv.msgBox(L(435), platform::vbInformation, L(43));
        } else {
            if (XF.Add_Can_Time(record) != 0) {
                sv.msgBox(L(110), platform::vbExclamation, L(43));
                return;
            }
            sv.msgBox(L(133), platform::vbExclamation, L(43));
        }
    } catch (const std::exception& e) {
        // Nothing was written: the window stays open with what was typed.
        Show_Error(e);
        return;
    }
    Unload();
}

void XF_SetTime::Command2_Click() { Close_Window(*this); }

}  // namespace tolvenk
