#include "reports/summary/frmHZ_Format.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <set>

#include "data/Globals.h"
#include "data/HzDimCode.h"
#include "data/HzRepFormat.h"
#include "lang/Language.h"
#include "platform/Error.h"
#include "platform/db/AsciiCase.h"
#include "platform/db/Connection.h"
#include "platform/db/SqlText.h"
#include "platform/db/Transaction.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

constexpr int kGridCols = 25;
constexpr int kSysRows = 9;
constexpr int kDefinedLimit = 899;
const char* const kSysMark = "系统默认";
const char* const kListSep = "、";

std::string threeDigits(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%03d", n);
    return buf;
}

std::string lastTwo(const std::string& s) { return s.substr(s.size() - 2); }

std::string field(const db::Recordset& rs, const char* name) {
    const db::Value& v = rs.field(name);
    return v.isNull() ? std::string() : v.toString();
}

// The code of a list's chosen entry; 0 while nothing is chosen.
int codeOf(const forms::ComboBox& combo) {
    return combo.ListIndex() < 0 ? 0 : combo.ItemData(combo.ListIndex());
}

// Selects the entry showing `text`. A code the list does not offer (a format
// written elsewhere) leaves the selection as it is rather than failing.
void selectText(forms::ComboBox& combo, const std::string& text) {
    for (int i = 0; i < combo.ListCount(); ++i)
        if (combo.List(i) == text) {
            combo.setListIndex(i);
            return;
        }
}

int flagValue(const std::string& part, std::size_t i) { return i < part.size() && part[i] == '1' ? 1 : 0; }


}  // namespace

frmHZ_Format::frmHZ_Format() {
    for (forms::Control* c : std::initializer_list<forms::Control*>{&cmdNew, &cmdModify, &cmdDelete, &cmdDefault,
                                                                     &cmdExit})
        c->setContainer(Frame1);
    for (forms::Control* c : std::initializer_list<forms::Control*>{&Label1, &Text1, &Label2, &Combo1, &Label3,
                                                                     &Combo2, &Label4, &Combo3, &Frame3, &Text2,
                                                                     &Combo4, &cmd_Add, &cmd_Cancle})
        c->setContainer(Picture1);
    for (int i = 0; i <= 3; ++i) Check1.add(i).setContainer(Picture1);
    for (int i = 0; i <= 7; ++i) {
        Check2.add(i).setContainer(Frame3);
        Check2(i).Click = [this](int index) { Check2_Click(index); };
    }
    Frame4.setContainer(Frame3);
    for (int i = 0; i <= 5; ++i) Check3.add(i).setContainer(Frame4);

    Picture1.setVisible(false);
    Frame4.setVisible(false);
    // The number and the loaded name are the panel's memory, not for editing.
    Text2.setVisible(false);
    Combo4.setVisible(false);
    Grid1.setCols(kGridCols);
    layOut();

    Combo2.Click = [this](int) { Combo2_Click(); };
    Grid1.CellChange = [this](int row, int col) { Grid1_CellChange(row, col); };
    cmdNew.Click = [this](int) { cmdNew_Click(); };
    cmdModify.Click = [this](int) { cmdModify_Click(); };
    cmdDelete.Click = [this](int) { cmdDelete_Click(); };
    cmdDefault.Click = [this](int) { cmdDefault_Click(); };
    cmd_Add.Click = [this](int) { cmd_Add_Click(); };
    cmd_Cancle.Click = [this](int) { cmd_Cancle_Click(); };
    cmdExit.Click = [this](int) { cmdExit_Click(); };
}

