#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <algorithm>

#include "SubsidyKit.h"
#include "subsidy/BT_Cha_DY.h"
#include "subsidy/BT_DuiYing.h"
#include "support/FormText.h"
#include "ui/WindowRegistry.h"

using namespace tolvenk;

namespace {

class Terminals : public test::SubsidyKit<BT_DuiYing> {
protected:
    // Pinfo_ID:Mach_ID:B_Type of every assignment.
    test::Texts assigned() {
        return test::column(*con, "select Pinfo_ID||':'||Mach_ID||':'||B_Type from BuTie_DuiYing "
                                  "order by Pinfo_ID,B_Type,Mach_ID");
    }
    static test::Texts items(const forms::ComboBox& c) {
        test::Texts out = test::listItems(c);
        std::sort(out.begin(), out.end());
        return out;
    }
    void tick(std::initializer_list<int> ids) {
        w.ucSP1.selectDepartment("01");
        for (int id : ids) w.ucSP1.setTicked(id, true);
    }
    void save(const std::string& money, const std::string& times) {
        w.Combo_BT.setText(money);
        w.Combo_BT_Ci.setText(times);
        w.Command1.click();
    }
};

}  // namespace

TEST_P(Terminals, ListsLiveSubsidyTerminalsAndHidesTimesWhenSwitchedOff) {
    w.Load();
    EXPECT_EQ(items(w.Combo_BT), (test::Texts{"大号补贴机", "补贴机A", "补贴机B"}));
    EXPECT_EQ(items(w.Combo_BT_Ci), (test::Texts{"次机二", "次补贴机"}));
    EXPECT_TRUE(w.Combo_BT_Ci.Visible());
    w.Unload();
    config(1, "0");
    w.Load();
    EXPECT_FALSE(w.Label3.Visible());
    EXPECT_FALSE(w.Combo_BT_Ci.Visible());
}

// Each kind replaces only its own assignment; both kinds replace both; a
// terminal id past 16 bits is kept whole; a name typed by hand is refused.
TEST_P(Terminals, SavesReplaceAssignmentsPerKind) {
    w.Load();
    w.Command1.click();
    expectBox("请选择员工", platform::vbCritical);
    tick({1, 2});
    save("", "");
    expectBox("请选择补贴机器!", platform::vbCritical);
    EXPECT_EQ(assigned(), test::Texts{});

    save("大号补贴机", "");
    expectBox("提示: 设置成功!", platform::vbExclamation);
    EXPECT_EQ(assigned(), (test::Texts{"1:40000:1", "2:40000:1"}));
    w.ucSP1.setTicked(2, false);
    save("", "次补贴机");
    expectBox("提示: 设置成功!", platform::vbExclamation);
    EXPECT_EQ(assigned(), (test::Texts{"1:40000:1", "1:25:2", "2:40000:1"}));
    w.ucSP1.setTicked(2, true);
    save("补贴机B", "次机二");
    expectBox("提示: 设置成功!", platform::vbExclamation);
    EXPECT_EQ(assigned(), (test::Texts{"1:22:1", "1:26:2", "2:22:1", "2:26:2"}));

    save("M99", "");
    expectBox("提示：所填的补贴机不在列表中，请从列表中选择!", platform::vbExclamation);
    save("", "补贴机A");  // a money terminal is no times terminal
    expectBox("提示：所填的补贴机不在列表中，请从列表中选择!", platform::vbExclamation);
    EXPECT_EQ(assigned(), (test::Texts{"1:22:1", "1:26:2", "2:22:1", "2:26:2"}));
}

