#include "CaptureOptions.h"

#include "VideoEncoder.h"

#include "NumberArgument.h"
#include "OptionReader.h"
#include "app/Flight.h"
#include "scene/VolleyTimeline.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <sstream>

namespace {

// The demo's clocks add the step to float seconds: near the run's end (37 s) a float holds about
// 4 microseconds, so a 1 ms step keeps within 0.2% of itself, where a step of 1e-7 s stops adding
// at 2 s and the run never ends.
constexpr double shortestStep = 0.001;
// One frame a second, as --fps 1.
constexpr double longestStep = 1.0;
constexpr long maxFramesPerSecond = 240;
// The latest time any option may name: the run to black takes under 40 s, and the bound keeps a
// mistyped time from a run of hours.
constexpr double maxSeconds = 600.0;
// The longest start view before C, and so the earliest --video-from.
constexpr double maxLeadIn = 60.0;
// The largest video side, as large as H.264's levels reach.
constexpr long maxVideoSide = 8192;

const char* const helpText =
    "usage: quiverfall-capture [options]\n"
    "Runs the demo's own set-up and frame code in a hidden 1600x900 window at a fixed time\n"
    "step as a user would meet it: the start view for a moment, then C, the scripted flight,\n"
    "the arrow volley and a second of the black ending. Saves PNG frames and a contact\n"
    "sheet, and on request a video of the run. It reads Shader/ and Models/ as the demo does,\n"
    "from any folder it is started in. Needs an X display; use xvfb-run without one.\n"
    "Videos are made by the ffmpeg program (Debian package ffmpeg).\n"
    "\n"
    "  --out DIR        folder for the pictures, made when missing (default: capture)\n"
    "  --fps N          frames per second of demo time, a whole number from 1 to 240\n"
    "                   (default: 30)\n"
    "  --dt SECONDS     time step of every frame instead of --fps, from 0.001 to 1 (not with\n"
    "                   --video)\n"
    "  --lead-in SECONDS  how long the start view shows before C, from 0 to 60 (default: 1)\n"
    "  --at T1,T2,...   seconds after C at which to save frames, in any order, each from 0 to\n"
    "                   the run's end (default: the flight's key poses and the three arrows\n"
    "                   in flight; the start view and the last frame before black are always\n"
    "                   saved)\n"
    "  --start-only     save only the start view (frame_start.png) and stop\n"
    "  --until SECONDS  stop after this much flight time instead of running to black (up to\n"
    "                   600)\n"
    "  --limit SECONDS  give up, and fail, after this much flight time if the window never\n"
    "                   turns black (default: 45; up to 600)\n"
    "  --no-sheet       do not write contact_sheet.png\n"
    "  --video PATH     also write the run as a video at --fps frames per second; the name's\n"
    "                   ending picks the format: .mp4 (H.264), .webp or .gif (looping)\n"
    "  --video-size WxH  scale the video to this size (default: 1600x900; even numbers up to\n"
    "                   8192)\n"
    "  --video-from T, --video-to T  put only this part of the run in the video, in seconds\n"
    "                   after C (the lead-in counts back from 0)\n"
    "  --quiet          no progress output\n"
    "  --help           this text\n"
    "\n"
    "Frames are named frame_start.png and frame_T.png with T the flight time in seconds;\n"
    "frame_black.png is the first frame after the volley ended. The exit status is 0, 1 when\n"
    "anything asked for was not written or the run failed, 2 for unusable options.\n";

// The run passes the times in order, each still named by its time: they are sorted, and a time
// given twice is saved once.
bool parseTimes(const char* text, std::vector<float>& times) {
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, ',')) {
        const std::optional<double> value = numberIn(item, 0.0, maxSeconds);
        if (!value) {
            std::fprintf(stderr,
                         "--at needs seconds from 0 to %g, separated by commas, not \"%s\"\n",
                         maxSeconds, text);
            return false;
        }
        times.push_back(static_cast<float>(*value));
    }
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    if (times.empty()) {
        std::fprintf(stderr, "--at needs at least one time\n");
        return false;
    }
    return true;
}

