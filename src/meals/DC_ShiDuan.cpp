#include "meals/DC_ShiDuan.h"

#include <cstdint>
#include <optional>

#include "data/Globals.h"
#include "lang/Language.h"
#include "meals/MealColumns.h"
#include "meals/MealSave.h"
#include "meals/MealTimes.h"
#include "platform/MoneyText.h"
#include "platform/VbText.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"

namespace tolvenk {

namespace {

constexpr int kMeals = 5;

// A typed pre-charge in fen: blank is 0; nothing when refused.
std::optional<std::int64_t> preCharge(const std::string& text) {
    if (trimChars(text, " \t").empty()) return 0;
    const auto cents = yuanToCents(text);
    if (!cents || *cents < 0) return std::nullopt;
    return cents;
}

// Why a pre-charge is refused: a number too large for an amount, or no
// amount at all (negative, or not a number).
std::string refusalOf(const std::string& text) {
    const auto number = parseNumber(text);
    if (number && *number >= 1e15) return Lf(1000, {trimChars(text, " \t")});
    return L(927);
}

}  // namespace

DC_ShiDuan::DC_ShiDuan()
    : meals_{{{&Check1, &DTPicker1, &DTPicker2, &Text1, &Label2, 303},
              {&Check2, &DTPicker3, &DTPicker4, &Text2, &Label3, 304},
              {&Check3, &DTPicker5, &DTPicker6, &Text3, &Label4, 314},
              {&Check4, &DTPicker7, &DTPicker8, &Text4, &Label5, 305},
              {&Check5, &DTPicker9, &DTPicker10, &Text5, &Label6, 306}}} {
    for (int k = 1; k <= kMeals; ++k) {
        const Meal_Row& m = Meal(k);
        m.tick->setValue(forms::vbChecked);
        m.tick->Click = [this, k](int) { Check_Click(k); };
        for (forms::DTPicker* p : {m.start, m.end}) {
            p->setFormat(forms::dtpTime);
            meals::setPickerTime(*p, "00:00:00");
        }
        m.amount->setText("0.00");
        for (int i : {3 * k - 2, 3 * k - 1}) Label7.add(i).setContainer(Frame1);
        for (forms::Control* c : std::initializer_list<forms::Control*>{m.tick, m.start, m.end, m.amount, m.period})
            c->setContainer(Frame1);
    }
    Option1.add(0).setValue(true);
    Option1.add(1);
    setWidth(10800);
    setHeight(6600);
    layOut();

    Command1.Click = [this](int) { Command1_Click(); };
    Command2.Click = [this](int) { Command2_Click(); };
}

void DC_ShiDuan::layOut() {
    Frame1.Move(120, 120, 10440, 4500);
    for (int k = 1; k <= kMeals; ++k) {
        const Meal_Row& m = Meal(k);
        const int top = 300 + (k - 1) * 820;
        m.period->Move(240, top, 9960, 270);
        m.tick->Move(240, top + 300, 3480, 330);
        m.start->Move(3780, top + 300, 1500, 330);
        m.end->Move(5340, top + 300, 1500, 330);
        Label7(3 * k - 2).Move(6960, top + 330, 1380, 270);
        m.amount->Move(8340, top + 300, 1020, 330);
        Label7(3 * k - 1).Move(9420, top + 330, 900, 270);
    }
    Label1.Move(120, 4740, 10440, 270);
    Option1(0).Move(360, 5070, 3600, 300);
    Option1(1).Move(4200, 5070, 3600, 300);
    Command1.Move(6960, 5520, 1500, 420);
    Command2.Move(8760, 5520, 1500, 420);
}

void DC_ShiDuan::Form_Load() {
    Set_Lan_Font(*this);
    setCaption(L(302));
    Frame1.setCaption(L(302));
    Command1.setCaption(L(430));
    Command2.setCaption(L(601));
    for (int k = 1; k <= kMeals; ++k) {
        Label7(3 * k - 2).setCaption(L(308) + ":");
        Label7(3 * k - 1).setCaption(L(238));
        Meal(k).tick->setCaption(L(307));
        Meal(k).period->setCaption(L(Meal(k).periodText));
    }
    Label1.setCaption(L(309));
    Option1(0).setCaption(L(310));
    Option1(1).setCaption(L(311));

    DC = DCService();

    CD_Time = DC.Get_CD_Time();
    for (int r = 1; r <= CD_Time.rowUBound(); ++r)
        for (int k = 1; k <= kMeals; ++k)
            Meal(k).period->setCaption(L(Meal(k).periodText) + CD_Time(r, CD_Time.col(meals::columns(k).periodStart)) +
                                       " -- " + CD_Time(r, CD_Time.col(meals::columns(k).periodEnd)));

    ShiD = DC.Get_DC_ShiD();
    for (int r = 1; r <= ShiD.rowUBound(); ++r) {
        Values[0] = ShiD(r, ShiD.col(col::DC_ShiDuan::ID));
        for (int k = 1; k <= kMeals; ++k) {
            const Meal_Row& m = Meal(k);
            const meals::Meal_Columns& c = meals::columns(k);
            // A stored text that is no time of day leaves the picker as it was.
            meals::setPickerTime(*m.start, ShiD(r, ShiD.col(c.orderStart)));
            meals::setPickerTime(*m.end, ShiD(r, ShiD.col(c.orderEnd)));
            m.amount->setText(centsText(vbVal(ShiD(r, ShiD.col(c.preCharge)))));
        }
        const auto moRen = parseNumber(ShiD(r, ShiD.col(col::DC_ShiDuan::DC_MoRen)));
        if (moRen && *moRen == 0) Option1(0).setValue(true);
        else if (moRen && *moRen == 1) Option1(1).setValue(true);
        for (int k = 1; k <= kMeals; ++k)
            if (meals::pickerTime(*Meal(k).start) == meals::pickerTime(*Meal(k).end))
                Meal(k).tick->setValue(forms::vbUnchecked);
        for (int k = 1; k <= kMeals; ++k) Check_Click(k);
    }
}

void DC_ShiDuan::Check_Click(int meal) {
    const Meal_Row& m = Meal(meal);
    const bool open = m.tick->Value() == forms::vbChecked;
    for (forms::Control* c : std::initializer_list<forms::Control*>{m.start, m.end, m.amount}) c->setEnabled(open);
}

void DC_ShiDuan::Command1_Click() {
    auto& sv = platform::services();
    // An open meal's pre-charge must be an amount; a closed meal's is dropped anyway.
    for (int k = 1; k <= kMeals; ++k) {
        const Meal_Row& m = Meal(k);
        if (m.tick->Value() == forms::vbChecked && !preCharge(m.amount->Text())) {
            sv.msgBox(refusalOf(m.amount->Text()), platform::vbExclamation, L(43));
            m.amount->SetFocus();
            return;
        }
    }
    if (sv.msgBox(L(312), platform::vbOKCancel | platform::vbQuestion, L(43)) != platform::vbOK) return;

    // A closed meal is stored with start = end, at the breakfast start when breakfast is open.
    const std::string collapse = Check1.Value() == forms::vbChecked ? meals::pickerTime(DTPicker1) : "00:00:00";
    for (int k = 1; k <= kMeals; ++k) {
        const Meal_Row& m = Meal(k);
        if (m.tick->Value() == forms::vbChecked) continue;
        meals::setPickerTime(*m.start, collapse);
        meals::setPickerTime(*m.end, collapse);
        m.amount->setText("0");
    }
    int moRen = 0;
    if (Option1(1).Value()) moRen = 1;
    for (int k = 1; k <= kMeals; ++k)
        if (trimChars(Meal(k).amount->Text(), " \t").empty()) Meal(k).amount->setText("0");

    Values[1] = std::to_string(moRen);
    for (int k = 1; k <= kMeals; ++k) {
        const Meal_Row& m = Meal(k);
        Values[static_cast<std::size_t>(3 * k - 1)] = meals::pickerTime(*m.start);
        Values[static_cast<std::size_t>(3 * k)] = meals::pickerTime(*m.end);
        Values[static_cast<std::size_t>(3 * k + 1)] = std::to_string(preCharge(m.amount->Text()).value_or(0));
    }

    meals::saveAndClose(*this, [&] { return ShiD.rowUBound() >= 1 ? DC.Update_DC(Values) : DC.Add_DC_ShiD(Values); });
}

void DC_ShiDuan::Command2_Click() { Close_Window(*this); }

}  // namespace tolvenk
