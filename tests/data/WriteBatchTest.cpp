// Batches of items on both engines: an item is two Sys_Log rows (Op_Code its
// number, Op_Object "a" and "b"), so a half-written item shows.
#include "data/WriteBatch.h"

#include <sqlite3.h>

#include <atomic>
#include <memory>
#include <thread>

#include "data/SetSize.h"
#include "platform/db/Transaction.h"
#include "platform/db/WriteTrace.h"
#include "support/Fixtures.h"
#include "support/Terminal.h"

using namespace tolvenk;

namespace {

class WriteBatch : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        writer = test::connect(cs);
    }
    Write_Batch::Writes item(int n) {
        return [n](db::Connection& c) {
            for (const char* part : {"a", "b"})
                c.execute("insert into Sys_Log(Op_Code,Op_Object) values(" + std::to_string(n) + ",'" + part + "')");
        };
    }
    // The items stored, as seen from another session: "n" for a whole one.
    test::Texts stored() {
        return test::column(*con, "select Op_Code||case when count(*)=2 then '' else ' half' end from Sys_Log "
                                  "group by Op_Code order by Op_Code");
    }
    std::shared_ptr<db::Connection> writer;
    std::vector<std::string> told;  // "kept n" / "lost n" in the order told
    Write_Batch::Kept kept(int n) {
        return [this, n] { told.push_back("kept " + std::to_string(n)); };
    }
    Write_Batch::Lost lost(int n) {
        return [this, n](const std::string&) { told.push_back("lost " + std::to_string(n)); };
    }
};

TOLVENK_ON_BOTH_ENGINES(WriteBatch);

class WriteBatchFile : public WriteBatch {
protected:
    // The file afresh in a journal mode, the writer's session opened on it,
    // and a till's card T1 there.
    void onJournal(const std::string& journal) {
        writer.reset();
        con->executeScript("delete from Record_XF; delete from Card_Info; PRAGMA journal_mode=" + journal);
        writer = test::connect(cs);
        writer->execute("insert into Card_Info(Pinfo_id,Card_No,Card_No_Lng,C_LeiBie,C_YuE_ID) values(1,'T1',1,1,0)");
    }
    // The file on a memory folder, where a till's or the series' timing is
    // the subject: on a disk the rest of the suite keeps busy, a till's own
    // flushes can take most of a second by themselves.
    void onMemoryFolder() {
        memory_ = std::make_unique<test::TempDir>(test::memoryFolder(std::uintmax_t{1} << 30));
        cs = test::createBusinessDb(memory_->file("b.mdb"));
        con = test::connect(cs);
    }
    // A till of another maker (the engine's own library alone) booking on
    // `card` a pause after each commit, its first row in.
    std::unique_ptr<test::Terminal> plainTill(int pauseMicros, bool randomly = false, const std::string& card = "T1",
                                              int mach = 990) {
        test::TerminalOptions o{card, mach, pauseMicros, false, "2026-12-01 08:00:00"};
        o.plain = true;
        o.randomly = randomly;
        auto t = std::make_unique<test::Terminal>(cs, o);
        t->waitForCommits(1);
        return t;
    }
    void TearDown() override {
        writer.reset();
        con.reset();
        memory_.reset();  // its file closed first
        WriteBatch::TearDown();
    }

private:
    std::unique_ptr<test::TempDir> memory_;
};
TOLVENK_ON_FILE_ONLY(WriteBatchFile);

}  // namespace

// Item 3's second row is refused: item 3 alone is undone and its error
// passes; the others commit together, told kept only then, in their order.
TEST_P(WriteBatch, AFailingItemIsUndoneAloneAndTheOthersCommitTogether) {
    test::refuseWrites(*con, engine(), "no_3b", "insert", "Sys_Log", "new.Op_Code=3 and new.Op_Object='b'");
    Write_Batch batch(*writer, {100, std::chrono::hours(1), std::chrono::milliseconds(0)});
    for (int n = 1; n <= 5; ++n) {
        if (n == 3) {
            EXPECT_THROW(batch.item(item(n), kept(n), lost(n)), db::DbError);
            batch.note([this] { told.push_back("failed 3"); });
            continue;
        }
        batch.item(item(n), kept(n), lost(n));
        EXPECT_FALSE(batch.pause(false));
    }
    EXPECT_TRUE(batch.open());
    EXPECT_TRUE(told.empty());
    EXPECT_TRUE(stored().empty());  // nothing seen before the commit
    EXPECT_TRUE(batch.commit());
    EXPECT_EQ(told, (std::vector<std::string>{"kept 1", "kept 2", "failed 3", "kept 4", "kept 5"}));
    EXPECT_EQ(stored(), (test::Texts{"1", "2", "4", "5"}));
}

