#include "cards/Card_Type.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <initializer_list>

#include "data/CardSysMode.h"
#include "data/Globals.h"
#include "data/TableColumns.h"
#include "lang/Language.h"
#include "platform/MoneyText.h"
#include "platform/Error.h"
#include "platform/VbNumber.h"
#include "platform/VbText.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

constexpr forms::Colour kWindowBackground = 0x80000005;
constexpr forms::Colour kMenuColour = 0x80000004;
constexpr int kDcWidth = 4000;
constexpr int kGridCols = 22;

// The list's columns 0..21 are the kind record's columns in their order.
const char* const kTypeCols[kGridCols] = {
    col::Card_Type::ID,        col::Card_Type::C_LeiBie,  col::Card_Type::C_Name,    col::Card_Type::C_Remark,
    col::Card_Type::C_F_Money, col::Card_Type::C_T_Money, col::Card_Type::C_H_Money, col::Card_Type::Ci_Yuan,
    col::Card_Type::Tian_Yuan, col::Card_Type::Tian_Ci,   col::Card_Type::Zao_Yuan,  col::Card_Type::Zao_Ci,
    col::Card_Type::Zhong_Yuan, col::Card_Type::Zhong_Ci, col::Card_Type::Wan_Yuan,  col::Card_Type::Wan_Ci,
    col::Card_Type::Ye_Yuan,   col::Card_Type::Ye_Ci,     col::Card_Type::Xiao_Yuan, col::Card_Type::Xiao_Ci,
    col::Card_Type::BT_Money,  col::Card_Type::BT_Ci};

namespace T = col::Card_Type;
// The five meals' amount and count limits.
const char* const kMealYuan[5] = {T::Zao_Yuan, T::Zhong_Yuan, T::Wan_Yuan, T::Ye_Yuan, T::Xiao_Yuan};
const char* const kMealCi[5] = {T::Zao_Ci, T::Zhong_Ci, T::Wan_Ci, T::Ye_Ci, T::Xiao_Ci};

// The list's column of a kind record's column.
int gridCol(const char* column) {
    for (int c = 0; c < kGridCols; ++c)
        if (std::string_view(kTypeCols[c]) == column) return c;
    return -1;
}

// The meal-order boxes carry fixed Chinese captions in every language.
const char* const kDcCaptions[5] = {"早餐限额:", "中餐限额:", "晚餐限额:", "夜餐限额:", "夜宵限额:"};

// A limit box is usable only while its check box is ticked.
void setUsable(forms::TextBox& box, bool on) {
    box.setEnabled(on);
    box.setBackColor(on ? kWindowBackground : kMenuColour);
}

std::int16_t wholeNumber(const std::string& text) { return vbCInt(vbVal(vbTrim(text))); }

}  // namespace

Card_Type::Card_Type() {
    setContainers();

    // The editor covers the list: opaque, shown only while editing.
    fraEdit.setBackColor(0x8000000F);
    fraEdit.setVisible(false);
    Option1(2).setVisible(false);
    Option1(0).setValue(true);
    fra_Can.setVisible(false);
    Fra_DC.setVisible(false);
    Fra_DC.setCaption("订餐限制");
    for (int i = 0; i <= 4; ++i) Check1(18 + i).setCaption(kDcCaptions[i]);
    txt_Max_Money.setText("50.00");
    for (forms::TextBox* b : {&txt_S_Money, &txt_T_Money, &txt_H_Money}) b->setText("0");
    setUsable(txt_Code, false);
    for (forms::TextBox* b : {&txt_Tian_J, &txt_Tian_C, &Text16, &Text17}) setUsable(*b, false);
    for (int i = 0; i <= 9; ++i) setUsable(txt_Can_J(i), false);
    for (int i = 0; i <= 4; ++i) setUsable(txt_Can_Ci(i), false);

    Grid_Info.setFixedRows(1);
    Grid_Info.setCols(kGridCols);
    Grid_Info.setRows(1);
    for (int c = 0; c < kGridCols; ++c) Grid_Info.Column(c).setLocked(true);
    setWidth(13140);
    setHeight(8340);
    layOut();

    Command2.Click = [this](int) { Command2_Click(); };
    Command4.Click = [this](int) { Command4_Click(); };
    Command5.Click = [this](int) { Command5_Click(); };
    cmdReturn.Click = [this](int) { cmdReturn_Click(); };
    Command1.Click = [this](int) { Command1_Click(); };
    Command3.Click = [this](int) { Command3_Click(); };
    for (int i = 0; i <= 2; ++i) Option1(i).Click = [this](int index) { Option1_Click(index); };
    for (int i : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 18, 19, 20, 21, 22})
        Check1(i).Click = [this](int index) { Check1_Click(index); };
    Check_Tian_J.Click = [this](int) { Check_Tian_J_Click(); };
    Check_Tian_C.Click = [this](int) { Check_Tian_C_Click(); };
}

