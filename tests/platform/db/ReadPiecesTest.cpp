// A long read in pieces: on a rollback-journal file the pieces hold every row
// of the range once, in the column's order, whatever values they share, and a
// terminal commits between every two of them; in WAL mode and on the server
// the read stays one statement.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "platform/db/Connection.h"
#include "platform/db/RowCursor.h"
#include "support/EngineTest.h"
#include "support/Fixtures.h"
#include "support/Terminal.h"
#include "support/XfRow.h"

using namespace tolvenk;

namespace {

const db::Pieces_Along kNovember3To10{"Record_XF", "Record_XF.Date_Time", "2026-11-03", "2026-11-10 23:59:59", true};
const std::string kInRange = "Date_Time>='2026-11-03' and Date_Time<='2026-11-10 23:59:59'";

class ReadPiecesTest : public test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        if (IsSkipped()) return;
        // Five rows a day from the 1st to the 12th, written out of time
        // order, and seven more in one second of the 6th.
        for (int i = 0; i < 60; ++i) {
            char when[32];
            std::snprintf(when, sizeof when, "2026-11-%02d %02d:00:00", 1 + (i * 7) % 12, 8 + i / 12);
            test::XfRow().mach(i + 1).person(7).type(1).money(-i).date(when).err(0).insert(*con);
        }
        for (int k = 1; k <= 7; ++k)
            test::XfRow().mach(100 + k).person(7).type(1).money(0).date("2026-11-06 12:30:00").err(0).insert(*con);
        con->execute("insert into Card_Info(Pinfo_id,Card_No,Card_No_Lng,C_LeiBie,C_YuE_ID) values(1,'T1',1,1,0)");
        if (GetParam() == test::Engine::File) {
            con->executeScript("PRAGMA journal_mode=DELETE");
            ASSERT_EQ(test::text(*con, "PRAGMA journal_mode"), "delete");
        }
    }
    void TearDown() override {
        db::setStatementObserver(nullptr);
        db::ReadPieces::standardRows() = db::ReadPieces::kRows;
        db::RowCursor::patience() = std::chrono::milliseconds(20);
        EngineTest::TearDown();
    }
    // The rows of the range in the plain statement's order.
    test::Texts expected() {
        return test::column(*con, "select Mach_ID from Record_XF where " + kInRange + " order by Date_Time, Mach_ID");
    }
};

using ReadPiecesWal = ReadPiecesTest;
using ReadPiecesFile = ReadPiecesTest;

}  // namespace

TOLVENK_ON_BOTH_ENGINES(ReadPiecesTest);
INSTANTIATE_TEST_SUITE_P(Engines, ReadPiecesWal, ::testing::Values(test::Engine::File), test::EngineNames());
INSTANTIATE_TEST_SUITE_P(Engines, ReadPiecesFile, ::testing::Values(test::Engine::File), test::EngineNames());

// Pieces of three rows: the seven rows of one second come in one piece.
TEST_P(ReadPiecesTest, OnARollbackJournalThePiecesHoldEveryRowOfTheRangeOnceInOrder) {
    db::ReadPieces::standardRows() = 3;
    db::ReadPieces pieces = con->readPieces(kNovember3To10);
    test::Texts read;
    int count = 0, sevenAtOnce = 0;
    while (const auto piece = pieces.next()) {
        const test::Texts rows = test::column(
            *con, "select Mach_ID from Record_XF where " + (piece->empty() ? kInRange : *piece) + " order by Date_Time, Mach_ID");
        ++count;
        int shared = 0;
        for (const std::string& r : rows) shared += std::stoi(r) > 100;
        sevenAtOnce += shared == 7;
        read.insert(read.end(), rows.begin(), rows.end());
    }
    EXPECT_EQ(read, expected());
    if (onServer()) {
        EXPECT_EQ(count, 1);  // the server keeps no writer out while it reads
        return;
    }
    EXPECT_GE(count, 8);
    EXPECT_EQ(sevenAtOnce, 1);
}

