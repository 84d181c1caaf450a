// Comparing a rendered picture with a committed reference or another expected picture: largest
// and mean channel difference, and, on failure, the actual picture and a difference picture
// written for a person to look at.
#pragma once

#include "offscreen/OffscreenWindow.h"

#include <string>

// Thresholds for pictures of the demo against committed references. Software GL renders the
// same picture bit for bit on the same Mesa build; these allow for a different Mesa or CPU,
// where rounding inside rasterisation and texture filtering may move single edge pixels (the
// max) or shift all tones by a level or two (the mean). A fault confined to a part of the
// picture hides in the whole picture's mean, so no tile of it may move much either. Measured:
// another rasteriser altogether (SwiftShader in the browser against Mesa's llvmpipe) moves the
// start view's worst tile by 1.7, H.264 at CRF 18 by 2.3; the candle flames glowing at 60% of
// their strength move it by 5.5, but no pixel by more than 77 and the mean by 0.04.
constexpr int maxChannelDifference = 96;
constexpr double maxMeanDifference = 1.5;
constexpr double maxTileMeanDifference = 4.0;
// The side of the square tiles the picture is cut into, in pixels (at the far edges they are
// cut short).
constexpr int differenceTileSize = 50;

// How far a picture may be from the one expected: one channel at most, the mean over all, and
// the mean over each tile.
struct PictureLimits {
    int maxDifference;
    double meanDifference;
    double tileMeanDifference = maxTileMeanDifference;
};
constexpr PictureLimits referenceLimits{maxChannelDifference, maxMeanDifference};

struct ImageDifference {
    bool sameSize = false;
    int maxDifference = 0;     // largest difference of one channel, 0..255
    double meanDifference = 0; // mean over all channels of all pixels
    double worstTileMean = 0;  // the largest mean over one tile's channels
};

ImageDifference compareImages(const Picture& actual, const Picture& reference);

// Same size and within the thresholds above.
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
