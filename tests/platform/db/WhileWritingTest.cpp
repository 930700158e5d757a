// A write statement on a file may wait for the disk or for another writer:
// asked from the thread that set a function to tell meanwhile, it runs on a
// thread of its own while that function is told every few milliseconds on
// the asking thread, and once after it; asked from any other thread it runs
// as it always did.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/db/DbError.h"
#include "support/TestDb.h"

using namespace tolvenk;

TEST(WhileWriting, AWriteWaitingForTheLockTellsItsThreadAndAnyOtherThreadsStatementDoesNot) {
    test::TempDir dir;
    const std::string cs = test::createBusinessDb(dir.file("w.mdb"));
    auto run = test::connect(cs), other = test::connect(cs);
    const auto asker = std::this_thread::get_id();
    int told = 0, elsewhere = 0;
    run->whileWriting([&] {
        ++(std::this_thread::get_id() == asker ? told : elsewhere);
        // The other writer lets go only once the run was told a few times.
        if (told == 3 && other->inTransaction()) other->commitTrans();
    });

    other->beginWriteTrans();
    run->execute("insert into Sys_Log(Operator_ID,Op_Object) values(1,'asked here')");
    EXPECT_EQ(told, 4);

    other->beginWriteTrans();
    std::thread away([&] { run->execute("insert into Sys_Log(Operator_ID,Op_Object) values(2,'asked away')"); });
    while (!other->othersWaitToWrite()) std::this_thread::yield();
    other->commitTrans();
    away.join();
    EXPECT_EQ(told, 4);
    EXPECT_EQ(elsewhere, 0);

    // A failed statement says so as before.
    const auto id = test::text(*run, "select max(ID) from Sys_Log");
    EXPECT_THROW(run->execute("insert into Sys_Log(ID,Operator_ID) values(" + id + ",3)"), db::DbError);
    run->whileWriting({});
    EXPECT_EQ(test::number(*run, "select count(*) from Sys_Log where Op_Object in ('asked here','asked away')"), 2);
}
