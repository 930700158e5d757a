#include "reports/statistics/XF_Chong_HZ.h"

#include <initializer_list>

#include "data/ChongHzStore.h"
#include "data/Globals.h"
#include "data/HzDimCode.h"
#include "data/TableColumns.h"
#include "lang/Language.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

namespace K = Chong_HZ_Store;

// The quoted Chinese texts of this window (the computer's kinds and columns,
// the transfer column, "普通卡", "其它") are its own and read the same in every
// language: the language table's entries of the same wording are translated.
constexpr int kDesignWidth = 11655;
constexpr int kDesignHeight = 8340;

std::string monthText(const forms::DTPicker& p, int yearText, int monthText) {
    return std::to_string(p.Date_Year()) + L(yearText) + std::to_string(p.Date_Month()) + L(monthText);
}

}  // namespace

XF_Chong_HZ::XF_Chong_HZ() {
    for (int i = 0; i <= 1; ++i) {
        Option2.add(i).setContainer(Frame1);
        Option1.add(i).setContainer(Frame2);
    }
    for (int i = 0; i <= 2; ++i) Label1.add(i);
    for (forms::Control* c : std::initializer_list<forms::Control*>{&Label1(1), &DTPicker1, &DTPicker2, &Text1, &Text2,
                                                                    &Line1})
        c->setContainer(Frame2);
    for (int i = 0; i <= 3; ++i) Command4.add(i);

    Option2(0).setValue(true);
    Option1(0).setValue(true);
    Text1.setLocked(true);
    Text2.setLocked(true);
    pBar3.setVisible(false);
    Line1.setBorderColor(0x808080);
    Grid1.setFixedRows(1);
    setWidth(kDesignWidth);
    setHeight(kDesignHeight);
    layOut();

    for (int i = 0; i <= 1; ++i) {
        Option2(i).Click = [this](int index) { Option2_Click(index); };
        Option1(i).Click = [this](int index) { Option1_Click(index); };
    }
    DTPicker1.Change = DTPicker1.CloseUp = [this](int) { Snap_Month_Start(); };
    DTPicker2.Change = DTPicker2.CloseUp = [this](int) { Show_End_Month(); };
    Combo2.Click = [this](int) { Fill_Cond_Combo(Combo2, Combo1, 0); };
    Combo3.Click = [this](int) { Fill_Cond_Combo(Combo3, Combo4, 1); };
    Command1.Click = [this](int) { Sum_By_Computer(); };
    Command2.Click = [this](int) { Sum_By_Terminal(); };
    Wire_Output_Buttons(Command4, Grid1, *this, true);
}

// Labels and options are wide enough for the longest of the three languages.
void XF_Chong_HZ::layOut() {
    Frame1.Move(120, 60, 3300, 1020);
    Option2(0).Move(180, 300, 3000, 300);
    Option2(1).Move(180, 630, 3000, 300);
    Frame2.Move(3540, 60, 7860, 1020);
    Option1(0).Move(180, 300, 2460, 300);
    Option1(1).Move(180, 630, 2460, 300);
    Label1(1).Move(2700, 480, 1500, 255);
    DTPicker1.Move(4260, 420, 1560, 360);
    Text1.Move(4260, 420, 1220, 360);
    Line1.setPoints(5850, 600, 6010, 600);
    DTPicker2.Move(6040, 420, 1560, 360);
    Text2.Move(6040, 420, 1220, 360);

    Label2.Move(120, 1245, 2100, 255);
    Combo2.Move(2280, 1200, 2500, 315);
    Label3.Move(4920, 1245, 2100, 255);
    Combo3.Move(7080, 1200, 2500, 315);
    Command1.Move(9700, 1200, 1700, 420);
    Command2.Move(9700, 1200, 1700, 420);
    Label1(0).Move(120, 1665, 2100, 255);
    Combo1.Move(2280, 1620, 2500, 315);
    Label1(2).Move(4920, 1665, 2100, 255);
    Combo4.Move(7080, 1620, 2500, 315);

    for (int i = 0; i <= 3; ++i) Command4(i).Move(120 + i * 1760, 2100, 1700, 375);
    pBar3.Move(7200, 2160, 4200, 255);
    Grid1.Move(120, 2580, kDesignWidth - 420, kDesignHeight - 2580 - 560);
}

