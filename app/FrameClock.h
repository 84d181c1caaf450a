// The frame time `dt` the demo moves on by, from the clock's reading at the start of each frame.
// A gap longer than any real frame (a hidden browser tab, a minimised or stopped program, a machine
// waking from sleep) would otherwise move the flight, the arrows and the fire on by all of it at
// once: the flight skipping its cue, an arrow jumping far past the hall, the fire flickering
// every frame for hundreds of frames.
#pragma once

class FrameClock {
  public:
    // Frames up to this long count in full, so a slow machine still plays in real time; a longer
    // gap is not a frame but a pause, and counts as one ordinary frame.
    static constexpr float longestFrame = 1.0f;

    // `start` is the clock's reading (seconds) when set-up ended.
    explicit FrameClock(float start) : last_(start) {}

    // The frame time of the frame that begins at `now`: the time since the previous frame or,
    // after a gap longer than `longestFrame`, the time the frame before the gap took, at most
    // `longestFrame`. A machine whose every frame takes longer than that still plays on, at
    // `longestFrame` a frame.
    float frameTime(float now);

  private:
    float last_;
    // The time the previous frame took, or one refresh of a 60 Hz display before any frame.
    float previous_ = 1.0f / 60.0f;
};
