// Test entry for tests of the whole demo: one hidden window with the program's own set-up, shared
// by every test of the binary and released at the end, as the program does.
#include "app/SceneSetup.h"
#include "offscreen/OffscreenWindow.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // CTest lists the tests at build time, where there may be no display.
    if (::testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    GLFWwindow* window = createHiddenWindow("Quiverfall scene tests");
    if (window == nullptr) {
        return 1;
    }
    setUpScene(window);
    prepareFirstFrame();
    const int result = RUN_ALL_TESTS();
    releaseScene();
    glfwTerminate();
    return result;
}
