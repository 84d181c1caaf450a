// Comparing a rendered picture with a committed reference: largest and mean channel difference,
// and, on failure, the actual picture and a difference picture written for a person to look at.
#pragma once

#include "offscreen/OffscreenWindow.h"

#include <string>

// Thresholds for pictures of the demo against committed references. Software GL renders the
// same picture bit for bit on the same Mesa build; these allow for a different Mesa or CPU,
// where rounding inside rasterisation and texture filtering may move single edge pixels (the
// max) or shift all tones by a level or two (the mean).
constexpr int maxChannelDifference = 96;
constexpr double maxMeanDifference = 1.5;

struct ImageDifference {
    bool sameSize = false;
    int maxDifference = 0;     // largest difference of one channel, 0..255
    double meanDifference = 0; // mean over all channels of all pixels
};

ImageDifference compareImages(const Picture& actual, const Picture& reference);

// Same size and within both thresholds above.
bool withinReferenceThresholds(const ImageDifference& difference);

// Writes NAME_actual.png and NAME_difference.png (differences amplified 4 times) into the
// folder the test binary runs its failures to; returns that folder.
std::string writeFailureImages(const std::string& name, const Picture& actual,
                               const Picture& reference);
