// quiverfall-preview's failures, as a user meets them: each ends with a status and a last line
// that says what failed.
#include "offscreen/Picture.h"
#include "support/Process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace {

namespace fs = std::filesystem;

const std::string preview =
    (fs::path(QUIVERFALL_EXECUTABLE).parent_path() / "tools/preview/quiverfall-preview").string();

// The mean of each channel over `width` x `height` pixels from (x, y), bottom row first.
std::array<double, 3> meanColour(const Picture& picture, int x, int y, int width, int height) {
    std::array<double, 3> sum{};
    for (int row = y; row < y + height; ++row) {
        for (int column = x; column < x + width; ++column) {
            for (int channel = 0; channel < 3; ++channel) {
                sum[channel] +=
                    picture.rgb[(static_cast<size_t>(row) * picture.width + column) * 3 + channel];
            }
        }
    }
    for (double& channel : sum) {
        channel /= static_cast<double>(width) * height;
    }
    return sum;
}

// From the start view's eye, looking down the hall: the ceiling's pale plaster at the top, the
// floor's brown planks low on the right, upright and textured as the files say.
TEST(PreviewToolTest, RendersTheHallTexturedAndUpright) {
    TempDirectory out;
    const std::string path = (out.path() / "view.png").string();
    Process run(preview, {path, "0", "2", "-24", "0", "0", "1"}, QUIVERFALL_SOURCE_DIR);
    ASSERT_EQ(run.waitForExit(60.0), std::optional<int>(0)) << run.standardError();
    EXPECT_EQ(lastLine(run.standardOutput()), "wrote " + path);
    const Picture view = loadPng(path);
    ASSERT_EQ(view.width, 1600);
    ASSERT_EQ(view.height, 900);
    const std::array<double, 3> ceiling = meanColour(view, 700, 860, 200, 20);
    const std::array<double, 3> floor = meanColour(view, 1000, 180, 250, 70);
    EXPECT_GT(*std::min_element(ceiling.begin(), ceiling.end()), 150.0)
        << ceiling[0] << " " << ceiling[1] << " " << ceiling[2];
    EXPECT_GT(floor[0] - floor[2], 40.0) << floor[0] << " " << floor[1] << " " << floor[2];
}

TEST(PreviewToolTest, FailuresEndWithAStatusAndALineNamingWhatFailed) {
    TempDirectory lacking;
    lacking.copyFromSource("Shader"); // without it, the tool would look for the data elsewhere
    lacking.copyFromSource("Models");
    fs::remove(lacking.path() / "Models/arrow2.obj");
    // In a copy of the data that lacks one arrow: only a run that gets as far as the import
    // meets it.
    expectFailures(
        preview,
        {
            {{"a.png", "0"}, 2, "quiverfall-preview needs seven arguments a view, not 2"},
            {{"a.png", "0", "abc", "10", "0", "0", "-1"},
             2,
             "EYE_Y of view 1 needs a number from -100 to 100, not \"abc\""},
            {{"a.png", "0", "2", "10", "0", "-1", "0"},
             2,
             "the direction of view 1 needs DIR_X or DIR_Z other than 0"},
            {{"a.png", "0", "2", "10", "0", "0", "-1"},
             1,
             "model not imported: ./Models/arrow2.obj"},
        },
        lacking.path());
}

} // namespace
