#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QProgressBar>

#include "platform/Error.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/services/Application.h"
#include "platform/services/QtServices.h"
#include "support/Screen.h"
#include "support/TestServices.h"

using namespace tolvenk;
using namespace tolvenk::forms;

namespace {

struct ControlsWindow : Form {
    DTPicker DTPicker1{*this};
    ProgressBar ProgressBar1{*this};
    TextBox Text1{*this};
    Label Label1{*this};
    Frame Frame1{*this};
    PictureBox Picture1{*this};
    CommandButton Command1{*this};
    CheckBox Check1{*this};
    Line Line1{*this};
    std::vector<std::string> log;

    ControlsWindow() {
        DTPicker1.setValue("2026-03-15");
        DTPicker1.Change = [this](int) { log.push_back("change " + DTPicker1.Value()); };
        DTPicker1.CloseUp = [this](int) { log.push_back("closed"); };
        Command1.setContainer(Frame1);
        Check1.setContainer(Picture1);
        Command1.Click = [this](int) { log.push_back("command"); };
    }
};

void type(QWidget* w, char c) {
    QKeyEvent e(QEvent::KeyPress, c == '\r' ? Qt::Key_Return : Qt::Key_unknown, Qt::NoModifier, QString(QChar(c)));
    QCoreApplication::sendEvent(w, &e);
}

}  // namespace

TEST(DTPicker, ValueIsDateTextUnlessItHasATime) {
    ControlsWindow w;
    EXPECT_EQ(w.DTPicker1.Value(), "2026-03-15");
    w.DTPicker1.setValue("2026-03-15 08:30");
    EXPECT_EQ(w.DTPicker1.Value(), "2026-03-15 08:30:00");
    EXPECT_EQ(w.DTPicker1.Date_Value(), "2026-03-15");
    EXPECT_EQ(w.DTPicker1.Date_Year(), 2026);
    EXPECT_EQ(w.DTPicker1.Date_Month(), 3);
    EXPECT_THROW(w.DTPicker1.setValue("15/03/2026"), VbError);
    EXPECT_THROW(w.DTPicker1.setValue("2026-02-30"), VbError);

    w.DTPicker1.setCustomFormat("HH:mm");  // shows the time; keeps the date
    EXPECT_EQ(w.DTPicker1.Format(), dtpCustom);
    EXPECT_EQ(w.DTPicker1.Value(), "2026-03-15 08:30:00");
    EXPECT_EQ(w.log, (std::vector<std::string>{"change 2026-03-15 08:30:00"}));
}

TEST(DTPicker, BoundsClampTheValueAndEachOther) {
    ControlsWindow w;
    w.DTPicker1.setValue("2026-03-15 10:00:00");
    w.DTPicker1.setMinDate("2026-04-01");
    EXPECT_EQ(w.DTPicker1.Value(), "2026-04-01 10:00:00");  // the day moves, the time stays
    w.DTPicker1.setMaxDate("2026-04-30 12:00:00");  // whole days: the time is no bound
    w.DTPicker1.setValue("2026-04-30 23:00:00");
    EXPECT_EQ(w.DTPicker1.Value(), "2026-04-30 23:00:00");
    w.DTPicker1.setValue("2027-01-01");
    EXPECT_EQ(w.DTPicker1.Value(), "2026-04-30");
    w.DTPicker1.setMinDate("2026-06-01");  // past the maximum: takes it along
    EXPECT_EQ(w.DTPicker1.MaxDate(), "2026-06-01");
    EXPECT_EQ(w.DTPicker1.Value(), "2026-06-01");
    EXPECT_EQ(w.log, (std::vector<std::string>{"change 2026-03-15 10:00:00", "change 2026-04-01 10:00:00",
                                               "change 2026-04-30 23:00:00", "change 2026-04-30",
                                               "change 2026-06-01"}));
}

