#include "platform/forms/Dispatch.h"
#include "platform/forms/DTPicker.h"

#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QSignalBlocker>

#include "platform/Error.h"
#include "platform/forms/EventHook.h"
#include "platform/forms/Form.h"
#include "platform/services/Services.h"

namespace tolvenk::forms {

namespace {
const QString kCanonical = QStringLiteral("yyyy-MM-dd hh:mm:ss");

// Any accepted text as "yyyy-MM-dd hh:mm:ss"; empty when it is no date.
std::string canonical(const std::string& text) {
    const QString t = QString::fromStdString(text).trimmed();
    for (const char* f : {"yyyy-MM-dd hh:mm:ss", "yyyy-MM-dd hh:mm", "yyyy-MM-dd"}) {
        const QDateTime dt = QDateTime::fromString(t, QString::fromLatin1(f));
        if (dt.isValid()) return dt.toString(kCanonical).toStdString();
    }
    return {};
}

std::string dateOf(const std::string& text) {
    const std::string c = canonical(text);
    if (c.empty()) throw VbError(380, "Invalid property value");
    return c.substr(0, 10);
}

QDateTime toQt(const std::string& canonicalText) {
    QDateTime dt = QDateTime::fromString(QString::fromStdString(canonicalText), kCanonical);
    dt.setTimeSpec(Qt::UTC);  // no daylight-saving gaps in a picked wall-clock time
    return dt;
}

// The custom format letters differ from Qt's only in the AM/PM marker.
QString qtFormat(const std::string& custom) { return QString::fromStdString(custom).replace("tt", "AP"); }
}  // namespace

DTPicker::DTPicker(Form& form)
    : Control(form, new QDateTimeEdit(form.widget())), edit_(static_cast<QDateTimeEdit*>(widget())) {
    edit_->setTimeSpec(Qt::UTC);
    edit_->setCalendarPopup(true);
    // The bounds are ours, not the edit's: given a range, the edit turns a
    // typed day outside it into some other day inside it, with no sign. A
    // typed value is taken when the typing ends and clamped visibly here.
    edit_->setDateTimeRange(toQt("1601-01-01 00:00:00"), toQt("9999-12-31 23:59:59"));
    edit_->setKeyboardTracking(false);
    value_ = platform::services().clockText().substr(0, 10) + " 00:00:00";
    show();
    onSignal(edit_, &QDateTimeEdit::dateTimeChanged, [this](const QDateTime& dt) {
        assign(dt.toString(kCanonical).toStdString());
    });
    new EventHook(edit_, [this](QObject*, QEvent* e) {
        return e->type() == QEvent::KeyPress && typedOver(*static_cast<QKeyEvent*>(e));
    });
    new EventHook(edit_->calendarWidget()->window(), [this](QObject*, QEvent* e) {
        // The edit gives its popup its own (whole) range as it opens it.
        if (e->type() == QEvent::Show) showBounds();
        if (e->type() == QEvent::Hide && CloseUp) CloseUp(Index);
        return false;
    });
}

// A clerk selects all and types the whole value. The edit takes keys into
// one field at a time and drops them when all is selected (the year typed
// first is lost), and a separator typed right after it moved on by itself
// skips the next field: so typing over all starts in the first field, and
// such a separator is only the one passed.
bool DTPicker::typedOver(const QKeyEvent& key) {
    if (key.text().isEmpty() || !key.text().at(0).isPrint() ||
        (key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)))
        return false;
    const QLineEdit* line = edit_->findChild<QLineEdit*>();
    if (!line) return false;
    if (line->hasSelectedText() && line->selectedText() == line->text()) {
        edit_->setSelectedSection(edit_->sectionAt(0));
        return false;
    }
    const QChar c = key.text().at(0);
    if (c.isLetterOrNumber()) return false;
    const int at = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
    return at > 0 && line->text().at(at - 1) == c;
}

void DTPicker::showBounds() {
    QCalendarWidget* calendar = edit_->calendarWidget();  // none while only a time shows
    if (!calendar) return;
    const QSignalBlocker block(calendar);
    calendar->setDateRange(toQt(min_ + " 00:00:00").date(), toQt(max_ + " 00:00:00").date());
}

std::string DTPicker::Value() const {
    return value_.compare(11, 8, "00:00:00") == 0 ? value_.substr(0, 10) : value_;
}

void DTPicker::setValue(const std::string& v) {
    const std::string c = canonical(v);
    if (c.empty()) throw VbError(380, "Invalid property value");
    assign(c);
}

void DTPicker::assign(std::string c) {
    if (c.compare(0, 10, min_) < 0) c.replace(0, 10, min_);
    if (c.compare(0, 10, max_) > 0) c.replace(0, 10, max_);
    const bool changed = c != value_;
    value_ = std::move(c);
    show();
    if (changed && Change) Change(Index);
}

int DTPicker::Date_Year() const { return std::stoi(value_.substr(0, 4)); }
int DTPicker::Date_Month() const { return std::stoi(value_.substr(5, 2)); }
int DTPicker::Date_Day() const { return std::stoi(value_.substr(8, 2)); }

void DTPicker::setMinDate(const std::string& d) {
    min_ = dateOf(d);
    if (max_ < min_) max_ = min_;
    assign(value_);
}

void DTPicker::setMaxDate(const std::string& d) {
    max_ = dateOf(d);
    if (min_ > max_) min_ = max_;
    assign(value_);
}

void DTPicker::setFormat(int f) {
    if (f < dtpLongDate || f > dtpCustom) throw VbError(380, "Invalid property value");
    format_ = f;
    show();
}

void DTPicker::setCustomFormat(const std::string& f) {
    custom_ = f;
    format_ = dtpCustom;
    show();
}

void DTPicker::show() {
    const QSignalBlocker block(edit_);
    edit_->setDateTime(toQt(value_));
    switch (format_) {
    case dtpLongDate: edit_->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat)); break;
    case dtpTime: edit_->setDisplayFormat("HH:mm:ss"); break;
    case dtpCustom:
        if (!custom_.empty()) {
            edit_->setDisplayFormat(qtFormat(custom_));
            break;
        }
        [[fallthrough]];
    default: edit_->setDisplayFormat("yyyy-MM-dd"); break;
    }
    showBounds();  // last: the edit gives its calendar its own range with each change
}

void DTPicker::restoreOwnDesign() {
    value_ = design_.value;
    min_ = design_.min;
    max_ = design_.max;
    format_ = design_.format;
    custom_ = design_.custom;
    show();
}

}  // namespace tolvenk::forms
