#include <QFontMetrics>
#include <QWidget>

#include "EmployeeStatsFixture.h"
#include "lang/Language.h"
#include "support/Captions.h"

using namespace tolvenk;

namespace {

using EmployeeWindow = test::EmployeeStatsFixture;

bool ascii(const std::string& s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

TOLVENK_ON_BOTH_ENGINES(EmployeeWindow);

TEST_P(EmployeeWindow, LoadPreparesPickersModesAndMonthTexts) {
    Conn_Main->execute("update Sys_Para set P1='2026-03-15' where Para_Name='JieSuan_Date'");
    w.Load();
    EXPECT_EQ(w.DTPicker1.DateTime_Value(), "2026-07-15 09:30:00");
    EXPECT_TRUE(w.Option1(0).Value());
    EXPECT_TRUE(w.Check1.Visible());
    EXPECT_FALSE(w.Text1.Visible());
    EXPECT_FALSE(w.Pic_1.Visible());
    EXPECT_EQ(w.DTPicker1.MinDate(), "2026-03-15");
    EXPECT_EQ(w.Grid1.Rows(), 1);
    EXPECT_EQ(w.Grid1.Cols(), 26);

    w.Option1(1).setValue(true);
    EXPECT_EQ(w.DTPicker2.MinDate(), "2026-04-01");
    EXPECT_TRUE(w.Text2.Visible());
    EXPECT_EQ(w.Text1.Text(), "2026年7月");
    w.DTPicker1.setValue("2026-07-19");
    EXPECT_EQ(w.DTPicker1.DateTime_Value(), "2026-07-01 00:00:00");
    w.DTPicker2.setValue("2026-08-19");
    EXPECT_EQ(w.DTPicker2.Date_Value(), "2026-08-19");
    EXPECT_EQ(w.Text2.Text(), "2026年8月");
    w.Option1(2).setValue(true);
    EXPECT_EQ(w.DTPicker1.MinDate(), "2026-03-15");
    EXPECT_FALSE(w.Text1.Visible());
    w.DTPicker1.setValue("2026-09-19");  // not moved; the hidden month text follows
    EXPECT_EQ(w.DTPicker1.Date_Value(), "2026-09-19");
    EXPECT_EQ(w.Text1.Text(), "2026年9月");

    w.Unload();
    Conn_Main->execute("update Sys_Para set P1='2026-03-01' where Para_Name='JieSuan_Date'");
    Conn_Main->execute("update Sys_Para set P5='0' where Para_Name='Sys_Config'");
    w.Load();
    EXPECT_TRUE(w.Option1(0).Value());
    w.Option1(1).setValue(true);
    EXPECT_EQ(w.DTPicker1.MinDate(), "2026-03-01");
    EXPECT_FALSE(w.Check1.Visible());
    w.Command3.click();
    EXPECT_FALSE(w.Loaded());
}

// Every caption, and the month texts, fit in each language; in English only
// the designer's Chinese texts are left.
TEST_P(EmployeeWindow, CaptionsFitInEveryLanguage) {
    const auto months = [&](forms::Form&) {
        w.Option1(1).setValue(true);
        w.DTPicker1.setValue("2026-12-28");
        for (forms::TextBox* t : {&w.Text1, &w.Text2})
            EXPECT_LE(QFontMetrics(t->widget()->font()).horizontalAdvance(QString::fromStdString(t->Text())) + 8,
                      t->widget()->width());
    };
    EXPECT_EQ(test::badCaptionsInEveryLanguage({&w}, months), test::Texts{});

    Load_Lan(1);
    Lan_Type = 1;
    w.Load();
    months(w);
    std::vector<std::string> texts = {w.Caption(), w.Frame2.Caption(), w.Label1(1).Caption(), w.Command1.Caption(),
                                      w.Command3.Caption(), w.Option1(0).Caption(), w.Option1(1).Caption()};
    for (forms::CheckBox* b : {&w.Check1, &w.Check2, &w.Check3, &w.Check4}) texts.push_back(b->Caption());
    w.Init_Emp_Grid();
    for (int c = 1; c <= 24; ++c)
        if (c != 7 && c != 12) texts.push_back(w.Grid1.Cell(0, c).Text());
    for (const std::string& t : texts) EXPECT_TRUE(ascii(t) && !t.empty()) << t;
    EXPECT_EQ(w.Grid1.Cell(0, 25).Text(), "水控转款");
    EXPECT_EQ(w.Text1.Text(), "2026Year12Month");
}
