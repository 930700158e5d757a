#include <QFontMetrics>
#include <QTimer>
#include <QWidget>

#include "BatchKit.h"
#include "subsidy/BT_Cha_DY.h"
#include "subsidy/BT_DuiYing.h"
#include "subsidy/BT_ID_BF.h"
#include "subsidy/BT_ID_FF.h"
#include "subsidy/BT_ZhunBei_1.h"
#include "subsidy/BT_ZhunBei_FF.h"
#include "subsidy/BT_ZhunBei_SC.h"
#include "subsidy/BT_ZhunBei_Stop.h"
#include "subsidy/BT_ZhunBei_XG.h"
#include "ui/WindowRegistry.h"

using namespace tolvenk;

namespace {

// Batch 1 is an IC batch granted in part (1 and 3 prepared, 2 handed out,
// 5 at the terminal); batch 2 is all handed out or credited.
template <class W>
class BatchWindow : public test::BatchKit<W> {
protected:
    void SetUp() override {
        test::BatchKit<W>::SetUp();
        if (this->IsSkipped()) return;
        this->batchRow(1, 1, 1, -1, 500);
        this->batchRow(2, 1, 1, 0, 600);
        this->batchRow(3, 1, 1, -1, 700);
        this->batchRow(5, 1, 1, 3, 800);
        this->batchRow(1, 2, 0, 2, 100);
        this->batchRow(2, 2, 0, 0, 100);
        this->w.Load();
    }
    void act(const std::string& times) {
        this->w.Combo2.setText(times);
        this->w.Command1.click();
    }
};

class Modify : public BatchWindow<BT_ZhunBei_XG> {};
class Delete : public BatchWindow<BT_ZhunBei_SC> {};
class Stop : public BatchWindow<BT_ZhunBei_Stop> {};

}  // namespace

// Only a batch with prepared rows opens in the editor, with its kind, its
// prepared rows listed.
TEST_P(Modify, OpensABatchWithPreparedRowsInTheEditor) {
    EXPECT_EQ(w.Caption(), "修改补贴数据");
    EXPECT_EQ(w.Command1.Caption(), "查询/修改数据");
    w.Text1.setText("20x6");
    w.Command1.click();
    expectBox("提示:请输入要准备数据的年份!", platform::vbExclamation);
    w.Text1.setText("2026");
    w.Command1.click();
    expectBox("提示:请选择第几次补贴!", platform::vbExclamation);
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
    EXPECT_EQ(w.Caption(), "删除补贴数据");
    act("2");
    expectBox("提示：该年月的该次补贴不存在或已经发放，无法删除！", platform::vbExclamation);
    test::refuseWrites(*con, engine(), "no_del", "delete", "BuTie_OK", "");
    Cur_B_Unit = 9;
    act("1");
    expectBox("提示：数据库出错了!", platform::vbExclamation);
    EXPECT_EQ(states(), (test::Texts{"1:-1", "2:0", "3:-1", "5:3"}));
    undoRefusal("no_del", "BuTie_OK");
    act("1");
    expectBox("提示：删除成功!", platform::vbExclamation);
    EXPECT_EQ(states(), (test::Texts{"2:0", "5:3"}));
    EXPECT_EQ(states(2), (test::Texts{"1:2", "2:0"}));
    EXPECT_TRUE(w.Loaded());
    EXPECT_EQ(Cur_B_Unit, 9);
    act("1");
    expectBox("提示：该年月的该次补贴不存在或已经发放，无法删除！", platform::vbExclamation);
}

// States 0, 1 and 3 of the named batch become 4 with the operator and time;
// prepared and credited rows and other batches keep theirs.
TEST_P(Stop, StopsHandedOutRowsOfTheBatchOnly) {
    batchRow(3, 2, 0, 1, 100);
    EXPECT_EQ(w.Caption(), "停止发放补贴");
    act("3");
    expectBox("提示：该年月的该次补贴不存在！", platform::vbExclamation);
    test::refuseWrites(*con, engine(), "no_upd", "update", "BuTie_OK", "");
    act("2");
    expectBox("提示：数据库出错了!", platform::vbExclamation);
    EXPECT_EQ(states(2), (test::Texts{"1:2", "2:0", "3:1"}));
    undoRefusal("no_upd", "BuTie_OK");
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
    QTimer::singleShot(0, [&] {
        w.Combo2.setListIndex(0);
        test::clickOnScreen(w.Command1);
        expectBox("提示：停止发放补贴成功！", platform::vbExclamation);
        test::clickOnScreen(w.Command2);
    });
    w.Show();
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(states(1), (test::Texts{"1:-1", "2:4", "3:-1", "5:4"}));
}

namespace {

template <class C>
void expectFits(C& c, int extra) {
    const QFontMetrics fm(c.widget()->font());
    EXPECT_FALSE(c.Caption().empty());
    EXPECT_LE(fm.horizontalAdvance(QString::fromStdString(c.Caption())) + extra, c.widget()->width()) << c.Caption();
}

class Captions : public test::BatchKit<BT_ZhunBei_FF> {};

}  // namespace

// Every caption of the windows fits its control in all three languages.
TEST_P(Captions, FitInEveryLanguage) {
    BT_ZhunBei_XG xg;
    BT_ZhunBei_SC sc;
    BT_ZhunBei_Stop stop;
    BT_ID_FF idff;
    BT_ID_BF idbf;
    BT_DuiYing dy;
    BT_Cha_DY cha;
    for (int language : {0, 1, 2}) {
        SCOPED_TRACE(language);
        Load_Lan(static_cast<std::int16_t>(language));
        Lan_Type = static_cast<std::int16_t>(language);
        for (BT_Batch_Form* f : std::initializer_list<BT_Batch_Form*>{&w, &xg, &sc, &stop}) {
            f->Load();
            EXPECT_FALSE(f->Caption().empty());
            for (forms::Label* l : {&f->Label1, &f->Label2, &f->Label3, &f->Label4}) expectFits(*l, 2);
            for (forms::CommandButton* b : {&f->Command1, &f->Command2}) expectFits(*b, 12);
            f->Unload();
        }
        for (BT_ID_Grant* f : std::initializer_list<BT_ID_Grant*>{&idff, &idbf}) {
            f->Load();
            EXPECT_FALSE(f->Caption().empty());
            for (forms::Label* l : {&f->Label1, &f->Label2, &f->Label3, &f->Label4}) expectFits(*l, 2);
            for (forms::CommandButton* b : {&f->Command1, &f->Command2}) expectFits(*b, 12);
            f->Unload();
        }
        dy.Load();
        EXPECT_FALSE(dy.Caption().empty());
        EXPECT_FALSE(dy.Frame1.Caption().empty());
        for (forms::Label* l : {&dy.Label2, &dy.Label3}) expectFits(*l, 2);
        for (forms::CommandButton* b : {&dy.Command1, &dy.Command3, &dy.Command2}) expectFits(*b, 12);
        dy.Unload();
        cha.Load();
        EXPECT_FALSE(cha.Caption().empty());
        for (forms::CommandButton* b : {&cha.Command1, &cha.Command3}) expectFits(*b, 12);
        for (int c = 1; c < BT_Cha_DY::colCount; ++c) EXPECT_FALSE(cha.Grid_Info.Cell(0, c).Text().empty());
        cha.Unload();
    }
}

TOLVENK_ON_BOTH_ENGINES(Modify);
TOLVENK_ON_BOTH_ENGINES(Delete);
TOLVENK_ON_BOTH_ENGINES(Stop);
TOLVENK_ON_BOTH_ENGINES(Captions);
