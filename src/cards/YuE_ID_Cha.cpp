#include "cards/YuE_ID_Cha.h"

#include <algorithm>
#include <cstdint>

#include "cards/QueryPanel.h"
#include "data/Globals.h"
#include "lang/Language.h"
#include "platform/FenMath.h"
#include "platform/MoneyText.h"
#include "platform/VbNumber.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowKit.h"

namespace tolvenk {

// The engine sums an employee's rows; a sum it cannot hold in 64 bits (an
// error on the file, a wider number on the server) is summed here instead,
// exactly, from the rows.
YuE_ID_Cha::Balance YuE_ID_Cha::balanceOf(std::int32_t person, const std::string& bound) {
    Balance b;
    try {
        auto sum = XF.Cha_YeE_ID_2(person, bound);
        if (sum->eof()) return b;
        const db::Value& fen = sum->field("YuE_New");
        if (fen.isNull() || fen.isInteger()) {
            b.when = sum->field("Date_Time").toString();
            b.rows = !fen.isNull();
            if (b.rows) b.fen.add(fen.asInteger());
            return b;
        }
    } catch (const db::DbError&) {
    }
    auto rows = XF.Cha_YeE_ID_Rows(person, bound);
    for (; !rows->eof(); rows->moveNext()) {
        b.rows = true;
        const std::string when = rows->field("Date_Time").toString();
        if (when > b.when) b.when = when;
        const auto fen = storedFen(rows->field("YuE_Change"));
        if (fen) b.fen.add(*fen);
        else b.fen.addUnknown();
    }
    return b;
}

YuE_ID_Cha::YuE_ID_Cha() {
    for (int i = 0; i <= 3; ++i) Command4.add(i).setContainer(Frame1);
    Label2.setContainer(Pic_1);
    Bar1.setContainer(Pic_1);
    Pic_1.setVisible(false);
    setCaption("ID卡余额查询");
    Grid1.setFixedRows(1);
    Grid1.setCols(6);
    Grid1.setRows(1);
    layOut();
    Command1.Click = [this](int) { Command1_Click(); };
    Command2.Click = [this](int) { Command2_Click(); };
    Wire_Output_Buttons(Command4, Grid1, *this, false);
}

void YuE_ID_Cha::layOut() {
    setWidth(11655);
    setHeight(8340);
    ucDep1.Move(120, 120, 3255, 7575);
    Label1.Move(3600, 300, 1500, 255);
    DTPicker1.Move(5160, 240, 1700, 360);
    Command1.Move(7020, 210, 1300, 420);
    Command2.Move(8520, 210, 1500, 420);
    Frame1.Move(3600, 660, 7755, 600);
    const int left[] = {120, 2040, 3960, 5880}, width[] = {1860, 1860, 1860, 1740};
    for (int i = 0; i <= 3; ++i) Command4(i).Move(left[i], 150, width[i], 375);
    Line1.setPoints(3600, 1380, 11295, 1380);
    Grid1.Move(3600, 1500, 7755, 6195);
    Pic_1.Move(5280, 3600, 4380, 1410);
    Label2.Move(240, 300, 3900, 300);
    Bar1.Move(240, 780, 3900, 330);
}

void YuE_ID_Cha::Form_Load() {
    Set_Lan_Font(*this);
    Label1.setCaption(L(596) + ":");
    Command1.setCaption(L(358));
    Command2.setCaption(L(644));
    const int outputs[] = {559, 561, 560, 558};
    for (int i = 0; i <= 3; ++i) Command4(i).setCaption(L(outputs[i]));
    Label2.setCaption(L(127));

    ucDep1.Init(static_cast<std::int32_t>(BackColor()), ucKelmora::kDepartmentMode, Op_User_Name, strCN, Lan_Type);
    XF = XFService();
    BT = BTService();
    XF.Set_strCN(strCN);
    BT.Set_strCN(strCN);
    DTPicker1.setMinDate(XF.JieSuan_Date());

    Grid1.setCols(6);
    Grid1.setRows(1);
    const std::string heads[6] = {"", L(174), L(173), L(88), L(597), L(598)};
    for (int c = 0; c < 6; ++c) Grid1.Cell(0, c).setText(heads[c]);
    setAlignments();
    DTPicker1.setValue(platform::services().clockText().substr(0, 10));
}

void YuE_ID_Cha::setAlignments() {
    for (int c = 1; c <= 5; ++c) Grid1.Column(c).setAlignment(grid::AlignCenter);
    Grid1.Column(5).setAlignment(grid::AlignRight);
}

void YuE_ID_Cha::Form_Resize() {
    Keep_Min_Size(*this);
    const int W = Width(), H = Height();
    Grid1.setWidth(W - ucDep1.Width() - 700);
    Grid1.setHeight(H - Grid1.Top() - 600);
    ucDep1.setHeight(H - 700);
    Line1.setX2(W - 360);
    Frame1.setLeft(W - Frame1.Width() - 300);
}

void YuE_ID_Cha::Command1_Click() {
    if (running_) return;
    Grid1.setRows(1);
    setAlignments();
    // "Z" sorts after every time of the day, so the whole day counts.
    const std::string bound = DTPicker1.Date_Value() + "Z";
    std::string deptNo, name, code, pnum;
    if (ucDep1.Get_Sel(deptNo, name, code, pnum) == 0) return;
    Warn_Unfinished_Settlement(DTPicker1.Date_Value());
    const DataList emps = BT.Get_Emp_Check_All_ID(deptNo, name, code, "");
    const int n = emps.rowUBound();
    const int cPerson = n >= 1 ? emps.col("PInfo_id") : 0, cName = n >= 1 ? emps.col("P_Name") : 0,
              cCode = n >= 1 ? emps.col("P_Code") : 0, cDept = n >= 1 ? emps.col("Dept_Name") : 0;

    const Run_Lock lock(*this, {&Command1, &Command2, &DTPicker1, &Command4(0), &Command4(1), &Command4(2),
                                &Command4(3)},
                        running_);
    const Query_Panel panel(Pic_1, Grid1);
    Pic_1.setVisible(true);
    Bar1.setMax(std::max(n, 0) + 1);
    Bar1.setValue(1);
    Pic_1.Refresh();
    Grid1.setRedraw(false);

    Exact_Sum total;
    for (int i = 1; i <= n; ++i) {
        const int r = Grid1.Rows();
        Grid1.setRows(r + 1);
        Grid1.Cell(r, 1).setText(emps(i, cName));
        Grid1.Cell(r, 2).setText(emps(i, cCode));
        Grid1.Cell(r, 3).setText(emps(i, cDept));
        const Balance b = balanceOf(vbCLng(vbVal(emps(i, cPerson))), bound);
        Grid1.Cell(r, 4).setText(b.when);
        // No counted row: the sign alone, and nothing to add.
        Grid1.Cell(r, 5).setText(Money_Sign + (b.rows ? b.fen.cents() : std::string()));
        total.add(b.fen);
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
}

// The clearing window; this one keeps its balances until the next query.
void YuE_ID_Cha::Command2_Click() { Open_Modal("IDYuE_QingLing"); }

}  // namespace tolvenk
