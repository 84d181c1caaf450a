// Comparing a rendered picture with a committed reference or another expected picture: largest
// and mean channel difference, and, on failure, the actual picture and a difference picture
// written for a person to look at.
#pragma once

#include "offscreen/OffscreenWindow.h"

#include <string>

// Thresholds for pictures of the demo against committed references. Software GL renders the
// same picture bit for bit on the same Mesa build; these allow for a different Mesa or CPU,
// where rounding inside rasterisation and texture filtering may move single edge pixels (the
// max) or shift all tones by a level or two (the mean).
constexpr int maxChannelDifference = 96;
constexpr double maxMeanDifference = 1.5;

// How far a picture may be from the one expected: one channel at most, and the mean over all.
struct PictureLimits {
    int maxDifference;
    double meanDifference;
};
constexpr PictureLimits referenceLimits{maxChannelDifference, maxMeanDifference};

struct ImageDifference {
    bool sameSize = false;
    int maxDifference = 0;     // largest difference of one channel, 0..255
    double meanDifference = 0; // mean over all channels of all pixels
};

ImageDifference compareImages(const Picture& actual, const Picture& reference);

// Same size and within both thresholds above.
bool withinReferenceThresholds(const ImageDifference& difference);

// The brightest channel of any pixel, 0..255; 255 for an empty picture, which is not black.
int brightestChannel(const Picture& picture);

// No channel of any pixel above `darkest` (0: exactly black).
inline bool isBlack(const Picture& picture, int darkest = 0) {
    return brightestChannel(picture) <= darkest;
}

// The committed picture tests/reference/NAME.png; empty when it cannot be read.
Picture referencePicture(const std::string& name);

// True when `actual` has `expected`'s size and is within `limits`. Otherwise adds a test failure
// that names `name` and gives both figures, writes the pictures (below) and returns false.
bool expectPictureMatches(const Picture& actual, const Picture& expected, const std::string& name,
                          PictureLimits limits = referenceLimits);

// Writes NAME_actual.png and NAME_difference.png (differences amplified 4 times) into the
// folder the test binary runs its failures to; returns that folder.
std::string writeFailureImages(const std::string& name, const Picture& actual,
                               const Picture& reference);
