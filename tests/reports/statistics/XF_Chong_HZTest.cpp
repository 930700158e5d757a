// The terminal and computer summary on a small business database whose
// people, lists and transactions the tests state by hand.
#include <initializer_list>
#include <string>
#include <vector>

#include "data/Globals.h"
#include "data/HzDimCode.h"
#include "entry/MenuTable.h"
#include "lang/Language.h"
#include "reports/statistics/XF_Chong_HZ.h"
#include "support/Captions.h"
#include "support/Fixtures.h"
#include "support/FormText.h"
#include "support/Screen.h"
#include "ui/WindowRegistry.h"

namespace tolvenk::test {
namespace {

class ChongHz : public WindowOf<XF_Chong_HZ> {
protected:
    void SetUp() override {
        WindowOf::SetUp();
        if (IsSkipped()) return;
        sv->clock = "2026-07-20 09:00:00";
        Op_User_Name = "admin";
        DB_Provider = "Access";
        // Department 3 is below the listed levels; operator 3 and card kind 4 are deleted;
        // terminal 14 is no consumption terminal; cashier keys differ from their names.
        con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values
 (2,'01','财务',0,0),(3,'0101','出纳',2,0),(4,'02','食堂',1,0),(5,'03','撤销部',0,1);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,Del_YN) values
 (1,2,'01','张三','E1',0),(2,4,'02','李四','E2',0),(3,3,'0101','王五','E3',0);
insert into Sys_User_Info(User_ID,User_Name,Del_YN) values (1,'管理员',0),(2,'王会计',0),(3,'离职',1);
insert into Card_Type(ID,C_LeiBie,C_Name,Del_YN) values (1,1,'',0),(2,2,'教工卡',0),(3,3,'',0),(4,4,'旧卡',1);
insert into Mach_Info(Mach_ID,Mach_Name,Mach_Type,Del_YN) values
 (11,'一号机',301,0),(12,'二号机',301,0),(13,'充值机',302,0),(14,'门禁机',200,0);
insert into XF_Dian_Info(XF_Dian_ID,XF_Dian_Name,Del_YN) values (1,'一食堂',0),(2,'二食堂',0),(3,'旧点',1);
insert into XF_Unit_Info(XF_Unit_ID,XF_Unit_Name,Del_YN) values (1,'膳食科',0),(2,'外包',0);
insert into XF_ShouKuan(ID,SK_ID,SK_Name) values (1,'7','李收'),(2,'K01','张收'),(3,'O''K','引号');
insert into Sys_Para(Para_Name,P1,P5) values ('JieSuan_Date','2026-01-15',null),('Sys_Config',null,'1');
)");
    }

    // A computer transaction by person 1 with a staff card; a terminal one by
    // person 1 at place 1 for owner 1. Nothing moves until told.
    static XfRow pc(int type, const std::string& date, int op) {
        return XfRow().type(type).date(date).op(op).person(1).kind(2).money(0).times(0);
    }
    static XfRow pos(int type, const std::string& date, int mach) {
        return XfRow().type(type).date(date).mach(mach).person(1).kind(2).dian(1).unit(1).money(0).times(0);
    }
    void add(const XfRow& r) { r.insert(*con); }

    // The entry with that item data (a kind code), or with that text.
    static void pick(forms::ComboBox& c, int data) { c.setListIndex(find(c, [&](int i) { return c.ItemData(i) == data; })); }
    static void pickText(forms::ComboBox& c, const std::string& text) {
        c.setListIndex(find(c, [&](int i) { return c.List(i) == text; }));
    }
    template <class F>
    static int find(const forms::ComboBox& c, F match) {
        for (int i = 0; i < c.ListCount(); ++i)
            if (match(i)) return i;
        return -1;
    }
    // Mode, report kind, the two kinds and the range, then the mode's button.
    void sum(bool terminal, int kind1, int kind2, const std::string& from, const std::string& to, bool months = false) {
        if (!w.Loaded()) w.Load();
        w.Option2(terminal ? 0 : 1).setValue(true);
        w.Option1(months ? 1 : 0).setValue(true);
        pick(w.Combo2, kind1);
        pick(w.Combo3, kind2);
        w.DTPicker1.setValue(from);
        w.DTPicker2.setValue(to);
        go(terminal);
    }
    void go(bool terminal) { (terminal ? w.Command2 : w.Command1).click(); }