// A batch ends when full; before the progress is told, also when a yield is
// due; the progress may be told only when no batch is open.
TEST_P(WriteBatch, ABatchEndsWhenFullOrBeforeAYield) {
    sv->yieldAlways = false;
    Write_Batch batch(*writer, {2, std::chrono::hours(1), std::chrono::milliseconds(0)});
    EXPECT_TRUE(batch.pause(true));  // none open yet
    batch.item(item(1), kept(1));
    EXPECT_FALSE(batch.pause(true));
    batch.item(item(2), kept(2));
    EXPECT_TRUE(batch.pause(false));
    EXPECT_EQ(stored(), (test::Texts{"1", "2"}));
    batch.item(item(3), kept(3));
    EXPECT_FALSE(batch.pause(false));
    sv->yieldAlways = true;
    EXPECT_FALSE(batch.pause(false));  // no progress to tell: the batch goes on
    EXPECT_TRUE(batch.pause(true));
    EXPECT_EQ(told, (std::vector<std::string>{"kept 1", "kept 2", "kept 3"}));
    EXPECT_EQ(stored(), (test::Texts{"1", "2", "3"}));
}

// A run that tells its progress sizes its sets, once it told it, to end in
// time for the next telling, which is due once no more than a quarter of
// that time is left; sets of a run that does not tell stay as timed.
TEST_P(WriteBatch, SetsOfARunThatTellsEndInTimeForItsNextTelling) {
    sv->yieldAlways = false;
    Write_Batch::Limits limits{100000, std::chrono::hours(1), std::chrono::milliseconds(0)};
    limits.quiet = std::chrono::milliseconds(0);  // no stretch ends the batch on a file either
    Write_Batch batch(*writer, limits);
    Set_Size size(batch);
    size.took(100, std::chrono::milliseconds(100));  // 1 ms each
    EXPECT_EQ(size.next(true), 400);  // by steps, nothing told yet
    batch.item(item(1), kept(1));
    EXPECT_FALSE(batch.pause(true));
    const auto toldAt = std::chrono::steady_clock::now();
    batch.told();
    EXPECT_FALSE(batch.pause(true));  // not due yet: the batch goes on
    const std::int64_t fits = size.next(true);
    EXPECT_GE(fits, 1);
    EXPECT_LE(fits, Write_Batch::kTellEvery.count());
    EXPECT_EQ(size.next(false), 400);
    bool committed = false;
    for (const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
         !committed && std::chrono::steady_clock::now() < giveUp;)
        committed = batch.pause(true);
    EXPECT_TRUE(committed);  // with a quarter of the time or less left
    EXPECT_GE(std::chrono::steady_clock::now() - toldAt, Write_Batch::kTellEvery * 3 / 4);
    EXPECT_EQ(told, (std::vector<std::string>{"kept 1"}));
    EXPECT_LE(size.next(true), Write_Batch::kTellEvery.count() / 4);
}

// On a server a run whose sets lock the cards terminals book on commits once
// it has held them for its short time, someone seen waiting or not (the
// server tells who waits only between sets); on a file its limits stay.
TEST_P(WriteBatch, ARunHoldingCardsCommitsShortOnAServerOnly) {
    using std::chrono::milliseconds;
    const bool server = engine() == test::Engine::Server;
    Write_Batch batch(*writer, {1000, std::chrono::hours(1), milliseconds(0), milliseconds(0)});
    batch.holdsCards();
    batch.item(item(1), kept(1));
    EXPECT_EQ(batch.pause(false), server);
    EXPECT_EQ(batch.commit(), true);
    EXPECT_EQ(told, (std::vector<std::string>{"kept 1"}));

    Write_Batch seen(*writer, {1000, std::chrono::hours(1), milliseconds(0), milliseconds(20)});
    seen.holdsCards();
    EXPECT_EQ(seen.timeLimit(), server ? milliseconds(20) : milliseconds(std::chrono::hours(1)));
    seen.othersWrite();
    // A server's sets not shorter than their round trips pay for; a file's
    // as they were: its writers come in in the gaps.
    EXPECT_EQ(seen.timeLimit(), server ? milliseconds(20) : milliseconds(std::chrono::hours(1)));
}

