#include "app/FireLight.h"

#include "render/ShaderProgram.h"

#include <glm/gtc/matrix_transform.hpp>

FireLight::FireLight(const glm::vec3& position, const ShaderProgram* program)
    : position_(position), program_(program) {
    glUseProgram(program_->programId());
    glUniform3fv(glGetUniformLocation(program_->programId(), "firePos_worldSpace"), 1,
                 &position_[0]);
}

void FireLight::flicker(float dt) {
    flicker_.advance(dt);
    glUseProgram(program_->programId());
    glUniform3fv(glGetUniformLocation(program_->programId(), "fireColor"), 1, &flicker_.color[0]);
}

glm::mat4 FireLight::fireView() const {
    return glm::lookAt(position_, position_ + glm::vec3(0.0f, 0.0f, 1.0f),
                       glm::vec3(0.0f, 1.0f, 0.0f));
}
