#include "platform/grid/PageSender.h"

#include <fcntl.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace tolvenk::grid {

struct Page_Sender::Shared {
    std::mutex m;
    std::condition_variable wake;
    std::uint64_t written = 0;
    bool ending = false;
    int fd = -1;
};

Page_Sender::Page_Sender(int fd) : shared_(std::make_shared<Shared>()) {
    shared_->fd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (shared_->fd < 0) return;  // then the system writes the file out as it likes
    std::thread([s = shared_] {
        std::uint64_t sent = 0;
        for (;;) {
            std::uint64_t to = 0;
            {
                std::unique_lock<std::mutex> lock(s->m);
                s->wake.wait(lock, [&] { return s->ending || s->written > sent; });
                if (s->ending) break;
                to = s->written;
            }
            ::sync_file_range(s->fd, static_cast<off_t>(sent), static_cast<off_t>(to - sent),
                              SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
            sent = to;
        }
        ::close(s->fd);
    }).detach();
}

Page_Sender::~Page_Sender() {
    {
        std::lock_guard<std::mutex> lock(shared_->m);
        shared_->ending = true;
    }
    shared_->wake.notify_one();
}

void Page_Sender::written(std::uint64_t end) {
    {
        std::lock_guard<std::mutex> lock(shared_->m);
        shared_->written = end;
    }
    shared_->wake.notify_one();
}

}  // namespace tolvenk::grid
