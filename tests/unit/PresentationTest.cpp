// Where the picture goes in a window of any size, and how the frame loop is paced: worked by hand.
#include "app/FramePacer.h"
#include "render/Letterbox.h"

#include <gtest/gtest.h>

#include <ctime>
#include <vector>

namespace {

void expectRect(PixelRect actual, PixelRect expected) {
    EXPECT_EQ(actual.x, expected.x);
    EXPECT_EQ(actual.y, expected.y);
    EXPECT_EQ(actual.width, expected.width);
    EXPECT_EQ(actual.height, expected.height);
}

TEST(LetterboxTest, ThePictureFillsOneSideAndIsCentredOnTheOther) {
    // A HiDPI desktop at scale 2: a 1600x900 window has a 3200x1800 framebuffer.
    expectRect(fitPicture(frameSize, {3200, 1800}), {0, 0, 3200, 1800});
    expectRect(fitPicture(frameSize, {1600, 900}), {0, 0, 1600, 900});
    // 4:3: 1200 wide, 1200 * 9 / 16 = 675 high, 225 spare rows, 112 below and 113 above.
    expectRect(fitPicture(frameSize, {1200, 900}), {0, 112, 1200, 675});
    // Wide: 700 high, 700 * 16 / 9 = 1244.4 wide, 756 spare columns, 378 each side.
    expectRect(fitPicture(frameSize, {2000, 700}), {378, 0, 1244, 700});
    // Portrait: 900 wide, 506.25 high rounds to 506, 1094 spare rows.
    expectRect(fitPicture(frameSize, {900, 1600}), {0, 547, 900, 506});
    // Larger on one side only: copied 1:1 between bars, (1000 - 900) / 2 = 50 rows and
    // (2000 - 1600) / 2 = 200 columns.
    expectRect(fitPicture(frameSize, {1600, 1000}), {0, 50, 1600, 900});
    expectRect(fitPicture(frameSize, {2000, 900}), {200, 0, 1600, 900});
    // One odd spare column goes to the right: 1601 - 1600 = 1.
    expectRect(fitPicture(frameSize, {1601, 900}), {0, 0, 1600, 900});
}

TEST(LetterboxTest, ADrawingBufferIsAskedForNoMoreThanTheGlAllows) {
    // 2560x1440 CSS pixels at a device pixel ratio of 4, less the line of keys: 10240x5624 fits
    // 4096 wide at 0.4 of its size, 5624 * 0.4 = 2249.6 rows round to 2250.
    const PixelSize capped = fitWithin({10240, 5624}, {4096, 4096});
    EXPECT_EQ(capped.width, 4096);
    EXPECT_EQ(capped.height, 2250);
    // A phone's 1170x2532 already fits, and a limit on one side only scales both.
    const PixelSize phone = fitWithin({1170, 2532}, {4096, 4096});
    EXPECT_EQ(phone.width, 1170);
    EXPECT_EQ(phone.height, 2532);
    const PixelSize tall = fitWithin({1000, 5000}, {4096, 4000});
    EXPECT_EQ(tall.width, 800);
    EXPECT_EQ(tall.height, 4000);
}

TEST(LetterboxTest, AMinimisedOrTinyWindow) {
    expectRect(fitPicture(frameSize, {0, 0}), {0, 0, 0, 0});
    expectRect(fitPicture(frameSize, {1600, 0}), {0, 0, 0, 0});
    // One column: the picture never shrinks below a pixel (0.56 rows round to 1).
    expectRect(fitPicture(frameSize, {1, 1000}), {0, 499, 1, 1});
}

// A clock that moves only when told to, and records every wait the pacer asks for.
struct FakeTime {
    FramePacer::Clock::time_point now{};
    std::vector<FramePacer::Clock::duration> waits;

    FramePacer pacer(int refreshRate) {
        return FramePacer(
            refreshRate, [this] { return now; },
            [this](FramePacer::Clock::duration wait) {
                waits.push_back(wait);
                now += wait;
            });
    }
};

using std::chrono::microseconds;
using std::chrono::milliseconds;

TEST(FramePacerTest, AShortFrameWaitsOutTheRestOfTheRefresh) {
    FakeTime time;
    FramePacer pacer = time.pacer(50); // 20 ms a frame
    time.now += milliseconds(5);
    pacer.endFrame();
    ASSERT_EQ(time.waits.size(), 1u);
    EXPECT_EQ(time.waits[0], milliseconds(15));
    // The next frame is measured from the end of the wait, not from the last frame's start.
    time.now += milliseconds(12);
    pacer.endFrame();
    ASSERT_EQ(time.waits.size(), 2u);
    EXPECT_EQ(time.waits[1], milliseconds(8));
}

TEST(FramePacerTest, ALongFrameIsNotSlowedAndDoesNotMakeTheNextOneShorter) {
    FakeTime time;
    FramePacer pacer = time.pacer(50);
    time.now += milliseconds(45);
    pacer.endFrame();
    EXPECT_TRUE(time.waits.empty());
    // No catching up: the next short frame still lasts a whole period.
    time.now += milliseconds(5);
    pacer.endFrame();
    ASSERT_EQ(time.waits.size(), 1u);
    EXPECT_EQ(time.waits[0], milliseconds(15));
}

TEST(FramePacerTest, AnUnknownRefreshRateMeansSixtyHertz) {
    FakeTime time;
    EXPECT_EQ(time.pacer(0).period(), time.pacer(60).period());
    EXPECT_EQ(time.pacer(-1).period(), time.pacer(60).period());
    // 1/144 s to the microsecond.
    EXPECT_EQ(std::chrono::duration_cast<microseconds>(time.pacer(144).period()),
              microseconds(6944));
}

// With the real clock and wait: the loop's thread sleeps out the rest of each period. A wait that
// spins instead holds a core for as long as the system lets it, an idle demo's whole core.
TEST(FramePacerTest, TheWaitSleepsInsteadOfSpinning) {
    auto threadSeconds = [] {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
    };
    FramePacer pacer(20); // 50 ms a frame, five of them
    const double before = threadSeconds();
    for (int frame = 0; frame < 5; ++frame) {
        pacer.endFrame();
    }
    // A sleeping thread takes well under a millisecond of the 250; a spinning one, on a loaded
    // machine with a quarter of a core to spare, still takes 60.
    EXPECT_LT(threadSeconds() - before, 0.025) << "the pacer's wait uses the processor";
}

} // namespace
