#include "cards/YuE_HZ_Cha.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "cards/QueryPanel.h"
#include "data/Globals.h"
#include "data/OpenDb.h"
#include "data/TableColumns.h"
#include "lang/Language.h"
#include "platform/DateText.h"
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

// "yyyy-MM-dd hh:mm:ss" one second earlier; the text itself when it is no date.
std::string secondBefore(const std::string& text) {
    using namespace std::chrono;
    const auto normal = normalDateTime(text);
    const auto day = readDate(text);
    if (!normal || !day) return text;
    const int h = std::stoi(normal->substr(11, 2)), m = std::stoi(normal->substr(14, 2)),
              s = std::stoi(normal->substr(17, 2));
    const sys_seconds t = sys_days{*day} + hours{h} + minutes{m} + seconds{s} - seconds{1};
    const sys_days d = floor<days>(t);
    const hh_mm_ss<seconds> clock{t - d};
    char out[16];
    std::snprintf(out, sizeof out, " %02d:%02d:%02d", static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()), static_cast<int>(clock.seconds().count()));
    return formatDate(year_month_day{d}) + out;
}

std::int64_t whole(const std::string& text) { return static_cast<std::int64_t>(vbVal(text)); }

// Text %1 of the table filled in.
std::string withCount(const std::string& text, int n, const std::string& more) {
    std::string out = text;
    if (auto at = out.find("%1"); at != std::string::npos) out.replace(at, 2, std::to_string(n));
    if (auto at = out.find("%2"); at != std::string::npos) out.replace(at, 2, more);
    return out;
}

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

    std::int64_t total = 0;
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
            Grid1.Cell(r, 5).setText(Money_Sign + centsText(last->field("YuE_New").toInt64()));
            Grid1.Cell(r, 6).setText(last->field("YuCi_New").toString());
            Grid1.Cell(r, 7).setText(when);
        }
        if (correct) {
            auto cards = XF.Cha_KaNo(person);
            for (; !cards->eof(); cards->moveNext())
                failed += Check_SunYi(static_cast<std::int32_t>(cards->field("Pinfo_Id").toInt64()),
                                      cards->field("Card_No").toString(), cutoff, firstError);
        }
        if (found) total += last->field("YuE_New").toInt64();
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
    Grid1.Cell(r, 5).setText(Money_Sign + centsText(total));
    Grid1.Range(r, 1, r, 4).Merge();
    Grid1.Cell(r, 5).setAlignment(grid::AlignCenter);
    Pic_1.setVisible(false);
    for (int c = 1; c < Grid1.Cols(); ++c) Grid1.Column(c).AutoFit();
    Grid1.Refresh();
    if (failed > 0)
        platform::services().msgBox(withCount(L(kCorrectionFailures), failed, firstError), platform::vbCritical, L(43));
}

// Each break of the chain, where a row did not start from the balance the row
// before it closed with, gets a row of kind 201 (money lost) or 202 (money
// found) one serial and one second before it. A row that cannot be written is
// counted and the scan goes on.
int YuE_HZ_Cha::Check_SunYi(std::int32_t person, const std::string& card, const std::string& cutoff,
                            std::string& error) {
    auto last = XF.Cha_YeE1(std::to_string(person), card, cutoff);
    if (last->eof()) return 0;
    const std::string top = last->field("Card_LiuShui").toString();
    auto sum = XF.Cha_JinE(person, card, top);
    if (sum->eof()) return 0;
    const db::Value& changes = sum->field("YuE_C");
    if (!changes.isNull() && last->field("YuE_New").toInt64() == changes.toInt64()) return 0;

    const DataList rows = BT.Cha_Ka(person, card, top);
    namespace X = col::Record_XF;
    const int cPerson = rows.col(X::Pinfo_id), cKind = rows.col(X::C_LeiBie), cChange = rows.col(X::YuE_Change),
              cBalance = rows.col(X::YuE_New), cArea = rows.col(X::C_QuHao), cSerial = rows.col(X::Card_LiuShui),
              cDate = rows.col(X::Date_Time), cOperator = rows.col(X::Operator_id), cCiArea = rows.col(X::Ci_QuHao),
              cRec = rows.col(X::Rec_Time);
    int failed = 0;
    for (int i = 1; i <= rows.rowUBound(); ++i) {
        if (rows(i, cDate) > cutoff) break;
        if (i < 2) continue;
        const std::int64_t before = whole(rows(i - 1, cBalance));
        const std::int64_t after = whole(rows(i, cBalance)), change = whole(rows(i, cChange));
        if (after == before + change) continue;
        const std::int64_t started = after - change;
        const std::int64_t gap = started - before;
        BTService::CorrectionRow row;
        row.PinfoID = vbCLng(vbVal(rows(i - 1, cPerson)));
        row.c_leibie = vbCInt(vbVal(rows(i - 1, cKind)));
        row.XF_Type = static_cast<std::int16_t>(gap < 0 ? 201 : 202);
        row.YuE_Change = vbCLng(static_cast<double>(gap));
        row.YuE_New = vbCLng(static_cast<double>(started));
        row.C_QuHao = vbCInt(vbVal(rows(i - 1, cArea)));
        row.Card_Liushui = vbCLng(vbVal(rows(i, cSerial)) - 1);
        row.Date_Time = secondBefore(rows(i, cDate));
        row.CardNo = card;
        row.Operator_id = vbCInt(vbVal(rows(i - 1, cOperator)));
        row.Ci_QuHao = vbCLng(vbVal(rows(i - 1, cCiArea)));
        row.Err_Code = 2;
        row.Rec_Time = Get_Server_Time();
        row.DC_Date = rows(i - 1, cRec);
        bool written = false;
        try {
            written = BT.insert_RecordXF(row);
        } catch (const std::exception& e) {
            if (error.empty()) error = e.what();
        }
        if (!written) ++failed;
    }
    return failed;
}

}  // namespace tolvenk
