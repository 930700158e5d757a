#include "cards/YuE_HZ_Cha.h"

#include <algorithm>

#include "cards/QueryPanel.h"
#include "data/Globals.h"
#include "data/IcCorrection.h"
#include "data/OpenDb.h"
#include "data/TableColumns.h"
#include "lang/Language.h"
#include "platform/FenMath.h"
#include "platform/MoneyText.h"
#include "platform/VbNumber.h"
#include "platform/VbText.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

constexpr int kCorrectionFailures = 983;

}  // namespace

YuE_HZ_Cha::YuE_HZ_Cha() {
    for (int i = 0; i <= 3; ++i) Command4.add(i).setContainer(Frame1);
    Label2.setContainer(Pic_1);
    Bar1.setContainer(Pic_1);
    Pic_1.setVisible(false);
    Check1.setCaption("是否损益");
    Grid1.setFixedRows(1);
    Grid1.setCols(8);
    Grid1.setRows(1);
    layOut();
    Command1.Click = [this](int) { Command1_Click(); };
    Wire_Output_Buttons(Command4, Grid1, *this, false);
}

void YuE_HZ_Cha::layOut() {
    setWidth(11655);
    setHeight(8340);
    ucDep1.Move(120, 120, 3255, 7575);
    Label1.Move(3600, 300, 1500, 255);
    DTPicker1.Move(5160, 240, 1700, 360);
    Command1.Move(7020, 210, 1300, 420);
    Check1.Move(8520, 270, 1500, 300);
    Frame1.Move(3600, 660, 7755, 600);
    const int left[] = {120, 2040, 3960, 5880}, width[] = {1860, 1860, 1860, 1740};
    for (int i = 0; i <= 3; ++i) Command4(i).Move(left[i], 150, width[i], 375);
    Line1.setPoints(3600, 1380, 11295, 1380);
    Grid1.Move(3600, 1500, 7755, 6195);
    Pic_1.Move(5280, 3600, 4380, 1410);
    Label2.Move(240, 300, 3900, 300);
    Bar1.Move(240, 780, 3900, 330);
}

void YuE_HZ_Cha::Form_Load() {
    Set_Lan_Font(*this);
    setCaption(L(619));
    Label1.setCaption(L(596) + ":");
    Command1.setCaption(L(358));
    const int outputs[] = {559, 561, 560, 558};
    for (int i = 0; i <= 3; ++i) Command4(i).setCaption(L(outputs[i]));
    Label2.setCaption(L(127));

    ucDep1.Init(static_cast<std::int32_t>(BackColor()), ucKelmora::kDepartmentMode, Op_User_Name, strCN, Lan_Type);
    XF = XFService();
    BT = BTService();
    XF.Set_strCN(strCN);
    BT.Set_strCN(strCN);

    std::string last = Get_First_Mach_Date();
    if (vbTrim(last).empty()) {
        last = Get_Server_Time();
        Check1.setVisible(false);
    }
    // The settlement date is set last, so it bounds the picker even when the
    // terminals were last read before it.
    DTPicker1.setMaxDate(last.substr(0, 10));
    DTPicker1.setMinDate(XF.JieSuan_Date());

    Grid1.setCols(8);
    Grid1.setRows(1);
    const std::string heads[8] = {"", L(174), L(173), L(88), L(597), L(598), "次数余额", "截止日期"};
    for (int c = 0; c < 8; ++c) Grid1.Cell(0, c).setText(heads[c]);
    setAlignments();
    DTPicker1.setValue(last.substr(0, 10));
}

void YuE_HZ_Cha::setAlignments() {
    for (int c = 1; c <= 7; ++c) Grid1.Column(c).setAlignment(grid::AlignCenter);
    Grid1.Column(5).setAlignment(grid::AlignRight);
}

void YuE_HZ_Cha::Form_Resize() {
    Keep_Min_Size(*this);
    const int W = Width(), H = Height();
    Grid1.setWidth(W - ucDep1.Width() - 700);
    Grid1.setHeight(H - Grid1.Top() - 600);
    ucDep1.setHeight(H - 700);
    Line1.setX2(W - 360);
    Frame1.setLeft(W - Frame1.Width() - 300);
}

