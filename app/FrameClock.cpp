#include "app/FrameClock.h"

#include <algorithm>
#include <cmath>

float FrameClock::frameTime(double now) {
    const double ordinary = std::min(previous_, static_cast<double>(longestFrame));
    if (!std::isfinite(now)) {
        // Nothing to measure from: the next good reading is measured from the last good one.
        return static_cast<float>(ordinary);
    }
    const double elapsed = now - last_;
    last_ = now;
    if (!std::isfinite(elapsed) || elapsed < 0.0) {
        // A clock set back, or a start that was no reading: this reading starts afresh.
        return static_cast<float>(ordinary);
    }
    previous_ = elapsed;
    return static_cast<float>(elapsed > longestFrame ? ordinary : elapsed);
}
