// Cards booked beside a run: learnt on the server from the rows written
// since it began, whatever the case of their numbers; their items written
// each between two commits of the batch, the others as they come.
#include "data/BookedBeside.h"

#include "data/WriteBatch.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

class BookedBeside : public test::DbTest {};
TOLVENK_ON_BOTH_ENGINES(BookedBeside);

}  // namespace

TEST_P(BookedBeside, OnTheServerTheCardsOfRowsWrittenSinceAreLearntAndOnAFileNone) {
    test::XfRow().person(1).card("OLD").insert(*con);
    Booked_Beside beside(*con);
    test::XfRow().person(2).card("Ab1").insert(*con);
    beside.learn(*con);
    test::XfRow().person(3).card("C3").insert(*con);
    beside.learn(*con);
    const bool server = onServer();
    EXPECT_FALSE(beside.card(1, "OLD"));
    EXPECT_EQ(beside.card(2, "aB1"), server);
    EXPECT_EQ(beside.card(3, "C3"), server);
    EXPECT_FALSE(beside.card(3, "AB1"));
    EXPECT_EQ(beside.person(2), server);
    EXPECT_FALSE(beside.person(1));
}

// Items 0..6, 2 and 3 booked: runs [0,2) [2,3) [3,4) [4,6), each booked one
// begun and ended with no batch open; the others go on in the open batch.
TEST_P(BookedBeside, BookedItemsAreWrittenApartBetweenTwoCommits) {
    auto writer = test::connect(cs);
    Write_Batch batch(*writer, {1000, std::chrono::hours(1), std::chrono::milliseconds(0)});
    std::vector<std::string> runs;
    const auto booked = [](std::size_t i) { return i == 2 || i == 3; };
    Write_Apart(batch, 0, 6, booked, [&](std::size_t a, std::size_t b) {
        runs.push_back(std::to_string(a) + "-" + std::to_string(b) + (batch.open() ? " open" : ""));
        batch.item([a](db::Connection& c) {
            c.execute("insert into Sys_Log(Op_Code,Op_Object) values(" + std::to_string(a) + ",'x')");
        });
    });
    EXPECT_EQ(runs, (std::vector<std::string>{"0-2", "2-3", "3-4", "4-6"}));
    EXPECT_TRUE(batch.open());  // the last run's batch goes on
    EXPECT_EQ(test::column(*con, "select Op_Code from Sys_Log order by Op_Code"), (test::Texts{"0", "2", "3"}));
    EXPECT_TRUE(batch.commit());
}
