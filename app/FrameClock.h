// The frame time `dt` the demo moves on by, from the clock's reading at the start of each frame.
// A gap longer than any real frame (a hidden browser tab, a minimised or stopped program, a machine
// waking from sleep) would otherwise move the flight, the arrows and the fire on by all of it at
// once: the flight skipping its cue, an arrow jumping far past the hall, the fire flickering
// every frame for hundreds of frames.
//
// Readings are kept in double precision and only their difference becomes the 32-bit `dt`: a
// float reading has steps of 1/128 s after 9 hours of running and of 1/32 s after 4 days, so
// frame times taken from float readings stutter on a demo left running, and stop after months.
#pragma once

class FrameClock {
  public:
    // Frames up to this long count in full, so a slow machine still plays in real time; a longer
    // gap is not a frame but a pause, and counts as one ordinary frame.
    static constexpr float longestFrame = 1.0f;

    // `start` is the clock's reading (seconds) when set-up ended.
    explicit FrameClock(double start) : last_(start) {}

    // The frame time of the frame that begins at `now`: the time since the previous frame or,
    // after a gap longer than `longestFrame`, the time the frame before the gap took, at most
    // `longestFrame`. A machine whose every frame takes longer than that still plays on, at
    // `longestFrame` a frame. A reading earlier than the one before (a clock set back) or not
    // a number at all counts, like a gap, as one ordinary frame.
    float frameTime(double now);

  private:
    double last_;
    // The time the previous frame took, or one refresh of a 60 Hz display before any frame.
    double previous_ = 1.0 / 60.0;
};