// Every control of the editor lies in its frame.
void Card_Type::setContainers() {
    for (int i = 0; i <= 2; ++i) Option1.add(i).setContainer(fraEdit);
    for (int i = 0; i <= 9; ++i) txt_Can_J.add(i).setContainer(i < 5 ? fra_Can : Fra_DC);
    for (int i = 0; i <= 4; ++i) txt_Can_Ci.add(i).setContainer(fra_Can);
    for (int i : {1, 2, 3, 4, 5, 7, 8, 9, 10, 11}) Check1.add(i).setContainer(fra_Can);
    for (int i = 18; i <= 22; ++i) Check1.add(i).setContainer(Fra_DC);
    for (int i : {6, 12}) Check1.add(i).setContainer(fraEdit);
    for (forms::Control* c : std::initializer_list<forms::Control*>{
             &Label0, &lblCode, &txt_Code, &lblName, &txt_Name, &lblSay, &txt_Say, &lblS_Money, &txt_S_Money,
             &lblT_Money, &txt_T_Money, &lblH_Money, &txt_H_Money, &lblMax_Money, &txt_Max_Money, &fra_Tian,
             &fra_Can, &Fra_DC, &Text16, &Text17, &Command1, &Command3})
        c->setContainer(fraEdit);
    for (forms::Control* c :
         std::initializer_list<forms::Control*>{&Check_Tian_J, &txt_Tian_J, &Check_Tian_C, &txt_Tian_C})
        c->setContainer(fra_Tian);
    // Yuan after: issue, return and change fee, largest amount, day amount,
    // five meal amounts, five meal-order amounts, monthly amount.
    for (int i = 0; i <= 15; ++i) {
        forms::Label& l = lblYuan.add(i);
        if (i == 4) l.setContainer(fra_Tian);
        else if (i >= 5 && i <= 9) l.setContainer(fra_Can);
        else if (i >= 10 && i <= 14) l.setContainer(Fra_DC);
        else l.setContainer(fraEdit);
    }
    // Times after: day count, five meal counts, monthly count.
    for (int i = 0; i <= 6; ++i) lblCi.add(i).setContainer(i == 0 ? fra_Tian : i == 6 ? fraEdit : fra_Can);

}

