// Holds the frame loop to the display's refresh rate. Swapping with an interval of 1 waits for
// the display on most desktops, but drivers may ignore it (or their settings turn it off), and
// virtual displays have none: unpaced, an idle demo would spin at thousands of frames a second,
// and a key, which moves one step per frame, would cross the hall at a tap.
#pragma once

#include <chrono>
#include <functional>

class FramePacer {
  public:
    using Clock = std::chrono::steady_clock;

    // Paced to `refreshRate` frames a second; 60 when it is not known (0 or less).
    explicit FramePacer(int refreshRate);
    // The same with the clock and the wait replaced, for tests.
    FramePacer(int refreshRate, std::function<Clock::time_point()> now,
               std::function<void(Clock::duration)> wait);

    // Called once a frame, after its swap: if less than one refresh period has passed since the
    // previous call returned, waits out the rest. Longer frames go on at once.
    void endFrame();

    Clock::duration period() const { return period_; }

  private:
    Clock::duration period_;
    std::function<Clock::time_point()> now_;
    std::function<void(Clock::duration)> wait_;
    Clock::time_point frameStart_;
};