    using S = std::vector<std::string>;
    std::string cell(int r, int c) { return w.Grid1.Cell(r, c).Text(); }
    // Rows 1 on as "date|group 1|group 2|" and the written value cells as " column:text".
    S lines() {
        S out;
        for (int r = 1; r < w.Grid1.Rows(); ++r) {
            std::string line = cell(r, 1) + "|" + cell(r, 2) + "|" + cell(r, 3) + "|";
            for (int c = 4; c < w.Grid1.Cols(); ++c)
                if (!cell(r, c).empty()) line += " " + std::to_string(c) + ":" + cell(r, c);
            out.push_back(line);
        }
        return out;
    }
    // The rows a cell's merged block spans, "r1-r2", or "" for a cell of its own.
    std::string span(int r, int c) {
        const auto m = w.Grid1.model().mergeAt(r, c);
        return m ? std::to_string(m->row1) + "-" + std::to_string(m->row2) : "";
    }
    std::vector<int> shown() { return shownColumns(w.Grid1); }

    // Computer transactions of 1 and 2 July, and some that must not count.
    void computerDays() {
        add(pc(161, "2026-07-01 08:00:00", 1).money(5000));
        add(pc(161, "2026-07-01 09:00:00", 1).money(1000));
        add(pc(162, "2026-07-01 10:00:00", 1).money(-2000));
        add(pc(163, "2026-07-01 11:00:00", 1).times(10));  // a times recharge moves no money
        add(pc(181, "2026-07-01 12:00:00", 2).money(-700));
        add(pc(162, "2026-07-01 13:00:00", 2).money(-500));
        add(pc(161, "2026-07-02 23:59:59", 1).money(250));
        add(pc(161, "2026-07-02 08:00:00", 3).money(100));  // a deleted operator
        add(pc(161, "2026-07-03 00:00:00", 1).money(9999));
        add(pc(161, "2026-06-30 23:59:59", 1).money(8888));
        add(pc(1, "2026-07-01 12:00:00", 1).money(-300));   // a terminal kind
    }
    // Terminal transactions of 1 and 2 July at terminals 11 to 14.
    void terminalDays() {
        add(pos(1, "2026-07-01 12:00:00", 11).meal(2).money(-350).cashier("K01"));
        add(pos(1, "2026-07-01 12:30:00", 11).meal(2).money(-150).cashier("K01"));
        add(pos(3, "2026-07-01 07:30:00", 11).meal(1).times(-2).cashier("K01"));
        add(pos(2, "2026-07-01 13:00:00", 11).money(50).cashier("K01"));  // no meal: the other meals
        add(pos(5, "2026-07-01 09:00:00", 13).money(10000).cashier("7"));
        add(pos(9, "2026-07-01 09:10:00", 13).money(-3000).cashier("7"));
        add(pos(7, "2026-07-01 09:20:00", 13).times(20).cashier("7"));
        add(pos(17, "2026-07-01 15:00:00", 12).money(-800).cashier("K01"));
        add(pos(1, "2026-07-02 18:00:00", 11).meal(6).money(-400).cashier("K01"));
        add(pos(1, "2026-07-02 18:30:00", 14).meal(3).money(-600).cashier("K01"));
        add(pos(250, "2026-07-02 00:00:00", 11).money(-12345));
        add(pos(161, "2026-07-02 10:00:00", 11).money(-54321));
    }
    using I = std::vector<int>;
    // Money columns show 0.00 in level rows; unused count columns stay empty.
    const std::string zeros = " 6:￥0.00 8:￥0.00 9:￥0.00";
    const std::string july1 = "| 4:￥4.50 5:2 6:￥100.00 7:20 8:￥30.00 9:￥0.00 10:2 11:￥5.00 13:￥0.00 15:￥0.00 "
                              "17:￥0.00 19:￥-0.50 21:￥8.00";
    const std::string total = "总计：||| 4:￥14.50 5:2 6:￥100.00 7:20 8:￥30.00 9:￥0.00 10:2 11:￥5.00 13:￥6.00 "
                              "15:￥0.00 17:￥0.00 19:￥3.50 21:￥8.00";
};

}  // namespace
}  // namespace tolvenk::test

using namespace tolvenk;

namespace {

using ChongSum = test::ChongHz;
using ChongWindow = test::ChongHz;
constexpr auto items = test::listItems;
// Kind codes of the kind lists.
constexpr int kPlace = HZ_Dim::Place, kMach = HZ_Dim::Mach, kCashier = HZ_Dim::Cashier, kCard = HZ_Dim::CardType,
              kOperator = HZ_Dim::Operator, kDept = HZ_Dim::Dept, kDate = HZ_Dim::Date;
constexpr bool kTerminal = true, kComputer = false;

}  // namespace

TOLVENK_ON_BOTH_ENGINES(ChongSum);
TOLVENK_ON_BOTH_ENGINES(ChongWindow);