// A batch left without its commit writes nothing of its items.
TEST_P(WriteBatch, ABatchNotCommittedWritesNothing) {
    {
        Write_Batch batch(*writer);
        batch.item(item(1), kept(1), lost(1));
    }
    EXPECT_FALSE(writer->inTransaction());
    EXPECT_TRUE(told.empty());
    EXPECT_TRUE(stored().empty());
}

// A terminal that waited once for the batch's lock keeps waiting behind each
// set for the rest of the run: from then on sets are sized to a short turn.
// (A server queues the sessions waiting for a row by itself.)
TEST_P(WriteBatchFile, OnceAWriterWaitedTheSetsAreSizedToAShortTurn) {
    writer->execute("insert into Card_Info(Pinfo_id,Card_No,Card_No_Lng,C_LeiBie,C_YuE_ID) values(1,'T1',1,1,0)");
    Write_Batch batch(*writer, {1000, std::chrono::hours(1), std::chrono::milliseconds(0)});
    Set_Size size(batch);
    size.took(10, std::chrono::milliseconds(5));
    EXPECT_EQ(size.next(false), 40);  // grows by steps while nobody waits

    batch.item(item(1));
    test::Terminal terminal(cs, {"T1", 990, 0, false, "2026-12-01 08:00:00"});
    while (!batch.pause(false)) std::this_thread::yield();  // committed for the waiting terminal only
    terminal.waitForCommits(1);
    EXPECT_EQ(terminal.finish().failures, 0);

    // The set timed before the wait: 0.5 ms each, what fits in 1 ms.
    EXPECT_EQ(size.next(false), 2);
}

// Beside another writer a batch holds a file's lock no longer than its
// stretch, also while nobody happens to wait: a till coming in just then
// waits for it, and then finds the gap after it.
TEST_P(WriteBatchFile, BesideAnotherWriterABatchCommitsAtTheEndOfItsStretch) {
    Write_Batch batch(*writer, {1000, std::chrono::hours(1), std::chrono::milliseconds(0)});
    batch.item(item(1), kept(1));
    EXPECT_FALSE(batch.pause(false));  // alone: only full or old ends it
    batch.othersWrite();
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!batch.pause(false) && std::chrono::steady_clock::now() < giveUp) std::this_thread::yield();
    EXPECT_EQ(told, (std::vector<std::string>{"kept 1"}));
    EXPECT_EQ(stored(), (test::Texts{"1"}));
}

// On a file a run starts in short turns, as beside terminals, and takes the
// lock for long only once nobody has waited for a while; a commit of another
// connection between two batches, no wait marked, changes nothing. While
// short, the log is copied back sooner, and as before once the run ends.
TEST_P(WriteBatchFile, ShortTurnsUntilNobodyElseWritesAndAgainOnceSomeoneDoes) {
    const auto copyBackPages = [&] { return test::number(*writer, "PRAGMA wal_autocheckpoint"); };
    const std::int64_t usual = copyBackPages();
    {
        Write_Batch batch(*writer, {1000, std::chrono::hours(1), std::chrono::hours(1)});
        batch.item(item(1), kept(1));
        EXPECT_TRUE(batch.contended());
        EXPECT_EQ(batch.timeLimit(), std::chrono::milliseconds(1));
        EXPECT_LT(copyBackPages(), usual);
        EXPECT_TRUE(batch.commit());
    }
    EXPECT_EQ(copyBackPages(), usual);
    {
        Write_Batch batch(*writer, {1000, std::chrono::hours(1), std::chrono::milliseconds(1)});
        EXPECT_TRUE(batch.contended());
        batch.item(item(2), kept(2));
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        for (int n = 3; batch.contended() && std::chrono::steady_clock::now() < giveUp; ++n) {
            batch.pause(false);
            batch.item(item(n), kept(n));
        }
        EXPECT_FALSE(batch.contended());
        EXPECT_EQ(batch.timeLimit(), std::chrono::hours(1));
        EXPECT_FALSE(batch.pause(false));  // alone: only full or old ends it
        EXPECT_TRUE(batch.commit());
        EXPECT_EQ(copyBackPages(), usual);

        // Another session's commit alone shortens nothing: it marked no wait.
        con->execute("insert into Sys_Log(Op_Code,Op_Object) values(9,'terminal')");
        batch.item(item(0));
        EXPECT_FALSE(batch.contended());
        EXPECT_TRUE(batch.commit());
    }
    EXPECT_EQ(copyBackPages(), usual);
}