// Positions other than those the handlers compute are the window's own design.
void frmHZ_Format::layOut() {
    Grid1.Move(120, 120, 11200, 6400);
    Frame1.Move(120, 6700, 11200, 700);
    int left = 120;
    for (forms::CommandButton* b : {&cmdNew, &cmdModify, &cmdDelete, &cmdDefault}) {
        b->Move(left, 200, 1920, 400);
        left += 2040;
    }
    cmdExit.Move(11200 - 1500, 200, 1500, 400);

    Picture1.Move(240, 480, 7800, 5800);
    Label1.Move(120, 200, 1500, 300);
    Text1.Move(1700, 160, 3600, 360);
    Label2.Move(120, 640, 1500, 300);
    Combo1.Move(1700, 600, 3600, 360);
    Label3.Move(120, 1080, 1500, 300);
    Combo2.Move(1700, 1040, 3600, 360);
    Label4.Move(120, 1520, 1500, 300);
    Combo3.Move(1700, 1480, 3600, 360);
    Text2.Move(5500, 160, 2000, 360);
    Combo4.Move(5500, 600, 2000, 360);
    for (int i = 0; i <= 3; ++i) Check1(i).Move(120 + i * 1880, 1960, 1800, 300);
    Frame3.Move(120, 2400, 7560, 1200);
    for (int i = 0; i <= 7; ++i) Check2(i).Move(120 + (i % 4) * 1860, 300 + (i / 4) * 400, 1800, 300);
    Frame4.Move(120, 1100, 7320, 1000);
    for (int i = 0; i <= 5; ++i) Check3(i).Move(120 + (i % 3) * 2400, 300 + (i / 3) * 350, 2300, 300);
    cmd_Add.Move(1500, 3800, 1500, 420);
    cmd_Cancle.Move(4500, 3800, 1500, 420);
}

void frmHZ_Format::placeSaveButtons() {
    cmd_Add.setTop(Frame3.Top() + Frame3.Height() + 200);
    cmd_Cancle.setTop(cmd_Add.Top());
    Picture1.setHeight(std::max(5800, cmd_Add.Top() + cmd_Add.Height() + 200));
}

HZ_Format_Store frmHZ_Format::formats() { return HZ_Format_Store(Main_Connection()); }

void frmHZ_Format::Form_Load() {
    Set_Lan_Font(*this);
    setCaption(L(621));
    cmdNew.setCaption(L(566));
    cmdModify.setCaption(L(567));
    cmdDelete.setCaption(L(568));
    cmdDefault.setCaption(L(592));
    cmdExit.setCaption(L(2));
    Label1.setCaption(L(569));
    Label2.setCaption(L(570));
    Label3.setCaption(L(571));
    Label4.setCaption(L(572));
    for (int i = 0; i <= 3; ++i) Check1(i).setCaption(L(573 + i));
    for (int i = 0; i <= 7; ++i) Check2(i).setCaption(L(577 + i));
    for (int i = 0; i <= 5; ++i) Check3(i).setCaption(L(585 + i));
    cmd_Add.setCaption(L(430));
    cmd_Cancle.setCaption(L(563));
    Fit_To_Screen(*this);


    Init_Format_Grid();
    Load_Sys_Formats();
    Load_Custom_Formats();

    Check2(7).setVisible(false);
    Fit_Caption_Rows();

    Combo1.Clear();
    for (int t = 1; t <= 3; ++t) {
        Combo1.AddItem(L(355 + t));
        Combo1.setItemData(Combo1.NewIndex(), t);
    }
    Combo2.Clear();
    for (int d = 1; d <= 7; ++d) {
        Combo2.AddItem(L(508 + d));
        Combo2.setItemData(Combo2.NewIndex(), d);
    }
    Combo2.AddItem(L(542));
    Combo2.setItemData(Combo2.NewIndex(), 0);
    Combo3.Clear();
    Combo3.AddItem(L(542));
    Combo3.setItemData(Combo3.NewIndex(), HZ_Dim::None);
    Combo4.Clear();
    for (int n = 1; n <= LastDefinedReport; ++n) Combo4.AddItem(std::to_string(n));
    Combo4.setListIndex(0);

    Combo1.setListIndex(1);
    Combo2.setListIndex(7);

    Frame3.setHeight(2 * Check2(4).Height() + 600 + itemRowsGrow_);
    placeSaveButtons();
}

void frmHZ_Format::Form_Resize() {
    Keep_Min_Size(*this);
    Frame1.setTop(Height() - Frame1.Height() - 460);
    Grid1.setWidth(Width() - 420);
    Grid1.setHeight(Frame1.Top() - Grid1.Top() - 200);
    Grid1.Refresh();
    Frame1.setWidth(Grid1.Width());
    cmdExit.setLeft(Frame1.Width() - cmdExit.Width());
}

void frmHZ_Format::Form_Unload(int& Cancel) {
    (void)Cancel;
    HZ_Format_Changed = true;
}

