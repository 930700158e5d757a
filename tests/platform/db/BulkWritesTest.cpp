// A long series of write transactions (the settlement's): other sessions see
// each commit at once; alone, the series leaves its pages in the WAL until it
// ends; once a terminal process has waited behind it, the series copies its
// pages back after each commit (else the terminal's commits past the WAL's
// 1000 pages would copy them, and it would wait for the series' work); and
// the session's own settings are as they were.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <thread>

#include "support/TestDb.h"
#include "support/Terminal.h"

using namespace tolvenk;

namespace {

const auto settingsOf = [](db::Connection& c) {
    return test::text(c, "PRAGMA synchronous") + " " + test::text(c, "PRAGMA cache_size") + " " +
           test::text(c, "PRAGMA wal_autocheckpoint");
};

// A commit of a series, copied back after it as a batch's is.
void pageCommit(db::Connection& c, int i) {
    c.beginWriteTrans();
    c.execute("insert into Sys_Log(Operator_ID,Op_Object) values(?,?)", {i, std::string(3000, 'p')});
    c.commitTrans();
    c.copyBack();
}

}  // namespace

TEST(BulkWrites, CommitsAreSeenAtOnceAndTheFileTakesThemBackAtTheEnd) {
    test::TempDir dir;
    const std::string path = dir.file("b.mdb");
    const std::string cs = test::createBusinessDb(path);
    auto writer = test::connect(cs), reader = test::connect(cs);
    const std::string usual = settingsOf(*writer);
    reader->execute("insert into Sys_Log(Operator_ID,Op_Object) values(1,'first')");
    const auto size = std::filesystem::file_size(path);

    writer->setBulkWrites(true);
    for (int i = 0; i < 1500; ++i) {
        writer->beginWriteTrans();
        writer->execute("insert into Sys_Log(Operator_ID,Op_Object) values(?,'series')", {i});
        writer->commitTrans();
    }
    EXPECT_EQ(test::number(*reader, "select count(*) from Sys_Log where Op_Object='series'"), 1500);
    EXPECT_EQ(std::filesystem::file_size(path), size);  // past 1000 pages of WAL, still not copied back

    writer->setBulkWrites(false);
    EXPECT_GT(std::filesystem::file_size(path), size);
    EXPECT_EQ(settingsOf(*writer), usual);
    EXPECT_EQ(test::number(*reader, "select count(*) from Sys_Log"), 1501);
}

TEST(BulkWrites, OnceATerminalWaitedTheSeriesCopiesEachCommitBack) {
    test::TempDir dir;
    const std::string path = dir.file("b.mdb");
    const std::string cs = test::createBusinessDb(path);
    auto writer = test::connect(cs);
    writer->execute("insert into Card_Info(Pinfo_id,Card_No,Card_No_Lng,C_LeiBie,C_YuE_ID) values(1,'T1',1,1,0)");
    const std::string usual = settingsOf(*writer);

    writer->setBulkWrites(true);
    writer->beginWriteTrans();
    writer->execute("insert into Sys_Log(Operator_ID,Op_Object) values(1,'held')");
    test::Terminal terminal(cs, {"T1", 990, 0, false, "2026-12-01 08:00:00"});
    while (!writer->othersWaitToWrite()) std::this_thread::yield();
    writer->commitTrans();
    terminal.waitForCommits(1);
    const test::TerminalReport r = terminal.finish();
    EXPECT_EQ(r.failures, 0);

    // Five commits, far from the WAL's 1000 pages: the file holds them already,
    // each flushed as the session's own setting has it.
    const auto size = std::filesystem::file_size(path);
    for (int i = 0; i < 5; ++i) pageCommit(*writer, i);
    writer->copyBackAll({});  // copied on a thread of its own: its end waited for
    EXPECT_GE(std::filesystem::file_size(path), size + 5 * 3000);
    EXPECT_EQ(test::text(*writer, "PRAGMA synchronous"), usual.substr(0, usual.find(' ')));

    writer->setBulkWrites(false);
    EXPECT_EQ(settingsOf(*writer), usual);
}

// A till of another make marks no wait on the file, but its commits are seen:
// the series then copies each of its own commits back too, or the till's
// next commit past the WAL's 1000 pages would do it, every other till
// waiting meanwhile. The series' own commits are not another's.
TEST(BulkWrites, ATillOfAnotherMakeSeenCommittingHasTheSeriesCopyEachCommitBack) {
    test::TempDir dir;
    const std::string path = dir.file("b.mdb");
    const std::string cs = test::createBusinessDb(path);
    auto writer = test::connect(cs);
    writer->setBulkWrites(true);
    writer->othersWrote();  // counts from here
    pageCommit(*writer, 0);
    EXPECT_FALSE(writer->othersWrote());

    sqlite3* till = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &till, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    sqlite3_busy_timeout(till, 60000);
    EXPECT_EQ(sqlite3_exec(till, "insert into Sys_Log(Operator_ID,Op_Object) values(9,'till')", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(till);
    EXPECT_TRUE(writer->othersWrote());

    const auto size = std::filesystem::file_size(path);
    for (int i = 1; i <= 5; ++i) pageCommit(*writer, i);
    writer->copyBackAll({});
    EXPECT_GE(std::filesystem::file_size(path), size + 5 * 3000);
    writer->setBulkWrites(false);
}

// A series flushes its commits one by one only where a crash could undo
// them whole and no more: in WAL mode. With a rollback journal each commit
// keeps the session's own flushing, or a power cut could damage the file;
// also once it shares its commits with another writer.
TEST(BulkWrites, OnlyAWalSeriesPutsOffItsFlushes) {
    for (const auto& [journal, during] : {std::pair{"wal", "1"}, std::pair{"delete", "2"}}) {
        SCOPED_TRACE(journal);
        test::TempDir dir;
        const std::string path = dir.file("b.mdb");
        const std::string cs = test::createBusinessDb(path);
        auto writer = test::connect(cs);
        writer->executeScript(std::string("PRAGMA journal_mode=") + journal + "; PRAGMA synchronous=FULL");
        writer->setBulkWrites(true);
        writer->othersWrote();  // counts from here
        pageCommit(*writer, 1);
        EXPECT_EQ(test::text(*writer, "PRAGMA synchronous"), during);
        auto other = test::connect(cs);
        other->execute("insert into Sys_Log(Operator_ID,Op_Object) values(9,'till')");
        EXPECT_TRUE(writer->othersWrote());
        pageCommit(*writer, 2);
        EXPECT_EQ(test::text(*writer, "PRAGMA synchronous"), "2");
        writer->setBulkWrites(false);
        EXPECT_EQ(test::text(*writer, "PRAGMA synchronous"), "2");
    }
}
