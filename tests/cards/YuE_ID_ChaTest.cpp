#include <map>

#include "CardsFixture.h"
#include "cards/YuE_ID_Cha.h"

using namespace tolvenk;

namespace {

using T = test::Texts;

// "￥12.34" in fen; the sign alone (no counted row) is 0.
std::int64_t fen(const std::string& shown) {
    const std::string n = shown.substr(3);
    return n.empty() ? 0 : std::llround(std::stod(n) * 100);
}

class IdBalance : public test::CardsWindow<YuE_ID_Cha> {
protected:
    void SetUp() override {
        CardsWindow::SetUp();
        if (IsSkipped()) return;
        addPeople();
        con->execute("insert into Sys_Para(Para_Name,P1,P2) values ('JieSuan_Date','2026-03-01 00:00:00','1')");
    }
    void row(int person, int change, const std::string& date, int err = 0) {
        test::XfRow().person(person).card("C").type(5).money(change).date(date).err(err).insert(*con);
    }
    void query(const std::string& dept, const std::string& day, const std::string& name = "") {
        if (!w.Loaded()) w.Load();
        w.Query.ucDep1.selectDepartment(dept);
        w.Query.ucDep1.setFilters(name, "", "");
        w.Query.DTPicker1.setValue(day);
        w.Query.Command1.click();
    }
    T gridRow(int r) {
        T out;
        for (int c = 1; c <= 5; ++c) out.push_back(cell(r, c));
        return out;
    }
};

TOLVENK_ON_BOTH_ENGINES(IdBalance);

TEST_P(IdBalance, BalanceIsTheSumOfValidChangesToTheEndOfTheDay) {
    row(1, 1000, "2026-11-20 10:00:00");
    row(1, -250, "2026-11-25 23:59:59");
    row(1, -100, "2026-11-25 12:00:00", 1);  // uncertain
    row(1, -300, "2026-11-26 00:00:00");     // the next day
    row(4, 75, "2026-11-01 10:00:00");
    w.Load();
    EXPECT_EQ(w.Caption(), "ID卡余额查询");
    EXPECT_EQ(w.Command2.Caption(), "余额清零");
    EXPECT_EQ(w.Query.DTPicker1.MinDate(), "2026-03-01");
    EXPECT_EQ(w.Query.DTPicker1.Date_Value(), "2027-06-01");
    EXPECT_EQ(gridRow(0), (T{"员工姓名", "员工工号", "部门名称", "截止日期", "卡上余额"}));

    query("0", "2026-11-25");
    ASSERT_EQ(w.Query.Grid1.Rows(), 6);
    EXPECT_EQ(gridRow(1), (T{"张三丰", "E2", "总部", "", "￥"}));
    EXPECT_EQ(gridRow(2), (T{"张三", "E1", "财务", "2026-11-25 23:59:59", "￥7.50"}));
    EXPECT_EQ(gridRow(4), (T{"王五", "E4", "食堂", "2026-11-01 10:00:00", "￥0.75"}));
    EXPECT_EQ(cell(5, 1), "总计:");
    EXPECT_EQ(cell(5, 5), "￥8.25");

    // A name in the picker matches exactly here.
    query("0", "2026-11-26", "张三");
    ASSERT_EQ(w.Query.Grid1.Rows(), 3);
    EXPECT_EQ(gridRow(1), (T{"张三", "E1", "财务", "2026-11-26 00:00:00", "￥4.50"}));
    query("09", "2026-11-26");
    EXPECT_EQ(gridRow(1)[4], "￥0.00");
}

// Sums past 64 bits (the file engine refuses them, the server hands them
// over wider) are shown exactly, per employee and in the total.
TEST_P(IdBalance, BalancesBeyondSixtyFourBitsAreShownExactly) {
    test::XfRow().person(1).card("C").type(5).money(INT64_MAX).date("2026-11-20 10:00:00").insert(*con);
    test::XfRow().person(1).card("C").type(5).money(3).date("2026-11-21 10:00:00").insert(*con);
    test::XfRow().person(4).card("C").type(5).money(INT64_MIN).date("2026-11-02 10:00:00").insert(*con);
    test::XfRow().person(4).card("C").type(5).money(-1).date("2026-11-03 10:00:00").insert(*con);
    test::XfRow().person(2).card("C").type(5).money(9007199254740993).date("2026-11-04 10:00:00").insert(*con);
    query("0", "2026-11-25");
    ASSERT_EQ(w.Query.Grid1.Rows(), 6);
    // 2^63 - 1 + 3 = 9223372036854775810 fen; -2^63 - 1 = -9223372036854775809.
    EXPECT_EQ(gridRow(1), (T{"张三丰", "E2", "总部", "2026-11-04 10:00:00", "￥90071992547409.93"}));
    EXPECT_EQ(gridRow(2), (T{"张三", "E1", "财务", "2026-11-21 10:00:00", "￥92233720368547758.10"}));
    EXPECT_EQ(gridRow(4), (T{"王五", "E4", "食堂", "2026-11-03 10:00:00", "￥-92233720368547758.09"}));
    // 9007199254740993 + 9223372036854775810 - 9223372036854775809 = 9007199254740994.
    EXPECT_EQ(cell(5, 5), "￥90071992547409.94");
}

TEST_P(IdBalance, CaptionsFitInEveryLanguage) {
    EXPECT_EQ(test::badCaptionsInEveryLanguage({&w}), T{});
}

// Clean and with a real site's dirt (rows uploaded twice count twice, as
// the balance's own sum counts them).
class GeneratedIdBalance : public IdBalance {
protected:
    void balancesMatchSumsOverAllRows(bool dirty) {
        useGenerated(20000, dirty);
        const std::string bound = "2026-10-20Z";
        std::map<std::string, std::int64_t> sums;  // by employee code
        std::int64_t all = 0;
        for (const auto& r : test::rows(*con, "select p.P_Code,x.Date_Time,x.YuE_Change from Record_XF x join Ren_Per_Info p "
                                              "on p.Pinfo_ID=x.Pinfo_id where x.Err_Code=0"))
            if (r[1] <= bound) {
                sums[r[0]] += std::stoll(r[2]);
                all += std::stoll(r[2]);
            }
        w.Load();
        w.Query.DTPicker1.setValue("2026-10-20");
        std::int64_t totals = 0;
        int listed = 0;
        for (const auto& d : test::column(*con, "select Dept_No from Ren_Dept_Info where Dept_Level=0")) {
            w.Query.ucDep1.selectDepartment(d);
            w.Query.Command1.click();
            for (int r = 1; r < w.Query.Grid1.Rows() - 1; ++r, ++listed)
                EXPECT_EQ(fen(cell(r, 5)), sums[cell(r, 2)]) << cell(r, 2);
            totals += fen(cell(w.Query.Grid1.Rows() - 1, 5));
        }
        EXPECT_EQ(listed, dirty ? 302 : 300);
        EXPECT_EQ(totals, all);
    }
};
TOLVENK_ON_FILE_ONLY(GeneratedIdBalance);

TEST_P(GeneratedIdBalance, BalancesOfAGeneratedDatabaseMatchSumsOverAllRows) { balancesMatchSumsOverAllRows(false); }
TEST_P(GeneratedIdBalance, BalancesOfADirtyDatabaseMatchSumsOverAllRows) { balancesMatchSumsOverAllRows(true); }

}  // namespace

// A settlement left unfinished on its way to 1 December: a balance asked of
// a day before it may lack rows, and the query says so once; after it, not.
TEST_P(IdBalance, ADayBeforeAnUnfinishedSettlementIsWarnedOf) {
    con->execute("update Sys_Para set P2='0', P3='2026-12-01 00:00:00' where Para_Name='JieSuan_Date'");
    row(1, 500, "2026-11-10 10:00:00");
    query("0", "2026-11-20");
    EXPECT_EQ(sv->takeBoxes(), (T{"上次结算未完成（结算到 2026-12-01）：该日期之前的余额和记录可能不全。请再次结算到该日期以完成结算。"}));
    query("0", "2026-12-01");
    EXPECT_TRUE(sv->takeBoxes().empty());
}
