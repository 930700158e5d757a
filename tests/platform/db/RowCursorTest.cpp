// Long reads in bounded memory: a cursor gives the rows of its statement in
// order across its batches, and a terminal beside it is never held up, while
// the cursor keeps to the state it opened on.
#include <gtest/gtest.h>

#include "platform/db/Connection.h"
#include "platform/db/ReadPieces.h"
#include "platform/db/RowCursor.h"
#include "support/EngineTest.h"
#include "support/Fixtures.h"
#include "support/Terminal.h"

using namespace tolvenk;

namespace {

class RowCursorTest : public test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        if (IsSkipped()) return;
        con->execute("insert into Card_Info(Pinfo_id,Card_No,Card_No_Lng,C_LeiBie,C_YuE_ID) values(1,'T1',1,1,0)");
        options.card = "T1";
        options.mach = 9999;  // apart from the 2500 rows below
        // Rows 1 to 2500 of person 7: two and a half of the cursor's batches.
        con->executeScript(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<2500) "
            "INSERT INTO Record_XF(Mach_ID,Pinfo_id,XF_Type,YuE_Change,Date_Time,Err_Code) "
            "SELECT i, 7, 1, -i, '2026-11-10 12:00:00', 0 FROM n");
    }
    void TearDown() override {
        db::ReadPieces::standardRows() = db::ReadPieces::kRows;
        db::RowCursor::patience() = std::chrono::milliseconds(20);
        EngineTest::TearDown();
    }
    void journal() {
        if (onServer()) return;
        con->executeScript("PRAGMA journal_mode=DELETE");
        ASSERT_EQ(test::text(*con, "PRAGMA journal_mode"), "delete");
    }
    test::TerminalOptions options;
};

using RowCursorJournal = RowCursorTest;

}  // namespace

TOLVENK_ON_BOTH_ENGINES(RowCursorTest);
INSTANTIATE_TEST_SUITE_P(Engines, RowCursorJournal, ::testing::Values(test::Engine::File), test::EngineNames());

TEST_P(RowCursorTest, GivesEveryRowInTheStatementsOrderAcrossItsBatches) {
    const auto c = con->openCursor("select Mach_ID, YuE_Change as Change from Record_XF where Pinfo_id=7 order by Mach_ID desc");
    EXPECT_EQ(c->fieldIndex("MACH_ID"), 0);  // the server folds names to lower case
    EXPECT_EQ(c->fieldIndex("change"), 1);
    EXPECT_EQ(c->fieldIndex("Date_Time"), -1);
    EXPECT_ANY_THROW(c->field(0));  // before the first row
    std::int64_t expected = 2500;
    while (c->next()) {
        ASSERT_EQ(c->field(0).toInt64(), expected);
        ASSERT_EQ(c->field(1).toInt64(), -expected);
        --expected;
    }
    EXPECT_EQ(expected, 0);
    EXPECT_FALSE(c->next());
    EXPECT_ANY_THROW(c->field(0));
    EXPECT_ANY_THROW(con->openCursor("select Nope from Record_XF"));
}

// Opened, one row read: the terminal goes on committing (waiting for its
// commits would hang were it held up) and the cursor ends with the rows of
// the state it opened on, none the terminal wrote after.
void readBesideATerminal(db::Connection& con, const std::string& text, const test::TerminalOptions& options) {
    test::Terminal t(text, options);
    t.waitForCommits(2);
    auto own = test::connect(text);
    const auto c = own->openCursor("select Mach_ID from Record_XF order by ID");
    ASSERT_TRUE(c->next());
    const std::int64_t atOpen = test::number(con, "select count(*) from Record_XF where Mach_ID=9999");
    t.waitForCommits(static_cast<std::size_t>(atOpen) + 3);
    std::int64_t ours = 0, terminal = 0;
    do {
        (c->field(0).toInt64() == 9999 ? terminal : ours) += 1;
    } while (c->next());
    EXPECT_EQ(ours, 2500);
    EXPECT_GE(terminal, 2);
    EXPECT_LE(terminal, atOpen);
    const test::TerminalReport r = t.finish();
    EXPECT_EQ(r.failures, 0) << (r.errors.empty() ? "" : r.errors.front());
    EXPECT_GT(test::number(con, "select count(*) from Record_XF where Mach_ID=9999"), atOpen + 2);
}

TEST_P(RowCursorTest, ATerminalBesideAnOpenCursorIsNeverHeldUp) {
    readBesideATerminal(*con, db->connectionString(), options);
}

