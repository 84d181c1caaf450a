// Comparing a rendered picture with a committed reference: largest and mean channel difference,
// and, on failure, the actual picture and a difference picture written for a person to look at.
#pragma once

#include "app/OffscreenWindow.h"

#include <string>

struct ImageDifference {
    bool sameSize = false;
    int maxDifference = 0;      // largest difference of one channel, 0..255
    double meanDifference = 0;  // mean over all channels of all pixels
};

ImageDifference compareImages(const Picture& actual, const Picture& reference);

// Writes NAME_actual.png and NAME_difference.png (differences amplified 4 times) into the
// folder the test binary runs its failures to; returns that folder.
std::string writeFailureImages(const std::string& name, const Picture& actual,
                               const Picture& reference);
