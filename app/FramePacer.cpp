#include "app/FramePacer.h"

#include <thread>

namespace {

// Displays that do not report a rate are nearly all 60 Hz ones.
constexpr int fallbackRefreshRate = 60;

FramePacer::Clock::duration periodOf(int refreshRate) {
    const int rate = refreshRate > 0 ? refreshRate : fallbackRefreshRate;
    return std::chrono::duration_cast<FramePacer::Clock::duration>(std::chrono::seconds(1)) / rate;
}

} // namespace

FramePacer::FramePacer(int refreshRate)
    : FramePacer(
          refreshRate, [] { return Clock::now(); },
          [](Clock::duration rest) { std::this_thread::sleep_for(rest); }) {}

FramePacer::FramePacer(int refreshRate, std::function<Clock::time_point()> now,
                       std::function<void(Clock::duration)> wait)
    : period_(periodOf(refreshRate)), now_(std::move(now)), wait_(std::move(wait)),
      frameStart_(now_()) {}

void FramePacer::endFrame() {
    const Clock::duration took = now_() - frameStart_;
    if (took < period_) {
        wait_(period_ - took);
    }
    frameStart_ = now_();
}
