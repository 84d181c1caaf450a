#include "support/X11Window.h"

#include "support/Eventually.h"
#include "support/ImageCompare.h"
#include "support/Process.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

// xdotool with a time limit, its output discarded.
bool xdotool(const std::string& arguments) {
    return std::system(("timeout 10 xdotool " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

// The window's attributes (its size among them); nothing when X does not know the window.
std::optional<XWindowAttributes> windowAttributes(unsigned long window) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return std::nullopt;
    }
    XWindowAttributes attributes{};
    const bool known = XGetWindowAttributes(display, window, &attributes) != 0;
    XCloseDisplay(display);
    return known ? std::optional<XWindowAttributes>(attributes) : std::nullopt;
}

} // namespace

unsigned long findProgramWindow(const Process& program, double timeoutSeconds) {
    std::string found;
    eventually(timeoutSeconds, [&] {
        found = commandOutput("timeout 10 xdotool search --all --onlyvisible --pid " +
                              std::to_string(program.pid()) + " --name '^Quiverfall$' 2>/dev/null");
        return !found.empty();
    });
    return found.empty() ? 0 : std::stoul(found.substr(0, found.find('\n')));
}

bool sendKey(unsigned long window, const std::string& keyName) {
    // Focus first: xdotool then sends the key through XTEST, as a real keyboard would.
    const std::string id = std::to_string(window);
    return xdotool("windowfocus --sync " + id) && xdotool("key --clearmodifiers " + keyName);
}

std::optional<int> quitWithEscape(Process& program, unsigned long window, double timeoutSeconds) {
    if (!sendKey(window, "Escape")) {
        return std::nullopt;
    }
    return program.waitForExit(timeoutSeconds);
}

bool resizeWindow(unsigned long window, int width, int height) {
    return xdotool("windowsize " + std::to_string(window) + " " + std::to_string(width) + " " +
                   std::to_string(height));
}

bool requestWindowClose(unsigned long window) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    XCloseDisplay(display);
    return sent != 0;
}

Picture captureWindowRegion(unsigned long window, int x, int y, int width, int height) {
    Picture picture;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return picture;
    }
    XImage* pixels = XGetImage(display, window, x, y, static_cast<unsigned>(width),
                               static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (pixels != nullptr) {
        picture.width = width;
        picture.height = height;
        picture.rgb.resize(static_cast<size_t>(width) * height * 3);
        for (int row = 0; row < height; ++row) {
            unsigned char* out = &picture.rgb[static_cast<size_t>(height - 1 - row) * width * 3];
            for (int column = 0; column < width; ++column) {
                const unsigned long pixel = XGetPixel(pixels, column, row);
                *out++ = static_cast<unsigned char>((pixel >> 16) & 0xff);
                *out++ = static_cast<unsigned char>((pixel >> 8) & 0xff);
                *out++ = static_cast<unsigned char>(pixel & 0xff);
            }
        }
        XDestroyImage(pixels);
    }
    XCloseDisplay(display);
    return picture;
}

Picture captureWindow(unsigned long window) {
    const std::optional<XWindowAttributes> attributes = windowAttributes(window);
    return attributes ? captureWindowRegion(window, 0, 0, attributes->width, attributes->height)
                      : Picture{};
}

bool waitForWindowSize(unsigned long window, int width, int height, double timeoutSeconds) {
    return eventually(timeoutSeconds, [&] {
        const std::optional<XWindowAttributes> attributes = windowAttributes(window);
        return attributes && attributes->width == width && attributes->height == height;
    });
}

double WatchedRun::medianFrameSeconds() const {
    std::vector<double> sorted = frameIntervals;
    std::sort(sorted.begin(), sorted.end());
    return sorted.empty() ? 0.0 : sorted[sorted.size() / 2];
}

double WatchedRun::worstFrameSeconds() const {
    return frameIntervals.empty() ? 0.0
                                  : *std::max_element(frameIntervals.begin(), frameIntervals.end());
}

bool waitUntilShown(unsigned long window, double timeoutSeconds, int darkestBlack) {
    return eventually(
        timeoutSeconds, [&] { return !isBlack(captureWindow(window), darkestBlack); },
        std::chrono::milliseconds(200));
}

WatchedRun watchUntilBlack(unsigned long window, double timeoutSeconds, int darkestBlack) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    WatchedRun run;
    std::vector<unsigned char> lastStrip;
    Clock::time_point lastChange = start;
    while (!run.black && Clock::now() - start < std::chrono::duration<double>(timeoutSeconds)) {
        const Picture strip = captureWindowRegion(window, 0, 430, 1600, 40);
        if (strip.rgb != lastStrip) {
            const Clock::time_point now = Clock::now();
            if (!lastStrip.empty()) {
                run.frameIntervals.push_back(
                    std::chrono::duration<double>(now - lastChange).count());
            }
            lastChange = now;
            lastStrip = strip.rgb;
        }
        run.black = isBlack(strip, darkestBlack) && isBlack(captureWindow(window), darkestBlack);
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
    }
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return run;
}
