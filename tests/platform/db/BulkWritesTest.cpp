// A long series of write transactions (the settlement's one per card): other
// sessions see each commit at once, the series itself copies the WAL's pages
// back into the file past 1000 of them (left to grow, the WAL would be copied
// back by the first terminal to commit past it, which would then wait for the
// series' work), and the session's own settings are as they were.
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
        return test::text(*writer, "PRAGMA synchronous") + " " + test::text(*writer, "PRAGMA cache_size");
    };
    const std::string usual = settings();
    reader->execute("insert into Sys_Log(Operator_ID,Op_Object) values(1,'first')");
    const auto size = std::filesystem::file_size(path);

    writer->setBulkWrites(true);
    for (int i = 0; i < 1500; ++i) {
        writer->beginWriteTrans();
        writer->execute("insert into Sys_Log(Operator_ID,Op_Object) values(?,'series')", {i});
        writer->commitTrans();
    }
    EXPECT_EQ(test::number(*reader, "select count(*) from Sys_Log where Op_Object='series'"), 1500);
    EXPECT_GT(std::filesystem::file_size(path), size);  // past 1000 pages of WAL, copied back already

    writer->setBulkWrites(false);
    EXPECT_EQ(settings(), usual);
    EXPECT_EQ(test::number(*reader, "select count(*) from Sys_Log"), 1501);
}