void frmHZ_Format::Init_Format_Grid() {
    Grid1.setCols(kGridCols);
    Grid1.Cell(0, 1).setText(L(479));
    for (int c = 3; c <= 13; ++c) Grid1.Cell(0, c).setText(L(477 + c));
    // Column 14 shows the editor's caption for the void balance.
    Grid1.Cell(0, 14).setText(L(579));
    for (int c = 15; c <= 24; ++c) Grid1.Cell(0, c).setText(L(477 + c));
    Grid1.Column(2).setWidth(0);
    for (int c = 1; c <= 10; ++c) Grid1.Column(c).setAlignment(grid::AlignCenter);
    Grid1.Column(11).setAlignment(grid::AlignLeft);
    for (int c = 7; c <= 24; ++c) {
        Grid1.Column(c).AutoFit();
        Grid1.Column(c).setCellType(grid::CellKind::TickBox);
    }
    // Modify and Delete read the name and number from the cells: a person must not change them.
    for (int c = 1; c < kGridCols; ++c) Grid1.Column(c).setLocked(true);
}

std::string frmHZ_Format::Code_Caption(int kind, int code) {
    switch (kind) {
    case 1:
        if (code >= 1 && code <= 3) return L(355 + code);
        break;
    case 2:
        if (code >= 1 && code <= 7) return L(508 + code);
        if (code == 0) return L(542);
        break;
    case 3:
        if (code >= 1 && code <= HZ_Dim::Date) return L(508 + code);
        if (code == 0 || code == HZ_Dim::None) return L(542);
        break;
    default: break;
    }
    return {};
}

void frmHZ_Format::fillFormatCols(int row, const std::string& P2, const std::string& P3, const std::string& P4,
                                  const std::string& P5, bool sysRow) {
    const std::string p2 = P2 + "00000";
    std::string type;
    if (p2[0] >= '1' && p2[0] <= '3') type = L(355 + (p2[0] - '0'));
    Grid1.Cell(row, 4).setText(type);

    const int d1 = static_cast<int>(vbVal(p2.substr(1, 2)));
    const int d2 = static_cast<int>(vbVal(p2.substr(3, 2)));
    std::string c1, c2;
    if (d1 >= 1 && d1 <= 7) c1 = L(508 + d1);
    else if (d1 == 0 && !sysRow) c1 = L(542);
    if (d2 >= 1 && d2 <= HZ_Dim::Date) c2 = L(508 + d2);
    else if (d2 == HZ_Dim::None && !sysRow) c2 = L(542);
    Grid1.Cell(row, 5).setText(c1);
    Grid1.Cell(row, 6).setText(c2);

    const std::string p3 = P3 + "00000", p4 = P4 + "00000000", p5 = P5 + "00000";
    for (int k = 1; k <= 4; ++k) Grid1.Cell(row, k + 6).setText(p3.substr(static_cast<std::size_t>(k - 1), 1));
    for (int k = 1; k <= 8; ++k) Grid1.Cell(row, k + 11).setText(p4.substr(static_cast<std::size_t>(k - 1), 1));
    for (int k = 1; k <= 5; ++k) Grid1.Cell(row, k + 19).setText(p5.substr(static_cast<std::size_t>(k - 1), 1));
}

void frmHZ_Format::fitColumns() {
    for (int c : {3, 4, 5, 6, 1, 11}) Grid1.Column(c).AutoFit();
}

void frmHZ_Format::Load_Sys_Formats() {
    Grid1.setRows(1);
    for (int n = 1; n <= kSysRows; ++n) {
        auto rs = formats().Built_In(n);
        HZ_Rep_Format f;
        if (!rs->eof()) {
            f = {field(*rs, "P1"), field(*rs, "P2"), field(*rs, "P3"), field(*rs, "P4"), field(*rs, "P5")};
        } else {
            f = HZ_Rep_Format::fromFormatString(XF.HZ_Rep_Name(static_cast<std::int16_t>(n)),
                                                XF.Get_HZ_Rep_Format(n));
        }
        Grid1.Add_Row(f.Name + "\t" + threeDigits(n) + "\t" + kSysMark);
        fillFormatCols(Grid1.Rows() - 1, f.P2, f.P3, f.P4, f.P5, true);
    }
    fitColumns();
}

