// One arrow of the volley: a model that moves with its model matrix and stays in the scene
// framebuffer after drawing.
#pragma once

#include "scene/ModelObject.h"

class Arrow : public ModelObject {
  public:
    Arrow(const glm::mat4& modelMatrix, const ShaderProgram* shadingProgram,
          const ShaderProgram* depthProgram, const char* modelPath, GLuint targetFramebuffer)
        : ModelObject(modelMatrix, shadingProgram, depthProgram, modelPath, targetFramebuffer) {}

    void draw(const glm::mat4& projection, const glm::mat4& view, const glm::mat4& fireLightVP,
              const glm::mat4& mainLightVP, GLuint fireShadowTexture,
              GLuint mainShadowTexture) override;
};
