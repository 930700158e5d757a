// The personal card history on a small business database; every line below is
// read off the records inserted here, balances summed by hand.
#include "cards/Card_GeRen_CX.h"
#include "data/TableColumns.h"
#include "platform/excel/XlsxReader.h"
#include "support/Fixtures.h"
#include "support/FormText.h"
#include "support/Screen.h"

using namespace tolvenk;

namespace {

using V = std::vector<std::string>;
constexpr forms::Colour kRed = 0x0000FF, kBlue = 0xFF0000, kLightRed = 0x8080FF;

// Person 1 holds C1 (issued twice, once reported lost) and C1b; person 2 has
// the same name and has left; person 4 holds no card.
class CardHistory : public test::WindowOf<Card_GeRen_CX> {
protected:
    void SetUp() override {
        WindowOf::SetUp();
        if (IsSkipped()) return;
        con->executeScript(R"(
insert into Sys_Para(Para_Name,P2,P5) values ('Sys_Config','1','1');
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Del_YN) values (1,'01','总部',0),(2,'02','食堂',0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,Del_YN) values
 (1,1,'01','张三','E1',0),(2,2,'02','张三','E2',1),(4,1,'01','王五','E4',0);
insert into Mach_Info(Mach_ID,Mach_Name,Mach_Type,Del_YN) values (11,'一号机',301,0),(12,'充值机',302,0);
insert into XF_Dian_Info(XF_Dian_ID,XF_Dian_Name) values (1,'一食堂');
insert into XF_Unit_Info(XF_Unit_ID,XF_Unit_Name) values (1,'膳食科');
insert into Card_Log(Pinfo_id,Card_No,Card_Number,Date_Time,Op_Type) values
 (1,'C1','N1','2026-01-01 08:00:00',0),(1,'C1b','N1b','2026-06-01 08:00:00',0),
 (1,'C1','N1x','2026-07-01 08:00:00',0),(1,'C1','N1','2026-03-01 08:00:00',1),(2,'C2','N2','2026-02-01 08:00:00',0);
insert into Card_Info(Pinfo_id,Card_No,C_BianHao,Card_Number) values
 (1,'C1','B1','N1'),(1,'C1b','B1b','N1b'),(2,'C2','B2','N2');
)");
    }
    // A valid record of person 1's card C1 at terminal 11, place 1, owner 1.
    static test::XfRow rec(int id, int type, const std::string& date) {
        return test::XfRow().id(id).type(type).date(date).person(1).card("C1").mach(11).dian(1).unit(1).meal(0)
            .money(0).times(0).timesLeft(0).cardSerial(0).timesSerial(0).err(0);
    }
    void add(const test::XfRow& r) { r.insert(*con); }
    void query(const std::string& code, const std::string& name = "", const std::string& card = "") {
        if (!w.Loaded()) w.Load();
        w.Text1.setText(code);
        w.Text2.setText(name);
        w.Text3.setText(card);
        w.Command2.click();
    }
    std::string cell(int r, int c) { return w.Grid1.Cell(r, c).Text(); }
    V row(int r) { return test::gridRow(w.Grid1, r, 1, w.Grid1.Cols() - 1); }
    V column(int c) {
        V out;
        for (int r = 3; r < w.Grid1.Rows(); ++r) out.push_back(cell(r, c));
        return out;
    }
    forms::Colour fore(int r, int c) { return w.Grid1.Cell(r, c).ForeColor(); }
    forms::Colour back(int r, int c) { return w.Grid1.model().backColor(r, c).value_or(0xFFFFFFu); }
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(CardHistory);

TEST_P(CardHistory, IcCardsListEveryRecordSignedNamedAndColoured) {
    add(rec(101, 129, "2026-01-01 08:00:00").money(5000).balance(5000).cardSerial(1));
    add(rec(102, 1, "2026-01-02 12:00:00").meal(2).money(-300).balance(4700).cardSerial(2));
    add(rec(103, 3, "2026-01-03 07:00:00").meal(1).balance(4700).times(-1).timesLeft(4).timesSerial(5));
    add(rec(104, 1, "2026-01-04 18:00:00").meal(3).money(-200).balance(4500).cardSerial(3).err(1).mach(99));
    add(rec(105, 250, "2026-02-01 00:00:00").balance(4500).cardSerial(4).timesLeft(4).timesSerial(6));
    add(rec(106, 17, "2026-02-02 09:00:00").balance(4500).cardSerial(5));
    add(rec(201, 161, "2026-06-01 09:00:00").card("C1b").money(1000).balance(1000).cardSerial(1));
    con->execute("update Record_XF set Shou_Kuan='7' where ID=101");

    query("E1");
    // C1 once although issued twice, then C1b.
    ASSERT_EQ(w.Grid1.Rows(), 10);
    EXPECT_EQ(w.Grid1.Cols(), 17);
    EXPECT_EQ((V{cell(0, 3), cell(0, 5), cell(0, 11), cell(0, 13)}), (V{" 张三", " 总部", " E1", " B1b"}));
    EXPECT_EQ(row(3), (V{"101", "N1", "2026-01-01 08:00:00", "发卡", "", "￥50.00", "", "", "", "一号机", "一食堂",
                         "膳食科", "7", "", "1", ""}));
    EXPECT_EQ(fore(3, 9), kBlue);  // an issue line is blue throughout
    EXPECT_EQ(row(4), (V{"102", "N1", "2026-01-02 12:00:00", "消费", "-3.00", "￥47.00", "", "", "中餐", "一号机",
                         "一食堂", "膳食科", "", "", "2", ""}));
    EXPECT_EQ(fore(4, 5), kRed);
    // A times record: no money serial, so no money columns.
    EXPECT_EQ(row(5), (V{"103", "N1", "2026-01-03 07:00:00", "记次", "", "", "-1", "4", "早餐", "一号机", "一食堂",
                         "膳食科", "", "", "", "5"}));
    // Uncertain: listed, marked, light red; an unknown terminal has no name.
    EXPECT_EQ(row(6), (V{"104", "N1", "2026-01-04 18:00:00", "消费", "-2.00", "￥45.00", "", "", "晚餐", "", "一食堂",
                         "膳食科", "", "不确定", "3", ""}));
    EXPECT_EQ(back(6, 1), kLightRed);
    EXPECT_EQ(back(6, 16), kLightRed);
    EXPECT_EQ(back(5, 1), 0xFFFFFFu);
    EXPECT_EQ(row(7), (V{"105", "N1", "2026-02-01 00:00:00", "结算", "", "￥45.00", "", "4", "", "", "", "", "", "", "4",
                         "6"}));
    EXPECT_EQ(fore(7, 3), kBlue);
    EXPECT_EQ(cell(8, 4), "");  // kind 17 is not named here
    EXPECT_EQ(cell(8, 5), "+0.00");
    EXPECT_EQ(fore(8, 5), kBlue);
    EXPECT_EQ((V{cell(9, 2), cell(9, 4), cell(9, 5), cell(9, 6)}), (V{"N1b", "电脑充值", "+10.00", "￥10.00"}));
    EXPECT_FALSE(w.pBar1.Visible());
    EXPECT_TRUE(w.cmdExcell.Visible());

    // Only the card typed, found through the card log in any case.
    query("", "", "c1b");
    EXPECT_EQ(column(1), (V{"201"}));
    query("", "", "C1");
    EXPECT_EQ(w.Grid1.Rows(), 9);  // its issues and loss report list it once

    sv->fileAnswers = {dir.file("history.xlsx")};
    w.cmdExcell.click();
    EXPECT_EQ(sv->lastPrompt(), "提示:输出成功.");
    EXPECT_EQ(excel::readFirstSheet(dir.file("history.xlsx")).text(3, 4), "发卡");
}

TEST_P(CardHistory, IdBalancesRunOnAcrossOneEmployeesCardsAndCountByTheChange) {
    Conn_Main->execute("update Sys_Para set P2='2'");
    add(rec(1, 161, "2026-03-01 09:00:00").money(10000));
    add(rec(2, 1, "2026-03-02 12:00:00").meal(2).money(-250));
    add(rec(3, 1, "2026-03-03 12:00:00").money(-1250).err(1).timesLeft(3));  // uncertain, still counted
    add(rec(4, 163, "2026-03-04 10:00:00").times(5).timesLeft(5));
    add(rec(5, 161, "2026-06-02 09:00:00").card("C1b").money(500));
    add(rec(6, 1, "2026-06-03 12:00:00").card("C1b").money(-100));
    add(rec(7, 161, "2026-02-02 09:00:00").person(2).card("C2").money(700));

    query("", "张三");
    EXPECT_EQ(w.Grid1.Cols(), 15);  // the serial columns go after each ID list
    // Person 2 (who has left) first; then person 1 from 0 again: C1's money
    // list, its count list, C1b's money list.
    EXPECT_EQ(column(1), (V{"7", "1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(column(6), (V{"￥7.00", "￥100.00", "￥97.50", "￥85.00", "￥85.00", "￥90.00", "￥89.00"}));
    EXPECT_EQ(column(7), (V{"+0", "+0", "+0", "+0", "+5", "+0", "+0"}));
    EXPECT_EQ(column(8), (V{"0", "0", "0", "0", "5", "5", "5"}));
    EXPECT_EQ(column(2), (V{"N2", "N1", "N1", "N1", "N1", "N1b", "N1b"}));
    EXPECT_EQ(cell(0, 13), " B1b");
    EXPECT_EQ(cell(0, 5), " 总部");
    // Nothing listed is stored back into the cards.
    EXPECT_EQ(test::column(*con, "select C_YuE_ID from Card_Info order by ID"), (V{"0", "0", "0"}));
}

// The running ID balance and count are exact past 64 bits, and a stored
// change at either end of the range is shown as it is.
TEST_P(CardHistory, IdBalancesBeyondSixtyFourBitsRunOnExactly) {
    Conn_Main->execute("update Sys_Para set P2='2'");
    add(rec(1, 161, "2026-03-01 09:00:00").money(INT64_MAX));
    add(rec(2, 161, "2026-03-02 09:00:00").money(2));
    add(rec(3, 1, "2026-03-03 12:00:00").money(INT64_MIN));
    add(rec(4, 1, "2026-03-04 12:00:00").money(INT64_MIN));
    add(rec(5, 163, "2026-03-05 10:00:00").times(INT64_MAX));
    add(rec(6, 163, "2026-03-06 10:00:00").times(1));
    query("E1");
    // The money list, then the count list.
    EXPECT_EQ(column(5), (V{"+92233720368547758.07", "+0.02", "-92233720368547758.08", "-92233720368547758.08",
                            "+0.00", "+0.00"}));
    // 2^63 - 1 + 2 = 2^63 + 1; then - 2^63 = 1; then - 2^63 = -(2^63 - 1).
    const std::string last = "￥-92233720368547758.07";
    EXPECT_EQ(column(6), (V{"￥92233720368547758.07", "￥92233720368547758.09", "￥0.01", last, last, last}));
    EXPECT_EQ(column(7), (V{"+0", "+0", "+0", "+0", "+9223372036854775807", "+1"}));
    EXPECT_EQ(column(8), (V{"0", "0", "0", "0", "9223372036854775807", "9223372036854775808"}));
}

TEST_P(CardHistory, MessagesForNothingTypedAndNobodyFoundAndTheOrderMark) {
    w.Load();
    w.Command2.click();
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].prompt, "请输入员工工号或姓名或卡编号!");
    EXPECT_EQ(sv->boxes[0].style, 64);
    for (const char* name : {" ", "O'Brien"}) {  // a blank is searched as typed
        query("", name);
        EXPECT_EQ(sv->lastPrompt(), "没有找到此员工或此卡号的记录");
        EXPECT_EQ(w.Grid1.Rows(), 3);
        EXPECT_TRUE(w.cmdExcell.Visible());
    }
    query("", "", "C1' or '1'='1");  // a card number is only ever a card number
    EXPECT_EQ(sv->boxes.size(), 4u);
    query("E4");  // found, but no card: nothing listed, no message
    EXPECT_EQ(w.Grid1.Rows(), 3);
    EXPECT_EQ(sv->boxes.size(), 4u);

    // A record dated before the one above it is marked; an empty list only
    // rewrites the person line.
    namespace X = col::Record_XF;
    const V names{X::ID, X::Mach_ID, X::Pinfo_id, X::Shou_Kuan, X::XF_Dian_ID, X::XF_Type, X::XF_Meal,
                  X::YuE_Change, X::YuE_New, X::Card_LiuShui, X::Date_Time, X::YuCi_Change, X::XF_Unit,
                  X::Ci_LiuShui, X::YuCi_New, X::Err_Code};
    DataList list(2, names);
    for (int r = 1; r <= 2; ++r) list(r, 9) = list(r, 13) = "1";
    list(1, 10) = "2026-05-02 08:00:00";
    list(2, 10) = "2026-05-01 08:00:00";
    w.Fill_XF_Rows(list, 1, "C4", "N4", "B4");
    EXPECT_EQ(back(3, 2), 0xFFFFFFu);
    EXPECT_EQ(back(4, 2), kRed);
    EXPECT_EQ(back(4, 4), kRed);
    EXPECT_EQ(back(4, 5), 0xFFFFFFu);
    w.Fill_XF_Rows(DataList(0, names), 1, "C5", "N5", "B5");
    EXPECT_EQ(w.Grid1.Rows(), 5);
    EXPECT_EQ(cell(0, 13), " B5");
}

TEST_P(CardHistory, ClosingTheWindowStopsTheListing) {
    add(rec(1, 1, "2026-01-02 12:00:00").money(-300).cardSerial(1));
    add(rec(2, 1, "2026-01-03 12:00:00").money(-300).cardSerial(2));
    w.Load();
    sv->onYield = [&] { w.Unload(); };
    query("E1");
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(sv->yields, 1);
}

TEST_P(CardHistory, OnScreenAnEmployeesHistoryIsListed) {
    add(rec(1, 161, "2026-01-02 12:00:00").money(2000).balance(2000).cardSerial(1));
    test::whileShown(w, [&] {
        w.Text1.setText("E1");
        test::clickOnScreen(w.Command2);
        EXPECT_EQ(w.Grid1.Rows(), 4);
        EXPECT_EQ(cell(3, 6), "￥20.00");
        EXPECT_TRUE(w.Command2.Enabled());
    });
}

// A whole history while a settlement is left unfinished may lack rows: said
// once, in the language the module was opened in.
TEST_P(CardHistory, AnUnfinishedSettlementIsWarnedOf) {
    con->execute("insert into Sys_Para(Para_Name,P1,P2,P3) values ('JieSuan_Date','2026-01-01','0','2026-05-01')");
    Load_Lan(1);
    w.Load();
    w.Text1.setText("E1");
    w.Command2.click();
    ASSERT_FALSE(sv->boxes.empty());
    EXPECT_EQ(sv->boxes[0].prompt, "The last settlement did not finish (it was settling up to 2026-05-01): balances and "
                                   "records before that date may be incomplete. Run the settlement again up to that "
                                   "date to finish it.");
}
