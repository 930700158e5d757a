#pragma once
// How many employees or cards the next set-based writes of a batch take: as
// many as the batch has room for and as fit in the time a batch may hold the
// lock, judged by the sets before; one when the window is due to let events
// through, which it does only between batches.
#include <chrono>
#include <cstdint>

namespace tolvenk {

class Write_Batch;

class Set_Size {
public:
    // `first`: the size before any set was timed.
    explicit Set_Size(const Write_Batch& batch, std::int64_t first = 8) : batch_(batch), first_(first) {}
    // A set of a run that tells its progress ends in time for its next
    // telling (Write_Batch::told).
    std::int64_t next(bool telling) const;
    // A set of `count` took `took`, lock waits and all.
    void took(std::int64_t count, std::chrono::steady_clock::duration took);
    // Runs the writes of a set of `count` and notes how long they took.
    template <class Writes>
    void write(std::size_t count, Writes&& writes) {
        const auto start = std::chrono::steady_clock::now();
        writes();
        took(static_cast<std::int64_t>(count), std::chrono::steady_clock::now() - start);
    }

private:
    const Write_Batch& batch_;
    std::int64_t first_;
    double each_ = 0;          // seconds a card or employee took in the last set timed
    std::int64_t timed_ = 0;   // that set's size
};

}  // namespace tolvenk
