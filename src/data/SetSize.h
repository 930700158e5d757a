#pragma once
// How many employees or cards the next set-based writes of a batch take: as
// many as the batch has room for and as fit in the time a batch may hold the
// lock, judged by the sets before; one when the window is due to let events
// through, which it does only between batches.
#include <chrono>
#include <cstdint>
#include <optional>

namespace tolvenk {

class Write_Batch;

class Set_Size {
public:
    // `first`: the size before any set was timed.
    explicit Set_Size(const Write_Batch& batch, std::int64_t first = 8) : batch_(batch), first_(first) {}
    std::int64_t next(bool telling) const;
    // A run that tells its progress between its batches says when it did:
    // from then on its sets are sized to end in time for the next telling,
    // due `kTellEvery` after it, and the run commits once that is due. With
    // less than a quarter of that time left it is due already: a set in it
    // would be a few cards at a set's whole cost.
    void told() { told_ = std::chrono::steady_clock::now(); }
    bool tellDue() const { return told_ && std::chrono::steady_clock::now() - *told_ >= kTellEvery * 3 / 4; }
    static constexpr std::chrono::milliseconds kTellEvery{70};
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
    std::optional<std::chrono::steady_clock::time_point> told_;
};

}  // namespace tolvenk