TEST_P(ReadPiecesWal, InWalModeTheReadIsOneStatement) {
    con->executeScript("PRAGMA journal_mode=WAL");
    db::ReadPieces::standardRows() = 3;
    db::ReadPieces pieces = con->readPieces(kNovember3To10);
    EXPECT_EQ(pieces.next(), std::string());
    EXPECT_EQ(pieces.next(), std::nullopt);
}

// A cursor in pieces: between every two, with no lock left behind, the
// terminal commits a row (were the file held, it never could).
TEST_P(ReadPiecesTest, ATerminalCommitsBetweenEveryTwoPiecesOfACursor) {
    test::Terminal t(db->connectionString(), {"T1", 990, 0, false, "2026-12-01 08:00:00"});
    t.waitForCommits(1);
    int pieces = 0;
    db::setStatementObserver([&](const std::string&) {
        ++pieces;
        t.waitForCommits(t.commits() + 1);
    });
    db::ReadPieces::standardRows() = 4;
    const auto c = con->openCursor(
        [](const std::string& piece) {
            return "select Mach_ID from Record_XF where " + (piece.empty() ? kInRange : piece) +
                   " order by Date_Time, Mach_ID";
        },
        kNovember3To10);
    test::Texts read;
    while (c->next()) read.push_back(c->field(0).toString());
    db::setStatementObserver(nullptr);
    const test::TerminalReport r = t.finish();
    EXPECT_EQ(r.failures, 0);
    EXPECT_EQ(read, expected());
    EXPECT_GE(pieces, onServer() ? 1 : 6);
}

// A till of another maker commits between every two pieces: from the first
// commit seen on, the pieces are a fifth as long (but for the seven rows of
// one second), and still hold every row once, in order.
TEST_P(ReadPiecesFile, WhileATillCommitsThePiecesAreShort) {
    test::Terminal t(db->connectionString(), {"T1", 990, 0, false, "2026-12-01 08:00:00", true});
    t.waitForCommits(1);
    db::ReadPieces::standardRows() = 10;
    db::ReadPieces pieces = con->readPieces(kNovember3To10);
    test::Texts read;
    std::vector<std::size_t> sizes;
    while (const auto piece = pieces.next()) {
        const test::Texts rows =
            test::column(*con, "select Mach_ID from Record_XF where " + *piece + " order by Date_Time, Mach_ID");
        sizes.push_back(rows.size());
        read.insert(read.end(), rows.begin(), rows.end());
        // A commit after the piece began (a reported one may be older).
        const std::int64_t version = test::number(*con, "PRAGMA data_version");
        while (test::number(*con, "PRAGMA data_version") == version) t.waitForCommits(t.commits() + 1);
    }
    const test::TerminalReport r = t.finish();
    EXPECT_EQ(r.failures, 0);
    EXPECT_EQ(read, expected());
    ASSERT_GE(sizes.size(), 2u);
    EXPECT_EQ(sizes[0], 10u);  // nobody seen writing yet
    for (std::size_t i = 1; i < sizes.size(); ++i) EXPECT_TRUE(sizes[i] <= 2 || sizes[i] == 7) << i << ": " << sizes[i];
}

