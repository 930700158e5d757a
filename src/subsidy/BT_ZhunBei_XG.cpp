#include "subsidy/BT_ZhunBei_XG.h"

#include "data/Globals.h"
#include "data/TableColumns.h"
#include "platform/db/SqlText.h"
#include "subsidy/BT_ZhunBei_1.h"
#include "ui/WindowKit.h"

namespace tolvenk {

void BT_ZhunBei_XG::Command1_Click() {
    if (!Check_Batch()) return;
    const DataList prepared = BT.Get_BT_bydate(Year_Text(), Month_Text(), Cur_B_Times, "");
    if (prepared.rowUBound() < 1) {
        Prompt(L(171));
        return;
    }
    Cur_B_Unit = static_cast<std::int16_t>(vbVal(prepared(1, prepared.col(col::BuTie_OK::B_Unit))));
    Unload();
    BT_ZhunBei_1::Open_Editor(Cur_B_Unit);
}

}  // namespace tolvenk
