// The volley's timing frame by frame: which arrow moves and is drawn, the pauses between arrows,
// the stop tests, and the sequence's nominal length.
#include "scene/VolleyTimeline.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {

// The three model matrices as the arrows hold them: the volley starts from the identity.
class VolleyTimelineTest : public ::testing::Test {
  protected:
    int advance(float dt) { return timeline.advance({&models[0], &models[1], &models[2]}, dt); }
    float z(int arrow) const { return models[arrow][3][2]; }

    VolleyTimeline timeline;
    glm::mat4 models[3] = {glm::mat4(1.0f), glm::mat4(1.0f), glm::mat4(1.0f)};
};

TEST_F(VolleyTimelineTest, AFrameMovesOnlyTheArrowInFlightTenUnitsPerSecondAlongWorldMinusZ) {
    // A turned and shifted arrow: the step is a world-space translation, applied on the left.
    const glm::mat4 turned = glm::translate(glm::mat4(1.0f), glm::vec3(1.0f, 2.0f, 3.0f)) *
                             glm::rotate(glm::mat4(1.0f), 1.0f, glm::vec3(0.0f, 1.0f, 0.0f));
    models[0] = turned;
    EXPECT_EQ(advance(0.125f), 0);
    glm::mat4 expected = turned;
    expected[3][2] = 3.0f - 1.25f;
    EXPECT_EQ(models[0], expected);
    EXPECT_EQ(models[1], glm::mat4(1.0f));
    EXPECT_EQ(models[2], glm::mat4(1.0f));
    EXPECT_EQ(timeline.timer, 0.0f) << "the timer stays 0 while arrow 1 flies";
}

// 1/8 s frames: every position and timer value below is exact in binary.
TEST_F(VolleyTimelineTest, WholeSequenceFrameByFrame) {
    const float dt = 0.125f;
    // Arrow 1: 20 frames of 1.25 units bring it exactly to -25, which still counts as flying
    // before the move.
    for (int frame = 1; frame <= 20; ++frame) {
        SCOPED_TRACE(frame);
        ASSERT_EQ(advance(dt), 0);
        EXPECT_EQ(z(0), -1.25f * static_cast<float>(frame));
        EXPECT_EQ(timeline.currentArrow(), 0);
    }
    EXPECT_FALSE(timeline.firstLanded);

    // The frame in which arrow 1 stops draws nothing, and already counts towards the pause.
    EXPECT_EQ(advance(dt), -1);
    EXPECT_TRUE(timeline.firstLanded);
    EXPECT_EQ(z(0), -25.0f);
    EXPECT_EQ(timeline.timer, 0.125f);
    EXPECT_EQ(timeline.currentArrow(), 1);

    // The pause: the frame in which the timer reaches 0.5 only adds to it.
    for (const float timer : {0.25f, 0.375f, 0.5f}) {
        SCOPED_TRACE(timer);
        EXPECT_EQ(advance(dt), -1);
        EXPECT_EQ(timeline.timer, timer);
        EXPECT_EQ(z(1), 0.0f);
        EXPECT_EQ(timeline.currentArrow(), 1);
    }

    // Arrow 2 moves from the next frame on; the timer is left alone while it flies.
    for (int frame = 1; frame <= 20; ++frame) {
        SCOPED_TRACE(frame);
        ASSERT_EQ(advance(dt), 1);
        EXPECT_EQ(z(1), -1.25f * static_cast<float>(frame));
        EXPECT_EQ(timeline.timer, 0.5f);
    }
    EXPECT_EQ(z(0), -25.0f) << "a landed arrow stays where it stopped";
    EXPECT_EQ(models[2], glm::mat4(1.0f));

    // Arrow 2 stops: the timer restarts from 0, and the same frame already counts towards the
    // second pause (otherwise arrow 3 would start at once).
    EXPECT_EQ(advance(dt), -1);
    EXPECT_TRUE(timeline.secondLanded);
    EXPECT_EQ(timeline.timer, 0.125f);
    EXPECT_EQ(z(2), 0.0f);
    EXPECT_EQ(timeline.currentArrow(), 2);
    for (const float timer : {0.25f, 0.375f, 0.5f}) {
        SCOPED_TRACE(timer);
        EXPECT_EQ(advance(dt), -1);
        EXPECT_EQ(timeline.timer, timer);
        EXPECT_EQ(z(2), 0.0f);
    }

    // Arrow 3 flies while z > -7.1: six moves reach -7.5.
    for (int frame = 1; frame <= 6; ++frame) {
        SCOPED_TRACE(frame);
        ASSERT_EQ(advance(dt), 2);
        EXPECT_EQ(z(2), -1.25f * static_cast<float>(frame));
        EXPECT_FALSE(timeline.finished);
        EXPECT_EQ(timeline.currentArrow(), 2);
    }
    // Its last frame draws it where it stuck, without moving it, and ends the volley.
    EXPECT_EQ(advance(dt), 2);
    EXPECT_EQ(z(2), -7.5f);
    EXPECT_TRUE(timeline.finished);
    EXPECT_EQ(timeline.currentArrow(), 2);
    EXPECT_EQ(z(0), -25.0f);
    EXPECT_EQ(z(1), -25.0f);
    // The nominal length, from which a run's length is known before it is rendered.
    EXPECT_NEAR(timeline.steadyDuration(), 2.5 + 0.5 + 2.5 + 0.5 + 0.71, 1e-5);
}

TEST_F(VolleyTimelineTest, ArrowThreeStopTestIsInDoublePrecision) {
    timeline.firstLanded = true;
    timeline.secondLanded = true;
    timeline.timer = 0.5f;
    // The float nearest -7.1 lies just above it: in double precision the arrow still flies.
    const float nearest = -7.1f;
    ASSERT_GT(static_cast<double>(nearest), -7.1);
    models[2][3][2] = nearest;
    EXPECT_EQ(advance(0.125f), 2);
    EXPECT_FALSE(timeline.finished);
    EXPECT_EQ(z(2), nearest - 1.25f);
    EXPECT_EQ(advance(0.125f), 2);
    EXPECT_TRUE(timeline.finished);
    EXPECT_EQ(z(2), nearest - 1.25f);
}

TEST_F(VolleyTimelineTest, ALongFrameMovesTheWholeStepPastTheStop) {
    EXPECT_EQ(advance(3.0f), 0);
    EXPECT_EQ(z(0), -30.0f) << "not clamped to -25";
    EXPECT_EQ(advance(3.0f), -1);
    EXPECT_TRUE(timeline.firstLanded);
    EXPECT_EQ(z(0), -30.0f);
    EXPECT_EQ(timeline.timer, 3.0f) << "a long stop frame can cover the whole pause";
    EXPECT_EQ(advance(3.0f), 1);
    EXPECT_EQ(z(1), -30.0f);

    timeline.secondLanded = true;
    timeline.timer = 0.5f;
    EXPECT_EQ(advance(1.0f), 2);
    EXPECT_EQ(z(2), -10.0f) << "not clamped to -7.1";
    EXPECT_FALSE(timeline.finished);
    EXPECT_EQ(advance(1.0f), 2);
    EXPECT_TRUE(timeline.finished);
    EXPECT_EQ(z(2), -10.0f);
}

} // namespace
