#include "MealsKit.h"
#include "lang/Language.h"
#include "meals/DC_Cha_Sum.h"
#include "meals/DC_ShiDuan.h"
#include "meals/DC_TeShu.h"
#include "meals/DC_ZhengChang.h"
#include "meals/XF_SetTime.h"

using namespace tolvenk;

namespace {

class MealsCaptions : public test::WindowTest {
protected:
    template <class W>
    void check(std::int16_t language) {
        W w;
        w.Load();
        EXPECT_EQ(test::badCaptions(w), std::vector<std::string>{}) << w.Caption() << " language " << language;
        EXPECT_FALSE(w.Caption().empty());
        w.Unload();
    }
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(MealsCaptions);

// Every caption shows whole in each language, the panels' included.
TEST_P(MealsCaptions, FitTheirControlsInEveryLanguage) {
    for (std::int16_t language : {0, 1, 2}) {
        Load_Lan(language);
        Lan_Type = language;
        check<XF_SetTime>(language);
        check<DC_ShiDuan>(language);
        check<DC_ZhengChang>(language);
        check<DC_TeShu>(language);
        check<DC_Cha_Sum>(language);
    }
}
