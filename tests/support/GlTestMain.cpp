// Test entry for GL tests: one hidden 1600x900 OpenGL 3.3 core window shared by every test.
#include "offscreen/OffscreenWindow.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // CTest lists the tests at build time, where there may be no display.
    if (::testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    if (createHiddenWindow("Quiverfall GL tests") == nullptr) {
        return 1;
    }
    const int result = RUN_ALL_TESTS();
    glfwTerminate();
    return result;
}
