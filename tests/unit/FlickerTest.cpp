// The fire's flicker arithmetic: the colours and intervals drawn from rand(), the strict interval
// test, and how a long frame's excess time is carried over.
#include "app/Flicker.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The start of the sequence an unseeded glibc rand() returns, as every run of the program sees it.
// Each flicker step takes two values, interval first, then green:
//   interval = (r1 % 40 * 0.25 + 8) / 100, green = (r2 % 40 * 0.25 + 23) / 100.
// The steps below are worked out by hand from these values.
constexpr int randAtStart[] = {
    1804289383, 846930886,  1681692777, 1714636915, 1957747793, 424238335,  719885386,  1649760492,
    596516649,  1189641421, 1025202362, 1350490027, 783368690,  1102520059, 2044897763, 1967513926};

struct Step {
    float interval;
    float green;
};

// clang-format off
constexpr Step steps[] = {
    {0.1375f, 0.245f},  // 1804289383 % 40 = 23: 13.75 / 100;  846930886 % 40 = 6: 24.5 / 100
    {0.1225f, 0.3175f}, // 1681692777 % 40 = 17: 12.25 / 100; 1714636915 % 40 = 35: 31.75 / 100
    {0.1625f, 0.2675f}, // 1957747793 % 40 = 33: 16.25 / 100;  424238335 % 40 = 15: 26.75 / 100
    {0.145f, 0.26f},    //  719885386 % 40 = 26: 14.5 / 100;  1649760492 % 40 = 12: 26 / 100
    {0.1025f, 0.2825f}, //  596516649 % 40 = 9: 10.25 / 100;  1189641421 % 40 = 21: 28.25 / 100
    {0.085f, 0.2975f},  // 1025202362 % 40 = 2: 8.5 / 100;    1350490027 % 40 = 27: 29.75 / 100
    {0.105f, 0.2775f},  //  783368690 % 40 = 10: 10.5 / 100;  1102520059 % 40 = 19: 27.75 / 100
    {0.0875f, 0.245f},  // 2044897763 % 40 = 3: 8.75 / 100;   1967513926 % 40 = 6: 24.5 / 100
};
// clang-format on

class FlickerTest : public ::testing::Test {
  protected:
    // The program never seeds rand(); srand(1) restores that documented start state, so each case
    // sees the sequence a fresh run sees.
    void SetUp() override { std::srand(1); }

    Flicker flicker;
};

TEST_F(FlickerTest, TheCLibraryStartsRandWhereTheseCasesExpect) {
    for (int value : randAtStart) {
        EXPECT_EQ(std::rand(), value);
    }
}

TEST_F(FlickerTest, StartsWithTheFiresFirstColourAndATenthOfASecond) {
    EXPECT_EQ(flicker.color, glm::vec3(0.5f, 0.2f, 0.03f));
    EXPECT_EQ(flicker.interval, 0.1f);
    EXPECT_EQ(flicker.timer, 0.0f);
}

TEST_F(FlickerTest, EachStepDrawsTheIntervalThenTheGreenFromRand) {
    // Were the two draws swapped, the first step would take interval 0.095 and green 0.2875.
    // Half a second per frame is longer than any interval, so every frame takes one step; the
    // timer keeps what is left after the interval: 0.5 - 0.1, then + 0.5 - 0.1375, and so on.
    const float timers[] = {0.4f, 0.7625f, 1.14f, 1.4775f};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(flicker.advance(0.5f));
        EXPECT_EQ(flicker.interval, steps[i].interval);
        EXPECT_EQ(flicker.color, glm::vec3(0.55f, steps[i].green, 0.03f));
        // Sums of floats, so within a few float steps of the decimal value.
        EXPECT_NEAR(flicker.timer, timers[i], 1e-6);
    }
    // Exactly two draws per step: the next value is the ninth of the sequence.
    EXPECT_EQ(std::rand(), randAtStart[8]);
}

TEST_F(FlickerTest, TheDrawnIntervalDecidesWhenTheNextStepComes) {
    // 1/1024 s frames: exact in binary, so the frame count of each interval is predictable.
    // Counting in 1024ths of a second, a step comes on the first frame that takes the timer past
    // 1024 * interval, and the excess stays:
    //   0.1 s    = 102.4:  103 frames, 0.6 left;
    //   0.1375 s = 140.8:  0.6 + 141 = 141.6, 0.8 left;
    //   0.1225 s = 125.44: 0.8 + 125 = 125.8.
    const float dt = 1.0f / 1024.0f;
    const int expectedFrames[] = {103, 141, 125};
    for (int step = 0; step < 3; ++step) {
        SCOPED_TRACE(step);
        int frames = 1;
        while (!flicker.advance(dt)) {
            ++frames;
            ASSERT_LT(frames, 1000) << "no step within a second";
        }
        EXPECT_EQ(frames, expectedFrames[step]);
        EXPECT_EQ(flicker.color.g, steps[step].green);
    }
}

TEST_F(FlickerTest, AFrameExactlyAsLongAsTheRemainingIntervalDoesNotStep) {
    // The start interval: a frame of exactly 0.1f brings the timer to the interval, not past it.
    EXPECT_FALSE(flicker.advance(0.1f));
    EXPECT_EQ(flicker.timer, 0.1f);
    EXPECT_EQ(flicker.color, glm::vec3(0.5f, 0.2f, 0.03f));
    EXPECT_EQ(flicker.interval, 0.1f);
    EXPECT_EQ(std::rand(), randAtStart[0]) << "no rand() value is consumed without a step";
    std::srand(1);

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
    EXPECT_EQ(split.interval, 0.1375f);
}

TEST_F(FlickerTest, ALongFrameStepsOnceAndTheExcessStepsTheFollowingFrames) {
    // One second is about ten intervals, but a frame takes one step at most.
    EXPECT_TRUE(flicker.advance(1.0f));
    EXPECT_EQ(flicker.timer, 1.0f - 0.1f);
    EXPECT_EQ(flicker.interval, steps[0].interval);
    EXPECT_EQ(std::rand(), randAtStart[2]) << "one step, two draws";
    // Back to where the flicker left rand(): two values drawn.
    std::srand(1);
    std::rand();
    std::rand();

    // Empty frames use up the excess, one step each, until the timer is at or below the interval:
    // 0.9 - 0.1375 = 0.7625, - 0.1225 = 0.64, - 0.1625 = 0.4775, - 0.145 = 0.3325,
    // - 0.1025 = 0.23, - 0.085 = 0.145, - 0.105 = 0.04, which is not past 0.0875: seven more steps.
    for (int i = 1; i <= 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(flicker.advance(0.0f));
        EXPECT_EQ(flicker.interval, steps[i].interval);
        EXPECT_EQ(flicker.color.g, steps[i].green);
    }
    EXPECT_FALSE(flicker.advance(0.0f));
    EXPECT_NEAR(flicker.timer, 0.04f, 1e-6);
    EXPECT_EQ(flicker.interval, 0.0875f);
}

} // namespace