void frmHZ_Format::writeRecordRows(int row) {
    for (int i = FirstDefinedReport; !rs_->eof(); ++i, rs_->moveNext()) {
        const db::Recordset& rs = *rs_;
        const HZ_Rep_Format f = HZ_Rep_Format::fromFormatString(
            field(rs, "P1"),
            field(rs, "P2") + ";" + field(rs, "P3") + ";" + field(rs, "P4") + ";" + field(rs, "P5"));
        int r = row;
        if (r < 0) {
            Grid1.Add_Row(f.Name + "\t" + threeDigits(i) + "\t" + field(rs, "SubParaName"));
            r = Grid1.Rows() - 1;
        } else {
            Grid1.Cell(r, 1).setText(f.Name);
            Grid1.Cell(r, 2).setText(threeDigits(i));
            Grid1.Cell(r, 3).setText(r >= 1 && r <= kSysRows ? std::string(kSysMark) : field(rs, "SubParaName"));
        }
        fillFormatCols(r, f.P2, f.P3, f.P4, f.P5, false);
    }
}

void frmHZ_Format::Load_Custom_Formats() {
    Grid1.setRows(kSysRows + 1);
    rs_ = formats().Defined_Rows();
    if (rs_->recordCount() == 0) return;
    writeRecordRows(-1);
    fitColumns();
}

void frmHZ_Format::Add_Format_Row() {
    rs_ = formats().Row(Cur_Rep_No);
    if (rs_->eof()) return;
    writeRecordRows(-1);
    fitColumns();
}

void frmHZ_Format::Update_Format_Row() {
    rs_ = formats().Row_Named(Text1.Text(), Combo4.Text());
    if (rs_->eof() || Sel_Row < 1 || Sel_Row >= Grid1.Rows()) return;
    writeRecordRows(Sel_Row);
    fitColumns();
}

void frmHZ_Format::Grid1_CellChange(int Row, int Col) {
    (void)Col;
    if (Row == 0) return;
    // The chosen row replaces the earlier highlight.
    Grid1.Range(0, 0, Grid1.Rows() - 1, Grid1.Cols() - 1).setSelected(false);
    Grid1.Range(Row, 0, Row, Grid1.Cols() - 1).setSelected(true);
}

void frmHZ_Format::Fill_Small_Type() {
    Combo3.Clear();
    Combo3.AddItem(L(542));
    Combo3.setItemData(Combo3.NewIndex(), HZ_Dim::None);
    const int d = codeOf(Combo2);
    const bool range = Combo1.ListIndex() == 2;
    auto add = [this](int from, int to) {
        for (int code = from; code <= to; ++code) {
            Combo3.AddItem(L(508 + code));
            Combo3.setItemData(Combo3.NewIndex(), code);
        }
    };
    if (d == 5 || d == 6) add(1, range ? 7 : HZ_Dim::Date);
    else if (d == 7) add(5, range ? 7 : HZ_Dim::Date);
    else if (d != 0) add(1, 6);
    Combo3.setListIndex(0);
}

void frmHZ_Format::Combo2_Click() { Fill_Small_Type(); }

void frmHZ_Format::Check2_Click(int Index) {
    (void)Index;
    if (Check2(5).Value() == forms::vbChecked) {
        Frame4.setVisible(true);
        Frame3.setHeight(2 * Check2(4).Height() + Frame4.Height() + 700 + itemRowsGrow_);
    } else {
        for (int i = 0; i <= 5; ++i) Check3(i).setValue(forms::vbUnchecked);
        Frame4.setVisible(false);
        Frame3.setHeight(2 * Check2(4).Height() + 600 + itemRowsGrow_);
    }
    placeSaveButtons();
}

void frmHZ_Format::Clear_Editor() {
    Text1.setText("");
    Combo1.setListIndex(1);
    Combo3.setListIndex(0);
    for (int i = 0; i <= 3; ++i) Check1(i).setValue(forms::vbUnchecked);
    for (int i = 0; i <= 7; ++i) Check2(i).setValue(forms::vbUnchecked);
}

bool frmHZ_Format::checkDimItems(int code, int textNo) {
    auto ticked = [this](int i) { return Check2(i).Value() == forms::vbChecked; };
    auto boxed = [this](int i) { return "[" + Check2(i).Caption() + "]"; };
    std::string list;
    if (code >= 1 && code <= 4) {
        if (ticked(0) && ticked(4)) list = boxed(0) + kListSep + "[ " + Check2(4).Caption() + "]";
        else if (ticked(0)) list = boxed(0);
        else if (ticked(4)) list = boxed(4);
    } else if (code == 7) {
        for (int i : {1, 2, 3, 5})
            if (ticked(i)) list += boxed(i) + kListSep;
        if (!list.empty()) list.resize(list.size() - std::string(kListSep).size());
    }
    if (list.empty()) return true;
    Prompt(list + L(textNo), platform::vbOKOnly);
    return false;
}

