#include "meals/DC_Cha_Sum.h"
#include "meals/DC_ShiDuan.h"
#include "meals/DC_TeShu.h"
#include "meals/DC_ZhengChang.h"
#include "meals/XF_SetTime.h"
#include "support/Captions.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

class MealsCaptions : public test::WindowTest {};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(MealsCaptions);

// Every caption shows whole in each language, the panels' included.
TEST_P(MealsCaptions, FitTheirControlsInEveryLanguage) {
    XF_SetTime times;
    DC_ShiDuan meals;
    DC_ZhengChang week;
    DC_TeShu days;
    DC_Cha_Sum summary;
    EXPECT_EQ(test::badCaptionsInEveryLanguage({&times, &meals, &week, &days, &summary}), test::Texts{});
}
