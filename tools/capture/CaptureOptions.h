// Command line of quiverfall-capture.
#pragma once

#include <string>
#include <vector>

struct CaptureOptions {
    float dt = 1.0f / 30.0f;
    std::string outputDirectory = "capture";
    // Seconds after C was pressed at which to save a frame.
    std::vector<float> times;
    bool flight = true;
    bool contactSheet = true;
    bool quiet = false;
    // Stop after this many seconds of flight; 0 runs until the window turns black.
    float until = 0.0f;
    // Give up (and fail) after this many seconds of flight if the window never turned black.
    float limit = 45.0f;
};

// Fills `options` from the arguments; false (after printing why) when they are not usable.
// Sets `helpShown` when --help was asked for.
bool parseCaptureOptions(int argc, char** argv, CaptureOptions& options, bool& helpShown);

// The flight times of the default contact sheet: the flight's key poses, the three arrows in
// flight and the last frame before black.
std::vector<float> defaultCaptureTimes();