void Card_Type::layOut() {
    Grid_Info.Move(120, 120, 12900, 6960);
    Command2.Move(240, 7200, 1500, 420);
    Command4.Move(1920, 7200, 1500, 420);
    Command5.Move(3600, 7200, 1500, 420);
    cmdReturn.Move(11400, 7200, 1500, 420);

    fraEdit.Move(240, 120, 12660, 6900);
    Label0.Move(240, 300, 6000, 300);
    // Two columns of label, box and unit.
    const int lab1 = 240, box1 = 2500, unit1 = 3640, lab2 = 4400, box2 = 7060, unit2 = 8200;
    lblCode.Move(lab1, 720, 2200, 300);
    txt_Code.Move(box1, 690, 1100, 330);
    lblName.Move(lab2, 720, 2600, 300);
    txt_Name.Move(box2, 690, 3000, 330);
    lblSay.Move(lab1, 1140, 2200, 300);
    txt_Say.Move(box1, 1110, 7560, 330);
    lblS_Money.Move(lab1, 1560, 2200, 300);
    txt_S_Money.Move(box1, 1530, 1100, 330);
    lblYuan(0).Move(unit1, 1560, 600, 300);
    lblT_Money.Move(lab2, 1560, 2600, 300);
    txt_T_Money.Move(box2, 1530, 1100, 330);
    lblYuan(1).Move(unit2, 1560, 600, 300);
    lblH_Money.Move(lab1, 1980, 2200, 300);
    txt_H_Money.Move(box1, 1950, 1100, 330);
    lblYuan(2).Move(unit1, 1980, 600, 300);
    lblMax_Money.Move(lab2, 1980, 2600, 300);
    txt_Max_Money.Move(box2, 1950, 1100, 330);
    lblYuan(3).Move(unit2, 1980, 600, 300);

    Option1(0).Move(240, 2400, 2400, 300);
    Option1(1).Move(2760, 2400, 2400, 300);
    Option1(2).Move(5280, 2400, 2800, 300);

    layOutLimits();

    Check1(6).Move(240, 5520, 2600, 300);
    Text16.Move(2880, 5490, 1100, 330);
    lblYuan(15).Move(4020, 5520, 600, 300);
    Check1(12).Move(4700, 5520, 3000, 300);
    Text17.Move(7760, 5490, 1000, 330);
    lblCi(6).Move(8800, 5520, 600, 300);

    Command1.Move(3600, 6150, 1500, 420);
    Command3.Move(6000, 6150, 1500, 420);
}

// The three limit frames: by day, by meal, meal order.
void Card_Type::layOutLimits() {
    fra_Tian.Move(240, 2820, 8400, 2520);
    Check_Tian_J.Move(120, 300, 2500, 300);
    txt_Tian_J.Move(2660, 270, 1000, 330);
    lblYuan(4).Move(3700, 300, 600, 300);
    Check_Tian_C.Move(120, 720, 2500, 300);
    txt_Tian_C.Move(2660, 690, 1000, 330);
    lblCi(0).Move(3700, 720, 600, 300);

    fra_Can.Move(240, 3000, 8400, 2520);  // moved up to fra_Tian's top at load
    for (int i = 0; i <= 4; ++i) {
        const int y = 300 + i * 420;
        Check1(i + 1).Move(120, y, 2700, 300);
        txt_Can_J(i).Move(2880, y - 30, 900, 330);
        lblYuan(5 + i).Move(3800, y, 540, 300);
        Check1(i + 7).Move(4400, y, 2600, 300);
        txt_Can_Ci(i).Move(7040, y - 30, 700, 330);
        lblCi(1 + i).Move(7760, y, 540, 300);
    }
    Fra_DC.Move(8760, 2820, kDcWidth, 2520);
    for (int i = 0; i <= 4; ++i) {
        const int y = 300 + i * 420;
        Check1(18 + i).Move(120, y, 2300, 300);
        txt_Can_J(5 + i).Move(2460, y - 30, 900, 330);
        lblYuan(10 + i).Move(3400, y, 540, 300);
    }
}

void Card_Type::Form_Load() {
    Set_Lan_Font(*this);
    Set_Type_Captions();
    Card = CardService();
    fraEdit.Move(240, 120, fraEdit.Width(), fraEdit.Height());
    Grid_Info.setCols(kGridCols);
    const int heads[kGridCols] = {285, 235, 236, 240, 286, 269, 270, 287, 288, 289, 290,
                                  291, 292, 293, 294, 295, 296, 297, 298, 299, 300, 301};
    for (int c = 0; c < kGridCols; ++c) Grid_Info.Cell(0, c).setText(L(heads[c]));
    XF = XFService();
    // Whether card types carry meal-order limits cannot be told: the window does not open.
    const std::optional<std::int32_t> mode = Card_System(XF);
    if (!mode) {
        Unload();
        return;
    }
    if (*mode == Card_Sys_Mode::MealOrder) Option1(2).setVisible(true);
    for (int c = 1; c < kGridCols; ++c) Grid_Info.Column(c).setAlignment(grid::AlignCenter);
    fra_Can.setTop(fra_Tian.Top());
    Load_Types();
}

