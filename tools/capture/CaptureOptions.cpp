#include "CaptureOptions.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

const char* const helpText =
    "usage: quiverfall-capture [options]\n"
    "Runs the demo's own set-up and frame code in a hidden 1600x900 window at a fixed time\n"
    "step, presses C after the first frame, and saves PNG frames of the scripted flight and\n"
    "the arrow volley, plus a contact sheet. Run it from the repository root (it reads\n"
    "./Shader and ./Models like the demo). Needs an X display; use xvfb-run without one.\n"
    "\n"
    "  --out DIR        folder for the pictures (default: capture)\n"
    "  --dt SECONDS     time step of every frame (default: 0.0333, 30 frames per second)\n"
    "  --at T1,T2,...   seconds after C at which to save frames (default: the flight's key\n"
    "                   poses and the three arrows in flight; the start view and the last\n"
    "                   frame before black are always saved)\n"
    "  --start-only     save only the start view (frame_start.png) and stop\n"
    "  --until SECONDS  stop after this much flight time instead of running to black\n"
    "  --limit SECONDS  give up, and fail, after this much flight time if the window never\n"
    "                   turns black (default: 45)\n"
    "  --no-sheet       do not write contact_sheet.png\n"
    "  --quiet          no progress output\n"
    "  --help           this text\n"
    "\n"
    "Frames are named frame_start.png and frame_T.png with T the flight time in seconds;\n"
    "frame_black.png is the first frame after the volley ended.\n";

bool parseTimes(const std::string& text, std::vector<float>& times) {
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, ',')) {
        char* end = nullptr;
        const float value = std::strtof(item.c_str(), &end);
        if (end == item.c_str() || *end != '\0' || value < 0.0f) {
            return false;
        }
        times.push_back(value);
    }
    return !times.empty();
}

bool parsePositive(const char* text, float& value) {
    char* end = nullptr;
    value = std::strtof(text, &end);
    return end != text && *end == '\0' && value > 0.0f;
}

} // namespace

std::vector<float> defaultCaptureTimes() {
    // The flight's key poses, with arrow 1 at 30.0 s, arrow 2 at 34.2 s and arrow 3 at 35.4 s.
    return {0.0f,  6.0f,  15.0f, 21.0f, 24.0f, 27.0f, 29.2f,
            30.0f, 30.3f, 32.3f, 33.3f, 34.2f, 35.4f};
}

bool parseCaptureOptions(int argc, char** argv, CaptureOptions& options, bool& helpShown) {
    helpShown = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--help" || argument == "-h") {
            std::fputs(helpText, stdout);
            helpShown = true;
            return true;
        } else if (argument == "--out" && hasValue) {
            options.outputDirectory = argv[++i];
        } else if (argument == "--dt" && hasValue) {
            if (!parsePositive(argv[++i], options.dt)) {
                std::fprintf(stderr, "--dt needs a positive number of seconds\n");
                return false;
            }
        } else if (argument == "--until" && hasValue) {
            if (!parsePositive(argv[++i], options.until)) {
                std::fprintf(stderr, "--until needs a positive number of seconds\n");
                return false;
            }
        } else if (argument == "--limit" && hasValue) {
            if (!parsePositive(argv[++i], options.limit)) {
                std::fprintf(stderr, "--limit needs a positive number of seconds\n");
                return false;
            }
        } else if (argument == "--at" && hasValue) {
            if (!parseTimes(argv[++i], options.times)) {
                std::fprintf(stderr, "--at needs a comma-separated list of seconds\n");
                return false;
            }
        } else if (argument == "--start-only") {
            options.flight = false;
        } else if (argument == "--no-sheet") {
            options.contactSheet = false;
        } else if (argument == "--quiet") {
            options.quiet = true;
        } else {
            std::fprintf(stderr, "unknown or incomplete option: %s (see --help)\n", argv[i]);
            return false;
        }
    }
    if (options.times.empty()) {
        options.times = defaultCaptureTimes();
    }
    return true;
}
