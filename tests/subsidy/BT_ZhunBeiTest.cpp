#include <QTimer>

#include "SubsidyKit.h"
#include "subsidy/BT_ZhunBei.h"
#include "subsidy/BT_ZhunBei_1.h"
#include "ui/WindowRegistry.h"

using namespace tolvenk;

namespace {

class NewBatch : public test::SubsidyKit<BT_ZhunBei> {
protected:
    static std::string kinds(const forms::ComboBox& c) {
        std::string out;
        for (int i = 0; i < c.ListCount(); ++i) out += c.List(i) + "=" + std::to_string(c.ItemData(i)) + "|";
        return out;
    }
    BT_ZhunBei_1& editor() { return dynamic_cast<BT_ZhunBei_1&>(*windowObject("BT_ZhunBei_1")); }
    // Creates the batch; `inEditor` runs once the editor is up, which is then closed.
    void create(const std::function<void(BT_ZhunBei_1&)>& inEditor = {}) {
        editorShown = false;
        QTimer::singleShot(0, [&] {
            editorShown = editor().Showing();
            if (inEditor) inEditor(editor());
            editor().Unload();
        });
        w.Command1.click();
        QCoreApplication::processEvents();  // the timer, when no editor came up
    }
    void reload() {
        if (w.Loaded()) w.Unload();
        w.Load();
    }
    bool editorShown = false;
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(NewBatch);

TEST_P(NewBatch, OffersTheKindsOfTheInstallation) {
    const std::pair<std::pair<int, const char*>, const char*> installations[] = {
        {{1, "1"}, "IC卡金额补贴=1|IC卡次数补贴=2|IC卡集体转帐充值=4|"},
        {{1, "0"}, "IC卡金额补贴=1|IC卡集体转帐充值=4|"},
        {{0, "1"}, "ID卡金额补贴=0|ID卡次数补贴=3|IC卡集体转帐充值=5|"}};
    for (const auto& [installation, offered] : installations) {
        config(installation.first, installation.second);
        reload();
        EXPECT_EQ(kinds(w.Combo3), offered);
        EXPECT_EQ(w.Combo3.ListIndex(), 0);
    }
    // A setting that is no number tells neither kind: the window says so and does not open.
    con->execute("update Sys_Para set P2='IC' where Para_Name='Sys_Config'");
    reload();
    EXPECT_FALSE(w.Loaded());
    sv->expectBox("系统参数表 Sys_Para 中 Sys_Config 行的卡系统设置 P2 为“IC”，不是卡系统的编号，无法判断卡是 IC 卡还是 ID "
                  "卡，这一步没有进行。请管理员改正这个设置。",
                  platform::vbCritical, "出错");
    con->execute("delete from Sys_Para");
    reload();
    EXPECT_EQ(w.Combo3.ListCount(), 0);
    w.Batch.Combo2.setListIndex(0);
    w.Command1.click();
    expectBox("提示:请选择补贴类型!", platform::vbExclamation);
}

// One prepared row per live employee, money and times 0, by the operator;
// the group recharge is a money kind with B_Type 1; then the editor.
TEST_P(NewBatch, CreatesOnePreparedRowPerLiveEmployeeAndOpensTheEditor) {
    w.Load();
    w.Batch.Combo2.setListIndex(0);
    w.Combo3.setListIndex(2);
    create([](BT_ZhunBei_1& e) {
        EXPECT_TRUE(e.Command6.Visible() && e.Command2.Visible());
        EXPECT_FALSE(e.Command3.Visible() || e.Command4.Visible());
        EXPECT_EQ(e.Caption(), "准备补贴数据 [2026年12月]");
    });
    EXPECT_TRUE(editorShown);
    expectBox("提示：成功了!", platform::vbExclamation);
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(stored(), (test::Texts{"1:0:0", "2:0:0", "3:0:0", "5:0:0"}));
    EXPECT_EQ(test::column(*con, "select distinct B_SF||' '||B_Unit||' '||B_Type||' '||ZhunBei_Ren_ID from BuTie_OK"),
              (test::Texts{"-1 1 1 7"}));
    EXPECT_EQ((std::vector<int>{Cur_B_Year, Cur_B_Month, Cur_B_Unit}), (std::vector<int>{2026, 12, 1}));
    EXPECT_EQ(Cur_B_Times, "1");

    // A times kind opens the editor with the times buttons.
    w.Load();
    w.Batch.Combo2.setListIndex(1);
    w.Combo3.setListIndex(1);
    create([](BT_ZhunBei_1& e) { EXPECT_TRUE(e.Command3.Visible() && e.Command4.Visible() && !e.Command2.Visible()); });
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_OK where B_Times=2 and B_Unit=2 and B_Type=0"), 4);

    sv->boxes.clear();
    // No live employee: straight to the editor, without a message.
    con->execute("update Ren_Per_Info set Del_YN=1");
    w.Load();
    w.Batch.Combo2.setListIndex(2);
    create();
    EXPECT_TRUE(editorShown);
    EXPECT_TRUE(sv->boxes.empty());
}

TEST_P(NewBatch, RefusesBadInputAnExistingBatchAndAClearedIdMonth) {
    w.Load();
    w.Batch.Text1.setText("");
    create();
    expectBox("提示:请输入要准备数据的年份!", platform::vbExclamation);
    w.Batch.Text1.setText("2026");
    create();
    expectBox("提示:请选择第几次补贴!", platform::vbExclamation);
    EXPECT_FALSE(editorShown);

    batchRow(1, 1, 1, 4);  // a stopped row is a batch all the same
    w.Batch.Combo2.setListIndex(0);
    create();
    expectBox("提示：该年月的该次补贴已经存在！", platform::vbExclamation);
    EXPECT_FALSE(editorShown);
    EXPECT_EQ(stored(), (test::Texts{"1:0:0"}));

    // Month-end clearing closed December for ID batches only.
    batchRow(1, -1, -1, 0, -500, 0);
    config(0, "1");
    reload();
    w.Batch.Combo2.setListIndex(1);
    for (int kind : {0, 1, 2}) {
        w.Combo3.setListIndex(kind);
        create();
        expectBox("该月份的补贴已经清零，不能再发补贴", platform::vbExclamation);
    }
    EXPECT_EQ(stored(2), test::Texts{});
    config(1, "1");
    reload();
    w.Batch.Combo2.setListIndex(1);
    create();
    EXPECT_TRUE(editorShown);
    EXPECT_EQ(stored(2).size(), 4u);
}

// A failure at the third row leaves no partial batch; the retry writes each
// employee once.
TEST_P(NewBatch, AFailureMidwayWritesNothingAndTheRetryWritesOnce) {
    test::refuseWrites(*con, engine(), "no_third", "insert", "BuTie_OK", "new.Pinfo_ID=3", "disk full");
    w.Load();
    w.Batch.Combo2.setListIndex(0);
    create();
    expectBox("提示：数据库出错了!", platform::vbExclamation);
    EXPECT_FALSE(editorShown);
    EXPECT_TRUE(w.Loaded());
    EXPECT_EQ(stored(), test::Texts{});

    test::allowWrites(*con, engine(), "no_third", "BuTie_OK");
    create();
    EXPECT_TRUE(editorShown);
    EXPECT_EQ(stored(), (test::Texts{"1:0:0", "2:0:0", "3:0:0", "5:0:0"}));
}