void YuE_HZ_Cha::Command1_Click() {
    if (running_) return;
    const DataList terminal = BT.Cha_Time();
    Grid1.setRows(1);
    setAlignments();
    const std::string bound = DTPicker1.Date_Value() + " 24:00:00";
    std::string deptNo, name, code, pnum;
    if (ucDep1.Get_Sel(deptNo, name, code, pnum) == 0) return;
    Warn_Unfinished_Settlement(DTPicker1.Date_Value());
    const DataList emps = BT.Get_Emp_Check_All(deptNo, name, code, "");
    const int n = emps.rowUBound();
    const int cPerson = n >= 1 ? emps.col("PInfo_id") : 0, cName = n >= 1 ? emps.col("P_Name") : 0,
              cCode = n >= 1 ? emps.col("P_Code") : 0, cDept = n >= 1 ? emps.col("Dept_Name") : 0;
    const std::string cutoff =
        terminal.rowUBound() >= 1 ? terminal(1, terminal.col(col::Mach_Info::New_Date)) : std::string();
    const bool correct = Check1.Value() == forms::vbChecked;

    const Run_Lock lock(*this, {&Command1, &Check1, &DTPicker1, &Command4(0), &Command4(1), &Command4(2), &Command4(3)},
                        running_);
    const Query_Panel panel(Pic_1, Grid1);
    Pic_1.setVisible(true);
    Bar1.setMax(std::max(n, 0) + 1);
    Bar1.setValue(1);
    Pic_1.Refresh();
    Grid1.setRedraw(false);

    Exact_Sum total;
    int failed = 0;
    std::string firstError;
    for (int i = 1; i <= n; ++i) {
        const int r = Grid1.Rows();
        Grid1.setRows(r + 1);
        Grid1.Cell(r, 1).setText(emps(i, cName));
        Grid1.Cell(r, 2).setText(emps(i, cCode));
        Grid1.Cell(r, 3).setText(emps(i, cDept));
        const std::int32_t person = vbCLng(vbVal(emps(i, cPerson)));
        auto last = XF.Cha_YeE(person, bound);
        const bool found = !last->eof();
        if (found) {
            const std::string when = last->field("Date_Time").toString();
            Grid1.Cell(r, 4).setText(when);
            // Shown and added as stored; one that is no whole number of fen
            // shows the overflow mark and so does the total.
            const auto balance = storedFen(last->field("YuE_New"));
            Grid1.Cell(r, 5).setText(Money_Sign + (balance ? centsText(*balance) : kOverflowMark));
            if (balance) total.add(*balance);
            else total.addUnknown();
            Grid1.Cell(r, 6).setText(last->field("YuCi_New").toString());
            Grid1.Cell(r, 7).setText(when);
        }
        if (correct) {
            auto cards = XF.Cha_KaNo(person);
            for (; !cards->eof(); cards->moveNext())
                failed += Check_SunYi(static_cast<std::int32_t>(cards->field("Pinfo_Id").toInt64()),
                                      cards->field("Card_No").toString(), cutoff, firstError);
        }
        if (platform::services().yieldDue()) platform::services().yield();
        if (lock.stopped()) return;
        if (Bar1.Value() < Bar1.Max()) {
            Bar1.setValue(Bar1.Value() + 1);
            if (Bar1.Value() % 100 == 0) Grid1.Refresh();
        }
    }

    Grid1.setRedraw(true);
    const int r = Grid1.Rows();
    Grid1.setRows(r + 1);
    Grid1.Cell(r, 1).setText("总计:");
    Grid1.Cell(r, 5).setText(Money_Sign + total.cents());
    Grid1.Range(r, 1, r, 4).Merge();
    Grid1.Cell(r, 5).setAlignment(grid::AlignCenter);
    Pic_1.setVisible(false);
    for (int c = 1; c < Grid1.Cols(); ++c) Grid1.Column(c).AutoFit();
    Grid1.Refresh();
    if (failed > 0)
        platform::services().msgBox(Lf(kCorrectionFailures, {std::to_string(failed), firstError}), platform::vbCritical, L(43));
}

int YuE_HZ_Cha::Check_SunYi(std::int32_t person, const std::string& card, const std::string& cutoff,
                            std::string& error) {
    return IC_Correction::Mend_Card(XF, BT, person, card, cutoff, error);
}

}  // namespace tolvenk