TEST(DTPicker, APersonsPickIsTheValueAndUnloadRestoresTheDesign) {
    ControlsWindow w;
    w.Load();
    auto* edit = static_cast<QDateTimeEdit*>(w.DTPicker1.widget());
    EXPECT_EQ(edit->date(), QDate(2026, 3, 15));
    edit->setDateTime(QDateTime(QDate(2026, 5, 2), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(w.DTPicker1.Value(), "2026-05-02");
    QWidget* calendar = edit->calendarWidget()->window();
    calendar->show();
    calendar->hide();
    w.DTPicker1.setMaxDate("2026-05-01");
    EXPECT_EQ(edit->calendarWidget()->maximumDate(), QDate(2026, 5, 1));
    EXPECT_EQ(edit->date(), QDate(2026, 5, 1));
    w.Unload();
    EXPECT_EQ(w.DTPicker1.Value(), "2026-03-15");
    EXPECT_EQ(w.DTPicker1.MaxDate(), "9999-12-31");
    EXPECT_EQ(w.log, (std::vector<std::string>{"change 2026-05-02", "closed", "change 2026-05-01"}));
}

// Typed with the keyboard (all selected, the text, Tab), a day outside the
// bounds takes the nearest bound and shows it; a day inside stays itself,
// whatever the picker shows.
TEST(DTPicker, ATypedDayOutsideTheBoundsTakesTheNearestBoundVisibly) {
    struct Case {
        int format;
        const char* custom;
        const char* typed;
        const char* value;
    };
    const Case cases[] = {
        {dtpShortDate, "", "2026-02-03", "2026-03-01"},
        {dtpShortDate, "", "2025-12-24", "2026-03-01"},
        {dtpShortDate, "", "2026-05-07", "2026-05-07"},
        {dtpShortDate, "", "2027-01-15", "2026-12-31"},
        {dtpCustom, "yyyy-MM-dd HH:mm:ss", "2026-01-15 08:30:00", "2026-03-01 08:30:00"},
        {dtpCustom, "yyyy-MM-dd HH:mm:ss", "2026-07-15 08:30:00", "2026-07-15 08:30:00"},
        {dtpCustom, "yyyy/MM/dd", "2026/02/28", "2026-03-01"},
        {dtpCustom, "yyyy/MM/dd", "2026/11/30", "2026-11-30"},
    };
    for (const Case& c : cases) {
        ControlsWindow w;
        w.Load();
        w.DTPicker1.setMinDate("2026-03-01");
        w.DTPicker1.setMaxDate("2026-12-31");
        w.DTPicker1.setValue("2026-06-10");
        if (c.format == dtpCustom) w.DTPicker1.setCustomFormat(c.custom);
        else w.DTPicker1.setFormat(c.format);
        auto* edit = static_cast<QDateTimeEdit*>(w.DTPicker1.widget());
        test::whileShown(w, [&] {
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(edit, c.typed);
            QTest::keyClick(edit, Qt::Key_Tab);
            QApplication::processEvents();
            EXPECT_EQ(w.DTPicker1.Value(), c.value) << c.typed;
            EXPECT_EQ(edit->date().toString("yyyy-MM-dd").toStdString(), std::string(c.value).substr(0, 10))
                << "shown: " << edit->text().toStdString();
        });
    }
}

TEST(ProgressBar, ValueStaysWithinZeroAndMax) {
    ControlsWindow w;
    ProgressBar& p = w.ProgressBar1;
    p.setMax(10);
    p.setValue(12);
    EXPECT_EQ(p.Value(), 10);
    p.setValue(-1);
    EXPECT_EQ(p.Value(), 0);
    p.setValue(7);
    p.setMax(5);
    EXPECT_EQ(p.Value(), 5);
    EXPECT_EQ(static_cast<QProgressBar*>(p.widget())->value(), 5);
    p.setMax(0);  // nothing to do yet: an empty bar, not a busy one
    EXPECT_EQ(p.Value(), 0);
    EXPECT_EQ(static_cast<QProgressBar*>(p.widget())->maximum(), 1);
}

TEST(TextBox, KeyPressCanDropOrReplaceATypedKey) {
    ControlsWindow w;
    std::vector<int> seen;
    w.Text1.KeyPress = [&](int, int& key) {
        seen.push_back(key);
        if (key == '-') key = 0;
        else if (key >= 'a' && key <= 'z') key -= 32;
    };
    QWidget* edit = w.Text1.widget();
    for (char c : {'1', '-', 'b', '\r'}) type(edit, c);
    EXPECT_EQ(w.Text1.Text(), "1B");
    EXPECT_EQ(seen, (std::vector<int>{'1', '-', 'b', 13}));

    w.Text1.setMaxLength(3);
    type(edit, 'c');
    type(edit, 'd');
    EXPECT_EQ(w.Text1.Text(), "1BC");
    w.Text1.setText("abcdef");
    EXPECT_EQ(w.Text1.Text(), "abc");
    EXPECT_EQ(static_cast<QLineEdit*>(edit)->text(), "abc");
}

TEST(Controls, ColoursAreBlueGreenRedAndGoBackOnUnload) {
    ControlsWindow w;
    w.Load();
    w.Frame1.setBackColor(0x0000FF);
    w.Text1.setBackColor(0xFF0000);
    w.Label1.setForeColor(0x00FF00);
    w.setBackColor(0x808080);
    EXPECT_EQ(w.Frame1.widget()->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(w.Text1.widget()->palette().color(QPalette::Base), QColor(0, 0, 255));
    EXPECT_EQ(w.Label1.widget()->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    EXPECT_EQ(w.Frame1.BackColor(), 0x0000FFu);
    EXPECT_EQ(w.BackColor(), 0x808080u);
    const QColor plain = w.Check1.widget()->palette().color(QPalette::Window);
    EXPECT_EQ(w.Check1.BackColor(), fromQColor(plain));

    w.Unload();
    EXPECT_NE(w.Frame1.widget()->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_NE(w.Label1.widget()->palette().color(QPalette::WindowText), QColor(0, 255, 0));
}

TEST(Controls, ADisabledContainerDisablesWhatItHolds) {
    ControlsWindow w;
    w.Frame1.setEnabled(false);
    w.Picture1.setEnabled(false);
    EXPECT_FALSE(w.Command1.widget()->isEnabled());
    EXPECT_FALSE(w.Check1.widget()->isEnabled());
    EXPECT_TRUE(w.Command1.Enabled());  // its own setting is untouched
    w.Command1.click();
    w.Frame1.setEnabled(true);
    w.Command1.click();
    EXPECT_EQ(w.log, (std::vector<std::string>{"command"}));
    w.Picture1.setVisible(false);
    EXPECT_FALSE(w.Check1.widget()->isVisibleTo(w.widget()));
}

TEST(Controls, LineBoxFollowsItsPoints) {
    ControlsWindow w;
    w.Line1.setPoints(3000, 1500, 150, 1500);
    EXPECT_EQ(w.Line1.widget()->geometry(), QRect(10, 100, 191, 1));
    w.Line1.setY2(3000);
    EXPECT_EQ(w.Line1.widget()->geometry(), QRect(10, 100, 191, 101));
    w.Line1.setBorderColor(0xFF);
    EXPECT_EQ(w.Line1.BorderColor(), 0xFFu);
}

// A handler's error during a person's click is shown, and the program goes on.
TEST(HandlerErrors, AreShownNotFatal) {
    tolvenk::test::ServicesScope sv;
    tolvenk::forms::Form w;
    ASSERT_TRUE(tolvenk::platform::handlerErrorsGuarded());
    tolvenk::forms::CommandButton b(w);
    b.Click = [](int) { throw tolvenk::VbError(3146, "database gone"); };
    auto* button = static_cast<QPushButton*>(b.widget());
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    QApplication::sendEvent(button, &release);
    ASSERT_EQ(sv->boxes.size(), 1u);
    // No text table is loaded here: the module's English sentence, the runtime's number below.
    EXPECT_EQ(sv->boxes[0].prompt, "An unexpected error stopped this step.\nError number 3146");
    EXPECT_EQ(sv->boxes[0].title, "Tolvenk");
    EXPECT_EQ(sv->boxes[0].style, 16);
}

// A caption shows as written on every control kind that has one: an '&' is
// an ampersand, never a shortcut mark, and markup in a label is text; each
// reads back as it was set, and a message box shows its prompt as written.
TEST(Controls, CaptionsShowAsWrittenAndReadBackAsSet) {
    struct CaptionWindow : Form {
        CommandButton Command1{*this};
        CheckBox Check1{*this};
        OptionButton Option1{*this};
        Frame Frame1{*this};
        Label Label1{*this};
    } w;
    const std::string caption = "R&D & <b>Sales</b>";
    const QString doubled = "R&&D && <b>Sales</b>";
    w.Command1.setCaption(caption);
    w.Check1.setCaption(caption);
    w.Option1.setCaption(caption);
    w.Frame1.setCaption(caption);
    w.Label1.setCaption(caption);
    for (const std::string& back :
         {w.Command1.Caption(), w.Check1.Caption(), w.Option1.Caption(), w.Frame1.Caption(), w.Label1.Caption()})
        EXPECT_EQ(back, caption);
    for (const Control* c : std::initializer_list<const Control*>{&w.Command1, &w.Check1, &w.Option1})
        EXPECT_EQ(static_cast<QAbstractButton*>(c->widget())->text(), doubled);
    EXPECT_EQ(static_cast<QGroupBox*>(w.Frame1.widget())->title(), doubled);
    const auto* label = static_cast<QLabel*>(w.Label1.widget());
    EXPECT_EQ(label->text(), QString::fromStdString(caption));
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_EQ(label->buddy(), nullptr);

    platform::ensureApplication();
    EXPECT_EQ(platform::messageBox(caption, platform::vbOKOnly, "")->textFormat(), Qt::PlainText);
}
