// The whole demo as a user sees it: C starts the flight, the arrow volley ends it in black, and
// Escape then closes the program cleanly.
#include "support/ImageCompare.h"
#include "support/Process.h"
#include "support/X11Window.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// 34.5 s of flight plus about 6.7 s of volley; the rest is room for slow frames.
constexpr double endingTimeoutSeconds = 90.0;
// A pause this long between two changes of the picture means a frame slower than the 0.5 s
// window in which the flight cues the volley.
constexpr double slowestSafeFrameSeconds = 0.5;

// What counts as black in a capture of the window: the clear colour, within a level of rounding.
constexpr int darkestBlack = 3;

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
    ASSERT_TRUE(waitUntilShown(run.window, 30.0, darkestBlack)) << "the room is not on screen";
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
    ASSERT_TRUE(watchUntilBlack(window, 120.0, darkestBlack).black)
        << "with 0.8 s frames the volley never ended the demo";

    EXPECT_EQ(quitWithEscape(program, window), std::optional<int>(0));
    EXPECT_EQ(program.standardOutput(), "") << "the program said more than nothing";
}

TEST(FlightEndToEndTest, FlightAndVolleyEndInBlackAndEscapeThenQuits) {
    FlightRun run;
    ASSERT_NO_FATAL_FAILURE(startFlight(run));
    Process& program = *run.program;
    const unsigned long window = run.window;
    const WatchedRun watched = watchUntilBlack(window, endingTimeoutSeconds, darkestBlack);
    const double worst = watched.worstFrameSeconds();
    std::printf("flight to black: %.1f s, %zu picture changes, frame time median %.3f s, "
                "worst %.3f s\n",
                watched.seconds, watched.frameIntervals.size(), watched.medianFrameSeconds(),
                worst);
    ASSERT_TRUE(watched.black) << "the ending never came within " << endingTimeoutSeconds
                               << " s; picture changes came every " << watched.medianFrameSeconds()
                               << " s (median), worst " << worst << " s"
                               << (worst > slowestSafeFrameSeconds
                                       ? ": frames slower than 0.5 s can jump over the flight's "
                                         "pause at 29.0-29.5 s, and then the volley never starts"
                                       : "");
    EXPECT_GT(watched.seconds, 34.0) << "black came before the flight could have ended";

    EXPECT_EQ(quitWithEscape(program, window), std::optional<int>(0));
    EXPECT_EQ(program.standardOutput().find("GL ERROR DETECTED!!"), std::string::npos)
        << program.standardOutput();
}

} // namespace
