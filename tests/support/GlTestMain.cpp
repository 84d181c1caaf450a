// Test entry for GL tests: one hidden 1600x900 OpenGL 3.3 core window shared by every test.
#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!glfwInit()) {
        std::fprintf(stderr, "GL tests need an X display (run them through ./test.sh)\n");
        return 1;
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(1600, 900, "Quiverfall GL tests", nullptr, nullptr);
    if (window == nullptr) {
        std::fprintf(stderr, "no OpenGL 3.3 core context available\n");
        glfwTerminate();
        return 1;
    }
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        std::fprintf(stderr, "glewInit failed\n");
        glfwTerminate();
        return 1;
    }
    glGetError(); // GLEW's probing may leave an error behind.
    const int result = RUN_ALL_TESTS();
    glfwTerminate();
    return result;
}
