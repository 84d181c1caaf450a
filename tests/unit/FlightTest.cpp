// The scripted camera flight: poses along the keyframes, the pause that cues the volley, the end,
// and how the keys interrupt it.
#include "app/Flight.h"
#include "unit/AppStateTest.h"
#include "unit/VectorExpectations.h"

#include <GLFW/glfw3.h>

#include <cmath>
#include <vector>

namespace {

// Keyframe poses the flight must hit exactly; everything between them is checked against values
// worked out by hand below, never against a second interpolation.
const glm::vec3 startPosition{1.86f, 2.0f, -18.33f};
const glm::vec3 startDirection{0.65f, 0.0f, 1.0f};
// Where the eye waits through the pause and the look around that follows it.
const glm::vec3 lookoutPosition{-0.1f, 3.2f, -8.4f};
const glm::vec3 lastKeyframePosition{3.6f, 4.0f, -10.4f};

// Tolerance for the pose table: its values are rounded to two decimals.
constexpr double tableTolerance = 0.006;
// Tolerance for hand-worked poses: the frame times are floats, up to 2e-6 s off the decimal times
// the hand values are worked for.
constexpr double handTolerance = 2e-5;

glm::dvec3 unit(const glm::vec3& v) {
    return glm::normalize(glm::dvec3(v));
}

class FlightTest : public AppStateTest {
  protected:
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
    EXPECT_NE(camera.position, startPosition);
    // u = 0.016 / 15, s = 3u² - 2u³ = 3.4109e-6; 1.86 - 7.26s, -18.33 + 1.06s, 0.65 - 0.65s.
    EXPECT_TRUE(isNear(camera.position, {1.8599752, 2.0, -18.3299964}, 1e-5));
    EXPECT_TRUE(isNear(camera.direction, {0.6499978, 0.0, 1.0}, 1e-5));
}

// The flight as it should look, worked out independently of the flight's code: the eye and the unit
// view direction, rounded to two decimals. Each row is reached by the frames listed.
TEST_F(FlightTest, FollowsThePoseTable) {
    const struct {
        const char* when;
        std::vector<float> frames;
        glm::dvec3 eye;
        glm::dvec3 direction;
    } rows[] = {
        {"0 s, before any frame", {}, {1.86, 2.00, -18.33}, {0.54, 0.0, 0.84}},
        {"6 s", {6.0f}, {-0.70, 2.00, -17.96}, {0.39, 0.0, 0.92}},
        {"15 s", {15.0f}, {-5.40, 2.00, -17.27}, {0.0, 0.0, 1.0}},
        {"21 s", {21.0f}, {-6.02, 3.81, -11.40}, {0.78, -0.23, 0.58}},
        {"24 s", {24.0f}, {-6.33, 4.72, -8.46}, {0.94, -0.28, 0.21}},
        {"27 s", {27.0f}, {-3.23, 4.00, -8.30}, {0.63, -0.19, 0.75}},
        // The pause shows the pose of the frame before it, 1 ms short of 29 s.
        {"29.299 s, in the pause", {28.999f, 0.3f}, {-0.10, 3.20, -8.40}, {0.0, 0.0, 1.0}},
        {"30.3 s", {30.3f}, {-0.10, 3.20, -8.40}, {0.67, -0.33, 0.67}},
        {"32.3 s", {32.3f}, {-0.10, 3.20, -8.40}, {0.0, 0.0, 1.0}},
        {"33.3 s", {33.3f}, {-0.10, 3.20, -8.00}, {-0.24, -0.56, 0.80}},
        // At 34.5 s the flight ends where the frame before left it, so the end pose is only ever
        // seen just short of 34.5 s: here 1 ms short, and kept by the frame that crosses the end.
        {"34.499 s", {34.499f}, {3.60, 4.00, -10.40}, {-0.54, -0.31, 0.78}},
        {"34.999 s, after the end", {34.499f, 0.5f}, {3.60, 4.00, -10.40}, {-0.54, -0.31, 0.78}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.when);
        resetAppState();
        startFlight();
        for (float dt : row.frames) {
            updateFlight(dt);
        }
        EXPECT_TRUE(isNear(camera.position, row.eye, tableTolerance));
        EXPECT_TRUE(isNear(glm::vec3(unit(camera.direction)), row.direction, tableTolerance));
        expectViewMatchesPose();
    }
}

TEST_F(FlightTest, PoseFollowsTheKeyframesWithSmoothstep) {
    // s = u²(3 - 2u) of the fraction u of the segment; at u = 0.5 the pose is the midpoint of the
    // segment's keyframes.
    const struct {
        float t;
        glm::dvec3 position;
        glm::dvec3 direction;
    } poses[] = {
        // u = 0.25, s = 0.15625: 1.86 - 7.26s, -18.33 + 1.06s; 0.65 - 0.65s.
        {3.75f, {0.725625, 2.0, -18.164375}, {0.5484375, 0.0, 1.0}},
        // u = 0.5 of 0..15 s.
        {7.5f, {-1.77, 2.0, -17.8}, {0.325, 0.0, 1.0}},
        // u = 0.5 of 15..25 s.
        {20.0f, {-5.88, 3.4, -12.74}, {0.5, -0.15, 0.6}},
        // u = 0.5 of 25..29 s.
        {27.0f, {-3.23, 4.0, -8.305}, {0.5, -0.15, 0.6}},
        // u = 0.5 of 29.5..30.3 s: the eye stays put and turns.
        {29.9f, {-0.1, 3.2, -8.4}, {0.5, -0.25, 1.0}},
        // u = 0.5 of 30.3..32.3 s, turning back.
        {31.3f, {-0.1, 3.2, -8.4}, {0.5, -0.25, 1.0}},
        // u = 0.5 of 32.3..33.3 s.
        {32.8f, {-0.1, 3.2, -8.2}, {-0.15, -0.35, 1.0}},
        // u = 0.5 of 33.3..34.5 s.
        {33.9f, {1.75, 3.6, -9.2}, {-0.5, -0.55, 1.0}},
        // u = 11/12, s = 1694/1728 = 0.9803241: -0.1 + 3.7s, 3.2 + 0.8s, -8 - 2.4s;
        // -0.3 - 0.4s, -0.7 + 0.3s.
        {34.4f, {3.5271991, 3.9842593, -10.3527778}, {-0.6921296, -0.4059028, 1.0}},
    };
    // Single long frames: each lands at t directly (jumping the pause does not matter here).
    for (const auto& pose : poses) {
        SCOPED_TRACE(testing::Message() << "t = " << pose.t);
        resetAppState();
        startFlight();
        updateFlight(pose.t);

        ASSERT_EQ(camera.flightTime, pose.t);
        EXPECT_TRUE(camera.flightActive);
        EXPECT_TRUE(needsRedraw);
        EXPECT_TRUE(isNear(camera.position, pose.position, handTolerance));
        EXPECT_TRUE(isNear(camera.direction, pose.direction, handTolerance));
        expectViewMatchesPose();
    }
}

TEST_F(FlightTest, SegmentBoundariesLandOnTheKeyframes) {
    const struct {
        float t;
        glm::vec3 position;
        glm::vec3 direction;
    } boundaries[] = {
        {15.0f, {-5.4f, 2.0f, -17.27f}, {0.0f, 0.0f, 1.0f}},
        {25.0f, {-6.36f, 4.8f, -8.21f}, {1.0f, -0.3f, 0.2f}},
        {29.5f, lookoutPosition, {0.0f, 0.0f, 1.0f}},
        {30.3f, lookoutPosition, {1.0f, -0.5f, 1.0f}},
        {32.3f, lookoutPosition, {0.0f, 0.0f, 1.0f}},
        {33.3f, {-0.1f, 3.2f, -8.0f}, {-0.3f, -0.7f, 1.0f}},
    };
    for (const auto& boundary : boundaries) {
        SCOPED_TRACE(testing::Message() << "t = " << boundary.t);
        resetAppState();
        startFlight();
        updateFlight(boundary.t);
        EXPECT_EQ(camera.position, boundary.position);
        EXPECT_EQ(camera.direction, boundary.direction);
    }
}

TEST_F(FlightTest, LookAroundFromThePauseLastsThirtyPointThreeMinusTwentyNinePointFiveInFloat) {
    // 30.3f - 29.5f is 0.79999924, not 0.8, and 29.9f - 29.5f is 0.39999962, exactly half of it.
    ASSERT_NE(30.3f - 29.5f, 0.8f);
    ASSERT_EQ(29.9f - 29.5f, (30.3f - 29.5f) / 2.0f);

    startFlight();
    updateFlight(29.9f);
    ASSERT_EQ(camera.flightTime, 29.9f);
    // Turning from (0, 0, 1) to (1, -0.5, 1), direction.x is s itself. Over the float length
    // u = 0.5 and s = 0.5 exactly; over a plain 0.8, u = 0.49999952 and s = 0.49999928.
    EXPECT_EQ(camera.direction.x, 0.5f);
}

TEST_F(FlightTest, ThePauseCuesTheVolleyAndHoldsThePoseOfThePreviousFrame) {
    startFlight();
    updateFlight(28.9f);
    EXPECT_FALSE(camera.volleyCue);
    const Camera before = camera;
    // The last frame before the pause stops short of the lookout; the pause keeps that pose.
    ASSERT_NE(before.position, lookoutPosition);
    needsRedraw = false;

    updateFlight(0.3f);

    EXPECT_TRUE(camera.volleyCue);
    EXPECT_TRUE(camera.flightActive);
    EXPECT_TRUE(needsRedraw);
    EXPECT_EQ(camera.position, before.position);
    EXPECT_EQ(camera.direction, before.direction);
    EXPECT_TRUE(camera.view == before.view);
}

TEST_F(FlightTest, ThePauseBeginsAtTwentyNineSeconds) {
    startFlight();
    updateFlight(std::nextafter(29.0f, 0.0f));
    EXPECT_FALSE(camera.volleyCue);

    resetAppState();
    startFlight();
    updateFlight(29.0f);
    EXPECT_TRUE(camera.volleyCue);
    // No frame moved the camera before the pause, so it is still at the start pose.
    EXPECT_EQ(camera.position, startPosition);
}

TEST_F(FlightTest, TheCueStaysSetWhenTheFlightMovesOn) {
    startFlight();
    updateFlight(29.2f);
    updateFlight(0.7f);
    EXPECT_TRUE(camera.volleyCue);
    // 29.2f + 0.7f is within 2e-6 of 29.9 s: u = 0.5 of the look round, s = 0.5.
    EXPECT_TRUE(isNear(camera.direction, {0.5, -0.25, 1.0}, handTolerance));
}

// A slow machine must still reach the ending: a frame that lands past the pause moves the camera
// as its segment says and cues the volley as well.
TEST_F(FlightTest, AFrameThatJumpsOverThePauseStillCuesTheVolley) {
    startFlight();
    updateFlight(28.0f);
    EXPECT_FALSE(camera.volleyCue);
    updateFlight(2.0f);
    EXPECT_TRUE(camera.volleyCue);
    EXPECT_TRUE(camera.flightActive);
    // 30 s: u = 0.5 / 0.8 = 0.625, s = 0.390625 * 1.75 = 0.68359375; direction (s, -0.5s, 1).
    EXPECT_TRUE(isNear(camera.direction, {0.68359375, -0.341796875, 1.0}, handTolerance));
}

TEST_F(FlightTest, AFrameThatJumpsPastTheEndEndsTheFlightAndCuesTheVolley) {
    startFlight();
    updateFlight(28.0f);
    const Camera before = camera;

    updateFlight(7.0f);

    EXPECT_TRUE(camera.volleyCue);
    EXPECT_FALSE(camera.flightActive);
    EXPECT_EQ(camera.position, before.position);
    EXPECT_EQ(camera.direction, before.direction);
}

TEST_F(FlightTest, EveryFrameAtTwentyNineSecondsOrLaterCuesTheVolley) {
    // Frames of 0.8 s, as on a slow machine: 28.8 s, then 29.6 s, past the pause.
    startFlight();
    for (int frame = 0; frame < 36; ++frame) {
        updateFlight(0.8f);
    }
    ASSERT_LT(camera.flightTime, 29.0f);
    EXPECT_FALSE(camera.volleyCue);
    updateFlight(0.8f);
    EXPECT_TRUE(camera.volleyCue);
}

TEST_F(FlightTest, TheFrameThatCrossesTheEndStopsTheFlightWhereItWas) {
    startFlight();
    updateFlight(34.4f);
    const Camera before = camera;
    needsRedraw = false;

    updateFlight(0.2f);

    EXPECT_FALSE(camera.flightActive);
    EXPECT_TRUE(needsRedraw);
    EXPECT_EQ(camera.position, before.position);
    EXPECT_EQ(camera.direction, before.direction);
    EXPECT_NE(camera.position, lastKeyframePosition);

    needsRedraw = false;
    updateFlight(1.0f);
    EXPECT_EQ(camera.flightTime, 34.4f + 0.2f);
    EXPECT_FALSE(needsRedraw);
}

TEST_F(FlightTest, TheFlightEndsAtThirtyFourPointFiveSeconds) {
    startFlight();
    updateFlight(std::nextafter(34.5f, 0.0f));
    EXPECT_TRUE(camera.flightActive);

    resetAppState();
    startFlight();
    updateFlight(34.5f);
    EXPECT_FALSE(camera.flightActive);
    EXPECT_EQ(camera.position, startPosition);
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
