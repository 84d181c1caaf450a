// Finding and talking to the program's window on the test X server.
#pragma once

#include <string>

// The id of a visible top-level window whose title is `title`, waiting up to `timeoutSeconds`;
// 0 if none appeared.
unsigned long findWindowByTitle(const std::string& title, double timeoutSeconds);

// Sends one key press and release (an X keysym name such as "Escape") with xdotool.
bool sendKey(unsigned long window, const std::string& keyName);

// Resizes the window as a user dragging its corner would (with xdotool).
bool resizeWindow(unsigned long window, int width, int height);

// Asks the window to close the way a window manager's close button does (WM_DELETE_WINDOW).
bool requestWindowClose(unsigned long window);

// Reads the window's pixels as RGB bytes, top row first. Empty on failure.
struct WindowImage {
    int width = 0;
    int height = 0;
    std::string rgb;
};
WindowImage captureWindow(unsigned long window);
// The same for a rectangle of the window (much faster than the whole window).
WindowImage captureWindowRegion(unsigned long window, int x, int y, int width, int height);
