// Every swap presents the latest picture. On most GPU desktops the window's back buffer is
// undefined after a swap, so a frame that does not redraw must put the last picture back itself.
// The tests stand in for such a desktop: after the swap they paint the back buffer a colour no
// frame of the demo has, then run a frame without a redraw.
#include "app/Frame.h"
#include "app/Globals.h"
#include "app/ScriptedKeys.h"
#include "offscreen/OffscreenWindow.h"
#include "scene/RestoresDemoState.h"
#include "support/ImageCompare.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

namespace {

constexpr float frameStep = 1.0f / 30.0f;

// The picture of a frame that redraws with `held` keys.
Picture redrawnPicture(const std::set<int>& held = {}) {
    ScriptedKeys keys;
    keys.held = held;
    needsRedraw = true;
    runFrame(keys, frameStep, frameSize);
    return readWindowPixels();
}

// What the window presents after the swap, the back buffer painted pure magenta, and a frame
// with `held` keys.
Picture presentedAfterGarbage(const std::set<int>& held = {}) {
    glfwSwapBuffers(glfwGetCurrentContext());
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    ScriptedKeys keys;
    keys.held = held;
    runFrame(keys, frameStep, frameSize);
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

using PresentTest = RestoresDemoState;

TEST_F(PresentTest, AnIdleFrameAfterASwapPresentsTheLastPicture) {
    const Picture redrawn = redrawnPicture();
    ASSERT_FALSE(needsRedraw);
    expectSamePicture(presentedAfterGarbage(), redrawn, "idle_after_redraw");
    // A second idle frame presents it again: presenting the copy does not use it up.
    expectSamePicture(presentedAfterGarbage(), redrawn, "second_idle_after_redraw");
}

TEST_F(PresentTest, AnIdleFrameAfterACameraMovePresentsTheMovedPicture) {
    const Picture before = redrawnPicture();
    const Picture moved = redrawnPicture({GLFW_KEY_F});
    ASSERT_GT(compareImages(moved, before).maxDifference, 0) << "F did not change the picture";
    expectSamePicture(presentedAfterGarbage(), moved, "idle_after_move");
}

TEST_F(PresentTest, SpaceOnAnIdleFrameStillPresentsTheLastComposite) {
    const Picture lastComposite = redrawnPicture();
    // Bloom off: the new state shows only at the next redraw, so the window keeps its picture.
    expectSamePicture(presentedAfterGarbage({GLFW_KEY_SPACE}), lastComposite, "idle_with_space");
    ASSERT_FALSE(bloomEnabled);
}

} // namespace
