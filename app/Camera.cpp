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
    // Left unnormalised: after the flight tilts direction out of the horizontal plane, sideways
    // steps get shorter, as they always have.
    right = glm::cross(direction, up);
    updateView();
}
