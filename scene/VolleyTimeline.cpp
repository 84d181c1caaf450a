#include "scene/VolleyTimeline.h"

namespace {

// A world-space translation along -z, applied on the left of the model matrix.
void step(glm::mat4& modelMatrix, float dt) {
    glm::mat4 translation(1.0f);
    translation[3][2] = dt * -VolleyTimeline::speed;
    modelMatrix = translation * modelMatrix;
}

} // namespace

int VolleyTimeline::advance(std::array<glm::mat4*, arrowCount> modelMatrices, float dt) {
    int drawn = -1;
    if (!firstLanded) {
        glm::mat4& model = *modelMatrices[0];
        if (model[3][2] > longFlightStop) {
            step(model, dt);
            drawn = 0;
        } else {
            firstLanded = true;
        }
    }
    // Each later stage is tested after the earlier one, so it applies in the same frame in which
    // the arrow before it stopped.
    if (firstLanded && !secondLanded) {
        if (timer >= delay) {
            glm::mat4& model = *modelMatrices[1];
            if (model[3][2] > longFlightStop) {
                step(model, dt);
                drawn = 1;
            } else {
                secondLanded = true;
                timer = 0.0f;
            }
        } else {
            timer += dt;
        }
    }
    if (firstLanded && secondLanded) {
        if (timer >= delay) {
            glm::mat4& model = *modelMatrices[2];
            if (static_cast<double>(model[3][2]) > shortFlightStop) {
                step(model, dt);
            } else {
                finished = true;
            }
            // The last arrow is drawn in its final frame too, where it stuck.
            drawn = 2;
        } else {
            timer += dt;
        }
    }
    return drawn;
}
