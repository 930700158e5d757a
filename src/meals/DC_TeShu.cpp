#include "meals/DC_TeShu.h"

#include <exception>
#include <initializer_list>

#include "data/Globals.h"
#include "lang/Language.h"
#include "meals/MealColumns.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {
constexpr int kMeals = 5;
constexpr forms::Colour kBlue = 0xFF0000;
constexpr forms::Colour kBlack = 0;
}  // namespace

DC_TeShu::DC_TeShu() {
    for (forms::Control* c : std::initializer_list<forms::Control*>{&Label1, &Label2, &DTPicker1, &Command4, &Command5})
        c->setContainer(Picture1);
    for (int k = 1; k <= kMeals; ++k) {
        Meal_Label(k).setContainer(Picture1);
        Meal_Combo(k).setContainer(Picture1);
    }
    Picture1.setVisible(false);
    DTPicker1.setCustomFormat("yyyy-MM-dd");
    Grid1.setCols(7);
    Grid1.setRows(1);
    Grid1.setFixedRows(1);
    setWidth(9840);
    setHeight(6630);
    layOut();

    Command1.Click = [this](int) { Command1_Click(); };
    Command2.Click = [this](int) { Command2_Click(); };
    Command3.Click = [this](int) { Command3_Click(); };
    Command4.Click = [this](int) { Command4_Click(); };
    Command5.Click = [this](int) { Command5_Click(); };
}

forms::ComboBox& DC_TeShu::Meal_Combo(int meal) {
    forms::ComboBox* combos[] = {&Combo1, &Combo2, &Combo3, &Combo4, &Combo5};
    return *combos[meal - 1];
}

forms::Label& DC_TeShu::Meal_Label(int meal) {
    forms::Label* labels[] = {&Label3, &Label4, &Label5, &Label6, &Label7};
    return *labels[meal - 1];
}

void DC_TeShu::layOut() {
    Grid1.Move(120, 120, 9480, 4800);
    Command1.Move(120, 5160, 2400, 420);
    Command3.Move(2760, 5160, 2400, 420);
    Command2.Move(8100, 5160, 1500, 420);

    Picture1.Move(1800, 480, 6000, 3960);
    Label1.Move(240, 180, 5520, 300);
    Label2.Move(240, 660, 2040, 300);
    DTPicker1.Move(2340, 600, 2400, 360);
    for (int k = 1; k <= kMeals; ++k) {
        const int top = 1080 + (k - 1) * 420;
        Meal_Label(k).Move(240, top + 60, 2040, 300);
        Meal_Combo(k).Move(2340, top, 2880, 360);
    }
    Command4.Move(1200, 3300, 1500, 420);
    Command5.Move(3300, 3300, 1500, 420);
}

void DC_TeShu::Form_Load() {
    Set_Lan_Font(*this);
    setCaption(L(315));
    Label1.setCaption(L(316));
    Label2.setCaption(L(317) + ":");
    for (int k = 1; k <= kMeals; ++k) Meal_Label(k).setCaption(L(317 + k) + ":");
    Command4.setCaption(L(128));
    Command5.setCaption(L(129));
    Command1.setCaption(L(316));
    Command3.setCaption(L(323));
    Command2.setCaption(L(2));

    DC = DCService();
    DTPicker1.setValue(platform::services().clockText().substr(0, 10));
    Reset_TeShu_Grid();

    TS = DC.Select_TS_DC("");
    for (int r = 1; r <= TS.rowUBound(); ++r) {
        Grid1.Add_Row("", false);
        const int row = Grid1.Rows() - 1;
        Grid1.Cell(row, 1).setText(TS(r, TS.col(col::DC_TeShuRi::TS_Date)));
        for (int k = 1; k <= kMeals; ++k) {
            const auto flag = parseNumber(TS(r, TS.col(meals::columns(k).special)));
            forms::Grid::CellRef cell = Grid1.Cell(row, k + 1);
            if (flag && *flag == 0) {
                cell.setText(L(332));
                cell.setForeColor(kBlack);
            } else if (flag && *flag == 1) {
                cell.setText(L(333));
                cell.setForeColor(kBlue);
            }
        }
    }
    for (int c = 1; c < Grid1.Cols(); ++c) {
        Grid1.Column(c).setWidth(100);
        Grid1.Column(c).setAlignment(grid::AlignCenter);
    }
    Grid1.Widen_To_Text();
    Grid1.setRedraw(true);
    Grid1.Refresh();
}

void DC_TeShu::Reset_TeShu_Grid() {
    DTPicker1.setValue(platform::services().clockText().substr(0, 10));
    for (int k = 1; k <= kMeals; ++k) {
        forms::ComboBox& combo = Meal_Combo(k);
        combo.Clear();
        combo.AddItem(L(332));
        combo.AddItem(L(333));
        combo.setListIndex(0);
    }
    Grid1.setRows(1);
    Grid1.setBackColor1(0xFFFFFF);
    Grid1.setBackColor2(0xEEF5F7);
    Grid1.setRedraw(false);
    Grid1.Cell(0, 1).setText(L(334));
    for (int c = 2; c <= 6; ++c) Grid1.Cell(0, c).setText(L(192 + c));
    // A list to choose from, not to type in.
    Grid1.Column(0).setWidth(20);
    for (int c = 0; c < Grid1.Cols(); ++c) Grid1.Column(c).setLocked(true);
}

void DC_TeShu::Command1_Click() {
    Command1.setEnabled(false);
    Command3.setEnabled(false);
    Grid1.setEnabled(false);
    Picture1.setVisible(true);
    Refresh();
}

void DC_TeShu::Command5_Click() {
    Command1.setEnabled(true);
    Command3.setEnabled(true);
    Grid1.setEnabled(true);
    Picture1.setVisible(false);
    Refresh();
}

void DC_TeShu::Command4_Click() {
    auto& sv = platform::services();
    const std::string day = DTPicker1.Date_Value();
    if (sv.msgBox(L(328) + day + L(329), platform::vbOKCancel | platform::vbQuestion, L(43)) != platform::vbOK) return;
    int flags[kMeals];
    for (int k = 1; k <= kMeals; ++k) flags[k - 1] = Meal_Combo(k).ListIndex();
    try {
        // The day's old row goes only together with the new one's insert.
        DC.Replace_TS_DC(day, flags[0], flags[1], flags[2], flags[3], flags[4]);
    } catch (const std::exception& e) {
        // Stop here: the panel stays open with the choice, to correct or cancel.
        Show_Error(e);
        return;
    }
    sv.msgBox(L(330), platform::vbInformation, L(43));
    Command5_Click();
    Form_Load();
    sv.msgBox(L(331), platform::vbInformation, L(43));
    Refresh();
}

void DC_TeShu::Command3_Click() {
    auto& sv = platform::services();
    const int r = Grid1.Active_Cell().Row();
    if (r == 0) {
        sv.msgBox(L(324), platform::vbExclamation, L(43));
        return;
    }
    const std::string day = Grid1.Cell(r, 1).Text();
    if (sv.msgBox(L(325) + day + L(326), platform::vbOKCancel | platform::vbQuestion, L(43)) != platform::vbOK) return;
    bool ok = false;
    try {
        ok = DC.Delete_TS_DC(day);
    } catch (const std::exception& e) {
        Show_Error(e);
        return;
    }
    if (!ok) {
        sv.msgBox(L(110), platform::vbInformation, L(43));
        return;
    }
    sv.msgBox(L(327), platform::vbInformation, L(43));
    Grid1.RemoveRow(r);
}

void DC_TeShu::Command2_Click() { Close_Window(*this); }

}  // namespace tolvenk
