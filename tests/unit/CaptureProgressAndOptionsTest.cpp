// quiverfall-capture without a window: the progress line's figures, worked by hand, and the
// command lines it refuses before spending minutes on a render.
#include "CaptureOptions.h"
#include "RenderProgress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(RenderProgressTest, TimeLeftIsThePaceSoFarOverWhatRemains) {
    // 12.5 of 37.5 s took 25 s: 2 s per demo second, 25 demo seconds left.
    EXPECT_EQ(progressLine(12.5, 37.5, 25.0),
              "rendering: 12.5 of 37.5 s of demo time (33%), about 50 s left");
    // 10 of 40 s took 25 s: 2.5 s per demo second, 30 left, 75 s.
    EXPECT_EQ(progressLine(10.0, 40.0, 25.0),
              "rendering: 10.0 of 40.0 s of demo time (25%), about 1 min 15 s left");
}

TEST(RenderProgressTest, NoEstimateBeforeTheFirstFrameAndNoHundredPercentBeforeTheEnd) {
    EXPECT_EQ(progressLine(0.0, 37.5, 0.0),
              "rendering: 0.0 of 37.5 s of demo time (0%), time left not known yet");
    // A run that goes on past its estimate is not done until it ends.
    EXPECT_EQ(progressLine(38.0, 37.5, 100.0),
              "rendering: 38.0 of 37.5 s of demo time (99%), about 0 s left");
}

bool parse(std::vector<std::string> arguments, CaptureOptions& options) {
    arguments.insert(arguments.begin(), "quiverfall-capture");
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    bool helpShown = false;
    return parseCaptureOptions(static_cast<int>(argv.size()), argv.data(), options, helpShown);
}

TEST(CaptureOptionsTest, FpsSetsTheStepAndTheVideosRate) {
    CaptureOptions options;
    ASSERT_TRUE(parse({"--fps", "15", "--video", "run.mp4", "--video-size", "800x450"}, options));
    EXPECT_FLOAT_EQ(options.dt, 1.0f / 15.0f);
    EXPECT_EQ(options.framesPerSecond, 15);
    EXPECT_EQ(options.videoWidth, 800);
    EXPECT_EQ(options.videoHeight, 450);
}

TEST(CaptureOptionsTest, StillTimesAreTakenInAnyOrderAndSavedOnce) {
    CaptureOptions options;
    ASSERT_TRUE(parse({"--at", "10,5,30.5,5"}, options));
    EXPECT_EQ(options.times, (std::vector<float>{5.0f, 10.0f, 30.5f}));
}

// Left out, the stills are those of the default times the run reaches.
TEST(CaptureOptionsTest, DefaultStillTimesStopWhereTheRunStops) {
    CaptureOptions options;
    ASSERT_TRUE(parse({"--until", "6"}, options));
    EXPECT_EQ(options.times, (std::vector<float>{0.0f, 6.0f}));
}

TEST(CaptureOptionsTest, VideoCommandLinesThatCannotWorkAreRefused) {
    const std::vector<std::vector<std::string>> refused = {
        {"--video", "run.avi"},                 // no format for that name
        {"--video", "run.mp4", "--dt", "0.1"},  // a step that is no whole frame rate
        {"--fps", "15", "--dt", "0.1"},         // two steps
        {"--fps", "0"},                         //
        {"--fps", "12.5"},                      //
        {"--video", "run.mp4", "--start-only"}, // nothing to record
        {"--video-size", "801x450"},            // 4:2:0 colour needs even sizes
        {"--video-size", "800"},                //
        {"--video", "run.gif", "--video-from", "5", "--video-to", "2"},
        {"--lead-in", "-1"},
        {"--at", "5,nan"}, // no still would come after it
        {"--at", "inf"},   //
        {"--at", "5,-1"},  //
    };
    for (const std::vector<std::string>& arguments : refused) {
        CaptureOptions options;
        std::string line;
        for (const std::string& argument : arguments) {
            line += argument + " ";
        }
        EXPECT_FALSE(parse(arguments, options)) << line;
    }
}

} // namespace
