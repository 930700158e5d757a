#include "cards/IDYuE_QingLing.h"

#include <cstdint>
#include <vector>

#include "data/Globals.h"
#include "data/IdClearing.h"
#include "lang/Language.h"
#include "platform/ErrorText.h"
#include "platform/MoneyText.h"
#include "platform/VbNumber.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

constexpr int kColTick = 1, kColBalance = 6, kColPerson = 7, kColCardType = 8, kCols = 9;
constexpr int kClearedCounts = 980, kCardFailed = 981, kLogFailed = 982, kLostText = 1079;

}  // namespace

IDYuE_QingLing::IDYuE_QingLing() {
    Grid1.setFixedRows(1);
    Grid1.setCols(kCols);
    Grid1.setRows(1);
    layOut();
    ucDep1.Dept_Changed = [this](const std::string&) { Load_IDYuE(); };
    CheckAll.Click = [this](int) { CheckAll_Click(); };
    Command1.Click = [this](int) { Command1_Click(); };
}

void IDYuE_QingLing::layOut() {
    setWidth(11655);
    setHeight(8340);
    ucDep1.Move(120, 120, 3255, 7575);
    CheckAll.Move(3600, 270, 1300, 300);  // a click in its middle lands on the caption
    Command1.Move(5040, 210, 1800, 420);
    Grid1.Move(3600, 840, 7755, 6855);
}

void IDYuE_QingLing::Form_Load() {
    Set_Lan_Font(*this);
    setCaption(L(644));
    CheckAll.setCaption(L(69));
    Command1.setCaption(L(644));
    // The services first: the picker may report a department while it starts.
    XF = XFService();
    Card = CardService();
    ucDep1.Init(static_cast<std::int32_t>(BackColor()), ucKelmora::kDepartmentMode, Op_User_Name, strCN, Lan_Type);

    Grid1.setCols(kCols);
    Grid1.setRows(1);
    Grid1.Column(kColTick).setCellType(grid::CellKind::TickBox);
    const std::string heads[kCols] = {"", "", L(5), L(6), L(7), L(178), L(598), "Pinfo_id", "Card_Type"};
    for (int c = 0; c < kCols; ++c) {
        Grid1.Cell(0, c).setText(heads[c]);
        Grid1.Column(c).setLocked(c != kColTick);
    }
    Grid1.Column(kColPerson).setWidth(0);
    Grid1.Column(kColCardType).setWidth(0);
}

void IDYuE_QingLing::Form_Resize() {
    Keep_Min_Size(*this);
    const int W = Width(), H = Height();
    Grid1.setWidth(W - ucDep1.Width() - 700);
    Grid1.setHeight(H - Grid1.Top() - 600);
    ucDep1.setHeight(H - 700);
}

void IDYuE_QingLing::Load_IDYuE() {
    Grid1.setRows(1);
    cardKeys_.assign(1, std::string());
    std::string deptNo, name, code, pnum;
    if (ucDep1.Get_Sel(deptNo, name, code, pnum) == 0) return;
    auto rs = Card.get_IDYuE(deptNo, name, code);
    const int cName = rs->fieldIndex("P_Name"), cCode = rs->fieldIndex("P_Code"), cDept = rs->fieldIndex("Dept_Name"),
              cCard = rs->fieldIndex("Card_No"), cBalance = rs->fieldIndex("C_YuE_ID"),
              cPerson = rs->fieldIndex("Pinfo_ID"), cType = rs->fieldIndex("Card_Type");
    for (; !rs->eof(); rs->moveNext()) {
        const int r = Grid1.Rows();
        Grid1.setRows(r + 1);
        Grid1.Cell(r, 2).setText(rs->field(cName).toString());
        Grid1.Cell(r, 3).setText(rs->field(cCode).toString());
        Grid1.Cell(r, 4).setText(rs->field(cDept).toString());
        Grid1.Cell(r, 5).setText(rs->field(cCard).toString());
        cardKeys_.push_back(rs->field(cCard).toString());
        Grid1.Cell(r, kColBalance).setText(centsText(rs->field(cBalance).toInt64()));
        Grid1.Cell(r, kColPerson).setText(rs->field(cPerson).toString());
        Grid1.Cell(r, kColCardType).setText(rs->field(cType).toString());
    }
    Grid1.Column(kColPerson).setWidth(0);
    Grid1.Column(kColCardType).setWidth(0);
    Grid1.Widen_To_Text();
    Grid1.Refresh();
}

void IDYuE_QingLing::CheckAll_Click() {
    const std::string tick = CheckAll.Value() == forms::vbChecked ? "1" : "0";
    for (int r = 1; r < Grid1.Rows(); ++r) Grid1.Cell(r, kColTick).setText(tick);
}

// Each ticked card is voided and cleared in a transaction of its own, from
// its balance as the database holds it now: a card that fails keeps its
// balance and is not counted, one already at 0 is left alone, so a second
// click changes no balance and writes no void row.
void IDYuE_QingLing::Command1_Click() {
    std::vector<ID_Clearing::Card> cards;
    std::vector<int> rows;
    for (int i = 1; i < Grid1.Rows(); ++i) {
        if (Grid1.Cell(i, kColTick).Text() != "1") continue;
        const std::string card =
            static_cast<std::size_t>(i) < cardKeys_.size() ? cardKeys_[static_cast<std::size_t>(i)] : Grid1.Cell(i, 5).Text();
        cards.push_back({vbCLng(vbVal(Grid1.Cell(i, kColPerson).Text())), card});
        rows.push_back(i);
    }
    std::string failures;
    ticked_ = cards.size();
    const ID_Clearing::Result result = ID_Clearing::Clear(
        Card, cards, Op_User_ID, platform::services().clockText(),
        [&](std::size_t k, const CardService::QL_Result& r) {
            if (r.state == CardService::QL_Result::Failed)
                failures += "\n" + Lf(kCardFailed, {cards[k].cardNo, std::to_string(cards[k].person), r.error});
            else
                Grid1.Cell(rows[k], kColBalance).setText("0.00");
        });
    Say_Cleared(result, failures);
}

void IDYuE_QingLing::Say_Cleared(const ID_Clearing::Result& result, const std::string& failures) {
    if (!result.lost.empty()) {  // one box: what was done, not a line per card left
        platform::services().msgBox(
            platform::lostConnectionText(Lf(kLostText, {std::to_string(result.cleared + result.zero),
                                                        std::to_string(ticked_)}),
                                         result.lost),
            platform::vbCritical, L(112));
        return;
    }
    const std::string logError = result.logError.empty() ? std::string() : Lf(kLogFailed, {result.logError});
    const bool logged = logError.empty();
    if (result.cleared + result.zero + result.failed == 0) {  // nothing ticked: nothing to say unless the log failed
        if (!logged) platform::services().msgBox(logError, platform::vbCritical, L(43));
        return;
    }
    Exact_Sum voided;  // the balances taken: the voids' sum negated, exactly
    voided.add(result.voided);
    std::string prompt = Lf(kClearedCounts, {std::to_string(result.cleared), Money_Text(voided, true),
                                             std::to_string(result.zero), std::to_string(result.failed)}) +
                         failures;
    if (!logged) prompt += "\n" + logError;
    const bool trouble = result.failed > 0 || !logged;
    if (!trouble && result.cleared > 0) prompt = L(330) + "\n" + prompt;
    platform::services().msgBox(prompt, trouble ? platform::vbCritical : platform::vbInformation, L(43));
}

}  // namespace tolvenk
