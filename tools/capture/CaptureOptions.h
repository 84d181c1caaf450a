// Command line of quiverfall-capture.
#pragma once

#include <limits>
#include <string>
#include <vector>

struct CaptureOptions {
    float dt = 1.0f / 30.0f;
    // Frames per second of demo time when set with --fps; 0 when --dt gave a step that is not a
    // whole rate.
    int framesPerSecond = 30;
    std::string outputDirectory = "capture";
    // Seconds after C was pressed at which to save a frame.
    std::vector<float> times;
    bool flight = true;
    bool contactSheet = true;
    bool quiet = false;
    // Seconds the start view shows before C is pressed.
    float leadIn = 1.0f;
    // Stop after this many seconds of flight; 0 runs until the window turns black.
    float until = 0.0f;
    // Give up (and fail) after this many seconds of flight if the window never turned black.
    float limit = 45.0f;

    // The run as a video, when a path is given.
    std::string videoPath;
    int videoWidth = 0; // 0: the window's size
    int videoHeight = 0;
    // The part of the run in the video, in seconds after C was pressed (the lead-in before C
    // counts backwards from 0).
    float videoFrom = -std::numeric_limits<float>::infinity();
    float videoTo = std::numeric_limits<float>::infinity();
};

// Fills `options` from the arguments; false (after printing why) when they are not usable.
// Sets `helpShown` when --help was asked for.
bool parseCaptureOptions(int argc, char** argv, CaptureOptions& options, bool& helpShown);

// How long the window shows black at the end of a run before the capture stops.
constexpr float blackEnding = 1.0f;

// Seconds after C at which a run to black ends, with the volley at its steady pace; a run at a
// coarse step ends up to a step later.
float runToBlackSeconds();

// The flight times of the default contact sheet: the flight's key poses, the three arrows in
// flight and the last frame before black.
std::vector<float> defaultCaptureTimes();