TEST_P(ChongSum, ComputerByOperatorAndDaySubtotalsEachDayOfSeveralOperators) {
    computerDays();
    add(pc(161, "2026-07-02 09:00:00", 4).money(50));  // another unlisted operator: the same "other" row
    sum(kComputer, kOperator, kOperator, "2026-07-01", "2026-07-02");
    EXPECT_EQ(cell(0, 2), "操作员");
    EXPECT_EQ(lines(), (S{"2026-07-01|管理员|| 4:￥60.00 5:￥20.00 6:10 9:￥40.00",
                          "|王会计|| 5:￥5.00 9:￥-5.00 10:￥7.00",
                          "|小计：|| 4:￥60.00 5:￥25.00 6:10 9:￥35.00 10:￥7.00",
                          "2026-07-02|管理员|| 4:￥2.50 9:￥2.50",
                          "|其它|| 4:￥1.50 9:￥1.50",
                          "|小计：|| 4:￥4.00 5:￥0.00 6:0 9:￥4.00 10:￥0.00",
                          "总计：||| 4:￥64.00 5:￥25.00 6:10 9:￥39.00 10:￥7.00"}));
    EXPECT_EQ((S{span(2, 1), span(4, 1), span(3, 3), span(7, 2)}), (S{"1-2", "4-5", "3-3", "7-7"}));
    EXPECT_EQ(shown(), (I{1, 2, 4, 5, 6, 9, 10}));
    EXPECT_FALSE(w.pBar3.Visible());
    EXPECT_TRUE(w.Grid1.Redraw());

    // The server's SUBSTRING form gives the same periods on either engine.
    const auto access = lines();
    DB_Provider = "SQL";
    go(kComputer);
    EXPECT_EQ(lines(), access);

    // No times purse: the times column goes, its figures are still summed.
    Conn_Main->execute("update Sys_Para set P5='0' where Para_Name='Sys_Config'");
    w.Unload();
    sum(kComputer, kOperator, kOperator, "2026-07-01", "2026-07-02");
    EXPECT_EQ(shown(), (I{1, 2, 4, 5, 9, 10}));
    EXPECT_EQ(lines(), access);
    // Without the switch the times show.
    Conn_Main->execute("delete from Sys_Para where Para_Name='Sys_Config'");
    w.Unload();
    sum(kComputer, kOperator, kOperator, "2026-07-01", "2026-07-02");
    EXPECT_EQ(shown(), (I{1, 2, 4, 5, 6, 9, 10}));
}

TEST_P(ChongSum, ComputerOperatorThenDateAndOneOperator) {
    computerDays();
    sum(kComputer, kOperator, kDate, "2026-07-01", "2026-07-02");
    EXPECT_EQ(cell(0, 3), "日期");
    EXPECT_EQ(lines(), (S{"|管理员|2026-07-01| 4:￥60.00 5:￥20.00 6:10 9:￥40.00",
                          "||2026-07-02| 4:￥2.50 9:￥2.50",
                          "||小计：| 4:￥62.50 5:￥20.00 6:10 9:￥42.50 10:￥0.00",
                          "|王会计|2026-07-01| 5:￥5.00 9:￥-5.00 10:￥7.00",
                          "|其它|2026-07-02| 4:￥1.00 9:￥1.00",
                          "总计：||| 4:￥63.50 5:￥25.00 6:10 9:￥38.50 10:￥7.00"}));
    EXPECT_EQ(span(2, 2), "1-3");
    EXPECT_EQ(shown(), (I{2, 3, 4, 5, 6, 9, 10}));

    pickText(w.Combo1, "王会计");
    go(kComputer);
    EXPECT_EQ(lines(), (S{"|王会计|2026-07-01| 5:￥5.00 9:￥-5.00 10:￥7.00",
                          "总计：||| 4:￥0.00 5:￥5.00 6:0 9:￥-5.00 10:￥7.00"}));
}