bool frmHZ_Format::Check_Item_Dims() {
    if (!checkDimItems(codeOf(Combo2), 555)) return false;
    return checkDimItems(codeOf(Combo3), 556);
}

// A range summary has no days to group by: its second dimension cannot be the
// date, which the type chosen after the dimensions would otherwise let through.
bool frmHZ_Format::checkRangeDate() {
    if (codeOf(Combo1) != 3 || codeOf(Combo3) != HZ_Dim::Date) return true;
    Prompt("[" + Combo1.Text() + "]" + L(556), platform::vbOKOnly);
    return false;
}

// The lowest defined number no stored format has taken (a number taken twice
// by an earlier fault must not make every later one take it again).
std::string frmHZ_Format::chosenNumber() {
    auto rs = formats().Defined_Keys();
    std::set<long> taken;
    for (; !rs->eof(); rs->moveNext()) taken.insert(static_cast<long>(vbVal(field(*rs, "SubParaName"))));
    long n = FirstDefinedReport;
    while (taken.count(n) != 0) ++n;
    return std::to_string(n);
}

// A name the built-in reports have in any language would make a built-in
// run with this format's columns.
bool frmHZ_Format::isBuiltInTitle(const std::string& name) {
    for (std::int16_t language : {0, 1, 2})
        for (int n = 1; n <= kSysRows; ++n)
            if (equalsNoCase(Built_In_Text(language, 621 + n), name)) return true;
    return false;
}

void frmHZ_Format::cmdNew_Click() {
    auto rs = formats().Defined_All();
    if (rs->recordCount() >= kDefinedLimit) {
        Prompt(L(477), platform::vbExclamation);
        return;
    }
    Edit_Mode = 1;
    Text1.setLocked(false);
    Combo4.setText(chosenNumber());
    Picture1.setVisible(true);
    Clear_Editor();
    Text1.SetFocus();
}

void frmHZ_Format::cmdModify_Click() {
    const int row = Grid1.Active_Cell().Row();
    if (row == 0) {
        Prompt(L(640), platform::vbExclamation);
        return;
    }
    Sel_Row = row;
    Edit_Mode = 2;
    Picture1.setVisible(true);
    const std::string name = Grid1.Cell(row, 1).Text();
    const std::string number = Grid1.Cell(row, 3).Text();

    HZ_Rep_Format f;
    // A built-in report is found by its name: the name stays as it is.
    Text1.setLocked(Sel_Row <= kSysRows);
    if (Sel_Row <= kSysRows) {
        auto rs = formats().Row_Keyed(std::to_string(Sel_Row), name, true);
        if (!rs->eof()) {
            f = {field(*rs, "P1"), field(*rs, "P2"), field(*rs, "P3"), field(*rs, "P4"), field(*rs, "P5")};
            Text1.setText(f.Name);
            Combo4.setText(field(*rs, "SubParaName"));
        } else {
            f = HZ_Rep_Format::fromFormatString(name, XF.Get_HZ_Rep_Format(Sel_Row));
            Combo4.setText(std::to_string(Sel_Row));
        }
        Text1.setText(name);
    } else {
        auto rs = formats().Row_Keyed(number, name, false);
        if (rs->eof()) return;
        f = {field(*rs, "P1"), field(*rs, "P2"), field(*rs, "P3"), field(*rs, "P4"), field(*rs, "P5")};
        Text1.setText(f.Name);
        Combo4.setText(field(*rs, "SubParaName"));
    }
    Text2.setText(Text1.Text());

    const std::string p2 = f.P2 + "00000";
    selectText(Combo1, Code_Caption(1, static_cast<int>(vbVal(p2.substr(0, 1)))));
    selectText(Combo2, Code_Caption(2, static_cast<int>(vbVal(p2.substr(1, 2)))));
    selectText(Combo3, Code_Caption(3, static_cast<int>(vbVal(p2.substr(3, 2)))));
    for (int i = 0; i <= 3; ++i) Check1(i).setValue(flagValue(f.P3, static_cast<std::size_t>(i)));
    for (int i = 0; i <= 7; ++i) Check2(i).setValue(flagValue(f.P4, static_cast<std::size_t>(i)));
    for (int i = 0; i <= 5; ++i) Check3(i).setValue(flagValue(f.P5, static_cast<std::size_t>(i)));
}

