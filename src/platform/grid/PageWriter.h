#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace tolvenk::grid {

// Writes a grid's pages to its file, and sends them on to the disk a stretch
// at a time (each once the one before has arrived), on a thread of its own.
// Left to the system, a grid's gigabyte of pages went out in bursts that
// held every flush on the disk (a terminal's commit); written and sent by
// the window that fills the grid, a busy disk held it up to a second.
class Page_Writer {
public:
    // Works on a copy of `fd` of its own, closed as its thread ends.
    explicit Page_Writer(int fd);
    // Lets the thread end after the write it is doing; what is still queued
    // is not written (the file goes).
    ~Page_Writer();
    Page_Writer(const Page_Writer&) = delete;
    Page_Writer& operator=(const Page_Writer&) = delete;

    // Queues `bytes` to be written at `offset`. Waits only while a great
    // deal is queued already (a disk that does not keep up).
    void write(std::uint64_t offset, std::string bytes);
    // The bytes queued for `offset`, while they are not written yet.
    bool pending(std::uint64_t offset, std::string& into) const;
    // Whether a write failed (a full disk); its bytes stay queued, and
    // readable through pending().
    bool failed() const;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

}  // namespace tolvenk::grid
