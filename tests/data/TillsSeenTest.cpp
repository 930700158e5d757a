// The tills a gap waits for on a file: learnt from the rows committed beside
// the run (its own, written before a mark, never count), a till's rows of
// one look counting once however many one commit holds.
#include "data/TillsSeen.h"

#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

class TillsSeen : public test::DbTest {};
TOLVENK_ON_BOTH_ENGINES(TillsSeen);

}  // namespace

TEST_P(TillsSeen, AGapEndsOnceEachTillInItCameInTwoLooksAndEachBusyTillCame) {
    if (onServer()) GTEST_SKIP() << "a file's gaps";
    using namespace std::chrono_literals;
    Tills_Seen tills;
    const auto booking = [&](int till, int rows) {
        for (int i = 0; i < rows; ++i) test::XfRow().mach(till).insert(*con);
    };
    booking(1, 3);  // the run's own, before its commit
    tills.mark(*con);
    const auto t0 = Tills_Seen::Clock::now();
    const auto inTwoLooks = [&](int till, Tills_Seen::Clock::time_point at) {
        for (int look = 0; look < 2; ++look) {
            booking(till, 1);
            tills.learn(*con, at + look * 10ms);
        }
    };

    tills.gapBegun(t0);
    EXPECT_FALSE(tills.allCame(false));  // nobody yet
    booking(990, 2);                     // one commit of two rows
    tills.learn(*con, t0 + 200ms);
    EXPECT_FALSE(tills.allCame(false));
    booking(990, 1);
    tills.learn(*con, t0 + 400ms);
    EXPECT_TRUE(tills.allCame(false));
    booking(991, 1);  // a till that came once, and is not back
    tills.learn(*con, t0 + 450ms);
    EXPECT_FALSE(tills.allCame(false));
    EXPECT_TRUE(tills.allCame(true));  // after a short hold once is enough

    // The next gap waits for 990 (twice in the last second), not for 991.
    tills.gapBegun(t0 + 600ms);
    inTwoLooks(992, t0 + 610ms);
    EXPECT_FALSE(tills.allCame(false));
    inTwoLooks(990, t0 + 630ms);
    EXPECT_TRUE(tills.allCame(false));
    EXPECT_FALSE(tills.busy(t0 + 640ms));  // tills serving customers, a dozen rows a second in all

    // Seen more than a second ago, 990 is waited for no more.
    tills.gapBegun(t0 + 2s);
    inTwoLooks(993, t0 + 2010ms);
    EXPECT_TRUE(tills.allCame(false));

    // Beside busy tills one seen once just now is waited for too.
    booking(994, 1);
    tills.learn(*con, t0 + 2100ms);
    for (const bool busy : {false, true}) {
        tills.gapBegun(t0 + 2150ms, busy);
        booking(993, 1);
        tills.learn(*con, t0 + 2160ms);
        EXPECT_EQ(tills.allCame(true), !busy) << busy;
    }
    booking(994, 1);
    tills.learn(*con, t0 + 2170ms);
    EXPECT_TRUE(tills.allCame(true));
}

// Tills booking as fast as the lock lets them: one till ten rows a second,
// or all of them fifty, over the time the looks' rows came in.
TEST_P(TillsSeen, TillsBookingEveryFewHundredthsOfASecondAreBusyForASecond) {
    if (onServer()) GTEST_SKIP() << "a file's gaps";
    using namespace std::chrono_literals;
    const auto booking = [&](int till, int rows) {
        for (int i = 0; i < rows; ++i) test::XfRow().mach(till).insert(*con);
    };
    Tills_Seen one;
    const auto t0 = Tills_Seen::Clock::now();
    one.mark(*con);
    booking(990, 6);
    one.learn(*con, t0 + 900ms);
    EXPECT_FALSE(one.busy(t0 + 900ms));  // six in 0.9 s
    booking(990, 6);
    one.learn(*con, t0 + 1000ms);
    EXPECT_TRUE(one.busy(t0 + 1000ms));
    EXPECT_TRUE(one.busy(t0 + 1999ms));
    EXPECT_FALSE(one.busy(t0 + 2000ms));

    for (const auto& [after, busy] : {std::pair{30ms, true}, {300ms, false}}) {
        Tills_Seen all;
        const auto t1 = Tills_Seen::Clock::now();
        all.mark(*con);
        for (int till = 991; till <= 993; ++till) booking(till, 1);
        all.learn(*con, t1 + after);
        EXPECT_EQ(all.busy(t1 + after), busy) << after.count() << " ms";
    }
}
