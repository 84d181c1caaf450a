// The fire's flicker arithmetic: at random intervals a new colour, drawn from the C library's
// rand() (never seeded, so every run flickers the same way).
#pragma once

#include <glm/glm.hpp>

struct Flicker {
    glm::vec3 color{0.5f, 0.2f, 0.03f};
    // Seconds gathered towards the next step, and the length of the current interval.
    float timer = 0.0f;
    float interval = 0.1f;

    // Adds the frame time; past the interval, takes one step (at most one per call, however long
    // the frame) and keeps the excess time. Returns whether a step was taken.
    bool advance(float dt);
};
