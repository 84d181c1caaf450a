#include "scene/Scene.h"

#include "render/FrameSize.h"
#include "render/ShaderProgram.h"

void Scene::draw(const glm::mat4& projection, const glm::mat4& view, const glm::mat4& fireLightVP,
                 const glm::mat4& mainLightVP, GLuint fireShadowTexture, GLuint mainShadowTexture) {
    glUseProgram(shadingProgram_->programId());
    glViewport(0, 0, frameWidth, frameHeight);
    glBindFramebuffer(GL_FRAMEBUFFER, targetFramebuffer_);

    const glm::mat4 lightBiasMVP =
        bindShadowMaps(fireLightVP, mainLightVP, fireShadowTexture, mainShadowTexture);
    uploadMatrix("M", modelMatrix);
    uploadMatrix("MVP", projection * view);
    uploadMatrix("V", view);
    uploadCameraShadowCoord(lightBiasMVP, glm::vec3(glm::inverse(view)[3]));

    drawMeshes();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}
