#include "app/Camera.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

Camera camera;

void Camera::updateView() {
    view = glm::lookAt(position, position + direction, up);
}

void Camera::turn(float degrees) {
    flightActive = false;
    const float theta = degrees * 3.1415927f / 180.0f;
    const glm::vec3 turned = std::cos(theta) * direction - std::sin(theta) * right;
    direction = turned / glm::length(turned);
    // Left unnormalised: the Left and Right keys step by `right` as stored, so after the flight
    // has tilted direction out of the horizontal plane their steps get shorter. The key tests
    // and the flight's hand-over to the keys rely on that length.
    right = glm::cross(direction, up);
    updateView();
}
