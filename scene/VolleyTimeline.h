// The arrow volley's timing, without GL: which arrow flies, when it stops, the pauses between
// arrows, and when the volley is over.
#pragma once

#include <array>
#include <glm/glm.hpp>

struct VolleyTimeline {
    static constexpr int arrowCount = 3;
    static constexpr float speed = 10.0f;           // units per second along world -z
    static constexpr float longFlightStop = -25.0f; // arrows 1 and 2 fly while z > this
    static constexpr double shortFlightStop = -7.1; // arrow 3, compared in double precision

    bool firstLanded = false;
    bool secondLanded = false;
    bool finished = false;
    // Time waited since the previous arrow stopped.
    float timer = 0.0f;
    float delay = 0.5f;
    // The arrow the last advance drew, or -1 for none.
    int lastDrawn = -1;

    // Seconds from the volley's first frame to its end when frames are short: each arrow's
    // flight at `speed` and the pause before arrows 2 and 3.
    float steadyDuration() const {
        return (2.0f * -longFlightStop + static_cast<float>(-shortFlightStop)) / speed +
               2.0f * delay;
    }

    // Index of the arrow in flight or next to fly (the one that casts shadows this frame).
    int currentArrow() const { return !firstLanded ? 0 : (!secondLanded ? 1 : 2); }

    // One frame: moves the arrow in flight by (0, 0, -speed * dt) on its model matrix or counts
    // down a pause. Returns the index of the arrow to draw this frame, or -1 for none.
    int advance(std::array<glm::mat4*, arrowCount> modelMatrices, float dt);
};