// A batch learns between its sets that nobody waited for `alone`, not only
// when the next one begins: its sets are then sized to the usual time while
// it is still open (a series' first batch held its first 200 items in sets
// of one or two).
TEST_P(WriteBatchFile, ABatchStillOpenLearnsItIsAlone) {
    Write_Batch::Limits limits{1000000, std::chrono::hours(1), std::chrono::milliseconds(200)};
    limits.stretch = limits.firstStretch = limits.flushedStretch = std::chrono::hours(1);
    Write_Batch batch(*writer, limits);
    batch.item(item(1), kept(1));
    EXPECT_EQ(batch.timeLimit(), std::chrono::milliseconds(1));
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (int n = 2; batch.contended() && std::chrono::steady_clock::now() < giveUp; ++n) {
        ASSERT_FALSE(batch.pause(false));
        batch.item(item(n), kept(n));
    }
    EXPECT_TRUE(batch.open());
    EXPECT_EQ(batch.timeLimit(), std::chrono::hours(1));
    EXPECT_TRUE(batch.commit());
}

// A trigger that rolls back the whole transaction takes the batch's earlier
// items with it: each is told lost, none is half there, and the next item
// begins a batch of its own.
TEST_P(WriteBatchFile, AnErrorThatEndsTheTransactionTellsTheEarlierItemsLost) {
    test::loseTransactions(*con, engine(), "all_gone", "insert", "Sys_Log", "new.Op_Code=3");
    Write_Batch batch(*writer);
    batch.item(item(1), kept(1), lost(1));
    batch.item(item(2), kept(2), lost(2));
    EXPECT_THROW(batch.item(item(3), kept(3), lost(3)), db::DbError);
    EXPECT_FALSE(batch.open());
    batch.note([this] { told.push_back("failed 3"); });  // no batch open: told at once
    EXPECT_EQ(told, (std::vector<std::string>{"lost 1", "lost 2", "failed 3"}));
    batch.item(item(4), kept(4), lost(4));
    EXPECT_TRUE(batch.commit());
    EXPECT_EQ(told, (std::vector<std::string>{"lost 1", "lost 2", "failed 3", "kept 4"}));
    EXPECT_EQ(stored(), (test::Texts{"4"}));
}

namespace {
class WriteBatchServer : public WriteBatch {};
INSTANTIATE_TEST_SUITE_P(Engines, WriteBatchServer, ::testing::Values(test::Engine::Server), test::EngineNames());
}  // namespace

// The engine refuses the batch at its commit, by a check it makes only then
// (here a row left without its parent): nothing of the batch is written, each
// of its items is told lost and none kept, and the next item begins a batch
// of its own.
TEST_P(WriteBatch, ABatchWhoseCommitFailsTellsEachItemLostAndWritesNothing) {
    con->executeScript(
        "create table Batch_Parent(ID integer primary key); "
        "create table Batch_Child(Parent integer references Batch_Parent(ID) deferrable initially deferred);");
    if (!onServer()) writer->executeScript("PRAGMA foreign_keys=ON");
    const auto orphan = [this](int n) {
        return [this, n](db::Connection& c) {
            item(n)(c);
            c.execute("insert into Batch_Child(Parent) values(404)");
        };
    };
    Write_Batch batch(*writer, {100, std::chrono::hours(1), std::chrono::milliseconds(0)});
    batch.item(item(1), kept(1), lost(1));
    batch.item(orphan(2), kept(2), lost(2));
    batch.wholeItem(item(3), kept(3), lost(3));
    EXPECT_FALSE(batch.commit());
    EXPECT_EQ(told, (std::vector<std::string>{"lost 1", "lost 2", "lost 3"}));
    EXPECT_FALSE(batch.open());
    EXPECT_FALSE(writer->inTransaction());  // no lock outlives the failure
    EXPECT_TRUE(stored().empty());
    EXPECT_EQ(test::number(*con, "select count(*) from Batch_Child"), 0);

    batch.item(item(4), kept(4), lost(4));
    EXPECT_TRUE(batch.commit());
    EXPECT_EQ(told, (std::vector<std::string>{"lost 1", "lost 2", "lost 3", "kept 4"}));
    EXPECT_EQ(stored(), (test::Texts{"4"}));
}

