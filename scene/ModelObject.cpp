#include "scene/ModelObject.h"

#include "assets/Mesh.h"
#include "assets/ModelImporter.h"
#include "render/ShaderProgram.h"
#include "render/ShadowMap.h"

ModelObject::ModelObject(const glm::mat4& modelMatrix, const ShaderProgram* shadingProgram,
                         const ShaderProgram* depthProgram, const char* modelPath,
                         GLuint targetFramebuffer)
    : SceneObject(modelMatrix), shadingProgram_(shadingProgram), depthProgram_(depthProgram),
      targetFramebuffer_(targetFramebuffer) {
    importModel(modelPath, meshes_);
    bindPrograms();
}

ModelObject::~ModelObject() {
    for (Mesh* mesh : meshes_) {
        delete mesh;
    }
}

void ModelObject::bindPrograms() {
    for (Mesh* mesh : meshes_) {
        mesh->bindShadingProgram(*shadingProgram_);
        mesh->bindDepthProgram(*depthProgram_);
    }
}

void ModelObject::drawGeometry() {
    for (const Mesh* mesh : meshes_) {
        mesh->draw();
    }
}

void ModelObject::uploadMatrix(const char* name, const glm::mat4& matrix) const {
    glUniformMatrix4fv(glGetUniformLocation(shadingProgram_->programId(), name), 1, GL_FALSE,
                       &matrix[0][0]);
}

glm::mat4 ModelObject::bindShadowMaps(const glm::mat4& fireMVP, const glm::mat4& lightMVP,
                                      GLuint fireShadowTexture, GLuint mainShadowTexture) const {
    const GLuint program = shadingProgram_->programId();
    const GLint fireSampler = glGetUniformLocation(program, "fireShadowMap");
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, fireShadowTexture);
    glUniform1i(fireSampler, 1);
    uploadMatrix("fireBiasMVP", shadowMapBias * fireMVP);

    const GLint lightSampler = glGetUniformLocation(program, "lightShadowMap");
    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_2D, mainShadowTexture);
    glUniform1i(lightSampler, 2);
    const glm::mat4 lightBiasMVP = shadowMapBias * lightMVP;
    uploadMatrix("lightBiasMVP", lightBiasMVP);
    return lightBiasMVP;
}

void ModelObject::uploadCameraShadowCoord(const glm::mat4& lightBiasMVP,
                                          const glm::vec3& cameraPosition) const {
    const glm::vec4 coordinate = lightBiasMVP * glm::vec4(cameraPosition, 1.0f);
    glUniform4fv(glGetUniformLocation(shadingProgram_->programId(), "cameraShadowCoord"), 1,
                 &coordinate[0]);
}

void ModelObject::drawMeshes() const {
    const GLuint program = shadingProgram_->programId();
    for (const Mesh* mesh : meshes_) {
        mesh->draw();
        glUniform1i(glGetUniformLocation(program, "texture_sampler"), 0);
    }
}
