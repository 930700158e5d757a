#include "subsidy/BT_ZhunBei_FF.h"

#include "data/Globals.h"
#include "data/OpenDb.h"
#include "data/SubsidyBatch.h"
#include "data/TableColumns.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "ui/WindowKit.h"

namespace tolvenk {

void BT_ZhunBei_FF::Command1_Click() {
    if (!Check_Batch()) return;
    const DataList prepared = BT.Get_BT_bydate(Year_Text(), Month_Text(), Cur_B_Times, "");
    if (prepared.rowUBound() < 1) {
        Prompt(L(59));
        return;
    }
    const int kind = static_cast<int>(vbVal(prepared(1, prepared.col(col::BuTie_OK::B_Unit))));
    if (!B_Unit_Code::isIC(kind)) {
        Prompt(L(162));
        return;
    }
    // Each row is handed over by one statement: after a failure the rows
    // already handed over stay so, and a repeat goes on with the prepared ones.
    std::int16_t result = 0;
    try {
        result = BT.Update_FF(Stamp_Time(), Op_User_ID, Cur_B_Year, Cur_B_Month, Cur_B_Times,
                              std::to_string(kind));
    } catch (const db::DbError&) {
        result = 0;
    }
    Prompt(result == 2 ? L(159) : result == 1 ? L(161) : L(160));
}

}  // namespace tolvenk
