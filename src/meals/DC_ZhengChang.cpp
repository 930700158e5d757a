#include "meals/DC_ZhengChang.h"


#include "data/Globals.h"
#include "lang/Language.h"
#include "meals/MealColumns.h"
#include "meals/MealSave.h"
#include "platform/VbText.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"

namespace tolvenk {

namespace {
constexpr forms::Colour kBlue = 0xFF0000;
}

DC_ZhengChang::DC_ZhengChang() {
    Grid1.setRows(8);
    Grid1.setCols(7);
    Grid1.setFixedRows(1);
    setWidth(9840);
    setHeight(5730);
    layOut();

    Command1.Click = [this](int) { Command1_Click(); };
    Command2.Click = [this](int) { Command2_Click(); };
}

void DC_ZhengChang::layOut() {
    Grid1.Move(120, 120, 9480, 3960);
    Label1.Move(120, 4200, 9480, 300);
    Command1.Move(5880, 4620, 1500, 420);
    Command2.Move(7800, 4620, 1500, 420);
}

void DC_ZhengChang::Form_Load() {
    Set_Lan_Font(*this);
    setCaption(L(335));
    Label1.setCaption(L(336));
    Command1.setCaption(L(128));
    Command2.setCaption(L(2));

    DC = DCService();

    Grid1.setBackColor1(0xFFFFFF);
    Grid1.setBackColor2(0xEEF5F7);
    Grid1.setRedraw(false);
    Grid1.Cell(0, 1).setText(L(338));
    for (int c = 2; c <= 6; ++c) Grid1.Cell(0, c).setText(L(192 + c));
    for (int r = 1; r <= 7; ++r) Grid1.Cell(r, 1).setText(L(338 + r));
    // The weekdays are labels; only the meal cells are chosen.
    Grid1.Column(1).setLocked(true);
    for (int c = 2; c < Grid1.Cols(); ++c) {
        Grid1.Column(c).setCellType(grid::CellKind::DropDown);
        Grid1.Column(c).setList({L(332), L(333)});
    }

    ZC = DC.DC_ZhengChangRi();
    if (ZC.rowUBound() >= 1) {
        Values[0] = ZC(1, ZC.col(col::DC_ZhengChangRi::ID));
        for (int r = 1; r <= 7; ++r)
            for (int c = 2; c <= 6; ++c) {
                const auto flag = parseNumber(ZC(1, ZC.col(meals::weekColumn(r, c - 1))));
                if (flag && *flag == 0) {
                    Grid1.Cell(r, c).setText(L(332));
                } else if (flag && *flag == 1) {
                    Grid1.Cell(r, c).setText(L(333));
                    Grid1.Cell(r, c).setForeColor(kBlue);
                }
            }
    }

    for (int r = 0; r < Grid1.Rows(); ++r) Grid1.setRow_Height(r, 30);
    for (int c = 1; c < Grid1.Cols(); ++c) {
        Grid1.Column(c).setWidth(100);
        Grid1.Column(c).setAlignment(grid::AlignCenter);
    }
    Grid1.Column(0).setWidth(0);
    Grid1.setRedraw(true);
    Grid1.Refresh();
}

void DC_ZhengChang::Command1_Click() {
    if (platform::services().msgBox(L(337), platform::vbOKCancel | platform::vbQuestion, L(43)) != platform::vbOK) return;
    for (int r = 1; r <= 7; ++r)
        for (int c = 2; c <= 6; ++c)
            Values[static_cast<std::size_t>(Flag_Pos(r, c))] = std::to_string(vbTrim(Grid1.Cell(r, c).Text()) == L(333));

    meals::saveAndClose(*this, [&] { return ZC.rowUBound() >= 1 ? DC.Update_ZC_DC(Values) : DC.Add_ZC_DC(Values); });
}

void DC_ZhengChang::Command2_Click() { Close_Window(*this); }

}  // namespace tolvenk
