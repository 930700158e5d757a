#include "cards/CardLog_Cha.h"
#include "cards/Card_GeRen_CX.h"
#include "cards/Card_Type.h"
#include "support/Captions.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

class CardsCaptions : public test::WindowTest {};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(CardsCaptions);

// Every caption of the card windows, the meal-order kind's panel included,
// fits its control in all three languages.
TEST_P(CardsCaptions, FitInEveryLanguage) {
    con->execute("insert into Sys_Para(Para_Name,P2,P5) values ('Sys_Config','3','1')");
    CardLog_Cha log;
    Card_GeRen_CX history;
    Card_Type kinds;
    EXPECT_EQ(test::badCaptionsInEveryLanguage({&log, &history, &kinds}), test::Texts{});
}
