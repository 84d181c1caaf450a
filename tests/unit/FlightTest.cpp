// The scripted camera flight: poses along the keyframes, the pause that cues the volley, the end,
// and how the keys interrupt it.
#include "app/Flight.h"
#include "unit/AppStateTest.h"
#include "unit/VectorExpectations.h"

#include <GLFW/glfw3.h>

#include <cmath>
#include <vector>

namespace {

const glm::vec3 startPosition{1.86f, 2.0f, -18.33f};
const glm::vec3 startDirection{0.65f, 0.0f, 1.0f};

// Tolerance for hand-worked poses: the frame times are floats, up to 2e-6 s off the decimal times
// the hand values are worked for.
constexpr double handTolerance = 2e-5;

class FlightTest : public AppStateTest {
  protected:
    static void fly(const std::vector<float>& frames) {
        resetAppState();
        startFlight();
        for (float dt : frames) {
            updateFlight(dt);
        }
    }

    // The view must follow every pose the flight sets.
    static void expectViewMatchesPose() {
        const glm::vec4 eye = camera.view * glm::vec4(camera.position, 1.0f);
        const glm::vec4 target = camera.view * glm::vec4(camera.position + camera.direction, 1.0f);
        EXPECT_TRUE(isNear(glm::vec3(eye), {0.0, 0.0, 0.0}, 1e-4));
        EXPECT_TRUE(isNear(glm::vec3(target), {0.0, 0.0, -glm::length(camera.direction)}, 1e-4));
    }
};

TEST_F(FlightTest, DoesNothingWhileNoFlightRuns) {
    updateFlight(1.0f);
    EXPECT_EQ(camera.flightTime, 0.0f);
    EXPECT_EQ(camera.position, Camera{}.position);
    EXPECT_FALSE(needsRedraw);
}

TEST_F(FlightTest, StartFlightPutsTheCameraAtTheFirstKeyframe) {
    startFlight();
    EXPECT_TRUE(camera.flightActive);
    EXPECT_EQ(camera.flightTime, 0.0f);
    EXPECT_EQ(camera.position, startPosition);
    EXPECT_EQ(camera.direction, startDirection);
    expectViewMatchesPose();
}

TEST_F(FlightTest, TheFrameThatStartsTheFlightAlsoAdvancesIt) {
    const float dt = 0.016f;
    press(GLFW_KEY_C);
    updateFlight(dt);

    EXPECT_EQ(camera.flightTime, dt);
    // u = 0.016 / 15, s = 3u² - 2u³ = 3.4109e-6; 1.86 - 7.26s, -18.33 + 1.06s, 0.65 - 0.65s.
    EXPECT_TRUE(isNear(camera.position, {1.8599752, 2.0, -18.3299964}, 1e-5));
    EXPECT_TRUE(isNear(camera.direction, {0.6499978, 0.0, 1.0}, 1e-5));
}

// Poses worked out by hand from the keyframes: s = u²(3 - 2u) of the fraction u of the segment,
// so at u = 0.5 the pose is the midpoint of the segment's keyframes.
TEST_F(FlightTest, PoseFollowsTheKeyframesWithSmoothstep) {
    const struct {
        std::vector<float> frames;
        glm::dvec3 position;
        glm::dvec3 direction;
    } poses[] = {
        // u = 0.25, s = 0.15625: 1.86 - 7.26s, -18.33 + 1.06s; 0.65 - 0.65s.
        {{3.75f}, {0.725625, 2.0, -18.164375}, {0.5484375, 0.0, 1.0}},
        // u = 0.5 of 0..15 s.
        {{7.5f}, {-1.77, 2.0, -17.8}, {0.325, 0.0, 1.0}},
        // u = 0.5 of 15..25 s.
        {{20.0f}, {-5.88, 3.4, -12.74}, {0.5, -0.15, 0.6}},
        // u = 0.5 of 25..29 s.
        {{27.0f}, {-3.23, 4.0, -8.305}, {0.5, -0.15, 0.6}},
        // u = 0.5 of 29.5..30.3 s: the eye stays put and turns; the same reached through the pause.
        {{29.9f}, {-0.1, 3.2, -8.4}, {0.5, -0.25, 1.0}},
        {{29.2f, 0.7f}, {-0.1, 3.2, -8.4}, {0.5, -0.25, 1.0}},
        // One frame from 28 s over the pause to 30 s: u = 0.5 / 0.8 = 0.625,
        // s = 0.390625 * 1.75 = 0.68359375; direction (s, -0.5s, 1).
        {{28.0f, 2.0f}, {-0.1, 3.2, -8.4}, {0.68359375, -0.341796875, 1.0}},
        // u = 0.5 of 30.3..32.3 s, turning back.
        {{31.3f}, {-0.1, 3.2, -8.4}, {0.5, -0.25, 1.0}},
        // u = 0.5 of 32.3..33.3 s.
        {{32.8f}, {-0.1, 3.2, -8.2}, {-0.15, -0.35, 1.0}},
        // u = 0.5 of 33.3..34.5 s.
        {{33.9f}, {1.75, 3.6, -9.2}, {-0.5, -0.55, 1.0}},
        // u = 11/12, s = 1694/1728 = 0.9803241: -0.1 + 3.7s, 3.2 + 0.8s, -8 - 2.4s;
        // -0.3 - 0.4s, -0.7 + 0.3s.
        {{34.4f}, {3.5271991, 3.9842593, -10.3527778}, {-0.6921296, -0.4059028, 1.0}},
    };
    for (const auto& pose : poses) {
        SCOPED_TRACE(testing::Message() << "after " << testing::PrintToString(pose.frames));
        fly(pose.frames);
        EXPECT_TRUE(camera.flightActive);
        EXPECT_TRUE(needsRedraw);
        EXPECT_TRUE(isNear(camera.position, pose.position, handTolerance));
        EXPECT_TRUE(isNear(camera.direction, pose.direction, handTolerance));
        expectViewMatchesPose();
    }
}

TEST_F(FlightTest, LookAroundFromThePauseLastsThirtyPointThreeMinusTwentyNinePointFiveInFloat) {
    // 30.3f - 29.5f is 0.79999924, not 0.8, and 29.9f - 29.5f is 0.39999962, exactly half of it.
    ASSERT_NE(30.3f - 29.5f, 0.8f);
    ASSERT_EQ(29.9f - 29.5f, (30.3f - 29.5f) / 2.0f);
    fly({29.9f});
    // Turning from (0, 0, 1) to (1, -0.5, 1), direction.x is s itself. Over the float length
    // u = 0.5 and s = 0.5 exactly; over a plain 0.8, u = 0.49999952 and s = 0.49999928.
    EXPECT_EQ(camera.direction.x, 0.5f);
}

// Every frame from 29 s on cues the volley, also one that jumps over the pause or past the end, so
// a slow machine still reaches the ending; the flight ends at 34.5 s.
TEST_F(FlightTest, CuesTheVolleyFromTwentyNineSecondsAndEndsAtThirtyFourPointFive) {
    const struct {
        const char* when;
        std::vector<float> frames;
        bool cued;
        bool flying;
    } rows[] = {
        {"just short of 29 s", {std::nextafter(29.0f, 0.0f)}, false, true},
        {"29 s", {29.0f}, true, true},
        {"36 frames of 0.8 s, 28.8 s", std::vector<float>(36, 0.8f), false, true},
        {"37 frames of 0.8 s, 29.6 s", std::vector<float>(37, 0.8f), true, true},
        {"just short of 34.5 s", {std::nextafter(34.5f, 0.0f)}, true, true},
        {"34.5 s", {34.5f}, true, false},
        {"one frame from 28 s past the end", {28.0f, 7.0f}, true, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.when);
        fly(row.frames);
        EXPECT_EQ(camera.volleyCue, row.cued);
        EXPECT_EQ(camera.flightActive, row.flying);
    }
}

// The pause, and the frame that crosses the end, show the pose the frame before them left (which
// need not be a keyframe's); a flight that has ended no longer asks for redraws.
TEST_F(FlightTest, ThePauseAndTheEndHoldThePoseOfThePreviousFrame) {
    const struct {
        const char* when;
        float before;
        float step;
    } rows[] = {
        {"into the pause", 28.9f, 0.3f},
        {"across the end", 34.4f, 0.2f},
        {"from 28 s past the end", 28.0f, 7.0f},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.when);
        fly({row.before});
        const Camera before = camera;
        needsRedraw = false;
        updateFlight(row.step);
        EXPECT_TRUE(needsRedraw);
        EXPECT_EQ(camera.position, before.position);
        EXPECT_EQ(camera.direction, before.direction);
        EXPECT_TRUE(camera.view == before.view);
    }
    needsRedraw = false;
    updateFlight(1.0f);
    EXPECT_EQ(camera.flightTime, 28.0f + 7.0f);
    EXPECT_FALSE(needsRedraw);
}

TEST_F(FlightTest, AMoveKeyBeforeThePauseStopsTheFlightWithoutACue) {
    press(GLFW_KEY_C);
    updateFlight(10.0f);
    press(GLFW_KEY_LEFT);
    const Camera stopped = camera;

    updateFlight(25.0f);

    EXPECT_FALSE(camera.flightActive);
    EXPECT_FALSE(camera.volleyCue);
    EXPECT_EQ(camera.flightTime, 10.0f);
    EXPECT_EQ(camera.position, stopped.position);
    EXPECT_TRUE(sequenceStarted);
}

} // namespace
