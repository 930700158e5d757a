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
    const auto t0 = Tills_Seen::Clock::now();
    const auto booking = [&](int till, int rows) {
        for (int i = 0; i < rows; ++i) test::XfRow().mach(till).insert(*con);
    };
    const auto inTwoLooks = [&](int till, Tills_Seen::Clock::time_point at) {
        for (int look = 0; look < 2; ++look) {
            booking(till, 1);
            tills.learn(*con, at + look * 10ms);
        }
    };
    booking(1, 3);  // the run's own, before its commit
    tills.mark(*con);

    tills.gapBegun(t0);
    EXPECT_FALSE(tills.allCame());  // nobody yet
    booking(990, 2);                // one commit of two rows
    tills.learn(*con, t0 + 10ms);
    EXPECT_FALSE(tills.allCame());
    booking(990, 1);
    tills.learn(*con, t0 + 20ms);
    EXPECT_TRUE(tills.allCame());
    booking(991, 1);  // a till that came once, and is not back
    tills.learn(*con, t0 + 30ms);
    EXPECT_FALSE(tills.allCame());

    // The next gap waits for 990 (twice in the last second), not for 991.
    tills.gapBegun(t0 + 500ms);
    inTwoLooks(992, t0 + 510ms);
    EXPECT_FALSE(tills.allCame());
    inTwoLooks(990, t0 + 530ms);
    EXPECT_TRUE(tills.allCame());

    // Seen more than a second ago, 990 is waited for no more.
    tills.gapBegun(t0 + 2s);
    inTwoLooks(993, t0 + 2010ms);
    EXPECT_TRUE(tills.allCame());
}