void XF_Chong_HZ::Form_Load() {
    Set_Lan_Font(*this);
    setCaption(L(618));
    Frame1.setCaption(L(347));
    for (int i = 0; i <= 3; ++i) Command4(i).setCaption(L(387 + i));
    Fit_To_Screen(*this);
    Label1(0).setCaption(L(354) + ":");
    Frame2.setCaption(L(355));
    Option1(0).setCaption(L(356));
    Option1(1).setCaption(L(357));
    Label1(1).setCaption(L(355) + ":");
    Command1.setCaption(L(358));
    Command2.setCaption(L(358));
    Option2(0).setCaption(L(594));
    Option2(1).setCaption(L(595));
    Label1(2).setCaption(L(354) + ":");
    Label2.setCaption(L(571));
    Label3.setCaption(L(572));

    XF = XFService();
    Card = CardService();

    const std::string today = platform::services().clockText().substr(0, 10);
    DTPicker1.setValue(today);
    DTPicker2.setValue(today);

    Option2_Click(0);
    Init_Chong_Grid(0);
    Option1_Click(0);

    BT = BTService();
    Ci_Config = BT.Is_Ci();
}

void XF_Chong_HZ::Form_Unload(int&) { Sum_Rs.reset(); }

void XF_Chong_HZ::Option2_Click(int Index) {
    Combo2.Clear();
    Combo3.Clear();
    auto add = [](forms::ComboBox& c, const std::string& text, int kind) {
        c.AddItem(text);
        c.setItemData(c.NewIndex(), kind);
    };
    if (Index == 0) {
        for (forms::ComboBox* c : {&Combo2, &Combo3}) {
            for (int i = 0; i <= 4; ++i) add(*c, L(348 + i), i + 1);
            add(*c, L(353), HZ_Dim::Dept);
        }
        Init_Chong_Grid(0);
        Command2.setVisible(true);
        Command1.setVisible(false);
    } else {
        for (forms::ComboBox* c : {&Combo2, &Combo3}) {
            add(*c, "按操作员汇总", HZ_Dim::Operator);
            add(*c, "按卡类型汇总", HZ_Dim::CardType);
            add(*c, "按部门汇总", HZ_Dim::Dept);
        }
        add(Combo3, "按日期汇总", HZ_Dim::Date);
        Init_Chong_Grid(1);
        Command1.setVisible(true);
        Command2.setVisible(false);
    }
    Combo2.setListIndex(0);
    Combo3.setListIndex(0);
}

void XF_Chong_HZ::Init_Chong_Grid(int Mode) {
    Grid1.setRows(1);
    Grid1.setRedraw(false);
    Grid1.setBackColor1(0xFFFFFF);
    Grid1.setBackColor2(0xEEF5F7);
    const bool computer = Mode == 1;
    Grid1.setCols(computer ? 11 : 22);
    for (int c = 0; c < Grid1.Cols(); ++c) Grid1.Cell(0, c).setText("");
    Grid1.Cell(0, 1).setText(L(334));
    if (computer) {
        Grid1.Cell(0, 4).setText("电脑充值");
        Grid1.Cell(0, 5).setText("电脑取款");
        Grid1.Cell(0, 6).setText("电脑充次");
        Grid1.Cell(0, 9).setText("实收合计");
        Grid1.Cell(0, 10).setText("电脑转款(水控)");
    } else {
        for (int c = 4; c <= 20; ++c) Grid1.Cell(0, c).setText(L(358 + c));
        Grid1.Cell(0, 21).setText("转款机转款");
    }
    // Every column shows again, whatever an earlier summary hid; the computer's
    // columns 7 and 8 are never used.
    for (int c = 0; c < Grid1.Cols(); ++c) {
        if (computer && (c == 7 || c == 8)) Grid1.Column(c).setWidth(0);
        else Grid1.Column(c).AutoFit();
        Grid1.Column(c).setAlignment(grid::AlignRight);
        Grid1.Column(c).setLocked(true);
    }
    Grid1.Column(1).setAlignment(grid::AlignCenter);
    Grid1.Column(2).setAlignment(grid::AlignCenter);
    // Drawing back on: a grid left undrawn would show no header until a summary.
    Grid1.setRedraw(true);
    Grid1.Refresh();
}

void XF_Chong_HZ::Option1_Click(int) {
    if (Option1(0).Value()) {
        Text1.setVisible(false);
        Text2.setVisible(false);
        const std::string bound = XF.JieSuan_Date();
        DTPicker1.setMinDate(bound);
        DTPicker2.setMinDate(bound);
    }
    if (Option1(1).Value()) {
        Text1.setVisible(true);
        Text2.setVisible(true);
        const std::string bound = XF.JieSuan_Month();
        DTPicker1.setMinDate(bound);
        DTPicker2.setMinDate(bound);
        Text1.setText(monthText(DTPicker1, 23, 24));
        Text2.setText(monthText(DTPicker2, 23, 24));
    }
}