TEST_P(ChongSum, ComputerByMonthCardTypeThenDepartment) {
    add(pc(161, "2026-06-10 10:00:00", 1).money(1000));
    add(pc(161, "2026-06-11 10:00:00", 1).person(2).money(500));
    add(pc(162, "2026-06-12 10:00:00", 1).kind(1).money(-300));
    add(pc(163, "2026-07-31 23:59:59", 1).times(5));
    add(pc(161, "2026-07-02 10:00:00", 1).person(9).money(9999));  // nobody: no department
    add(pc(161, "2026-05-31 23:59:59", 1).money(7777));
    add(pc(161, "2026-08-01 00:00:00", 1).money(6666));
    sum(kComputer, kCard, kDept, "2026-06-15", "2026-07-03", true);
    EXPECT_EQ(w.DTPicker1.Value(), "2026-06-01");
    EXPECT_EQ((S{cell(0, 2), cell(0, 3)}), (S{"卡类型", "部门"}));
    EXPECT_EQ(lines(), (S{"2026-06|普通卡|财务| 5:￥3.00 9:￥-3.00",
                          "|教工卡|财务| 4:￥10.00 9:￥10.00",
                          "||食堂| 4:￥5.00 9:￥5.00",
                          "||小计：| 4:￥15.00 5:￥0.00 6:0 9:￥15.00 10:￥0.00",
                          "|小计：|| 4:￥15.00 5:￥3.00 6:0 9:￥12.00 10:￥0.00",
                          "2026-07|教工卡|财务| 6:5",
                          "总计：||| 4:￥15.00 5:￥3.00 6:5 9:￥12.00 10:￥0.00"}));
    EXPECT_EQ((S{span(1, 1), span(2, 2), span(5, 3)}), (S{"1-4", "2-4", "5-5"}));
}

TEST_P(ChongSum, TerminalByMachineCountsTimesAndHidesEmptyColumns) {
    terminalDays();
    sum(kTerminal, kMach, kMach, "2026-07-01", "2026-07-02");
    EXPECT_EQ(cell(0, 2), "收费机");
    EXPECT_EQ(lines(), (S{"2026-07-01|一号机|| 4:￥4.50 5:2 10:2 11:￥5.00 19:￥-0.50",
                          "|二号机|| 21:￥8.00",
                          "|充值机|| 6:￥100.00 7:20 8:￥30.00",
                          "|小计：|" + july1,
                          "2026-07-02|一号机|| 4:￥4.00 19:￥4.00",
                          "|其它|| 4:￥6.00 13:￥6.00",
                          "|小计：|| 4:￥10.00" + zeros + " 11:￥0.00 13:￥6.00 15:￥0.00 17:￥0.00 19:￥4.00 21:￥0.00",
                          total}));
    EXPECT_EQ(shown(), (I{1, 2, 4, 5, 6, 7, 8, 10, 11, 13, 19, 21}));

    // The times switch off hides every times column, those of consumption and of recharge too.
    Conn_Main->execute("update Sys_Para set P5='0' where Para_Name='Sys_Config'");
    add(pos(3, "2026-07-02 19:00:00", 11).meal(4).times(-1));  // the night meal by times: column 16
    w.Unload();
    sum(kTerminal, kMach, kMach, "2026-07-01", "2026-07-02");
    EXPECT_EQ(shown(), (I{1, 2, 4, 6, 8, 11, 13, 19, 21}));
    const int t = w.Grid1.Rows() - 1;  // still summed
    EXPECT_EQ((S{cell(t, 5), cell(t, 7), cell(t, 10), cell(t, 16)}), (S{"3", "20", "2", "1"}));
}

// After a summary the columns of figures and names fit what they show, but
// for two that keep the width the header gave them: by computer the transfer
// column 10, by terminal the name column 2.
TEST_P(ChongSum, ColumnsFitTheirTextsButTheTwoThatKeepTheHeadersWidth) {
    const auto fits = [&](int c) {
        const int width = w.Grid1.Column(c).Width();
        w.Grid1.Column(c).AutoFit();
        return w.Grid1.Column(c).Width() == width;
    };
    w.Load();
    w.Option2(1).setValue(true);
    const int transfer = w.Grid1.Column(10).Width();
    add(pc(161, "2026-07-01 08:00:00", 1).money(5000));
    add(pc(181, "2026-07-01 12:00:00", 1).money(-900000000000000000));  // far wider than its head
    sum(kComputer, kOperator, kCard, "2026-07-01", "2026-07-01");
    for (int c : {1, 2, 3, 4, 5, 6, 9}) EXPECT_TRUE(fits(c)) << c;
    EXPECT_EQ(w.Grid1.Column(10).Width(), transfer);
    EXPECT_FALSE(fits(10));

    w.Option2(0).setValue(true);
    const int names = w.Grid1.Column(2).Width();
    terminalDays();
    sum(kTerminal, kPlace, kMach, "2026-07-01", "2026-07-02");
    for (int c : shown()) {
        if (c == 2) continue;
        EXPECT_TRUE(fits(c)) << c;
    }
    EXPECT_EQ(w.Grid1.Column(2).Width(), names);
    EXPECT_FALSE(fits(2));
}

