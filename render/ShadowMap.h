// A light's 1024x1024 depth texture, its framebuffer, and the depth pass that fills it.
#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <vector>

class SceneObject;
class ShaderProgram;

// Maps a light's clip-space coordinates in [-1, 1] to its shadow map's texture coordinates and
// depth in [0, 1]: the draws look a point up with this times the light's view-projection.
inline const glm::mat4 shadowMapBias{0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.0f, 0.0f,
                                     0.0f, 0.0f, 0.5f, 0.0f, 0.5f, 0.5f, 0.5f, 1.0f};

class ShadowMap {
  public:
    static constexpr int size = 1024;

    explicit ShadowMap(const ShaderProgram& shadowProgram);
    virtual ~ShadowMap() = default;

    ShadowMap(const ShadowMap&) = delete;
    ShadowMap& operator=(const ShadowMap&) = delete;

    // Clears the map and draws every object's depth as seen through `lightViewProjection`.
    // Leaves framebuffer 0 bound, no program in use and a 1024x1024 viewport.
    virtual void render(const std::vector<SceneObject*>& objects,
                        const glm::mat4& lightViewProjection);

    GLuint depthTexture() const { return depthTexture_; }
    GLuint shadowFramebuffer() const { return shadowFramebuffer_; }

  private:
    GLuint depthTexture_ = 0;
    GLuint shadowFramebuffer_ = 0;
    const ShaderProgram& shadowProgram_;
};
