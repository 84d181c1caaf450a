// Quiverfall: opens the window, sets up the scene, runs the frame loop and shuts down.
#include "app/FatalError.h"
#include "app/Frame.h"
#include "app/FramePacer.h"
#include "app/GlfwKeyInput.h"
#include "app/GlfwWindow.h"
#include "app/SceneSetup.h"
#include "render/FrameSize.h"
#include "render/GlDebugReport.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <iostream>

int main() {
    if (!glfwInit()) {
        fatalError("failed to init glfw\n");
    }
    requestCoreContext();
#ifdef QUIVERFALL_GL_DEBUG
    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, GLFW_TRUE);
#endif

    GLFWwindow* window = glfwCreateWindow(frameWidth, frameHeight, "Vantor Demo", nullptr, nullptr);
    if (window == nullptr) {
        std::cout << "Failed to open GLFW window" << std::endl;
        glfwTerminate();
        stopAfterFatalError();
    }
    glfwMakeContextCurrent(window);
    // Swap at the display's refresh where the driver allows it; the pacer below covers the rest.
    glfwSwapInterval(1);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        std::cout << "Failed to initialize GLEW" << std::endl;
        glfwTerminate();
        stopAfterFatalError();
    }
    glfwSetInputMode(window, GLFW_STICKY_KEYS, GLFW_TRUE);
#ifdef QUIVERFALL_GL_DEBUG
    if (!installGlDebugReport(stderr)) {
        std::cerr << "GL debug report: this context offers no debug output" << std::endl;
    }
#endif

    setUpScene(window);
    prepareFirstFrame();

    GlfwKeyInput keys(window);
    FramePacer pacer(primaryRefreshRate());
    float lastFrameTime = static_cast<float>(glfwGetTime());
    while (!glfwWindowShouldClose(window)) {
        const float now = static_cast<float>(glfwGetTime());
        const float dt = now - lastFrameTime;
        lastFrameTime = now;

        // The framebuffer's size now: no size callback is needed when every frame asks.
        runFrame(keys, dt, framebufferSize(window));

        glfwSwapBuffers(window);
        glfwPollEvents();
        if (glGetError() != GL_NO_ERROR) {
            std::cout << "GL ERROR DETECTED!!" << std::endl;
        }
        pacer.endFrame();
    }

    // The destructors delete GL objects, so release while the context still exists.
    releaseScene();
    glfwTerminate();
    return 0;
}
