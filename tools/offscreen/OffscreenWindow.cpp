#include "offscreen/OffscreenWindow.h"

#include "render/ContextHints.h"
#include "render/FrameSize.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <cstdio>

GLFWwindow* createHiddenWindow(const char* title) {
    if (!glfwInit()) {
        std::fprintf(stderr, "no X display: run under xvfb-run or a desktop session\n");
        return nullptr;
    }
    requestCoreContext();
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(frameWidth, frameHeight, title, nullptr, nullptr);
    if (window == nullptr) {
        std::fprintf(stderr, "no OpenGL 3.3 core context available\n");
        glfwTerminate();
        return nullptr;
    }
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        std::fprintf(stderr, "could not load the OpenGL entry points\n");
        glfwTerminate();
        return nullptr;
    }
    glGetError(); // GLEW's probing of the core context can leave an error behind.
    return window;
}

Picture readWindowPixels(PixelSize size) {
    Picture picture;
    picture.width = size.width;
    picture.height = size.height;
    picture.rgb.resize(static_cast<size_t>(picture.width) * picture.height * 3);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, picture.width, picture.height, GL_RGB, GL_UNSIGNED_BYTE, picture.rgb.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return picture;
}