// The server ends the writer's session in the middle of a batch (an
// administrator, a restart): the batch's earlier items went with its
// transaction and are told lost, none of them is written, and the failing
// item's error passes.
TEST_P(WriteBatchServer, ABatchTheServerCutsIsLostWhole) {
    const std::int64_t pid = test::number(*writer, "select pg_backend_pid()");
    Write_Batch batch(*writer, {100, std::chrono::hours(1), std::chrono::milliseconds(0)});
    batch.item(item(1), kept(1), lost(1));
    batch.wholeItem(item(2), kept(2), lost(2));
    test::number(*con, "select count(*) from (select pg_terminate_backend(" + std::to_string(pid) + ", 10000)) t");
    EXPECT_THROW(batch.item(item(3), kept(3), lost(3)), db::DbError);
    EXPECT_EQ(told, (std::vector<std::string>{"lost 1", "lost 2"}));
    EXPECT_FALSE(batch.open());
    EXPECT_TRUE(stored().empty());
}

// A till of another maker, on the engine's own library with its standard
// busy timeout, books every few milliseconds beside a long series of
// batches, in either journal mode: it sleeps between its tries and never
// meets the lock free for a moment between two batches, only in the gaps the
// series leaves. Its rows come in among the series' own all along: between
// (nearly) every two of its batches.
TEST_P(WriteBatchFile, ATillOfAnotherMakerBooksAmongTheBatches) {
    onMemoryFolder();
    for (const char* journal : {"wal", "delete"}) {
        SCOPED_TRACE(journal);
        onJournal(journal);
        const auto terminal = plainTill(3000);
        // A gap after every batch, so that a short series leaves several;
        // the till never lets the file be quiet, and short gaps do.
        Write_Batch::Limits limits;
        limits.stretch = limits.firstStretch = std::chrono::milliseconds(0);
        limits.longestGap = std::chrono::milliseconds(120);
        Write_Batch batch(*writer, limits);
        batch.committing([&] {
            for (int n = 0; n < 8; ++n) {
                batch.item([](db::Connection& c) {
                    c.execute("with recursive r(i) as (select 1 union all select i+1 from r where i<40) insert into "
                              "Record_XF(Mach_ID,Card_No,Date_Time) select 1,'S',hex(randomblob(40)) from r");
                });
                batch.pause(false);
            }
        });
        EXPECT_EQ(terminal->finish().failures, 0);
        // The series' batches (nearly) each begin where a till's row comes before.
        EXPECT_GE(test::number(*con, "select count(*) from (select Mach_ID,lag(Mach_ID) over (order by ID) before "
                                     "from Record_XF where ID >= (select min(ID) from Record_XF where Mach_ID=1)) "
                                     "where Mach_ID=1 and before=990"),
                  6);
    }
}

// A gap lasts until nobody else has committed for the quiet time: alone
// that long. Beside a till of another maker booking every 20 ms (never that
// quiet) it ends once that till has booked again in it and two quiet times
// have passed; beside a till too that booked once in it, after a customer
// kept waiting, and not again since, it lasts its longest. The next stretch
// then starts afresh.
TEST_P(WriteBatchFile, AGapLastsUntilTheFileIsQuietItsTillsCameOrItsLongest) {
    writer->execute("insert into Card_Info(Pinfo_id,Card_No,Card_No_Lng,C_LeiBie,C_YuE_ID) values(1,'T1',1,1,0)");
    writer->execute("insert into Card_Info(Pinfo_id,Card_No,Card_No_Lng,C_LeiBie,C_YuE_ID) values(2,'T2',2,1,0)");
    Write_Batch::Limits limits;
    limits.time = limits.stretch = limits.firstStretch = std::chrono::milliseconds(0);
    limits.quiet = std::chrono::milliseconds(150);
    limits.longestGap = std::chrono::milliseconds(500);
    int n = 0;
    const auto gapBefore = [&](Write_Batch& batch) {
        const auto before = std::chrono::steady_clock::now();
        batch.item(item(++n));  // a gap first: the stretch before it is over
        const auto gap = std::chrono::steady_clock::now() - before;
        EXPECT_TRUE(batch.commit());
        return gap;
    };
    const auto holding = [&](Write_Batch& batch, std::chrono::milliseconds hold) {
        batch.item([&, m = ++n](db::Connection& c) {
            item(m)(c);
            for (const auto until = std::chrono::steady_clock::now() + hold; std::chrono::steady_clock::now() < until;)
                c.openRecordset("select count(*) from Card_Info");  // work under the lock
        });
        EXPECT_TRUE(batch.commit());
    };
    // A gap of a new series after a short first batch: at least `least`, short of its longest.
    const auto shortGap = [&](std::chrono::milliseconds least) {
        Write_Batch batch(*writer, limits);
        holding(batch, std::chrono::milliseconds(0));
        const auto gap = gapBefore(batch);
        EXPECT_GE(gap, least);
        EXPECT_LT(gap, limits.longestGap);
    };
    shortGap(limits.quiet);
    const auto often = plainTill(20000);
    shortGap(2 * limits.quiet);
    const auto seldom = plainTill(700000, false, "T2", 991);
    {
        Write_Batch beside(*writer, limits);
        holding(beside, std::chrono::milliseconds(800));  // the slow till's next customer waits behind it
        EXPECT_GE(gapBefore(beside), limits.longestGap);
    }
    EXPECT_EQ(often->finish().failures, 0);
    EXPECT_EQ(seldom->finish().failures, 0);
    EXPECT_EQ(stored(), (test::Texts{"1", "2", "3", "4", "5", "6"}));
}

