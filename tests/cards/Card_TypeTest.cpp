// The card-kind window on a business database whose kinds the tests state;
// every stored figure below is worked out by hand from what is typed.
#include "cards/Card_Type.h"
#include "platform/Error.h"
#include "support/Fixtures.h"
#include "support/Screen.h"

using namespace tolvenk;

namespace {

using V = std::vector<std::string>;

// Kind 1 (the system kind, stored under another name), kind 2 by meal, and
// kind 5 deleted.
class CardTypeWindow : public test::WindowOf<Card_Type> {
protected:
    void SetUp() override {
        WindowOf::SetUp();
        if (IsSkipped()) return;
        con->executeScript(R"(
insert into Sys_Para(Para_Name,P2,P5) values ('Sys_Config','1','1');
insert into Card_Type values
 (1,1,'system','',1000,500,800,5000,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,0),
 (2,2,'Staff','职工',1000,1000,500,2000,0,0,500,1,800,2,-1,-1,-1,-1,-1,-1,10000,-1,0),
 (3,5,'Old','',0,0,0,0,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,1);
)");
    }
    std::string cell(int r, int c) { return w.Grid_Info.Cell(r, c).Text(); }
    // Columns 1 to 22 of the kind of that name.
    V stored(const std::string& name) {
        V r = test::row(*con, "select * from Card_Type where C_Name='" + name + "'");
        if (!r.empty()) r.erase(r.begin());
        return r;
    }
    std::int64_t count(const std::string& where) {
        return test::number(*con, "select count(*) from Card_Type where " + where);
    }
    void select(int row) { w.Grid_Info.setActive_Cell(row, 1); }
    // Every limit the row below uses: none.
    static V limits(const std::string& day, const std::string& dayCi) {
        V v{day, dayCi};
        for (int i = 0; i < 10; ++i) v.push_back("-1");
        return v;
    }
};

V join(V a, const V& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TOLVENK_ON_BOTH_ENGINES(CardTypeWindow);

TEST_P(CardTypeWindow, ListShowsLiveKindsInDisplayFormAndTheMealOrderModeOnlyWhereOffered) {
    w.Load();
    ASSERT_EQ(w.Grid_Info.Rows(), 3);  // kind 5 is deleted
    EXPECT_EQ(cell(1, 2), "普通卡");    // the system kind, whatever it is called
    EXPECT_EQ(cell(2, 2), "Staff");
    EXPECT_EQ((V{cell(2, 4), cell(2, 7), cell(2, 8), cell(2, 9), cell(2, 10), cell(2, 11), cell(2, 14), cell(2, 20),
                 cell(2, 21)}),
              (V{"10.00", "20.00", "0.00", "0", "5.00", "1", "", "100.00", ""}));
    EXPECT_FALSE(w.Option1(2).Visible());
    w.Unload();

    Conn_Main->execute("update Sys_Para set P2='3'");
    w.Load();
    EXPECT_TRUE(w.Option1(2).Visible());
}

// The stored limits of -1 (none) and -2 (meal order) show empty, amounts in
// yuan, counts and the other columns as stored; by the column's name.
TEST(CardTypeShown, LimitsAndAmountsByColumnName) {
    EXPECT_EQ(Card_Type_Shown("C_F_Money", "1000"), "10.00");
    EXPECT_EQ(Card_Type_Shown("C_T_Money", "500"), "5.00");
    EXPECT_EQ(Card_Type_Shown("Ci_Yuan", "2000"), "20.00");
    EXPECT_EQ(Card_Type_Shown("Tian_Yuan", "-1"), "");
    EXPECT_EQ(Card_Type_Shown("Tian_Ci", "-1"), "");
    EXPECT_EQ(Card_Type_Shown("Tian_Yuan", "0"), "0.00");
    EXPECT_EQ(Card_Type_Shown("Tian_Ci", "-2"), "");
    EXPECT_EQ(Card_Type_Shown("Zao_Yuan", "500"), "5.00");
    EXPECT_EQ(Card_Type_Shown("Zao_Ci", "2"), "2");
    EXPECT_EQ(Card_Type_Shown("Zhong_Yuan", "-1"), "");
    EXPECT_EQ(Card_Type_Shown("Zhong_Ci", "3"), "3");
    EXPECT_EQ(Card_Type_Shown("BT_Money", "10000"), "100.00");
    EXPECT_EQ(Card_Type_Shown("BT_Ci", "-1"), "");
    // Outside the limits nothing is read as money or as "no limit".
    EXPECT_EQ(Card_Type_Shown("C_LeiBie", "-1"), "-1");
    EXPECT_EQ(Card_Type_Shown("Del_YN", "0"), "0");
    EXPECT_EQ(Card_Type_Shown("C_Name", "1000"), "1000");
}

// A kind record takes only the table's columns and gives them back in the
// table's order, whatever order they were set in.
TEST(CardTypeRecord, ValuesByNameInTheTablesOrder) {
    Card_Type_Record r;
    r["BT_Ci"] = "21";
    r["ID"] = "0";
    r["C_Name"] = "n";
    const V v = r.Values();
    ASSERT_EQ(v.size(), 23u);
    EXPECT_EQ(v[0], "0");
    EXPECT_EQ(v[2], "n");
    EXPECT_EQ(v[21], "21");
    EXPECT_EQ(v[22], "");
    EXPECT_THROW(r["No_Such"], VbError);
}

TEST_P(CardTypeWindow, AddingTakesTheLastNumberPlusOneReadsLeadingNumbersAndRefusesTakenNames) {
    w.Load();
    w.Command2.click();
    EXPECT_TRUE(w.fraEdit.Visible());
    EXPECT_FALSE(w.Grid_Info.Enabled());
    EXPECT_FALSE(w.Command2.Enabled());
    EXPECT_EQ(w.txt_Code.Text(), "3");  // the last listed kind is 2; deleted 5 is not listed
    EXPECT_EQ(w.txt_Max_Money.Text(), "50.00");
    EXPECT_FALSE(w.txt_Tian_J.Enabled());

    w.txt_Name.setText("Guest");
    w.txt_S_Money.setText("1.5abc");  // 150
    w.txt_T_Money.setText("");        // 0
    w.txt_H_Money.setText("-0.004");  // rounds to 0
    w.txt_Max_Money.setText("25");
    w.Check_Tian_J.setValue(forms::vbChecked);
    EXPECT_TRUE(w.txt_Tian_J.Enabled());
    w.txt_Tian_J.setText("30.5");
    w.Check1(6).setValue(forms::vbChecked);
    w.Text16.setText("100");
    w.Command1.click();
    EXPECT_EQ(sv->lastPrompt(), "提示:增加卡类型成功!");
    EXPECT_EQ(sv->boxes.back().style, 48);
    EXPECT_FALSE(w.fraEdit.Visible());
    EXPECT_TRUE(w.Grid_Info.Enabled());
    EXPECT_EQ(w.Grid_Info.Rows(), 4);
    EXPECT_EQ(stored("Guest"), join(V{"3", "Guest", "", "150", "0", "0", "2500"}, join(limits("3050", "-1"), {"10000", "-1", "0"})));

    // A name any kind ever had, in any case, is not given again.
    for (const char* name : {"guest", "OLD"}) {
        w.Command2.click();
        w.txt_Name.setText(name);
        w.Command1.click();
        EXPECT_EQ(sv->lastPrompt(), "提示:卡重复了!");
    }
    EXPECT_EQ(count("C_Name='Guest'"), 1);
    EXPECT_EQ(count("1=1"), 4);
}

TEST_P(CardTypeWindow, ModifyFillsTheEditorAndRewritesTheKindWithoutCheckingItsName) {
    w.Load();
    w.Command4.click();
    EXPECT_EQ(sv->lastPrompt(), "提示：请选择一条记录！");
    EXPECT_FALSE(w.fraEdit.Visible());

    select(2);
    w.Command4.click();
    EXPECT_EQ(w.txt_Code.Text(), "2");
    EXPECT_EQ(w.txt_Name.Text(), "Staff");
    EXPECT_EQ(w.txt_S_Money.Text(), "10.00");
    // By meal: the day boxes show 0, grayed, but the meal frame is shown.
    EXPECT_EQ(w.txt_Tian_J.Text(), "0.00");
    EXPECT_EQ(w.Check_Tian_J.Value(), forms::vbGrayed);
    EXPECT_TRUE(w.Option1(1).Value());
    EXPECT_TRUE(w.fra_Can.Visible());
    EXPECT_FALSE(w.fra_Tian.Visible());
    EXPECT_EQ(w.txt_Can_J(0).Text(), "5.00");
    EXPECT_EQ(w.Check1(1).Value(), forms::vbGrayed);
    EXPECT_TRUE(w.txt_Can_J(0).Enabled());
    EXPECT_EQ(w.Check1(3).Value(), forms::vbUnchecked);
    EXPECT_FALSE(w.txt_Can_J(2).Enabled());

    w.txt_Name.setText("system");  // kind 1's stored name: modify does not check
    w.txt_Can_Ci(0).setText("3");
    w.Check1(2).setValue(forms::vbUnchecked);  // no lunch amount any more
    w.Command1.click();
    EXPECT_EQ(sv->lastPrompt(), "提示:修改卡类信息成功!");
    EXPECT_EQ(test::row(*con, "select * from Card_Type where ID=2"),
              (V{"2", "2", "system", "职工", "1000", "1000", "500", "2000", "0", "0", "500", "3", "-1", "2", "-1", "-1",
                 "-1", "-1", "-1", "-1", "10000", "-1", "0"}));
}

TEST_P(CardTypeWindow, MealOrderKindsKeepTheirOwnAmountsThroughModifyAndCancelClearsThem) {
    Conn_Main->execute("update Sys_Para set P2='3'");
    w.Load();
    w.Command2.click();
    w.Option1(2).setValue(true);
    EXPECT_TRUE(w.Fra_DC.Visible());
    EXPECT_FALSE(w.fra_Tian.Visible());
    w.txt_Name.setText("Order");
    w.txt_Max_Money.setText("20");
    w.Check1(18).setValue(forms::vbChecked);
    w.txt_Can_J(5).setText("6");
    w.Check1(20).setValue(forms::vbChecked);
    w.txt_Can_J(7).setText("7.5");
    w.Command1.click();
    const V order{"3", "Order", "", "0", "0", "0", "2000", "-2", "-2", "600", "1", "-1", "1", "750", "1",
                  "-1", "1", "-1", "1", "-1", "-1", "0"};
    ASSERT_EQ(stored("Order"), order);

    // A second meal-order kind edited in between must not lend its amounts.
    w.Command2.click();
    EXPECT_EQ(w.txt_Can_J(5).Text(), "");  // cleared by the save's cancel
    w.Option1(2).setValue(true);
    w.txt_Name.setText("Order2");
    w.Check1(19).setValue(forms::vbChecked);
    w.txt_Can_J(6).setText("8");
    w.Command1.click();
    EXPECT_EQ(stored("Order2")[11], "800");
    select(3);
    w.Command4.click();
    EXPECT_TRUE(w.Option1(2).Value());
    EXPECT_TRUE(w.Fra_DC.Visible());
    EXPECT_EQ((V{w.txt_Can_J(5).Text(), w.txt_Can_J(6).Text(), w.txt_Can_J(7).Text()}), (V{"6.00", "", "7.50"}));
    EXPECT_EQ(w.Check1(18).Value(), forms::vbGrayed);
    EXPECT_EQ(w.Check1(19).Value(), forms::vbUnchecked);
    EXPECT_FALSE(w.txt_Can_J(6).Enabled());
    w.Command1.click();
    EXPECT_EQ(stored("Order"), order);

    select(3);
    w.Command4.click();
    w.Command3.click();
    EXPECT_EQ(w.txt_Can_J(5).Text(), "");
    EXPECT_EQ(w.Check1(18).Value(), forms::vbUnchecked);
}

TEST_P(CardTypeWindow, RefusalsLeaveTheEditorOpenAndWriteNothing) {
    w.Load();
    w.Command2.click();
    w.txt_Name.setText("X");
    w.txt_Max_Money.setText("");
    w.Command1.click();
    EXPECT_EQ(sv->lastPrompt(), "提示：卡类号、卡名称、一次最大消费金额不能为空！");
    w.txt_Max_Money.setText("10");
    w.txt_T_Money.setText("-0.01");
    w.Command1.click();
    EXPECT_EQ(sv->lastPrompt(), "退卡工本费不能为负数.");
    EXPECT_EQ(sv->boxes.back().style, 16);
    EXPECT_EQ(sv->boxes.back().title, "出错");
    EXPECT_TRUE(w.fraEdit.Visible());
    EXPECT_EQ(count("C_Name='X'"), 0);
    w.Command3.click();

    // With no live kind the next is the system kind, which takes only its own name.
    Conn_Main->execute("update Card_Type set Del_YN=1");
    w.Load_Types();
    w.Command2.click();
    EXPECT_EQ(w.txt_Code.Text(), "1");
    w.txt_Name.setText("Any");
    w.Command1.click();
    EXPECT_EQ(sv->lastPrompt(), "提示：此卡是系统卡，不能修改名字！");
    w.txt_Name.setText("普通卡");
    w.Command1.click();
    EXPECT_EQ(sv->lastPrompt(), "提示:增加卡类型成功!");
    EXPECT_EQ(count("C_Name='普通卡' and C_LeiBie=1 and Del_YN=0"), 1);
    w.Unload();

    Load_Lan(1);
    w.Load();
    w.Grid_Info.setActive_Cell(1, 1);
    w.Command4.click();
    EXPECT_EQ(w.txt_Name.Text(), "Common card");
    w.txt_Name.setText("普通卡");
    w.Command1.click();
    EXPECT_EQ(sv->lastPrompt(), "Prompt:It is system card and can not change its name!");
}

TEST_P(CardTypeWindow, DeleteAsksRefusesTheSystemKindAndKindsInUseAndFreesTheNumber) {
    w.Load();
    w.Command5.click();
    EXPECT_EQ(sv->lastPrompt(), "提示：请选择一条记录！");

    select(2);
    sv->msgBoxAnswers = {platform::vbNo};
    w.Command5.click();
    EXPECT_EQ(sv->boxes.back().style, platform::vbYesNo | platform::vbQuestion);
    EXPECT_EQ(count("Del_YN=0"), 2);

    select(1);
    w.Command5.click();
    EXPECT_EQ(sv->lastPrompt(), "提示：此卡类型为系统设定，无法删除！");

    Conn_Main->execute("insert into Card_Info(Pinfo_id,Card_No,C_LeiBie,C_GuaShi) values (1,'A',2,0),(2,'B',2,1)");
    select(2);
    w.Command5.click();
    EXPECT_EQ(sv->lastPrompt(), "提示：此卡类型有正在使用的卡，无法删除！");
    Conn_Main->execute("update Card_Info set C_GuaShi=1");  // every card of kind 2 reported lost
    w.Command5.click();
    EXPECT_EQ(sv->lastPrompt(), "提示：删除成功!");
    EXPECT_EQ(count("ID=2 and Del_YN=1"), 1);
    EXPECT_EQ(w.Grid_Info.Rows(), 2);

    w.Command2.click();
    EXPECT_EQ(w.txt_Code.Text(), "2");  // the deleted kind's number is given out again
}

TEST_P(CardTypeWindow, AFailedWriteIsReportedChangesNothingAndARetryAddsOnce) {
    test::refuseWrites(*con, engine(), "no_add", "insert", "Card_Type", "", "disk full");
    test::refuseWrites(*con, engine(), "no_change", "update", "Card_Type", "", "locked");
    w.Load();
    auto add = [&] {
        w.Command2.click();
        w.txt_Name.setText("New");
        w.txt_Max_Money.setText("9");
        w.Command1.click();
    };
    add();
    EXPECT_EQ(sv->lastPrompt().rfind("提示：数据库出错了!\ndisk full", 0), 0u) << sv->lastPrompt();
    EXPECT_FALSE(w.fraEdit.Visible());
    EXPECT_EQ(count("1=1"), 3);

    select(2);
    w.Command4.click();
    w.txt_Say.setText("changed");
    w.Command1.click();
    EXPECT_EQ(sv->lastPrompt().rfind("提示：数据库出错了!\nlocked", 0), 0u) << sv->lastPrompt();
    EXPECT_EQ(count("C_Remark='职工'"), 1);

    test::allowWrites(*con, engine(), "no_add", "Card_Type");
    add();
    EXPECT_EQ(sv->lastPrompt(), "提示:增加卡类型成功!");
    add();
    EXPECT_EQ(count("C_Name='New'"), 1);
}

TEST_P(CardTypeWindow, OnScreenAKindIsAddedThroughTheEditorOverTheList) {
    test::whileShown(w, [&] {
        test::clickOnScreen(w.Command2);
        // The editor lies over the list and hides it.
        QWidget* list = w.Grid_Info.widget();
        QWidget* over = QApplication::widgetAt(list->mapToGlobal(list->rect().center()));
        EXPECT_TRUE(over == w.fraEdit.widget() || w.fraEdit.widget()->isAncestorOf(over));
        EXPECT_TRUE(w.fraEdit.widget()->autoFillBackground());
        w.txt_Name.setText("Visitor");
        test::clickOnScreen(w.Option1(1));
        test::clickOnScreen(w.Check1(2));
        w.txt_Can_J(1).setText("12");
        test::clickOnScreen(w.Command1);
        EXPECT_EQ(sv->lastPrompt(), "提示:增加卡类型成功!");
        EXPECT_EQ(cell(3, 2), "Visitor");
        EXPECT_EQ(cell(3, 12), "12.00");
    });
    EXPECT_EQ(stored("Visitor")[7], "0");   // by meal: day markers 0
    EXPECT_EQ(stored("Visitor")[11], "1200");  // lunch amount
}
