// The fire: a point light whose colour flickers, and the view its shadow map is rendered from.
#pragma once

#include "app/Flicker.h"

#include <glm/glm.hpp>

class ShaderProgram;

class FireLight {
  public:
    // Uploads "firePos_worldSpace" once and leaves `program` in use.
    FireLight(const glm::vec3& position, const ShaderProgram* program);

    FireLight(const FireLight&) = delete;
    FireLight& operator=(const FireLight&) = delete;

    // Advances the flicker and uploads "fireColor" (every frame); leaves the program in use.
    void flicker(float dt);
    // Looks along +z from the fire: the only direction its shadow map covers.
    glm::mat4 fireView() const;

    const glm::vec3& color() const { return flicker_.color; }
    const glm::vec3& position() const { return position_; }
    const Flicker& flickerState() const { return flicker_; }
    // Carries on flickering from another fire's state.
    void resumeFlicker(const Flicker& state) { flicker_ = state; }

  private:
    Flicker flicker_;
    glm::vec3 position_;
    const ShaderProgram* program_;
};
