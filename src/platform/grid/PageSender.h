#pragma once
#include <cstdint>
#include <memory>

namespace tolvenk::grid {

// Sends what is written to a file on to the disk a stretch at a time, each
// once the one before has arrived, on a thread of its own. Left to the
// system, a grid's gigabyte of pages went out in bursts that held every
// flush on the disk (a terminal's commit); waited for by the window that
// fills the grid, a busy disk held it a third of a second.
class Page_Sender {
public:
    // Works on a copy of `fd` of its own, closed as its thread ends.
    explicit Page_Sender(int fd);
    // Lets the thread end once the stretch it sends has arrived, without
    // waiting for it.
    ~Page_Sender();
    Page_Sender(const Page_Sender&) = delete;
    Page_Sender& operator=(const Page_Sender&) = delete;

    // The file is written up to `end`.
    void written(std::uint64_t end);

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

}  // namespace tolvenk::grid
