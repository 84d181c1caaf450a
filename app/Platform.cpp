#include "app/Platform.h"

#include "app/FramePacer.h"

#include <GLFW/glfw3.h>

#include <cstdlib>

#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cmath>
#endif

void requestCoreContext() {
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
#ifdef __APPLE__
    glfwWindowHint(GLFW_OPENGL_FORWARD_COMPAT, GLFW_TRUE);
#endif
}

#ifndef __EMSCRIPTEN__

void prepareWindow(GLFWwindow* window) {
    glfwSwapInterval(1);
    glfwSetInputMode(window, GLFW_STICKY_KEYS, GLFW_TRUE);
}

PixelSize framebufferSize(GLFWwindow* window) {
    PixelSize size;
    glfwGetFramebufferSize(window, &size.width, &size.height);
    return size;
}

namespace {

// The primary monitor's refresh rate in Hz, or 0 when the platform does not say.
int primaryRefreshRate() {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = monitor != nullptr ? glfwGetVideoMode(monitor) : nullptr;
    return mode != nullptr ? mode->refreshRate : 0;
}

} // namespace

void runFrameLoop(GLFWwindow* window, std::function<void()> frame, std::function<void()> finish) {
    // Swapping with an interval of 1 waits for the display on most desktops, but not on all.
    FramePacer pacer(primaryRefreshRate());
    while (!glfwWindowShouldClose(window)) {
        frame();
        pacer.endFrame();
    }
    finish();
}

void exitProgram(int status) {
    std::exit(status);
}

#else

void prepareWindow(GLFWwindow*) {}

PixelSize framebufferSize(GLFWwindow*) {
    // The page lays the canvas out; its drawing buffer follows, one pixel per device pixel.
    double cssWidth = 0.0;
    double cssHeight = 0.0;
    emscripten_get_element_css_size("#canvas", &cssWidth, &cssHeight);
    const double scale = emscripten_get_device_pixel_ratio();
    const PixelSize wanted{static_cast<int>(std::lround(cssWidth * scale)),
                           static_cast<int>(std::lround(cssHeight * scale))};
    PixelSize size;
    emscripten_get_canvas_element_size("#canvas", &size.width, &size.height);
    if (wanted.width > 0 && wanted.height > 0 &&
        (wanted.width != size.width || wanted.height != size.height)) {
        emscripten_set_canvas_element_size("#canvas", wanted.width, wanted.height);
        size = wanted;
    }
    return size;
}

namespace {

struct BrowserLoop {
    GLFWwindow* window;
    std::function<void()> frame;
    std::function<void()> finish;
};

void browserFrame(void* argument) {
    BrowserLoop& loop = *static_cast<BrowserLoop*>(argument);
    if (glfwWindowShouldClose(loop.window)) {
        emscripten_cancel_main_loop();
        loop.finish();
        // The page says the demo has ended, where a desktop would close its window.
        EM_ASM(if (Module.onDemoEnd) Module.onDemoEnd(););
        return;
    }
    loop.frame();
}

} // namespace

void runFrameLoop(GLFWwindow* window, std::function<void()> frame, std::function<void()> finish) {
    // Lives as long as the page: the frames run after main has returned.
    static BrowserLoop loop;
    loop = {window, std::move(frame), std::move(finish)};
    emscripten_set_main_loop_arg(browserFrame, &loop, 0, false);
}

void exitProgram(int status) {
    // A plain exit leaves a browser's runtime alive and tells the page nothing.
    emscripten_force_exit(status);
}

#endif
