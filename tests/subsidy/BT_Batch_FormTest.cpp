#include <QLabel>
#include <QTimer>

#include <cstdlib>

#include <regex>

#include "SubsidyKit.h"
#include "subsidy/BT_ZhunBei_FF.h"
#include "subsidy/BT_ZhunBei_1.h"
#include "subsidy/BT_ZhunBei_SC.h"
#include "subsidy/BT_ZhunBei_Stop.h"
#include "subsidy/BT_ZhunBei_XG.h"
#include "ui/WindowRegistry.h"

using namespace tolvenk;

namespace {

// Batch 1 is an IC batch granted in part (1 and 3 prepared, 2 handed out,
// 5 at the terminal); batch 2 is all handed out or credited.
template <class W>
class BatchWindow : public test::SubsidyKit<W> {
protected:
    void seed() override {
        test::SubsidyKit<W>::seed();
        this->batchRow(1, 1, 1, -1, 500);
        this->batchRow(2, 1, 1, 0, 600);
        this->batchRow(3, 1, 1, -1, 700);
        this->batchRow(5, 1, 1, 3, 800);
        this->batchRow(1, 2, 0, 2, 100);
        this->batchRow(2, 2, 0, 0, 100);
        this->w.Load();
    }
    void act(const std::string& times) {
        this->w.Batch.Combo2.setText(times);
        this->w.Command1.click();
    }
};

class Modify : public BatchWindow<BT_ZhunBei_XG> {};
class Delete : public BatchWindow<BT_ZhunBei_SC> {};
class Stop : public BatchWindow<BT_ZhunBei_Stop> {};

// The grant to the IC terminals: batch 1 money, batch 2 times; 3 has two
// money terminals; 5 none.
class IcGrant : public test::SubsidyKit<BT_ZhunBei_FF> {
protected:
    void seed() override {
        SubsidyKit::seed();
        for (int p : {1, 2, 3, 5}) batchRow(p, 1, 1, -1, 500);
        for (int p : {1, 2}) batchRow(p, 2, 2, -1, 0, 4);
        con->execute("insert into BuTie_DuiYing(Pinfo_ID,Mach_ID,B_Type) values "
                     "(1,21,1),(1,25,2),(2,25,2),(3,21,1),(3,22,1)");
    }
    void grant(const std::string& times) {
        w.Batch.Combo2.setText(times);
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

TOLVENK_ON_BOTH_ENGINES(Modify);
TOLVENK_ON_BOTH_ENGINES(Delete);
TOLVENK_ON_BOTH_ENGINES(Stop);
TOLVENK_ON_BOTH_ENGINES(IcGrant);

// Only a batch with prepared rows opens in the editor, with its kind, its
// prepared rows listed.
TEST_P(Modify, OpensABatchWithPreparedRowsInTheEditor) {
    act("2");
    expectBox("提示：该年月的该次补贴不存在或已经发放！不能修改了！", platform::vbExclamation);

    Cur_B_Unit = 9;
    bool shown = false;
    int listed = -1;
    QTimer::singleShot(0, [&] {
        auto& editor = dynamic_cast<BT_ZhunBei_1&>(*windowObject("BT_ZhunBei_1"));
        shown = editor.Showing() && editor.B_Unit == 1 && editor.Command2.Visible();
        editor.ucDep1.selectDepartment("01");
        listed = editor.Grid1.Rows() - BT_ZhunBei_1::kFirstRow;
        editor.Unload();
    });
    act("1");
    EXPECT_TRUE(shown);
    EXPECT_EQ(listed, 1);  // 1; 2's row was handed out
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(Cur_B_Unit, 1);
    EXPECT_TRUE(sv->boxes.empty());
}

// Prepared rows go, the others stay; a batch without any is refused; a
// refused delete says so and leaves every row.
TEST_P(Delete, DeletesPreparedRowsOnly) {
    act("2");
    expectBox("提示：该年月的该次补贴不存在或已经发放，无法删除！", platform::vbExclamation);
    test::refuseWrites(*con, engine(), "no_del", "delete", "BuTie_OK", "");
    Cur_B_Unit = 9;
    act("1");
    expectBox("提示：数据库出错了!", platform::vbExclamation);
    EXPECT_EQ(states(), (test::Texts{"1:-1", "2:0", "3:-1", "5:3"}));
    test::allowWrites(*con, engine(), "no_del", "BuTie_OK");
    act("1");
    expectBox("提示：删除成功!", platform::vbExclamation);
    EXPECT_EQ(states(), (test::Texts{"2:0", "5:3"}));
    EXPECT_EQ(states(2), (test::Texts{"1:2", "2:0"}));
    EXPECT_TRUE(w.Loaded());
    EXPECT_EQ(Cur_B_Unit, 9);
    act("1");
    expectBox("提示：该年月的该次补贴不存在或已经发放，无法删除！", platform::vbExclamation);
}

// "第 [n] 次补贴" reads on one line in each language: its three parts side
// by side in one row, each label as wide as its text and unwrapped, all
// inside the window.
TEST_P(Delete, TheNthSubsidyReadsOnOneLine) {
    for (std::int16_t language : {0, 1, 2}) {
        Load_Lan(language);
        w.Load();
        const Batch_Picker& b = w.Batch;
        const auto middle = [](const forms::Control& c) { return c.Top() + c.Height() / 2; };
        EXPECT_LE(std::abs(middle(b.Label3) - middle(b.Combo2)), 60) << language;
        EXPECT_LE(std::abs(middle(b.Label4) - middle(b.Combo2)), 60) << language;
        EXPECT_LE(b.Label3.Left() + b.Label3.Width(), b.Combo2.Left()) << language;
        EXPECT_LE(b.Combo2.Left() + b.Combo2.Width(), b.Label4.Left()) << language;
        EXPECT_LE(b.Label4.Left() + b.Label4.Width(), w.ScaleWidth()) << language;
        for (const forms::Label* l : {&b.Label3, &b.Label4}) {
            const auto* label = static_cast<const QLabel*>(l->widget());
            EXPECT_GE(l->Width(), l->CaptionWidth()) << l->Caption();
            EXPECT_EQ(label->heightForWidth(label->width()), label->heightForWidth(100000)) << l->Caption();
        }
        w.Unload();
    }
    Load_Lan(0);
}

// States 0, 1 and 3 of the named batch become 4 with the operator and time;
// prepared and credited rows and other batches keep theirs.
TEST_P(Stop, StopsHandedOutRowsOfTheBatchOnly) {
    batchRow(3, 2, 0, 1, 100);
    act("3");
    expectBox("提示：该年月的该次补贴不存在！", platform::vbExclamation);
    test::refuseWrites(*con, engine(), "no_upd", "update", "BuTie_OK", "");
    act("2");
    expectBox("提示：数据库出错了!", platform::vbExclamation);
    EXPECT_EQ(states(2), (test::Texts{"1:2", "2:0", "3:1"}));
    test::allowWrites(*con, engine(), "no_upd", "BuTie_OK");
    Op_User_ID = 8;
    act("2");
    expectBox("提示：停止发放补贴成功！", platform::vbExclamation);
    EXPECT_EQ(states(2), (test::Texts{"1:2", "2:4", "3:4"}));
    EXPECT_EQ(states(1), (test::Texts{"1:-1", "2:0", "3:-1", "5:3"}));
    EXPECT_EQ(test::column(*con, "select Pinfo_ID||':'||ZhunBei_Ren_ID||':'||coalesce(FaFang_DT,'-') from BuTie_OK "
                                 "where B_Times=2 and B_SF<>4 order by Pinfo_ID"),
              (test::Texts{"1:1:-"}));
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_OK where B_SF=4 and ZhunBei_Ren_ID=8 and "
                                 "length(FaFang_DT)=19"),
              2);
    // Nothing to stop in a batch of prepared and credited rows: success all the same.
    con->execute("update BuTie_OK set B_SF=2 where B_Times=1 and B_SF<>-1");
    act("1");
    expectBox("提示：停止发放补贴成功！", platform::vbExclamation);
    EXPECT_EQ(states(1), (test::Texts{"1:-1", "2:2", "3:-1", "5:2"}));
}

TEST_P(Stop, OnScreenStop) {
    w.Unload();
    test::whileShown(w, [&] {
        w.Batch.Combo2.setListIndex(0);
        test::clickOnScreen(w.Command1);
        expectBox("提示：停止发放补贴成功！", platform::vbExclamation);
        test::clickOnScreen(w.Command2);
        EXPECT_FALSE(w.Loaded());  // the click closed it
    });
    EXPECT_EQ(states(1), (test::Texts{"1:-1", "2:4", "3:-1", "5:4"}));
}

TEST_P(IcGrant, RefusesBadInputMissingAndIdBatches) {
    batchRow(1, 3, 0, -1, 100);
    batchRow(1, 4, 3, -1, 0, 2);
    w.Load();
    w.Batch.Text1.setText("20x6");
    w.Command1.click();
    expectBox("提示:请输入要准备数据的年份!", platform::vbExclamation);
    w.Batch.Text1.setText("2026");
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
    test::allowWrites(*con, engine(), "no_3", "BuTie_OK");
    Op_User_ID = 8;
    grant("1");
    expectBox("提示：成功发放补贴！", platform::vbExclamation);
    EXPECT_EQ(test::column(*con, "select Pinfo_ID||':'||B_SF from BuTie_OK where B_Times=1 order by Pinfo_ID"),
              (test::Texts{"1:0", "2:-1", "3:0", "5:-1"}));
    EXPECT_EQ(test::text(*con, "select ZhunBei_Ren_ID from BuTie_OK where Pinfo_ID=3 and B_Times=1"), "8");
}

TEST_P(IcGrant, OnScreenGrant) {
    test::whileShown(w, [&] {
        w.Batch.Combo2.setListIndex(0);
        test::clickOnScreen(w.Command1);
        expectBox("提示：成功发放补贴！", platform::vbExclamation);
        test::clickOnScreen(w.Command2);
        EXPECT_FALSE(w.Loaded());  // the click closed it
    });
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_OK where B_Times=1 and B_SF=0"), 2);
}