TEST_P(ChongSum, TerminalCashierThenMachineAndCashierByKey) {
    terminalDays();
    sum(kTerminal, kCashier, kMach, "2026-07-01", "2026-07-02");
    EXPECT_EQ((S{cell(0, 2), cell(0, 3)}), (S{"收款员", "收费机"}));
    EXPECT_EQ(lines(), (S{"2026-07-01|李收|充值机| 6:￥100.00 7:20 8:￥30.00",
                          "|张收|一号机| 4:￥4.50 5:2 10:2 11:￥5.00 19:￥-0.50",
                          "||二号机| 21:￥8.00",
                          "||小计：| 4:￥4.50 5:2" + zeros + " 10:2 11:￥5.00 13:￥0.00 15:￥0.00 17:￥0.00 19:￥-0.50 21:￥8.00",
                          "|小计：|" + july1,
                          "2026-07-02|张收|一号机| 4:￥4.00 19:￥4.00",
                          "||其它| 4:￥6.00 13:￥6.00",
                          "||小计：| 4:￥10.00" + zeros + " 11:￥0.00 13:￥6.00 15:￥0.00 17:￥0.00 19:￥4.00 21:￥0.00",
                          total}));
    EXPECT_EQ((S{span(1, 1), span(3, 2), span(5, 2), span(7, 2)}), (S{"1-4", "2-4", "5-5", "6-8"}));

    // One cashier, chosen by name, is kept by its key; a key with a quote is taken literally.
    pickText(w.Combo1, "李收");
    go(kTerminal);
    EXPECT_EQ(lines().front(), "2026-07-01|李收|充值机| 6:￥100.00 7:20 8:￥30.00");
    EXPECT_EQ(shown(), (I{1, 2, 3, 6, 7, 8}));
    pickText(w.Combo1, "引号");
    go(kTerminal);
    EXPECT_EQ(w.Grid1.Rows(), 2);
    EXPECT_EQ(shown(), (I{1, 2, 3}));
    // A condition on the second level.
    pickText(w.Combo1, "全部");
    pickText(w.Combo4, "一号机");
    go(kTerminal);
    EXPECT_EQ(lines(), (S{"2026-07-01|张收|一号机| 4:￥4.50 5:2 10:2 11:￥5.00 19:￥-0.50",
                          "2026-07-02|张收|一号机| 4:￥4.00 19:￥4.00",
                          "总计：||| 4:￥8.50 5:2" + zeros + " 10:2 11:￥5.00 13:￥0.00 15:￥0.00 17:￥0.00 19:￥3.50 21:￥0.00"}));
}

TEST_P(ChongSum, TerminalByDepartmentAndMonth) {
    add(pos(1, "2026-05-31 23:59:59", 11).meal(1).money(-7777));
    add(pos(1, "2026-06-01 00:00:00", 11).meal(1).money(-100));
    add(pos(9, "2026-06-10 09:00:00", 13).money(-500));  // a withdrawal and its cancellation net to nothing
    add(pos(10, "2026-06-10 09:05:00", 13).money(500));
    add(pos(1, "2026-06-30 23:59:59", 11).person(2).meal(2).money(-1000));
    add(pos(1, "2026-07-31 23:59:59", 11).person(3).meal(3).money(-300));  // department below the list
    add(pos(1, "2026-07-15 12:00:00", 11).person(9).money(-999));         // nobody: no department
    add(pos(5, "2026-07-15 12:00:00", 13).money(2000));
    add(pos(1, "2026-08-01 00:00:00", 11).money(-8888));
    sum(kTerminal, kDept, kDept, "2026-06-15", "2026-07-03", true);
    EXPECT_EQ(w.Text1.Text(), "2026年6月");
    const std::string rest = " 13:￥0.00 15:￥0.00 17:￥0.00 19:￥0.00 21:￥0.00";
    EXPECT_EQ(lines(), (S{"2026-06|财务|| 4:￥1.00 8:￥0.00 9:￥1.00",
                          "|食堂|| 4:￥10.00 11:￥10.00",
                          "|小计：|| 4:￥11.00 6:￥0.00 8:￥0.00 9:￥1.00 11:￥10.00" + rest,
                          "2026-07|财务|| 6:￥20.00",
                          "|其它|| 4:￥3.00 13:￥3.00",
                          "|小计：|| 4:￥3.00 6:￥20.00 8:￥0.00 9:￥0.00 11:￥0.00 13:￥3.00 15:￥0.00 17:￥0.00 19:￥0.00 21:￥0.00",
                          "总计：||| 4:￥14.00 6:￥20.00 8:￥0.00 9:￥1.00 11:￥10.00 13:￥3.00 15:￥0.00 17:￥0.00 "
                          "19:￥0.00 21:￥0.00"}));
    EXPECT_EQ(shown(), (I{1, 2, 4, 6, 9, 11, 13}));

    const auto access = lines();
    DB_Provider = "SQL";
    go(kTerminal);
    EXPECT_EQ(lines(), access);
    pickText(w.Combo1, "食堂");
    go(kTerminal);
    EXPECT_EQ(lines().front(), "2026-06|食堂|| 4:￥10.00 11:￥10.00");
}