HZ_Rep_Format frmHZ_Format::Edited_Format(const std::string& name) {
    std::string P2 = std::to_string(codeOf(Combo1)) + lastTwo("00" + std::to_string(codeOf(Combo2)));
    P2 += Combo2.Text() == Combo3.Text() ? "09" : lastTwo("00" + std::to_string(codeOf(Combo3)));
    std::string P3, P4, P5;
    for (int i = 0; i <= 3; ++i) P3 += Check1(i).Value() == forms::vbChecked ? '1' : '0';
    for (int i = 0; i <= 7; ++i) P4 += Check2(i).Value() == forms::vbChecked ? '1' : '0';
    for (int i = 0; i <= 5; ++i) P5 += Check3(i).Value() == forms::vbChecked ? '1' : '0';
    return {name, P2, P3, P4, P5};
}

void frmHZ_Format::cmd_Add_Click() {
    if (!Check_Item_Dims()) return;
    if (!checkRangeDate()) return;
    if (Text1.Text().empty()) {
        Prompt(L(643), platform::vbExclamation);
        return;
    }

    // A built-in report is found by its name: a changed one would be ignored.
    const bool builtIn = Edit_Mode == 2 && Sel_Row <= kSysRows;
    const std::string name = builtIn ? Text2.Text() : Text1.Text();
    Cur_Rep_No = Combo4.Text();
    const std::string number = Combo4.Text();
    const HZ_Rep_Format f = Edited_Format(name);
    const std::string &P2 = f.P2, &P3 = f.P3, &P4 = f.P4, &P5 = f.P5;

    // A tab or line break would split the name over the grid's cells.
    const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
    if (std::any_of(name.begin(), name.end(), control)) {
        Prompt(L(902), platform::vbExclamation);
        Text1.SetFocus();
        return;
    }

    // Name check, number and write in one transaction that holds the write
    // lock first: two editors saving at once can take neither one number nor
    // one name twice.
    db::Connection& conn = Main_Connection();
    HZ_Format_Store store(conn);
    {
        db::Transaction t(conn);
        const bool renamed = Edit_Mode == 1 || name != Text2.Text();
        if (renamed && (isBuiltInTitle(name) || !store.Any_By_Name(name)->eof())) {
            t.rollback();  // no lock held while the box waits
            Prompt(L(478), platform::vbExclamation);
            Text1.setText("");
            Text1.SetFocus();
            return;
        }
        if (Edit_Mode == 1) {
            Cur_Rep_No = chosenNumber();
            Combo4.setText(Cur_Rep_No);
            store.Insert(Cur_Rep_No, name, P2, P3, P4, P5);
        } else if (Edit_Mode == 2) {
            if (Sel_Row > kSysRows) {
                store.Update(number, Text2.Text(), name, P2, P3, P4, P5);
            } else {
                const std::string key = std::to_string(Sel_Row);
                if (store.By_Key(key)->eof()) store.Insert(key, name, P2, P3, P4, P5);
                else store.Update(key, Text2.Text(), name, P2, P3, P4, P5);
            }
        }
        t.commit();
    }
    cmd_Cancle_Click();
    if (Edit_Mode == 1) Add_Format_Row();
    else if (Edit_Mode == 2) Update_Format_Row();
}

void frmHZ_Format::cmd_Cancle_Click() { Picture1.setVisible(false); }

void frmHZ_Format::cmdDelete_Click() {
    const int row = Grid1.Active_Cell().Row();
    Sel_Row = row;
    if (row == 0) {
        Prompt(L(502), platform::vbExclamation);
        return;
    }
    if (row <= kSysRows) {
        Prompt(L(634), platform::vbExclamation);
        return;
    }
    const std::string name = Grid1.Cell(row, 1).Text();
    if (platform::services().msgBox(L(503) + "[ " + name + " ]" + L(504), platform::vbOKCancel | platform::vbQuestion,
                                    L(43)) == platform::vbCancel)
        return;
    formats().Delete(name, Grid1.Cell(row, 3).Text());
    cmd_Cancle_Click();
    Load_Custom_Formats();
}

void frmHZ_Format::cmdDefault_Click() {
    if (platform::services().msgBox(L(635), platform::vbOKCancel | platform::vbQuestion, L(43)) == platform::vbCancel)
        return;
    formats().Restore_Defaults();
    cmd_Cancle_Click();
    Load_Sys_Formats();
    Load_Custom_Formats();
}

void frmHZ_Format::cmdExit_Click() { Close_Window(*this); }

}  // namespace tolvenk
