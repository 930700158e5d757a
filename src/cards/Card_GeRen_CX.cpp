#include "cards/Card_GeRen_CX.h"


#include "data/CardHistory.h"
#include "data/Globals.h"
#include "data/TableColumns.h"
#include "data/XfTypeCode.h"
#include "lang/Language.h"
#include "platform/MoneyText.h"
#include "platform/VbNumber.h"
#include "platform/db/AsciiCase.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "ui/GridOutput.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

constexpr forms::Colour kRed = 0x0000FF;
constexpr forms::Colour kBlue = 0xFF0000;
constexpr forms::Colour kLightRed = 0x8080FF;
constexpr int kHeadRows = 3;
constexpr int kCols = 17;
constexpr int kIdCols = 15;  // an ID list drops the two serial columns

// Grid columns of a transaction line.
enum Col {
    ColID = 1, ColCardNumber, ColDate, ColKind, ColChange, ColAfter, ColCiChange, ColCiAfter, ColMeal, ColMach,
    ColDian, ColUnit, ColCashier, ColErr, ColSerial, ColCiSerial
};

}  // namespace

Card_GeRen_CX::Card_GeRen_CX() {
    Grid1.setCols(kCols);
    Grid1.setRows(kHeadRows);
    Grid1.setFixedRows(kHeadRows);
    for (int c = 0; c < kCols; ++c) Grid1.Column(c).setLocked(true);
    pBar1.setVisible(false);
    setWidth(11600);
    setHeight(8200);
    layOut();

    Command2.Click = [this](int) { Command2_Click(); };
    cmdExcell.Click = [this](int) { cmdExcell_Click(); };
}

void Card_GeRen_CX::layOut() {
    Label1.Move(240, 255, 1600, 300);
    Text1.Move(1860, 210, 1500, 330);
    Label2.Move(3480, 255, 1600, 300);
    Text2.Move(5100, 210, 1500, 330);
    Label3.Move(6720, 255, 1300, 300);
    Text3.Move(8040, 210, 1500, 330);
    Command2.Move(240, 660, 1300, 400);
    cmdExcell.Move(1680, 660, 1800, 400);
    pBar1.Move(3600, 710, 7760, 300);
    Grid1.Move(240, 1200, 11120, 6460);
}

void Card_GeRen_CX::Form_Load() {
    Set_Lan_Font(*this);
    Fit_To_Screen(*this);
    setCaption(L(172));
    Label1.setCaption(L(173) + ":");
    Label2.setCaption(L(174) + ":");
    Label3.setCaption(L(175) + ":");
    Command2.setCaption(L(1));
    cmdExcell.setCaption(L(387));
    XF = XFService();
    BT = BTService();
    Set_XF_Head();
    // Without the card system the histories cannot be told IC or ID: the
    // window does not open rather than list them as one of the two.
    const std::optional<std::int32_t> mode = Card_System(XF);
    if (!mode) {
        Unload();
        return;
    }
    Card_Sys_Mode = *mode >= INT16_MIN && *mode <= INT16_MAX ? static_cast<std::int16_t>(*mode) : std::int16_t{0};
}

void Card_GeRen_CX::Form_Resize() {
    Keep_Min_Size(*this);
    Grid1.setHeight(Height() - Grid1.Top() - 540);
    Grid1.setWidth(Width() - Grid1.Left() - 240);
    pBar1.setWidth(Width() - pBar1.Left() - 240);
}

void Card_GeRen_CX::Set_XF_Head() {
    Grid1.setCols(kCols);
    Grid1.Cell(0, 1).setText("ID");
    Grid1.Column(1).setWidth(0);
    Grid1.Cell(0, 2).setText(L(5) + ":");
    Grid1.Cell(0, 10).setText(L(6) + ":");
    Grid1.Cell(0, 12).setText(L(175) + ":");
    Grid1.Cell(0, 4).setText(L(7) + ":");
    Grid1.Range(0, 5, 0, 9).Merge();
    Grid1.Range(0, 14, 0, 16).Merge();
    Grid1.Range(1, 1, 1, 16).Merge();
    for (int c = 2; c <= 16; ++c) Grid1.Cell(2, c).setText(L(176 + c));
    Grid1.Column(ColErr).setWidth(0);
    for (int c = 1; c < kCols; ++c) Grid1.Column(c).setAlignment(grid::AlignCenter);
    for (int c = ColChange; c <= ColCiAfter; ++c) Grid1.Column(c).setAlignment(grid::AlignRight);
    for (int c : {3, 5, 11, 13}) Grid1.Cell(0, c).setAlignment(grid::AlignLeft);

    if (!Times_Switch_On(BT.Is_Ci()))
        for (int c : {ColCiChange, ColCiAfter, ColCiSerial}) Grid1.Column(c).setWidth(0);
}

