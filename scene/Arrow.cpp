#include "scene/Arrow.h"

#include "render/FrameSize.h"
#include "render/ShaderProgram.h"

void Arrow::draw(const glm::mat4& projection, const glm::mat4& view, const glm::mat4& fireLightVP,
                 const glm::mat4& mainLightVP, GLuint fireShadowTexture, GLuint mainShadowTexture) {
    const glm::mat4 fireMVP = fireLightVP * modelMatrix;
    const glm::mat4 lightMVP = mainLightVP * modelMatrix;
    glUseProgram(shadingProgram_->programId());
    glViewport(0, 0, frameWidth, frameHeight);

    const glm::mat4 lightBiasMVP =
        bindShadowMaps(fireMVP, lightMVP, fireShadowTexture, mainShadowTexture);
    uploadMatrix("MVP", (projection * view) * modelMatrix);
    uploadMatrix("V", view);
    uploadMatrix("M", modelMatrix);
    uploadMatrix("normalMatrix", glm::transpose(glm::inverse(modelMatrix)));
    // The camera in object space, so that lightBiasMVP (which includes the model matrix) maps
    // it into the main light's shadow-map space.
    const glm::mat4 objectFromView = glm::inverse(view * modelMatrix);
    uploadCameraShadowCoord(lightBiasMVP, glm::vec3(objectFromView[3]));

    glBindFramebuffer(GL_FRAMEBUFFER, targetFramebuffer_);
    drawMeshes();
}
