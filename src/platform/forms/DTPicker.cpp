#include "platform/forms/Dispatch.h"
#include "platform/forms/DTPicker.h"

#include <QCalendarWidget>
#include <QDateTimeEdit>
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
    value_ = platform::services().clockText().substr(0, 10) + " 00:00:00";
    show();
    onSignal(edit_, &QDateTimeEdit::dateTimeChanged, [this](const QDateTime& dt) {
        const std::string v = dt.toString(kCanonical).toStdString();
        if (v == value_) return;
        value_ = v;
        if (Change) Change(Index);
    });
    new EventHook(edit_->calendarWidget()->window(), [this](QObject*, QEvent* e) {
        if (e->type() == QEvent::Hide && CloseUp) CloseUp(Index);
        return false;
    });
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
    edit_->setDateTimeRange(toQt(min_ + " 00:00:00"), toQt(max_ + " 23:59:59"));
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
