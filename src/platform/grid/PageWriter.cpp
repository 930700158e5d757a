#include "platform/grid/PageWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace tolvenk::grid {

namespace {

constexpr std::uint64_t kStretch = std::uint64_t{1} << 20;   // sent on to the disk at a time
constexpr std::size_t kMostQueued = std::size_t{64} << 20;  // bytes queued before the window waits

bool writeAll(int fd, const std::string& bytes, std::uint64_t offset) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

struct Page_Writer::Shared {
    mutable std::mutex m;
    std::condition_variable wake, drained;
    std::deque<std::uint64_t> queue;  // offsets, in the order written
    std::unordered_map<std::uint64_t, std::string> pending;
    std::size_t queuedBytes = 0;
    bool ending = false, failed = false;
    int fd = -1;

    void run() {
        std::uint64_t sentTo = 0, end = 0;
        for (;;) {
            std::uint64_t offset = 0;
            const std::string* bytes = nullptr;
            {
                std::unique_lock<std::mutex> lock(m);
                wake.wait(lock, [&] { return ending || (!queue.empty() && !failed); });
                if (ending) break;
                offset = queue.front();
                bytes = &pending.at(offset);  // stays put: only this thread erases
            }
            const bool ok = writeAll(fd, *bytes, offset);
            {
                std::lock_guard<std::mutex> lock(m);
                if (ok) {
                    end = std::max(end, offset + bytes->size());
                    queuedBytes -= bytes->size();
                    pending.erase(offset);
                    queue.pop_front();
                } else {
                    failed = true;
                }
            }
            drained.notify_all();
            if (ok && end - sentTo >= kStretch) {
                ::sync_file_range(fd, static_cast<off_t>(sentTo), static_cast<off_t>(end - sentTo),
                                  SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
                sentTo = end;
            }
        }
        ::close(fd);
    }
};

Page_Writer::Page_Writer(int fd) : shared_(std::make_shared<Shared>()) {
    shared_->fd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (shared_->fd < 0) {
        shared_->failed = true;
        return;
    }
    try {
        std::thread([s = shared_] { s->run(); }).detach();
    } catch (...) {
        ::close(shared_->fd);
        throw;
    }
}

Page_Writer::~Page_Writer() {
    {
        std::lock_guard<std::mutex> lock(shared_->m);
        shared_->ending = true;
    }
    shared_->wake.notify_one();
    shared_->drained.notify_all();
}

void Page_Writer::write(std::uint64_t offset, std::string bytes) {
    Shared& s = *shared_;
    {
        std::unique_lock<std::mutex> lock(s.m);
        s.drained.wait(lock, [&] { return s.queuedBytes < kMostQueued || s.failed || s.ending; });
        s.queuedBytes += bytes.size();
        s.pending[offset] = std::move(bytes);
        s.queue.push_back(offset);
    }
    s.wake.notify_one();
}

bool Page_Writer::pending(std::uint64_t offset, std::string& into) const {
    std::lock_guard<std::mutex> lock(shared_->m);
    const auto at = shared_->pending.find(offset);
    if (at == shared_->pending.end()) return false;
    into = at->second;
    return true;
}

bool Page_Writer::failed() const {
    std::lock_guard<std::mutex> lock(shared_->m);
    return shared_->failed;
}

}  // namespace tolvenk::grid
