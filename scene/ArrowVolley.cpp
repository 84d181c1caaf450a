#include "scene/ArrowVolley.h"

#include "scene/Arrow.h"

ArrowVolley::ArrowVolley(const ShaderProgram* shadingProgram, const ShaderProgram* depthProgram,
                         GLuint targetFramebuffer)
    : targetFramebuffer_(targetFramebuffer) {
    for (const char* path : {"./Models/arrow1.obj", "./Models/arrow2.obj", "./Models/arrow3.obj"}) {
        arrows_.push_back(
            new Arrow(glm::mat4(1.0f), shadingProgram, depthProgram, path, targetFramebuffer_));
    }
}

ArrowVolley::~ArrowVolley() {
    for (Arrow* arrow : arrows_) {
        delete arrow;
    }
}

Arrow* ArrowVolley::currentArrow() const {
    return arrows_[timeline_.currentArrow()];
}

void ArrowVolley::update(const glm::mat4& projection, const glm::mat4& view,
                         const glm::mat4& fireLightVP, const glm::mat4& mainLightVP,
                         GLuint fireShadowTexture, GLuint mainShadowTexture, float dt) {
    timeline_.advance(
        {&arrows_[0]->modelMatrix, &arrows_[1]->modelMatrix, &arrows_[2]->modelMatrix}, dt);
    drawStill(projection, view, fireLightVP, mainLightVP, fireShadowTexture, mainShadowTexture);
}

void ArrowVolley::drawStill(const glm::mat4& projection, const glm::mat4& view,
                            const glm::mat4& fireLightVP, const glm::mat4& mainLightVP,
                            GLuint fireShadowTexture, GLuint mainShadowTexture) const {
    if (timeline_.lastDrawn >= 0) {
        arrows_[timeline_.lastDrawn]->draw(projection, view, fireLightVP, mainLightVP,
                                           fireShadowTexture, mainShadowTexture);
    }
}

void ArrowVolley::resume(const VolleyTimeline& timeline,
                         const std::array<glm::mat4, VolleyTimeline::arrowCount>& placements) {
    timeline_ = timeline;
    for (int i = 0; i < VolleyTimeline::arrowCount; ++i) {
        arrows_[i]->modelMatrix = placements[i];
    }
}
