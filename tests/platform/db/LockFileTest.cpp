// The file beside a database that carries a named lock (the settlement's):
// only a plain file of that one name is taken, one found keeps its mode, a
// session that may not write makes none, and a writer that cannot take it
// is told which file stops it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/db/DbError.h"
#include "support/Peer.h"
#include "support/TestDb.h"

using namespace tolvenk;
namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;  // may only read the database below
constexpr uid_t kOwner = 4242;    // owns it

// What taking the lock gave: "held", "busy", or "refused" with whether the
// message is told in a clerk's words, and the message.
std::string take(db::Connection& con) {
    try {
        return con.tryHoldLock("settlement") ? "held" : "busy";
    } catch (const db::DbError& e) {
        return std::string("refused ") + (e.told() ? "told " : "plain ") + e.what();
    }
}

// Takes the lock as another user.
TOLVENK_PEER_JOB(TakeLockAs) {
    const auto user = static_cast<uid_t>(std::stoul(peer.arg("uid")));
    if (::setgid(user) != 0 || ::setuid(user) != 0) {
        peer.report("nouser");
        return 0;
    }
    try {
        db::Connection con;
        con.open(peer.arg("db"));
        peer.report(take(con));
    } catch (const std::exception& e) {
        peer.report(std::string("not opened ") + e.what());
    }
    return 0;
}

mode_t modeOf(const std::string& path) {
    struct stat sb{};
    return ::lstat(path.c_str(), &sb) == 0 ? sb.st_mode & 07777 : 0;
}

