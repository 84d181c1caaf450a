// The one camera the scene is seen through: its pose, its view matrix and the state of the
// scripted flight that drives it.
#pragma once

#include <glm/glm.hpp>

// A default-constructed Camera holds the static start: eye at (0, 0, -24), looking along -z. No
// frame shows that pose: set-up moves the eye to (0, 3, -23), keeping the direction, before the
// first frame. So `camera = Camera{}` gives the static start, not the pose the program opens on.
struct Camera {
    glm::vec3 position{0.0f, 0.0f, -24.0f};
    // Unit length only at start and after a turn; the flight stores longer directions.
    glm::vec3 direction{0.0f, 0.0f, -1.0f};
    glm::vec3 up{0.0f, 1.0f, 0.0f};
    // Deliberately the opposite of cross(direction, up) until the first turn replaces it: before
    // any turn the Right key moves towards -x, and the first turn goes the other way.
    glm::vec3 right{-1.0f, 0.0f, 0.0f};
    glm::vec3 verticalAxis{0.0f, 1.0f, 0.0f};
    glm::mat4 view{1.0f};
    bool flightActive = false;
    // Set once the flight reaches its pause; the arrow volley waits for it. Never cleared.
    bool volleyCue = false;
    float flightTime = 0.0f;

    void updateView();
    // Turns direction about up by the signed angle (degrees) and stops any running flight.
    void turn(float degrees);
};

extern Camera camera;
