#include "support/ModuleState.h"

#include "data/Globals.h"
#include "data/IcSettlementAlong.h"
#include "data/IcSettlementRun.h"
#include "data/WriteBatch.h"
#include "entry/MenuTable.h"
#include "lang/LangGlobals.h"
#include "platform/db/ReadPieces.h"
#include "platform/db/RowCursor.h"
#include "ui/WindowRegistry.h"

namespace tolvenk::test {

void resetGlobals() {
    Rs_Main.reset();
    Conn_Main.reset();
    Conn_Local.reset();
    strCN.clear();
    strCN_Local.clear();
    DB_Type.clear();
    DB_Provider.clear();
    Op_User_ID = 0;
    Op_User_Name.clear();
    Money_Sign.clear();
    Extra_Timeout = 0;
    Uncertain_Flag = 0;
    gSelPInfoIDs.clear();
    Cur_B_Year = 0;
    Cur_B_Month = 0;
    Cur_B_Times.clear();
    Cur_B_Unit = 0;
    HZ_Format_Changed = false;
    Lang.fill("");
    Lan_Type = 0;
    Lan_Charset = 0;
    Home_Path.clear();
    // Alone until another writer is seen, a server's card sets as long as
    // any batch, and no gaps: short turns by the clock would make batch
    // boundaries depend on the machine's speed.
    Write_Batch::Limits batches;
    batches.alone = batches.quiet = std::chrono::milliseconds(0);
    batches.cards = batches.time;
    Write_Batch::standard() = batches;
    IC_Settlement::Along_Limits::standard() = {};
    IC_Settlement::Short_Turns::standard() = {};
    db::ReadPieces::standardRows() = db::ReadPieces::kRows;
    // A fetch hands over its rows when its batch is full or the rows end:
    // batches cut by the clock would make yields depend on the machine's speed.
    db::RowCursor::patience() = std::chrono::hours(1);
}

void resetWindows() {
    resetWindowObjects();
    for (const MenuEntry& e : menuTable()) registerWindow(e.window, e.factory);
}

void batchesOf(std::int64_t items) {
    Write_Batch::Limits limits;
    limits.items = items;
    limits.time = limits.cards = std::chrono::hours(1);
    limits.alone = limits.quiet = std::chrono::milliseconds(0);  // no gaps
    Write_Batch::standard() = limits;
}

}  // namespace tolvenk::test
