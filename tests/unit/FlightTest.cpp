// The scripted camera flight: poses along the keyframes, the pause that cues the volley, the end,
// and how the keys interrupt it.
#include "app/Flight.h"
#include "unit/AppStateTest.h"
#include "unit/VectorExpectations.h"

#include <GLFW/glfw3.h>

#include <cmath>

namespace {

struct ReferencePose {
    glm::dvec3 position;
    glm::dvec3 direction;
};

const ReferencePose k0{{1.86, 2.0, -18.33}, {0.65, 0.0, 1.0}};
const ReferencePose k1{{-5.4, 2.0, -17.27}, {0.0, 0.0, 1.0}};
const ReferencePose k2{{-6.36, 4.8, -8.21}, {1.0, -0.3, 0.2}};
const ReferencePose k3{{-0.1, 3.2, -8.4}, {0.0, 0.0, 1.0}};
const ReferencePose k4{{-0.1, 3.2, -8.4}, {1.0, -0.5, 1.0}};
const ReferencePose k5{{-0.1, 3.2, -8.4}, {0.0, 0.0, 1.0}};
const ReferencePose k6{{-0.1, 3.2, -8.0}, {-0.3, -0.7, 1.0}};
const ReferencePose k7{{3.6, 4.0, -10.4}, {-0.7, -0.4, 1.0}};

// The pose the flight should show at time t, in double precision; not meant for the pause.
ReferencePose referencePose(double t) {
    struct Span {
        double start, end;
        const ReferencePose& from;
        const ReferencePose& to;
    };
    const Span spans[] = {{0.0, 15.0, k0, k1},  {15.0, 25.0, k1, k2}, {25.0, 29.0, k2, k3},
                          {29.5, 30.3, k3, k4}, {30.3, 32.3, k4, k5}, {32.3, 33.3, k5, k6},
                          {33.3, 34.5, k6, k7}};
    for (const Span& span : spans) {
        if (t < span.end) {
            const double u =
                std::fmin(std::fmax((t - span.start) / (span.end - span.start), 0.0), 1.0);
            const double s = u * u * (3.0 - 2.0 * u);
            return {span.from.position + s * (span.to.position - span.from.position),
                    span.from.direction + s * (span.to.direction - span.from.direction)};
        }
    }
    return k7;
}

glm::vec3 toFloat(const glm::dvec3& v) {
    return glm::vec3(v);
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

TEST_F(FlightTest, TheFrameThatStartsTheFlightAlsoAdvancesIt) {
    const float dt = 0.016f;
    press(GLFW_KEY_C);
    updateFlight(dt);

    EXPECT_EQ(camera.flightTime, dt);
    EXPECT_NE(camera.position, toFloat(k0.position));
    EXPECT_TRUE(isNear(camera.position, referencePose(dt).position, 1e-5));
    EXPECT_TRUE(isNear(camera.direction, referencePose(dt).direction, 1e-5));
}

TEST_F(FlightTest, PoseFollowsTheKeyframesWithSmoothstep) {
    // Single long frames: each lands at t directly (jumping the pause does not matter here).
    for (float t : {7.5f, 15.0f, 20.0f, 27.0f, 29.9f, 31.3f, 32.8f, 33.9f, 34.4f}) {
        SCOPED_TRACE(testing::Message() << "t = " << t);
        resetAppState();
        startFlight();
        updateFlight(t);

        ASSERT_EQ(camera.flightTime, t);
        EXPECT_TRUE(camera.flightActive);
        EXPECT_TRUE(needsRedraw);
        const ReferencePose expected = referencePose(t);
        EXPECT_TRUE(isNear(camera.position, expected.position, 1e-5));
        EXPECT_TRUE(isNear(camera.direction, expected.direction, 1e-5));
        expectViewMatchesPose();
    }
}

TEST_F(FlightTest, SegmentBoundariesLandOnTheKeyframes) {
    const struct {
        float t;
        const ReferencePose& pose;
    } boundaries[] = {{15.0f, k1}, {25.0f, k2}, {29.5f, k3}, {30.3f, k4}, {32.3f, k5}, {33.3f, k6}};
    for (const auto& boundary : boundaries) {
        SCOPED_TRACE(testing::Message() << "t = " << boundary.t);
        resetAppState();
        startFlight();
        updateFlight(boundary.t);
        EXPECT_EQ(camera.position, toFloat(boundary.pose.position));
        EXPECT_EQ(camera.direction, toFloat(boundary.pose.direction));
    }
}

TEST_F(FlightTest, LookAroundFromThePauseLastsThirtyPointThreeMinusTwentyNinePointFiveInFloat) {
    const auto sAt = [](float t, float length) {
        const float u = glm::clamp((t - 29.5f) / length, 0.0f, 1.0f);
        return u * u * (3.0f - 2.0f * u);
    };
    const float floatLength = 30.3f - 29.5f;
    ASSERT_NE(floatLength, 0.8f);

    // A time at which the float length and a plain 0.8 give different poses.
    float t = 29.9f;
    while (t < 30.2f && sAt(t, floatLength) == sAt(t, 0.8f)) {
        t = std::nextafter(t, 31.0f);
    }
    ASSERT_NE(sAt(t, floatLength), sAt(t, 0.8f));

    startFlight();
    updateFlight(t);
    ASSERT_EQ(camera.flightTime, t);
    // k3 to k4 turns direction from (0, 0, 1) to (1, -0.5, 1): its x is s itself.
    EXPECT_EQ(camera.direction.x, sAt(t, floatLength));
}

TEST_F(FlightTest, ThePauseCuesTheVolleyAndHoldsThePoseOfThePreviousFrame) {
    startFlight();
    updateFlight(28.9f);
    EXPECT_FALSE(camera.volleyCue);
    const Camera before = camera;
    // The last frame before the pause stops short of k3; the pause keeps that pose, not k3.
    ASSERT_NE(before.position, toFloat(k3.position));
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
    EXPECT_EQ(camera.position, toFloat(k0.position));
}

TEST_F(FlightTest, TheCueStaysSetWhenTheFlightMovesOn) {
    startFlight();
    updateFlight(29.2f);
    updateFlight(0.7f);
    EXPECT_TRUE(camera.volleyCue);
    EXPECT_TRUE(isNear(camera.direction, referencePose(camera.flightTime).direction, 1e-5));
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
    EXPECT_TRUE(isNear(camera.direction, referencePose(30.0).direction, 1e-5));
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
    EXPECT_NE(camera.position, toFloat(k7.position));

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
    EXPECT_EQ(camera.position, toFloat(k0.position));
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
