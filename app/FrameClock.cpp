#include "app/FrameClock.h"

#include <algorithm>

float FrameClock::frameTime(float now) {
    const float elapsed = now - last_;
    last_ = now;
    const float ordinary = std::min(previous_, longestFrame);
    previous_ = elapsed;
    return elapsed > longestFrame ? ordinary : elapsed;
}