// The lock time of a stretch adds up over its batches, however short each
// is, and a gap starts the next stretch afresh: fifty batches of 2 ms in
// stretches of 30 ms leave a gap now and then, not after every batch. A
// series' first stretch, longer in WAL mode, leaves none there; on a
// rollback journal, where each commit is flushed, it is as long as the rest.
TEST_P(WriteBatchFile, AStretchAddsUpItsBatchesAndAGapStartsTheNext) {
    for (const bool wal : {false, true}) {
        SCOPED_TRACE(wal ? "wal" : "delete");
        onJournal(wal ? "wal" : "delete");
        Write_Batch::Limits limits;
        limits.items = 1;  // a batch of one item each
        limits.stretch = std::chrono::milliseconds(30);
        limits.firstStretch = std::chrono::hours(1);
        limits.quiet = std::chrono::milliseconds(1);
        int gaps = 0;
        db::listenToWrites([&gaps](db::Write_Event e) { gaps += e == db::Write_Event::Gap_Begun; });
        Write_Batch batch(*writer, limits);
        for (int n = 1; n <= 50; ++n) {
            batch.item([&](db::Connection& c) {
                item(n + (wal ? 100 : 0))(c);
                // Work under the lock that takes its time.
                for (const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(2);
                     std::chrono::steady_clock::now() < until;) {
                }
            });
            EXPECT_TRUE(batch.pause(false));
        }
        db::listenToWrites({});
        if (wal) {
            EXPECT_EQ(gaps, 0);
        } else {
            EXPECT_GE(gaps, 1);
            EXPECT_LE(gaps, 25);
        }
    }
}

// Beside a till of another maker booking at random about every 2 s, a long
// series on either journal lets it in within a second each time and goes on
// hardly slower than alone: its gaps, as long as the file stays quiet, cost
// it a fraction of the time it holds the lock.
TEST_P(WriteBatchFile, BesideATillBookingNowAndThenTheSeriesLetsItInAndGoesOn) {
    onMemoryFolder();
    for (const char* journal : {"wal", "delete"}) {
        SCOPED_TRACE(journal);
        onJournal(journal);
        const auto terminal = plainTill(2'000'000, true);

        using Clock = std::chrono::steady_clock;
        Clock::time_point locked, gap;
        Clock::duration held{}, gaps{};
        db::listenToWrites([&](db::Write_Event e) {
            const auto now = Clock::now();
            if (e == db::Write_Event::Locked) locked = now;
            if (e == db::Write_Event::Committed) held += now - locked;
            if (e == db::Write_Event::Gap_Begun) gap = now;
            if (e == db::Write_Event::Gap_Ended) gaps += now - gap;
        });
        {
            const Bulk_Writes bulk(*writer);
            Write_Batch batch(*writer, Write_Batch::Limits{});  // as a window's series runs
            batch.committing([&] {
                for (const auto until = Clock::now() + std::chrono::seconds(5); Clock::now() < until;) {
                    batch.item([](db::Connection& c) {
                        c.execute("with recursive r(i) as (select 1 union all select i+1 from r where i<300) insert "
                                  "into Record_XF(Mach_ID,Card_No,Date_Time) select 1,'S',hex(randomblob(40)) from r");
                    });
                    batch.pause(false);
                }
            });
        }
        db::listenToWrites({});
        const test::TerminalReport r = terminal->finish();
        EXPECT_EQ(r.failures, 0);
        EXPECT_LT(r.longestWaitMicros, 1'000'000);
        EXPECT_GT(held, std::chrono::seconds(2));
        EXPECT_LE(gaps, held / 2);
    }
}

