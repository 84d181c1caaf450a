// The first frame of the demo, rendered by the program's own set-up and frame code, against the
// committed picture of the start view.
#include "app/Frame.h"
#include "app/OffscreenWindow.h"
#include "app/ScriptedKeys.h"
#include "support/ImageCompare.h"

#include <gtest/gtest.h>

namespace {

// Software GL renders the same picture bit for bit on the same Mesa build; these allow for a
// different Mesa or CPU, where rounding inside rasterisation and texture filtering may move
// single edge pixels (the max) or shift all tones by a level or two (the mean).
constexpr int maxChannelDifference = 96;
constexpr double maxMeanDifference = 1.5;

TEST(StartViewImageTest, FirstFrameMatchesTheReferencePicture) {
    ScriptedKeys noKeys;
    runFrame(noKeys, 1.0f / 30.0f);
    const Picture actual = readWindowPixels();

    const std::string referencePath =
        std::string(QUIVERFALL_SOURCE_DIR) + "/tests/reference/start_view.png";
    const Picture reference = loadPng(referencePath);
    ASSERT_FALSE(reference.rgb.empty()) << "missing reference picture " << referencePath;

    const ImageDifference difference = compareImages(actual, reference);
    const bool matches = difference.sameSize &&
                         difference.maxDifference <= maxChannelDifference &&
                         difference.meanDifference <= maxMeanDifference;
    if (!matches) {
        const std::string folder = writeFailureImages("start_view", actual, reference);
        ADD_FAILURE() << "start view differs from " << referencePath << ": max "
                      << difference.maxDifference << ", mean " << difference.meanDifference
                      << "; actual and difference pictures are in " << folder;
    }
}

} // namespace
