#include "reports/summary/XF_Cha_HZ.h"

#include "data/Globals.h"
#include "data/HzDimCode.h"
#include "data/TableColumns.h"
#include "lang/Language.h"
#include "platform/Error.h"
#include "platform/ErrorText.h"
#include "platform/VbNumber.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "reports/summary/GridHead.h"
#include "data/HzRepFormat.h"
#include "reports/summary/ReportEngine.h"
#include "ui/GridOutput.h"
#include "ui/WindowKit.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowRegistry.h"

namespace tolvenk {

namespace {

const char* const kSeparator = "------------------------------";
constexpr int kFixedRows = 5;
constexpr int kLostText = 1078;  // a run that lost its connection: the rows shown are incomplete

std::string today() { return platform::services().clockText().substr(0, 10); }

}  // namespace

XF_Cha_HZ::XF_Cha_HZ() {
    for (int i = 0; i <= 1; ++i) Label1.add(i).setContainer(Frame2);
    for (forms::Control* c : std::initializer_list<forms::Control*>{&DTPicker1, &DTPicker2, &Line1, &Check1, &Combo1})
        c->setContainer(Frame2);
    for (int i = 0; i <= 3; ++i) Command4.add(i);
    Wire_Output_Buttons(Command4, Grid1, *this, false);
    List1.setContainer(Picture1);
    Command3.setContainer(Picture1);
    Command5.setContainer(Picture1);
    Text1.setContainer(Frame2);
    Text2.setContainer(Frame2);
    Picture1.ZOrder();  // the chooser covers the buttons and the grid

    setCaption("消费汇总统计");
    Label1(0).setCaption("汇总条件:");
    Label1(1).setCaption("汇总日期:");
    Check1.setCaption("不确定记录");
    Check1.setValue(forms::vbGrayed);
    Command3.setCaption("定义报表格式");
    Command5.setCaption("取消");
    Command2.setCaption("选择报表");
    Command1.setCaption("汇  总");
    const char* outputs[] = {"输出到EXCEL", "输出到HTML", "输出到XML", "打印"};
    for (int i = 0; i <= 3; ++i) Command4(i).setCaption(outputs[i]);
    for (forms::ProgressBar* bar : {&pBar1, &pBar2, &pBar3}) bar->setVisible(false);
    Text1.setLocked(true);
    Text2.setLocked(true);

    Grid1.setCols(3);
    Grid1.setRows(kFixedRows);
    Grid1.setFixedRows(kFixedRows);
    layOut();

    List1.Click = [this](int) { List1_Click(); };
    Check1.Click = [this](int) { Check1_Click(); };
    Command1.Click = [this](int) { Command1_Click(); };
    Command2.Click = [this](int) { Command2_Click(); };
    Command3.Click = [this](int) { Command3_Click(); };
    Command5.Click = [this](int) { Command5_Click(); };
    DTPicker1.Change = DTPicker1.CloseUp = [this](int) { DTPicker1_Change(); };
    DTPicker2.Change = DTPicker2.CloseUp = [this](int) { DTPicker2_Change(); };

    Run_Report = [this] { Run(); };
}

XF_Cha_HZ::~XF_Cha_HZ() = default;

// Positions of the controls other than the grid are the window's own design.
void XF_Cha_HZ::layOut() {
    Frame2.Move(120, 60, 11200, 720);
    Label1(1).Move(120, 300, 1000, 300);
    DTPicker1.Move(1100, 240, 1900, 360);
    Text1.Move(1100, 240, 1560, 360);
    Line1.setPoints(3050, 420, 3250, 420);
    DTPicker2.Move(3300, 240, 1900, 360);
    Text2.Move(3300, 240, 1560, 360);
    Check1.Move(5400, 270, 1500, 300);
    Label1(0).Move(7000, 300, 1500, 300);
    Combo1.Move(8500, 240, 2500, 360);
    Picture1.Move(120, 60, 6200, 5200);
    List1.Move(120, 120, 5960, 4400);
    Command3.Move(120, 4620, 2200, 420);
    Command5.Move(3880, 4620, 2200, 420);
    Command2.Move(120, 880, 1500, 420);
    Command1.Move(1700, 880, 1500, 420);
    for (int i = 0; i <= 3; ++i) Command4(i).Move(3400 + i * 1560, 880, 1500, 420);
    pBar1.Move(9700, 880, 1500, 200);
    pBar2.Move(9700, 1090, 1500, 200);
    pBar3.Move(9700, 1300, 1500, 200);
    Grid1.Move(120, 1560, 11200, 6000);
}

void XF_Cha_HZ::Form_Load() {
    Set_Lan_Font(*this);
    setCaption(L(346));
    Command2.setCaption(L(557));
    Command3.setCaption(L(562));
    Command5.setCaption(L(563));
    Check1.setCaption(L(642));
    for (int i = 0; i <= 3; ++i) Command4(i).setCaption(L(387 + i));
    Label1(0).setCaption(L(354) + ":");
    Frame2.setCaption(L(355));
    Label1(1).setCaption(L(355) + ":");
    Command1.setCaption(L(358));

    Fit_To_Screen(*this);
    Fit_Caption_Rows();
    Picture1.setTop(Frame2.Top());


    DTPicker1.setValue(today());
    DTPicker2.setValue(today());
    showDateRow(false);
    Fill_Rep_List();
    Command2_Click();
}

void XF_Cha_HZ::showDateRow(bool visible) {
    for (forms::Control* c : std::initializer_list<forms::Control*>{&Text1, &Text2, &DTPicker1, &DTPicker2, &Line1})
        c->setVisible(visible);
}

HZ_Format_Store XF_Cha_HZ::formats() { return HZ_Format_Store(Main_Connection()); }

void XF_Cha_HZ::Fill_Rep_List() {
    List1.Clear();
    for (int block = 0; block < 3; ++block) {
        if (block > 0) List1.AddItem(kSeparator);
        for (int n = block * 3 + 1; n <= block * 3 + 3; ++n) {
            List1.AddItem(XF.HZ_Rep_Name(static_cast<std::int16_t>(n)));
            List1.setItemData(List1.ListCount() - 1, n);
        }
    }
    DataList custom;
    if (XF.HZ_Rep_Name2(custom) > 0) List1.AddItem(std::string(kSeparator) + " 以下为自定义报表");
    auto rs = formats().Defined_List();
    for (; !rs->eof(); rs->moveNext()) {
        List1.AddItem(rs->field("P1").toString());
        List1.setItemData(List1.ListCount() - 1, vbCLng(rs->field("SubParaName").toDouble()));
    }
}

std::int16_t XF_Cha_HZ::Sys_Rep_Code(const std::string& name) const {
    for (int n = 1; n <= 9; ++n)
        if (L(621 + n) == name) return static_cast<std::int16_t>(n);
    return 0;
}

int XF_Cha_HZ::firstDim() const { return HZ_Rep_Format{"", St.Rep_P2, "", "", ""}.dim1(); }

void XF_Cha_HZ::Load_Sys_Format() {
    const HZ_Rep_Format f = HZ_Rep_Format::fromFormatString(St.Rep_Name, XF.Get_HZ_Rep_Format(Sys_Rep_Code(St.Rep_Name)));
    St.Rep_Type = f.P2.substr(0, 1);
    St.Rep_P2 = f.P2;
    St.Rep_P3 = f.P3;
    Make_Grid_Head(Grid1, St, f.P2, f.P3, f.P4, f.P5);
}

void XF_Cha_HZ::Load_Rep_Format() {
    auto rs = formats().Format_By_Name(St.Rep_Name);
    if (rs->recordCount() > 0)
        Make_Grid_Head(Grid1, St, rs->field("P2").toString(), rs->field("P3").toString(), rs->field("P4").toString(),
                       rs->field("P5").toString());
}

void XF_Cha_HZ::Load_Dim_Combo() {
    auto rs = formats().P2_By_Name(St.Rep_Name);
    if (rs->recordCount() > 0) {
        const std::string p2 = rs->field("P2").toString();
        Fill_Dim_Combo(Combo1, p2.size() > 1 ? p2.substr(1, 2) : "");
        Combo1.setListIndex(0);
    }
}

void XF_Cha_HZ::Fill_Dim_Combo(forms::ComboBox& combo, const std::string& code) {
    // The list of the dimension's values, and its caption and identifier columns.
    struct Source {
        DataList list;
        const char* text;
        const char* data;
    };
    Source src;
    switch (static_cast<int>(vbVal(code))) {
    case HZ_Dim::Place: src = {XF.Get_XF_Dians(), col::XF_Dian_Info::XF_Dian_Name, col::XF_Dian_Info::XF_Dian_ID}; break;
    case HZ_Dim::Mach: src = {XF.Get_XF_Machs(), col::Mach_Info::Mach_Name, col::Mach_Info::Mach_ID}; break;
    case HZ_Dim::Cashier: src = {XF.Get_ShouKuan(), col::XF_ShouKuan::SK_Name, col::XF_ShouKuan::SK_ID}; break;
    case HZ_Dim::Unit: src = {XF.Get_Unit(""), col::XF_Unit_Info::XF_Unit_Name, col::XF_Unit_Info::XF_Unit_ID}; break;
    case HZ_Dim::CardType: src = {Card.Get_Type(""), col::Card_Type::C_Name, col::Card_Type::C_LeiBie}; break;
    case HZ_Dim::Dept: src = {XF.Get_All_Dept1(), col::Ren_Dept_Info::Dept_Name, col::Ren_Dept_Info::Dept_ID}; break;
    case HZ_Dim::Operator: src = {XF.Get_Sys_User(), col::Sys_User_Info::User_Name, col::Sys_User_Info::User_ID}; break;
    default:
        combo.Clear();
        combo.AddItem(L(379));
        combo.setItemData(0, 0);
        return;
    }
    const bool cardTypes = static_cast<int>(vbVal(code)) == HZ_Dim::CardType;
    Fill_Combo(combo, src.list, src.text, src.data, &L(379), 0, [&](int r, std::string& text) {
        // An unnamed kind 1 is the ordinary card, named as the conditions name it.
        if (cardTypes && text.empty() && src.list(r, src.list.col(src.data)) == "1") text = L(552);
        return true;
    });
}

void XF_Cha_HZ::List1_Click() {
    St.Sub_Head_Row = false;
    Clear_Item_Cols(St);
    Grid1.setRedraw(false);
    Combo1.Clear();
    const int i = List1.ListIndex();
    if (i < 0 || i == 3 || i == 7 || i == 11) {
        Grid1.setRedraw(true);
        return;
    }
    Picture1.setVisible(false);
    Frame2.setEnabled(true);
    const std::string text = List1.List(i);
    setCaption(L(346) + " ( " + text + " )");
    const int n = List1.ItemData(i);

    for (forms::Control* c : std::initializer_list<forms::Control*>{&Label1(0), &Label1(1), &Combo1, &Command1})
        c->setVisible(true);
    Show_Output_Buttons();
    showDateRow(true);
    Reset_Head_Cols(St);
    Command1.setEnabled(true);

    Select_Report(text, n);
    Grid1.setRedraw(true);
    Show_Report_Controls();
}

// The chosen entry's format into St: a stored built-in row, the built-in
// default, or a defined report; its header when none is laid yet.
void XF_Cha_HZ::Select_Report(const std::string& text, int n) {
    if (n < FirstDefinedReport) {
        auto rs = formats().Built_In_By_Name(text);
        if (rs->recordCount() != 0) {
            St.Rep_Name = text;
            St.Rep_P2 = rs->field("P2").toString();
            St.Rep_Type = St.Rep_P2.substr(0, 1);
            St.Rep_P3 = rs->field("P3").toString();
            Load_Dim_Combo();
            if (!St.Head_Loaded) Load_Rep_Format();
        } else {
            St.Rep_Name = text;
            const HZ_Rep_Format f =
                HZ_Rep_Format::fromFormatString(text, XF.Get_HZ_Rep_Format(Sys_Rep_Code(St.Rep_Name)));
            St.Rep_P2 = f.P2;
            St.Rep_Type = f.P2.substr(0, 1);
            St.Rep_P3 = f.P3;
            if (!St.Head_Loaded) Load_Sys_Format();
        }
    } else {
        auto rs = formats().Defined_By_Name(text);
        if (rs->recordCount() >= 1) {
            St.Rep_P2 = rs->field("P2").toString();
            St.Rep_P3 = rs->field("P3").toString();
            St.Rep_Name = rs->field("P1").toString();
            St.Rep_Type = St.Rep_P2.substr(0, 1);
            Load_Dim_Combo();
            if (!St.Head_Loaded) Load_Rep_Format();
        }
    }
}

// The period and condition controls as the chosen report wants them.
void XF_Cha_HZ::Show_Report_Controls() {
    const char type = St.Rep_P2.empty() ? '\0' : St.Rep_P2[0];
    if (type != ReportMonthly) {
        Text1.setVisible(false);
        Text2.setVisible(false);
    } else {
        setMonthTexts();
    }
    if (!St.Head_Loaded) {
        Grid1.setRow_Height(4, St.Sub_Head_Row ? 18 : 0);
        Hide_Output_Buttons();
    }
    Label1(0).setCaption(Dim_Caption(firstDim()) + "：");
    if (St.Rep_Type.empty() || St.Rep_Type[0] != ReportRange) {
        if (type == ReportMonthly) {
            Text1.setVisible(true);
            Text2.setVisible(true);
        }
        DTPicker1.setEnabled(true);
        DTPicker2.setEnabled(true);
    }
    Label1(0).setEnabled(firstDim() != 0);
    Combo1.setEnabled(firstDim() != 0);
    St.Head_Loaded = true;
    Label1(0).setVisible(firstDim() != 0);
    Combo1.setVisible(firstDim() != 0);
}

void XF_Cha_HZ::setMonthTexts() {
    Text1.setText(std::to_string(DTPicker1.Date_Year()) + L(62) + std::to_string(DTPicker1.Date_Month()) + L(63));
    Text2.setText(std::to_string(DTPicker2.Date_Year()) + L(62) + std::to_string(DTPicker2.Date_Month()) + L(63));
}

void XF_Cha_HZ::Load_Rep_By_Name() {
    const int i = List1.ListIndex();
    const int n = i >= 0 ? List1.ItemData(i) : 0;
    if (n < FirstDefinedReport) {
        auto rs = formats().Any_By_Name(List1.List(i), true);
        if (rs->recordCount() != 0) Load_Rep_Format();
        else Load_Sys_Format();
    } else {
        Load_Rep_Format();
    }
    Grid1.setRow_Height(4, St.Sub_Head_Row ? 18 : 0);
    Label1(0).setVisible(firstDim() != 0);
    Combo1.setVisible(firstDim() != 0);
}

void XF_Cha_HZ::DTPicker1_Change() {
    if (St.Rep_Type == "2") {
        const std::string first = std::to_string(DTPicker1.Date_Year()) + "-" +
                                  (DTPicker1.Date_Month() < 10 ? "0" : "") + std::to_string(DTPicker1.Date_Month()) +
                                  "-01";
        if (DTPicker1.Date_Value() != first) DTPicker1.setValue(first);  // fires this handler once more
    }
    Text1.setText(std::to_string(DTPicker1.Date_Year()) + L(62) + std::to_string(DTPicker1.Date_Month()) + L(63));
}

void XF_Cha_HZ::DTPicker2_Change() {
    Text2.setText(std::to_string(DTPicker2.Date_Year()) + L(62) + std::to_string(DTPicker2.Date_Month()) + L(63));
}

void XF_Cha_HZ::Check1_Click() { St.Valid_Only = Check1.Value() == forms::vbChecked ? 0 : 1; }

void XF_Cha_HZ::Command1_Click() {
    // A period that ends before it starts is refused before anything runs; a
    // monthly report's period is whole months, so only they count.
    const bool months = HZ_Rep_Format{"", St.Rep_P2, "", "", ""}.type() == ReportMonthly;
    const std::size_t part = months ? 7 : 10;
    if (DTPicker1.Date_Value().substr(0, part) > DTPicker2.Date_Value().substr(0, part)) {
        platform::services().msgBox(L(414), platform::vbExclamation, L(43));
        return;
    }
    if (Run_Report) Run_Report();
}

void XF_Cha_HZ::Run() {
    if (running_) return;
    // The run lets the window process events after every row; until it ends
    // its controls stay disabled, so a second click cannot start a run inside it.
    const Run_Lock lock(*this, {&Command1, &Command2, &List1, &Command4(0), &Command4(1), &Command4(2), &Command4(3)},
                        running_);
    const auto hideBars = [this] {
        for (forms::ProgressBar* bar : {&pBar1, &pBar2, &pBar3}) bar->setVisible(false);
    };
    try {
        St.Valid_Only = Check1.Value() > 0 ? 0 : 1;  // greyed counts as ticked
        Grid1.setRedraw(false);
        Hide_Output_Buttons();
        Refresh();
        Load_Rep_By_Name();
        Grid1.Refresh();
        const bool months = HZ_Rep_Format{"", St.Rep_P2, "", "", ""}.type() == ReportMonthly;
        const int combo = Combo1.ListIndex();
        const Cond_Inputs in{DTPicker1.Date_Value(), DTPicker2.Date_Value(), combo, Combo1.Text(),
                             combo >= 0 ? Combo1.ItemData(combo) : 0};
        std::array<std::string, 2> shown{months ? Text1.Text() : DTPicker1.Date_Value(),
                                         months ? Text2.Text() : DTPicker2.Date_Value()};
        forms::ProgressBar* bars[] = {&pBar1, &pBar2, &pBar3};
        HzRunHooks hooks{[&](int bar, int value, int max) {
                             forms::ProgressBar& b = *bars[bar - 1];
                             if (max > 0) {
                                 b.setMax(max);
                                 b.setVisible(true);
                             }
                             b.setValue(value);
                         },
                         [&] { lock.Go_On(); }, [&] { return lock.stopped(); }};
        HzReportEngine engine(St, in, std::move(shown), Grid1.model(), Main_Connection(), hooks);
        engine.Per_Cell_Statements = Per_Cell_Statements;
        engine.One_Snapshot = One_Snapshot;
        const auto closing = engine.Run();
        if (closing == HzReportEngine::Closing::Stopped) return;
        hideBars();
        Show_Output_Buttons();
        // Every column as wide as its widest cell, the totals included.
        for (int c = 1; c < Grid1.Cols(); ++c)
            if (Grid1.Column(c).Width() > 0) Grid1.Column(c).AutoFit();
        // Merged heads and labels too ("总计：" under a one-day date column).
        Grid1.Widen_To_Text();
        if (closing == HzReportEngine::Closing::After_Groups) {
            Command2.setVisible(true);
            for (forms::Control* c : std::initializer_list<forms::Control*>{&DTPicker2, &DTPicker1, &Combo1,
                                                                            &Command1, &Text2, &Text1})
                c->setEnabled(true);
        } else {
            Grid1.setRedraw(true);
            Grid1.Refresh();
        }
    } catch (const std::exception& e) {
        if (db::connectionLost(e))
            platform::services().msgBox(platform::lostConnectionText(L(kLostText), e.what()), platform::vbCritical,
                                        Lang[112] + ":ERR_XF_Cha_HZ_1");
        else
            Show_Trap(e, "ERR_XF_Cha_HZ_1");
        // A failed run leaves the window usable: rows so far stay, output and grid come back.
        hideBars();
        Show_Output_Buttons();
        Grid1.setRedraw(true);
    }
}

void XF_Cha_HZ::Command2_Click() {
    Picture1.setVisible(true);
    Frame2.setEnabled(false);
}

void XF_Cha_HZ::Command5_Click() {
    Picture1.setVisible(false);
    Frame2.setEnabled(true);
}

void XF_Cha_HZ::Command3_Click() {
    Open_Modal("frmHZ_Format");
    Fill_Rep_List();
}

void XF_Cha_HZ::Form_Activate() {
    if (HZ_Format_Changed) {
        Hide_Output_Buttons();
        showDateRow(false);
        Label1(1).setVisible(false);
        Label1(0).setVisible(false);
        Combo1.setVisible(false);
        Grid1.setRows(kFixedRows);
        Grid1.setCols(3);
        for (int r = 0; r < kFixedRows; ++r)
            for (int c = 1; c <= 2; ++c) Grid1.Cell(r, c).setText("");
        Command1.setEnabled(false);
    }
    HZ_Format_Changed = false;
    St.Head_Loaded = false;
}

void XF_Cha_HZ::Form_Resize() {
    Keep_Min_Size(*this);
    Grid1.setWidth(Width() - 420);
    Grid1.setHeight(Height() - Grid1.Top() - 560);
    Grid1.Refresh();
}

void XF_Cha_HZ::Hide_Output_Buttons() {
    for (int i = 0; i <= 3; ++i) Command4(i).setVisible(false);
}

void XF_Cha_HZ::Show_Output_Buttons() {
    for (int i = 0; i <= 3; ++i) Command4(i).setVisible(true);
}

}  // namespace tolvenk