TEST_P(ChongSum, TerminalByMonthPlaceThenCardType) {
    add(pos(1, "2026-06-05 12:00:00", 11).meal(2).money(-200));
    add(pos(1, "2026-06-20 12:00:00", 11).meal(2).kind(1).money(-300));
    add(pos(1, "2026-06-21 12:00:00", 12).dian(2).meal(2).money(-100));
    add(pos(5, "2026-07-01 09:00:00", 13).dian(2).money(5000));
    sum(kTerminal, kPlace, kCard, "2026-06-15", "2026-07-03", true);
    EXPECT_EQ((S{cell(0, 2), cell(0, 3)}), (S{"收费点", "卡类型"}));
    const std::string rest = " 6:￥0.00 8:￥0.00 9:￥0.00 11:￥5.00 13:￥0.00 15:￥0.00 17:￥0.00 19:￥0.00 21:￥0.00";
    EXPECT_EQ(lines(), (S{"2026-06|一食堂|普通卡| 4:￥3.00 11:￥3.00",
                          "||教工卡| 4:￥2.00 11:￥2.00",
                          "||小计：| 4:￥5.00" + rest,
                          "|二食堂|教工卡| 4:￥1.00 11:￥1.00",
                          "|小计：|| 4:￥6.00 6:￥0.00 8:￥0.00 9:￥0.00 11:￥6.00 13:￥0.00 15:￥0.00 17:￥0.00 19:￥0.00 "
                          "21:￥0.00",
                          "2026-07|二食堂|教工卡| 6:￥50.00",
                          "总计：||| 4:￥6.00 6:￥50.00 8:￥0.00 9:￥0.00 11:￥6.00 13:￥0.00 15:￥0.00 17:￥0.00 "
                          "19:￥0.00 21:￥0.00"}));
    EXPECT_EQ((S{span(1, 1), span(2, 2), span(4, 2), span(5, 2), span(7, 1)}), (S{"1-4", "1-3", "", "5-5", "7-7"}));
    EXPECT_EQ(shown(), (I{1, 2, 3, 4, 6, 11}));
}

TEST_P(ChongSum, WrongRangeEmptyRangeAndMoreRecordsThanSixteenBitsCount) {
    sum(kComputer, kOperator, kOperator, "2026-07-01", "2026-07-01");
    EXPECT_EQ(lines(), (S{"总计：||| 4:￥0.00 5:￥0.00 6:0 9:￥0.00 10:￥0.00"}));
    sum(kTerminal, kPlace, kPlace, "2026-07-01", "2026-07-01");
    EXPECT_EQ(lines(), (S{"总计：||| 4:￥0.00" + zeros + " 11:￥0.00 13:￥0.00 15:￥0.00 17:￥0.00 19:￥0.00 21:￥0.00"}));
    EXPECT_EQ(shown(), (I{1, 2}));

    w.DTPicker1.setValue("2026-07-02");
    go(kTerminal);
    EXPECT_EQ(sv->lastPrompt(), "提示:汇总日期选择错误!");
    EXPECT_TRUE(sv->shown("提示", platform::vbExclamation));
    EXPECT_EQ(w.Grid1.Rows(), 2);

    con->executeScript(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<33000) "
        "INSERT INTO Record_XF(XF_Type,Date_Time,Operator_id,Pinfo_id,C_LeiBie,YuE_Change,YuCi_Change) "
        "SELECT 161,'2026-07-05 10:00:00',1,1,2,1,0 FROM n;");
    add(pc(163, "2026-07-05 11:00:00", 1).times(40000));
    sum(kComputer, kOperator, kOperator, "2026-07-05", "2026-07-05");
    EXPECT_EQ(lines().front(), "2026-07-05|管理员|| 4:￥330.00 6:40000 9:￥330.00");
    EXPECT_EQ(w.pBar3.Value(), 33001);
}

// Consumption is shown negated: the one stored amount with no negative
// twin is an overflow, reported, never a wrapped figure.
TEST_P(ChongSum, AnAmountThatCannotBeNegatedIsAnOverflowNotAWrappedFigure) {
    add(pos(1, "2026-07-01 12:00:00", 11).meal(2).money(INT64_MIN));
    sum(kTerminal, kMach, kMach, "2026-07-01", "2026-07-01");
    EXPECT_TRUE(sv->shown("出错", platform::vbCritical));
    EXPECT_EQ(w.Grid1.Rows(), 1);
    // One short of it is shown as it is.
    Conn_Main->execute("update Record_XF set YuE_Change=-9223372036854775807");
    sum(kTerminal, kMach, kMach, "2026-07-01", "2026-07-01");
    EXPECT_EQ(cell(1, 4), "￥92233720368547758.07");
}