void Card_GeRen_CX::Command2_Click() {
    if (running_) return;
    if (Text1.Text().empty() && Text2.Text().empty() && Text3.Text().empty()) {
        platform::services().msgBox(L(176), platform::vbInformation, L(43));
        return;
    }
    // A whole history: a settlement left unfinished may have collapsed part of it.
    Warn_Unfinished_Settlement("");
    Run_Lock lock(*this, {&Command2, &Text1, &Text2, &Text3}, running_);
    // However the query ends, the export comes back, unless the window was
    // closed meanwhile.
    struct Export_Back {
        Card_GeRen_CX& w;
        const Run_Lock& lock;
        ~Export_Back() {
            if (!lock.stopped()) w.cmdExcell.setVisible(true);
        }
    };

    Emp_List = XF.Get_Emp_Check(Text2.Text(), Text1.Text(), Text3.Text());
    Dian_List = XF.Get_XF_Dians();
    Unit_List = XF.Get_Unit("");
    Mach_List = XF.Get_XF_Machs();

    Grid1.setRows(kHeadRows);
    lock.Show_Progress(pBar1, 3);
    cmdExcell.setVisible(false);
    const Export_Back exportBack{*this, lock};

    if (Emp_List.rowUBound() < 1) {
        platform::services().msgBox(L(177), platform::vbInformation, L(43));
        return;
    }
    for (int e = 1; e <= Emp_List.rowUBound(); ++e) {
        listEmployee(e);
        if (lock.stopped()) return;
    }
}

void Card_GeRen_CX::listEmployee(int e) {
    Running_ = {};
    const std::string person = Emp_List(e, Emp_List.col(col::Ren_Per_Info::Pinfo_ID));
    Card_List = XF.Get_Card_No2(person, Text3.Text());
    const auto index = static_cast<std::int16_t>(e);
    for (const Card_History::Card& card : Card_History::Listed_Cards(Card_List)) {
        const std::string bianHao = XF.Get_Card_BianHao(card.no);
        if (Card_Sys_Mode == 1) {
            XF_List = XF.Get_XF_Info2(person, card.no, "All");
            Fill_XF_Rows(XF_List, index, card.no, card.number, bianHao);
        } else {
            XF_List = XF.Get_XF_Info2_ID(person, card.no, "All");
            Ci_List = XF.Get_XF_Info3_ID(person, card.no, "All");
            Fill_XF_Rows(XF_List, index, card.no, card.number, bianHao);
            if (!Loaded()) return;
            Fill_XF_Rows(Ci_List, index, card.no, card.number, bianHao);
        }
        if (!Loaded()) return;
    }
}

void Card_GeRen_CX::Fill_XF_Rows(const DataList& List, std::int16_t EmpIndex, const std::string& CardNo,
                                 const std::string& CardNumber, const std::string& BianHao) {
    (void)CardNo;
    namespace P = col::Ren_Per_Info;
    Grid1.setCols(kCols);
    Grid1.Cell(0, 3).setText(" " + Emp_List(EmpIndex, Emp_List.col(P::P_Name)));
    Grid1.Cell(0, 11).setText(" " + Emp_List(EmpIndex, Emp_List.col(P::P_Code)));
    Grid1.Cell(0, 13).setText(" " + BianHao);
    Grid1.Cell(0, 5).setText(" " + Emp_List(EmpIndex, Emp_List.col(col::Ren_Dept_Info::Dept_Name)));

    const int n = List.rowUBound();
    Grid1.setRedraw(false);
    const int B = Grid1.Rows();
    Grid1.setRows(B + n);
    pBar1.setMax(B + n - 1);
    const Card_History::Names names{Dian_List, Unit_List, Mach_List};
    const bool listed = Card_History::Lines(List, Card_Sys_Mode == 1, names, Running_,
                                            [&](const Card_History::Line& line, int k, int) {
                                                const int r = B + k - 1;
                                                Show_Line(r, line, CardNumber);
                                                pBar1.setValue(r);
                                                return Go_On(*this);
                                            });
    if (!listed) return;  // closed meanwhile: its grid is back as designed

    if (Card_Sys_Mode != 1) Grid1.setCols(kIdCols);
    for (int c = 1; c < Grid1.Cols(); ++c)
        if ((c < ColChange || c > ColCiAfter) && Grid1.Column(c).Width() != 0) Grid1.Column(c).AutoFit();
    // The figure columns keep their design width unless a head needs more.
    Grid1.Widen_To_Text();
    Grid1.setRedraw(true);
    Grid1.Refresh();
}

