// Keyboard handling: which key acts when several are held, and what each key does.
#include "app/Controls.h"
#include "app/Flight.h"
#include "app/ScriptedKeys.h"
#include "unit/AppStateTest.h"
#include "unit/VectorExpectations.h"

#include <GLFW/glfw3.h>

#include <cmath>
#include <iterator>
#include <set>

namespace {

// Every key the controls read, in the order they are tested.
const int keysInOrder[] = {GLFW_KEY_ESCAPE, GLFW_KEY_DOWN, GLFW_KEY_UP,   GLFW_KEY_RIGHT,
                           GLFW_KEY_LEFT,   GLFW_KEY_B,    GLFW_KEY_F,    GLFW_KEY_R,
                           GLFW_KEY_T,      GLFW_KEY_C,    GLFW_KEY_SPACE};

// Everything a key can change.
struct Outcome {
    Camera camera;
    bool needsRedraw;
    bool bloomEnabled;
    bool sequenceStarted;
    bool closeRequested;

    bool operator==(const Outcome& o) const {
        return camera.position == o.camera.position && camera.direction == o.camera.direction &&
               camera.up == o.camera.up && camera.right == o.camera.right &&
               camera.verticalAxis == o.camera.verticalAxis && camera.view == o.camera.view &&
               camera.flightActive == o.camera.flightActive &&
               camera.volleyCue == o.camera.volleyCue && camera.flightTime == o.camera.flightTime &&
               needsRedraw == o.needsRedraw && bloomEnabled == o.bloomEnabled &&
               sequenceStarted == o.sequenceStarted && closeRequested == o.closeRequested;
    }
};

class ControlsTest : public AppStateTest {
  protected:
    // One frame's key handling from the start state with the given keys held.
    static Outcome outcomeOfHolding(const std::set<int>& held) {
        resetAppState();
        ScriptedKeys keys;
        keys.held = held;
        handleKeys(keys);
        return {camera, needsRedraw, bloomEnabled, sequenceStarted, keys.closeRequested};
    }
};

TEST_F(ControlsTest, NoKeyDoesNothingAndEscapeOnlyAsksTheWindowToClose) {
    Outcome expected{camera, needsRedraw, bloomEnabled, sequenceStarted, false};
    EXPECT_TRUE(outcomeOfHolding({}) == expected);
    expected.closeRequested = true;
    EXPECT_TRUE(outcomeOfHolding({GLFW_KEY_ESCAPE}) == expected);
}

TEST_F(ControlsTest, EveryKeyActsAloneAndHidesTheKeysAfterIt) {
    const Outcome idle = outcomeOfHolding({});
    for (auto first = std::begin(keysInOrder); first != std::end(keysInOrder); ++first) {
        SCOPED_TRACE(testing::Message() << "first held key " << *first);
        const Outcome alone = outcomeOfHolding({*first});
        EXPECT_FALSE(alone == idle);
        EXPECT_TRUE(outcomeOfHolding(std::set<int>(first, std::end(keysInOrder))) == alone);
    }
}

TEST_F(ControlsTest, MoveKeysStepOneTenthAlongTheirAxesAndStopTheFlight) {
    struct Case {
        int key;
        glm::dvec3 step;
    };
    // From the start pose; Right and Left follow the reversed start value of right.
    const Case cases[] = {
        {GLFW_KEY_DOWN, {0.0, -0.1, 0.0}},  {GLFW_KEY_UP, {0.0, 0.1, 0.0}},
        {GLFW_KEY_RIGHT, {-0.1, 0.0, 0.0}}, {GLFW_KEY_LEFT, {0.1, 0.0, 0.0}},
        {GLFW_KEY_B, {0.0, 0.0, 0.1}},      {GLFW_KEY_F, {0.0, 0.0, -0.1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << c.key);
        resetAppState();
        camera.flightActive = true;
        press(c.key);

        EXPECT_TRUE(isNear(camera.position, glm::dvec3(0.0, 0.0, -24.0) + c.step, 1e-6));
        EXPECT_TRUE(needsRedraw);
        EXPECT_FALSE(camera.flightActive);
        const glm::vec4 eye = camera.view * glm::vec4(camera.position, 1.0f);
        EXPECT_TRUE(isNear(glm::vec3(eye), {0.0, 0.0, 0.0}, 1e-5));
    }
}

TEST_F(ControlsTest, RightMovesTowardsPlusXOnceATurnHasReplacedRight) {
    press(GLFW_KEY_R);
    press(GLFW_KEY_RIGHT);
    const double oneDegree = std::acos(-1.0) / 180.0;
    EXPECT_TRUE(isNear(camera.position,
                       {0.1 * std::cos(oneDegree), 0.0, -24.0 + 0.1 * std::sin(oneDegree)}, 1e-6));
}

TEST_F(ControlsTest, MovesUseTheAxisAsStoredWithoutNormalising) {
    camera.direction = {0.65f, 0.0f, 1.0f};
    press(GLFW_KEY_F);
    EXPECT_TRUE(isNear(camera.position, {0.065, 0.0, -23.9}, 1e-6));
}

TEST_F(ControlsTest, AHeldKeyActsInEveryFrame) {
    for (int frame = 0; frame < 3; ++frame) {
        press(GLFW_KEY_UP);
    }
    EXPECT_TRUE(isNear(camera.position, {0.0, 0.3, -24.0}, 1e-6));
}

TEST_F(ControlsTest, TurnKeysRedrawAndStopTheFlight) {
    for (int key : {GLFW_KEY_R, GLFW_KEY_T}) {
        SCOPED_TRACE(testing::Message() << "key " << key);
        resetAppState();
        camera.flightActive = true;
        press(key);
        EXPECT_TRUE(needsRedraw);
        EXPECT_FALSE(camera.flightActive);
        EXPECT_EQ(camera.position, glm::vec3(0.0f, 0.0f, -24.0f));
    }
    // R turns the positive way, which from the start is towards +x.
    EXPECT_GT(outcomeOfHolding({GLFW_KEY_R}).camera.direction.x, 0.0f);
}

TEST_F(ControlsTest, CStartsTheFlightAtItsFirstPoseAlsoAfterACancelledOne) {
    camera.right = {0.0f, 0.0f, 2.0f};
    camera.volleyCue = true;
    camera.flightTime = 12.0f;
    press(GLFW_KEY_C);

    EXPECT_TRUE(camera.flightActive);
    EXPECT_EQ(camera.flightTime, 0.0f);
    EXPECT_EQ(camera.position, glm::vec3(1.86f, 2.0f, -18.33f));
    EXPECT_EQ(camera.right, glm::vec3(0.0f, 0.0f, 2.0f));
    EXPECT_EQ(camera.up, glm::vec3(0.0f, 1.0f, 0.0f));
    EXPECT_TRUE(camera.volleyCue);
    EXPECT_TRUE(sequenceStarted);
    EXPECT_TRUE(needsRedraw);

    // Again after the flight was cancelled part of the way.
    updateFlight(5.0f);
    press(GLFW_KEY_B);
    ASSERT_FALSE(camera.flightActive);
    press(GLFW_KEY_C);
    EXPECT_TRUE(camera.flightActive);
    EXPECT_EQ(camera.flightTime, 0.0f);
    EXPECT_EQ(camera.position, glm::vec3(1.86f, 2.0f, -18.33f));
}

TEST_F(ControlsTest, CDuringTheFlightNeitherRestartsNorResetsIt) {
    startFlight();
    updateFlight(5.0f);
    const Camera inFlight = camera;
    needsRedraw = false;

    press(GLFW_KEY_C);

    EXPECT_TRUE(camera.flightActive);
    EXPECT_EQ(camera.flightTime, 5.0f);
    EXPECT_EQ(camera.position, inFlight.position);
    EXPECT_EQ(camera.direction, inFlight.direction);
    EXPECT_TRUE(sequenceStarted);
    EXPECT_TRUE(needsRedraw);
}

TEST_F(ControlsTest, SpaceTogglesBloomInEveryFrameWithoutARedraw) {
    press(GLFW_KEY_SPACE);
    EXPECT_FALSE(bloomEnabled);
    EXPECT_FALSE(needsRedraw);
    press(GLFW_KEY_SPACE);
    EXPECT_TRUE(bloomEnabled);
    EXPECT_FALSE(needsRedraw);
}

TEST_F(ControlsTest, EscapeAndSpaceLeaveARunningFlightRunning) {
    for (int key : {GLFW_KEY_ESCAPE, GLFW_KEY_SPACE}) {
        SCOPED_TRACE(testing::Message() << "key " << key);
        resetAppState();
        startFlight();
        press(key);
        EXPECT_TRUE(camera.flightActive);
    }
}

} // namespace
