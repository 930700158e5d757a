// The captions of the clearing, query and statistics windows show whole in
// every language.
#include <QFontMetrics>
#include <QWidget>

#include <algorithm>

#include "SubsidyFixture.h"
#include "subsidy/BT_Cha_FF.h"
#include "subsidy/BT_QingLing.h"
#include "subsidy/BT_Sum.h"

using namespace tolvenk;

namespace {

// The captions that are empty or wider than their control, with the room a
// button's frame or a box's tick takes.
std::vector<std::string> badCaptions(const forms::Form& w, const std::vector<const forms::Control*>& others) {
    std::vector<std::string> bad;
    for (forms::Control* c : w.Controls()) {
        if (std::find(others.begin(), others.end(), c) != others.end()) continue;
        std::string text;
        int pad = 0;
        if (auto* l = dynamic_cast<forms::Label*>(c)) text = l->Caption(), pad = 2;
        else if (auto* b = dynamic_cast<forms::CommandButton*>(c)) text = b->Caption(), pad = 12;
        else if (auto* x = dynamic_cast<forms::CheckBox*>(c)) text = x->Caption(), pad = 24;
        else if (auto* o = dynamic_cast<forms::OptionButton*>(c)) text = o->Caption(), pad = 24;
        else continue;
        const int need = QFontMetrics(c->widget()->font()).horizontalAdvance(QString::fromStdString(text)) + pad;
        if (text.empty() || need > c->widget()->width())
            bad.push_back(text + " (" + std::to_string(need) + "/" + std::to_string(c->widget()->width()) + " px)");
    }
    return bad;
}

class ReportCaptions : public test::WindowTest {
protected:
    template <class W>
    void check() {
        W w;
        w.Load();
        // The picker lays out its own labels.
        std::vector<const forms::Control*> picker;
        if constexpr (requires { w.ucDep1; })
            picker = {&w.ucDep1.lblName, &w.ucDep1.lblCode, &w.ucDep1.lblNum, &w.ucDep1.chkAll};
        EXPECT_EQ(badCaptions(w, picker), std::vector<std::string>{}) << w.Caption();
        EXPECT_FALSE(w.Caption().empty());
        w.Unload();
    }
};

}  // namespace

TOLVENK_ON_FILE_ONLY(ReportCaptions);

TEST_P(ReportCaptions, FitTheirControlsInEveryLanguage) {
    for (std::int16_t language : {0, 1, 2}) {
        SCOPED_TRACE(language);
        Load_Lan(language);
        Lan_Type = language;
        check<BT_QingLing>();
        check<BT_Cha_FF>();
        check<BT_Sum>();
    }
}