// "WxH" with both even, as H.264's 4:2:0 colour needs.
bool parseVideoSize(const char* text, int& width, int& height) {
    const std::string size = text;
    const size_t x = size.find('x');
    const std::optional<long> w =
        x == std::string::npos ? std::nullopt : wholeNumberIn(size.substr(0, x), 2, maxVideoSide);
    const std::optional<long> h =
        x == std::string::npos ? std::nullopt : wholeNumberIn(size.substr(x + 1), 2, maxVideoSide);
    if (!w || !h || *w % 2 != 0 || *h % 2 != 0) {
        std::fprintf(stderr,
                     "--video-size needs WIDTHxHEIGHT, each an even number from 2 to %ld, not "
                     "\"%s\"\n",
                     maxVideoSide, text);
        return false;
    }
    width = static_cast<int>(*w);
    height = static_cast<int>(*h);
    return true;
}

// Stills are asked for at times the run reaches, or the run is refused before it starts; left
// out, the default times are those the run reaches.
bool checkStillTimes(CaptureOptions& options, bool timesGiven) {
    if (timesGiven && !options.flight) {
        std::fprintf(stderr, "--at saves frames of the flight: leave out --start-only\n");
        return false;
    }
    const char* why = "a second after the volley ends";
    float last = runToBlackSeconds();
    if (options.until > 0.0f && options.until < last) {
        last = options.until;
        why = "where --until stops the run";
    } else if (options.until <= 0.0f && options.limit < last) {
        last = options.limit;
        why = "where --limit gives the run up";
    }
    if (!timesGiven) {
        options.times = defaultCaptureTimes();
        options.times.erase(std::upper_bound(options.times.begin(), options.times.end(), last),
                            options.times.end());
    } else if (options.times.back() > last) {
        std::fprintf(stderr, "--at needs times from 0 to %g s (%s), not %g\n",
                     static_cast<double>(last), why, static_cast<double>(options.times.back()));
        return false;
    }
    return true;
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

float runToBlackSeconds() {
    return volleyCueTime + VolleyTimeline().steadyDuration() + blackEnding;
}

std::vector<float> defaultCaptureTimes() {
    // The flight's key poses, with arrow 1 at 30.0 s, arrow 2 at 34.2 s and arrow 3 at 35.4 s.
    return {0.0f,  6.0f,  15.0f, 21.0f, 24.0f, 27.0f, 29.2f,
            30.0f, 30.3f, 32.3f, 33.3f, 34.2f, 35.4f};
}

bool parseCaptureOptions(int argc, char** argv, CaptureOptions& options, bool& helpShown) {
    bool dtGiven = false;
    bool fpsGiven = false;
    bool timesGiven = false;
    for (OptionReader option(argc, argv, helpText, helpShown); option.next();) {
        if (option.takes("--out")) {
            options.outputDirectory = option.value();
        } else if (option.takes("--dt")) {
            if (!readNumber(option.name(), option.value(), shortestStep, longestStep, "seconds",
                            options.dt)) {
                return false;
            }
            options.framesPerSecond = 0;
            dtGiven = true;
        } else if (option.takes("--fps")) {
            if (!readWholeNumber(option.name(), option.value(), 1, maxFramesPerSecond,
                                 options.framesPerSecond)) {
                return false;
            }
            options.dt = 1.0f / static_cast<float>(options.framesPerSecond);
            fpsGiven = true;
        } else if (option.takes("--lead-in")) {
            if (!readNumber(option.name(), option.value(), 0.0, maxLeadIn, "seconds",
                            options.leadIn)) {
                return false;
            }
        } else if (option.takes("--video")) {
            options.videoPath = option.value();
        } else if (option.takes("--video-size")) {
            if (!parseVideoSize(option.value(), options.videoWidth, options.videoHeight)) {
                return false;
            }
        } else if (option.takes("--video-from") || option.takes("--video-to")) {
            float& bound = option.is("--video-from") ? options.videoFrom : options.videoTo;
            if (!readNumber(option.name(), option.value(), -maxLeadIn, maxSeconds, "seconds",
                            bound)) {
                return false;
            }
        } else if (option.takes("--until") || option.takes("--limit")) {
            float& bound = option.is("--until") ? options.until : options.limit;
            if (!readNumber(option.name(), option.value(), shortestStep, maxSeconds, "seconds",
                            bound)) {
                return false;
            }
        } else if (option.takes("--at")) {
            if (!parseTimes(option.value(), options.times)) {
                return false;
            }
            timesGiven = true;
        } else if (option.is("--start-only")) {
            options.flight = false;
        } else if (option.is("--no-sheet")) {
            options.contactSheet = false;
        } else if (option.is("--quiet")) {
            options.quiet = true;
        } else {
            return option.refuse();
        }
    }
    return helpShown ||
           (checkStillTimes(options, timesGiven) && checkCombinations(options, dtGiven, fpsGiven));
}
