#include "ChongHzFixture.h"

using namespace tolvenk;

namespace {

// Kind codes of the kind lists.
constexpr int kPlace = 1, kMach = 2, kCashier = 3, kCard = 5, kOperator = 6, kDept = 7, kDate = 8;
constexpr bool kTerminal = true, kComputer = false;

class ChongSum : public test::ChongHzFixture {
protected:
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
    std::vector<int> shown() {
        std::vector<int> out;
        for (int c = 1; c < w.Grid1.Cols(); ++c)
            if (w.Grid1.Column(c).Width() > 0) out.push_back(c);
        return out;
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

TOLVENK_ON_BOTH_ENGINES(ChongSum);

TEST_P(ChongSum, ComputerByOperatorAndDaySubtotalsEachDayOfSeveralOperators) {
    computerDays();
    sum(kComputer, kOperator, kOperator, "2026-07-01", "2026-07-02");
    EXPECT_EQ(cell(0, 2), "操作员");
    EXPECT_EQ(lines(), (S{"2026-07-01|管理员|| 4:￥60.00 5:￥20.00 6:10 9:￥40.00",
                          "|王会计|| 5:￥5.00 9:￥-5.00 10:￥7.00",
                          "|小计：|| 4:￥60.00 5:￥25.00 6:10 9:￥35.00 10:￥7.00",
                          "2026-07-02|管理员|| 4:￥2.50 9:￥2.50",
                          "|其它|| 4:￥1.00 9:￥1.00",
                          "|小计：|| 4:￥3.50 5:￥0.00 6:0 9:￥3.50 10:￥0.00",
                          "总计：||| 4:￥63.50 5:￥25.00 6:10 9:￥38.50 10:￥7.00"}));
    EXPECT_EQ((S{span(2, 1), span(4, 1), span(3, 3), span(7, 2)}), (S{"1-2", "4-5", "3-3", "7-7"}));
    EXPECT_EQ(shown(), (I{1, 2, 4, 5, 6, 9, 10}));
    EXPECT_FALSE(w.pBar3.Visible());
    EXPECT_TRUE(w.Grid1.Redraw());

    // The server's SUBSTRING form gives the same periods on either engine.
    const auto access = lines();
    DB_Provider = "SQL";
    go(kComputer);
    EXPECT_EQ(lines(), access);
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
    w.Unload();
    sum(kTerminal, kMach, kMach, "2026-07-01", "2026-07-02");
    EXPECT_EQ(shown(), (I{1, 2, 4, 6, 8, 11, 13, 19, 21}));
    EXPECT_EQ(lines().back(), total);  // still summed
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
    add(pos(1, "2026-06-30 23:59:59", 11).person(2).meal(2).money(-1000));
    add(pos(1, "2026-07-31 23:59:59", 11).person(3).meal(3).money(-300));  // department below the list
    add(pos(1, "2026-07-15 12:00:00", 11).person(9).money(-999));         // nobody: no department
    add(pos(5, "2026-07-15 12:00:00", 13).money(2000));
    add(pos(1, "2026-08-01 00:00:00", 11).money(-8888));
    sum(kTerminal, kDept, kDept, "2026-06-15", "2026-07-03", true);
    EXPECT_EQ(w.Text1.Text(), "2026年6月");
    const std::string rest = " 13:￥0.00 15:￥0.00 17:￥0.00 19:￥0.00 21:￥0.00";
    EXPECT_EQ(lines(), (S{"2026-06|财务|| 4:￥1.00 9:￥1.00",
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

TEST_P(ChongSum, AFailedQueryIsReportedAndClosingStopsTheRun) {
    computerDays();
    sv->onYield = [&] { w.Unload(); };
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
