#include "support/Captions.h"

#include <algorithm>

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "lang/LangGlobals.h"
#include "lang/Language.h"
#include "platform/forms/Control.h"

namespace tolvenk::test {

std::vector<std::string> badCaptions(const forms::Form& w, const std::vector<const forms::Control*>& leftEmpty) {
    std::vector<std::string> out;
    for (const forms::Control* c : w.Controls()) {
        if (std::find(leftEmpty.begin(), leftEmpty.end(), c) != leftEmpty.end()) {
            if (auto* l = qobject_cast<QLabel*>(c->widget()); !l || !l->text().isEmpty())
                out.push_back("a caption left empty in this language is not: at " + std::to_string(c->Left()) + "," +
                              std::to_string(c->Top()));
            continue;
        }
        QWidget* widget = c->widget();
        const QFontMetrics fm(widget->font());
        QString text;
        int needed = 0;
        if (auto* l = qobject_cast<QLabel*>(widget)) {
            text = l->text();
            needed = fm.horizontalAdvance(text) + widget->width() - widget->contentsRect().width();
        } else if (auto* b = qobject_cast<QPushButton*>(widget)) {
            text = b->text();
            needed = fm.horizontalAdvance(text) + 8;  // a margin each side
        } else if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget)) {
            text = static_cast<QAbstractButton*>(widget)->text();
            needed = widget->sizeHint().width();  // with the box
        } else if (auto* g = qobject_cast<QGroupBox*>(widget)) {
            text = g->title();
            if (text.isEmpty()) continue;  // a plain frame around controls
            needed = fm.horizontalAdvance(text) + 16;
        } else {
            continue;
        }
        if (text.trimmed().isEmpty())
            out.push_back("an empty caption at " + std::to_string(c->Left()) + "," + std::to_string(c->Top()));
        else if (needed > widget->width())
            out.push_back(text.toStdString() + ": " + std::to_string(needed) + " > " + std::to_string(widget->width()));
    }
    return out;
}

std::vector<std::string> badCaptionsInEveryLanguage(const std::vector<forms::Form*>& windows,
                                                    const std::function<void(forms::Form&)>& prepare) {
    std::vector<std::string> out;
    for (std::int16_t language : {0, 1, 2}) {
        Load_Lan(language);
        Lan_Type = language;
        for (forms::Form* w : windows) {
            w->Load();
            if (prepare) prepare(*w);
            const std::string where = "language " + std::to_string(language) + ", " + w->Caption() + ": ";
            if (w->Caption().empty()) out.push_back(where + "no window caption");
            for (const std::string& bad : badCaptions(*w)) out.push_back(where + bad);
            w->Unload();
        }
    }
    Load_Lan(0);
    Lan_Type = 0;
    return out;
}

}  // namespace tolvenk::test
