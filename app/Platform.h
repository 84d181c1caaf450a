// Where the desktop program and the browser build differ in how they run: the window's set-up
// and size, the keys, who drives the frames, a graphics context that can be lost, where the
// program's file is, and how the program ends. Everything else is one code path. Each platform
// has one file, chosen by the build (CMakeLists.txt): app/PlatformDesktop.cpp (GLFW calls and a
// plain loop; Windows builds it too) and app/PlatformBrowser.cpp (Emscripten: the page's canvas
// is the window, the page's animation frames drive the loop, its on-screen controls stand in for
// a keyboard). Below app/, render/ShaderDialect.cpp and assets/WaitForEnter.cpp make the two
// choices the lower layers need themselves: the shaders' form and whether a console can answer.
#pragma once

#include "render/FrameSize.h"

#include <filesystem>
#include <functional>
#include <memory>

struct GLFWwindow;
class KeyInput;

// Once the context is current and its entry points are loaded: swap at the display's refresh
// where the driver allows it, and keep a key pressed and released between two polls as pressed
// once (sticky keys). A browser paces the frames itself and has no sticky keys; there this
// starts watching for a lost context, so that a loss during set-up is waited for as any other.
void prepareWindow(GLFWwindow* window);

// The keys the frame reads: the window's keyboard, and in a browser also the page's controls.
std::unique_ptr<KeyInput> windowKeys(GLFWwindow* window);

// The size of the window's framebuffer in pixels: larger than the window on HiDPI desktops, 0 by
// 0 while it is minimised. In a browser, the canvas's drawing buffer as the browser granted it,
// first asked to match the size the page gives the canvas in device pixels, within what the GL
// can draw and at most 4096 pixels on its longer side.
PixelSize framebufferSize(GLFWwindow* window);

// A browser may take the GL context away (a GPU reset, a background tab's context reclaimed) and
// give it back later. `lost` runs when it goes (every GL object is gone with it; deleting them
// then does nothing) and `restored` when it comes back, before the next frame; neither runs
// once the frame loop has finished. Set-up or a rebuild that the loss overtakes runs on to its
// end, its GL calls doing nothing, and is then released and done again. A desktop context is
// never lost.
void watchGraphicsContext(std::function<void()> lost, std::function<void()> restored);
// True while the context is lost: no frame runs, and GL's error flag says only that.
bool graphicsContextLost();

// Runs `frame` until the window is asked to close, then `finish`. The desktop loops here, each
// frame paced to the primary monitor's refresh; a browser runs the frames on its animation frames
// after this has returned, and skips them while the context is lost.
void runFrameLoop(GLFWwindow* window, std::function<void()> frame, std::function<void()> finish);

// F11, Alt+Enter and --fullscreen: the desktop switches the window to full screen on the monitor
// it is on, at that monitor's mode, and back to the window as it was. A browser lets only the
// page's own button or its own F11 take the page to full screen, so there this does nothing.
void toggleFullScreen(GLFWwindow* window);

// A picture that F12 has just saved: a browser offers it to the visitor as a download and then
// deletes it from its in-memory file system. The desktop leaves it where it is.
void pictureSaved(const std::filesystem::path& file);

// The running program's file, as an absolute path with links resolved; empty where the platform
// cannot say (and in a browser, whose data sits in the page's own file system).
std::filesystem::path executablePath();

// Ends the program with `status`. In a browser the page is told the status (it shows a failure
// instead of a frozen canvas); a plain exit there would stop the program without a word.
[[noreturn]] void exitProgram(int status);
