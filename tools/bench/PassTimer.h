// Times numbered passes on two clocks: wall time between two glFinish calls, and GL time from a
// GL_TIME_ELAPSED query (core since 3.3, so every context the demo runs on has it).
#pragma once

#include <GL/glew.h>

#include <chrono>
#include <utility>
#include <vector>

class PassTimer {
  public:
    explicit PassTimer(int passCount);
    ~PassTimer();

    PassTimer(const PassTimer&) = delete;
    PassTimer& operator=(const PassTimer&) = delete;

    // Each pass may be timed once per frame: it owns one query object, read in endFrame.
    template <typename Pass> void time(int index, Pass&& pass) {
        begin(index);
        pass();
        end(index);
    }
    // The same for a pass whose start and end are told apart, as a frame's observer hears them.
    // Intervals must not nest: one GL_TIME_ELAPSED query runs at a time.
    void begin(int index) { start(index, true); }
    void end(int index) { stop(index, true); }
    // Wall time only, for work outside the GL command stream.
    template <typename Pass> void timeWall(int index, Pass&& pass) {
        start(index, false);
        pass();
        stop(index, false);
    }
    // Reads the queries of the passes timed since the last call. Their samples are kept only
    // when `keep`, so warm-up frames cost the same but do not count.
    void endFrame(bool keep);

    // Milliseconds, one sample per kept frame.
    const std::vector<double>& wallMs(int index) const { return wallMs_[index]; }
    const std::vector<double>& glMs(int index) const { return glMs_[index]; }

  private:
    void start(int index, bool query);
    void stop(int index, bool query);

    std::vector<GLuint> queries_;
    std::vector<std::vector<double>> wallMs_;
    std::vector<std::vector<double>> glMs_;
    std::vector<std::pair<int, double>> frameWallMs_;
    std::vector<int> frameQueries_;
    std::chrono::steady_clock::time_point started_;
};
