#include "subsidy/BT_ID_Grant.h"

#include <algorithm>
#include <vector>

#include "data/Globals.h"
#include "data/OpenDb.h"
#include "data/SubsidyBatch.h"
#include "data/TableColumns.h"
#include "data/XfTypeCode.h"
#include "lang/Language.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

constexpr int kDesignWidth = 5400;
constexpr int kDesignHeight = 3180;
constexpr int kBatchesPerMonth = 8;

std::int64_t whole(const std::string& text) { return static_cast<std::int64_t>(vbVal(text)); }

}  // namespace

BT_ID_Grant::BT_ID_Grant(bool regrant) : regrant_(regrant) {
    setBackColor(0x00FFF0E0);
    for (int i = 1; i <= kBatchesPerMonth; ++i) Combo2.AddItem(std::to_string(i));
    pBar1.setVisible(false);
    setWidth(kDesignWidth);
    setHeight(kDesignHeight);
    layOut();

    Command1.Click = [this](int) { Command1_Click(); };
    Command2.Click = [this](int) { Command2_Click(); };
}

// Labels and buttons are wide enough for the longest of the three languages.
void BT_ID_Grant::layOut() {
    Label1.Move(240, 300, 1500, 300);
    Combo3.Move(1800, 240, 1200, 345);
    Label2.Move(240, 780, 1500, 300);
    Combo1.Move(1800, 720, 1200, 345);
    Label3.Move(3120, 780, 600, 300);
    Combo2.Move(3720, 720, 600, 345);
    Label4.Move(1800, 1200, 3360, 300);
    Command1.Move(960, 1800, 2880, 420);
    Command2.Move(3960, 1800, 1200, 420);
    pBar1.Move(240, 2400, 4920, 240);
}

void BT_ID_Grant::Form_Load() {
    Set_Lan_Font(*this);
    setCaption(regrant_ ? L(47) : L(55));
    Command1.setCaption(L(48));
    Command2.setCaption(L(2));
    Label1.setCaption(L(14));
    Label2.setCaption(L(15));
    Label3.setCaption(L(16));
    Label4.setCaption(L(17));
    BT = BTService();
    BT.Set_strCN(strCN);

    Combo3.Clear();
    const DataList years = BT.Get_Year();
    for (int r = 1; r <= years.rowUBound(); ++r) Combo3.AddItem(years(r, 0));
    if (Combo3.ListCount() > 0) Combo3.setListIndex(0);
    Fill_Month_Combo(Combo1);
    Combo1.setListIndex(std::stoi(platform::services().clockText().substr(5, 2)) - 1);
}

void BT_ID_Grant::Command2_Click() { Close_Window(*this); }

void BT_ID_Grant::prompt(const std::string& text) {
    platform::services().msgBox(text, platform::vbExclamation, L(43));
}

void BT_ID_Grant::Command1_Click() {
    if (running_) return;
    namespace B = col::BuTie_OK;
    if (Combo3.Text().empty()) {
        prompt(L(54));
        return;
    }
    if (Combo2.Text().empty()) {
        prompt(L(49));
        Combo2.SetFocus();
        return;
    }
    Cur_B_Year = static_cast<std::int32_t>(whole(Combo3.Text()));
    Cur_B_Month = Combo1.ListIndex() + 1;
    Cur_B_Times = Combo2.Text();
    const std::string year = std::to_string(Cur_B_Year), month = std::to_string(Cur_B_Month);

    // The batch's kind and booking from its first row of the state taken.
    DataList rows;
    std::string unit, type;
    if (regrant_) {
        rows = BT.Get_BT_bydate_ID(year, month, Cur_B_Times);
        if (rows.rowUBound() < 1) {
            prompt(L(54));
            return;
        }
        unit = rows(1, rows.col(B::B_Unit));
        type = rows(1, rows.col(B::B_Type));
    } else {
        const DataList prepared = BT.Get_BT_bydate(year, month, Cur_B_Times, "");
        if (prepared.rowUBound() < 1) {
            prompt(L(59));
            return;
        }
        unit = prepared(1, prepared.col(B::B_Unit));
        type = prepared(1, prepared.col(B::B_Type));
    }
    const auto kind = static_cast<std::int16_t>(whole(unit));
    if (!B_Unit_Code::isID(kind)) {
        prompt(L(53));
        return;
    }
    const std::int16_t xfType = whole(type) == B_Type_Code::Group_Recharge ? XF_Type_Code::TransferRechargeId
                                                                           : XF_Type_Code::Subsidy;
    if (!regrant_) rows = BT.select_BT_OK_3(Cur_B_Year, 0, Cur_B_Month, Cur_B_Times);

    Credited = Without_Card = Failed = 0;
    const Run_Lock lock(*this, {&Combo3, &Combo1, &Combo2, &Command1}, running_);
    pBar1.setMax(std::max(1, rows.rowUBound()));
    pBar1.setValue(0);
    pBar1.setVisible(true);
    const int state = rows.col(B::B_SF);
    const Row_Cols cols{rows.col(B::ID), rows.col(B::Pinfo_ID)};
    for (int r = 1; r <= rows.rowUBound(); ++r) {
        if (regrant_ || whole(rows(r, state)) == B_SF_Code::Prepared) Grant_Row(rows, cols, r, kind, xfType);
        pBar1.setValue(r);
        if (platform::services().yieldDue()) {
            platform::services().yield();
            if (lock.stopped()) break;
        }
    }

    // What was done is told even when the window was closed during the run.
    std::string message = regrant_ ? L(50) + std::to_string(Credited) + L(51) + std::to_string(Without_Card) + L(52)
                                   : L(56) + std::to_string(Credited) + L(57) + std::to_string(Without_Card) + L(58);
    if (Failed > 0) message += L(940) + std::to_string(Failed) + (regrant_ ? L(52) : L(58));
    prompt(message);
    if (!lock.stopped()) Unload();
}

void BT_ID_Grant::Grant_Row(const DataList& rows, const Row_Cols& cols, int r, std::int16_t kind,
                            std::int16_t xfType) {
    namespace C = col::Card_Info;
    const std::int16_t from = regrant_ ? B_SF_Code::Handed_Out : B_SF_Code::Prepared;
    const std::string& id = rows(r, cols.id);
    try {
        const DataList card = BT.IS_ID(rows(r, cols.pinfo));
        const std::string now = Get_Server_Time();
        if (card.rowUBound() < 1) {
            if (BT.Park_ID_BT(id, from, now, Op_User_ID)) ++Without_Card;
            return;
        }
        BTService::ID_Credit c;
        c.BT_ID = id;
        c.From_SF = from;
        c.B_Unit = kind;
        c.XF_Type = xfType;
        c.Card_ID = card(1, card.col(C::ID));
        c.Pinfo_id = card(1, card.col(C::Pinfo_id));
        c.Card_No = card(1, card.col(C::Card_No));
        c.Card_No_Lng = card(1, card.col(C::Card_No_Lng));
        c.C_LeiBie = card(1, card.col(C::C_LeiBie));
        c.ZB_DT = now;
        c.ZB_Ren_ID = Op_User_ID;
        switch (BT.Credit_ID_BT(c)) {
            case BTService::ID_Credit_Result::Credited: ++Credited; break;
            case BTService::ID_Credit_Result::No_Card: ++Failed; break;
            case BTService::ID_Credit_Result::Not_In_State: break;  // another run took it
        }
    } catch (const db::DbError&) {
        ++Failed;
    }
}

}  // namespace tolvenk