void XF_Chong_HZ::Snap_Month_Start() {
    if (Option1(1).Value()) {
        const std::string first = DTPicker1.Date_Value().substr(0, 8) + "01";
        if (DTPicker1.Date_Value() != first) DTPicker1.setValue(first);  // comes back here once
    }
    Text1.setText(monthText(DTPicker1, 62, 63));
}

void XF_Chong_HZ::Show_End_Month() { Text2.setText(monthText(DTPicker2, 62, 63)); }

void XF_Chong_HZ::Form_Resize() {
    Keep_Min_Size(*this);
    Grid1.setWidth(Width() - 420);
    Grid1.setHeight(Height() - Grid1.Top() - 560);
    Grid1.Refresh();
}

// Group conditions and names.

void XF_Chong_HZ::Fill_Cond_Combo(forms::ComboBox& KindList, forms::ComboBox& CondList, int Level) {
    std::vector<std::string>& keys = Cond_Keys[Level != 0 ? 1 : 0];
    CondList.Clear();
    keys.assign(1, std::string());
    CondList.AddItem(L(379));
    CondList.setItemData(CondList.NewIndex(), 0);

    const int kind = Chosen_Data(KindList);
    DataList list;
    const char *text = nullptr, *key = nullptr;
    switch (kind) {
    case HZ_Dim::Place: list = XF.Get_XF_Dians(), text = col::XF_Dian_Info::XF_Dian_Name, key = col::XF_Dian_Info::XF_Dian_ID; break;
    case HZ_Dim::Mach: list = XF.Get_XF_Machs(), text = col::Mach_Info::Mach_Name, key = col::Mach_Info::Mach_ID; break;
    case HZ_Dim::Cashier: list = XF.Get_ShouKuan(), text = col::XF_ShouKuan::SK_Name, key = col::XF_ShouKuan::SK_ID; break;
    case HZ_Dim::Unit: list = XF.Get_Unit(""), text = col::XF_Unit_Info::XF_Unit_Name, key = col::XF_Unit_Info::XF_Unit_ID; break;
    case HZ_Dim::CardType: list = Card.Get_Type(""), text = col::Card_Type::C_Name, key = col::Card_Type::C_LeiBie; break;
    case HZ_Dim::Operator: list = XF.Get_Sys_User(), text = col::Sys_User_Info::User_Name, key = col::Sys_User_Info::User_ID; break;
    case HZ_Dim::Dept: list = XF.Get_All_Dept1(), text = col::Ren_Dept_Info::Dept_Name, key = col::Ren_Dept_Info::Dept_ID; break;
    default: break;
    }
    if (text && list.rowUBound() >= 1) {
        const int k = list.col(key);
        Fill_Combo(CondList, list, text, key, &L(379), 0, [&](int r, std::string& shown) {
            // The ordinary card may be stored without a name.
            if (kind == HZ_Dim::CardType && shown.empty() && vbVal(list(r, k)) == 1) shown = "普通卡";
            keys.push_back(list(r, k));
            return true;
        });
    }

    // The date has no values to choose from. Only the second list can hold
    // it, so its label goes with whichever list was refilled last.
    const bool choosable = Chosen_Data(KindList) != HZ_Dim::Date;
    CondList.setEnabled(choosable);
    Label1(2).setEnabled(choosable);
    CondList.setListIndex(0);
}

std::string XF_Chong_HZ::Find_Group_Name(const std::string& Key, int Level, std::string& OutKey, int Mode) const {
    OutKey = "-1";
    const forms::ComboBox& list = Level != 0 ? Combo4 : Combo1;
    const std::vector<std::string>& keys = Cond_Keys[Level != 0 ? 1 : 0];
    const int n = list.ListCount();
    if (Mode == 1) {
        for (int i = 1; i < n && i < static_cast<int>(keys.size()); ++i)
            if (keys[static_cast<std::size_t>(i)] == Key) {
                OutKey = Key;
                return list.List(i);
            }
    } else if (const auto v = parseNumber(Key)) {
        for (int i = 1; i < n; ++i)
            if (static_cast<double>(list.ItemData(i)) == *v) {
                OutKey = Key;
                return list.List(i);
            }
    }
    return "其它";
}

}  // namespace tolvenk
