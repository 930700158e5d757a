// A long series of write transactions (the settlement's one per card): other
// sessions see each commit at once, the series itself copies its pages back
// from the WAL into the file after each commit (left to the WAL's 1000 pages,
// the copy would fall to a terminal committing past them, which would then
// wait for the series' work), and the session's own settings are as they were.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/TestDb.h"

using namespace tolvenk;

TEST(BulkWrites, CommitsAreSeenAtOnceAndTheFileTakesThemBackAtTheEnd) {
    test::TempDir dir;
    const std::string path = dir.file("b.mdb");
    const std::string cs = test::createBusinessDb(path);
    auto writer = test::connect(cs), reader = test::connect(cs);
    const auto settings = [&] {
        return test::text(*writer, "PRAGMA synchronous") + " " + test::text(*writer, "PRAGMA cache_size") + " " +
               test::text(*writer, "PRAGMA wal_autocheckpoint");
    };
    const std::string usual = settings();
    reader->execute("insert into Sys_Log(Operator_ID,Op_Object) values(1,'first')");
    const auto size = std::filesystem::file_size(path);

    writer->setBulkWrites(true);
    // Five commits of a page each, far from the WAL's 1000 pages: the file
    // holds them already.
    for (int i = 0; i < 5; ++i) {
        writer->beginWriteTrans();
        writer->execute("insert into Sys_Log(Operator_ID,Op_Object) values(?,?)", {i, std::string(3000, 'p')});
        writer->commitTrans();
    }
    EXPECT_GE(std::filesystem::file_size(path), size + 5 * 3000);
    for (int i = 0; i < 1500; ++i) {
        writer->beginWriteTrans();
        writer->execute("insert into Sys_Log(Operator_ID,Op_Object) values(?,'series')", {i});
        writer->commitTrans();
    }
    EXPECT_EQ(test::number(*reader, "select count(*) from Sys_Log where Op_Object='series'"), 1500);

    writer->setBulkWrites(false);
    EXPECT_EQ(settings(), usual);
    EXPECT_EQ(test::number(*reader, "select count(*) from Sys_Log"), 1506);
}
