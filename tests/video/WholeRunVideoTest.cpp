// The whole demo recorded as a video by quiverfall-capture, as ./run.sh records it without a
// display, then read back the way a player reads it: ffprobe for the stream, ffmpeg for frames.
// The run is recorded once, at 4 frames a second to keep it short; the cases look at that one
// file.
#include "support/ImageCompare.h"
#include "support/Process.h"
#include "support/VideoProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <regex>

namespace {

namespace fs = std::filesystem;

const std::string captureTool =
    (fs::path(QUIVERFALL_EXECUTABLE).parent_path() / "tools/capture/quiverfall-capture").string();

constexpr int framesPerSecond = 4;
constexpr double frameTime = 1.0 / framesPerSecond;
// The run as a user sees it: a second of the start view, then C; the volley ends about 35.7 s
// after C at steady frames (arrow 1 from 29.0 to 31.5 s, arrow 2 from 32.0 to 34.5 s, arrow 3
// from 35.0 to 35.71 s); then a second of black.
constexpr double leadIn = 1.0;
constexpr double volleyEnd = 35.71;
constexpr double blackEnding = 1.0;
// At a coarse step each of the volley's five stages ends on the first frame past its time, up to
// a frame late.
constexpr double volleyLateness = 5 * frameTime;

// Black as H.264 stores it (luma 16 of 16..235) decodes to 0; a level or two allows for the
// decoder's rounding.
constexpr int blackLevel = 2;

class WholeRunVideoTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<TempDirectory>();
        video_ = (folder_->path() / "run.mp4").string();
        Process tool(captureTool,
                     {"--fps", std::to_string(framesPerSecond), "--video", video_, "--out",
                      folder_->path().string(), "--no-sheet"},
                     QUIVERFALL_SOURCE_DIR);
        exitStatus_ = tool.waitForExit(600.0);
        output_ = tool.standardOutput();
        errors_ = tool.standardError();
        probe_ = probeVideo(video_);
    }
    static void TearDownTestSuite() { folder_.reset(); }

    void SetUp() override {
        ASSERT_EQ(exitStatus_, std::optional<int>(0)) << errors_;
        ASSERT_TRUE(probe_.readable) << video_ << " does not decode";
    }

    // The frame count the tool says it wrote.
    static int framesReported() {
        std::smatch match;
        const std::regex line("run\\.mp4: (\\d+) frames at 4 per second");
        return std::regex_search(output_, match, line) ? std::stoi(match[1]) : -1;
    }

    static inline std::unique_ptr<TempDirectory> folder_;
    static inline std::string video_;
    static inline std::optional<int> exitStatus_;
    static inline std::string output_;
    static inline std::string errors_;
    static inline VideoProbe probe_;
};

double meanLevel(const Picture& picture) {
    double total = 0.0;
    for (unsigned char value : picture.rgb) {
        total += value;
    }
    return picture.rgb.empty() ? 0.0 : total / static_cast<double>(picture.rgb.size());
}

TEST_F(WholeRunVideoTest, IsFullSizeH264AtTheRunsFrameRate) {
    EXPECT_EQ(probe_.codec, "h264");
    EXPECT_EQ(probe_.pixelFormat, "yuv420p") << "4:2:0 is what every player decodes";
    EXPECT_EQ(probe_.width, 1600);
    EXPECT_EQ(probe_.height, 900);
    EXPECT_EQ(probe_.frameRate, "4/1");
}

TEST_F(WholeRunVideoTest, LastsAsLongAsTheRunItRecorded) {
    const int reported = framesReported();
    ASSERT_GT(reported, 0) << output_;
    EXPECT_EQ(probe_.frames, reported) << "every frame rendered is in the video, once";
    EXPECT_NEAR(probe_.duration, reported * frameTime, frameTime);
    // The run is the whole demo: the lead-in, the flight and volley, the black ending.
    const double expected = leadIn + volleyEnd + blackEnding;
    EXPECT_GE(probe_.duration, expected - frameTime);
    EXPECT_LE(probe_.duration, expected + volleyLateness + frameTime);
}

TEST_F(WholeRunVideoTest, FirstFrameIsTheStartView) {
    expectPictureMatches(decodeVideoFrame(video_, 0), referencePicture("start_view"),
                         "video_first_frame");
}

TEST_F(WholeRunVideoTest, EndsWithASecondOfBlackAfterTheLastArrowStrikes) {
    const int blackFrames = static_cast<int>(blackEnding * framesPerSecond);
    for (int i = 1; i <= blackFrames; ++i) {
        const Picture frame = decodeVideoFrame(video_, probe_.frames - i);
        ASSERT_FALSE(frame.rgb.empty()) << "frame " << probe_.frames - i;
        EXPECT_TRUE(isBlack(frame, blackLevel)) << "frame " << probe_.frames - i << " is not black";
    }
    // The frame before shows the hall, with the last arrow where it struck.
    const Picture lastShown = decodeVideoFrame(video_, probe_.frames - blackFrames - 1);
    EXPECT_GT(meanLevel(lastShown), 30.0) << "the black ending began too early";
}

TEST_F(WholeRunVideoTest, ProgressSaysDemoTimeShareAndTimeLeft) {
    // Without a terminal the tool writes a line at every tenth of the run.
    const std::regex line("rendering: [0-9.]+ of 37\\.7 s of demo time \\([0-9]+%\\), about "
                          "([0-9]+ min )?[0-9]+ s left");
    const auto lines = std::distance(std::sregex_iterator(output_.begin(), output_.end(), line),
                                     std::sregex_iterator());
    EXPECT_GE(lines, 9) << output_;
    EXPECT_TRUE(std::regex_search(output_, std::regex("rendered 3[78]\\.[0-9] s of demo time in ")))
        << output_;
}

} // namespace
