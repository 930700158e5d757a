#include "subsidy/BT_DuiYing.h"

#include <utility>
#include <vector>

#include "data/Globals.h"
#include "data/SubsidyBatch.h"
#include "data/TableColumns.h"
#include "lang/Language.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

constexpr int kMargin = 120;
constexpr int kRight = 300;      // Frame1 ends this far from the right edge
constexpr int kBottom = 700;     // the button strip under the picker
constexpr int kFrame1Height = 1200;
constexpr int kButtonHeight = 420;

}  // namespace

BT_DuiYing::BT_DuiYing() {
    for (forms::Control* c : std::initializer_list<forms::Control*>{&Label2, &Combo_BT, &Label3, &Combo_BT_Ci})
        c->setContainer(Frame1);
    setBackColor(0x00FFF0E0);
    Frame1.setBackColor(0x00FFF0E0);
    Frame2.setBackColor(0x00FFF0E0);
    setWidth(MinWindowWidth);
    setHeight(MinWindowHeight);
    layOut();

    Command1.Click = [this](int) { Command1_Click(); };
    Command3.Click = [this](int) { Command3_Click(); };
    Command2.Click = [this](int) { Command2_Click(); };
}

// Labels and buttons are wide enough for the longest of the three languages.
void BT_DuiYing::layOut() {
    const int W = ScaleWidth(), H = ScaleHeight();
    const int frameWidth = W - kMargin - kRight;
    Frame1.Move(kMargin, kMargin, frameWidth, kFrame1Height);
    Label2.Move(240, 330, 3360, 300);
    Combo_BT.Move(3660, 270, 4200, 345);
    Label3.Move(240, 750, 3360, 300);
    Combo_BT_Ci.Move(3660, 690, 4200, 345);
    const int pickTop = Frame1.Top() + kFrame1Height + 300;
    const int pickHeight = H - kBottom - pickTop;
    ucSP1.Move(kMargin + 200, pickTop, frameWidth - 400, pickHeight);
    Frame2.Move(kMargin, Frame1.Top() + kFrame1Height + 60, frameWidth, pickTop + pickHeight - Frame1.Top() -
                                                                            kFrame1Height - 60);
    const int buttonTop = H - kBottom + (kBottom - kButtonHeight) / 2;
    const int right = kMargin + frameWidth;
    Command2.Move(right - 1440, buttonTop, 1440, kButtonHeight);
    Command3.Move(right - 1440 - 120 - 2880, buttonTop, 2880, kButtonHeight);
    Command1.Move(right - 1440 - 240 - 2 * 2880, buttonTop, 2880, kButtonHeight);
}

void BT_DuiYing::Form_Load() {
    Set_Lan_Font(*this);
    Fit_To_Screen(*this);
    setCaption(L(36));
    Frame1.setCaption(L(37));
    Label2.setCaption(L(38));
    Label3.setCaption(L(39));
    Command1.setCaption(L(40));
    Command3.setCaption(L(41));
    Command2.setCaption(L(2));
    ucSP1.Init(static_cast<std::int32_t>(BackColor()), ucKelmora::kEmployeeMode, Op_User_Name, strCN, 0);
    BT = BTService();
    if (!Times_Switch_On(BT.Is_Ci())) {
        Label3.setVisible(false);
        Combo_BT_Ci.setVisible(false);
    }
    Load_Mach_BT();
}

void BT_DuiYing::Form_Resize() {
    Keep_Min_Size(*this);
    layOut();
}

void BT_DuiYing::Load_Mach_BT() {
    Mach_J = BT.Get_Mach_J();
    Mach_Ci = BT.Get_Mach_Ci();
    Combo_BT.Clear();
    Combo_BT_Ci.Clear();
    for (auto [list, combo] : {std::pair{&Mach_J, &Combo_BT}, std::pair{&Mach_Ci, &Combo_BT_Ci}}) {
        if (list->rowUBound() < 1) continue;
        const int name = list->col(col::Mach_Info::Mach_Name);
        for (int r = 1; r <= list->rowUBound(); ++r) combo->AddItem((*list)(r, name));
    }
}

std::optional<std::int32_t> BT_DuiYing::Find_Mach(const DataList& list, const std::string& text) {
    if (text.empty() || list.rowUBound() < 1) return std::nullopt;
    const int id = list.col(col::Mach_Info::Mach_ID), name = list.col(col::Mach_Info::Mach_Name);
    std::optional<std::int32_t> found;
    for (int r = 1; r <= list.rowUBound(); ++r) {
        if (list(r, name) != text) continue;
        const auto v = parseNumber(list(r, id));
        if (v && *v >= INT32_MIN && *v <= INT32_MAX) found = static_cast<std::int32_t>(*v);
    }
    return found;
}


void BT_DuiYing::Command1_Click() {
    const std::int64_t count = ucSP1.Get_Sel_IDs(gSelPInfoIDs);
    const std::string moneyText = Combo_BT.Text(), timesText = Combo_BT_Ci.Text();
    const auto money = Find_Mach(Mach_J, moneyText), times = Find_Mach(Mach_Ci, timesText);
    if (count == 0) {
        Prompt(L(42), platform::vbCritical);
        return;
    }
    if (moneyText.empty() && timesText.empty()) {
        Prompt(L(44), platform::vbCritical);
        return;
    }
    // A typed name that is no listed terminal would assign no terminal at all.
    if (!moneyText.empty() && !money) {
        Prompt(L(941), platform::vbExclamation);
        Combo_BT.SetFocus();
        return;
    }
    if (!timesText.empty() && !times) {
        Prompt(L(941), platform::vbExclamation);
        Combo_BT_Ci.SetFocus();
        return;
    }
    std::int16_t kind = 0;  // both kinds
    std::vector<std::pair<std::int32_t, std::int16_t>> terminals;
    if (money) terminals.emplace_back(*money, B_Unit_Code::IC_Money);
    if (times) terminals.emplace_back(*times, B_Unit_Code::IC_Times);
    if (terminals.size() == 1) kind = terminals[0].second;
    std::size_t failed = 0;
    try {
        BT.Replace_DY(count - 1, kind, terminals, &failed);
    } catch (const db::DbError&) {
        Prompt(failed == 0 ? L(45) : L(110), platform::vbCritical);
        return;
    }
    Prompt(L(46), platform::vbExclamation);
}

void BT_DuiYing::Command3_Click() { Open_Modal("BT_Cha_DY"); }

void BT_DuiYing::Command2_Click() { Close_Window(*this); }

}  // namespace tolvenk
