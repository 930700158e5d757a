#include "support/Captions.h"

#include <algorithm>

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocumentFragment>

#include "lang/LangGlobals.h"
#include "lang/Language.h"
#include "platform/forms/CheckBox.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/Control.h"
#include "platform/forms/Frame.h"
#include "platform/forms/Label.h"
#include "platform/forms/OptionButton.h"

namespace tolvenk::test {

namespace {

// A text as a widget that reads shortcut marks shows it.
QString withoutShortcutMarks(const QString& text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) out += text[++i];
            continue;
        }
        out += text[i];
    }
    return out;
}

QString shownBy(const QLabel& l) {
    const bool markup = l.textFormat() == Qt::RichText || (l.textFormat() == Qt::AutoText && Qt::mightBeRichText(l.text()));
    if (markup) return QTextDocumentFragment::fromHtml(l.text()).toPlainText();
    return l.buddy() ? withoutShortcutMarks(l.text()) : l.text();
}

}  // namespace

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
            text = withoutShortcutMarks(b->text());
            needed = fm.horizontalAdvance(text) + 8;  // a margin each side
        } else if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget)) {
            text = static_cast<QAbstractButton*>(widget)->text();
            needed = widget->sizeHint().width();  // with the box
        } else if (auto* g = qobject_cast<QGroupBox*>(widget)) {
            text = withoutShortcutMarks(g->title());
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

std::vector<std::string> changedCaptions(const forms::Form& w) {
    std::vector<std::string> out;
    const auto compare = [&](const std::string& set, const QString& shown) {
        if (shown != QString::fromStdString(set)) out.push_back(set + " -> " + shown.toStdString());
    };
    compare(w.Caption(), w.widget()->windowTitle());
    for (const forms::Control* c : w.Controls()) {
        QWidget* widget = c->widget();
        if (const auto* b = dynamic_cast<const forms::CommandButton*>(c))
            compare(b->Caption(), withoutShortcutMarks(static_cast<QAbstractButton*>(widget)->text()));
        else if (const auto* t = dynamic_cast<const forms::CheckBox*>(c))
            compare(t->Caption(), withoutShortcutMarks(static_cast<QAbstractButton*>(widget)->text()));
        else if (const auto* o = dynamic_cast<const forms::OptionButton*>(c))
            compare(o->Caption(), withoutShortcutMarks(static_cast<QAbstractButton*>(widget)->text()));
        else if (const auto* f = dynamic_cast<const forms::Frame*>(c))
            compare(f->Caption(), withoutShortcutMarks(static_cast<QGroupBox*>(widget)->title()));
        else if (const auto* l = dynamic_cast<const forms::Label*>(c))
            compare(l->Caption(), shownBy(*static_cast<QLabel*>(widget)));
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
