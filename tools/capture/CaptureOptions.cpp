#include "CaptureOptions.h"

#include "VideoEncoder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

const char* const helpText =
    "usage: quiverfall-capture [options]\n"
    "Runs the demo's own set-up and frame code in a hidden 1600x900 window at a fixed time\n"
    "step as a user would meet it: the start view for a moment, then C, the scripted flight,\n"
    "the arrow volley and a second of the black ending. Saves PNG frames and a contact\n"
    "sheet, and on request a video of the run. Run it from the repository root (it reads\n"
    "./Shader and ./Models like the demo). Needs an X display; use xvfb-run without one.\n"
    "Videos are made by the ffmpeg program (Debian package ffmpeg).\n"
    "\n"
    "  --out DIR        folder for the pictures (default: capture)\n"
    "  --fps N          frames per second of demo time, a whole number (default: 30)\n"
    "  --dt SECONDS     time step of every frame instead of --fps (not with --video)\n"
    "  --lead-in SECONDS  how long the start view shows before C (default: 1)\n"
    "  --at T1,T2,...   seconds after C at which to save frames, in any order (default:\n"
    "                   the flight's key poses and the three arrows in flight; the start\n"
    "                   view and the last frame before black are always saved)\n"
    "  --start-only     save only the start view (frame_start.png) and stop\n"
    "  --until SECONDS  stop after this much flight time instead of running to black\n"
    "  --limit SECONDS  give up, and fail, after this much flight time if the window never\n"
    "                   turns black (default: 45)\n"
    "  --no-sheet       do not write contact_sheet.png\n"
    "  --video PATH     also write the run as a video at --fps frames per second; the name's\n"
    "                   ending picks the format: .mp4 (H.264), .webp or .gif (looping)\n"
    "  --video-size WxH  scale the video to this size (default: 1600x900; even numbers)\n"
    "  --video-from T, --video-to T  put only this part of the run in the video, in seconds\n"
    "                   after C (the lead-in counts back from 0)\n"
    "  --quiet          no progress output\n"
    "  --help           this text\n"
    "\n"
    "Frames are named frame_start.png and frame_T.png with T the flight time in seconds;\n"
    "frame_black.png is the first frame after the volley ended.\n";

bool parseNumber(const char* text, float& value) {
    char* end = nullptr;
    value = std::strtof(text, &end);
    return end != text && *end == '\0' && std::isfinite(value);
}

// The run passes the times in order, each still named by its time: they are sorted, and a time
// given twice is saved once.
bool parseTimes(const std::string& text, std::vector<float>& times) {
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, ',')) {
        float value = 0.0f;
        if (!parseNumber(item.c_str(), value) || value < 0.0f) {
            return false;
        }
        times.push_back(value);
    }
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    return !times.empty();
}

bool parsePositive(const char* text, float& value) {
    return parseNumber(text, value) && value > 0.0f;
}

bool parseWholeNumber(const char* text, int lowest, int highest, int& value) {
    char* end = nullptr;
    const long number = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || number < lowest || number > highest) {
        return false;
    }
    value = static_cast<int>(number);
    return true;
}

// "WxH" with both even, as H.264's 4:2:0 colour needs.
bool parseVideoSize(const std::string& text, int& width, int& height) {
    const size_t x = text.find('x');
    if (x == std::string::npos) {
        return false;
    }
    return parseWholeNumber(text.substr(0, x).c_str(), 2, 8192, width) &&
           parseWholeNumber(text.substr(x + 1).c_str(), 2, 8192, height) && width % 2 == 0 &&
           height % 2 == 0;
}

// Options that only make sense together.
bool checkCombinations(const CaptureOptions& options, bool dtGiven, bool fpsGiven) {
    if (dtGiven && fpsGiven) {
        std::fprintf(stderr, "give either --fps or --dt, not both\n");
        return false;
    }
    if (options.videoPath.empty()) {
        return true;
    }
    if (videoFormatOf(options.videoPath) == VideoFormat::unknown) {
        std::fprintf(stderr, "--video needs a name ending in .mp4, .webp or .gif\n");
        return false;
    }
    if (dtGiven) {
        std::fprintf(stderr, "--video takes its frame rate from --fps, not --dt\n");
        return false;
    }
    if (!options.flight) {
        std::fprintf(stderr, "--video records the flight: leave out --start-only\n");
        return false;
    }
    if (options.videoFrom >= options.videoTo) {
        std::fprintf(stderr, "--video-from must come before --video-to\n");
        return false;
    }
    return true;
}

} // namespace

std::vector<float> defaultCaptureTimes() {
    // The flight's key poses, with arrow 1 at 30.0 s, arrow 2 at 34.2 s and arrow 3 at 35.4 s.
    return {0.0f,  6.0f,  15.0f, 21.0f, 24.0f, 27.0f, 29.2f,
            30.0f, 30.3f, 32.3f, 33.3f, 34.2f, 35.4f};
}

bool parseCaptureOptions(int argc, char** argv, CaptureOptions& options, bool& helpShown) {
    helpShown = false;
    bool dtGiven = false;
    bool fpsGiven = false;
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
            options.framesPerSecond = 0;
            dtGiven = true;
        } else if (argument == "--fps" && hasValue) {
            if (!parseWholeNumber(argv[++i], 1, 240, options.framesPerSecond)) {
                std::fprintf(stderr, "--fps needs a whole number from 1 to 240\n");
                return false;
            }
            options.dt = 1.0f / static_cast<float>(options.framesPerSecond);
            fpsGiven = true;
        } else if (argument == "--lead-in" && hasValue) {
            if (!parseNumber(argv[++i], options.leadIn) || options.leadIn < 0.0f) {
                std::fprintf(stderr, "--lead-in needs a number of seconds, 0 or more\n");
                return false;
            }
        } else if (argument == "--video" && hasValue) {
            options.videoPath = argv[++i];
        } else if (argument == "--video-size" && hasValue) {
            if (!parseVideoSize(argv[++i], options.videoWidth, options.videoHeight)) {
                std::fprintf(stderr, "--video-size needs WIDTHxHEIGHT, both even\n");
                return false;
            }
        } else if ((argument == "--video-from" || argument == "--video-to") && hasValue) {
            float& bound = argument == "--video-from" ? options.videoFrom : options.videoTo;
            if (!parseNumber(argv[++i], bound)) {
                std::fprintf(stderr, "%s needs a number of seconds\n", argument.c_str());
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
    return checkCombinations(options, dtGiven, fpsGiven);
}
