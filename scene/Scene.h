// The room: the static model "./Models/room.obj", drawn every redrawn frame and the first
// shadow caster.
#pragma once

#include "scene/ModelObject.h"

class Scene : public ModelObject {
  public:
    Scene(const glm::mat4& modelMatrix, const ShaderProgram* shadingProgram,
          const ShaderProgram* depthProgram, GLuint targetFramebuffer)
        : ModelObject(modelMatrix, shadingProgram, depthProgram, "./Models/room.obj",
                      targetFramebuffer) {}

    // Unlike an arrow's draw, binds the target framebuffer first, takes the light and camera
    // matrices without the model matrix, does not upload "normalMatrix", and ends with
    // framebuffer 0 bound.
    void draw(const glm::mat4& projection, const glm::mat4& view, const glm::mat4& fireLightVP,
              const glm::mat4& mainLightVP, GLuint fireShadowTexture,
              GLuint mainShadowTexture) override;
};
