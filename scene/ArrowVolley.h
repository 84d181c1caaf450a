// The closing volley: three arrows shot one after another along -z, the last one at the viewer.
#pragma once

#include "scene/VolleyTimeline.h"

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <array>
#include <vector>

class Arrow;
class ShaderProgram;

class ArrowVolley {
  public:
    // Loads "./Models/arrow1.obj" to "./Models/arrow3.obj", each with the identity matrix.
    ArrowVolley(const ShaderProgram* shadingProgram, const ShaderProgram* depthProgram,
                GLuint targetFramebuffer);
    ~ArrowVolley();

    ArrowVolley(const ArrowVolley&) = delete;
    ArrowVolley& operator=(const ArrowVolley&) = delete;

    // The arrow in flight, or the next one during a pause.
    Arrow* currentArrow() const;
    // Moves and draws the arrow in flight (with the camera projection `projection`), or waits.
    void update(const glm::mat4& projection, const glm::mat4& view, const glm::mat4& fireLightVP,
                const glm::mat4& mainLightVP, GLuint fireShadowTexture, GLuint mainShadowTexture,
                float dt);
    // Draws again what the last update drew, where it is, without moving the volley on: the
    // picture of a paused demo that the camera moves in.
    void drawStill(const glm::mat4& projection, const glm::mat4& view, const glm::mat4& fireLightVP,
                   const glm::mat4& mainLightVP, GLuint fireShadowTexture,
                   GLuint mainShadowTexture) const;

    // Carries on from another volley's progress: its timeline and where its arrows are.
    void resume(const VolleyTimeline& timeline,
                const std::array<glm::mat4, VolleyTimeline::arrowCount>& placements);

    bool finished() const { return timeline_.finished; }
    const VolleyTimeline& timeline() const { return timeline_; }
    const std::vector<Arrow*>& arrows() const { return arrows_; }

  private:
    std::vector<Arrow*> arrows_;
    VolleyTimeline timeline_;
    GLuint targetFramebuffer_;
};