TEST_P(ChongSum, AFailedQueryIsReportedAndClosingStopsTheRun) {
    computerDays();
    sv->onYield = [&] {
        for (forms::Control* c : std::initializer_list<forms::Control*>{&w.Command1, &w.Command4(0), &w.Combo2,
                                                                        &w.Combo4, &w.Frame2})
            EXPECT_FALSE(c->Enabled());
        w.Unload();
    };
    sum(kComputer, kOperator, kOperator, "2026-07-01", "2026-07-02");
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(sv->yields, 1);
    sv->onYield = nullptr;
    w.Load();
    EXPECT_EQ(w.Grid1.Rows(), 1);
    EXPECT_TRUE(w.Command2.Enabled());

    Conn_Main->execute("drop table Record_XF");
    sum(kComputer, kOperator, kOperator, "2026-07-01", "2026-07-02");
    EXPECT_TRUE(sv->shown("出错", platform::vbCritical));
    EXPECT_EQ(w.Grid1.Rows(), 1);
    EXPECT_TRUE(w.Grid1.Redraw());
    EXPECT_FALSE(w.pBar3.Visible());
    EXPECT_TRUE(w.Command1.Enabled());
}

TEST_P(ChongWindow, OpensByTerminalAndSwitchesToComputer) {
    w.Load();
    EXPECT_TRUE(w.Option2(0).Value() && w.Option1(0).Value() && w.Command2.Visible());
    EXPECT_FALSE(w.Command1.Visible() || w.Text1.Visible());
    EXPECT_EQ(items(w.Combo1), (S{"全部", "一食堂", "二食堂"}));
    EXPECT_EQ(w.Combo1.ItemData(2), 2);
    EXPECT_EQ(w.DTPicker2.MinDate(), "2026-01-15");
    ASSERT_EQ(w.Grid1.Cols(), 22);
    EXPECT_EQ(w.Grid1.Rows(), 1);

    // A summary hides the columns it did not use; a mode switch drops its rows.
    add(pos(1, "2026-07-20 08:00:00", 11).meal(1).money(-100));
    sum(true, 2, 2, "2026-07-20", "2026-07-20");
    ASSERT_EQ(w.Grid1.Rows(), 3);
    w.Option2(1).setValue(true);
    EXPECT_EQ(w.Grid1.Rows(), 1);
    ASSERT_EQ(w.Grid1.Cols(), 11);
    EXPECT_EQ(w.Grid1.Column(7).Width() + w.Grid1.Column(8).Width(), 0);
    EXPECT_GT(w.Grid1.Column(10).Width(), 0);
    EXPECT_TRUE(w.Command1.Visible() && !w.Command2.Visible());
    EXPECT_EQ(items(w.Combo2), (S{"按操作员汇总", "按卡类型汇总", "按部门汇总"}));
    EXPECT_EQ(items(w.Combo3), (S{"按操作员汇总", "按卡类型汇总", "按部门汇总", "按日期汇总"}));
    EXPECT_EQ(items(w.Combo4), (S{"全部", "管理员", "王会计"}));
    w.Option2(0).setValue(true);
    for (int c = 1; c <= 21; ++c) EXPECT_GT(w.Grid1.Column(c).Width(), 0) << c;

    // Registered without a menu code: another window can open it.
    registerBuiltInWindows();
    EXPECT_NE(windowObject("XF_Chong_HZ"), nullptr);
    for (const MenuEntry& e : menuTable())
        EXPECT_TRUE(std::string(e.window) != "XF_Chong_HZ" || e.code == 0) << e.code;
    resetWindowObjects();
}

