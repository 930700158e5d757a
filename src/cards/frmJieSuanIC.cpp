#include "cards/frmJieSuanIC.h"

#include <algorithm>
#include <chrono>
#include <initializer_list>

#include "data/CardSysMode.h"
#include "data/Globals.h"
#include "data/IcSettlementRun.h"
#include "lang/Language.h"
#include "platform/DateText.h"
#include "platform/Error.h"
#include "platform/db/Connection.h"
#include "platform/ErrorText.h"
#include "platform/services/Services.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

constexpr const char* kPreparing = "正在准备数据，请稍候......";
constexpr int kLostText = 1074;  // a run that lost its connection: cards gone through

// The clock's day moved by `days`, as "yyyy-MM-dd".
std::string dayFrom(const std::string& clock, int days) {
    const auto d = readDate(clock);
    return d ? formatDate(addDays(*d, days)) : clock.substr(0, 10);
}

}  // namespace

frmJieSuanIC::frmJieSuanIC() {
    setCaption("结算");
    Command2.setVisible(false);
    pBar.setVisible(false);
    cmdExcell.setCaption("Excell");
    cmdExcell.setEnabled(false);  // the grid has no rows to export yet
    Grid1.setCols(6);
    Grid1.setRows(1);
    Grid1.setFixedRows(1);
    layOut();

    dtP.Change = [this](int) { dtP_Change(); };
    Command1.Click = [this](int) { Command1_Click(); };
    Command2.Click = [this](int) { Command2_Click(); };
    cmdExcell.Click = [this](int) { cmdExcell_Click(); };
}

// Long enough for the English texts, the longest of the three languages.
void frmJieSuanIC::layOut() {
    setWidth(9780);
    setHeight(7500);
    Label1.Move(240, 300, 3900, 300);
    dtP.Move(4200, 240, 1600, 360);
    Label2.Move(5880, 300, 2100, 300);
    Command1.Move(8100, 210, 1380, 420);
    chk1.Move(240, 780, 3900, 300);
    dtP2.Move(4200, 720, 1600, 360);
    Label11.Move(5880, 780, 2100, 300);
    Command2.Move(8100, 690, 1380, 420);
    pBar.Move(240, 1320, 9240, 300);
    Label3.Move(240, 1680, 9240, 300);
    Label9.Move(240, 2040, 3900, 300);
    Label12.Move(4200, 2040, 5280, 300);
    const int rowTop[] = {2460, 2820, 3180};
    forms::Label* left[][2] = {{&Label6, &lblNull}, {&Label10, &lbl1}, {&Label8, &lbl0}};
    forms::Label* right[][2] = {{&Label4, &lblCZ}, {&Label5, &lblQK}, {&Label7, &lblYC}};
    for (int i = 0; i < 3; ++i) {
        left[i][0]->Move(240, rowTop[i], 4800, 300);
        left[i][1]->Move(5100, rowTop[i], 900, 300);
        right[i][0]->Move(6180, rowTop[i], 2100, 300);
        right[i][1]->Move(8340, rowTop[i], 1140, 300);
    }
    Grid1.Move(240, 3660, 9240, 2640);
    cmdExcell.Move(8100, 6420, 1380, 420);
}

db::Connection& frmJieSuanIC::Win_Connection() {
    if (!Win_Base.DB_Con || !Win_Base.DB_Con->isOpen()) throw VbError(91, "Object variable or With block variable not set");
    // Open since the window was; the server may have been restarted meanwhile.
    Win_Base.DB_Con->reopenIfLost();
    return *Win_Base.DB_Con;
}

