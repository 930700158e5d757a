// A WAL file read where nothing may be written (a read-only folder or
// medium): every committed row is read, or the file is refused saying why;
// never a part of it shown as if it were all.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>

#include "platform/db/DbError.h"
#include "support/Peer.h"
#include "support/TestDb.h"

using namespace tolvenk;
namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;

// Commits rows and ends without closing, as a killed writer does: the rows
// stay in the -wal file, not yet copied into the database file.
TOLVENK_PEER_JOB(LeaveRowsInWal) {
    db::Connection con;
    con.open(peer.arg("db"));
    con.executeScript("PRAGMA wal_autocheckpoint=0");
    con.beginTrans();
    for (int i = 0; i < 77; ++i) con.execute("insert into Sys_Log(Operator_ID,Op_Object) values(2,'in wal')");
    con.commitTrans();
    peer.report("done");
    ::_exit(0);  // the connection is never closed
}

// Counts Sys_Log as a user who may not write the folder (the administrator's
// account writes anywhere), optionally on a read-only view of the folder.
TOLVENK_PEER_JOB(CountReadOnly) {
    if (peer.arg("medium", "") == "ro") {
        const std::string folder = peer.arg("folder");
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
            ::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
            peer.report("nomount");
            return 0;
        }
    }
    if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
        peer.report("nouser");
        return 0;
    }
    try {
        db::Connection con;
        con.open(peer.arg("db"));
        peer.report("count " + con.openRecordset("select count(*) from Sys_Log")->field(0).toString());
    } catch (const db::DbError& e) {
        peer.report(std::string("refused ") + e.what());
    }
    return 0;
}

// What the -wal and -shm files hold when the folder becomes read-only.
enum class Left { WalAndShm, WalWithoutShm, Nothing };

struct WalCase {
    test::TempDir dir;
    std::string path, cs;
    explicit WalCase(Left left = Left::WalAndShm) {
        fs::create_directory(dir.path() / "ro");
        path = dir.file("ro/w.mdb");
        cs = test::createBusinessDb(path);
        test::connect(cs)->execute("insert into Sys_Log(Operator_ID,Op_Object) values(1,'in file')");
        test::Peer writer("LeaveRowsInWal", {{"db", cs}});
        writer.waitFor("done");
        writer.wait();
        if (left == Left::WalWithoutShm) fs::remove(path + "-shm");
        if (left == Left::Nothing) {
            test::connect(cs)->executeScript("PRAGMA wal_checkpoint(TRUNCATE)");
            fs::remove(path + "-wal");
            fs::remove(path + "-shm");
        }
        fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
        fs::permissions(dir.path() / "ro", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                               fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
        for (const char* suffix : {"", "-wal", "-shm"})
            if (fs::exists(path + suffix))
                fs::permissions(path + suffix,
                                fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
    ~WalCase() { fs::permissions(dir.path() / "ro", fs::perms::owner_all); }

    std::string countReadOnly(const std::string& medium = "") {
        test::Peer reader("CountReadOnly", {{"db", cs}, {"folder", (dir.path() / "ro").string()}, {"medium", medium}});
        const std::string line = reader.readLine();
        reader.wait();
        return line;
    }
};

}  // namespace

TEST(ReadOnlyWal, CommittedRowsInTheWalAreReadWhereTheEngineCanShareThem) {
    WalCase c;
    ASSERT_TRUE(fs::exists(c.path + "-wal") && fs::exists(c.path + "-shm"));
    const std::string got = c.countReadOnly();
    if (got == "nouser") GTEST_SKIP() << "no unprivileged user to read as";
    EXPECT_EQ(got, "count 78");
}

TEST(ReadOnlyWal, AWalWhoseRowsCannotBeReadIsRefusedNamingTheFile) {
    WalCase c(Left::WalWithoutShm);
    const std::string got = c.countReadOnly();
    if (got == "nouser") GTEST_SKIP() << "no unprivileged user to read as";
    EXPECT_EQ(got.rfind("refused", 0), 0u) << got;  // never "count 1"
    EXPECT_NE(got.find(c.path + "-wal"), std::string::npos) << got;
    EXPECT_NE(got.find("not yet in the file"), std::string::npos) << got;
}

// On a medium nobody can write, a WAL file with nothing waiting in its -wal
// holds every committed row in the file itself: it is read.
TEST(ReadOnlyWal, AFinishedWalFileOnAReadOnlyMediumIsRead) {
    WalCase c(Left::Nothing);
    const std::string got = c.countReadOnly("ro");
    if (got == "nomount" || got == "nouser") GTEST_SKIP() << "cannot make a read-only view of a folder here";
    EXPECT_EQ(got, "count 78");
    // The same file in a folder that is only read-only to this user may still
    // be written by others: it is refused rather than read unlocked.
    const std::string plain = c.countReadOnly();
    EXPECT_EQ(plain.rfind("refused", 0), 0u) << plain;
}
