#include "subsidy/BT_ZhunBei.h"

#include <string>
#include <vector>

#include "data/DataList.h"
#include "data/CardSysMode.h"
#include "data/Globals.h"
#include "data/OpenDb.h"
#include "data/SubsidyBatch.h"
#include "data/TableColumns.h"
#include "lang/Language.h"
#include "platform/VbText.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "subsidy/BT_ZhunBei_1.h"
#include "ui/GridOutput.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

constexpr int kDesignWidth = 5400;
constexpr int kDesignHeight = 3180;
const char* const kMonthCleared = "该月份的补贴已经清零，不能再发补贴";

}  // namespace

BT_ZhunBei::BT_ZhunBei() {
    setBackColor(0x00FFF0E0);
    setWidth(kDesignWidth);
    setHeight(kDesignHeight);
    layOut();

    Command1.Click = [this](int) { Command1_Click(); };
    Command2.Click = [this](int) { Command2_Click(); };
}

// Below the batch picker; the kind list is wide enough for the longest of
// the three languages.
void BT_ZhunBei::layOut() {
    Label5.Move(240, 1680, 1500, 300);
    Combo3.Move(1800, 1620, 3360, 345);
    Command1.Move(1560, 2280, 2400, 420);
    Command2.Move(4080, 2280, 1080, 420);
}

void BT_ZhunBei::Form_Load() {
    Set_Lan_Font(*this);
    setCaption(L(103));
    Command1.setCaption(L(103));
    Command2.setCaption(L(2));
    Label5.setCaption(L(18));
    BT = BTService();
    Batch.Load();
    try {
        Fill_Kinds();
    } catch (const std::exception& e) {
        // Which kinds the installation has cannot be told: the window does not open.
        Show_Error(e);
        Unload();
    }
}

void BT_ZhunBei::Fill_Kinds() {
    Combo3.Clear();
    const DataList config = BT.Is_Ci();
    if (config.rowUBound() < 1) return;
    const bool times = Times_Switch_On(config);
    const bool ic = Card_Sys_Mode::number(config(1, config.col(col::Sys_Para::P2))) == Card_Sys_Mode::IC;
    struct Kind {
        int text;
        std::int32_t value;
    };
    std::vector<Kind> kinds;
    if (ic) {
        kinds.push_back({105, B_Unit_Code::IC_Money});
        if (times) kinds.push_back({106, B_Unit_Code::IC_Times});
        kinds.push_back({457, kGroupRechargeIC});
    } else {
        kinds.push_back({104, B_Unit_Code::ID_Money});
        if (times) kinds.push_back({107, B_Unit_Code::ID_Times});
        kinds.push_back({457, kGroupRechargeID});
    }
    for (const Kind& k : kinds) {
        Combo3.AddItem(L(k.text));
        Combo3.setItemData(Combo3.NewIndex(), k.value);
    }
    Combo3.setListIndex(0);
}


void BT_ZhunBei::Command1_Click() {
    if (!Batch.Check()) return;
    const std::string yearText = std::to_string(Cur_B_Year);
    if (BT.Get_BT_bydate(yearText, std::to_string(Cur_B_Month), Cur_B_Times, "selectAll").rowUBound() >= 1) {
        Prompt(L(109));
        return;
    }
    // Without the installation's configuration row there is no kind to offer.
    if (Combo3.ListIndex() < 0) {
        Prompt(L(937));
        Combo3.SetFocus();
        return;
    }
    const std::int32_t item = Combo3.ItemData(Combo3.ListIndex());
    Cur_B_Unit = static_cast<std::int16_t>(item);
    const bool idBatch = item == B_Unit_Code::ID_Money || item == B_Unit_Code::ID_Times || item == kGroupRechargeID;
    if (idBatch && !Batch_Store::Clear_Marker(Main_Connection(), yearText, Cur_B_Month)->eof()) {
        Prompt(kMonthCleared);
        return;
    }
    std::int16_t type = B_Type_Code::Subsidy;
    if (item == kGroupRechargeIC || item == kGroupRechargeID) {
        Cur_B_Unit = item == kGroupRechargeIC ? B_Unit_Code::IC_Money : B_Unit_Code::ID_Money;
        type = B_Type_Code::Group_Recharge;
    }
    if (!Create_Rows(type, idBatch)) return;
    Unload();
    BT_ZhunBei_1::Open_Editor(Cur_B_Unit);
}

bool BT_ZhunBei::Create_Rows(std::int16_t type, bool idBatch) {
    const DataList staff = BT.Get_All_Emp();
    if (staff.rowUBound() < 1) return true;
    const int id = staff.col(col::Ren_Per_Info::Pinfo_ID);
    std::vector<std::string> ids;
    for (int r = 1; r <= staff.rowUBound(); ++r) ids.push_back(staff(r, id));
    // One transaction: a failure leaves no partial batch behind, which
    // would then be refused as existing.
    bool created = false, cleared = false;
    try {
        created = BT.Create_Batch(ids, Stamp_Time(), Op_User_ID, static_cast<std::int16_t>(Cur_B_Year),
                                  static_cast<std::int16_t>(Cur_B_Month),
                                  static_cast<std::int16_t>(std::stoi(Cur_B_Times)), type, Cur_B_Unit, idBatch,
                                  &cleared);
    } catch (const db::DbError&) {
        Prompt(L(110));
        return false;
    }
    // Created, or the month cleared, by another office since the tests above.
    if (cleared) {
        Prompt(kMonthCleared);
        return false;
    }
    if (!created) {
        Prompt(L(109));
        return false;
    }
    Prompt(L(111));
    return true;
}

void BT_ZhunBei::Command2_Click() { Close_Window(*this); }

}  // namespace tolvenk
