// Which transaction kinds and meals each column of the terminal summary
// counts, and how records without a group value are named: every kind moves
// a figure of its own, so a kind dropped from the statement or moved to
// another column changes a cell.
#include <string>
#include <vector>

#include "data/Globals.h"
#include "data/HzDimCode.h"
#include "reports/statistics/XF_Chong_HZ.h"
#include "support/Fixtures.h"
#include "support/FormText.h"
#include "support/XfRow.h"

namespace tolvenk::test {
namespace {

// Kind codes of the kind lists.
constexpr int kPlace = HZ_Dim::Place, kMach = HZ_Dim::Mach, kCashier = HZ_Dim::Cashier, kUnit = HZ_Dim::Unit,
              kCard = HZ_Dim::CardType, kOperator = HZ_Dim::Operator, kDept = HZ_Dim::Dept;

class TerminalKinds : public WindowOf<XF_Chong_HZ> {
protected:
    void SetUp() override {
        WindowOf::SetUp();
        if (IsSkipped()) return;
        sv->clock = "2026-07-20 09:00:00";
        Op_User_Name = "admin";
        DB_Provider = "Access";
        // Listed: place 1, terminals 11 to 13, cashier K01, owner 1, card kind 2,
        // department 2, operator 1. Unlisted: place 3 and operator 3 (deleted),
        // terminal 14 (no consumption terminal), card kind 4 (deleted), owner 9,
        // cashier ZZ, department 3 (below the listed levels); person 2 has no
        // department at all.
        con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values (2,'01','财务',0,0),(3,'0101','出纳',2,0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,Del_YN) values
 (1,2,'01','张三','E1',0),(2,null,'','李四','E2',0),(3,3,'0101','王五','E3',0);
insert into Sys_User_Info(User_ID,User_Name,Del_YN) values (1,'管理员',0),(3,'离职',1);
insert into Card_Type(ID,C_LeiBie,C_Name,Del_YN) values (2,2,'教工卡',0),(4,4,'旧卡',1);
insert into Mach_Info(Mach_ID,Mach_Name,Mach_Type,Del_YN) values
 (11,'一号机',301,0),(12,'二号机',301,0),(13,'充值机',302,0),(14,'门禁机',200,0);
insert into XF_Dian_Info(XF_Dian_ID,XF_Dian_Name,Del_YN) values (1,'一食堂',0),(3,'旧点',1);
insert into XF_Unit_Info(XF_Unit_ID,XF_Unit_Name,Del_YN) values (1,'膳食科',0);
insert into XF_ShouKuan(ID,SK_ID,SK_Name) values (1,'K01','张收');
insert into Sys_Para(Para_Name,P1,P5) values ('JieSuan_Date','2026-01-15',null),('Sys_Config',null,'1');
)");
    }

    static XfRow pos(int type, const std::string& date) { return XfRow().type(type).date(date).money(0).times(0); }
    // Every group value listed.
    static XfRow listed(int type, const std::string& date, int mach) {
        return pos(type, date).mach(mach).person(1).kind(2).dian(1).unit(1).cashier("K01").op(1);
    }
    void add(const XfRow& r) { r.insert(*con); }

