#include "subsidy/BT_ZhunBei_Stop.h"

#include "data/Globals.h"
#include "data/OpenDb.h"
#include "platform/db/DbError.h"
#include "ui/WindowKit.h"

namespace tolvenk {

void BT_ZhunBei_Stop::Command1_Click() {
    if (!Check_Batch()) return;
    if (BT.Get_BT_bydate(Year_Text(), Month_Text(), Cur_B_Times, "SelectAll").rowUBound() < 1) {
        Prompt(L(168));
        return;
    }
    bool stopped = false;
    try {
        stopped = BT.Stop_FF_BT(Op_User_ID, Stamp_Time(), Cur_B_Year, Cur_B_Month, Cur_B_Times);
    } catch (const db::DbError&) {
        stopped = false;
    }
    Prompt(stopped ? L(167) : L(110));
}

}  // namespace tolvenk
