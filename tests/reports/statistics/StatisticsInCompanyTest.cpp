// The transaction detail and the employee statistics beside a terminal that
// keeps committing, on a generated database in WAL mode, with a rollback
// journal and on the server: the file stays sound, the terminal loses nothing
// and never fails, and each shows one state of the database. The detail
// reads its transactions in one statement; the statistics read theirs in
// several, in one read-only transaction where the engine keeps its state
// without holding writers out, and on a rollback journal in pieces of the
// period, each as of its own moment.
#include <array>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "reports/InCompanyStore.h"
#include "reports/statistics/XF_Cha_HZ_Ren.h"
#include "reports/statistics/XF_Mingxi.h"

using namespace tolvenk;

namespace {

// Employee statistics columns: consumption money and count, and lunch money.
constexpr int kMoney = 6, kCount = 7, kLunch = 15;

class StatisticsInCompany : public test::InCompanyTest {
protected:
    void SetUp() override {
        InCompanyTest::SetUp();
        if (IsSkipped()) return;
        // A company over the generated top departments: choosing it chooses everybody.
        con->execute("insert into Ren_Dept_Info(Dept_No,Dept_Name,Dept_Level,Del_YN) values('0','公司',0,0)");
    }

    // Every transaction of the quarter, every kind, the whole company; with
    // `paged` the grid keeps one page of rows in memory, the rest in its file.
    std::unique_ptr<XF_Mingxi> detail(bool paged = false) {
        auto w = std::make_unique<XF_Mingxi>();
        w->Load();
        if (paged) w->Grid1.model().setMemoryBudget(0);
        w->ucDep1.selectDepartment("0");
        w->optType(0).setValue(true);
        w->DTPicker1(0).setValue("2026-09-01");
        w->DTPicker1(1).setValue("2026-09-01 00:00:00");
        w->DTPicker2(0).setValue("2026-11-30");
        w->DTPicker2(1).setValue("2026-11-30 23:59:59");
        w->Command1.click();
        return w;
    }
    // November by month for the whole company, every column group shown.
    std::unique_ptr<XF_Cha_HZ_Ren> byEmployee() {
        auto w = std::make_unique<XF_Cha_HZ_Ren>();
        w->Load();
        for (forms::CheckBox* b : {&w->Check1, &w->Check2, &w->Check3, &w->Check4}) b->setValue(forms::vbChecked);
        w->ucDep1.selectDepartment("0");
        w->Option1(1).setValue(true);
        w->DTPicker1.setValue("2026-11-01");
        w->DTPicker2.setValue("2026-11-30");
        w->Command1.click();
        return w;
    }
    void detailEqualsThePlainStatement();
    void detailEqualsThePlainStatement(bool paged);
    void dayReportEqualsTheGroupedStatement();
    static std::string cell(const forms::Grid& g, int r, int c) { return g.model().text(r, c); }
    static std::int64_t whole(const forms::Grid& g, int r, int c) { return std::stoll(cell(g, r, c)); }
    // A money cell "12.34" in fen.
    static std::int64_t fen(const forms::Grid& g, int r, int c) {
        const std::string t = cell(g, r, c);
        const auto dot = t.find('.');
        return std::stoll(t.substr(0, dot)) * 100 + (t[0] == '-' ? -1 : 1) * std::stoll(t.substr(dot + 1));
    }
    // The row of the terminal's card holder, by employee code.
    int holderRow(const forms::Grid& g) {
        const std::string code = test::text(*con, "select P_Code from Ren_Per_Info where Pinfo_ID=" + std::to_string(person));
        for (int r = 1; r < g.Rows(); ++r)
            if (cell(g, r, 2) == code) return r;
        return -1;
    }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Stores, StatisticsInCompany,
                         ::testing::Values(test::Store::Wal, test::Store::Journal, test::Store::Server),
                         test::StoreNames());

// The quarter's detail while the terminal books after it and commits while
// the grid fills, its rows kept on disk: row for row what it listed alone
// with every row in memory.
TEST_P(StatisticsInCompany, TheQuartersDetailListsWhatItListsAlone) {
    const std::string alone = test::picture(detail()->Grid1.model());
    ASSERT_GT(alone.size(), 100000u);
    const test::TerminalOptions o = terminalAt("2026-12-01 08:00:00");
    test::Terminal t(cs, o);
    t.waitForCommits(3);
    int yields = 0;
    sv->onYield = [&] {
        if (++yields % 5 == 1) commitsAfterNow(t, 1);
    };
    const auto paged = detail(true);
    EXPECT_GT(paged->Grid1.model().store().pagesInFile(), 1);
    EXPECT_EQ(test::picture(paged->Grid1.model()), alone);
    sv->onYield = nullptr;
    EXPECT_GT(yields, 20);
    commitsAfterNow(t, 3);
    expectTerminalWhole(t, o);
}

// The month by employee while the terminal books 0.01 lunches into it and
// commits while the rows are made: the report shows the terminal's first
// k rows for one k, in the holder's row and the total alike, and nothing
// committed after the state it began with (on a rollback journal, after the
// run); over exactly that state it shows the same.
TEST_P(StatisticsInCompany, TheMonthByEmployeeShowsTheTerminalAsOfOneCommit) {
    const auto alone = byEmployee();
    const int holder = holderRow(alone->Grid1);
    ASSERT_GT(holder, 0);
    const int total = alone->Grid1.Rows() - 1;
    const test::TerminalOptions o = terminalAt("2026-11-15 12:00:00");
    test::Terminal t(cs, o);
    t.waitForCommits(2);
    const auto before = static_cast<std::int64_t>(t.commits());
    std::int64_t atFirstRow = -1;
    int yields = 0;
    sv->onYield = [&] {
        if (++yields == 1) atFirstRow = terminalCommitted();
        if (yields % 20 == 1) commitsAfterNow(t, 1);
    };
    const auto shown = byEmployee();
    const std::int64_t afterRun = terminalCommitted();
    sv->onYield = nullptr;
    commitsAfterNow(t, 3);
    expectTerminalWhole(t, o);
    ASSERT_GT(yields, 100);
    const forms::Grid &a = alone->Grid1, &s = shown->Grid1;
    ASSERT_EQ(s.Rows(), a.Rows());

    const std::int64_t k = whole(s, holder, kCount) - whole(a, holder, kCount);
    EXPECT_GE(k, before);
    EXPECT_LE(k, GetParam() == test::Store::Journal ? afterRun : atFirstRow);
    for (int r : {holder, total}) {
        EXPECT_EQ(whole(s, r, kCount), whole(a, r, kCount) + k) << r;
        EXPECT_EQ(fen(s, r, kMoney), fen(a, r, kMoney) + k) << r;
        EXPECT_EQ(fen(s, r, kLunch), fen(a, r, kLunch) + k) << r;
    }
    for (int r = 0; r < total; ++r) {
        if (r == holder) continue;
        EXPECT_EQ(test::rowText(s.model(), r), test::rowText(a.model(), r));
    }
    keepFirstTerminalRows(k);
    EXPECT_EQ(test::picture(byEmployee()->Grid1.model()), test::picture(s.model()));
}

namespace {

// Money as the detail shows it: the sign, yuan and two decimals; empty for 0.
std::string shownFen(std::int64_t fen, bool magnitude) {
    if (fen == 0) return "";
    const bool minus = fen < 0 && !magnitude;
    const std::int64_t a = fen < 0 ? -fen : fen;
    const std::string cents = std::to_string(a % 100);
    return "￥" + std::string(minus ? "-" : "") + std::to_string(a / 100) + "." + (a % 100 < 10 ? "0" : "") + cents;
}

}  // namespace

// The quarter's detail as read while it fills: every record the plain
// statement finds, once, in time order, however many batches it takes, and
// whether its rows stay in memory or go to disk.
void StatisticsInCompany::detailEqualsThePlainStatement() {
    for (const bool paged : {false, true}) {
        SCOPED_TRACE(paged ? "rows on disk" : "rows in memory");
        detailEqualsThePlainStatement(paged);
    }
}

void StatisticsInCompany::detailEqualsThePlainStatement(bool paged) {
    const auto d = detail(paged);
    std::multiset<std::string> expected;
    const auto rs = con->openRecordset(
        "select r.Date_Time, r.YuE_Change, r.YuE_New, p.P_Name from Record_XF r, Ren_Per_Info p, Ren_Dept_Info t "
        "where p.Pinfo_ID=r.Pinfo_id and t.Dept_No=p.Dept_No and t.Del_YN=0 and p.Dept_No like '0%' and "
        "r.XF_Type<>250 and r.Date_Time>='2026-09-01 00:00:00' and r.Date_Time<='2026-11-30 23:59:59'");
    for (; !rs->eof(); rs->moveNext())
        expected.insert(rs->field(0).toString() + "|" + shownFen(rs->field(1).toInt64(), true) + "|" +
                        shownFen(rs->field(2).toInt64(), false) + "|" + rs->field(3).toString());
    ASSERT_GT(expected.size(), 2500u);  // more than two of the cursor's batches
    ASSERT_EQ(d->Detail_Rows, static_cast<std::int64_t>(expected.size()));
    ASSERT_EQ(d->Grid1.Rows(), d->Detail_Rows + 1);  // "all kinds" has no total row
    std::multiset<std::string> shown;
    for (int r = 1; r < d->Grid1.Rows(); ++r) {
        shown.insert(cell(d->Grid1, r, 3) + "|" + cell(d->Grid1, r, 4) + "|" + cell(d->Grid1, r, 6) + "|" +
                     cell(d->Grid1, r, 10));
        if (r > 1) {
            ASSERT_LE(cell(d->Grid1, r - 1, 3), cell(d->Grid1, r, 3)) << r;
        }
        ASSERT_EQ(cell(d->Grid1, r, 0), std::to_string(r));
    }
    EXPECT_TRUE(shown == expected);
}

// November by day: every employee-day's consumption, its count and its
// recharges are what one grouped statement gives, and no employee-day with
// records is missing or shown twice.
void StatisticsInCompany::dayReportEqualsTheGroupedStatement() {
    auto w = std::make_unique<XF_Cha_HZ_Ren>();
    w->Load();
    w->Check3.setValue(forms::vbChecked);
    w->ucDep1.selectDepartment("0");
    w->Option1(0).setValue(true);
    w->DTPicker1.setValue("2026-11-01");
    w->DTPicker2.setValue("2026-11-30");
    w->Command1.click();

    std::map<std::string, std::array<std::int64_t, 3>> expected;  // code|day: money, count, recharge
    const auto rs = con->openRecordset(
        "select p.P_Code, substr(r.Date_Time,1,10), "
        "sum(case when r.XF_Type in (1,2,179,201) then r.YuE_Change else 0 end), "
        "sum(case when r.XF_Type in (1,2,179,201) then 1 else 0 end), "
        "sum(case when r.XF_Type in (5,6,161,202) then r.YuE_Change else 0 end) "
        "from Record_XF r, Ren_Per_Info p, Ren_Dept_Info t where p.Pinfo_ID=r.Pinfo_id and t.Dept_No=p.Dept_No and "
        "t.Del_YN=0 and t.Dept_No like '0%' and r.XF_Type in (1,2,179,3,5,6,161,7,8,163,9,10,162,181,17,201,202) and "
        "r.Date_Time>='2026-11-01' and r.Date_Time<='2026-11-30 24' group by p.Pinfo_ID, p.P_Code, substr(r.Date_Time,1,10)");
    for (; !rs->eof(); rs->moveNext())
        expected[rs->field(0).toString() + "|" + rs->field(1).toString()] = {rs->field(2).toInt64(), rs->field(3).toInt64(),
                                                                             rs->field(4).toInt64()};
    ASSERT_GT(expected.size(), 1000u);
    const forms::Grid& g = w->Grid1;
    ASSERT_EQ(g.Rows(), static_cast<int>(expected.size()) + 2);  // the header and the total
    std::int64_t money = 0;
    for (int r = 1; r < g.Rows() - 1; ++r) {
        const auto it = expected.find(cell(g, r, 2) + "|" + cell(g, r, 5));
        ASSERT_NE(it, expected.end()) << r;
        EXPECT_EQ(fen(g, r, kMoney), -it->second[0]) << r;
        EXPECT_EQ(whole(g, r, kCount), it->second[1]) << r;
        EXPECT_EQ(fen(g, r, 9), it->second[2]) << r;
        money += it->second[0];
        expected.erase(it);  // once only
    }
    EXPECT_EQ(fen(g, g.Rows() - 1, kMoney), -money);
}

TEST_P(StatisticsInCompany, TheQuartersDetailShowsEveryRecordOfThePlainStatementOnce) { detailEqualsThePlainStatement(); }
TEST_P(StatisticsInCompany, TheDayReportIsTheGroupedStatementEmployeeDayByEmployeeDay) {
    dayReportEqualsTheGroupedStatement();
}

namespace {

// The same on a database with a real site's dirt, on each engine.
class StatisticsOnDirtyData : public StatisticsInCompany {
protected:
    StatisticsOnDirtyData() { dirty = true; }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Stores, StatisticsOnDirtyData, ::testing::Values(test::Store::Wal, test::Store::Server),
                         test::StoreNames());

TEST_P(StatisticsOnDirtyData, TheQuartersDetailShowsEveryRecordOfThePlainStatementOnce) {
    detailEqualsThePlainStatement();
}
TEST_P(StatisticsOnDirtyData, TheDayReportIsTheGroupedStatementEmployeeDayByEmployeeDay) {
    dayReportEqualsTheGroupedStatement();
}
