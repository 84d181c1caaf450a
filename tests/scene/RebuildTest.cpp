// A browser may take the GL context away and give it back; the demo then releases everything,
// sets itself up again and carries on from its progress. Done here mid-volley, the rebuilt demo
// must draw exactly the frame the demo would have drawn without the rebuild.
#include "app/FireLight.h"
#include "app/Frame.h"
#include "app/Globals.h"
#include "app/SceneSetup.h"
#include "app/ScriptedKeys.h"
#include "offscreen/OffscreenWindow.h"
#include "scene/Arrow.h"
#include "scene/ArrowVolley.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

void rebuild(const DemoProgress& progress) {
    releaseScene();
    rebuildScene(glfwGetCurrentContext(), progress);
}

// One frame of `dt` with the keys `held`; its picture as the window shows it. The fire's draws
// start from a fixed point of rand()'s sequence, so two such frames flicker alike.
Picture frame(float dt, std::set<int> held = {}) {
    ScriptedKeys keys;
    keys.held = std::move(held);
    std::srand(7);
    runFrame(keys, dt, frameSize);
    return readWindowPixels();
}

class RebuildTest : public ::testing::Test {
  protected:
    void SetUp() override { start_ = demoProgress(); }
    // The demo as the binary's other tests expect it: the start view, no sequence.
    void TearDown() override {
        sequenceStarted = false;
        rebuild(start_);
    }

  private:
    DemoProgress start_;
};

TEST_F(RebuildTest, MidVolleyTheRebuiltDemoDrawsTheFrameItWouldHaveDrawn) {
    // Frames of a second (the longest that count in full) fly to the volley quickly; the first
    // arrow is then well into its flight.
    frame(1.0f, {GLFW_KEY_C});
    while (arrowVolley->arrows()[0]->modelMatrix[3][2] > -5.0f) {
        frame(1.0f);
    }
    const DemoProgress before = demoProgress();
    const Picture expected = frame(1.0f / 32.0f);
    const DemoProgress expectedProgress = demoProgress();

    rebuild(before);
    const Picture rebuilt = frame(1.0f / 32.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(camera.flightTime, expectedProgress.camera.flightTime);
    EXPECT_EQ(camera.position, expectedProgress.camera.position);
    EXPECT_EQ(arrowVolley->arrows()[0]->modelMatrix, expectedProgress.arrowPlacements[0]);
    EXPECT_EQ(fireLight->color(), expectedProgress.flicker.color);
    EXPECT_TRUE(rebuilt.rgb == expected.rgb) << "the rebuilt demo draws another picture";
}

} // namespace
