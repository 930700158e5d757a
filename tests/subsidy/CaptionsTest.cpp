#include <QFontMetrics>
#include <QWidget>

#include "SubsidyKit.h"
#include "subsidy/BT_Cha_DY.h"
#include "subsidy/BT_Cha_FF.h"
#include "subsidy/BT_DuiYing.h"
#include "subsidy/BT_ID_BF.h"
#include "subsidy/BT_ID_FF.h"
#include "subsidy/BT_QingLing.h"
#include "subsidy/BT_Sum.h"
#include "subsidy/BT_ZhunBei.h"
#include "subsidy/BT_ZhunBei_1.h"
#include "subsidy/BT_ZhunBei_FF.h"
#include "subsidy/BT_ZhunBei_SC.h"
#include "subsidy/BT_ZhunBei_Stop.h"
#include "subsidy/BT_ZhunBei_XG.h"
#include "support/Captions.h"

using namespace tolvenk;

namespace {

class Captions : public test::SubsidyKit<BT_ZhunBei_1> {};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(Captions);

// Every caption of the subsidy windows fits its control in all three
// languages; so do the new batch's kinds, and the terminal query's titles show.
TEST_P(Captions, FitInEveryLanguage) {
    Cur_B_Year = 2026;
    Cur_B_Month = 12;
    Cur_B_Times = "1";
    BT_ZhunBei batch;
    BT_ZhunBei_FF grant;
    BT_ZhunBei_XG modify;
    BT_ZhunBei_SC remove;
    BT_ZhunBei_Stop stop;
    BT_ID_FF idGrant;
    BT_ID_BF idRegrant;
    BT_DuiYing terminals;
    BT_Cha_DY terminalQuery;
    BT_QingLing clearing;
    BT_Cha_FF granted;
    BT_Sum statistics;
    const auto prepare = [&](forms::Form& f) {
        const QFontMetrics fm(batch.Combo3.widget()->font());
        for (int i = 0; &f == &batch && i < batch.Combo3.ListCount(); ++i)
            EXPECT_LE(fm.horizontalAdvance(QString::fromStdString(batch.Combo3.List(i))) + 30, batch.Combo3.widget()->width());
        for (int c = 1; &f == &terminalQuery && c < BT_Cha_DY::colCount; ++c)
            EXPECT_FALSE(terminalQuery.Grid_Info.Cell(0, c).Text().empty());
    };
    EXPECT_EQ(test::badCaptionsInEveryLanguage({&w, &batch, &grant, &modify, &remove, &stop, &idGrant, &idRegrant,
                                                &terminals, &terminalQuery, &clearing, &granted, &statistics},
                                               prepare),
              test::Texts{});
}
