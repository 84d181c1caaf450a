// What the program asks of GLFW about its window beyond the keys: the context to request, the
// framebuffer's size now, and the refresh rate of the display it is paced to.
#pragma once

#include "render/FrameSize.h"

struct GLFWwindow;

// Window hints for an OpenGL 3.3 core context. macOS opens a core context only when it is also
// forward-compatible, so that hint is added there (and only there).
void requestCoreContext();

// The size of the window's framebuffer in pixels: larger than the window on HiDPI desktops,
// 0 by 0 while the window is minimised.
PixelSize framebufferSize(GLFWwindow* window);

// The primary monitor's refresh rate in Hz, or 0 when the platform does not say.
int primaryRefreshRate();
