// The one benchmark's kit: a window that writes gets a copy it may change
// without touching the database under test, on either engine, and the copy
// goes when dropped; the table gives each window its ratio to its baseline.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "bench/BenchKit.h"
#include "platform/db/Connection.h"
#include "support/TestDb.h"

using namespace tolvenk;

namespace {

long count(const std::string& connection, const std::string& sql) {
    return static_cast<long>(test::connect(connection)->openRecordset(sql)->field(0).toInt64());
}

class BenchCopies : public ::testing::TestWithParam<test::Engine> {};

}  // namespace

TEST_P(BenchCopies, ACopyTakesWritesTheOriginalNeverSeesAndGoesWhenDropped) {
    if (GetParam() == test::Engine::Server)
        if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
    test::BusinessDb db(GetParam());
    test::TempDir dir;
    bench::Target original;
    original.server = GetParam() == test::Engine::Server;
    original.connection = db.connectionString();
    original.folder = dir.path().string();
    test::connect(original.connection)
        ->execute("insert into Record_XF(Pinfo_id,YuE_Change,Date_Time) values (1,-500,'2026-10-01 08:00:00')");

    const bench::Target copy = original.copy("w");
    ASSERT_NE(copy.connection, original.connection);
    EXPECT_EQ(count(copy.connection, "select count(*) from Record_XF"), 1);
    test::connect(copy.connection)->execute("delete from Record_XF");
    EXPECT_EQ(count(copy.connection, "select count(*) from Record_XF"), 0);
    copy.drop();

    EXPECT_EQ(count(original.connection, "select count(*) from Record_XF"), 1);
    if (original.server)
        EXPECT_EQ(count(original.connection,
                        "select count(*) from pg_database where lower(datname)=lower('" + db.databaseName() + "_w')"),
                  0);
    else
        EXPECT_FALSE(std::filesystem::exists(dir.file("copy-w.mdb")));
}

INSTANTIATE_TEST_SUITE_P(Engines, BenchCopies, ::testing::Values(test::Engine::File, test::Engine::Server),
                         [](const ::testing::TestParamInfo<test::Engine>& info) { return test::engineName(info.param); });

TEST(BenchTable, GivesEachWindowItsRatioToItsBaselineAndNoneWithoutOne) {
    bench::Table t;
    t.add({"7044", "meal orders", 31, 3.0, 1.5, "<= 3", ""});
    t.add({"7034", "export", 10, 2.0, 0, "< 10 s", "written"});
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    t.print(out);
    std::fclose(out);
    const std::string table(text, size);
    std::free(text);
    EXPECT_NE(table.find("| 7044 | meal orders | 31 | 3.000 | 1.500 | 2.00 | <= 3 |  |\n"), std::string::npos) << table;
    EXPECT_NE(table.find("| 7034 | export | 10 | 2.000 |  |  | < 10 s | written |\n"), std::string::npos) << table;
}
