#include <optional>

#include "data/XfTypeCode.h"

#include "MingxiFixture.h"

using namespace tolvenk;
using tolvenk::test::XfRow;

namespace {

constexpr forms::Colour kBlue = 0xFF0000;
constexpr forms::Colour kBlack = 0x000000;

class MingxiRows : public test::MingxiFixture {
protected:
    std::optional<forms::Colour> back(int r, int c) { return w.Grid1.model().backColor(r, c); }
    // Label and value of a total row.
    std::pair<std::string, std::string> total(int r) { return {cell(r, 3), cell(r, 4)}; }
    // One a minute from 12:10.
    void addAll(std::vector<XfRow> txs) {
        int minute = 10;
        for (XfRow& t : txs) add(t.date("2026-11-10 12:" + std::to_string(minute++) + ":00"));
    }
    using P = std::pair<std::string, std::string>;
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(MingxiRows);

TEST_P(MingxiRows, EachRowShowsItsTransactionUnderTheHeader) {
    add(tx(1).money(-1250).balance(3750).date("2026-11-10 12:00:00"));
    // Uncertain, at a door terminal, a place left out of the list and an unknown owner.
    add(tx(3).balance(3750).times(-1).timesLeft(9).date("2026-11-10 12:30:00").err(1).mach(13).dian(2).unit(3));
    add(tx(5).money(1000).balance(-350).date("2026-11-10 12:45:00").person(3).mach(12));
    query("01", 0);
    ASSERT_EQ(w.Grid1.Rows(), 4);  // no total row for "所有"
    EXPECT_EQ(row(1), (S{"一号机", "一食堂", "2026-11-10 12:00:00", "￥12.50", "", "￥37.50", "", "消费", "膳食科",
                         "张三", "E1", "财务", ""}));
    EXPECT_EQ(row(2), (S{"", "超市", "2026-11-10 12:30:00", "", "1", "￥37.50", "9", "记次", "", "张三", "E1", "财务",
                         ""}));
    EXPECT_EQ(row(3)[5], "￥-3.50");
    EXPECT_EQ(cell(3, 0), "3");
    for (int c = 1; c <= 13; ++c) {
        EXPECT_EQ(back(2, c), std::optional<forms::Colour>(0x8080FF)) << c;
        EXPECT_FALSE(back(1, c).has_value()) << c;
    }
    EXPECT_EQ(w.Grid1.Column(13).Width(), 0);

    Money_Sign = "$";
    query("01", 0);
    EXPECT_EQ(cell(1, 4), "$12.50");
}

TEST_P(MingxiRows, KindsAreNamedAndColouredByTheirCode) {
    struct Kind {
        int code;
        const char* name;
        forms::Colour colour;
    };
    const Kind table[] = {{1, "消费", kBlack},       {2, "充销", kBlue},         {5, "充值", kBlack},
                          {9, "取款", kBlue},        {17, "转款机转款", kBlue},  {129, "发卡", kBlack},
                          {130, "退卡", kBlue},      {161, "电脑充值", kBlack},  {174, "转帐充值", kBlue},
                          {177, "余次作废", kBlue},  {181, "电脑转款", kBlue},   {201, "消费损益", kBlue},
                          {202, "电脑充值", kBlack}, {99, "", kBlue}};
    std::vector<XfRow> txs;
    for (const Kind& k : table) txs.push_back(tx(k.code));
    addAll(txs);
    query("01", 0);
    ASSERT_EQ(w.Grid1.Rows(), 1 + static_cast<int>(std::size(table)));
    for (int r = 1; r < w.Grid1.Rows(); ++r) {
        EXPECT_EQ(cell(r, 8), table[r - 1].name) << table[r - 1].code;
        EXPECT_EQ(w.Grid1.Cell(r, 8).ForeColor(), table[r - 1].colour) << table[r - 1].code;
    }
    EXPECT_EQ(w.Get_Type_Name(XF_Type_Code::Settlement), "");
}

TEST_P(MingxiRows, ConsumptionTotalsNetAmountTimesAndCount) {
    addAll({tx(1).money(-1250), tx(1).money(-300).person(3), tx(2).money(500),
            tx(3).times(-1), tx(3).times(-1), tx(3).times(-1), tx(161).money(9900)});
    w.Load();
    w.chkType(1).setValue(forms::vbChecked);
    query("01", 1);
    ASSERT_EQ(w.Grid1.Rows(), 8);
    EXPECT_EQ(row(7), (S{"", "", "合计消费:", "￥10.50", "合计次数:", "-3 次", "合计笔数:", "6 笔", "", "", "", "", ""}));

    // Twelve payments of 999.99 total 11999.88, wider than any one of them:
    // fitting the columns again changes nothing once the totals are in.
    Conn_Main->execute("delete from Record_XF");
    for (int i = 0; i < 12; ++i) add(tx(1).money(-99999));
    query("01", 1);
    ASSERT_EQ(w.Grid1.Cell(13, 4).Text(), "￥11999.88");
    for (int c = 0; c < w.Grid1.Cols(); ++c) {
        const int shown = w.Grid1.Column(c).Width();
        if (shown < 1) continue;
        w.Grid1.Column(c).AutoFit();
        EXPECT_EQ(w.Grid1.Column(c).Width(), shown) << c;
    }
}

TEST_P(MingxiRows, RechargeAndWithdrawalTotalsFollowTheTickedBoxes) {
    addAll({tx(161).money(2000), tx(202).money(550), tx(162).money(-2000),
            tx(162).money(-550), tx(163).times(10), tx(5).money(1000),
            tx(9).money(-300), tx(7).times(5), tx(7).times(10)});
    query("01", 2);
    ASSERT_EQ(w.Grid1.Rows(), 1 + 9 + 6);
    EXPECT_EQ(total(10), P("合计电脑充值:", "￥25.50"));
    EXPECT_EQ(total(11), P("合计电脑取款:", "￥25.50"));
    EXPECT_EQ(total(12), P("合计电脑充次:", "10"));
    EXPECT_EQ(total(13), P("合计机器充值:", "￥10.00"));
    EXPECT_EQ(total(14), P("合计机器取款:", "￥3.00"));
    EXPECT_EQ(total(15), P("合计机器充次:", "15"));

    w.chkType(5).setValue(forms::vbUnchecked);
    Conn_Main->execute("delete from Record_XF where XF_Type in (9,7)");  // ticked, but nothing to sum
    query("01", 2);
    ASSERT_EQ(w.Grid1.Rows(), 1 + 4 + 3);
    EXPECT_EQ(total(5), P("合计电脑充值:", "￥25.50"));
    EXPECT_EQ(total(6), P("合计电脑充次:", "10"));
    EXPECT_EQ(total(7), P("合计机器充值:", "￥10.00"));
}

TEST_P(MingxiRows, SubsidyTotalIsSignedAndEmptyResultsShowTheirGroupsTotals) {
    addAll({tx(11).money(5000), tx(166).money(-1000), tx(173).money(300),
            tx(174).money(200), tx(13).times(3)});
    query("01", 3);
    ASSERT_EQ(w.Grid1.Rows(), 7);
    EXPECT_EQ(total(6), P("合计补贴:", "￥45.00"));
    w.chkType(12).setValue(forms::vbUnchecked);
    w.chkType(16).setValue(forms::vbUnchecked);
    query("01", 3);
    EXPECT_EQ(total(w.Grid1.Rows() - 1), P("合计补贴:", "￥-10.00"));

    Conn_Main->execute("delete from Record_XF");
    query("01", 3);
    ASSERT_EQ(w.Grid1.Rows(), 2);
    EXPECT_EQ(total(1), P("合计补贴:", "￥0.00"));
    for (int group : {0, 2, 4}) {
        query("01", group);
        EXPECT_EQ(w.Grid1.Rows(), 1) << group;
    }
}

// Stored values no money text can hold (the table here is a loose copy that
// takes any value, as an installation's might): an overflow mark, never a
// crash or a wrapped figure; counts of times summed in 64 bits. File only:
// only the file engine has a table that takes any value.
class MingxiRowsFile : public MingxiRows {};
TOLVENK_ON_FILE_ONLY(MingxiRowsFile);

TEST_P(MingxiRowsFile, ValuesBeyondAnyMoneyTextShowAnOverflowMark) {
    con->executeScript(
        "alter table Record_XF rename to Record_XF_Strict;"
        "create table Record_XF as select * from Record_XF_Strict where 0;"
        "insert into Record_XF(ID,Mach_ID,Pinfo_id,XF_Type,YuE_Change,YuE_New,YuCi_Change,YuCi_New,Date_Time,Err_Code,"
        "XF_Dian_ID,XF_Unit) values"
        " (1,11,1,1,-1250,-9223372036854775808,1500000000,0,'2026-11-10 12:10:00',0,1,1),"
        " (2,11,1,1,'1e19',9223372036854775807,1500000000,0,'2026-11-10 12:11:00',0,1,1),"
        " (3,11,1,1,9.3e18,100,0,0,'2026-11-10 12:12:00',0,1,1);");
    w.Load();
    w.chkType(1).setValue(forms::vbChecked);
    query("01", 1);
    ASSERT_EQ(w.Grid1.Rows(), 5);
    EXPECT_EQ(cell(1, 4), "￥12.50");
    EXPECT_EQ(cell(1, 6), "￥-92233720368547758.08");
    EXPECT_EQ(cell(2, 4), "￥########");
    EXPECT_EQ(cell(2, 6), "￥92233720368547758.07");
    EXPECT_EQ(cell(3, 4), "￥########");
    EXPECT_EQ(cell(4, 6), "3000000000 次");
}

// Totals are exact at the edges of what one row may hold: the largest
// payment and one fen more make -2^63 fen, and 2^53+1 fen (which no double
// holds) is not rounded; recharges of the largest amount add up past 64 bits.
TEST_P(MingxiRows, TotalsAreExactForTheLargestStoredAmounts) {
    addAll({tx(1).money(-9223372036854775807LL), tx(1).money(-1)});
    w.Load();
    w.chkType(1).setValue(forms::vbChecked);
    query("01", 1);
    ASSERT_EQ(w.Grid1.Rows(), 4);
    EXPECT_EQ(total(3), (P{"合计消费:", "￥92233720368547758.08"}));

    Conn_Main->execute("delete from Record_XF");
    addAll({tx(1).money(-9007199254740993LL)});
    query("01", 1);
    EXPECT_EQ(total(2), (P{"合计消费:", "￥90071992547409.93"}));

    Conn_Main->execute("delete from Record_XF");
    addAll({tx(161).money(9223372036854775807LL), tx(161).money(9223372036854775807LL)});
    w.chkType(2).setValue(forms::vbChecked);
    query("01", 2);
    EXPECT_EQ(total(3), (P{"合计电脑充值:", "￥184467440737095516.14"}));
}