void Card_Type::Set_Type_Captions() {
    setCaption(L(233));
    Label0.setCaption(L(234));
    lblCode.setCaption("*" + L(235) + ":");
    lblName.setCaption("*" + L(236) + ":");
    lblS_Money.setCaption(L(237) + ":");
    lblT_Money.setCaption(L(239) + ":");
    lblSay.setCaption(L(240) + ":");
    lblH_Money.setCaption(L(241));
    lblMax_Money.setCaption("*" + L(243) + ":");
    for (int i = 0; i <= lblYuan.UBound(); ++i) lblYuan(i).setCaption(L(238));
    for (int i = 0; i <= lblCi.UBound(); ++i) lblCi(i).setCaption(L(242));
    for (int i = 0; i <= 1; ++i) Option1(i).setCaption(L(244 + i));
    Option1(2).setCaption(L(460));
    Check_Tian_J.setCaption(L(246) + ":");
    Check_Tian_C.setCaption(L(247) + ":");
    fra_Tian.setCaption(L(248));
    fra_Can.setCaption(L(248));
    for (int k = 1; k <= 12; ++k) Check1(k).setCaption(L(248 + k) + ":");
    Command2.setCaption(L(261));
    Command4.setCaption(L(262));
    Command5.setCaption(L(263));
    cmdReturn.setCaption(L(19));
    Command1.setCaption(L(128));
    Command3.setCaption(L(129));
}

void Card_Type::Load_Types() {
    const DataList d = Card.Get_Type("");
    Grid_Info.setRows(1);
    if (d.rowUBound() >= 1) {
        int cols[kGridCols];
        for (int c = 0; c < kGridCols; ++c) cols[c] = d.col(kTypeCols[c]);
        for (int r = 1; r <= d.rowUBound(); ++r) {
            Grid_Info.setRows(r + 1);
            for (int c = 0; c < kGridCols; ++c)
                Grid_Info.Cell(r, c).setText(Card_Type_Shown(kTypeCols[c], d(r, cols[c])));
            if (vbVal(d(r, cols[1])) == 1) Grid_Info.Cell(r, 2).setText(L(266));
        }
    }
    // The heads are long in English ("Breakfast/Times"), the kinds' names in any language.
    Grid_Info.Widen_To_Text();
}

int Card_Type::Selected_Row() {
    const int row = Grid_Info.Active_Cell().Row();
    // A current cell left below a shortened list chooses nothing.
    return row >= 1 && row < Grid_Info.Rows() ? row : 0;
}

void Card_Type::Command2_Click() {
    Cur_ID = 0;
    const int last = Grid_Info.Rows() - 1;
    Cur_LeiBie = last >= 1 ? vbCInt(wholeNumber(Grid_Info.Cell(last, 1).Text()) + 1.0) : std::int16_t{1};
    Label0.setCaption(L(278));
    Edit_Type(0);
}

void Card_Type::Command4_Click() {
    const int row = Selected_Row();
    if (row == 0) {
        Prompt(L(279));
        return;
    }
    Cur_ID = wholeNumber(Grid_Info.Cell(row, 0).Text());
    Cur_LeiBie = wholeNumber(Grid_Info.Cell(row, 1).Text());
    Label0.setCaption(L(280));
    Edit_Type(1);
}