// A save is one transaction: a failing insert or delete leaves every
// assignment as it was and says so; the retry writes each row once.
TEST_P(Terminals, AFailedSaveChangesNothingAndTheRetryWritesOnce) {
    con->execute("insert into BuTie_DuiYing(Pinfo_ID,Mach_ID,B_Type) values (1,22,1),(2,26,2)");
    w.Load();
    tick({1, 2});
    test::refuseWrites(*con, engine(), "no_2", "insert", "BuTie_DuiYing", "new.Pinfo_ID=2");
    save("补贴机A", "次补贴机");
    expectBox("提示：数据库出错了!", platform::vbCritical);
    EXPECT_EQ(assigned(), (test::Texts{"1:22:1", "2:26:2"}));
    test::allowWrites(*con, engine(), "no_2", "BuTie_DuiYing");
    test::refuseWrites(*con, engine(), "no_del", "delete", "BuTie_DuiYing", "");
    save("补贴机A", "");
    expectBox("删除出错了!", platform::vbCritical);
    EXPECT_EQ(assigned(), (test::Texts{"1:22:1", "2:26:2"}));
    test::allowWrites(*con, engine(), "no_del", "BuTie_DuiYing");
    save("补贴机A", "次补贴机");
    expectBox("提示: 设置成功!", platform::vbExclamation);
    EXPECT_EQ(assigned(), (test::Texts{"1:21:1", "1:25:2", "2:21:1", "2:25:2"}));
}

// More employees ticked than a 16-bit count holds: each gets the terminal,
// and the prompt says so only then.
TEST_P(Terminals, SavesEveryOneOfSeventyThousandTickedEmployees) {
    con->execute("insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Code,Del_YN) values (4,'03','仓库','D',0)");
    con->execute("with recursive n(i) as (select 1 union all select i+1 from n where i<70002) "
                 "insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,P_Position_ID,Del_YN) "
                 "select 1000+i,4,'03','员工'||i,'9'||i,1,0 from n");
    con->execute("insert into BuTie_DuiYing(Pinfo_ID,Mach_ID,B_Type) values (1001,21,1),(71002,21,1),(1,21,1)");
    w.Load();
    w.ucSP1.selectDepartment("03");
    w.ucSP1.tickAll(true);
    save("大号补贴机", "");
    expectBox("提示: 设置成功!", platform::vbExclamation);
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_DuiYing where Mach_ID=40000 and B_Type=1"), 70002);
    EXPECT_EQ(test::number(*con, "select count(distinct Pinfo_ID) from BuTie_DuiYing where Pinfo_ID>1000"), 70002);
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_DuiYing where Mach_ID=21"), 1);  // employee 1's stays
}

TEST_P(Terminals, TheLastListedTerminalOfAName) {
    DataList list(3, {"Mach_ID", "Mach_Name"});
    list(1, 0) = "5", list(1, 1) = "甲";
    list(2, 0) = "6", list(2, 1) = "乙";
    list(3, 0) = "7", list(3, 1) = "甲";
    EXPECT_EQ(BT_DuiYing::Find_Mach(list, "甲"), 7);
    EXPECT_EQ(BT_DuiYing::Find_Mach(list, "丙"), std::nullopt);
    EXPECT_EQ(BT_DuiYing::Find_Mach(list, ""), std::nullopt);
}

// On screen: employees ticked and a terminal chosen, saved; the query opened
// from the window and run there.
TEST_P(Terminals, OnScreenSaveThenQuery) {
    const QSize screen = QGuiApplication::primaryScreen()->size();
    sv->screen = {screen.width() * 15, screen.height() * 15};  // both windows fit the screen they are on
    std::string queried;
    test::whileShown(w, [&] {
        w.ucSP1.selectDepartment("0101");
        w.ucSP1.setTicked(1, true);
        w.Combo_BT.setListIndex(0);
        const std::string chosen = w.Combo_BT.Text();
        test::clickOnScreen(w.Command1);
        expectBox("提示: 设置成功!", platform::vbExclamation);
        QTimer::singleShot(0, [&] {
            auto& q = dynamic_cast<BT_Cha_DY&>(*windowObject("BT_Cha_DY"));
            q.ucDep1.selectDepartment("0101");
            test::clickOnScreen(q.Command1);
            if (q.Grid_Info.Rows() == 2) queried = q.Grid_Info.Cell(1, BT_Cha_DY::colMach).Text();
            test::clickOnScreen(q.Command3);
        });
        test::clickOnScreen(w.Command3);
        EXPECT_EQ(queried, chosen);
    });
    EXPECT_FALSE(queried.empty());
}

TOLVENK_ON_BOTH_ENGINES(Terminals);
