#include "reports/statistics/XF_Mingxi.h"

#include <chrono>
#include <initializer_list>

#include "data/Globals.h"
#include "data/LookupStore.h"
#include "data/OpenDb.h"
#include "data/SettlementDate.h"
#include "data/TableColumns.h"
#include "lang/Language.h"
#include "platform/Error.h"
#include "platform/VbNumber.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "reports/statistics/XF_MingxiKinds.h"
#include "ui/GridOutput.h"
#include "ui/WindowKit.h"
#include "ui/WindowHelpers.h"

namespace tolvenk {

namespace {

constexpr forms::Colour kWindowColour = 0x00C0FFFF;
constexpr int kDesignWidth = 11655;   // client area 11535 x 7830 plus the border
constexpr int kDesignHeight = 8340;
constexpr int kTimePart = 11;         // "yyyy-MM-dd " precedes the time of a picker value

// The clock less one day, time of day kept.
std::string dayBefore(const std::string& clock) {
    const auto d = readDate(clock);
    if (!d) return clock;
    return formatDate(addDays(*d, -1)) + clock.substr(10);
}

std::string pickerTime(const forms::DTPicker& p) { return p.DateTime_Value().substr(kTimePart, 8); }

// Entry 0 means no condition; every kept record carries its identifier.
void fillList(forms::ComboBox& combo, const DataList& list, const char* idCol, const char* nameCol,
              const Combo_Entry& keep = {}) {
    Fill_Combo(combo, list, nameCol, idCol, &L(379), 0, keep);
    combo.setListIndex(0);
}

}  // namespace

XF_Mingxi::XF_Mingxi() {
    Label1.add(0);
    Label1.add(4);
    for (int i : {2, 4, 5}) Label2.add(i);
    for (int i = 0; i <= 1; ++i) {
        DTPicker1.add(i);
        DTPicker2.add(i);
    }
    for (int i = 0; i < mingxi::kOptionCount; ++i) optType.add(i);
    for (int i = 0; i < mingxi::kFrameCount; ++i) fraType.add(i);
    for (int i = 0; i < mingxi::kBoxCount; ++i) chkType.add(i).setValue(forms::vbChecked);
    for (int i : mingxi::kUntickedBoxes) chkType(i).setValue(forms::vbUnchecked);
    for (const auto& g : mingxi::kindGroups())
        for (const auto& b : g.boxes) chkType(b.box).setContainer(fraType(g.option - 1));
    for (int i = 0; i <= 3; ++i) Command4.add(i);
    lblBar.setContainer(Frame1);
    Bar1.setContainer(Frame1);

    setBackColor(kWindowColour);
    for (int i : {22, 23}) chkType(i).setBackColor(kWindowColour);
    chkErr.setCaption("不确定记录");
    chkErr.setValue(forms::vbGrayed);
    Label1(4).setForeColor(0x000080);
    Line1.setBorderColor(0x808080);
    DTPicker1(1).setCustomFormat("HH:mm:ss");
    DTPicker2(1).setCustomFormat("HH:mm:ss");
    optType(1).setValue(true);
    for (int i = 0; i < mingxi::kFrameCount; ++i) fraType(i).setVisible(i == 0);
    // The panel's designer texts are placeholders: it shows only the query's message.
    Frame1.setVisible(false);

    Grid1.setFixedRows(1);
    Grid1.setGridLineColor(0xFFC0C0);
    Grid1.setSelectionColor(0xA0FFFF);
    setWidth(kDesignWidth);
    setHeight(kDesignHeight);
    layOut();

    Command1.Click = [this](int) { Command1_Click(); };
    Wire_Output_Buttons(Command4, Grid1, *this, true);
    Command4(3).Click = [this](int) { Print_Click(); };
    cmdExit.Click = [this](int) { cmdExit_Click(); };
    for (int i = 0; i < mingxi::kOptionCount; ++i) optType(i).Click = [this](int index) { optType_Click(index); };
}

void XF_Mingxi::layOut() {
    ucDep1.Move(120, 120, 3255, 7575);
    Label1(0).Move(3420, 285, 900, 255);
    DTPicker1(0).Move(4320, 240, 1575, 375);
    DTPicker1(1).Move(5880, 240, 1515, 390);
    Line3.setPoints(7440, 435, 7640, 435);
    DTPicker2(0).Move(7680, 240, 1455, 375);
    DTPicker2(1).Move(9240, 240, 1425, 390);
    chkErr.Move(10800, 240, 1215, 375);
    Label2(4).Move(3600, 720, 720, 255);
    Combo4.Move(4320, 720, 1680, 300);
    Label2(5).Move(6105, 765, 1035, 255);
    Combo5.Move(7140, 720, 1575, 300);
    Label2(2).Move(8760, 720, 1080, 255);
    Combo3.Move(9840, 720, 1515, 300);
    Label1(4).Move(3600, 1200, 1080, 255);
    const int optLeft[] = {4680, 5520, 6360, 7680, 8640};
    const int optWidth[] = {840, 840, 1320, 960, 1400};
    for (int i = 0; i < mingxi::kOptionCount; ++i) optType(i).Move(optLeft[i], 1200, optWidth[i], 255);
    for (int i = 0; i < mingxi::kFrameCount; ++i) {
        if (i == 1) fraType(i).Move(3960, 1440, 7455, 615);
        else fraType(i).Move(4080, 1440, 7215, 615);
    }
    // The boxes share their frame's width evenly, left to right.
    for (const auto& g : mingxi::kindGroups()) {
        const forms::Frame& frame = fraType(g.option - 1);
        const int n = static_cast<int>(g.shown.size());
        const int step = (frame.Width() - 120) / n;
        for (int k = 0; k < n; ++k) chkType(g.shown[static_cast<std::size_t>(k)]).Move(60 + k * step, 210, step, 300);
    }
    Line1.setPoints(3600, 2160, 11400, 2160);
    Command1.Move(3600, 2280, 1305, 375);
    Command4(3).Move(5040, 2280, 825, 375);
    Command4(0).Move(5880, 2280, 1575, 375);
    Command4(2).Move(7440, 2280, 1305, 375);
    Command4(1).Move(8760, 2280, 1425, 375);
    cmdExit.Move(10200, 2280, 1185, 375);
    Grid1.Move(3600, 2820, 7755, 3465);
    Frame1.Move(4920, 3600, 4380, 1410);
    lblBar.Move(240, 300, 3900, 300);
    Bar1.Move(240, 780, 3900, 330);
}

void XF_Mingxi::Form_Load() {
    Set_Lan_Font(*this);
    Set_Captions();
    Load_Emp_Rs();
    Uncertain_Flag = 2;
    Fit_To_Screen(*this);
    Fit_Caption_Rows();
    ucDep1.Init(static_cast<std::int32_t>(BackColor()), ucKelmora::kDepartmentMode, Op_User_Name, strCN, Lan_Type);

    const std::string now = platform::services().clockText();
    DTPicker1(0).setValue(dayBefore(now));
    DTPicker2(0).setValue(now);
    DTPicker2(1).setValue(now.substr(0, 10) + " 23:59:59");

    for (int i = 0; i < mingxi::kOptionCount; ++i) optType(i).setBackColor(BackColor());
    for (int i = 0; i < mingxi::kFrameCount; ++i) fraType(i).setBackColor(BackColor());
    for (int i = 0; i <= 21; ++i) chkType(i).setBackColor(BackColor());

    BT = BTService();
    XF = XFService();

    DTPicker1(0).setMinDate(XF.JieSuan_Date());
    DTPicker2(0).setMinDate(XF.JieSuan_Date());

    if (!Times_Switch_On(BT.Is_Ci()))
        for (int i : mingxi::kTimesBoxes) chkType(i).setVisible(false);

    Init_Mingxi_Grid();
    Fill_Mach_Combo();
    Fill_Dian_Combo();
    Fill_Unit_Combo();
}

void XF_Mingxi::Set_Captions() {
    setCaption(L(401));
    for (int i = 0; i <= 3; ++i) Command4(i).setCaption(L(387 + i));
    Label1(0).setCaption(L(402) + ":");
    Label2(5).setCaption(L(9) + ":");
    Label2(4).setCaption(L(380) + ":");
    Label2(2).setCaption(L(188) + ":");
    Label1(4).setCaption(L(403) + ":");
    for (int i = 0; i < mingxi::kOptionCount; ++i) optType(i).setCaption(L(404 + i));
    Command1.setCaption(L(1));
    cmdExit.setCaption(L(19));
    for (const auto& g : mingxi::kindGroups())
        for (const auto& b : g.boxes) chkType(b.box).setCaption(L(b.text));
}

void XF_Mingxi::Fill_Mach_Combo() {
    Mach_List = XF.Get_XF_Machs();
    fillList(Combo4, Mach_List, col::Mach_Info::Mach_ID, col::Mach_Info::Mach_Name);
}

// Places and owners whose flag reads as anything but 0 are not offered.
void XF_Mingxi::Fill_Dian_Combo() {
    namespace D = col::XF_Dian_Info;
    Dian_List = XF.Get_XF_Dians();
    const int flag = Dian_List.rowUBound() >= 1 ? Dian_List.col(D::XF_Dian_Flag) : 0;
    fillList(Combo5, Dian_List, D::XF_Dian_ID, D::XF_Dian_Name,
             [&](int r, std::string&) { return vbVal(Dian_List(r, flag)) == 0; });
}

void XF_Mingxi::Fill_Unit_Combo() {
    namespace U = col::XF_Unit_Info;
    Unit_List = XF.Get_Unit("");
    const int flag = Unit_List.rowUBound() >= 1 ? Unit_List.col(U::XF_Unit_Flag) : 0;
    fillList(Combo3, Unit_List, U::XF_Unit_ID, U::XF_Unit_Name, [&](int r, std::string&) { return vbVal(Unit_List(r, flag)) == 0; });
}

void XF_Mingxi::Init_Mingxi_Grid() {
    Grid1.setCols(14);
    Grid1.setRows(1);
    Grid1.setRedraw(false);
    Grid1.setBackColor1(0xFFFFFF);
    Grid1.setBackColor2(0xEEF5F7);
    const std::string blanks(5, ' ');
    const std::string heads[14] = {"",      L(380), L(9),   blanks + L(402) + blanks, L(419), L(420), L(461),
                                   "操作后次数", L(180), L(188), L(174), L(173), L(421), L(178)};
    for (int c = 0; c < 14; ++c) Grid1.Cell(0, c).setText(heads[c]);
    for (int c = 0; c < 14; ++c) {
        Grid1.Column(c).AutoFit();
        Grid1.Column(c).setAlignment(grid::AlignCenter);
        Grid1.Column(c).setLocked(true);  // the grid is read-only
    }
    Grid1.Column(3).setWidth(150);
    Grid1.Column(4).setAlignment(grid::AlignRight);
    Grid1.Column(5).setAlignment(grid::AlignRight);
    Grid1.Column(13).setWidth(0);
    Grid1.setRedraw(true);
    Grid1.Refresh();
}

void XF_Mingxi::optType_Click(int Index) {
    for (int i = 0; i < mingxi::kFrameCount; ++i) fraType(i).setVisible(i == Index - 1);
}

void XF_Mingxi::Form_Resize() {
    Keep_Min_Size(*this);
    const int W = Width(), H = Height();
    Grid1.setWidth(W - ucDep1.Width() - 700);
    ucDep1.setHeight(H - 700);
    Grid1.setHeight(ucDep1.Top() + ucDep1.Height() - Grid1.Top());
    cmdExit.setLeft(W - cmdExit.Width() - 320);
    Line1.setX2(W - 320);
    Frame1.setLeft((W - Frame1.Width()) / 2);
}

void XF_Mingxi::cmdExit_Click() { Close_Window(*this); }

void XF_Mingxi::Form_Unload(int&) {
    Rs_Emp.reset();
    Rs_Emp_Ids.reset();
    Mach_List = DataList();
    Dian_List = DataList();
    Unit_List = DataList();
    Type_Codes.clear();
    Detail_Rows = 0;
}

void XF_Mingxi::Print_Click() {
    if (running_) return;
    // Printing tens of thousands of rows from the preview takes a while: the
    // panel says so and counts the pages as they go to the printer.
    Run_Lock lock(*this, {&Command1, &Command4(0), &Command4(1), &Command4(2), &Command4(3)}, running_);
    lblBar.setCaption(L(415));
    lock.Show_Panel(Frame1);
    lock.Show_Progress(Bar1, 0);
    Frame1.Refresh();
    Grid_Output(3, Grid1, true, Caption(), Op_User_Name, [this](int page, int pages) {
        if (Bar1.Max() != pages) Bar1.setMax(pages);
        Bar1.setValue(page);
        Bar1.Refresh();
    });
}

// The query.

namespace {

// Whatever way the click ends, the long-query timeout and the progress panel
// are put back, and the button that started it takes clicks again.
class QueryRun {
public:
    // The output buttons too: an export or preview of a half-filled grid
    // would look like the whole answer; and the tree, whose highlighted
    // department would no longer be the one the rows are of.
    QueryRun(XF_Mingxi& w, bool& running)
        : lock_(w,
                {&w.Command1, &w.Command4(0), &w.Command4(1), &w.Command4(2), &w.Command4(3), &w.ucDep1.Frame1},
                running),
          panel_(w.Frame1) {}
    ~QueryRun() {
        Extra_Timeout = 0;
        panel_.setVisible(false);
    }
    QueryRun(const QueryRun&) = delete;
    QueryRun& operator=(const QueryRun&) = delete;

private:
    Run_Lock lock_;
    forms::Frame& panel_;
};

bool ticked(const forms::CheckBox& box) { return box.Value() == forms::vbChecked; }

}  // namespace

void XF_Mingxi::Command1_Click() {
    if (running_) return;
    const QueryRun run(*this, running_);

    Emp_Path = Load_Emp_Ids();
    Sum_JinE = Exact_Sum();
    Sum_Ci = 0;
    Clear_Totals(Type_Sum);
    Uncertain_Flag = chkErr.Value() == forms::vbUnchecked ? 1 : 0;

    std::string name, code, pnum;
    if (ucDep1.Get_Sel(Sel_DeptNo, name, code, pnum) == 0) return;
    if (Sel_DeptNo != "u") Emp_Path = false;

    const std::string start = DTPicker1(0).Date_Value() + " " + pickerTime(DTPicker1(1));
    const std::string end = DTPicker2(0).Date_Value() + " " + pickerTime(DTPicker2(1));
    if (start > end) {
        platform::services().msgBox(L(414), platform::vbExclamation, L(43));
        return;
    }

    lblBar.setCaption(L(415));
    Frame1.setVisible(true);
    lblBar.Refresh();

    if (!Build_Type_List()) {
        platform::services().msgBox(L(416), platform::vbInformation, L(43));
        Frame1.setVisible(false);
        const int group = Chosen_Group();
        chkType(mingxi::kindGroups()[static_cast<std::size_t>(group - 1)].boxes.front().box).SetFocus();
        return;
    }

    Extra_Timeout = 600;
    Detail_Rows = 0;
    const std::int32_t mach = Chosen_Data(Combo4);
    const std::int32_t dian = Chosen_Data(Combo5);
    const std::int32_t unit = Chosen_Data(Combo3);

    // The rows come as the grid takes them, on a session of their own that
    // holds the query's remaining rows until the last is read.
    std::unique_ptr<db::RowCursor> rows;
    if (Emp_Path) {
        std::string person;
        const bool lookedUp = !name.empty() || !code.empty() || !pnum.empty();
        if (lookedUp) person = Find_Emp(name, code, pnum);
        // A name, code or number that matches nobody lists nobody's records.
        if (!lookedUp || !person.empty())
            rows = XF.Get_XF_Info7_Rows(true, Sel_DeptNo, Type_Codes, start, end, Type_Count, mach, dian, unit, "", "",
                                        "", person);
    } else {
        rows = XF.Get_XF_Info7_Rows(false, Sel_DeptNo, Type_Codes, start, end, Type_Count, mach, dian, unit, name,
                                    code, pnum, "");
    }
    Extra_Timeout = 0;

    const auto seconds = [](const std::string& at) {
        const auto day = readDate(at.substr(0, 10));
        return day ? std::chrono::sys_days(*day).time_since_epoch().count() * 86400LL : 0LL;
    };
    periodStart_ = seconds(start);
    periodSeconds_ = seconds(end) + 86400 - periodStart_;
    Fill_Mingxi_Grid(rows.get());
}

int XF_Mingxi::Chosen_Group() const {
    for (int i = 0; i < mingxi::kOptionCount; ++i)
        if (optType(i).Value()) return i;
    return 0;
}

bool XF_Mingxi::Build_Type_List() {
    Type_Codes.clear();
    Type_Count = 0;
    const int group = Chosen_Group();
    if (group == 0) return true;
    for (const auto& b : mingxi::kindGroups()[static_cast<std::size_t>(group - 1)].boxes) {
        if (!ticked(chkType(b.box))) continue;
        for (int code : b.codes) Type_Codes.push_back(std::to_string(code));
    }
    Type_Count = static_cast<std::int16_t>(Type_Codes.size());
    return Type_Count > 0;
}

bool XF_Mingxi::Load_Emp_Ids() {
    Rs_Emp_Ids = Lookup_Store::All_Employees(Main_Connection());
    if (Rs_Emp_Ids->recordCount() == 0) return false;
    Rs_Emp_Ids->moveFirst();
    return Rs_Emp_Ids->field("Pinfo_id").toDouble() != static_cast<double>(Rs_Emp_Ids->recordCount());
}

void XF_Mingxi::Load_Emp_Rs() {
    Rs_Emp = Open_Rs(Lookup_Store::Employee_Names_Sql());
}

std::string XF_Mingxi::Find_Emp(const std::string& Name, const std::string& Code, const std::string& PNum) {
    if (!Rs_Emp) return {};  // the person set could not be opened: nobody is found
    std::string filter;
    if (!Name.empty()) filter = "P_Name='" + sqlEscape(Name) + "'";
    else if (!Code.empty()) filter = "P_Code='" + sqlEscape(Code) + "'";
    else if (!PNum.empty()) filter = "P_Num='" + sqlEscape(PNum) + "'";
    else return {};
    Rs_Emp->setFilter(filter);
    if (Rs_Emp->recordCount() < 1) return {};
    return Rs_Emp->field("PInfo_Id").toString();
}

}  // namespace tolvenk
