#include "RenderProgress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace {

std::string duration(double seconds) {
    const long whole = std::lround(seconds);
    if (whole < 60) {
        return std::to_string(whole) + " s";
    }
    return std::to_string(whole / 60) + " min " + std::to_string(whole % 60) + " s";
}

} // namespace

std::string progressLine(double demoSecondsDone, double demoSecondsExpected,
                         double wallSecondsSpent) {
    const double share = std::clamp(demoSecondsDone / demoSecondsExpected, 0.0, 0.99);
    char head[96];
    std::snprintf(head, sizeof(head), "rendering: %.1f of %.1f s of demo time (%d%%), ",
                  demoSecondsDone, demoSecondsExpected, static_cast<int>(share * 100.0));
    if (demoSecondsDone <= 0.0) {
        return std::string(head) + "time left not known yet";
    }
    const double left =
        wallSecondsSpent / demoSecondsDone * std::max(demoSecondsExpected - demoSecondsDone, 0.0);
    return std::string(head) + "about " + duration(left) + " left";
}

RenderProgress::RenderProgress(double demoSecondsExpected, bool enabled)
    : expected_(demoSecondsExpected), enabled_(enabled), terminal_(isatty(STDOUT_FILENO) != 0),
      started_(std::chrono::steady_clock::now()) {}

void RenderProgress::update(double demoSecondsDone) {
    demoSecondsDone_ = demoSecondsDone;
    if (!enabled_) {
        return;
    }
    const int tenth = static_cast<int>(demoSecondsDone / expected_ * 10.0);
    if (!terminal_ && tenth <= lastTenth_) {
        return;
    }
    lastTenth_ = tenth;
    const std::string line = progressLine(demoSecondsDone, expected_, secondsSpent());
    if (terminal_) {
        // The trailing spaces clear what a longer line before left behind.
        std::printf("\r%s   ", line.c_str());
        lineOpen_ = true;
    } else {
        std::printf("%s\n", line.c_str());
    }
    std::fflush(stdout);
}

void RenderProgress::breakLine() {
    if (lineOpen_) {
        std::printf("\n");
        lineOpen_ = false;
    }
}

void RenderProgress::done() {
    if (!enabled_) {
        return;
    }
    char line[96];
    std::snprintf(line, sizeof(line), "rendered %.1f s of demo time in %s", demoSecondsDone_,
                  duration(secondsSpent()).c_str());
    // On a terminal it replaces the progress line, padded over what that line held.
    std::printf(lineOpen_ ? "\r%-80s\n" : "%s\n", line);
    lineOpen_ = false;
    std::fflush(stdout);
}

double RenderProgress::secondsSpent() const {
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - started_;
    return spent.count();
}