void frmJieSuanIC::Form_Load() {
    Set_Lan_Font(*this);
    setCaption(L(616));
    Label1.setCaption(L(606));
    Label2.setCaption(L(607));
    Command1.setCaption(L(616));
    chk1.setCaption(L(608));
    Label11.setCaption(L(609));
    Command2.setCaption(L(617));
    Label6.setCaption(L(610) + ":");
    Label10.setCaption(L(612) + ":");
    Label8.setCaption(L(611));
    Label4.setCaption(L(613) + ":");
    Label5.setCaption(L(614) + ":");
    Label7.setCaption(L(615) + ":");

    Win_Base = BaseService();
    Win_Base.Set_LinkStr(strCN);
    Win_Base.Open_DB_Con();
    XF = XFService();

    const std::string now = platform::services().clockText();
    dtP.setMaxDate(dayFrom(now, -180));
    dtP2.setMaxDate(dayFrom(now, -270));
    dtP.setValue(dayFrom(now, -182).substr(0, 7) + "-01");
    dtP2.setValue(dayFrom(now, -365).substr(0, 7) + "-01");

    // The cut-off never goes back before the previous one.
    const std::string settled = XF.JieSuan_Date();
    if (dtP.MaxDate() < settled) dtP.setMaxDate(settled);
    dtP.setMinDate(settled);
    // A run that did not finish is said, and offered again to its own date;
    // one going on in another office is only said.
    if (const XFService::Settlement_Pending p = XF.JieSuan_Pending(); p.running) {
        platform::services().msgBox(Lf(1090, {p.target}), platform::vbExclamation, L(43));
    } else if (!p.target.empty() && p.target >= settled) {
        if (dtP.MaxDate() < p.target) dtP.setMaxDate(p.target);
        dtP.setValue(p.target);
        dtP_Change();
        platform::services().msgBox(Lf(986, {p.target}), platform::vbExclamation, L(43));
    }

    const char* heads[] = {"异常", "员工ID", "Card_No", "总金额", "余额", "差额"};
    for (int c = 0; c < 6; ++c) Grid1.Cell(0, c).setText(heads[c]);
    for (int c = 1; c <= 5; ++c) {
        Grid1.Column(c).setWidth(70);
        Grid1.Column(c).setAlignment(grid::AlignCenter);
    }
}

void frmJieSuanIC::Form_Unload(int& Cancel) {
    (void)Cancel;
    if (Win_Base.DB_Con) Win_Base.DB_Con->close();
    Win_Base.DB_Con.reset();
}

// The backup date stays at least 60 days before the cut-off.
void frmJieSuanIC::dtP_Change() {
    const std::string limit = dayFrom(dtP.Date_Value(), -60);
    if (dtP2.Date_Value() > limit) dtP2.setValue(limit);
    dtP2.setMaxDate(limit);
}

void frmJieSuanIC::Command1_Click() {
    const std::optional<std::int32_t> mode = Card_System(XF);
    if (mode && *mode == Card_Sys_Mode::IC) Do_JieSuan();
}

void frmJieSuanIC::Command2_Click() { Stop_Flag = true; }

void frmJieSuanIC::cmdExcell_Click() {
    if (Grid1.Export_Excel("", true)) platform::services().msgBox("提示:输出成功.", platform::vbInformation,
                                                         platform::kApplicationTitle);
    else if (!Grid1.ExportCancelled()) platform::services().msgBox("提示:输出失败.", platform::vbExclamation,
                                                                platform::kApplicationTitle);
}

void frmJieSuanIC::Give_Back() {
    Command1.setEnabled(true);
    Command2.setVisible(false);
    cmdExcell.setEnabled(Grid1.Rows() > 1);
    for (forms::Control* c : std::initializer_list<forms::Control*>{&dtP, &dtP2, &chk1}) c->setEnabled(true);
    Label12.setCaption(platform::services().clockText());
}

