// A gap between two frames longer than any real frame (a hidden tab, a stopped program, a machine
// waking up) moves the demo on by one ordinary frame: the flight, the volley and the fire then
// go on exactly as if the gap had been one more frame.
#include "app/FrameClock.h"
#include "app/Flicker.h"
#include "app/Flight.h"
#include "scene/VolleyTimeline.h"
#include "unit/AppStateTest.h"

#include <GLFW/glfw3.h>

#include <cmath>
#include <cstdlib>

namespace {

// Frames of exactly 1/8 s, the clock read as the program reads it.
constexpr float frame = 0.125f;

struct DemoRun {
    Camera camera;
    VolleyTimeline volley;
    glm::mat4 arrows[3] = {glm::mat4(1.0f), glm::mat4(1.0f), glm::mat4(1.0f)};
    int fireSteps = 0;
    int frames = 0;
};

class FrameClockTest : public AppStateTest {
  protected:
    // C, then `frames` frames from the clock; after 10 s of flight the clock jumps by `gap` more.
    DemoRun play(int frames, float gap) {
        resetAppState();
        std::srand(1);
        DemoRun run;
        Flicker fire;
        FrameClock clock(100.0f);
        float now = 100.0f;
        for (run.frames = 0; run.frames < frames && !run.volley.finished; ++run.frames) {
            now += run.frames == 80 ? gap + frame : frame;
            const float dt = clock.frameTime(now);
            if (run.frames == 0) {
                press(GLFW_KEY_C);
            }
            updateFlight(dt);
            run.fireSteps += fire.advance(dt);
            if (camera.volleyCue) {
                run.volley.advance({&run.arrows[0], &run.arrows[1], &run.arrows[2]}, dt);
            }
        }
        run.camera = camera;
        return run;
    }
};

TEST_F(FrameClockTest, FramesUpToASecondCountInFullAndLongerOnesAsTheFrameBefore) {
    FrameClock clock(10.0f);
    EXPECT_EQ(clock.frameTime(10.5f), 0.5f);
    EXPECT_EQ(clock.frameTime(11.5f), 1.0f);
    // 1.25 s: a gap, counted as the frame before it.
    EXPECT_EQ(clock.frameTime(12.75f), 1.0f);
    EXPECT_EQ(clock.frameTime(12.875f), 0.125f);
    EXPECT_EQ(clock.frameTime(14.875f), 0.125f);
    // A machine whose every frame takes 2 s plays on at a second a frame.
    EXPECT_EQ(clock.frameTime(16.875f), 1.0f);
    EXPECT_EQ(clock.frameTime(18.875f), 1.0f);
}

TEST_F(FrameClockTest, AClockSetBackOrNotANumberCountsAsTheFrameBefore) {
    FrameClock clock(10.0);
    EXPECT_EQ(clock.frameTime(10.125), 0.125f);
    EXPECT_EQ(clock.frameTime(9.0), 0.125f);
    EXPECT_EQ(clock.frameTime(9.25), 0.25f);
    EXPECT_EQ(clock.frameTime(std::nan("")), 0.25f);
    // Measured from the last reading that was a number.
    EXPECT_EQ(clock.frameTime(9.375), 0.125f);
}

TEST_F(FrameClockTest, AClockThatHasRunForMonthsGivesTheFrameTimesOfItsFirstMinute) {
    // 60 frames a second, starting 100 hours and 200 days into the clock's count. A float reading
    // there has steps of 1/32 s and 2 s: its frame times would alternate or be 0.
    for (double start : {0.0, 100.0 * 3600.0, 200.0 * 86400.0}) {
        SCOPED_TRACE(start);
        FrameClock clock(start);
        for (int frame = 1; frame <= 3600; ++frame) {
            ASSERT_NEAR(clock.frameTime(start + frame / 60.0), 1.0f / 60.0f, 1e-6f) << frame;
        }
    }
}

TEST_F(FrameClockTest, ASixtySecondGapMovesTheDemoOnByOneFrame) {
    for (int frames : {81, 120, 260, 400}) {
        SCOPED_TRACE(frames);
        const DemoRun steady = play(frames, 0.0f);
        const DemoRun stalled = play(frames, 60.0f);
        EXPECT_EQ(stalled.camera.flightTime, steady.camera.flightTime);
        EXPECT_EQ(stalled.camera.position, steady.camera.position);
        EXPECT_EQ(stalled.camera.direction, steady.camera.direction);
        EXPECT_EQ(stalled.camera.volleyCue, steady.camera.volleyCue);
        EXPECT_EQ(stalled.fireSteps, steady.fireSteps);
        EXPECT_EQ(stalled.volley.currentArrow(), steady.volley.currentArrow());
        EXPECT_EQ(stalled.volley.finished, steady.volley.finished);
        EXPECT_EQ(stalled.frames, steady.frames);
        for (int arrow = 0; arrow < 3; ++arrow) {
            EXPECT_EQ(stalled.arrows[arrow], steady.arrows[arrow]);
        }
    }
    // At 1/8 s a frame the flight ends after 276 frames and the volley after about 60 more.
    EXPECT_TRUE(play(400, 60.0f).volley.finished);
}

} // namespace