// Beside a till of another maker booking as fast as the lock lets it, every
// hold of the lock is one short batch, the first too, with a gap after it:
// the till, which alone waits only for its own commits, never waits long.
TEST_P(WriteBatchFile, BesideATillBookingAllTheTimeEachHoldIsOneShortBatch) {
    onMemoryFolder();
    for (const char* journal : {"wal", "delete"}) {
        SCOPED_TRACE(journal);
        onJournal(journal);
        const auto terminal = plainTill(1000);

        using Clock = std::chrono::steady_clock;
        Clock::time_point locked;
        Clock::duration longest{};
        int holds = 0, gaps = 0;
        db::listenToWrites([&](db::Write_Event e) {
            if (e == db::Write_Event::Locked) locked = Clock::now();
            if (e == db::Write_Event::Committed) longest = std::max(longest, Clock::now() - locked), ++holds;
            gaps += e == db::Write_Event::Gap_Begun;
        });
        {
            Write_Batch batch(*writer, Write_Batch::Limits{});
            batch.committing([&] {
                for (const auto until = Clock::now() + std::chrono::milliseconds(1500); Clock::now() < until;) {
                    batch.item([](db::Connection& c) {
                        c.execute("insert into Record_XF(Mach_ID,Card_No) values(1,'S')");
                        for (const auto end = Clock::now() + std::chrono::milliseconds(20); Clock::now() < end;) {
                        }
                    });
                    batch.pause(false);
                }
            });
        }
        db::listenToWrites({});
        const test::TerminalReport r = terminal->finish();
        EXPECT_EQ(r.failures, 0);
        EXPECT_LT(longest, std::chrono::milliseconds(130));  // a batch's time alone is 150 ms
        EXPECT_GE(gaps, holds - 2);
        EXPECT_LT(r.longestWaitMicros, 500'000);
    }
}

// A window waiting on a file's commit takes its events meanwhile, on its own
// thread: each commit here goes on only once the window has been told twice.
// What the commit keeps or refuses is told as ever.
TEST_P(WriteBatchFile, AWindowWaitingOnACommitTakesItsEventsMeanwhile) {
    con->executeScript(
        "create table Batch_Parent(ID integer primary key); "
        "create table Batch_Child(Parent integer references Batch_Parent(ID) deferrable initially deferred);");
    writer->executeScript("PRAGMA foreign_keys=ON");
    const auto window = std::this_thread::get_id();
    std::atomic<int> toldMeanwhile{0}, elsewhere{0};
    std::atomic<bool> committing{false};
    db::listenToWrites([&](db::Write_Event e) {
        if (e != db::Write_Event::Committing) return;
        committing = true;
        const int from = toldMeanwhile;
        for (const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
             toldMeanwhile < from + 2 && std::chrono::steady_clock::now() < until;)
            std::this_thread::yield();
        committing = false;
    });
    Write_Batch batch(*writer, {100, std::chrono::hours(1), std::chrono::milliseconds(0)});
    batch.whileWaiting([&] {
        if (committing) ++toldMeanwhile;
        if (std::this_thread::get_id() != window) ++elsewhere;
    });
    batch.item(item(1), kept(1), lost(1));
    EXPECT_TRUE(batch.commit());
    batch.item(item(2), kept(2), lost(2));
    batch.item([this](db::Connection& c) { c.execute("insert into Batch_Child(Parent) values(404)"); }, kept(3),
               lost(3));
    EXPECT_FALSE(batch.commit());
    db::listenToWrites({});
    EXPECT_GE(toldMeanwhile, 4);
    EXPECT_EQ(elsewhere, 0);
    EXPECT_EQ(told, (std::vector<std::string>{"kept 1", "lost 2", "lost 3"}));
    EXPECT_EQ(stored(), (test::Texts{"1"}));
    EXPECT_FALSE(writer->inTransaction());
}