// A cursor read in pieces, one after another: on a rollback journal any long
// read, and a read split everywhere (a grouped one, which hands over nothing
// until its range is read) in WAL mode and on the server too; a read that
// is not split stays one statement there. The pieces hold every row once, in
// order, and each piece is opened only once the reader has taken every row
// before it: a fetch never waits for two pieces.
TEST_P(ReadPiecesTest, ACursorInPiecesHandsOverEachPieceBeforeOpeningTheNext) {
    db::ReadPieces::standardRows() = 3;
    db::RowCursor::patience() = std::chrono::hours(1);  // no fetch ends for its time
    for (const std::string& journal : onServer() ? std::vector<std::string>{""} : std::vector<std::string>{"delete", "wal"}) {
        if (!journal.empty()) {
            con->executeScript("PRAGMA journal_mode=" + journal);
            ASSERT_EQ(test::text(*con, "PRAGMA journal_mode"), journal);
        }
        for (const bool everywhere : {false, true}) {
            SCOPED_TRACE(journal + (everywhere ? " split everywhere" : " split where writers wait"));
            db::Pieces_Along along = kNovember3To10;
            along.everywhere = everywhere;
            // Each statement's first time, and how many rows the reader had then.
            std::vector<std::pair<std::string, std::size_t>> opened;
            test::Texts read;
            db::setStatementObserver([&](const std::string& sql) {
                if (sql.rfind("select Mach_ID from Record_XF", 0) != 0) return;
                const auto at = sql.find("Date_Time>='") + 12;
                opened.emplace_back(sql.substr(at, sql.find('\'', at) - at), read.size());
            });
            const auto c = con->openCursor(
                [](const std::string& piece) {
                    return "select Mach_ID from Record_XF where " + (piece.empty() ? kInRange : piece) +
                           " order by Date_Time, Mach_ID";
                },
                along);
            while (c->next()) read.push_back(c->field(0).toString());
            db::setStatementObserver(nullptr);
            EXPECT_EQ(read, expected());
            if (everywhere || journal == "delete")
                EXPECT_GE(opened.size(), 2u);
            else
                EXPECT_EQ(opened.size(), 1u);
            for (const auto& [from, taken] : opened)
                EXPECT_EQ(taken, static_cast<std::size_t>(test::number(
                                     *con, "select count(*) from Record_XF where Date_Time>='2026-11-03' and "
                                           "Date_Time<'" + from + "'")))
                    << from;
        }
    }
}

// The server lets the window in while it works: a read split everywhere
// gives a first short piece for the first rows and the rest as one, which
// it groups at less cost than pieces of it.
TEST_P(ReadPiecesTest, OnTheServerTheRestAfterAFirstPieceIsOne) {
    if (!onServer()) GTEST_SKIP() << "a file's pieces are for writers' and the window's sake";
    con->execute("insert into Record_XF(Mach_ID,Pinfo_ID,XF_Type,YuE_Change,Err_Code,Date_Time) select 1000+g,7,1,0,0,"
                 "timestamp '2026-11-04 00:00:00' + g * interval '1 minute' from generate_series(1,3000) g");
    db::ReadPieces::standardRows() = 3;
    db::Pieces_Along along = kNovember3To10;
    along.everywhere = true;
    int opened = 0;
    db::setStatementObserver([&](const std::string& sql) { opened += sql.rfind("select Mach_ID from Record_XF", 0) == 0; });
    const auto c = con->openCursor(
        [](const std::string& piece) {
            return "select Mach_ID from Record_XF where " + (piece.empty() ? kInRange : piece) + " order by Date_Time, Mach_ID";
        },
        along);
    test::Texts read;
    while (c->next()) read.push_back(c->field(0).toString());
    db::setStatementObserver(nullptr);
    EXPECT_EQ(read, expected());
    EXPECT_EQ(opened, 2);
}

// A till that is always in the middle of a write (its transaction held open)
// is given way before each piece no longer than the piece before took to
// read: a read in many pieces beside it is not 25 ms a piece slower.
TEST_P(ReadPiecesFile, GivingWayTakesNoLongerThanThePieceBefore) {
    db::ReadPieces::standardRows() = 1;
    db::Connection till;
    till.open(db->connectionString());
    db::ReadPieces pieces = con->readPieces(kNovember3To10);
    ASSERT_TRUE(pieces.next());  // the reader looks at the file's commits from here
    till.execute("update Card_Info set Card_No='T1' where Card_No='T1'");  // seen committing
    till.executeScript("BEGIN IMMEDIATE");
    int count = 0;
    const auto start = std::chrono::steady_clock::now();
    while (const auto piece = pieces.next()) {
        test::column(*con, "select Mach_ID from Record_XF where " + *piece);
        ++count;
    }
    const auto took = std::chrono::steady_clock::now() - start;
    till.executeScript("ROLLBACK");
    EXPECT_GE(count, 20);
    EXPECT_LT(took, count * std::chrono::milliseconds(25) / 4);
}