std::string contentOf(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

// Whatever stands at the lock's name other than a plain file of its own is
// refused, naming it, and left as it is, and so is what it points to; a
// plain file found there is taken with its mode kept. No step was ever
// refused before: a link opened up its target to every writer (a dangling
// one made it), a named pipe was taken, and the database's own second name
// was opened, whose closing drops the engine's locks.
TEST(LockFile, OnlyAPlainFileOfItsOwnIsTakenAndNothingFoundChangesMode) {
    struct Case {
        const char* what;
        std::function<void(const std::string& lock, const std::string& other, const std::string& db)> make;
        bool taken;
    };
    const Case cases[] = {
        {"link to a file", [](auto& lock, auto& other, auto&) { fs::create_symlink(other, lock); }, false},
        {"dangling link",
         [](auto& lock, auto& other, auto&) {
             fs::remove(other);
             fs::create_symlink(other, lock);
         },
         false},
        {"second name of a file", [](auto& lock, auto& other, auto&) { fs::create_hard_link(other, lock); }, false},
        {"second name of the database", [](auto& lock, auto&, auto& db) { fs::create_hard_link(db, lock); }, false},
        {"named pipe", [](auto& lock, auto&, auto&) { ASSERT_EQ(::mkfifo(lock.c_str(), 0600), 0); }, false},
        {"folder", [](auto& lock, auto&, auto&) { fs::create_directory(lock); }, false},
        {"plain file", [](auto& lock, auto&, auto&) { std::ofstream(lock) << "someone's"; ::chmod(lock.c_str(), 0600); },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        const std::string db = dir.file("b.mdb"), lock = db + "-settlement.lock", other = dir.file("secret");
        const std::string cs = test::createBusinessDb(db);
        ::chmod(db.c_str(), 0664);
        std::ofstream(other) << "root's";
        ::chmod(other.c_str(), 0600);
        c.make(lock, other, db);
        const mode_t lockMode = modeOf(lock);
        const bool otherThere = fs::exists(other);
        auto con = test::connect(cs);
        const std::string got = take(*con);
        if (c.taken) {
            EXPECT_EQ(got, "held");
        } else {
            EXPECT_EQ(got.rfind("refused told ", 0), 0u) << got;
            EXPECT_NE(got.find("'" + lock + "'"), std::string::npos) << got;
            EXPECT_NE(got.find("link or not a plain file"), std::string::npos) << got;
        }
        EXPECT_EQ(modeOf(lock), lockMode);
        EXPECT_EQ(fs::exists(other), otherThere);  // a dangling link made nothing where it points
        if (otherThere) {
            EXPECT_EQ(modeOf(other), 0600u);
            EXPECT_EQ(contentOf(other), "root's");
        }
        EXPECT_EQ(modeOf(db), 0664u);
        EXPECT_EQ(test::number(*con, "select count(*) from Sys_Log"), 0);  // the database still reads
    }
}

// A database in a shared folder (sticky, as /tmp) that one user owns and
// another may only read. The reader's settlement is refused as read-only and
// leaves no lock file: before, the file it made was its own and kept the
// owner out. A lock file the owner cannot open names itself.
TEST(LockFile, AReaderMakesNoLockFileAndAWriterIsToldWhichFileStopsIt) {
    test::TempDir dir;
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    const fs::path shared = dir.path() / "shared";
    fs::create_directory(shared);
    fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
    const std::string db = (shared / "b.mdb").string(), lock = db + "-settlement.lock";
    const std::string cs = test::createBusinessDb(db);
    ASSERT_EQ(::chown(db.c_str(), kOwner, kOwner), 0);
    ::chmod(db.c_str(), 0664);
    // Kept open, so that the engine's shared files are there, the owner's:
    // none made by the reader keeps the owner from writing.
    const auto open = test::connect(cs);
    test::number(*open, "select count(*) from Sys_Log");
    for (const char* tail : {"-wal", "-shm"}) {
        if (fs::exists(db + tail)) {
            ASSERT_EQ(::chown((db + tail).c_str(), kOwner, kOwner), 0);
        }
    }
    const auto takeAs = [&](uid_t user) {
        test::Peer p("TakeLockAs", {{"db", cs}, {"uid", std::to_string(user)}});
        const std::string line = p.readLine();
        p.wait();
        return line;
    };

    const std::string reader = takeAs(kNobody);
    if (reader == "nouser") GTEST_SKIP() << "no other user to run as";
    EXPECT_EQ(reader.rfind("refused told ", 0), 0u) << reader;
    EXPECT_NE(reader.find("read-only"), std::string::npos) << reader;
    EXPECT_FALSE(fs::exists(fs::symlink_status(lock)));
    EXPECT_EQ(takeAs(kOwner), "held");
    EXPECT_EQ(modeOf(lock), 0664u);  // made by the owner: the database's mode

    // Left by an administrator's run with the mode it had then.
    ASSERT_EQ(::chown(lock.c_str(), 0, 0), 0);
    ::chmod(lock.c_str(), 0644);
    const std::string stopped = takeAs(kOwner);
    EXPECT_EQ(stopped.rfind("refused told ", 0), 0u) << stopped;
    EXPECT_NE(stopped.find("'" + lock + "'"), std::string::npos) << stopped;
    EXPECT_NE(stopped.find("cannot be opened for writing"), std::string::npos) << stopped;
    EXPECT_EQ(modeOf(lock), 0644u);
}

// A session that may not write takes no lock file either when one is there
// already (left by an earlier settlement): it is refused as read-only,
// leaves the file as it was, and holds nothing that would keep a writer out.
// Read-only for the database's own mode or for its folder's.
TEST(LockFile, AReadOnlySessionTakesNoLockFileFoundThere) {
    for (const bool folder : {false, true}) {
        SCOPED_TRACE(folder ? "folder not writable" : "database not writable");
        test::TempDir dir;
        const fs::path data = dir.path() / "data";
        fs::create_directory(data);
        const std::string db = (data / "b.mdb").string(), lock = db + "-settlement.lock";
        const std::string cs = test::createBusinessDb(db);
        ::chmod(db.c_str(), 0666);
        {
            auto earlier = test::connect(cs);
            ASSERT_EQ(take(*earlier), "held");
        }
        ASSERT_TRUE(fs::is_regular_file(fs::symlink_status(lock)));
        const mode_t lockMode = modeOf(lock);
        ASSERT_EQ(lockMode, 0666u);  // anyone could open it for writing

        if (folder) ::chmod(data.c_str(), 0555);
        else ::chmod(db.c_str(), 0444);
        auto reader = test::connect(cs);
        const std::string got = take(*reader);
        EXPECT_EQ(got.rfind("refused told ", 0), 0u) << got;
        EXPECT_NE(got.find("read-only"), std::string::npos) << got;
        EXPECT_EQ(modeOf(lock), lockMode);
        EXPECT_EQ(test::number(*reader, "select count(*) from Sys_Log"), 0);  // it still reads

        ::chmod(data.c_str(), 0755);
        ::chmod(db.c_str(), 0666);
        auto writer = test::connect(cs);
        EXPECT_EQ(take(*writer), "held");  // the reader, still open, holds nothing
    }
}