TEST_P(RowCursorJournal, ATerminalBesideAnOpenCursorIsNeverHeldUpUnderARollbackJournal) {
    journal();
    readBesideATerminal(*con, db->connectionString(), options);
}


// Read to its end, a cursor gives back what it held though the object lives
// on: on the server its session leaves its transaction and holds no lock (an
// open transaction keeps old row versions from being cleaned up and an
// administrator's change of a table waiting); on a file another writer
// commits at once and, in WAL mode, a checkpoint goes through.
std::int64_t readToTheEnd(db::RowCursor& c) {
    std::int64_t n = 0;
    while (c.next()) ++n;
    return n;
}

void writeBeside(const std::string& text) {
    auto writer = test::connect(text);
    writer->setCommandTimeout(1);  // a lock still held fails the write instead of waiting for it
    writer->execute("insert into Record_XF(Mach_ID,Pinfo_id,XF_Type,YuE_Change,Date_Time,Err_Code) "
                    "values(9998,8,1,-1,'2026-11-10 12:00:01',0)");
}

TEST_P(RowCursorTest, ReadToItsEndACursorHoldsNothingWhileItLives) {
    auto own = test::connect(db->connectionString());
    const std::string pid = onServer() ? test::text(*own, "select pg_backend_pid()") : "";
    const auto c = own->openCursor("select Mach_ID from Record_XF order by ID");
    ASSERT_EQ(readToTheEnd(*c), 2500);
    if (onServer()) {
        EXPECT_EQ(test::text(*con, "select state from pg_stat_activity where pid=" + pid), "idle");
        EXPECT_EQ(test::number(*con, "select count(*) from pg_locks where locktype='relation' and pid=" + pid), 0);
    }
    writeBeside(db->connectionString());
    if (!onServer()) {
        EXPECT_EQ(test::text(*con, "PRAGMA wal_checkpoint(TRUNCATE)"), "0");  // 0: not held back
    }
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where Mach_ID=9998"), 1);
}

TEST_P(RowCursorJournal, ReadToItsEndACursorHoldsNothingWhileItLivesUnderARollbackJournal) {
    journal();
    auto own = test::connect(db->connectionString());
    const auto c = own->openCursor("select Mach_ID from Record_XF order by ID");
    ASSERT_EQ(readToTheEnd(*c), 2500);
    writeBeside(db->connectionString());
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where Mach_ID=9998"), 1);
}

// A read that finds no row for a while lets its reader's events through and
// works on; what it has found it hands over at once. Here every step takes
// "a while": the cursor in pieces of a rollback journal (File) or the one
// statement (elsewhere) calls the waiting function before each piece or
// step that has found nothing yet, hands over the rows one at a time, and
// ends where the waiting function says false.
TEST_P(RowCursorJournal, AReadThatFindsNoRowForAWhileLetsTheReaderGoOn) {
    journal();
    // 2,000 rows of person 9 a second apart from 8 o'clock, 2,500 of person 7
    // at noon, then ten of person 8 in the evening.
    con->executeScript(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<2000) "
        "INSERT INTO Record_XF(Mach_ID,Pinfo_id,XF_Type,YuE_Change,Date_Time,Err_Code) "
        "SELECT 3000+i, 9, 1, -i, strftime('%Y-%m-%d %H:%M:%S','2026-11-10 08:00:00','+'||i||' seconds'), 0 FROM n;"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<10) "
        "INSERT INTO Record_XF(Mach_ID,Pinfo_id,XF_Type,YuE_Change,Date_Time,Err_Code) "
        "SELECT 5000+i, 8, 1, -i, '2026-11-10 20:00:0'||(i-1), 0 FROM n");
    db::ReadPieces::standardRows() = 100;
    db::RowCursor::patience() = std::chrono::microseconds(0);
    const auto open = [&] {
        return con->openCursor(
            [](const std::string& piece) {
                return "select Mach_ID from Record_XF where " +
                       (piece.empty() ? std::string("Date_Time>='2026-11-10' and Date_Time<'2026-11-11'") : piece) +
                       " and Pinfo_id=8 order by Date_Time";
            },
            db::Pieces_Along{"Record_XF", "Date_Time", "2026-11-10", "2026-11-11", false});
    };
    int waits = 0;
    auto c = open();
    c->whileWaiting([&] { return ++waits > 0; });
    std::vector<std::int64_t> read;
    while (c->next()) {
        if (read.empty()) {
            EXPECT_GE(waits, 20);  // the pieces of the morning held none of its rows
        }
        read.push_back(c->field(0).toInt64());
    }
    EXPECT_EQ(read, (std::vector<std::int64_t>{5001, 5002, 5003, 5004, 5005, 5006, 5007, 5008, 5009, 5010}));

    c = open();
    c->whileWaiting([] { return false; });
    EXPECT_FALSE(c->next());  // told to stop before a row was found
    db::ReadPieces::standardRows() = db::ReadPieces::kRows;
    db::RowCursor::patience() = std::chrono::milliseconds(20);
}

