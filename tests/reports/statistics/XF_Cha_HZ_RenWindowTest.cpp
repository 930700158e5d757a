#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "EmployeeStatsFixture.h"
#include "lang/Language.h"

using namespace tolvenk;

namespace {

using EmployeeWindow = test::EmployeeStatsFixture;

bool ascii(const std::string& s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

// The room a caption needs in its control, in pixels.
int needed(QWidget* w) {
    const QFontMetrics fm(w->font());
    if (auto* b = qobject_cast<QPushButton*>(w)) return fm.horizontalAdvance(b->text()) + 8;
    if (auto* g = qobject_cast<QGroupBox*>(w)) return fm.horizontalAdvance(g->title()) + 16;
    if (auto* e = qobject_cast<QLineEdit*>(w)) return fm.horizontalAdvance(e->text()) + 8;
    return w->sizeHint().width();
}

}  // namespace

TOLVENK_ON_BOTH_ENGINES(EmployeeWindow);

TEST_P(EmployeeWindow, LoadPreparesCaptionsPickersModesAndMonthTexts) {
    Conn_Main->execute("update Sys_Para set P1='2026-03-15' where Para_Name='JieSuan_Date'");
    w.Load();
    EXPECT_EQ(w.Caption(), "消费汇总统计(按员工)");
    EXPECT_EQ(w.Label1(1).Caption(), "汇总日期:");
    EXPECT_EQ(w.Option1(2).Caption(), "汇总表");
    EXPECT_EQ(w.Check4.Caption(), "显示水控转款");
    EXPECT_EQ(w.Label2(3).Caption(), "正在操作,请稍候…");
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
}

TEST_P(EmployeeWindow, FitsTheScreenAndLaysOutFromTheMinimumSize) {
    sv->screen = {15360, 11520};
    w.Load();
    EXPECT_NEAR(w.Width(), 13760, 14);
    EXPECT_NEAR(w.Height(), 9610, 14);
    w.setWidth(10000);
    w.setHeight(7000);
    w.Form_Resize();
    const int W = w.Width(), H = w.Height();
    EXPECT_NEAR(W, 11600, 14);
    EXPECT_NEAR(H, 8200, 14);
    EXPECT_EQ(w.Grid1.Width(), W - w.ucDep1.Width() - 640);
    EXPECT_EQ(w.ucDep1.Height(), H - 720);
    EXPECT_EQ(w.Grid1.Top() + w.Grid1.Height(), w.ucDep1.Top() + w.ucDep1.Height());
    EXPECT_EQ(w.Command3.Left() + w.Command3.Width(), W - 270);
    EXPECT_EQ(w.Line2.X2(), W - 270);
    EXPECT_EQ(w.Pic_1.Left(), (W - w.Pic_1.Width()) / 2);

    w.Command3.click();
    EXPECT_FALSE(w.Loaded());
}

// Every caption fits its control in each language; in English only the
// designer's Chinese texts are left.
TEST_P(EmployeeWindow, CaptionsFitInEveryLanguage) {
    for (int lang : {0, 1, 2}) {
        Load_Lan(0);
        Load_Lan(static_cast<std::int16_t>(lang));
        Lan_Type = static_cast<std::int16_t>(lang);
        w.Load();
        w.Option1(1).setValue(true);
        w.DTPicker1.setValue("2026-12-28");
        for (forms::Control* c : w.Controls()) {
            QWidget* q = c->widget();
            const bool captioned = qobject_cast<QPushButton*>(q) || qobject_cast<QCheckBox*>(q) ||
                                   qobject_cast<QRadioButton*>(q) || qobject_cast<QLabel*>(q) ||
                                   qobject_cast<QGroupBox*>(q) || qobject_cast<QLineEdit*>(q);
            if (!captioned || !c->Visible()) continue;
            EXPECT_LE(needed(q), q->width()) << lang << " " << q->metaObject()->className() << " at " << c->Left()
                                            << "," << c->Top();
        }
        if (lang == 1) {
            std::vector<std::string> texts = {w.Caption(), w.Frame2.Caption(), w.Label1(1).Caption(),
                                              w.Command1.Caption(), w.Command3.Caption()};
            for (int i = 0; i <= 1; ++i) texts.push_back(w.Option1(i).Caption());
            for (forms::CheckBox* b : {&w.Check1, &w.Check2, &w.Check3, &w.Check4}) texts.push_back(b->Caption());
            w.Init_Emp_Grid();
            for (int c = 1; c <= 24; ++c)
                if (c != 7 && c != 12) texts.push_back(w.Grid1.Cell(0, c).Text());
            for (const std::string& t : texts) EXPECT_TRUE(ascii(t) && !t.empty()) << t;
            EXPECT_EQ(w.Grid1.Cell(0, 25).Text(), "水控转款");
            EXPECT_EQ(w.Text1.Text(), "2026Year12Month");
        }
        w.Unload();
    }
}