void Card_Type::Edit_Type(int Mode) {
    for (forms::Control* c :
         std::initializer_list<forms::Control*>{&Grid_Info, &cmdReturn, &Command2, &Command4, &Command5})
        c->setEnabled(false);
    fraEdit.setVisible(true);
    if (Mode == 0) {
        txt_Code.setText(std::to_string(Cur_LeiBie));
        return;
    }

    const int row = Selected_Row();
    auto cell = [&](const char* column) { return vbTrim(Grid_Info.Cell(row, gridCol(column)).Text()); };
    txt_Code.setText(cell(T::C_LeiBie));
    txt_Name.setText(cell(T::C_Name));
    txt_Say.setText(cell(T::C_Remark));
    txt_S_Money.setText(cell(T::C_F_Money));
    txt_T_Money.setText(cell(T::C_T_Money));
    txt_H_Money.setText(cell(T::C_H_Money));
    txt_Max_Money.setText(cell(T::Ci_Yuan));

    // Each limit box with its check box: ticked (grayed) when it holds a value.
    auto fill = [&](forms::CheckBox& box, forms::TextBox& text, const char* c) {
        text.setText(cell(c));
        box.setValue(text.Text().empty() ? forms::vbUnchecked : forms::vbGrayed);
        setUsable(text, !text.Text().empty());
    };
    fill(Check_Tian_J, txt_Tian_J, T::Tian_Yuan);
    fill(Check_Tian_C, txt_Tian_C, T::Tian_Ci);
    for (int i = 0; i <= 4; ++i) {
        fill(Check1(i + 1), txt_Can_J(i), kMealYuan[i]);
        fill(Check1(i + 7), txt_Can_Ci(i), kMealCi[i]);
        // The meal-order amounts share the meal amount columns: a meal-order
        // kind saved from here must keep its own values, not the last edit's.
        fill(Check1(18 + i), txt_Can_J(5 + i), kMealYuan[i]);
    }
    fill(Check1(6), Text16, T::BT_Money);
    fill(Check1(12), Text17, T::BT_Ci);

    const std::int16_t mode = Card.Check_Tian(static_cast<std::int32_t>(vbVal(txt_Code.Text())));
    if (mode == -2) {
        Option1(2).setValue(true);
        Option1_Click(2);
    } else if (mode == -1) {
        Option1(0).setValue(true);
        Option1_Click(0);
    } else {
        Option1(1).setValue(true);
        Option1_Click(1);
    }
}

void Card_Type::Option1_Click(int Index) {
    fra_Tian.setVisible(Index == 0);
    fra_Can.setVisible(Index == 1);
    Fra_DC.setVisible(Index == 2);
    if (Index == 2) Fra_DC.setWidth(kDcWidth);
}

forms::TextBox& Card_Type::Check1_Box(int Index) {
    if (Index == 6) return Text16;
    if (Index == 12) return Text17;
    if (Index >= 1 && Index <= 5) return txt_Can_J(Index - 1);
    if (Index >= 7 && Index <= 11) return txt_Can_Ci(Index - 7);
    return txt_Can_J(Index - 13);
}

void Card_Type::Check1_Click(int Index) { setUsable(Check1_Box(Index), Check1(Index).Value() != forms::vbUnchecked); }
void Card_Type::Check_Tian_J_Click() { setUsable(txt_Tian_J, Check_Tian_J.Value() != forms::vbUnchecked); }
void Card_Type::Check_Tian_C_Click() { setUsable(txt_Tian_C, Check_Tian_C.Value() != forms::vbUnchecked); }

namespace {

// The leading number of the text (as far as it reads as one) times the
// factor, rounded half to even; a value beyond the column is error 6.
std::int32_t leadingValue(const std::string& text, double factor) { return vbCLng(vbVal(text) * factor); }

}  // namespace

std::int32_t Card_Type::Check_Money(const char* Column, const std::string& Text, const std::string& FieldName) {
    const std::int32_t value = leadingValue(Text, 100);
    if (value < 0) {
        platform::services().msgBox(FieldName + L(264), platform::vbCritical, L(112));
        return -1;
    }
    Type_Rec[Column] = std::to_string(value);
    return value;
}

