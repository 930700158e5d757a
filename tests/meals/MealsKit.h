#pragma once
// What the meal-window tests share: the boxes shown since the last look, a
// click where a person would click, and captions measured in their font.
#include <QApplication>
#include <QFontMetrics>
#include <QTest>
#include <QWidget>

#include <string>
#include <vector>

#include "lang/LangGlobals.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "support/Fixtures.h"

namespace tolvenk::test {

// The prompts of the boxes shown since the last call, each checked for its
// style and title; then forgotten.
inline std::vector<std::string> takeBoxes(TestServices& sv, std::vector<int>* styles = nullptr) {
    std::vector<std::string> prompts;
    for (const auto& b : sv.boxes) {
        prompts.push_back(b.prompt);
        if (styles) styles->push_back(b.style);
    }
    sv.boxes.clear();
    return prompts;
}

// At the middle, or `x` pixels from the left edge (a check box takes clicks
// on its box and caption only, not on the rest of its width).
inline void clickOnScreen(forms::Control& c, int x = -1) {
    QWidget* widget = c.widget();
    QPoint at = widget->rect().center();
    if (x >= 0) at.setX(x);
    ASSERT_EQ(QApplication::widgetAt(widget->mapToGlobal(at)), widget) << "covered or hidden";
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
}

// The captions that are empty or wider than their control, as "caption (need/have px)".
inline std::vector<std::string> badCaptions(const forms::Form& w) {
    std::vector<std::string> bad;
    for (forms::Control* c : w.Controls()) {
        std::string text;
        int pad = 0;
        if (auto* l = dynamic_cast<forms::Label*>(c)) text = l->Caption();
        else if (auto* b = dynamic_cast<forms::CommandButton*>(c)) text = b->Caption(), pad = 12;
        else if (auto* x = dynamic_cast<forms::CheckBox*>(c)) text = x->Caption(), pad = 24;
        else if (auto* o = dynamic_cast<forms::OptionButton*>(c)) text = o->Caption(), pad = 24;
        else if (auto* f = dynamic_cast<forms::Frame*>(c)) text = f->Caption(), pad = 20;
        else continue;
        const int need = QFontMetrics(c->widget()->font()).horizontalAdvance(QString::fromStdString(text)) + pad;
        const int have = c->Width() / forms::kTwipsPerPixel;
        if (text.empty() || need > have)
            bad.push_back(text + " (" + std::to_string(need) + "/" + std::to_string(have) + " px)");
    }
    return bad;
}

}  // namespace tolvenk::test