    static void pick(forms::ComboBox& c, int data) {
        for (int i = 0; i < c.ListCount(); ++i)
            if (c.ItemData(i) == data) return c.setListIndex(i);
        FAIL() << "no kind " << data;
    }
    void sum(bool terminal, int kind1, int kind2, const std::string& from, const std::string& to) {
        if (!w.Loaded()) w.Load();
        w.Option2(terminal ? 0 : 1).setValue(true);
        w.Option1(0).setValue(true);
        pick(w.Combo2, kind1);
        pick(w.Combo3, kind2);
        w.DTPicker1.setValue(from);
        w.DTPicker2.setValue(to);
        (terminal ? w.Command2 : w.Command1).click();
    }

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
};

using S = std::vector<std::string>;
using I = std::vector<int>;

TOLVENK_ON_BOTH_ENGINES(TerminalKinds);

// 1 July, terminal 11: consumption -300 at meal 5, refunds +120 at meal 5 and
// +50 at meal 2, 2 times at meal 5; terminal 12: transfer -800; terminal 13:
// recharge 10000 and its cancellation -2000, times 10 and -3, withdrawal
// -3000 and its cancellation +500. 2 July: without a terminal a consumption
// -200 at meal 5 and a withdrawal cancellation +300; terminal 11 a recharge
// cancellation -100; the unlisted terminal 14 a times recharge cancellation
// of 1. Kinds the terminals never write count nowhere.
TEST_P(TerminalKinds, EveryKindAndTheLateSnackCountInTheirColumns) {
    const std::string d1 = "2026-07-01 12:00:00", d2 = "2026-07-02 12:00:00";
    add(listed(1, d1, 11).meal(5).money(-300));
    add(listed(179, d1, 11).meal(5).money(120));
    add(listed(179, d1, 11).meal(2).money(50));
    add(listed(3, d1, 11).meal(5).times(-2));
    add(listed(17, d1, 12).money(-800));
    add(listed(5, d1, 13).money(10000));
    add(listed(6, d1, 13).money(-2000));
    add(listed(7, d1, 13).times(10));
    add(listed(8, d1, 13).times(-3));
    add(listed(9, d1, 13).money(-3000));
    add(listed(10, d1, 13).money(500));
    for (int other : {161, 162, 163, 181, 11, 201, 202, 250}) add(listed(other, d1, 11).meal(5).money(-7).times(-7));
    add(pos(1, d2).person(1).meal(5).money(-200));
    add(pos(10, d2).person(1).money(300));
    add(listed(6, d2, 11).money(-100));
    add(listed(8, d2, 14).times(-1));

    sum(true, kMach, kMach, "2026-07-01", "2026-07-02");
    // Records without a terminal sort first and are "other", apart from the
    // unlisted terminal's, which a listed one separates.
    EXPECT_EQ(lines(), (S{"2026-07-01|一号机|| 4:￥1.30 5:2 11:￥-0.50 17:￥1.80 18:2",
                          "|二号机|| 21:￥8.00",
                          "|充值机|| 6:￥80.00 7:7 8:￥25.00",
                          "|小计：|| 4:￥1.30 5:2 6:￥80.00 7:7 8:￥25.00 9:￥0.00 11:￥-0.50 13:￥0.00 15:￥0.00 17:￥1.80 "
                          "18:2 19:￥0.00 21:￥8.00",
                          "2026-07-02|其它|| 4:￥2.00 8:￥-3.00 17:￥2.00",
                          "|一号机|| 6:￥-1.00",
                          "|其它|| 7:-1",
                          "|小计：|| 4:￥2.00 6:￥-1.00 7:-1 8:￥-3.00 9:￥0.00 11:￥0.00 13:￥0.00 15:￥0.00 17:￥2.00 "
                          "19:￥0.00 21:￥0.00",
                          "总计：||| 4:￥3.30 5:2 6:￥79.00 7:6 8:￥22.00 9:￥0.00 11:￥-0.50 13:￥0.00 15:￥0.00 17:￥3.80 "
                          "18:2 19:￥0.00 21:￥8.00"}));
    EXPECT_EQ(shownColumns(w.Grid1), (I{1, 2, 4, 5, 6, 7, 8, 11, 17, 18, 21}));
}

// A record without a value of the chosen kind and one whose value is not
// listed are both "other": next to each other they share one row, as the
// only group and as the second group under a listed place.
TEST_P(TerminalKinds, AMissingGroupValueIsOtherAndSharesTheRowOfUnlistedValues) {
    const std::string day = "2026-07-03", at = "2026-07-03 12:00:00";
    struct Case {
        int kind;
        XfRow missing, unlisted;
    };
    const XfRow base = pos(1, at).meal(3);
    const Case cases[] = {
        {kPlace, XfRow(base).mach(11).person(1).kind(2), XfRow(base).mach(11).person(1).kind(2).dian(3)},
        {kMach, XfRow(base).dian(1).person(1).kind(2), XfRow(base).dian(1).person(1).kind(2).mach(14)},
        {kCashier, XfRow(base).dian(1).person(1), XfRow(base).dian(1).person(1).cashier("ZZ")},
        {kUnit, XfRow(base).dian(1).person(1), XfRow(base).dian(1).person(1).unit(9)},
        {kCard, XfRow(base).dian(1).person(1), XfRow(base).dian(1).person(1).kind(4)},
        {kDept, XfRow(base).dian(1).person(2), XfRow(base).dian(1).person(3)},
    };
    const std::string total = "总计：||| 4:￥3.00 6:￥0.00 8:￥0.00 9:￥0.00 11:￥0.00 13:￥3.00 15:￥0.00 17:￥0.00 "
                              "19:￥0.00 21:￥0.00";
    for (const Case& k : cases) {
        con->execute("delete from Record_XF");
        add(XfRow(k.missing).money(-100));
        add(XfRow(k.unlisted).money(-200));
        sum(true, k.kind, k.kind, day, day);
        EXPECT_EQ(lines(), (S{day + "|其它|| 4:￥3.00 13:￥3.00", total})) << k.kind;
        if (k.kind == kPlace) continue;
        sum(true, kPlace, k.kind, day, day);
        EXPECT_EQ(lines(), (S{day + "|一食堂|其它| 4:￥3.00 13:￥3.00", total})) << k.kind;
    }

    // The computer's operator likewise.
    con->execute("delete from Record_XF");
    add(pos(161, at).person(1).kind(2).money(100));
    add(pos(161, at).person(1).kind(2).op(3).money(200));
    sum(false, kOperator, kOperator, day, day);
    EXPECT_EQ(lines(), (S{day + "|其它|| 4:￥3.00 9:￥3.00", "总计：||| 4:￥3.00 5:￥0.00 6:0 9:￥3.00 10:￥0.00"}));
}

}  // namespace
}  // namespace tolvenk::test