std::int32_t Card_Type::Check_Num(const char* Column, const std::string& Text, const std::string& FieldName) {
    const std::int32_t value = leadingValue(Text, 1);
    if (value < 0) {
        platform::services().msgBox(FieldName + L(264), platform::vbCritical, L(112));
        return -1;
    }
    Type_Rec[Column] = std::to_string(value);
    return value;
}

void Card_Type::Command1_Click() {
    if (txt_Code.Text().empty() || txt_Name.Text().empty() || txt_Max_Money.Text().empty()) {
        Prompt(L(265));
        return;
    }
    if (Cur_LeiBie == 1 && txt_Name.Text() != L(266)) {
        Prompt(L(267));
        return;
    }
    Type_Rec = Card_Type_Record();
    Type_Rec[T::ID] = std::to_string(Cur_ID);
    Type_Rec[T::C_LeiBie] = std::to_string(Cur_LeiBie);
    Type_Rec[T::C_Name] = txt_Name.Text();
    Type_Rec[T::C_Remark] = txt_Say.Text();
    if (Check_Money(T::C_F_Money, txt_S_Money.Text(), L(268)) < 0) return;
    if (Check_Money(T::C_T_Money, txt_T_Money.Text(), L(269)) < 0) return;
    if (Check_Money(T::C_H_Money, txt_H_Money.Text(), L(270)) < 0) return;
    if (Check_Money(T::Ci_Yuan, txt_Max_Money.Text(), L(243)) < 0) return;
    if (!Fill_Limits()) return;
    Write_Type();
    Command3_Click();
}

bool Card_Type::Fill_Limits() {
    auto ticked = [](const forms::CheckBox& b) { return b.Value() >= forms::vbChecked; };
    auto money = [&](const char* column, const forms::CheckBox& box, const forms::TextBox& text, int name) {
        if (!ticked(box)) {
            Type_Rec[column] = "-1";
            return true;
        }
        return Check_Money(column, text.Text(), L(name)) >= 0;
    };
    auto count = [&](const char* column, const forms::CheckBox& box, const forms::TextBox& text, int name) {
        if (!ticked(box)) {
            Type_Rec[column] = "-1";
            return true;
        }
        return Check_Num(column, text.Text(), L(name)) >= 0;
    };

    if (Option1(0).Value()) {
        for (int i = 0; i <= 4; ++i) Type_Rec[kMealYuan[i]] = Type_Rec[kMealCi[i]] = "-1";
        if (!money(T::Tian_Yuan, Check_Tian_J, txt_Tian_J, 246)) return false;
        if (!count(T::Tian_Ci, Check_Tian_C, txt_Tian_C, 247)) return false;
    } else if (Option1(1).Value()) {
        Type_Rec[T::Tian_Yuan] = Type_Rec[T::Tian_Ci] = "0";
        for (int i = 0; i <= 4; ++i) {
            if (!money(kMealYuan[i], Check1(i + 1), txt_Can_J(i), 271)) return false;
            if (!count(kMealCi[i], Check1(i + 7), txt_Can_Ci(i), 272)) return false;
        }
    } else {
        Type_Rec[T::Tian_Yuan] = Type_Rec[T::Tian_Ci] = "-2";
        for (int i = 0; i <= 4; ++i) {
            if (!money(kMealYuan[i], Check1(18 + i), txt_Can_J(5 + i), 271)) return false;
            Type_Rec[kMealCi[i]] = "1";
        }
    }
    if (!money(T::BT_Money, Check1(6), Text16, 273)) return false;
    if (!count(T::BT_Ci, Check1(12), Text17, 274)) return false;
    Type_Rec[T::Del_YN] = "0";
    return true;
}

