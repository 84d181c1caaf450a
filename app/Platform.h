// Where the desktop program and the browser build differ in how they run: the context they ask
// for, the window's set-up and size, who drives the frames, and how the program ends. Everything
// else is one code path. On the desktop these are GLFW calls and a plain loop; in a browser
// (Emscripten) the page's canvas is the window and the page's animation frames drive the loop.
#pragma once

#include "render/FrameSize.h"

#include <functional>

struct GLFWwindow;

// Window hints for an OpenGL 3.3 core context. macOS opens a core context only when it is also
// forward-compatible, so that hint is added there (and only there). A browser gives WebGL2.
void requestCoreContext();

// Once the context is current and its entry points are loaded: swap at the display's refresh
// where the driver allows it, and keep a key pressed and released between two polls as pressed
// once (sticky keys). A browser paces the frames itself and has no sticky keys.
void prepareWindow(GLFWwindow* window);

// The size of the window's framebuffer in pixels: larger than the window on HiDPI desktops, 0 by
// 0 while it is minimised. In a browser, the canvas's drawing buffer, first made to match the
// size the page gives the canvas (in device pixels).
PixelSize framebufferSize(GLFWwindow* window);

// Runs `frame` until the window is asked to close, then `finish`. The desktop loops here, each
// frame paced to the primary monitor's refresh; a browser runs the frames on its animation frames
// after this has returned.
void runFrameLoop(GLFWwindow* window, std::function<void()> frame, std::function<void()> finish);

// Ends the program with `status`. In a browser the page is told the status (it shows a failure
// instead of a frozen canvas); a plain exit there would stop the program without a word.
[[noreturn]] void exitProgram(int status);
