// Opening files that belong to the installation: they are read as they are,
// never converted, created or written behind the user's back.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/db/Activation.h"
#include "platform/db/DbError.h"
#include "support/TestDb.h"

using namespace tolvenk;
namespace fs = std::filesystem;

namespace {

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The message of the DbError the call throws; "" when it does not throw.
template <class F>
std::string errorOf(F&& f) {
    try {
        f();
    } catch (const db::DbError& e) {
        return e.what();
    }
    return "";
}

bool mentions(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A business file in the classic rollback-journal mode with one log row.
std::string journalFile(const test::TempDir& dir, const std::string& name = "b.mdb") {
    const std::string cs = test::createBusinessDb(dir.file(name));
    auto con = test::connect(cs);
    con->executeScript("PRAGMA journal_mode=DELETE");
    con->execute("insert into Sys_Log(Operator_ID,Op_Object) values(1,'kept')");
    return dir.file(name);
}

}  // namespace

TEST(FileDatabase, EmptyAndForeignFilesAreRefusedAndLeftAsTheyAre) {
    test::TempDir dir;
    const std::string empty = dir.file("empty.mdb");
    std::ofstream(empty).close();
    const std::string junk = dir.file("junk.mdb");
    std::ofstream(junk) << "this is not a database file at all, just some text that is long enough.";
    const std::string tiny = dir.file("tiny.mdb");
    std::ofstream(tiny) << "SQL";
    for (const std::string& path : {empty, junk, tiny}) {
        const std::string before = bytesOf(path);
        db::Connection con;
        const std::string err = errorOf([&] { con.open(db::Connection::fileConnectionString(path)); });
        EXPECT_TRUE(mentions(err, path) && mentions(err, "not a database")) << err;
        EXPECT_FALSE(con.isOpen());
        EXPECT_EQ(bytesOf(path), before);
        EXPECT_FALSE(fs::exists(path + "-wal") || fs::exists(path + "-journal"));
    }
}

TEST(FileDatabase, JournalModeIsKeptAndReadingChangesNoByte) {
    test::TempDir dir;
    const std::string path = journalFile(dir);
    const std::string before = bytesOf(path);
    {
        auto con = test::connect(db::Connection::fileConnectionString(path));
        EXPECT_EQ(con->openRecordset("select Op_Object from Sys_Log")->field(0).toString(), "kept");
        EXPECT_EQ(con->openRecordset("PRAGMA journal_mode")->field(0).toString(), "delete");
    }
    EXPECT_EQ(bytesOf(path), before);
}

TEST(FileDatabase, ReadOnlyFileOrFolderIsReadButNeverWritten) {
    test::TempDir dir;
    fs::create_directory(dir.path() / "ro");
    const std::string inFolder = journalFile(dir, "ro/b.mdb");
    const std::string walInFolder = dir.file("ro/w.mdb");
    test::connect(test::createBusinessDb(walInFolder))
        ->execute("insert into Sys_Log(Operator_ID,Op_Object) values(1,'kept')");
    const std::string file = journalFile(dir, "f.mdb");
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(dir.path() / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    for (const std::string& path : {file, inFolder, walInFolder}) {
        const std::string before = bytesOf(path);
        auto con = test::connect(db::Connection::fileConnectionString(path));
        EXPECT_EQ(con->openRecordset("select Op_Object from Sys_Log")->field(0).toString(), "kept");
        const std::string err =
            errorOf([&] { con->execute("insert into Sys_Log(Operator_ID,Op_Object) values(2,'lost')"); });
        EXPECT_TRUE(mentions(err, path) && mentions(err, "read-only")) << err;
        // A transaction reads fine; its write is refused the same way.
        con->beginTrans();
        EXPECT_TRUE(mentions(errorOf([&] { con->execute("delete from Sys_Log"); }), "read-only"));
        con->rollbackTrans();
        EXPECT_EQ(bytesOf(path), before);
    }
    fs::permissions(dir.path() / "ro", fs::perms::owner_all);
}

// A window keeps its connection while the office restores a backup over the
// file or deletes it: nothing may be written into a file it did not open.
TEST(FileDatabase, AFileReplacedOrDeletedUnderAnOpenConnectionIsNeverWritten) {
    test::TempDir dir;
    const std::string path = dir.file("b.mdb");
    test::connect(test::createBusinessDb(path))  // WAL, as the demo's files are
        ->execute("insert into Sys_Log(Operator_ID,Op_Object) values(1,'old')");
    auto con = test::connect(db::Connection::fileConnectionString(path));
    EXPECT_EQ(con->openRecordset("select count(*) from Sys_Log")->field(0).toInt64(), 1);

    // The backup: a file of its own with two rows, renamed over the open one.
    const std::string backup = dir.file("backup.mdb");
    {
        auto b = test::connect(test::createBusinessDb(backup));
        b->executeScript("PRAGMA journal_mode=DELETE");
        b->execute("insert into Sys_Log(Operator_ID,Op_Object) values(5,'a'),(6,'b')");
    }
    fs::rename(backup, path);
    const std::string restored = bytesOf(path);

    // Reads until the window is activated again see the file it opened.
    EXPECT_EQ(con->openRecordset("select count(*) from Sys_Log")->field(0).toInt64(), 1);
    std::string err = errorOf([&] { con->execute("insert into Sys_Log(Operator_ID,Op_Object) values(2,'x')"); });
    EXPECT_TRUE(mentions(err, path) && mentions(err, "replaced")) << err;
    EXPECT_TRUE(mentions(errorOf([&] { con->beginTrans(); }), "replaced"));
    EXPECT_EQ(bytesOf(path), restored);
    {
        auto fresh = test::connect(db::Connection::fileConnectionString(path));
        EXPECT_EQ(fresh->openRecordset("PRAGMA integrity_check")->field(0).toString(), "ok");
        EXPECT_EQ(fresh->openRecordset("select count(*) from Sys_Log")->field(0).toInt64(), 2);
    }

    // A second connection, opened before the file goes, finds it gone on its first
    // read after an activation.
    auto other = test::connect(db::Connection::fileConnectionString(path));
    fs::remove(path);
    db::noteWindowActivated();
    err = errorOf([&] { other->openRecordset("select count(*) from Sys_Log"); });
    EXPECT_TRUE(mentions(err, path) && mentions(err, "no longer there")) << err;
    EXPECT_TRUE(mentions(errorOf([&] { other->execute("delete from Sys_Log"); }), "no longer there"));
    EXPECT_FALSE(fs::exists(path));
}
