#include "app/Controls.h"

#include "app/Camera.h"
#include "app/Flight.h"
#include "app/Globals.h"
#include "app/KeyInput.h"
#include "render/PostProcessing.h"

#include <GLFW/glfw3.h>

namespace {

// A fixed step per frame, not per second: the camera moves faster at higher frame rates.
constexpr float moveStep = 0.1f;

struct Move {
    int key;
    float step;
    glm::vec3 Camera::*axis;
};

// In the order the keys are tested; Escape comes before these, turns and the rest after.
constexpr Move moves[] = {
    {GLFW_KEY_DOWN, -moveStep, &Camera::verticalAxis},
    {GLFW_KEY_UP, moveStep, &Camera::verticalAxis},
    {GLFW_KEY_RIGHT, moveStep, &Camera::right},
    {GLFW_KEY_LEFT, -moveStep, &Camera::right},
    {GLFW_KEY_B, -moveStep, &Camera::direction},
    {GLFW_KEY_F, moveStep, &Camera::direction},
};

// The axis is used as stored, unnormalised: a stretched direction or a shortened right vector
// changes the length of the step.
void move(const Move& m) {
    needsRedraw = true;
    camera.flightActive = false;
    camera.position += m.step * (camera.*m.axis);
    camera.updateView();
}

} // namespace

void handleKeys(KeyInput& keys) {
    if (keys.isPressed(GLFW_KEY_ESCAPE)) {
        keys.requestClose();
        return;
    }
    for (const Move& m : moves) {
        if (keys.isPressed(m.key)) {
            move(m);
            return;
        }
    }
    if (keys.isPressed(GLFW_KEY_R)) {
        needsRedraw = true;
        camera.turn(1.0f);
        return;
    }
    if (keys.isPressed(GLFW_KEY_T)) {
        needsRedraw = true;
        camera.turn(-1.0f);
        return;
    }
    if (keys.isPressed(GLFW_KEY_C)) {
        needsRedraw = true;
        if (!camera.flightActive) {
            startFlight();
        }
        sequenceStarted = true;
        return;
    }
    if (keys.isPressed(GLFW_KEY_SPACE)) {
        // No redraw: the new setting shows with the next frame that redraws for another reason.
        bloomEnabled = !bloomEnabled;
        if (postProcessing != nullptr) {
            postProcessing->bloom = bloomEnabled;
        }
    }
}