namespace {

// A change with its sign, blue when it adds and red when it takes (or
// when it is the overflow mark).
void showChange(forms::Grid& grid, int r, int c, std::string t, bool exact) {
    if (t[0] != '-' && exact) {
        t = "+" + t;
        grid.Cell(r, c).setForeColor(kBlue);
    } else {
        grid.Cell(r, c).setForeColor(kRed);
    }
    grid.Cell(r, c).setText(t);
}

}  // namespace

void Card_GeRen_CX::Show_Line(int r, const Card_History::Line& line, const std::string& cardNumber) {
    auto cell = [&](int c) { return Grid1.Cell(r, c); };
    cell(ColID).setText(line.id);
    cell(ColCardNumber).setText(cardNumber);
    cell(ColDate).setText(line.date);
    // A record dated before the one listed above it stands out.
    if (line.earlier) Grid1.Range(r, ColCardNumber, r, ColKind).setBackColor(kRed);
    cell(ColKind).setText(Get_XF_TypeName(line.type));
    showChange(Grid1, r, ColChange, line.change.cents(), line.change.exact());
    const std::string t = Money_Text(line.after);
    if (t.compare(Money_Sign.size(), 1, "-") == 0) cell(ColAfter).setBackColor(kRed);
    cell(ColAfter).setText(t);
    showChange(Grid1, r, ColCiChange, line.ciChange.whole(), line.ciChange.exact());
    const std::string ci = line.ciAfter.whole();
    if (ci[0] == '-') cell(ColCiAfter).setBackColor(kRed);
    cell(ColCiAfter).setText(ci);
    cell(ColMeal).setText(Get_MealName(line.meal));
    cell(ColCashier).setText(line.cashier);
    cell(ColErr).setText(Get_ErrName(line.err));
    if (!line.money) {
        cell(ColChange).setText("");
        cell(ColAfter).setText("");
    } else {
        cell(ColSerial).setText(line.serial);
    }
    if (!line.times) {
        cell(ColCiChange).setText("");
        cell(ColCiAfter).setText("");
    } else {
        cell(ColCiSerial).setText(line.ciSerial);
    }
    Show_Kind(r, line);
    if (line.uncertain) Grid1.Range(r, 1, r, Grid1.Cols() - 1).setBackColor(kLightRed);
}

// A settlement line keeps only its balances; settlement and issue lines are blue.
void Card_GeRen_CX::Show_Kind(int r, const Card_History::Line& line) {
    auto cell = [&](int c) { return Grid1.Cell(r, c); };
    auto allBlue = [&] {
        for (int c = 1; c < Grid1.Cols(); ++c) cell(c).setForeColor(kBlue);
    };
    if (line.type == XF_Type_Code::Settlement) {
        for (int c : {ColMeal, ColMach, ColDian, ColUnit, ColCashier, ColErr, ColChange, ColCiChange})
            cell(c).setText("");
        allBlue();
        return;
    }
    if (line.type == XF_Type_Code::IssueCard) {
        cell(ColChange).setText("");
        cell(ColCiChange).setText("");
        allBlue();
    }
    cell(ColMach).setText(line.mach);
    cell(ColDian).setText(line.dian);
    cell(ColUnit).setText(line.unit);
}

std::string Card_GeRen_CX::Get_XF_TypeName(std::int16_t Code) {
    namespace T = XF_Type_Code;
    // Kinds other windows name but this history leaves unnamed.
    if (Code == T::WaterTransfer || Code == T::PcWaterTransfer || Code == T::ProfitLoss ||
        Code == T::ProfitLossRecharge)
        return {};
    return T::name(Code);
}

std::string Card_GeRen_CX::Get_MealName(std::int16_t Code) { return XF_Meal_Code::name(Code); }

std::string Card_GeRen_CX::Get_ErrName(const std::string& Flag) { return Flag == "1" ? L(199) : std::string(); }

void Card_GeRen_CX::cmdExcell_Click() { Grid_Output(0, Grid1, false, Caption()); }

}  // namespace tolvenk