TEST_P(ChongWindow, ConditionListsAndGroupNames) {
    w.Load();
    const std::pair<int, S> lists[] = {{2, {"全部", "一号机", "二号机", "充值机"}},
                                       {3, {"全部", "李收", "张收", "引号"}},
                                       {4, {"全部", "膳食科", "外包"}},
                                       {5, {"全部", "普通卡", "教工卡", ""}},
                                       {HZ_Dim::Dept, {"全部", "财务", "食堂"}}};
    for (const auto& [kind, expected] : lists) {
        pick(w.Combo2, kind);
        EXPECT_EQ(items(w.Combo1), expected) << kind;
        EXPECT_EQ(w.Combo1.ListIndex(), 0);
    }

    // Cashiers are found by their key, never by their name.
    pick(w.Combo2, 3);
    std::string key;
    EXPECT_EQ(w.Find_Group_Name("7", 0, key, 1) + key, "李收7");
    EXPECT_EQ(w.Find_Group_Name("李收", 0, key, 1) + key, "其它-1");

    pick(w.Combo2, 2);
    w.Combo1.AddItem("重号");
    w.Combo1.setItemData(w.Combo1.NewIndex(), 12);
    EXPECT_EQ(w.Find_Group_Name("12", 0, key, 0), "二号机");  // the first of two
    EXPECT_EQ(w.Find_Group_Name("012", 0, key, 0) + key, "二号机012");
    for (const char* other : {"14", "x", "0"}) EXPECT_EQ(w.Find_Group_Name(other, 0, key, 0) + key, "其它-1") << other;

    // The date as second kind has no values: its list and label go grey.
    w.Option2(1).setValue(true);
    pick(w.Combo3, 8);
    EXPECT_EQ(items(w.Combo4), (S{"全部"}));
    EXPECT_FALSE(w.Combo4.Enabled() || w.Label1(2).Enabled());
    // Any refill for another kind, of either list, lights the second label
    // again; the second list stays grey until its own kind changes.
    pick(w.Combo2, 5);
    EXPECT_TRUE(w.Combo1.Enabled() && w.Label1(2).Enabled());
    EXPECT_FALSE(w.Combo4.Enabled());
    EXPECT_TRUE(w.Label1(0).Enabled());
    pick(w.Combo3, HZ_Dim::Dept);
    EXPECT_TRUE(w.Combo4.Enabled() && w.Label1(2).Enabled());
}

TEST_P(ChongWindow, MonthModeSnapsTheStart) {
    w.Load();
    w.setWidth(10000);
    w.setHeight(7000);
    w.Form_Resize();  // never below the smallest size; the grid follows
    EXPECT_NEAR(w.Width(), 11600, 15);
    EXPECT_NEAR(w.Height(), 8200, 15);
    EXPECT_EQ(w.Grid1.Width(), w.Width() - 420);
    EXPECT_EQ(w.Grid1.Top() + w.Grid1.Height(), w.Height() - 560);

    w.Option1(1).setValue(true);
    EXPECT_TRUE(w.Text1.Visible());
    EXPECT_EQ(w.DTPicker1.MinDate(), "2026-02-01");
    EXPECT_EQ(w.Text2.Text(), "2026年7月");
    w.DTPicker1.setValue("2026-03-31");
    EXPECT_EQ(w.DTPicker1.Value() + w.Text1.Text(), "2026-03-012026年3月");
    w.DTPicker2.setValue("2026-03-31");
    EXPECT_EQ(w.DTPicker2.Value() + w.Text2.Text(), "2026-03-312026年3月");
    w.Option1(0).setValue(true);
    EXPECT_FALSE(w.Text2.Visible());
    EXPECT_EQ(w.DTPicker1.MinDate(), "2026-01-15");
    w.DTPicker1.setValue("2026-04-30");
    EXPECT_EQ(w.DTPicker1.Value() + w.Text1.Text(), "2026-04-302026年4月");
}

// Every caption fits, in either mode, in each language; the computer's kinds
// stay Chinese.
TEST_P(ChongWindow, CaptionsFitInEveryLanguageAndComputerKindsStayChinese) {
    EXPECT_EQ(test::badCaptionsInEveryLanguage({&w}), test::Texts{});
    EXPECT_EQ(test::badCaptionsInEveryLanguage({&w}, [&](forms::Form&) { w.Option2(1).setValue(true); }), test::Texts{});
    Load_Lan(1);
    Lan_Type = 1;
    w.Load();
    w.Option2(1).setValue(true);
    EXPECT_EQ(w.Combo3.List(3), "按日期汇总");
}

// In the window's own loop: the summary button and the print button.
TEST_P(ChongWindow, OnScreenSummaryAndPrint) {
    add(pos(1, "2026-07-20 12:00:00", 12).meal(2).money(-250));
    test::whileShown(w, [&] {
        w.DTPicker1.setValue("2026-07-20");
        test::clickOnScreen(w.Command2);
        EXPECT_EQ(lines().front(), "2026-07-20|一食堂|| 4:￥2.50 11:￥2.50");
        test::clickOnScreen(w.Command4(3));
        EXPECT_EQ(sv->previews.size(), 1u);
        EXPECT_EQ(w.Grid1.Page_Setup().title, "汇总统计");
        EXPECT_EQ(w.Grid1.Page_Setup().footer, "制表人：admin    制表日期:2026-07-20 09:00:00");
    });
}
