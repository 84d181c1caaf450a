#include "app/FrameClock.h"

float FrameClock::frameTime(float now) {
    const float elapsed = now - last_;
    last_ = now;
    if (elapsed > longestFrame) {
        return ordinary_;
    }
    ordinary_ = elapsed;
    return elapsed;
}