// A fetch that has worked past its patience hands over the row it has at
// once instead of reading on: with no patience at all, every row comes in a
// fetch of its own, which lets the reader's events through before its step.
// So it goes for a statement and for pieces, in WAL mode and on a rollback
// journal (a server cursor hands over what each of its fetches brings).
TEST_P(RowCursorJournal, PastItsPatienceACursorHandsOverTheRowItHas) {
    // Thirty rows of person 8 a second apart from 8 o'clock, before the
    // fixture's 2,500 of person 7 at noon.
    con->executeScript(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<30) "
        "INSERT INTO Record_XF(Mach_ID,Pinfo_id,XF_Type,YuE_Change,Date_Time,Err_Code) "
        "SELECT 5000+i, 8, 1, -i, strftime('%Y-%m-%d %H:%M:%S','2026-11-10 08:00:00','+'||i||' seconds'), 0 FROM n");
    std::vector<std::int64_t> person8;
    for (std::int64_t i = 5001; i <= 5030; ++i) person8.push_back(i);
    db::ReadPieces::standardRows() = 4;
    db::RowCursor::patience() = std::chrono::microseconds(0);
    const auto statement = [](const std::string& piece) {
        return "select Mach_ID from Record_XF where " +
               (piece.empty() ? std::string("Date_Time>='2026-11-10' and Date_Time<'2026-11-11'") : piece) +
               " and Pinfo_id=8 order by Date_Time";
    };
    enum Read { Statement, Pieces, Pieces_Everywhere };
    const struct {
        const char* journal;
        Read read;
        const char* name;
    } reads[] = {{"wal", Statement, "one statement"},
                 {"wal", Pieces_Everywhere, "pieces split everywhere"},
                 {"delete", Statement, "one statement"},
                 {"delete", Pieces, "pieces"}};
    for (const auto& r : reads) {
        SCOPED_TRACE(std::string(r.journal) + ", " + r.name);
        con->executeScript(std::string("PRAGMA journal_mode=") + r.journal);
        ASSERT_EQ(test::text(*con, "PRAGMA journal_mode"), r.journal);
        const auto c = r.read == Statement
                           ? con->openCursor(statement(""))
                           : con->openCursor(statement, db::Pieces_Along{"Record_XF", "Date_Time", "2026-11-10", "2026-11-11",
                                                                         false, {}, r.read == Pieces_Everywhere});
        int waits = 0;
        c->whileWaiting([&] { return ++waits > 0; });
        std::vector<std::int64_t> read;
        while (c->next()) {
            EXPECT_GT(waits, 0) << "before row " << read.size() + 1;
            waits = 0;
            read.push_back(c->field(0).toInt64());
        }
        EXPECT_EQ(read, person8);
    }
}

// A server's statement that takes its time over some rows (a grouped read of
// a month, a piece of one) lets the reader's events in while the server
// works, and a reader told to stop meanwhile ends it there; the session
// then reads on as before.
class ServerCursor : public RowCursorTest {};
INSTANTIATE_TEST_SUITE_P(Engines, ServerCursor, ::testing::Values(test::Engine::Server), test::EngineNames());

TEST_P(ServerCursor, AStatementAtWorkLetsTheReaderGoOnAndStop) {
    // Row 200 takes the server 0.3 s, row 150 of the second 30 s.
    const auto slowAt = [](int row, const char* seconds) {
        return "select i from generate_series(1,300) i, pg_sleep(case when i=" + std::to_string(row) + " then " +
               seconds + " else 0 end)";
    };
    int waits = 0;
    auto c = con->openCursor(slowAt(200, "0.3"));
    c->whileWaiting([&] { return ++waits > 0; });
    std::int64_t read = 0;
    while (c->next()) read += c->field(0).toInt64() == read + 1;
    EXPECT_EQ(read, 300);
    EXPECT_GE(waits, 5);  // about every 20 ms of the server's 300
    c.reset();

    const auto started = std::chrono::steady_clock::now();
    c = con->openCursor(slowAt(150, "30"));
    c->whileWaiting([] { return false; });
    int rows = 0;
    while (c->next()) ++rows;
    EXPECT_LT(rows, 150);
    c.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where Pinfo_id=7"), 2500);
}
