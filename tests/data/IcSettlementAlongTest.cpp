// The settlement along the time of the rows leaves what the sets of cards
// leave: on a generated site with its dirt, on copies of one file, every row
// of the transactions and of the backup the same and the cut-off recorded,
// in one group or several, in small slices or large, with either journal,
// and after a run stopped between two slices and run again.
#include <filesystem>

#include "data/IcSettlementAlong.h"
#include "data/IcSettlementRun.h"
#include "demo_gen/DemoGenerator.h"
#include "support/Fixtures.h"

using namespace tolvenk;
using IC_Settlement::Along_Limits;
using IC_Settlement::Run_Result;

namespace {

constexpr const char* kCut = "2026-09-01 00:00:00";

class SettlementAlong : public test::KitTest {
protected:
    void SetUp() override {
        test::KitTest::SetUp();
        saved_ = Along_Limits::standard();
        demo::Options o;
        o.firstDay = "2026-05-01";
        o.lastDay = "2026-10-31";
        o.transactions = 30000;
        o.seed = 11;
        o.dirty = true;
        o.businessPath = dir.file("site.mdb");
        demo::generate(o);
        // The rows to upload, ready beside the transactions.
        auto con = test::connect(db::Connection::fileConnectionString(o.businessPath));
        con->executeScript(std::string(R"(
create table Busiest as select Pinfo_ID as P, Card_No as C, count(*) as N from Record_XF
 where Date_Time < ')") + kCut + R"(' and Card_LiuShui > 1 group by Pinfo_ID, Card_No order by N desc limit 3;
create table Uploads as select * from Record_XF where 0;
)");
        const auto busiest = test::rows(*con, "select P, C, N from Busiest order by N desc");
        for (std::size_t rank = 0; rank < busiest.size(); ++rank) {
            const std::string card = " from Record_XF where Pinfo_ID=" + busiest[rank][0] + " and Card_No='" +
                                     busiest[rank][1] + "' and Card_LiuShui > 1";
            con->execute("insert into Uploads select *" + card + " and Date_Time < '" + kCut +
                         "' order by Card_LiuShui limit 1 offset " + std::to_string(std::stoi(busiest[rank][2]) / 2));
            con->execute("update Uploads set ID = " + std::to_string(rank) + " where ID > 100");
        }
        // A clock set back months in the middle of the busiest card's rows, and
        // a row another program left undated in the next one's.
        const auto threeQuarters = [&](std::size_t rank) {
            return "(select ID from Record_XF where Pinfo_ID=" + busiest[rank][0] + " and Card_No='" + busiest[rank][1] +
                   "' and Card_LiuShui > 1 and Date_Time < '" + kCut + "' order by Card_LiuShui limit 1 offset " +
                   std::to_string(std::stoi(busiest[rank][2]) * 3 / 4) + ")";
        };
        con->execute("update Record_XF set Date_Time = '2026-05-02 08:00:00' where ID = " + threeQuarters(0));
        con->execute("update Record_XF set Date_Time = NULL where ID = " + threeQuarters(1));
        con->executeScript(std::string(R"(
update Uploads set Date_Time = '2026-10-15 10:00:00' where ID = 1;
update Uploads set Date_Time = '2026-10-20 10:00:00', Card_LiuShui = Card_LiuShui + 100000 where ID = 2;
update Uploads set ID = NULL;
)"));
    }
    void TearDown() override {
        Along_Limits::standard() = saved_;
        test::KitTest::TearDown();
    }
    // A copy of the site, settled with these limits (stopped at the
    // progress's `stopAt`th word, then run again when asked to). At its
    // `uploadAt`th word (0: before the run) a terminal uploads a row of the
    // busiest card again, a row of the next after the cut-off below its top
    // (a clock set wrong), and the third's next row as usual.
    std::string settled(const std::string& name, Along_Limits limits, const std::string& journal, int stopAt = -1,
                        int uploadAt = -1) {
        const std::string path = dir.file(name);
        std::filesystem::copy_file(dir.file("site.mdb"), path);
        const std::string cs = db::Connection::fileConnectionString(path);
        auto con = test::connect(cs);
        con->execute("PRAGMA journal_mode=" + journal);
        const auto upload = [&] { con->execute("insert into Record_XF select * from Uploads order by rowid"); };
        if (uploadAt == 0) upload();
        Along_Limits::standard() = limits;
        int told = 0;
        const Run_Result r = IC_Settlement::Run(*con, *con, kCut, "", [&](const IC_Settlement::Run_Step&) {
            if (++told == uploadAt) upload();
            return told != stopAt;
        });
        if (stopAt > 0) {
            EXPECT_EQ(r.state, Run_Result::Stopped) << name;
            EXPECT_EQ(IC_Settlement::Run(*con, *con, kCut, "", {}).state, Run_Result::Settled) << name;
        } else {
            EXPECT_EQ(r.state, Run_Result::Settled) << name;
        }
        return cs;
    }
    static std::vector<test::Texts> rows(const std::string& cs, const std::string& table) {
        return test::rows(*test::connect(cs), "select * from " + table + " order by ID, Date_Time, XF_Type");
    }

private:
    Along_Limits saved_;
};

}  // namespace

TEST_F(SettlementAlong, LeavesRowForRowWhatTheSetsOfCardsLeave) {
    Along_Limits byCards;
    byCards.fromRows = INT64_MAX;
    const std::string reference = settled("cards.mdb", byCards, "wal");
    const auto xf = rows(reference, "Record_XF"), backup = rows(reference, "Record_BF_XF");
    ASSERT_GT(backup.size(), 10000u);  // most rows before the cut-off went to the backup

    struct Case {
        const char* name;
        std::int64_t groupRows, firstSlice;
        const char* journal;
        int stopAt;
    };
    const Case cases[] = {
        {"one group.mdb", 10'000'000, 2000, "wal", -1},
        {"groups.mdb", 4000, 2000, "wal", -1},
        {"small slices.mdb", 10'000'000, 50, "delete", -1},
        {"stopped.mdb", 10'000'000, 300, "wal", 4},
    };
    for (const Case& c : cases) {
        Along_Limits along;
        along.fromRows = 0;
        along.groupRows = c.groupRows;
        along.firstSlice = c.firstSlice;
        const std::string cs = settled(c.name, along, c.journal, c.stopAt);
        EXPECT_EQ(rows(cs, "Record_XF"), xf) << c.name;
        EXPECT_EQ(rows(cs, "Record_BF_XF"), backup) << c.name;
        EXPECT_EQ(test::text(*test::connect(cs), "select P1||P2 from Sys_Para where Para_Name='JieSuan_Date'"),
                  std::string(kCut) + "1")
            << c.name;
    }
}

// Rows a terminal uploads between two slices are settled as if they had
// been there before the run: the cards they belong to are left to the sets.
TEST_F(SettlementAlong, RowsUploadedBetweenSlicesAreSettledAsIfThereBefore) {
    Along_Limits byCards;
    byCards.fromRows = INT64_MAX;
    const std::string reference = settled("uploaded first.mdb", byCards, "wal", -1, 0);
    Along_Limits along;
    along.fromRows = 0;
    along.firstSlice = 300;
    for (const char* journal : {"wal", "delete"}) {
        const std::string cs = settled(std::string("uploaded between ") + journal + ".mdb", along, journal, -1, 3);
        EXPECT_EQ(rows(cs, "Record_XF"), rows(reference, "Record_XF")) << journal;
        EXPECT_EQ(rows(cs, "Record_BF_XF"), rows(reference, "Record_BF_XF")) << journal;
    }
}
