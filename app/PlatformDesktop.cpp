// The desktop: GLFW's window and keyboard, a frame loop paced to the display.
#include "app/Platform.h"

#include "app/FramePacer.h"
#include "app/GlfwKeyInput.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX // MinGW's C++ library defines it already
#define NOMINMAX
#endif
#include <windows.h>
#elif defined(__APPLE__)
#include <mach-o/dyld.h>
#endif

void prepareWindow(GLFWwindow* window) {
    glfwSwapInterval(1);
    glfwSetInputMode(window, GLFW_STICKY_KEYS, GLFW_TRUE);
}

std::unique_ptr<KeyInput> windowKeys(GLFWwindow* window) {
    return std::make_unique<GlfwKeyInput>(window);
}

PixelSize framebufferSize(GLFWwindow* window) {
    PixelSize size;
    glfwGetFramebufferSize(window, &size.width, &size.height);
    return size;
}

void watchGraphicsContext(std::function<void()>, std::function<void()>) {}

bool graphicsContextLost() {
    return false;
}

namespace {

// The primary monitor's refresh rate in Hz, or 0 when the platform does not say.
int primaryRefreshRate() {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = monitor != nullptr ? glfwGetVideoMode(monitor) : nullptr;
    return mode != nullptr ? mode->refreshRate : 0;
}

// Where a window stands on the desktop, and its size.
struct WindowPlace {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

WindowPlace placeOf(GLFWwindow* window) {
    WindowPlace place;
    glfwGetWindowPos(window, &place.x, &place.y);
    glfwGetWindowSize(window, &place.width, &place.height);
    return place;
}

// The monitor that holds most of `place`, or the primary one when none does.
GLFWmonitor* monitorUnder(const WindowPlace& place) {
    int count = 0;
    GLFWmonitor** monitors = glfwGetMonitors(&count);
    GLFWmonitor* best = glfwGetPrimaryMonitor();
    long bestArea = 0;
    for (int i = 0; i < count; ++i) {
        const GLFWvidmode* mode = glfwGetVideoMode(monitors[i]);
        if (mode == nullptr) {
            continue;
        }
        int left = 0;
        int top = 0;
        glfwGetMonitorPos(monitors[i], &left, &top);
        const long across = std::max(0, std::min(place.x + place.width, left + mode->width) -
                                            std::max(place.x, left));
        const long down = std::max(0, std::min(place.y + place.height, top + mode->height) -
                                          std::max(place.y, top));
        if (across * down > bestArea) {
            bestArea = across * down;
            best = monitors[i];
        }
    }
    return best;
}

// Where the window was before it went to full screen, to put it back there.
WindowPlace windowedPlace;

} // namespace

void toggleFullScreen(GLFWwindow* window) {
    if (glfwGetWindowMonitor(window) != nullptr) {
        glfwSetWindowMonitor(window, nullptr, windowedPlace.x, windowedPlace.y, windowedPlace.width,
                             windowedPlace.height, GLFW_DONT_CARE);
        return;
    }
    const WindowPlace place = placeOf(window);
    GLFWmonitor* monitor = monitorUnder(place);
    const GLFWvidmode* mode = monitor != nullptr ? glfwGetVideoMode(monitor) : nullptr;
    if (mode == nullptr) {
        return;
    }
    windowedPlace = place;
    glfwSetWindowMonitor(window, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
}

void pictureSaved(const std::filesystem::path&) {}

void runFrameLoop(GLFWwindow* window, std::function<void()> frame, std::function<void()> finish) {
    // Swapping with an interval of 1 waits for the display on most desktops, but not on all.
    FramePacer pacer(primaryRefreshRate());
    while (!glfwWindowShouldClose(window)) {
        frame();
        pacer.endFrame();
    }
    finish();
}

std::filesystem::path executablePath() {
    std::error_code failed;
#ifdef _WIN32
    // Long enough for any path Windows gives a program without the \\?\ prefix.
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) {
        return {};
    }
    path.resize(length);
    const std::filesystem::path executable = std::filesystem::weakly_canonical(path, failed);
#elif defined(__APPLE__)
    char path[4096];
    uint32_t size = sizeof path;
    if (_NSGetExecutablePath(path, &size) != 0) {
        return {};
    }
    const std::filesystem::path executable = std::filesystem::weakly_canonical(path, failed);
#else
    const std::filesystem::path executable =
        std::filesystem::read_symlink("/proc/self/exe", failed);
#endif
    return failed ? std::filesystem::path() : executable;
}

void exitProgram(int status) {
    std::exit(status);
}
