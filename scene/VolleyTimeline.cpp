#include "scene/VolleyTimeline.h"

namespace {

// A world-space translation along -z, applied on the left of the model matrix.
void step(glm::mat4& modelMatrix, float dt) {
    glm::mat4 translation(1.0f);
    translation[3][2] = dt * -VolleyTimeline::speed;
    modelMatrix = translation * modelMatrix;
}

// Arrows 1 and 2 fly while their z is above the long flight's stop, compared as floats; arrow 3
// while it is above the short flight's, compared in double precision.
bool stillFlying(int arrow, float z) {
    return arrow < VolleyTimeline::arrowCount - 1
               ? z > VolleyTimeline::longFlightStop
               : static_cast<double>(z) > VolleyTimeline::shortFlightStop;
}

} // namespace

int VolleyTimeline::advance(std::array<glm::mat4*, arrowCount> modelMatrices, float dt) {
    bool* const landed[arrowCount] = {&firstLanded, &secondLanded, &finished};
    const int lastArrow = arrowCount - 1;
    int drawn = -1;
    // The stages are tested in order, so each applies in the same frame in which the arrow
    // before it stopped.
    for (int arrow = 0; arrow < arrowCount; ++arrow) {
        if (arrow > 0 && !*landed[arrow - 1]) {
            break; // waits for the arrow before it
        }
        if (*landed[arrow] && arrow != lastArrow) {
            continue;
        }
        if (arrow > 0 && timer < delay) {
            timer += dt; // the pause after the arrow before it
            break;
        }
        glm::mat4& model = *modelMatrices[arrow];
        if (stillFlying(arrow, model[3][2])) {
            step(model, dt);
            drawn = arrow;
        } else {
            *landed[arrow] = true;
            if (arrow != lastArrow) {
                timer = 0.0f; // the pause before the next arrow starts
            }
        }
        if (arrow == lastArrow) {
            // The last arrow is drawn in its final frame too, where it stuck.
            drawn = arrow;
        }
    }
    lastDrawn = drawn;
    return drawn;
}
