#include "platform/db/WriteTurns.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <time.h>

#include <cstring>

namespace tolvenk::db {

namespace {

// Past the bytes the engine locks (512 from 1 GiB on), on the page it never
// uses for data.
constexpr off_t kWaitingByte = 0x40000000 + 1024;

// The unix file system layer's file object begins so; its descriptor is
// taken only once it is checked to be the file's.
struct UnixFileHead {
    const sqlite3_io_methods* methods;
    sqlite3_vfs* vfs;
    void* inode;
    int fd;
};

int engineDescriptor(sqlite3* db, unsigned long long device, unsigned long long inode) {
    sqlite3_vfs* vfs = nullptr;
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_VFS_POINTER, &vfs) != SQLITE_OK || !vfs || !vfs->zName ||
        std::strncmp(vfs->zName, "unix", 4) != 0)
        return -1;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file || !file->pMethods)
        return -1;
    const int fd = reinterpret_cast<const UnixFileHead*>(file)->fd;
    struct stat sb{};
    if (fd < 0 || ::fstat(fd, &sb) != 0 || !S_ISREG(sb.st_mode) || sb.st_dev != device || sb.st_ino != inode)
        return -1;
    return fd;
}

struct flock waitingByte(short type) {
    struct flock l{};
    l.l_type = type;
    l.l_whence = SEEK_SET;
    l.l_start = kWaitingByte;
    l.l_len = 1;
    return l;
}

void pause(long micros) {
    timespec ts{0, micros * 1000};
    ::nanosleep(&ts, nullptr);
}

}  // namespace

WriteTurns::WriteTurns(sqlite3* db, unsigned long long device, unsigned long long inode)
    : fd_(engineDescriptor(db, device, inode)) {}

WriteTurns::~WriteTurns() { unmarkWaiting(); }

void WriteTurns::markWaiting() {
    if (fd_ < 0 || marked_) return;
    struct flock l = waitingByte(F_RDLCK);
    marked_ = ::fcntl(fd_, F_OFD_SETLK, &l) == 0;
}

void WriteTurns::unmarkWaiting() {
    if (fd_ < 0 || !marked_) return;
    struct flock l = waitingByte(F_UNLCK);
    ::fcntl(fd_, F_OFD_SETLK, &l);
    marked_ = false;
}

// A write lock on the byte would conflict with any mark but this
// descriptor's own.
bool WriteTurns::othersWaiting() const {
    if (fd_ < 0) return false;
    struct flock l = waitingByte(F_WRLCK);
    return ::fcntl(fd_, F_OFD_GETLK, &l) == 0 && l.l_type != F_UNLCK;
}

void WriteTurns::letWaitingGoFirst(std::chrono::milliseconds most) const {
    if (!othersWaiting()) return;
    const auto until = std::chrono::steady_clock::now() + most;
    do pause(250);
    while (othersWaiting() && std::chrono::steady_clock::now() < until);
}

}  // namespace tolvenk::db
