// tolvenk-bench-busy: one process of the load `tolvenk-bench --busy` puts on
// the machine, nothing of the module in it.
//   tolvenk-bench-busy spin PARENT           a busy loop
//   tolvenk-bench-busy write FOLDER PARENT   1 MiB blocks written with O_DIRECT
//                                            over a 256 MiB file, fdatasync every 16
// Either dies with its parent (PARENT, the bench's pid), however that ends.
#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t kBlock = 1 << 20;
constexpr long kBlocks = 256;
constexpr long kSyncEvery = 16;

[[noreturn]] void spin() {
    volatile unsigned long turns = 0;
    for (;;) turns = turns + 1;
}

[[noreturn]] void write(const std::string& folder) {
    std::string path = folder + "/tolvenk-bench-busy-XXXXXX";
    const int made = ::mkstemp(path.data());
    if (made < 0) {
        std::fprintf(stderr, "tolvenk-bench-busy: no file in %s: %s\n", folder.c_str(), std::strerror(errno));
        std::exit(1);
    }
    ::close(made);
    const int fd = ::open(path.c_str(), O_WRONLY | O_DIRECT);
    // Gone from the folder at once: a killed writer leaves nothing behind.
    ::unlink(path.c_str());
    if (fd < 0) {
        std::fprintf(stderr, "tolvenk-bench-busy: no direct I/O in %s: %s\n", folder.c_str(), std::strerror(errno));
        std::exit(1);
    }
    void* block = nullptr;
    if (::posix_memalign(&block, 4096, kBlock) != 0) std::exit(1);
    std::memset(block, 0x5a, kBlock);
    for (long n = 0;; ++n) {
        const off_t at = static_cast<off_t>(n % kBlocks) * static_cast<off_t>(kBlock);
        if (::pwrite(fd, block, kBlock, at) != static_cast<ssize_t>(kBlock)) {
            std::fprintf(stderr, "tolvenk-bench-busy: write failed: %s\n", std::strerror(errno));
            std::exit(1);
        }
        if (n % kSyncEvery == kSyncEvery - 1) ::fdatasync(fd);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    const int parentArg = what == "write" ? 3 : 2;
    if ((what != "spin" && what != "write") || argc != parentArg + 1) {
        std::fputs("usage: tolvenk-bench-busy spin PARENT | write FOLDER PARENT\n", stderr);
        return 2;
    }
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The parent may have gone before the line above.
    if (::getppid() != std::atoi(argv[parentArg])) return 0;
    if (what == "spin") spin();
    write(argv[2]);
}
