// The fire's flicker arithmetic: the colours and intervals drawn from rand(), the strict interval
// test, and how a long frame's excess time is carried over.
#include "app/Flicker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

struct Step {
    float interval;
    float green;
};

// What one flicker step should draw from the two rand() values it consumes, in single precision.
Step expectedStep(int intervalDraw, int greenDraw) {
    return {(static_cast<float>(intervalDraw % 40) * 0.25f + 8.0f) / 100.0f,
            (static_cast<float>(greenDraw % 40) * 0.25f + 23.0f) / 100.0f};
}

class FlickerTest : public ::testing::Test {
  protected:
    // The program never seeds rand(); srand(1) restores that documented start state, so each case
    // sees the sequence a fresh run sees.
    void SetUp() override { std::srand(1); }

    // The first `count` steps as a fresh run takes them; rand() is put back to its start state.
    static std::vector<Step> expectedSteps(int count) {
        std::srand(1);
        std::vector<Step> steps;
        for (int i = 0; i < count; ++i) {
            const int intervalDraw = std::rand();
            const int greenDraw = std::rand();
            steps.push_back(expectedStep(intervalDraw, greenDraw));
        }
        std::srand(1);
        return steps;
    }

    // The rand() value at 0-based position `index` of the start sequence; rand() is put back to
    // its start state.
    static int randAt(int index) {
        std::srand(1);
        int value = 0;
        for (int i = 0; i <= index; ++i) {
            value = std::rand();
        }
        std::srand(1);
        return value;
    }

    Flicker flicker;
};

TEST_F(FlickerTest, StartsWithTheFiresFirstColourAndATenthOfASecond) {
    EXPECT_EQ(flicker.color, glm::vec3(0.5f, 0.2f, 0.03f));
    EXPECT_EQ(flicker.interval, 0.1f);
    EXPECT_EQ(flicker.timer, 0.0f);
}

TEST_F(FlickerTest, EachStepDrawsTheIntervalThenTheGreenFromRand) {
    const std::vector<Step> expected = expectedSteps(4);
    // The first draws differ modulo 40, so swapping the two draws would show.
    ASSERT_NE(randAt(0) % 40, randAt(1) % 40);

    // Half a second per frame is longer than any interval, so every frame takes one step.
    float timer = 0.0f;
    float interval = 0.1f;
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(flicker.advance(0.5f));
        timer = timer + 0.5f - interval;
        interval = expected[i].interval;
        EXPECT_EQ(flicker.interval, expected[i].interval);
        EXPECT_EQ(flicker.color, glm::vec3(0.55f, expected[i].green, 0.03f));
        EXPECT_EQ(flicker.timer, timer);
        EXPECT_GE(flicker.interval, 0.08f);
        EXPECT_LE(flicker.interval, 0.1775f);
        EXPECT_GE(flicker.color.g, 0.23f);
        EXPECT_LE(flicker.color.g, 0.3275f);
    }
    // Exactly two draws per step: the next value is the ninth of the sequence.
    const int next = std::rand();
    EXPECT_EQ(next, randAt(8));
}

TEST_F(FlickerTest, TheDrawnIntervalDecidesWhenTheNextStepComes) {
    const std::vector<Step> expected = expectedSteps(3);
    // 1/1024 s frames: exact in binary, so the frame count of each interval is predictable.
    const float dt = 1.0f / 1024.0f;
    float timer = 0.0f;
    float interval = 0.1f;
    for (size_t step = 0; step < expected.size(); ++step) {
        SCOPED_TRACE(step);
        int expectedFrames = 0;
        do {
            timer += dt;
            ++expectedFrames;
        } while (!(timer > interval));
        timer -= interval;
        interval = expected[step].interval;

        int frames = 1;
        while (!flicker.advance(dt)) {
            ++frames;
            ASSERT_LT(frames, 1000) << "no step within a second";
        }
        EXPECT_EQ(frames, expectedFrames);
        EXPECT_EQ(flicker.color.g, expected[step].green);
    }
}

TEST_F(FlickerTest, AFrameExactlyAsLongAsTheRemainingIntervalDoesNotStep) {
    // The start interval: a frame of exactly 0.1f brings the timer to the interval, not past it.
    EXPECT_FALSE(flicker.advance(0.1f));
    EXPECT_EQ(flicker.timer, 0.1f);
    EXPECT_EQ(flicker.color, glm::vec3(0.5f, 0.2f, 0.03f));
    EXPECT_EQ(flicker.interval, 0.1f);
    const int next = std::rand();
    EXPECT_EQ(next, randAt(0)) << "no rand() value is consumed without a step";

    // Two frames that add up exactly to the remaining interval (all values exact in binary).
    Flicker split;
    split.interval = 0.25f;
    EXPECT_FALSE(split.advance(0.125f));
    EXPECT_FALSE(split.advance(0.125f));
    EXPECT_EQ(split.timer, 0.25f);
    // The least bit more does step, and leaves only that bit.
    const float tiny = 1.0f / 65536.0f;
    EXPECT_TRUE(split.advance(tiny));
    EXPECT_EQ(split.timer, tiny);
    EXPECT_EQ(split.interval, expectedSteps(1)[0].interval);
}

TEST_F(FlickerTest, ALongFrameStepsOnceAndTheExcessStepsTheFollowingFrames) {
    const std::vector<Step> expected = expectedSteps(20);

    // One second is about ten intervals, but a frame takes one step at most.
    EXPECT_TRUE(flicker.advance(1.0f));
    EXPECT_EQ(flicker.timer, 1.0f - 0.1f);
    EXPECT_EQ(flicker.interval, expected[0].interval);
    const int next = std::rand();
    EXPECT_EQ(next, randAt(2)) << "one step, two draws";
    // Back to where the flicker left rand(): two values drawn.
    std::rand();
    std::rand();

    // Empty frames use up the excess, one step each, until the timer is at or below the interval.
    float timer = 1.0f - 0.1f;
    size_t steps = 1;
    while (timer > expected[steps - 1].interval) {
        timer -= expected[steps - 1].interval;
        ++steps;
        ASSERT_LT(steps, expected.size());
    }
    ASSERT_GT(steps, 4u) << "the excess should be worth several steps";
    for (size_t i = 1; i < steps; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(flicker.advance(0.0f));
        EXPECT_EQ(flicker.interval, expected[i].interval);
        EXPECT_EQ(flicker.color.g, expected[i].green);
    }
    EXPECT_FALSE(flicker.advance(0.0f));
    EXPECT_EQ(flicker.timer, timer);
    EXPECT_LE(flicker.timer, flicker.interval);
}

} // namespace
