#include "app/Flight.h"

#include "app/Camera.h"
#include "app/Globals.h"

#include <glm/glm.hpp>

namespace {

struct Pose {
    glm::vec3 position;
    glm::vec3 direction;
};

constexpr Pose k0{{1.86f, 2.0f, -18.33f}, {0.65f, 0.0f, 1.0f}};
constexpr Pose k1{{-5.4f, 2.0f, -17.27f}, {0.0f, 0.0f, 1.0f}};
constexpr Pose k2{{-6.36f, 4.8f, -8.21f}, {1.0f, -0.3f, 0.2f}};
constexpr Pose k3{{-0.1f, 3.2f, -8.4f}, {0.0f, 0.0f, 1.0f}};
constexpr Pose k4{{-0.1f, 3.2f, -8.4f}, {1.0f, -0.5f, 1.0f}};
constexpr Pose k5{{-0.1f, 3.2f, -8.4f}, {0.0f, 0.0f, 1.0f}};
constexpr Pose k6{{-0.1f, 3.2f, -8.0f}, {-0.3f, -0.7f, 1.0f}};
constexpr Pose k7{{3.6f, 4.0f, -10.4f}, {-0.7f, -0.4f, 1.0f}};

// One stretch of the flight, from the end of the previous segment (0 for the first) to `end`.
// The flight time is compared with `end` as a double. For 30.3, 32.3 and 33.3, which no float
// holds exactly, that decides the frame at the boundary: a time of 30.3f (30.2999992) is still
// below 30.3 and belongs to the segment that ends there, where it lands on that keyframe. The
// other ends are exact floats, for which comparing as float or as double gives the same answer.
// The smoothstep edges are the ends rounded to float.
struct Segment {
    double end;
    const Pose* from; // null during the pause
    const Pose* to;
};

// clang-format off
constexpr Segment segments[] = {
    {15.0, &k0, &k1},
    {25.0, &k1, &k2},
    {29.0, &k2, &k3},
    {29.5, nullptr, nullptr}, // the pause that cues the volley
    {30.3, &k3, &k4},         // from here to k5 the eye stays put and looks round
    {32.3, &k4, &k5},
    {33.3, &k5, &k6},
    {34.5, &k6, &k7},
};
// clang-format on

// Written out instead of glm::mix, whose rounding differs between GLM versions (x + a(y - x) in
// some, x(1 - a) + ya in others); the flight's poses are defined by this form.
glm::vec3 blend(const glm::vec3& from, const glm::vec3& to, float s) {
    return from + s * (to - from);
}

} // namespace

void startFlight() {
    camera.flightActive = true;
    camera.flightTime = 0.0f;
    camera.position = k0.position;
    camera.direction = k0.direction;
    camera.updateView();
}

void updateFlight(float dt) {
    if (!camera.flightActive) {
        return;
    }
    camera.flightTime += dt;
    needsRedraw = true;

    const float t = camera.flightTime;
    // Every frame from the pause on cues the volley, also one that jumps over the pause or past
    // the end: a slow machine (half a second or more per frame) must still reach the ending.
    if (t >= volleyCueTime) {
        camera.volleyCue = true;
    }
    float start = 0.0f;
    for (const Segment& segment : segments) {
        const float end = static_cast<float>(segment.end);
        if (static_cast<double>(t) < segment.end) {
            if (segment.from == nullptr) {
                // The pose stays as the last frame left it, which need not be k3 exactly.
                return;
            }
            const float s = glm::smoothstep(start, end, t);
            camera.position = blend(segment.from->position, segment.to->position, s);
            camera.direction = blend(segment.from->direction, segment.to->direction, s);
            camera.updateView();
            return;
        }
        start = end;
    }
    // Past the last keyframe time: the camera keeps the previous frame's pose, short of k7.
    camera.flightActive = false;
}
