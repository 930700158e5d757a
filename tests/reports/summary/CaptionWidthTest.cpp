// Every caption a window shows fits its control, in each language: labels,
// buttons, options and tick boxes are at least as wide as their text.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include <string>
#include <vector>

#include "data/Globals.h"
#include "lang/Language.h"
#include "platform/services/ScriptedServices.h"
#include "reports/statistics/XF_Mingxi.h"
#include "reports/summary/XF_Cha_HZ.h"
#include "reports/summary/frmHZ_Format.h"
#include "support/Screen.h"
#include "support/TestDb.h"

using namespace tolvenk;

namespace {

// The shown captions that do not fit, as "text: width < needed".
std::vector<std::string> clipped(const forms::Form& w) {
    std::vector<std::string> out;
    for (const forms::Control* c : w.Controls()) {
        QWidget* widget = c->widget();
        if (!widget->isVisibleTo(w.widget())) continue;
        QString text;
        int needed = 0;
        const QFontMetrics fm = widget->fontMetrics();
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            text = label->text();
            needed = fm.horizontalAdvance(text);
            // A caption wrapped onto a second line that the label has no room for.
            if (label->heightForWidth(label->width()) > label->height())
                out.push_back(text.toStdString() + ": wrapped");
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            text = button->text();
            needed = fm.horizontalAdvance(text) + 2 * widget->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, widget);
        } else if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget)) {
            text = static_cast<QAbstractButton*>(widget)->text();
            needed = widget->sizeHint().width();
        } else {
            continue;
        }
        const QRect place(widget->mapTo(w.widget(), QPoint(0, 0)), widget->size());
        if (!widget->parentWidget()->rect().contains(widget->geometry()) || !w.widget()->rect().contains(place))
            out.push_back(text.toStdString() + ": cut off by its container");
        if (text.isEmpty()) out.push_back("an empty caption at x " + std::to_string(widget->x()));
        else if (widget->font() != w.widget()->font()) out.push_back(text.toStdString() + ": a smaller font");
        else if (widget->contentsRect().width() < needed)
            out.push_back(text.toStdString() + ": " + std::to_string(widget->contentsRect().width()) + " < " +
                          std::to_string(needed));
    }
    return out;
}

class CaptionWidth : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        platform::setServices(sv);
        sv->screen = {15 * 800, 15 * 800};
        strCN = test::createBusinessDb(dir.file("b.mdb"));
        Conn_Main = test::connect(strCN);
        DB_Type = "Access";
        Money_Sign = "￥";
        Conn_Main->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values (1,'01','总部',0,0);
insert into Sys_Para(Para_Name,P1,P5) values ('JieSuan_Date','2026-01-01',null),('Sys_Config',null,'1');
insert into Sys_Para(Para_Name,SubParaName,P1,P2,P3,P4,P5) values
 ('HZ_Rep_Format','101','食堂月报','20100','1111','11110100','000000');
)");
        Lang.fill("");
        Load_Lan(static_cast<std::int16_t>(GetParam()));
        Lan_Type = static_cast<std::int16_t>(GetParam());
        HZ_Format_Changed = false;
    }
    void TearDown() override {
        platform::setServices(nullptr);
        Conn_Main.reset();
    }
    std::shared_ptr<platform::ScriptedServices> sv = std::make_shared<platform::ScriptedServices>();
    test::TempDir dir;
};

}  // namespace

TEST_P(CaptionWidth, TheSummaryWindowAndTheFormatEditor) {
    XF_Cha_HZ summary;
    test::whileShown(summary, [&] {
        EXPECT_EQ(clipped(summary), std::vector<std::string>{}) << "chooser";
        for (int row : {0, 5, 12}) {  // daily, monthly by card kind, a defined monthly report by place
            summary.Command2_Click();
            summary.List1.setListIndex(row);
            EXPECT_EQ(clipped(summary), std::vector<std::string>{}) << "report " << row;
        }
    });
    frmHZ_Format editor;
    test::whileShown(editor, [&] {
        EXPECT_EQ(clipped(editor), std::vector<std::string>{});
        editor.cmdNew_Click();
        editor.Check2(5).setValue(forms::vbChecked);
        EXPECT_EQ(clipped(editor), std::vector<std::string>{}) << "panel";
    });
}

TEST_P(CaptionWidth, TheTransactionDetail) {
    XF_Mingxi w;
    test::whileShown(w, [&] {
        for (int option = 0; option < 5; ++option) {
            w.optType(option).setValue(true);
            EXPECT_EQ(clipped(w), std::vector<std::string>{}) << "group " << option;
        }
    });
}

INSTANTIATE_TEST_SUITE_P(Languages, CaptionWidth, ::testing::Values(0, 1, 2),
                         [](const auto& info) { return std::string(info.param == 1 ? "English" : info.param == 2 ? "Traditional" : "Simplified"); });
