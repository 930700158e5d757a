#include <QTimer>

#include <regex>

#include "BatchKit.h"
#include "subsidy/BT_ZhunBei_FF.h"

using namespace tolvenk;

namespace {

class IcGrant : public test::BatchKit<BT_ZhunBei_FF> {
protected:
    void SetUp() override {
        BatchKit::SetUp();
        if (IsSkipped()) return;
        // Batch 1 money, batch 2 times; 3 has two money terminals; 5 none.
        for (int p : {1, 2, 3, 5}) batchRow(p, 1, 1, -1, 500);
        for (int p : {1, 2}) batchRow(p, 2, 2, -1, 0, 4);
        con->execute("insert into BuTie_DuiYing(Pinfo_ID,Mach_ID,B_Type) values "
                     "(1,21,1),(1,25,2),(2,25,2),(3,21,1),(3,22,1)");
    }
    void grant(const std::string& times) {
        w.Combo2.setText(times);
        w.Command1.click();
    }
    // Pinfo_ID:B_SF:Mach_ID:Mach_No:ZhunBei_Ren_ID of batch n.
    test::Texts handed(int times) {
        return test::column(*con, "select Pinfo_ID||':'||B_SF||':'||coalesce(Mach_ID,0)||':'||coalesce(Mach_No,'')||"
                                  "':'||ZhunBei_Ren_ID from BuTie_OK where B_Times=" + std::to_string(times) +
                                  " order by Pinfo_ID");
    }
};

}  // namespace

TEST_P(IcGrant, RefusesBadInputMissingAndIdBatches) {
    batchRow(1, 3, 0, -1, 100);
    batchRow(1, 4, 3, -1, 0, 2);
    w.Load();
    EXPECT_EQ(w.Caption(), "发放补贴");
    EXPECT_EQ(w.Text1.Text(), "2026");
    EXPECT_EQ(w.Combo1.Text(), "十二月");
    w.Text1.setText("");
    w.Command1.click();
    expectBox("提示:请输入要准备数据的年份!", platform::vbExclamation);
    w.Text1.setText("2026");
    w.Command1.click();
    expectBox("提示:请选择第几次补贴!", platform::vbExclamation);
    grant("5");
    expectBox("提示：该年月的该次补贴不存在或已经发放！", platform::vbExclamation);
    for (const char* idBatch : {"3", "4"}) {
        grant(idBatch);
        expectBox("提示：该年月的该次补贴不是IC补贴！", platform::vbExclamation);
    }
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_OK where B_SF<>-1"), 0);
    EXPECT_EQ(Cur_B_Year, 2026);
    EXPECT_EQ(Cur_B_Times, "4");
}

// Each employee's prepared row goes to the terminal of the batch's kind (the
// last listed of two); those without one stay prepared and a repeat finds
// nothing more to hand over.
TEST_P(IcGrant, HandsRowsToTheTerminalsOfTheirKind) {
    // The terminal the grant's own list gives employee 3 last.
    const test::Texts listed =
        test::column(*con, "select BuTie_DuiYing.Mach_ID from BuTie_DuiYing,Mach_Info where BuTie_DuiYing.B_Type=1 "
                           "and BuTie_DuiYing.Pinfo_ID=3 and BuTie_DuiYing.Mach_ID=Mach_Info.Mach_ID");
    ASSERT_EQ(listed.size(), 2u);
    const std::string last = listed.back();
    w.Load();
    grant("1");
    expectBox("提示：成功发放补贴！", platform::vbExclamation);
    EXPECT_EQ(handed(1), (test::Texts{"1:0:21:M21:7", "2:-1:0::1", "3:0:" + last + ":M" + last + ":7", "5:-1:0::1"}));
    const std::string when = test::text(*con, "select ZhunBei_DT from BuTie_OK where Pinfo_ID=1 and B_Times=1");
    EXPECT_TRUE(std::regex_match(when, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)"))) << when;
    EXPECT_NE(when, "2026-12-01 08:00:00");
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_OK where FaFang_DT is not null"), 0);

    Op_User_ID = 8;
    grant("1");
    expectBox("提示：没有对应的补贴机！", platform::vbExclamation);
    EXPECT_EQ(handed(1)[0], "1:0:21:M21:7");  // not written again
    grant("2");
    expectBox("提示：成功发放补贴！", platform::vbExclamation);
    EXPECT_EQ(handed(2), (test::Texts{"1:0:25:M25:8", "2:0:25:M25:8"}));
    EXPECT_TRUE(w.Loaded());
}

// A failing hand-over stops the grant with its message; the rows handed
// before stay, and a repeat hands over the rest once.
TEST_P(IcGrant, AFailureLeavesTheRestPreparedForARepeat) {
    test::refuseWrites(*con, engine(), "no_3", "update", "BuTie_OK", "new.Pinfo_ID=3");
    w.Load();
    grant("1");
    expectBox("提示：发放补贴失败！", platform::vbExclamation);
    EXPECT_EQ(test::text(*con, "select B_SF from BuTie_OK where Pinfo_ID=3 and B_Times=1"), "-1");
    undoRefusal("no_3", "BuTie_OK");
    Op_User_ID = 8;
    grant("1");
    expectBox("提示：成功发放补贴！", platform::vbExclamation);
    EXPECT_EQ(test::column(*con, "select Pinfo_ID||':'||B_SF from BuTie_OK where B_Times=1 order by Pinfo_ID"),
              (test::Texts{"1:0", "2:-1", "3:0", "5:-1"}));
    EXPECT_EQ(test::text(*con, "select ZhunBei_Ren_ID from BuTie_OK where Pinfo_ID=3 and B_Times=1"), "8");
}

TEST_P(IcGrant, OnScreenGrant) {
    QTimer::singleShot(0, [&] {
        w.Combo2.setListIndex(0);
        test::clickOnScreen(w.Command1);
        expectBox("提示：成功发放补贴！", platform::vbExclamation);
        test::clickOnScreen(w.Command2);
    });
    w.Show();
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_OK where B_Times=1 and B_SF=0"), 2);
}

TOLVENK_ON_BOTH_ENGINES(IcGrant);
