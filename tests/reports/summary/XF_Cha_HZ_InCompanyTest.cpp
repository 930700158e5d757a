// The summary report beside a terminal that keeps committing transactions, on
// a generated database in WAL mode, with a rollback journal and on the server:
// the file stays sound, the terminal loses nothing and never fails, and the
// report shows one state of the database however the terminal's commits fall
// between its statements.
#include <memory>
#include <string>

#include "reports/InCompanyStore.h"
#include "reports/summary/XF_Cha_HZ.h"

using namespace tolvenk;

namespace {

// List rows of the built-in reports.
constexpr int kMonthlyLedger = 5, kDailyConsumption = 8;
// The daily consumption report: the total row's count of terminal consumption.
constexpr int kConsumeCount = 22;

class SummaryInCompany : public test::InCompanyTest {
protected:
    // The window after a run of list row `row` over the period.
    std::unique_ptr<XF_Cha_HZ> run(int row, const char* from, const char* to, bool perCell = false) {
        auto w = std::make_unique<XF_Cha_HZ>();
        w->Per_Cell_Statements = perCell;
        w->Load();
        w->Form_Activate();
        w->List1.setListIndex(row);
        w->DTPicker1.setValue(from);
        w->DTPicker2.setValue(to);
        sv->boxes.clear();
        w->Command1.click();
        EXPECT_TRUE(sv->boxes.empty()) << sv->boxes.front().prompt;
        return w;
    }
    static std::string picture(const XF_Cha_HZ& w) { return test::picture(w.Grid1.model()); }
    static std::string cell(const XF_Cha_HZ& w, int r, int c) { return w.Grid1.model().text(r, c); }
    static std::int64_t totalCount(const XF_Cha_HZ& w) {
        return std::stoll(w.Grid1.model().text(w.Grid1.Rows() - 1, kConsumeCount));
    }

    // A week of daily consumption whose last day the terminal books into,
    // run while the terminal commits twice between any two of the run's
    // rows. The run must show the database as it was after some k-th commit
    // of the terminal, in every cell: the same report over exactly that state
    // shows the same grid.
    void expectOneState(bool perCell) {
        const char *from = "2026-11-24", *to = "2026-11-30";
        const auto alone = run(kDailyConsumption, from, to, perCell);
        const test::TerminalOptions o = terminalAt("2026-11-30 12:00:00");
        test::Terminal t(cs, o);
        t.waitForCommits(2);
        const auto before = static_cast<std::int64_t>(t.commits());
        std::int64_t atFirstRow = -1;
        int yields = 0;
        sv->onYield = [&] {
            if (++yields == 1) atFirstRow = terminalCommitted();
            commitsAfterNow(t, 2);
        };
        const auto shown = run(kDailyConsumption, from, to, perCell);
        sv->onYield = nullptr;
        commitsAfterNow(t, 3);
        expectTerminalWhole(t, o);
        ASSERT_EQ(yields, 7);  // one per day: the terminal committed between every two rows

        // Each terminal row is one consumption of 0.01 on the 30th.
        const std::int64_t k = totalCount(*shown) - totalCount(*alone);
        EXPECT_GE(k, before);
        EXPECT_LE(k, atFirstRow);  // nothing committed after the run's first row was seen
        const int last = shown->Grid1.Rows() - 2;  // the 30th, above the total
        EXPECT_EQ(cell(*shown, last, kConsumeCount), std::to_string(std::stoll(cell(*alone, last, kConsumeCount)) + k));
        for (int r = 0; r < last; ++r)
            EXPECT_EQ(test::rowText(shown->Grid1.model(), r), test::rowText(alone->Grid1.model(), r));
        keepFirstTerminalRows(k);
        EXPECT_EQ(picture(*run(kDailyConsumption, from, to, perCell)), picture(*shown));
    }
};

// The run that reads its statements per cell, where the engine can give it
// one state without holding the terminal out. A rollback-journal file cannot:
// a read transaction there would keep every terminal commit waiting until the
// report ended, so its statements stay separate and may see different states.
using SummaryInCompanyPerCell = SummaryInCompany;

}  // namespace

INSTANTIATE_TEST_SUITE_P(Stores, SummaryInCompany,
                         ::testing::Values(test::Store::Wal, test::Store::Journal, test::Store::Server),
                         test::StoreNames());
INSTANTIATE_TEST_SUITE_P(Stores, SummaryInCompanyPerCell, ::testing::Values(test::Store::Wal, test::Store::Server),
                         test::StoreNames());

// A quarter by day and by month while the terminal books after the period and
// commits while the rows are made: each shows what it showed alone.
TEST_P(SummaryInCompany, AQuarterByDayAndByMonthShowsWhatItShowsAlone) {
    const auto daily = picture(*run(kDailyConsumption, "2026-09-01", "2026-11-30"));
    const auto monthly = picture(*run(kMonthlyLedger, "2026-09-01", "2026-11-30"));
    const test::TerminalOptions o = terminalAt("2026-12-01 08:00:00");
    test::Terminal t(cs, o);
    t.waitForCommits(3);
    int yields = 0;
    sv->onYield = [&] {
        if (++yields % 10 == 1) commitsAfterNow(t, 1);
    };
    EXPECT_EQ(picture(*run(kDailyConsumption, "2026-09-01", "2026-11-30")), daily);
    EXPECT_EQ(picture(*run(kMonthlyLedger, "2026-09-01", "2026-11-30")), monthly);
    sv->onYield = nullptr;
    EXPECT_EQ(yields, 91 + 3);
    commitsAfterNow(t, 3);
    expectTerminalWhole(t, o);
}

// Read once, the records come from one statement on every engine.
TEST_P(SummaryInCompany, ATerminalBookingIntoThePeriodIsShownAsOfOneCommit) { expectOneState(false); }

TEST_P(SummaryInCompanyPerCell, ATerminalBookingIntoThePeriodIsShownAsOfOneCommit) { expectOneState(true); }
