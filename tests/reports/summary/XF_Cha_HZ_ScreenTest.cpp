// The summary window and the format editor as a person works them: shown in
// their modal loop, clicked where their controls show.
#include <gtest/gtest.h>

#include <QListWidget>

#include "data/Globals.h"
#include "lang/Language.h"
#include "platform/services/ScriptedServices.h"
#include "reports/summary/XF_Cha_HZ.h"
#include "reports/summary/frmHZ_Format.h"
#include "support/Screen.h"
#include "support/TestDb.h"

using namespace tolvenk;

namespace {

class SummaryScreen : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setServices(sv);
        sv->screen = {15 * 800, 15 * 800};  // the offscreen screen
        strCN = test::createBusinessDb(dir.file("b.mdb"));
        Conn_Main = test::connect(strCN);
        DB_Type = "Access";
        Conn_Main->executeScript(R"(
insert into Sys_Para(Para_Name,SubParaName,P1,P2,P3,P4,P5) values
 ('HZ_Rep_Format','101','食堂日报','10100','1111','11110100','000000'),
 ('HZ_Rep_Format','102','超市月报','20100','1111','11110100','000000');
)");
        Load_Lan(0);
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

TEST_F(SummaryScreen, TheChooserOpensOnTopWithEveryEntryAndButtonWithinReach) {
    XF_Cha_HZ w;
    auto* list = static_cast<QListWidget*>(w.List1.widget());
    test::whileShown(w, [&] {
        // The list taking the focus, as it does when the window opens, chooses nothing.
        list->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        ASSERT_TRUE(list->hasFocus());
        EXPECT_TRUE(w.Picture1.Visible());
        EXPECT_EQ(w.List1.ListIndex(), -1);
        EXPECT_EQ(w.Caption(), "消费汇总统计");

        // Nothing of the window is drawn over the chooser, nor shows through it.
        EXPECT_TRUE(test::coversItsPlace(w.Picture1));
        ASSERT_EQ(list->count(), 14);
        for (int i = 0; i < list->count(); ++i) {
            const QRect row = list->visualItemRect(list->item(i));
            ASSERT_TRUE(list->viewport()->rect().contains(row.center())) << "row " << i << " out of view";
            EXPECT_TRUE(test::reachable(list->viewport(), row.center())) << "row " << i;
        }
        EXPECT_TRUE(test::reachable(w.Command3));
        EXPECT_TRUE(test::reachable(w.Command5));

        // The cancel button closes it; a click on a defined report chooses that report.
        test::click(w.Command5);
        EXPECT_FALSE(w.Picture1.Visible());
        EXPECT_EQ(w.List1.ListIndex(), -1);
        test::click(w.Command2);
        ASSERT_TRUE(w.Picture1.Visible());
        test::clickRow(list, list->model()->index(13, 0));
        EXPECT_FALSE(w.Picture1.Visible());
        EXPECT_EQ(w.List1.ListIndex(), 13);
        EXPECT_EQ(w.Caption(), "消费汇总统计 ( 超市月报 )");
        EXPECT_TRUE(w.Text1.Visible());

        // Opened again, the chooser keeps the choice until a person or the code makes another.
        test::click(w.Command2);
        list->clearFocus();
        list->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        EXPECT_TRUE(w.Picture1.Visible());
        w.List1.setListIndex(0);
        EXPECT_FALSE(w.Picture1.Visible());
        EXPECT_EQ(w.Caption(), "消费汇总统计 ( 现金收支日报表 )");
    });
}

TEST_F(SummaryScreen, TheEditorsPanelCoversTheTableAndItsControlsTakeClicks) {
    frmHZ_Format w;
    test::whileShown(w, [&] {
        test::click(w.cmdNew);
        ASSERT_TRUE(w.Picture1.Visible());
        EXPECT_TRUE(test::coversItsPlace(w.Picture1));
        for (const forms::Control* c : std::initializer_list<const forms::Control*>{
                 &w.Text1, &w.Combo1, &w.Combo2, &w.Combo3, &w.Check1(0), &w.Check1(3), &w.Check2(0), &w.Check2(6),
                 &w.cmd_Add, &w.cmd_Cancle})
            EXPECT_TRUE(test::reachable(*c)) << c->widget()->metaObject()->className();
        test::clickBox(w.Check2(5));
        EXPECT_EQ(w.Check2(5).Value(), forms::vbChecked);
        ASSERT_TRUE(w.Frame4.Visible());
        EXPECT_TRUE(test::reachable(w.Check3(5)));
        test::click(w.cmd_Cancle);
        EXPECT_FALSE(w.Picture1.Visible());
    });
}
