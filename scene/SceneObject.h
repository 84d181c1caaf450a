// The abstract drawable: a model matrix, a depth-only draw for the shadow passes and a fully
// shaded draw into the scene framebuffer.
#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>

class SceneObject {
  public:
    explicit SceneObject(const glm::mat4& modelMatrix) : modelMatrix(modelMatrix) {}
    virtual ~SceneObject() = default;

    SceneObject(const SceneObject&) = delete;
    SceneObject& operator=(const SceneObject&) = delete;

    // Issues the meshes' draw calls with whatever program, uniforms and framebuffer are current.
    virtual void drawGeometry() = 0;
    // Draws the object lit and shadowed by both lights into its target framebuffer.
    virtual void draw(const glm::mat4& projection, const glm::mat4& view,
                      const glm::mat4& fireLightVP, const glm::mat4& mainLightVP,
                      GLuint fireShadowTexture, GLuint mainShadowTexture) = 0;

    glm::mat4 modelMatrix;
};
