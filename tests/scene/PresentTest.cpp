// The demo from its first frame to black, driven through the frame code with a fixed time step
// and scripted keys. The cases share one set-up and run in the order written: each goes on from
// where the one before left the demo.
#include "app/Camera.h"
#include "app/Frame.h"
#include "app/Globals.h"
#include "app/OffscreenWindow.h"
#include "app/ScriptedKeys.h"
#include "scene/Arrow.h"
#include "scene/ArrowVolley.h"
#include "support/ImageCompare.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Every frame of the run is a full redraw, so a coarse step keeps the run short; 0.1 s still
// lands inside the flight's half-second pause.
constexpr float runStep = 0.1f;

// Pixels that differ between a frame and the same frame without the arrow in flight.
int pixelsShowingTheCurrentArrow(const Picture& withArrow) {
    Arrow* arrow = arrowVolley->currentArrow();
    const glm::mat4 placed = arrow->modelMatrix;
    arrow->modelMatrix[3][1] += 1000.0f; // far above the room: out of view and out of shadow
    ScriptedKeys noKeys;
    needsRedraw = true;
    runFrame(noKeys, 0.0f); // a zero step redraws the same moment
    arrow->modelMatrix = placed;
    const Picture without = readWindowPixels();
    int differing = 0;
    for (size_t i = 0; i + 2 < withArrow.rgb.size(); i += 3) {
        if (withArrow.rgb[i] != without.rgb[i] || withArrow.rgb[i + 1] != without.rgb[i + 1] ||
            withArrow.rgb[i + 2] != without.rgb[i + 2]) {
            ++differing;
        }
    }
    return differing;
}

// What the window presents after a frame that does not redraw, on a desktop where the back buffer
// is undefined after a swap: the swap, then the back buffer painted a colour no frame of the demo
// has (pure magenta), then the frame.
Picture presentedAfterGarbage(ScriptedKeys& keys) {
    glfwSwapBuffers(glfwGetCurrentContext());
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    runFrame(keys, 1.0f / 30.0f);
    return readWindowPixels();
}

void expectSamePicture(const Picture& presented, const Picture& expected, const char* what) {
    const ImageDifference difference = compareImages(presented, expected);
    ASSERT_TRUE(difference.sameSize);
    if (difference.maxDifference != 0) {
        const std::string folder = writeFailureImages(what, presented, expected);
        ADD_FAILURE() << what << ": the idle frame presents another picture than the last redraw"
                      << " (max " << difference.maxDifference << ", mean "
                      << difference.meanDifference << "); pictures in " << folder;
    }
}

bool allBlack(const Picture& picture) {
    return std::all_of(picture.rgb.begin(), picture.rgb.end(),
                       [](unsigned char channel) { return channel == 0; });
}

TEST(DemoRunTest, FirstFrameMatchesTheStartViewPicture) {
    ScriptedKeys noKeys;
    runFrame(noKeys, 1.0f / 30.0f);
    const Picture actual = readWindowPixels();

    const std::string referencePath =
        std::string(QUIVERFALL_SOURCE_DIR) + "/tests/reference/start_view.png";
    const Picture reference = loadPng(referencePath);
    ASSERT_FALSE(reference.rgb.empty()) << "missing reference picture " << referencePath;

    const ImageDifference difference = compareImages(actual, reference);
    if (!withinReferenceThresholds(difference)) {
        const std::string folder = writeFailureImages("start_view", actual, reference);
        ADD_FAILURE() << "start view differs from " << referencePath << ": max "
                      << difference.maxDifference << ", mean " << difference.meanDifference
                      << "; actual and difference pictures are in " << folder;
    }
}

TEST(DemoRunTest, AnIdleFrameAfterASwapPresentsTheLastPicture) {
    const Picture redrawn = readWindowPixels(); // the first frame, from the test before
    ScriptedKeys noKeys;
    ASSERT_FALSE(needsRedraw);
    expectSamePicture(presentedAfterGarbage(noKeys), redrawn, "idle_after_start");
    // A second idle frame presents it again: the copy is not used up by presenting it.
    expectSamePicture(presentedAfterGarbage(noKeys), redrawn, "second_idle_after_start");
}

TEST(DemoRunTest, AnIdleFrameAfterACameraMovePresentsTheMovedPicture) {
    const Picture start = readWindowPixels();
    ScriptedKeys keys;
    keys.held = {GLFW_KEY_F};
    runFrame(keys, 1.0f / 30.0f);
    const Picture moved = readWindowPixels();
    ASSERT_GT(compareImages(moved, start).maxDifference, 0) << "F did not change the picture";

    keys.held.clear();
    expectSamePicture(presentedAfterGarbage(keys), moved, "idle_after_move");
}

TEST(DemoRunTest, SpaceOnAnIdleFrameStillPresentsTheLastComposite) {
    const Picture lastComposite = readWindowPixels();
    ScriptedKeys keys;
    keys.held = {GLFW_KEY_SPACE};
    // Bloom off: the new state shows only at the next redraw, so the window keeps its picture.
    expectSamePicture(presentedAfterGarbage(keys), lastComposite, "idle_with_space");
    ASSERT_FALSE(bloomEnabled);
    // Bloom back on, for the tests that follow.
    expectSamePicture(presentedAfterGarbage(keys), lastComposite, "idle_with_space_again");
    ASSERT_TRUE(bloomEnabled);
}

TEST(DemoRunTest, FlightAndVolleyRunToBlackWithTheArrowsOnScreen) {
    ScriptedKeys keys;
    keys.held = {GLFW_KEY_C};
    runFrame(keys, runStep);
    keys.held.clear();
    ASSERT_TRUE(camera.flightActive);

    // Moments in the middle of each arrow's flight, counted from C.
    const float arrowMoments[] = {30.5f, 34.2f, 35.4f};
    size_t nextMoment = 0;
    float elapsed = runStep;
    int frames = 1;
    while (!arrowVolley->finished() && elapsed < 45.0f) {
        runFrame(keys, runStep);
        elapsed += runStep;
        ++frames;
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "at " << elapsed << " s";
        if (nextMoment < std::size(arrowMoments) && elapsed >= arrowMoments[nextMoment]) {
            const int arrowPixels = pixelsShowingTheCurrentArrow(readWindowPixels());
            // A few hundred pixels: the arrow is a thin shape, and far away at first.
            EXPECT_GT(arrowPixels, 300) << "arrow " << arrowVolley->timeline().currentArrow() + 1
                                        << " hardly shows at " << elapsed << " s";
            ++nextMoment;
        }
    }
    ASSERT_TRUE(arrowVolley->finished()) << "the volley never ended; camera cue "
                                         << camera.volleyCue << " after " << elapsed << " s";
    EXPECT_EQ(nextMoment, std::size(arrowMoments));
    EXPECT_NEAR(elapsed, 35.8f, 0.6f) << "the volley ended at an unexpected time";

    runFrame(keys, runStep);
    EXPECT_TRUE(allBlack(readWindowPixels())) << "the frame after the volley is not black";
}

TEST(DemoRunTest, AfterTheVolleyEveryFrameStaysBlackAndEscapeStillWorks) {
    ScriptedKeys keys;
    keys.held = {GLFW_KEY_C, GLFW_KEY_F};
    runFrame(keys, runStep);
    EXPECT_TRUE(allBlack(readWindowPixels()));
    keys.held = {GLFW_KEY_ESCAPE};
    runFrame(keys, runStep);
    EXPECT_TRUE(keys.closeRequested);
    EXPECT_TRUE(allBlack(readWindowPixels()));
}

} // namespace
