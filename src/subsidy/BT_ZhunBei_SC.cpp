#include "subsidy/BT_ZhunBei_SC.h"

#include "data/Globals.h"
#include "platform/db/DbError.h"
#include "ui/WindowKit.h"

namespace tolvenk {

void BT_ZhunBei_SC::Command1_Click() {
    if (!Check_Batch()) return;
    if (BT.Get_BT_bydate(Year_Text(), Month_Text(), Cur_B_Times, "").rowUBound() < 1) {
        Prompt(L(165));
        return;
    }
    bool deleted = false;
    try {
        deleted = BT.Delete_BT_OK(Cur_B_Year, Cur_B_Month, Cur_B_Times);
    } catch (const db::DbError&) {
        deleted = false;
    }
    Prompt(deleted ? L(164) : L(110));
}

}  // namespace tolvenk
