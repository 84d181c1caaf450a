// Finding and talking to the program's window on the test X server.
#pragma once

#include "offscreen/Picture.h"

#include <optional>
#include <string>
#include <vector>

class Process;

// The id of the program's visible window once it is titled "Quiverfall", waiting up to
// `timeoutSeconds`; 0 if none appeared. Found by the program's process id as well as the title, so
// another program that opens a window of that name at the same time is never taken for it.
unsigned long findProgramWindow(const Process& program, double timeoutSeconds);

// Sends one key press and release (an X keysym name such as "Escape") with xdotool. Every
// xdotool call is given 10 s, so a stuck X server fails the test instead of hanging it.
bool sendKey(unsigned long window, const std::string& keyName);

// Presses Escape in the program's window and waits for the program to end: its exit status, or
// nothing when the key could not be sent or the program did not end within `timeoutSeconds`.
std::optional<int> quitWithEscape(Process& program, unsigned long window,
                                  double timeoutSeconds = 30.0);

// Resizes the window as a user dragging its corner would (with xdotool).
bool resizeWindow(unsigned long window, int width, int height);

// Waits up to `timeoutSeconds` for the window's contents (without any frame) to be `width` x
// `height`; returns whether they became so.
bool waitForWindowSize(unsigned long window, int width, int height, double timeoutSeconds);

// Asks the window to close the way a window manager's close button does (WM_DELETE_WINDOW).
bool requestWindowClose(unsigned long window);

// The window's pixels as an 8-bit RGB picture, bottom row first like GL's. Empty on failure.
Picture captureWindow(unsigned long window);
// The same for a rectangle of the window, given from its top-left corner as X counts (much faster
// than the whole window).
Picture captureWindowRegion(unsigned long window, int x, int y, int width, int height);

// Waits up to `timeoutSeconds` for the window to show something other than black (the first
// frame can take seconds on a busy machine); returns whether it did.
bool waitUntilShown(unsigned long window, double timeoutSeconds, int darkestBlack);

// Watching a running demo until its window turns black: how long it took and the time between
// each change of a strip across the window's middle, which changes with every frame of the
// flight (so the intervals are the frame times).
struct WatchedRun {
    bool black = false;
    double seconds = 0.0;
    std::vector<double> frameIntervals;
    double medianFrameSeconds() const;
    double worstFrameSeconds() const;
};
WatchedRun watchUntilBlack(unsigned long window, double timeoutSeconds, int darkestBlack);
