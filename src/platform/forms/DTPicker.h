#pragma once
#include <functional>
#include <string>

#include "platform/forms/Control.h"

class QDateTimeEdit;
class QKeyEvent;

namespace tolvenk::forms {

enum DTFormat { dtpLongDate = 0, dtpShortDate = 1, dtpTime = 2, dtpCustom = 3 };

// A date (and time) picker. The value is text, as the database keeps dates:
// "yyyy-MM-dd" when its time is midnight, else "yyyy-MM-dd hh:mm:ss", the way
// the classic runtime turns a date into text. MinDate and MaxDate bound whole
// days; a value or bound that would leave the range is clamped into it.
class DTPicker : public Control {
public:
    explicit DTPicker(Form& form);

    std::string Value() const;
    // Takes "yyyy-MM-dd", "yyyy-MM-dd hh:mm" or "yyyy-MM-dd hh:mm:ss"; other
    // text is error 380. Fires Change when the (clamped) value differs.
    void setValue(const std::string& v);
    // The date alone, "yyyy-MM-dd".
    std::string Date_Value() const { return value_.substr(0, 10); }
    // Always with the time, "yyyy-MM-dd hh:mm:ss".
    std::string DateTime_Value() const { return value_; }
    int Date_Year() const;
    int Date_Month() const;
    int Date_Day() const;

    std::string MinDate() const { return min_; }
    std::string MaxDate() const { return max_; }
    // Take a date (a time part is ignored); a new bound past the other one
    // moves that one along. A value outside keeps its time, on the bound's day.
    void setMinDate(const std::string& d);
    void setMaxDate(const std::string& d);

    // How the value is shown: one of DTFormat; dtpCustom uses CustomFormat
    // ("yyyy-MM-dd", "HH:mm:ss", "HH:mm", ...).
    int Format() const { return format_; }
    void setFormat(int f);
    std::string CustomFormat() const { return custom_; }
    // Also switches the format to dtpCustom.
    void setCustomFormat(const std::string& f);

    // A changed value, from code as from a person.
    std::function<void(int)> Change;
    // The calendar a person opened has closed.
    std::function<void(int)> CloseUp;

protected:
    void saveOwnDesign() override { design_ = {value_, min_, max_, format_, custom_}; }
    void restoreOwnDesign() override;

private:
    void assign(std::string canonical);
    void show();
    void showBounds();
    bool typedOver(const QKeyEvent& key);
    QDateTimeEdit* edit_;
    // "yyyy-MM-dd hh:mm:ss" and "yyyy-MM-dd": fixed width, so text order is time order.
    std::string value_, min_ = "1601-01-01", max_ = "9999-12-31";
    int format_ = dtpShortDate;
    std::string custom_;
    struct {
        std::string value, min, max;
        int format;
        std::string custom;
    } design_;
};

}  // namespace tolvenk::forms
