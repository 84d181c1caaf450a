// The whole demo as a user sees it: C starts the flight, the arrow volley ends it in black, and
// Escape then closes the program cleanly.
#include "support/ImageCompare.h"
#include "support/Process.h"
#include "support/X11Window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// 34.5 s of flight plus about 6.7 s of volley; the rest is room for slow frames.
constexpr double endingTimeoutSeconds = 90.0;
// A pause this long between two changes of the picture means a frame slower than the 0.5 s
// window in which the flight cues the volley.
constexpr double slowestSafeFrameSeconds = 0.5;

// What counts as black in a capture of the window: the clear colour, within a level of rounding.
constexpr int darkestBlack = 3;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// The program in a copy of the demo's data, with the room on screen and C pressed: the flight has
// started.
struct FlightRun {
    TempDirectory workDir;
    std::unique_ptr<Process> program;
    unsigned long window = 0;
};

void startFlight(FlightRun& run, const ProcessOptions& options = {}) {
    run.workDir.copyFromSource("Shader");
    run.workDir.copyFromSource("Models");
    run.program = std::make_unique<Process>(QUIVERFALL_EXECUTABLE, std::vector<std::string>{},
                                            run.workDir.path(), options);
    run.window = findProgramWindow(*run.program, 60.0);
    ASSERT_NE(run.window, 0UL) << run.program->standardOutput();
    // The first frame can take seconds on a busy machine: wait for the room, within reason.
    const Clock::time_point shown = Clock::now();
    while (isBlack(captureWindow(run.window), darkestBlack) &&
           Clock::now() - shown < std::chrono::seconds(30)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    ASSERT_FALSE(isBlack(captureWindow(run.window), darkestBlack)) << "the room is not on screen";
    ASSERT_TRUE(sendKey(run.window, "c"));
}

// A machine that needs 0.8 s for every frame: the frames land at 28.8 s and 29.6 s of flight,
// jumping over the pause, and the volley must start all the same.
TEST(FlightEndToEndTest, EveryFrameTakingEightTenthsOfASecondStillEndsInBlack) {
    ProcessOptions slowFrames;
    slowFrames.environment = {std::string("LD_PRELOAD=") + QUIVERFALL_FIXED_STEP_CLOCK,
                              "QUIVERFALL_TEST_FRAME_SECONDS=0.8"};
    FlightRun run;
    ASSERT_NO_FATAL_FAILURE(startFlight(run, slowFrames));
    Process& program = *run.program;
    const unsigned long window = run.window;

    // About 52 redraw frames of 0.8 s of demo time each (34.5 s of flight, about 7 s of volley);
    // each costs well under a second of real time here.
    const Clock::time_point start = Clock::now();
    bool black = false;
    while (!black && Clock::now() - start < std::chrono::seconds(120)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        black = isBlack(captureWindowRegion(window, 0, 430, 1600, 40), darkestBlack) &&
                isBlack(captureWindow(window), darkestBlack);
    }
    ASSERT_TRUE(black) << "with 0.8 s frames the volley never ended the demo";

    EXPECT_EQ(quitWithEscape(program, window), std::optional<int>(0));
    EXPECT_EQ(program.standardOutput(), "") << "the program said more than nothing";
}

TEST(FlightEndToEndTest, FlightAndVolleyEndInBlackAndEscapeThenQuits) {
    FlightRun run;
    ASSERT_NO_FATAL_FAILURE(startFlight(run));
    Process& program = *run.program;
    const unsigned long window = run.window;
    const Clock::time_point start = Clock::now();

    // Watch a strip across the middle: it changes with every frame of the flight.
    std::vector<double> frameIntervals;
    std::vector<unsigned char> lastStrip;
    Clock::time_point lastChange = start;
    bool black = false;
    while (!black && Clock::now() - start < std::chrono::duration<double>(endingTimeoutSeconds)) {
        const Picture strip = captureWindowRegion(window, 0, 430, 1600, 40);
        if (strip.rgb != lastStrip) {
            const Clock::time_point now = Clock::now();
            if (!lastStrip.empty()) {
                frameIntervals.push_back(std::chrono::duration<double>(now - lastChange).count());
            }
            lastChange = now;
            lastStrip = strip.rgb;
        }
        black = isBlack(strip, darkestBlack) && isBlack(captureWindow(window), darkestBlack);
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double worst = frameIntervals.empty()
                             ? 0.0
                             : *std::max_element(frameIntervals.begin(), frameIntervals.end());
    std::printf("flight to black: %.1f s, %zu picture changes, frame time median %.3f s, "
                "worst %.3f s\n",
                seconds, frameIntervals.size(), median(frameIntervals), worst);
    ASSERT_TRUE(black) << "the ending never came within " << endingTimeoutSeconds
                       << " s; picture changes came every " << median(frameIntervals)
                       << " s (median), worst " << worst << " s"
                       << (worst > slowestSafeFrameSeconds
                               ? ": frames slower than 0.5 s can jump over the flight's pause "
                                 "at 29.0-29.5 s, and then the volley never starts"
                               : "");
    EXPECT_GT(seconds, 34.0) << "black came before the flight could have ended";

    EXPECT_EQ(quitWithEscape(program, window), std::optional<int>(0));
    EXPECT_EQ(program.standardOutput().find("GL ERROR DETECTED!!"), std::string::npos)
        << program.standardOutput();
}

} // namespace