// The run. The cut-off becomes the settlement date only after the last card:
// a run stopped, closed or failed before leaves the previous one, so no
// window's lower date bound hides rows that were never settled.
void frmJieSuanIC::Do_JieSuan() {
    if (running_) return;
    Stop_Flag = false;
    const std::string previousMin = dtP.MinDate();
    Run_Lock lock(*this, {&Command1, &dtP, &dtP2, &chk1}, running_);
    Command2.setVisible(true);
    cmdExcell.setEnabled(false);

    IC_Settlement::Run_Result result;
    result.state = IC_Settlement::Run_Result::Stopped;  // what a failure leaves
    try {
        const std::string cutoff = dtP.Date_Value() + " 00:00:00";
        const std::string backupStart = chk1.Value() == forms::vbChecked ? dtP2.Date_Value() + " 00:00:00" : "";
        // Closing the window mid-run closes its connection, which must outlive the run.
        const std::shared_ptr<db::Connection> own = Win_Base.DB_Con;
        result = IC_Settlement::Run(Win_Connection(), Main_Connection(), cutoff, backupStart,
                                    [&](const IC_Settlement::Run_Step& s) { return Show_Step(s, lock); });
    } catch (const IC_Settlement::Card_Failure& e) {
        // Its text is already the clerk's: the reason, then the engine's words.
        Show_Failure("  卡号：" + e.card + "  员工ID：" + std::to_string(e.person), e.what());
    } catch (const std::exception& e) {
        // No card's failure (a read-only file, the run's lock file, the
        // pruning): the card's box would name none.
        Show_Error(e);
    }
    Last_Run = result;
    if (lock.stopped()) return;  // the window was closed: it is back as designed
    if (result.state == IC_Settlement::Run_Result::Busy)
        platform::services().msgBox(L(1091), platform::vbExclamation, L(43));
    if (result.state == IC_Settlement::Run_Result::No_Cards)
        platform::services().msgBox("没有卡需要结算。", platform::vbCritical, "提示");
    if (result.state == IC_Settlement::Run_Result::Left) Show_Left(result.left);
    if (result.state == IC_Settlement::Run_Result::Lost)
        platform::services().msgBox(
            platform::lostConnectionText(Lf(kLostText, {std::to_string(result.done), std::to_string(result.total)}),
                                         result.lost),
            platform::vbCritical, L(112));
    if (result.state != IC_Settlement::Run_Result::Settled) dtP.setMinDate(previousMin);
    Give_Back();
}

// The first step readies the window for the run; each one shows the card
// about to be settled and how many are done, and lets events in.
bool frmJieSuanIC::Show_Step(const IC_Settlement::Run_Step& s, const Run_Lock& lock) {
    if (s.done == 0 && !s.card.empty()) {
        pBar.setValue(0);
        pBar.setMax(static_cast<int>(s.total));
        pBar.setVisible(true);
        Label3.setCaption(kPreparing);
        Grid1.setRows(1);
        Refresh();
        dtP.setMinDate(dtP.Date_Value());
        for (forms::Label* n : {&lblNull, &lbl1, &lbl0, &lblCZ, &lblQK, &lblYC}) n->setCaption("0");
        Label9.setCaption(platform::services().clockText());
    }
    pBar.setValue(static_cast<int>(std::min<std::int64_t>(s.done, pBar.Max())));
    if (s.done > 0) Label3.setCaption(std::to_string(pBar.Value()) + " / " + std::to_string(pBar.Max()));
    if (s.card.empty()) return true;
    Label12.setCaption("ID=" + std::to_string(s.person) + " : " + s.card);
    // Told often through a long run: the window takes its events each time
    // some hundredths of a second have passed, not only once a yield is due.
    platform::yieldEvery(std::chrono::milliseconds(25));
    return !lock.stopped() && !Stop_Flag;
}

void frmJieSuanIC::Show_Failure(const std::string& where, const std::string& what) {
    platform::services().msgBox("结算出错：" + where + "\r" + what, platform::vbCritical, "错误");
}

void frmJieSuanIC::Show_Left(const std::vector<std::pair<std::int32_t, std::string>>& left) {
    std::string cards;
    for (std::size_t i = 0; i < left.size() && i < kListedCards; ++i)
        cards += "\n" + left[i].second + " (" + std::to_string(left[i].first) + ")";
    if (left.size() > kListedCards) cards += "\n...";
    platform::services().msgBox(Lf(987, {std::to_string(left.size()), cards}), platform::vbCritical, L(43));
}

}  // namespace tolvenk
