// Progress of a long off-screen render: how much demo time is done, its share of the whole run,
// and the wall-clock time left at the pace so far.
#pragma once

#include <chrono>
#include <string>

// For example "rendering: 12.5 of 37.5 s of demo time (33%), about 1 min 15 s left". The share
// stays below 100% until the run is over, since a run may end later than expected.
std::string progressLine(double demoSecondsDone, double demoSecondsExpected,
                         double wallSecondsSpent);

// Prints progress lines: on a terminal one line rewritten in place as often as it changes,
// elsewhere (a log) a new line at every tenth of the run.
class RenderProgress {
  public:
    RenderProgress(double demoSecondsExpected, bool enabled);

    void update(double demoSecondsDone);
    // Ends the progress line before other output.
    void breakLine();
    // The last line: how much demo time took how long.
    void done();

  private:
    double expected_;
    bool enabled_;
    bool terminal_;
    bool lineOpen_ = false;
    int lastTenth_ = 0;
    double demoSecondsDone_ = 0.0;
    std::chrono::steady_clock::time_point started_;

    double secondsSpent() const;
};
