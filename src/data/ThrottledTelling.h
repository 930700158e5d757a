#pragma once
#include <chrono>
#include <functional>
#include <utility>

namespace tolvenk {

// A long run's progress told through `tell` whenever the run asks, and when
// it only keeps the window alive, once `every` has passed since the last
// telling: the window takes its events without a telling at every row. A
// stop the telling answers is kept for the run's next point to stop at.
class Throttled_Telling {
public:
    using Clock = std::chrono::steady_clock;
    Throttled_Telling(std::function<bool()> tell, std::chrono::milliseconds every, Clock::time_point last = {})
        : tell_(std::move(tell)), every_(every), last_(last) {}
    bool now() {
        last_ = Clock::now();
        if (!tell_()) stop_ = true;
        return !stop_;
    }
    void alive() {
        if (Clock::now() - last_ >= every_) now();
    }
    bool stopped() const { return stop_; }

private:
    std::function<bool()> tell_;
    std::chrono::milliseconds every_;
    Clock::time_point last_;
    bool stop_ = false;
};

}  // namespace tolvenk