void Card_Type::Write_Type() {
    try {
        if (Cur_ID != 0) {
            const std::int16_t result = Card.Update_Type(Type_Rec.Values());
            if (result == 0) Prompt(L(277));
            else if (result == -1) Prompt(L(110));
        } else {
            const std::int16_t result = Card.New_Type(Type_Rec.Values());
            if (result == 0) Prompt(L(275));
            else if (result == -1) Prompt(L(110));
            else if (result == -2) Prompt(L(276));
        }
    } catch (const db::DbError& e) {
        // Nothing was written; the editor closes as after any failed save.
        Prompt(L(110) + "\n" + e.what());
    }
}

void Card_Type::Command3_Click() {
    for (forms::Control* c :
         std::initializer_list<forms::Control*>{&Grid_Info, &cmdReturn, &Command2, &Command4, &Command5})
        c->setEnabled(true);
    fraEdit.setVisible(false);
    txt_Code.setText("");
    txt_Name.setText("");
    txt_Say.setText("");
    for (forms::TextBox* b : {&txt_S_Money, &txt_T_Money, &txt_H_Money}) b->setText("0");
    for (int i = 0; i <= 4; ++i) {
        Check1(i + 1).setValue(forms::vbUnchecked);
        Check1(i + 7).setValue(forms::vbUnchecked);
        txt_Can_J(i).setText("");
        txt_Can_Ci(i).setText("");
        Check1(18 + i).setValue(forms::vbUnchecked);
        txt_Can_J(5 + i).setText("");
    }
    Check1(6).setValue(forms::vbUnchecked);
    Check1(12).setValue(forms::vbUnchecked);
    Text16.setText("");
    Text17.setText("");
    Check_Tian_J.setValue(forms::vbUnchecked);
    Check_Tian_C.setValue(forms::vbUnchecked);
    txt_Tian_J.setText("");
    txt_Tian_C.setText("");
    Load_Types();
}

void Card_Type::Command5_Click() {
    const int row = Selected_Row();
    if (row == 0) {
        Prompt(L(279));
        return;
    }
    if (platform::services().msgBox(L(281), platform::vbYesNo | platform::vbQuestion, L(43)) != platform::vbYes) {
        Load_Types();
        return;
    }
    Cur_ID = wholeNumber(Grid_Info.Cell(row, 0).Text());
    const std::int16_t kind = wholeNumber(Grid_Info.Cell(row, 1).Text());
    if (kind == 1) {
        Prompt(L(282));
        return;
    }
    if (!Card.Get_Cards(kind)) {
        Prompt(L(283));
        return;
    }
    try {
        Prompt(Card.Delect_Type(Cur_ID) != 0 ? L(284) : L(164));
    } catch (const db::DbError& e) {
        Prompt(L(284) + "\n" + e.what());
    }
    Load_Types();
}

// A limit of -1 (none) or -2 (meal order) shows empty; amounts show in yuan.
std::string Card_Type_Shown(const std::string& column, const std::string& stored) {
    static const std::vector<std::string> amounts{T::C_F_Money, T::C_T_Money, T::C_H_Money, T::Ci_Yuan,
                                                  T::Tian_Yuan, T::Zao_Yuan,  T::Zhong_Yuan, T::Wan_Yuan,
                                                  T::Ye_Yuan,   T::Xiao_Yuan, T::BT_Money};
    const auto& all = Card_Type_Record::Columns();
    const auto at = std::find(all.begin(), all.end(), column);
    const auto first = std::find(all.begin(), all.end(), T::C_F_Money), last = std::find(all.begin(), all.end(), T::BT_Ci);
    const bool limit = at >= first && at <= last;
    if (!limit) return stored;
    if (stored == "-1" || stored == "-2") return {};
    if (std::find(amounts.begin(), amounts.end(), column) == amounts.end()) return stored;
    // As stored, exactly; one that is no whole number of fen shows the
    // overflow mark rather than a rounded amount.
    Exact_Sum exact;
    if (!stored.empty()) exact.add(stored);
    return exact.cents();
}

void Card_Type::cmdReturn_Click() { Close_Window(*this); }

}  // namespace tolvenk
